#pragma once

#include <QObject>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "sound/SoundAnalysis.h"
#include "sound/SoundCapture.h"

class QLabel;
class QProgressBar;
class QScrollBar;
class QTimer;

namespace lumetra::ui {

class PageHost;
class ColorShape;
class BeatControls;

// Panelosc: the oscilloscope trace of the last analysed block.
class OscPanel : public QWidget {
    Q_OBJECT

  public:
    explicit OscPanel(QWidget* parent = nullptr);
    void setTrace(const std::array<sound::TracePoint, sound::kTracePoints>& trace);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::array<sound::TracePoint, sound::kTracePoints> trace_{};
};

// The tab "Звук": the sound input, its 10 ms analysis (TimerAudio), the
// trace, the two level bars, the beat indicator and the sliders of attack,
// release, hold time and the floor of the sound level.
class SoundPage : public QObject {
    Q_OBJECT

  public:
    explicit SoundPage(PageHost& form);
    ~SoundPage() override;

    // Start-up: opens the sound input the command line names (showing the
    // boxes of a failure) and starts TimerAudio, which runs whatever came
    // of the input. A test may pass a clock of its own for a sound file.
    void start(const std::string& audio, sound::Clock clock = sound::steadyClock());

    // One tick of TimerAudio, public so that a test can step it by hand.
    void TimerAudioTimer();

    sound::SoundAnalysis& analysis() { return analysis_; }
    bool hasInput() const { return capture_ != nullptr; }
    BeatControls& beat() { return *beat_; }

  private:
    void build(QWidget* page);
    void showIndicator();

    PageHost& form_;
    sound::SoundAnalysis analysis_;
    std::unique_ptr<sound::SoundCapture> capture_;
    bool started_ = false;

    QScrollBar* ScrollBarAtaka = nullptr;
    QScrollBar* ScrollBarRel = nullptr;
    QScrollBar* ScrollBarTimeScen = nullptr;
    QScrollBar* ScrollBarLevelSmu = nullptr;
    QLabel* LabelAtaka = nullptr;
    QLabel* LabelRelease = nullptr;
    QLabel* LabelTimeScena = nullptr;
    QProgressBar* ProgressBarRealLevel = nullptr;
    QProgressBar* ProgressBarKomp = nullptr;
    OscPanel* Panelosc = nullptr;
    std::array<ColorShape*, 4> squares_{};  // ShapeS1 .. ShapeS4
    ColorShape* ShapeFlip = nullptr;
    QTimer* TimerAudio = nullptr;
    BeatControls* beat_ = nullptr;
};

}  // namespace lumetra::ui
