#pragma once

#include <QObject>
#include <array>

#include "playback/Avtomats.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QScrollBar;
class QTimer;
class QToolButton;
class QWidget;

namespace lumetra::ui {

class ColorShape;
class PageHost;

// The page "Автоматы": the controls of the two chase generators and their
// window timers. The engine's Avtomats does the stepping and is what the
// real-time tick lays over the line; this page turns the controls into its
// mirrors and the show's cells, and shows its state.
class AvtomatPage : public QObject {
    Q_OBJECT

  public:
    explicit AvtomatPage(PageHost& form);

    lumetra::Avtomats& engine() { return avtomats_; }

    // Refresh of every control from the cells.
    void ReturnAvtomat();
    // The timer handlers, public so that a test can step them by hand.
    void TimerTempAvtomatTimer(int n);
    void DisplayAvtomat(int n);
    // A beat of the music: generators that follow it make their step.
    void stepOnBeat();
    bool followsBeat(int n) const;
    void setFollowsBeat(int n, bool on);

  signals:
    // One of the generators' "По ритму" boxes changed: whether any is ticked.
    void followsBeatChanged(bool any);

  public:
  private:
    struct Generator {
        QGroupBox* group = nullptr;
        QScrollBar* speed = nullptr;                                  // ScrollBarTempAvtomatN
        QLabel* speedLabel = nullptr;                                 // LabelTempAvtomatN
        QScrollBar* channel = nullptr;                                // ScrollBarChannelAvtomatN
        QLabel* channels = nullptr;                                   // LabelSeqNCh
        QLabel* channelName = nullptr;                                // LabelSeqNChName
        std::array<QToolButton*, lumetra::kAvtomatPatterns> modes{};  // SpeedButtonAvtoNMode1..4
        QButtonGroup* modeGroup = nullptr;
        QScrollBar* bright = nullptr;                                 // ScrollBarBrightAvtomatN
        QScrollBar* dark = nullptr;                                   // ScrollBarDarkAvtomatN
        QCheckBox* alone = nullptr;                                   // CheckBoxAvtomatN
        QCheckBox* withShow = nullptr;                                // CheckBoxTogetheN
        QCheckBox* onBeat = nullptr;                                  // CheckBoxAvtomatBeatN
        ColorShape* heartbeat = nullptr;                              // ShapeAvtomatN
        std::array<ColorShape*, lumetra::kAvtomatChannels> levels{};  // ShapeAvtNSeq1..4
        QLabel* stepLabel = nullptr;                                  // LabelStepAvtomatN
        QTimer* timer = nullptr;                                      // TimerTempAvtomatN
    };

    QGroupBox* buildGenerator(QWidget* page, int n);
    void TempAvtomatStatus(int n);
    void returnChannelLabels(int n);
    void setCell(int index, int value);

    PageHost& form_;
    lumetra::Avtomats avtomats_;
    std::array<Generator, lumetra::kAvtomatCount> gens_{};
};

}  // namespace lumetra::ui
