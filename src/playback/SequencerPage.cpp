#include "playback/SequencerPage.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/SteadyText.h"
#include "host/PageHost.h"
#include "show/SceneList.h"

namespace lumetra::ui {

ColorShape::ColorShape(QWidget* parent, int side) : QWidget(parent) {
    setFixedSize(side, side);
}

void ColorShape::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    // A coloured shape covers itself: what lies under it need not be
    // painted again when it changes (the tempo indicator flashes per step).
    setAttribute(Qt::WA_OpaquePaintEvent, color_.isValid() && color_.alpha() == 255);
    update();
}

void ColorShape::paintEvent(QPaintEvent*) {
    if (!color_.isValid()) return;
    QPainter painter(this);
    painter.fillRect(rect(), color_);
}

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, const char* hint = nullptr) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    if (hint) label->setToolTip(QString::fromUtf8(hint));
    return label;
}

QScrollBar* makeSlider(QWidget* parent, const char* name, int min, int max, int position,
                       int pageStep, const char* hint) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setValue(position);
    bar->setPageStep(pageStep);
    bar->setToolTip(QString::fromUtf8(hint));
    bar->setMinimumWidth(120);
    return bar;
}

QToolButton* makeButton(QWidget* parent, const char* name, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(QString::fromUtf8(hint));
    return button;
}

}  // namespace

SequencerPage::SequencerPage(PageHost& form)
    : QObject(form.widget()), form_(form), core_(form.core()) {
    setObjectName("SequencerPage");
    build(form.sceneTabs()->widget(0));

    TimerSeqveser = new QTimer(this);
    TimerSeqveser->setObjectName("TimerSeqveser");
    TimerSeqveser->setInterval(core_.intervalMs());
    connect(TimerSeqveser, &QTimer::timeout, this, &SequencerPage::TimerSeqveserTimer);

    TimerColorLentaTempa = new QTimer(this);
    TimerColorLentaTempa->setObjectName("TimerColorLentaTempa");
    TimerColorLentaTempa->setInterval(100);
    TimerColorLentaTempa->setSingleShot(true);
    connect(TimerColorLentaTempa, &QTimer::timeout, this,
            &SequencerPage::TimerColorLentaTempaTimer);

    TimerShouClock = new QTimer(this);
    TimerShouClock->setObjectName("TimerShouClock");
    TimerShouClock->setInterval(1000);
    connect(TimerShouClock, &QTimer::timeout, this, &SequencerPage::TimerShouClockTimer);

    form.onSystemRefresh([this] { refreshFromShow(); });
    core_.observe([this](const lumetra::CoreEvent& event) { coreChanged(event); });

    // Both run for the whole life of the window; the step does nothing
    // while stopped except flash the indicator.
    TimerSeqveser->start();
    TimerShouClock->start();
}

void SequencerPage::build(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    // Play, stop, tempo and its indicator.
    auto* transport = new QHBoxLayout;
    SpeedButtonPlay = makeButton(page, "SpeedButtonPlay", "Запустить Шоу - горячая кнопка /-/ ");
    SpeedButtonPlay->setIcon(page->style()->standardIcon(QStyle::SP_MediaPlay));
    SpeedButtonStop = makeButton(page, "SpeedButtonStop", "Остановить Шоу - горячая кнопка /+/ ");
    SpeedButtonStop->setIcon(page->style()->standardIcon(QStyle::SP_MediaStop));
    for (QToolButton* b : {SpeedButtonPlay, SpeedButtonStop}) {
        b->setCheckable(true);
        b->setIconSize(QSize(24, 24));
    }
    playGroup_ = new QButtonGroup(this);
    playGroup_->setExclusive(true);
    playGroup_->addButton(SpeedButtonPlay);
    playGroup_->addButton(SpeedButtonStop);
    SpeedButtonStop->setChecked(true);
    connect(SpeedButtonPlay, &QToolButton::clicked, this, [this] { ModePlay(); });
    connect(SpeedButtonStop, &QToolButton::clicked, this, [this] { ModeStop(); });
    SpeedButtonPlay->installEventFilter(this);

    ShapeTempClikc = new ColorShape(page, 16);
    ShapeTempClikc->setObjectName("ShapeTempClikc");
    ScrollBarTemp = makeSlider(page, "ScrollBarTemp", lumetra::Sequencer::kMinTempo,
                               lumetra::Sequencer::kMaxTempo, lumetra::Sequencer::kDefaultTempo, 10,
                               "Установка времени перехода на следующую сцену");
    LabelTemp = makeLabel(page, "LabelTemp", "120 сцен/мин", "Время перехода на следующую сцену ");
    connect(ScrollBarTemp, &QScrollBar::valueChanged, this,
            [this](int v) { core_.setTempo(v); });
    transport->addWidget(SpeedButtonPlay);
    transport->addWidget(SpeedButtonStop);
    transport->addSpacing(8);
    transport->addWidget(ShapeTempClikc);
    transport->addWidget(ScrollBarTemp, 1);
    transport->addWidget(LabelTemp);
    layout->addLayout(transport);

    // The show clock.
    auto* clock = new QHBoxLayout;
    LabelTimeShou = makeLabel(page, "LabelTimeShou", "Время в Шоу ?");
    LabelTimePause = makeLabel(page, "LabelTimePause", "Время  Паузы  ");
    clock->addWidget(LabelTimeShou, 1);
    clock->addWidget(LabelTimePause, 1);
    layout->addLayout(clock);

    // Ring, sound triggering and the keyboard switch.
    auto* switches = new QHBoxLayout;
    CheckBoxRepeat = new QCheckBox("Кольцо", page);
    CheckBoxRepeat->setObjectName("CheckBoxRepeat");
    CheckBoxRepeat->setToolTip("При наличии флажка сцены повторяются по кругу безконечно");
    CheckBoxRepeat->setChecked(true);
    CheckBoxAudio1 = new QCheckBox("Работа от звука", page);
    CheckBoxAudio1->setObjectName("CheckBoxAudio1");
    CheckBoxAudio1->setToolTip("Включить запуск от звукового источника");
    connect(CheckBoxAudio1, &QCheckBox::toggled, this, [this](bool on) { core_.setSoundTrigger(on); });
    keyboardArea_ = new QWidget(page);
    keyboardArea_->setObjectName("KeyboardArea");
    auto* keyboardLayout = new QHBoxLayout(keyboardArea_);
    keyboardLayout->setContentsMargins(0, 0, 0, 0);
    switches->addWidget(CheckBoxRepeat);
    switches->addWidget(CheckBoxAudio1);
    switches->addWidget(keyboardArea_, 1);
    layout->addLayout(switches);

    // The current scene and the size of the show.
    auto* scene = new QHBoxLayout;
    LabelStep = makeLabel(page, "LabelStep", "1", "Номер текущей сцены");
    LabelStep->setMinimumWidth(28);
    ScrollBarStep = makeSlider(page, "ScrollBarStep", 0, 1, 0, 10, "Установка текущей сцены");
    LabelCoda = makeLabel(page, "LabelCoda", "1", "Максимальное кол-во сцен");
    LabelCoda->setMinimumWidth(28);
    connect(ScrollBarStep, &QScrollBar::valueChanged, this,
            [this](int v) { ScrollBarStepChange(v); });
    scene->addWidget(LabelStep);
    scene->addWidget(ScrollBarStep, 1);
    scene->addWidget(LabelCoda);
    layout->addLayout(scene);

    layout->addWidget(form_.slot(PageHost::Slot::SequencerSceneButtons));

    // The preset start scene.
    auto* preset = new QHBoxLayout;
    ScrollBarScenHand = makeSlider(page, "ScrollBarScenHand", 0, 255, 1, 10,
                                   "Выбор предварительной  установка начальной сцены ");
    LabelScenHand = makeLabel(page, "LabelScenHand", "Уст 1", "Предварительный выбор сцены");
    LabelScenHand->setMinimumWidth(48);
    SpeedButtonScenHand =
        makeButton(page, "SpeedButtonScenHand", "Предварительная  установка начальной сцены ");
    SpeedButtonScenHand->setText("Set");
    QPalette red = SpeedButtonScenHand->palette();
    red.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    SpeedButtonScenHand->setPalette(red);
    connect(ScrollBarScenHand, &QScrollBar::valueChanged, this, [this](int v) {
        setSteadyText(LabelScenHand,
                      QString::fromStdString(lumetra::Sequencer::presetSceneLabel(v)));
    });
    // The scene slider's own handler makes the scene current, exactly as if
    // the operator had moved it (and refuses while the show plays). A preset
    // beyond the end of the show stops at the slider's maximum.
    connect(SpeedButtonScenHand, &QToolButton::clicked, this,
            [this] { ScrollBarStep->setValue(ScrollBarScenHand->value()); });
    preset->addWidget(ScrollBarScenHand, 1);
    preset->addWidget(LabelScenHand);
    preset->addWidget(SpeedButtonScenHand);
    layout->addLayout(preset);
    layout->addStretch(1);
}

bool SequencerPage::eventFilter(QObject* watched, QEvent* event) {
    // A tool button has no double-click signal of its own.
    if (watched == SpeedButtonPlay && event->type() == QEvent::MouseButtonDblClick) {
        SpeedButtonPlayDblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void SequencerPage::coreChanged(const lumetra::CoreEvent& event) {
    using Kind = lumetra::CoreEvent::Kind;
    switch (event.kind) {
        case Kind::Playing:
            if (event.index) {
                SpeedButtonPlay->setChecked(true);
                form_.run(PageHost::Hook::ModePlay);
            } else {
                SpeedButtonStop->setChecked(true);
                form_.run(PageHost::Hook::ModeStop);
            }
            return;
        case Kind::Tempo: {
            const QSignalBlocker block(ScrollBarTemp);
            ScrollBarTemp->setValue(form_.console().show.cell(cell::kTempo));
            applyTempo();
            return;
        }
        case Kind::SoundTrigger: {
            const QSignalBlocker block(CheckBoxAudio1);
            CheckBoxAudio1->setChecked(core_.soundTrigger());
            return;
        }
        default:
            return;
    }
}

void SequencerPage::ModePlay() {
    core_.play();
}

void SequencerPage::ModeStop() {
    core_.stop();
}

void SequencerPage::SpeedButtonPlayDblClick() {
    core_.playFromStart();
    form_.ReturnPageControlAll();
}

void SequencerPage::showStopped() {
    if (SpeedButtonStop->isChecked()) return;
    // The show was stopped elsewhere (blackout, the 0 key, clearing the
    // show). Finish the stop as the Stop button would, or the scene editing
    // controls would stay off on a stopped show and the pause clock would
    // count on from the last Play.
    ModeStop();
}

lumetra::InterfaceState SequencerPage::interfaceState() const {
    return form_.interfaceState();
}

void SequencerPage::applyTempo() {
    const std::string label = core_.tempoLabel();
    // Setting the interval restarts the timer: only a real change may do
    // that, or every page refresh would hold the next step back.
    if (TimerSeqveser->interval() != core_.intervalMs()) TimerSeqveser->setInterval(core_.intervalMs());
    setSteadyText(LabelTemp, QString::fromStdString(label));
}

void SequencerPage::flash(lumetra::TempoIndicator indicator) {
    switch (indicator) {
        case lumetra::TempoIndicator::Green:
            ShapeTempClikc->setColor(QColor(0, 255, 0));
            break;
        case lumetra::TempoIndicator::Black:
            ShapeTempClikc->setColor(QColor(0, 0, 0));
            break;
        case lumetra::TempoIndicator::Red:
            ShapeTempClikc->setColor(QColor(255, 0, 0));
            break;
    }
    TimerColorLentaTempa->start();
}

void SequencerPage::TimerSeqveserTimer() {
    const lumetra::SequencerStep step = core_.step();
    flash(step.indicator);
    if (step.advanced) form_.ReturnPageControlAll();
}

void SequencerPage::stepOnBeat() {
    if (!core_.soundTrigger()) return;
    form_.console().beatFlag.set(1);
    TimerSeqveserTimer();
}

void SequencerPage::playFromCommandLine(bool onSound) {
    if (onSound) core_.setSoundTrigger(true);
    core_.play();
}

void SequencerPage::showTappedTempo(int periodMs) {
    // The interval of slider position v is v·v ms.
    const int v = static_cast<int>(std::lround(std::sqrt(std::max(periodMs, 1))));
    ScrollBarTemp->setValue(std::clamp(v, ScrollBarTemp->minimum(), ScrollBarTemp->maximum()));
}

void SequencerPage::TimerColorLentaTempaTimer() {
    TimerColorLentaTempa->stop();
    ShapeTempClikc->setColor(QColor());
}

void SequencerPage::TimerShouClockTimer() {
    const lumetra::ClockTick tick = core_.sequencer().TimerShouClockTimer(interfaceState());

    // The prefix reaches the caption at the next refresh or file command,
    // not by itself: the caption is never rewritten behind the operator.
    form_.setCaptionPrefix(QString::fromStdString(tick.caption.captionPrefix));
    // The interface state goes to the status panel, but never over a
    // message that is still within its two seconds.
    form_.showSteadyStatus(QString::fromStdString(tick.caption.statusPanel));

    setSteadyText(tick.playing ? LabelTimeShou : LabelTimePause, QString::fromStdString(tick.text));
}

void SequencerPage::refreshFromShow() {
    const ShowMemory& show = form_.console().show;
    {
        // A tempo from a file outside 10..170 shows at the slider's end; the
        // cell keeps what was loaded.
        const QSignalBlocker block(ScrollBarTemp);
        ScrollBarTemp->setValue(show.cell(cell::kTempo));
    }
    applyTempo();

    setSteadyText(LabelStep, QString::number(show.currentScene() + 1));
    {
        const QSignalBlocker block(ScrollBarStep);
        ScrollBarStep->setMaximum(lumetra::sceneSliderMaximum(show));
        ScrollBarStep->setValue(show.currentScene());
    }
    setSteadyText(LabelCoda, QString::number(show.lastScene() + 1));
}

void SequencerPage::moveSceneSlider(int position) {
    ScrollBarStep->setValue(position);
}

void SequencerPage::ScrollBarStepChange(int position) {
    // While the show plays the engine leaves the scene alone and the
    // refresh puts the slider back.
    lumetra::ScrollBarStepChange(form_.console(), position, form_.autoAddScenes());
    form_.ReturnPageControlAll();
}

int SequencerPage::scenePosition() const {
    return ScrollBarStep->value();
}

void SequencerPage::setPlayButtonVisible(bool visible) {
    SpeedButtonPlay->setVisible(visible);
}

}  // namespace lumetra::ui
