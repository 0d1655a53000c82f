#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "app/Options.h"
#include "output/LineOutput.h"
#include "output/OutputCycle.h"
#include "output/UsbBackend.h"
#include "output/UsbDriver.h"
#include "playback/ShowClock.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTimer;
class QToolButton;

namespace lumetra::io {
class OlaOutput;
class RealTimeThread;
}

namespace lumetra::ui {

class TBaseForm;

// The live output as the window sees it: the crossfade mode, blackout and
// the macro picture, the static picture keys, manual control, offline mode,
// the outputs chosen on the command line (the USB interface, olad
// universes) with their listing and one-second poll, and the real-time
// thread that runs the tick. Every control writes its mirror in the console state
// from its change handler; the tick reads only the mirrors.
class OutputControls : public QObject {
    Q_OBJECT

public:
    OutputControls(TBaseForm& form, const Options& options);
    ~OutputControls() override;

    // Start-up: start every output (the USB driver lists the interfaces) and
    // start polling; fill the listing labels of the options page.
    void InitUsbDevise();
    void startTick();
    // Shutdown: the tick stops for good, then the interface is closed.
    void stopTick();
    void CloseUsbDevise();

    InterfaceState interfaceState() const;
    QString InterfaceStatusText() const;
    void toggleBlackoutFromKey();

    UsbDriver* driver() { return driver_.get(); }  // null when no USB interface was chosen
    const std::vector<LineOutput*>& outputs() const { return outputs_; }
    OutputCycle& cycle() { return *cycle_; }

    // Handlers (public so tests can drive them like clicks).
    void CheckBoxBlackOutClick();
    void TimerPollingTimer();

private:
    void buildRateMode();
    void buildLevels();
    void buildOutputButtons();
    void buildPictures();
    void buildOffline();
    void buildOutputs(const Options& options);
    std::vector<const LineOutput*> outputList() const;
    void TimerstrobTimer();
    void blinkTimer();
    void showClockPriority();

    TBaseForm& form_;
    Console& console_;
    std::unique_ptr<UsbBackend> backend_;
    std::unique_ptr<UsbDriver> driver_;
    std::vector<std::unique_ptr<io::OlaOutput>> ola_;
    std::vector<LineOutput*> outputs_;  // in command-line order
    std::unique_ptr<OutputCycle> cycle_;
    std::unique_ptr<io::RealTimeThread> thread_;

    QGroupBox* RadioGroupRate = nullptr;
    QButtonGroup* rateItems_ = nullptr;
    QCheckBox* CheckBoxBlackOut = nullptr;
    QCheckBox* CheckBoxManual = nullptr;
    QCheckBox* CheckBoxNoUSBconnect = nullptr;
    QLabel* LabelClockPriority = nullptr;
    QToolButton* SpeedButtonOnScena = nullptr;
    QToolButton* SpeedButtonBlackOut = nullptr;
    QToolButton* SpeedButtonMacrosOut = nullptr;
    std::array<QCheckBox*, 16> pictureBoxes_{};
    QTimer* TimerPolling = nullptr;
    QTimer* Timerstrob = nullptr;
    QTimer* blink_ = nullptr;
};

}  // namespace lumetra::ui
