#include "playback/AvtomatPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "host/SteadyText.h"
#include "host/PageHost.h"
#include "output/OutputControls.h"
#include "playback/SequencerPage.h"
#include "edit/NamePage.h"

namespace lumetra::ui {

namespace {

constexpr int kDesignSpeed = 10;
constexpr int kDesignLevel = 127;

const char* const kModeHints[lumetra::kAvtomatPatterns] = {
    "Выбор эффекта один бегущий огонек", "Выбор эффекта два бегущих огонька",
    "Выбор эффекта бегущая тень", "Выбор эффекта код с наполнением"};

QString named(const char* pattern, int n) {
    return QString::fromUtf8(pattern).arg(n);
}

QScrollBar* makeBar(QWidget* parent, const QString& name, Qt::Orientation orientation, int min,
                    int max, int value, const char* hint) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setValue(value);
    bar->setToolTip(QString::fromUtf8(hint));
    if (orientation == Qt::Horizontal)
        bar->setMinimumWidth(160);
    else
        bar->setMinimumHeight(120);
    return bar;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    return label;
}

ColorShape* makeShape(QWidget* parent, const QString& name) {
    auto* shape = new ColorShape(parent, 16);
    shape->setObjectName(name);
    // A painted square has no caption of its own.
    shape->setAccessibleName(name);
    return shape;
}

}  // namespace

AvtomatPage::AvtomatPage(PageHost& form) : QObject(form.widget()), form_(form), avtomats_(form.console()) {
    setObjectName("AvtomatPage");
    QWidget* page = form.inputPage(PageHost::PageAvtomats);
    auto* layout = new QHBoxLayout(page);
    for (int n = 0; n < lumetra::kAvtomatCount; ++n) layout->addWidget(buildGenerator(page, n));
    layout->addStretch(1);

    // The page follows the cells when it is shown and whenever the window
    // refreshes (a show loaded, the conveyor's next show), so the speeds,
    // patterns and channels in force are always those of the show.
    form.onPageRefresh(PageHost::PageAvtomats, [this] {
        ReturnAvtomat();
        DisplayAvtomat(0);
        DisplayAvtomat(1);
    });
    form.onSystemRefresh([this] { ReturnAvtomat(); });

    // The tick is stopped before this page goes: the output controls were
    // made first and are destroyed first.
    form.output().cycle().setAvtomats(&avtomats_);
    for (Generator& g : gens_) g.timer->start();
}

QGroupBox* AvtomatPage::buildGenerator(QWidget* page, int n) {
    Generator& g = gens_[n];
    const int number = n + 1;
    g.group = new QGroupBox(named("Автомат %1  четырех канальный ", number), page);
    g.group->setObjectName(named("GroupBoxAvtomat%1", number));
    auto* grid = new QGridLayout(g.group);

    g.speed = makeBar(g.group, named("ScrollBarTempAvtomat%1", number), Qt::Horizontal, 5, 50,
                      kDesignSpeed, "Скорость переключения автомата");
    g.speedLabel = makeLabel(g.group, named("LabelTempAvtomat%1", number), "Скорость переключения");
    connect(g.speed, &QScrollBar::valueChanged, this, [this, n](int v) {
        setCell(avtomats_[n].cells().speed, v);
        TempAvtomatStatus(n);
    });
    grid->addWidget(g.speed, 0, 0, 1, 4);
    grid->addWidget(g.speedLabel, 1, 0, 1, 4);

    g.channel = makeBar(g.group, named("ScrollBarChannelAvtomat%1", number), Qt::Horizontal, 0,
                        lumetra::kAvtomatMaxChannel, 0,
                        "Установка первого канала, с которого будет работать автомат бегушки");
    g.channels = makeLabel(g.group, named("LabelSeq%1Ch", number), "Каналы  1+2+3+4");
    g.channelName = makeLabel(g.group, named("LabelSeq%1ChName", number), "Каналы  1+2+3+4");
    connect(g.channel, &QScrollBar::valueChanged, this, [this, n](int v) {
        setCell(avtomats_[n].cells().channel, v);
        ReturnAvtomat();
    });
    grid->addWidget(g.channel, 2, 0, 1, 4);
    grid->addWidget(g.channels, 3, 0, 1, 4);
    grid->addWidget(g.channelName, 4, 0, 1, 4);

    // One pattern button is always down; the generator reads the button.
    g.modeGroup = new QButtonGroup(this);
    g.modeGroup->setExclusive(true);
    for (int k = 0; k < lumetra::kAvtomatPatterns; ++k) {
        auto* b = new QToolButton(g.group);
        b->setObjectName(QString("SpeedButtonAvto%1Mode%2").arg(number).arg(k + 1));
        b->setText(QString::number(k + 1));
        b->setToolTip(QString::fromUtf8(kModeHints[k]));
        b->setCheckable(true);
        b->setMinimumWidth(36);
        g.modeGroup->addButton(b, k + 1);
        g.modes[k] = b;
        grid->addWidget(b, 5, k);
    }
    g.modes[0]->setChecked(true);
    // The pattern follows the button that goes down (a click, the
    // accessibility interface or the refresh from the cell); the cell is
    // written from then on, so a new show keeps its 0 until a button moves.
    connect(g.modeGroup, &QButtonGroup::idToggled, this, [this, n](int id, bool on) {
        if (!on) return;
        avtomats_[n].setPattern(id);
        setCell(avtomats_[n].cells().program, id);
    });

    // Vertical sliders: the top is 255, so the cells hold 255 - position.
    g.bright = makeBar(g.group, named("ScrollBarBrightAvtomat%1", number), Qt::Vertical, 0, 255,
                       kDesignLevel, "Максимальная яркость автомата");
    g.dark = makeBar(g.group, named("ScrollBarDarkAvtomat%1", number), Qt::Vertical, 0, 255,
                     kDesignLevel, "Минимальная яркость автомата");
    connect(g.bright, &QScrollBar::valueChanged, this,
            [this, n](int v) { setCell(avtomats_[n].cells().bright, 255 - v); });
    connect(g.dark, &QScrollBar::valueChanged, this,
            [this, n](int v) { setCell(avtomats_[n].cells().dark, 255 - v); });
    auto* sliders = new QHBoxLayout;
    sliders->addWidget(g.bright);
    sliders->addWidget(g.dark);
    auto* squares = new QVBoxLayout;
    for (int i = 0; i < lumetra::kAvtomatChannels; ++i) {
        g.levels[i] = makeShape(g.group, QString("ShapeAvt%1Seq%2").arg(number).arg(i + 1));
        squares->addWidget(g.levels[i]);
    }
    squares->addStretch(1);
    sliders->addLayout(squares);
    sliders->addStretch(1);
    grid->addLayout(sliders, 6, 0, 1, 4);

    g.alone = new QCheckBox("Пуск самостоятельно", g.group);
    g.alone->setObjectName(named("CheckBoxAvtomat%1", number));
    g.alone->setToolTip("Запусить автомат постоянно");
    g.withShow = new QCheckBox("С основным", g.group);
    g.withShow->setObjectName(named("CheckBoxTogethe%1", number));
    g.withShow->setToolTip("Установленный флажок будет запускать автомат вместе с секвенсером 1");
    g.onBeat = new QCheckBox("По ритму", g.group);
    g.onBeat->setObjectName(named("CheckBoxAvtomatBeat%1", number));
    g.onBeat->setToolTip("Один шаг автомата на каждую долю музыки (вкладка Звук)");
    grid->addWidget(g.alone, 7, 0, 1, 2);
    grid->addWidget(g.onBeat, 7, 2, 1, 2);
    grid->addWidget(g.withShow, 8, 0, 1, 4);

    auto* beat = new QHBoxLayout;
    g.heartbeat = makeShape(g.group, named("ShapeAvtomat%1", number));
    g.stepLabel = makeLabel(g.group, named("LabelStepAvtomat%1", number), "Step = 1");
    beat->addWidget(g.heartbeat);
    beat->addWidget(g.stepLabel, 1);
    grid->addLayout(beat, 9, 0, 1, 4);
    grid->setRowStretch(10, 1);

    g.timer = new QTimer(this);
    g.timer->setObjectName(named("TimerTempAvtomat%1", number));
    g.timer->setInterval(lumetra::avtomatTiming(kDesignSpeed).intervalMs);
    connect(g.timer, &QTimer::timeout, this, [this, n] { TimerTempAvtomatTimer(n); });
    // Following the beat, the generator's own clock rests.
    connect(g.onBeat, &QCheckBox::toggled, this, [this, n](bool on) {
        on ? gens_[n].timer->stop() : gens_[n].timer->start();
        emit followsBeatChanged(followsBeat(0) || followsBeat(1));
    });
    return g.group;
}

void AvtomatPage::setCell(int index, int value) {
    form_.console().show.setCell(index, static_cast<std::uint8_t>(value));
}

void AvtomatPage::TempAvtomatStatus(int n) {
    Generator& g = gens_[n];
    const lumetra::AvtomatTiming timing =
        lumetra::avtomatTiming(form_.console().show.cell(avtomats_[n].cells().speed));
    // Setting the interval restarts the timer: only a real change may, or
    // every refresh would hold the next step back.
    if (g.timer->interval() != timing.intervalMs) g.timer->setInterval(timing.intervalMs);
    setSteadyText(g.speedLabel, QString::fromStdString(timing.label));
}

void AvtomatPage::returnChannelLabels(int n) {
    Generator& g = gens_[n];
    // The labels name the channels the generator drives: those of the
    // slider, which a first channel beyond 250 from a file cannot pass.
    const int c = avtomats_[n].firstChannel();
    g.channels->setText(
        QString(" Каналы %1  %2  %3  %4").arg(c + 1).arg(c + 2).arg(c + 3).arg(c + 4));
    g.channelName->setText(" Начиная от - " + channelNameText(form_.console().show, c + 1));
}

void AvtomatPage::ReturnAvtomat() {
    const lumetra::ShowMemory& show = form_.console().show;
    for (int n = 0; n < lumetra::kAvtomatCount; ++n) TempAvtomatStatus(n);
    for (int n = 0; n < lumetra::kAvtomatCount; ++n) {
        Generator& g = gens_[n];
        const lumetra::AvtomatCells& cells = avtomats_[n].cells();
        const QSignalBlocker blockDark(g.dark), blockBright(g.bright), blockChannel(g.channel);
        g.dark->setValue(255 - show.cell(cells.dark));
        g.bright->setValue(255 - show.cell(cells.bright));
        g.channel->setValue(show.cell(cells.channel));
        avtomats_[n].setFirstChannel(g.channel->value());
        returnChannelLabels(n);
    }
    for (int n = 0; n < lumetra::kAvtomatCount; ++n) {
        Generator& g = gens_[n];
        const lumetra::AvtomatCells& cells = avtomats_[n].cells();
        {
            const QSignalBlocker block(g.speed);
            g.speed->setValue(show.cell(cells.speed));
        }
        // Other values leave the buttons as they are. The group's own
        // signal keeps the generator's pattern in step with the button.
        const int program = show.cell(cells.program);
        if (program >= 1 && program <= lumetra::kAvtomatPatterns)
            g.modes[program - 1]->setChecked(true);
    }
}

void AvtomatPage::TimerTempAvtomatTimer(int n) {
    Generator& g = gens_[n];
    const bool wasRed = g.heartbeat->color() == QColor(255, 0, 0);
    g.heartbeat->setColor(wasRed ? QColor(0, 255, 0) : QColor(255, 0, 0));
    lumetra::Avtomat& engine = avtomats_[n];
    if (!engine.timerTick(g.alone->isChecked(), g.withShow->isChecked())) return;
    setSteadyText(g.stepLabel, QString("Step = %1").arg(engine.step() + 1));
    DisplayAvtomat(n);
}

void AvtomatPage::stepOnBeat() {
    for (int n = 0; n < lumetra::kAvtomatCount; ++n)
        if (gens_[n].onBeat->isChecked()) TimerTempAvtomatTimer(n);
}

bool AvtomatPage::followsBeat(int n) const {
    return gens_[n].onBeat->isChecked();
}

void AvtomatPage::setFollowsBeat(int n, bool on) {
    gens_[n].onBeat->setChecked(on);
}

void AvtomatPage::DisplayAvtomat(int n) {
    const lumetra::AvtomatLevels levels = avtomats_[n].levels();
    for (int i = 0; i < lumetra::kAvtomatChannels; ++i) {
        ColorShape* square = gens_[n].levels[i];
        square->setColor(QColor(levels[i], levels[i], levels[i]));
        const QString level = QString::number(levels[i]);
        if (square->accessibleDescription() != level) square->setAccessibleDescription(level);
    }
}

}  // namespace lumetra::ui
