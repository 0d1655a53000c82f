#pragma once

#include <QObject>
#include <memory>

#include "core/Console.h"
#include "sound/BeatClock.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QTimer;
class QToolButton;
class QWidget;

namespace lumetra::sound {
class BeatTracker;
class SampleRing;
}  // namespace lumetra::sound

namespace lumetra::ui {

// How the console follows the music's beat, as the settings file keeps it.
struct BeatSettings {
    bool byBeat = false;   // "по ритму" instead of the level trigger
    int every = 1;         // step on every 1st, 2nd, 4th or 8th beat
    bool keepTap = false;  // a tapped tempo stays when the music's beat is found
    bool operator==(const BeatSettings&) const = default;
};

// The beat on the tab "Звук": the choice of the step source, the tracked
// tempo and whether the beat is held, tap tempo, and the two step clocks
// that the sequencer and the chase generators follow. Steps are made on
// the window thread a half tick before the beat (BeatSchedule).
class BeatControls : public QObject {
    Q_OBJECT

  public:
    BeatControls(Console& console, QWidget* page);
    ~BeatControls() override;

    QWidget* box() const { return box_; }

    // The sound input's whole stream, once it is open (none: tap tempo only).
    void startTracker(const sound::SampleRing* stream);
    // A tap of the button or of its key.
    void tap();
    // The window's look every 10 ms of the sound analysis: labels and step
    // clocks follow the grid.
    void poll();

    bool byBeat() const;
    // What the labels show: the tempo and whether the beat is held.
    QString tempoText() const;
    QString holdText() const;
    // Whether a chase generator follows the beat: the tracker listens while
    // the sequencer or a generator does.
    void setChaseFollows(bool on);
    BeatSettings settings() const;
    void applySettings(const BeatSettings& s);

    // The grid the steps follow now: a kept tap, else the tracker's beat
    // while it holds, else the taps.
    sound::BeatGrid grid(std::int64_t nowNs) const;

  signals:
    void sequencerBeat();
    void chaseBeat();
    void tappedTempo(int periodMs);
    // The step source, the tempo shown or the hold text changed.
    void shownChanged();

  private:
    void arm(QTimer* timer, sound::BeatSchedule& schedule, std::int64_t& due, std::int64_t now);
    void fire(QTimer* timer, sound::BeatSchedule& schedule, std::int64_t& due, bool sequencer);
    void showGrid(const sound::BeatGrid& g, std::int64_t now);

    Console& console_;
    std::unique_ptr<sound::BeatTracker> tracker_;
    sound::TapTempo taps_;
    sound::BeatSchedule sequencer_;
    sound::BeatSchedule chase_;
    std::int64_t sequencerDue_ = 0;
    std::int64_t chaseDue_ = 0;
    bool chaseFollows_ = false;

    QWidget* box_ = nullptr;
    QRadioButton* RadioButtonByLevel = nullptr;
    QRadioButton* RadioButtonByBeat = nullptr;
    QComboBox* ComboBoxBeatEvery = nullptr;
    QLabel* LabelBeatTempo = nullptr;
    QLabel* LabelBeatHold = nullptr;
    QToolButton* SpeedButtonTap = nullptr;
    QCheckBox* CheckBoxKeepTap = nullptr;
    QTimer* TimerBeatStep = nullptr;
    QTimer* TimerChaseBeat = nullptr;
    // Without a sound input nothing else looks at the play state every
    // 10 ms: while tapped beats are followed this timer does.
    QTimer* TimerBeatWatch = nullptr;
};

}  // namespace lumetra::ui
