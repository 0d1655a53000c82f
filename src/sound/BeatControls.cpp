#include "sound/BeatControls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "host/SteadyText.h"
#include "sound/BeatTracker.h"

namespace lumetra::ui {

namespace {
constexpr int kEveryChoices[] = {1, 2, 4, 8};
constexpr std::int64_t kNsPerMs = 1'000'000;
}  // namespace

BeatControls::BeatControls(Console& console, QWidget* page) : QObject(page), console_(console) {
    setObjectName("BeatControls");
    chase_.setPlaying(true, 0);

    auto* box = new QGroupBox("Шаг от звука", page);
    box->setObjectName("GroupBoxBeat");
    box_ = box;
    auto* grid = new QGridLayout(box);
    RadioButtonByLevel = new QRadioButton("по громкости", box);
    RadioButtonByLevel->setObjectName("RadioButtonByLevel");
    RadioButtonByLevel->setToolTip("Шаг по всплеску громкости (как прежде)");
    RadioButtonByLevel->setChecked(true);
    RadioButtonByBeat = new QRadioButton("по ритму", box);
    RadioButtonByBeat->setObjectName("RadioButtonByBeat");
    RadioButtonByBeat->setToolTip("Шаг на долю такта, найденную в музыке");
    auto* group = new QButtonGroup(box);
    group->addButton(RadioButtonByLevel);
    group->addButton(RadioButtonByBeat);
    ComboBoxBeatEvery = new QComboBox(box);
    ComboBoxBeatEvery->setObjectName("ComboBoxBeatEvery");
    ComboBoxBeatEvery->setToolTip("На какую долю делать шаг");
    ComboBoxBeatEvery->addItems({"каждая доля", "каждая 2-я", "каждая 4-я", "каждая 8-я"});
    ComboBoxBeatEvery->setAccessibleName("Шаг на долю");
    LabelBeatTempo = new QLabel("--- BPM", box);
    LabelBeatTempo->setObjectName("LabelBeatTempo");
    LabelBeatHold = new QLabel("ритма нет", box);
    LabelBeatHold->setObjectName("LabelBeatHold");
    SpeedButtonTap = new QToolButton(box);
    SpeedButtonTap->setObjectName("SpeedButtonTap");
    SpeedButtonTap->setText("Тап");
    SpeedButtonTap->setToolTip("Задать темп касаниями (клавиша Ё)");
    CheckBoxKeepTap = new QCheckBox("Держать темп касаний", box);
    CheckBoxKeepTap->setObjectName("CheckBoxKeepTap");
    CheckBoxKeepTap->setToolTip("Темп касаний не уступает ритму музыки");

    grid->addWidget(RadioButtonByLevel, 0, 0);
    grid->addWidget(RadioButtonByBeat, 0, 1);
    grid->addWidget(ComboBoxBeatEvery, 0, 2);
    grid->addWidget(LabelBeatTempo, 1, 0);
    grid->addWidget(LabelBeatHold, 1, 1);
    grid->addWidget(SpeedButtonTap, 1, 2);
    grid->addWidget(CheckBoxKeepTap, 2, 0, 1, 3);

    TimerBeatStep = new QTimer(this);
    TimerBeatStep->setObjectName("TimerBeatStep");
    TimerBeatStep->setSingleShot(true);
    TimerBeatStep->setTimerType(Qt::PreciseTimer);
    connect(TimerBeatStep, &QTimer::timeout, this,
            [this] { fire(TimerBeatStep, sequencer_, sequencerDue_, true); });
    TimerChaseBeat = new QTimer(this);
    TimerChaseBeat->setObjectName("TimerChaseBeat");
    TimerChaseBeat->setSingleShot(true);
    TimerChaseBeat->setTimerType(Qt::PreciseTimer);
    connect(TimerChaseBeat, &QTimer::timeout, this,
            [this] { fire(TimerChaseBeat, chase_, chaseDue_, false); });

    TimerBeatWatch = new QTimer(this);
    TimerBeatWatch->setObjectName("TimerBeatWatch");
    TimerBeatWatch->setInterval(20);
    connect(TimerBeatWatch, &QTimer::timeout, this, &BeatControls::poll);

    connect(SpeedButtonTap, &QToolButton::pressed, this, &BeatControls::tap);
    connect(RadioButtonByBeat, &QRadioButton::toggled, this, [this] {
        poll();
        emit shownChanged();
    });
    connect(ComboBoxBeatEvery, &QComboBox::currentIndexChanged, this, [this](int i) {
        sequencer_.setEvery(kEveryChoices[std::clamp(i, 0, 3)]);
        poll();
    });
}

BeatControls::~BeatControls() = default;

void BeatControls::startTracker(const sound::SampleRing* stream) {
    if (stream) tracker_ = std::make_unique<sound::BeatTracker>(*stream);
}

void BeatControls::setChaseFollows(bool on) {
    chaseFollows_ = on;
    poll();
}

bool BeatControls::byBeat() const {
    return RadioButtonByBeat->isChecked();
}

QString BeatControls::tempoText() const {
    return LabelBeatTempo->text();
}

QString BeatControls::holdText() const {
    return LabelBeatHold->text();
}

BeatSettings BeatControls::settings() const {
    return {byBeat(), kEveryChoices[std::clamp(ComboBoxBeatEvery->currentIndex(), 0, 3)],
            CheckBoxKeepTap->isChecked()};
}

void BeatControls::applySettings(const BeatSettings& s) {
    (s.byBeat ? RadioButtonByBeat : RadioButtonByLevel)->setChecked(true);
    int index = 0;
    for (int i = 0; i < 4; ++i)
        if (kEveryChoices[i] == s.every) index = i;
    ComboBoxBeatEvery->setCurrentIndex(index);
    CheckBoxKeepTap->setChecked(s.keepTap);
}

sound::BeatGrid BeatControls::grid(std::int64_t nowNs) const {
    const sound::BeatGrid tapped = taps_.grid();
    if (CheckBoxKeepTap->isChecked() && tapped.holds) return tapped;
    if (tracker_) {
        const sound::BeatGrid heard = tracker_->grid(nowNs);
        if (heard.holds) return heard;
    }
    return tapped;
}

void BeatControls::tap() {
    const std::int64_t now = sound::monotonicNs();
    // A tap while the music's beat is held would be overruled at once,
    // unless the tap is to be kept.
    if (!taps_.tap(now)) return;
    const sound::BeatGrid g = taps_.grid();
    if (g.holds) emit tappedTempo(static_cast<int>(g.periodNs / kNsPerMs));
    poll();
}

void BeatControls::poll() {
    const std::int64_t now = sound::monotonicNs();
    if (tracker_) tracker_->setListening(byBeat() || chaseFollows_);
    const sound::BeatGrid g = grid(now);
    showGrid(g, now);
    sequencer_.setPlaying(byBeat() && console_.showRunning.get() == 1, now);
    arm(TimerBeatStep, sequencer_, sequencerDue_, now);
    arm(TimerChaseBeat, chase_, chaseDue_, now);
    const bool watch = !tracker_ && g.holds;
    if (watch != TimerBeatWatch->isActive()) watch ? TimerBeatWatch->start() : TimerBeatWatch->stop();
}

void BeatControls::arm(QTimer* timer, sound::BeatSchedule& schedule, std::int64_t& due,
                       std::int64_t now) {
    const std::optional<std::int64_t> next = schedule.nextStepAt(grid(now), now);
    if (!next) {
        timer->stop();
        return;
    }
    if (timer->isActive() && *next == due) return;
    due = *next;
    timer->start(static_cast<int>(std::max<std::int64_t>(0, (due - now) / kNsPerMs)));
}

void BeatControls::fire(QTimer* timer, sound::BeatSchedule& schedule, std::int64_t& due,
                        bool sequencer) {
    schedule.stepped(due);
    if (sequencer)
        emit sequencerBeat();
    else
        emit chaseBeat();
    const std::int64_t now = sound::monotonicNs();
    if (sequencer) sequencer_.setPlaying(byBeat() && console_.showRunning.get() == 1, now);
    arm(timer, schedule, due, now);
}

void BeatControls::showGrid(const sound::BeatGrid& g, std::int64_t) {
    const bool tapped = !g.holds ? false : (!tracker_ || CheckBoxKeepTap->isChecked() ||
                                            g.beatNs == taps_.grid().beatNs);
    const QString tempo = g.periodNs > 0 ? QString::number(g.bpm(), 'f', 1) + " BPM"
                                         : LabelBeatTempo->text();
    const QString hold = !g.holds ? QStringLiteral("ритма нет")
                         : tapped ? QStringLiteral("темп касаний")
                                  : QStringLiteral("ритм пойман");
    if (tempo == LabelBeatTempo->text() && hold == LabelBeatHold->text()) return;
    setSteadyText(LabelBeatTempo, tempo);
    setSteadyText(LabelBeatHold, hold);
    emit shownChanged();
}

}  // namespace lumetra::ui
