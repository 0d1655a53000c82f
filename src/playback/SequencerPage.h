#pragma once

#include <QColor>
#include <QObject>
#include <QWidget>
#include <functional>

#include "core/ConsoleCore.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QScrollBar;
class QTimer;
class QToolButton;

namespace lumetra::ui {

class PageHost;

// A small square painted in one colour, without an outline. An invalid
// colour paints nothing, so the window's face shows through.
class ColorShape : public QWidget {
    Q_OBJECT

  public:
    explicit ColorShape(QWidget* parent = nullptr, int side = 14);
    QColor color() const { return color_; }
    void setColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
};

// The page "Секвенсер": play and stop, tempo, the tempo indicator, the show
// clock, the preset start scene and the current-scene slider. Playing,
// stepping and the tempo are the console core's; this page turns its timers
// and buttons into calls and shows what the core tells of them.
class SequencerPage : public QObject {
    Q_OBJECT

  public:
    explicit SequencerPage(PageHost& form);

    // The scene the scene slider stands on.
    int scenePosition() const;
    // Play cannot be pressed while the static pictures are edited.
    void setPlayButtonVisible(bool visible);

    lumetra::Sequencer& sequencer() { return core_.sequencer(); }

    // Start and stop playback (buttons, keys).
    void ModePlay();
    void ModeStop();
    void SpeedButtonPlayDblClick();
    // The scene slider moved to `position` as by hand: the slider's end
    // bounds it, and while the show plays the scene stays.
    void moveSceneSlider(int position);

    // The fader page's display timer calls it whenever the show is not
    // playing: a stop made elsewhere puts the stop button down and switches
    // the page to its stopped state.
    void showStopped();

    // A beat of the music (or of the taps) with "Работа от звука" ticked:
    // one step, as a beat of the level trigger makes it.
    void stepOnBeat();
    // --play and --play=sound: Play, with "Работа от звука" ticked for the
    // second.
    void playFromCommandLine(bool onSound);
    // The tempo slider at the interval nearest a tapped beat.
    void showTappedTempo(int periodMs);

    // Timer handlers, public so that a test can step them by hand.
    void TimerSeqveserTimer();
    void TimerColorLentaTempaTimer();
    void TimerShouClockTimer();

    // Tempo, scene slider and last-scene label from the show.
    void refreshFromShow();


    // The interface state the show clock shows once a second.
    lumetra::InterfaceState interfaceState() const;

    // Room for the keyboard switch beside the play buttons.
    QWidget* keyboardArea() const { return keyboardArea_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build(QWidget* page);
    void applyTempo();
    void coreChanged(const lumetra::CoreEvent& event);
    void flash(lumetra::TempoIndicator indicator);
    void ScrollBarStepChange(int position);

    PageHost& form_;
    lumetra::ConsoleCore& core_;

    QToolButton* SpeedButtonPlay = nullptr;
    QToolButton* SpeedButtonStop = nullptr;
    QButtonGroup* playGroup_ = nullptr;
    QScrollBar* ScrollBarTemp = nullptr;
    QLabel* LabelTemp = nullptr;
    ColorShape* ShapeTempClikc = nullptr;
    QLabel* LabelTimeShou = nullptr;
    QLabel* LabelTimePause = nullptr;
    QCheckBox* CheckBoxRepeat = nullptr;
    QCheckBox* CheckBoxAudio1 = nullptr;
    QScrollBar* ScrollBarScenHand = nullptr;
    QLabel* LabelScenHand = nullptr;
    QToolButton* SpeedButtonScenHand = nullptr;
    QScrollBar* ScrollBarStep = nullptr;
    QLabel* LabelStep = nullptr;
    QLabel* LabelCoda = nullptr;
    QWidget* keyboardArea_ = nullptr;
    QTimer* TimerSeqveser = nullptr;
    QTimer* TimerColorLentaTempa = nullptr;
    QTimer* TimerShouClock = nullptr;
};

}  // namespace lumetra::ui
