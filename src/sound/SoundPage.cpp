#include "sound/SoundPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "host/PageHost.h"
#include "sound/BeatControls.h"
#include "playback/SequencerPage.h"

namespace lumetra::ui {

namespace {
const QColor kTraceGreen(0, 240, 0);
const QColor kPanelGreen(0, 128, 0);
const QColor kLime(0, 255, 0);
const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);

QScrollBar* makeSlider(QWidget* parent, const char* name, Qt::Orientation orientation, int min,
                       int max, int position, const char* hint) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setValue(position);
    bar->setPageStep(10);
    bar->setToolTip(QString::fromUtf8(hint));
    if (orientation == Qt::Horizontal)
        bar->setMinimumWidth(110);
    else
        bar->setMinimumHeight(90);
    return bar;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setMinimumWidth(40);
    return label;
}

QProgressBar* makeBar(QWidget* parent, const char* name) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setOrientation(Qt::Vertical);
    bar->setRange(0, sound::kBarMax);
    bar->setValue(1000);
    bar->setTextVisible(false);
    bar->setFixedWidth(14);
    bar->setMinimumHeight(90);
    return bar;
}

ColorShape* makeShape(QWidget* parent, const char* name) {
    auto* shape = new ColorShape(parent, 12);
    shape->setObjectName(name);
    shape->setAccessibleName(name);
    return shape;
}

void paint(ColorShape* shape, const QColor& color) {
    // Called 100 times a second: a description that did not change is not
    // announced again.
    shape->setColor(color);
    const QString name = color.name();
    if (shape->accessibleDescription() != name) shape->setAccessibleDescription(name);
}
}  // namespace

OscPanel::OscPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("Panelosc");
    setAccessibleName("Panelosc");
    setAccessibleDescription("Осциллограф звукового входа");
    setFixedSize(sound::kPanelWidth, sound::kPanelHeight);
}

void OscPanel::setTrace(const std::array<sound::TracePoint, sound::kTracePoints>& trace) {
    if (trace == trace_) return;
    trace_ = trace;
    update();
}

void OscPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanelGreen);
    QPolygon line;
    line.reserve(sound::kTracePoints + 1);
    line << QPoint(0, 0);
    for (const sound::TracePoint& p : trace_) line << QPoint(p.x, p.y);
    painter.setPen(QPen(kTraceGreen, 2));
    painter.drawPolyline(line);
}

SoundPage::SoundPage(PageHost& form) : QObject(form.widget()), form_(form), analysis_(form.console()) {
    setObjectName("SoundPage");
    build(form.sceneTabs()->widget(2));
    TimerAudio = new QTimer(this);
    TimerAudio->setObjectName("TimerAudio");
    TimerAudio->setInterval(10);
    TimerAudio->setTimerType(Qt::PreciseTimer);
    connect(TimerAudio, &QTimer::timeout, this, &SoundPage::TimerAudioTimer);
    // A setting wakes an analysis at rest (TimerAudioTimer).
    for (QScrollBar* bar : {ScrollBarAtaka, ScrollBarRel, ScrollBarTimeScen, ScrollBarLevelSmu})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (started_ && !TimerAudio->isActive()) TimerAudio->start();
        });
}

SoundPage::~SoundPage() = default;

void SoundPage::build(QWidget* page) {
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);

    // Trace and beat indicator above the three sliders with their labels.
    auto* left = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    Panelosc = new OscPanel(page);
    top->addWidget(Panelosc);
    auto* shapes = new QGridLayout;
    const char* names[4] = {"ShapeS1", "ShapeS2", "ShapeS3", "ShapeS4"};
    for (int k = 0; k < 4; ++k) {
        squares_[k] = makeShape(page, names[k]);
        shapes->addWidget(squares_[k], 0, k);
    }
    ShapeFlip = makeShape(page, "ShapeFlip");
    shapes->addWidget(ShapeFlip, 1, 0);
    top->addLayout(shapes);
    top->addStretch(1);
    left->addLayout(top);

    auto* sliders = new QGridLayout;
    ScrollBarAtaka =
        makeSlider(page, "ScrollBarAtaka", Qt::Horizontal, 50, 255, 50, "Время атаки компрессора");
    ScrollBarRel =
        makeSlider(page, "ScrollBarRel", Qt::Horizontal, 5, 255, 50, "Время затухания компрессора");
    ScrollBarTimeScen =
        makeSlider(page, "ScrollBarTimeScen", Qt::Horizontal, 10, 100, 20, "Время удержания сцены");
    LabelAtaka = makeLabel(page, "LabelAtaka", "A-50");
    LabelRelease = makeLabel(page, "LabelRelease", "R-50");
    LabelTimeScena = makeLabel(page, "LabelTimeScena", "T-20");
    sliders->addWidget(ScrollBarAtaka, 0, 0);
    sliders->addWidget(LabelAtaka, 0, 1);
    sliders->addWidget(ScrollBarRel, 1, 0);
    sliders->addWidget(LabelRelease, 1, 1);
    sliders->addWidget(ScrollBarTimeScen, 2, 0);
    sliders->addWidget(LabelTimeScena, 2, 1);
    left->addLayout(sliders);
    beat_ = new BeatControls(form_.console(), page);
    left->addWidget(beat_->box());
    left->addStretch(1);
    layout->addLayout(left, 1);

    sound::SoundSettings& s = analysis_.settings();
    connect(ScrollBarAtaka, &QScrollBar::valueChanged, this, [this, &s](int v) {
        s.attack = v;
        LabelAtaka->setText(QString("A-%1").arg(v));
    });
    connect(ScrollBarRel, &QScrollBar::valueChanged, this, [this, &s](int v) {
        s.release = v;
        LabelRelease->setText(QString("R-%1").arg(v));
    });
    connect(ScrollBarTimeScen, &QScrollBar::valueChanged, this, [this, &s](int v) {
        s.holdTicks = v;
        LabelTimeScena->setText(QString("T-%1").arg(v));
    });

    // The two level bars and the floor of the sound level.
    ProgressBarRealLevel = makeBar(page, "ProgressBarRealLevel");
    ProgressBarKomp = makeBar(page, "ProgressBarKomp");
    ScrollBarLevelSmu =
        makeSlider(page, "ScrollBarLevelSmu", Qt::Vertical, 0, 255, 255,
                   "Влияние звуковой огибающей на каналы DMX, с включенными флажками ВЫБОР");
    connect(ScrollBarLevelSmu, &QScrollBar::valueChanged, this, [&s](int v) { s.floor = v; });
    layout->addWidget(ProgressBarRealLevel);
    layout->addWidget(ProgressBarKomp);
    layout->addWidget(ScrollBarLevelSmu);

    showIndicator();
}

void SoundPage::start(const std::string& audio, sound::Clock clock) {
    // A sound file starts playing now: the moment is told, so that what the
    // console did can be laid beside the file's own time (bench/beat-accuracy.sh).
    if (audio.rfind("file:", 0) == 0)
        std::fprintf(stderr, "lumetra: sound file starts at %lld ns (monotonic clock)\n",
                     static_cast<long long>(sound::monotonicNs()));
    sound::OpenedCapture opened = sound::openSoundCapture(audio, std::move(clock));
    for (const sound::SoundFailure& failure : opened.failures) {
        const QString text = QString::fromStdString(failure.text);
        // Told to quit while a box waited: nobody answers the next one.
        if (form_.isQuitting())
            std::fprintf(stderr, "lumetra: %s %s\n", failure.caption.c_str(), failure.text.c_str());
        else if (failure.caption.empty())
            form_.dialogs().error(form_.widget(), text);
        else
            form_.dialogs().message(form_.widget(), QString::fromStdString(failure.caption), text);
    }
    capture_ = std::move(opened.capture);
    if (capture_) beat_->startTracker(capture_->stream());
    started_ = true;
    TimerAudio->start();
}

void SoundPage::TimerAudioTimer() {
    // Without an input the buffer stays zero: no peak, no beat, and the
    // sound level rests on the floor.
    if (capture_) capture_->fillBlock(analysis_.block());
    analysis_.settings().setsBeatFlag = !beat_->byBeat();
    analysis_.tick();
    beat_->poll();
    // Without an input the block stays silent: once a tick changes nothing
    // the analysis is at rest, and the timer waits for a setting to change.
    if (!capture_ && analysis_.lastTickChangedNothing()) TimerAudio->stop();
    Panelosc->setTrace(analysis_.trace());
    ProgressBarRealLevel->setValue(analysis_.realLevel());
    ProgressBarKomp->setValue(analysis_.envelope());
    showIndicator();
}

void SoundPage::showIndicator() {
    paint(ShapeFlip, analysis_.flipRed() ? kRed : kGrey);
    for (int k = 0; k < 4; ++k) paint(squares_[k], k == analysis_.litSquare() ? kLime : kGrey);
}

}  // namespace lumetra::ui
