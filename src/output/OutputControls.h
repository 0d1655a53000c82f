#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "core/ConsoleCore.h"
#include "core/Options.h"
#include "output/OutputSet.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTimer;
class QToolButton;

namespace lumetra::ui {

class PageHost;

// The live output as the window sees it: the crossfade mode, blackout and
// the macro picture, the static picture keys, manual control, offline mode,
// the outputs chosen on the command line (the USB interface, olad
// universes) with their listing and one-second poll, and the real-time
// thread that runs the tick. The controls call the console core, which
// writes the mirrors the tick reads, and show what the core tells of them.
class OutputControls : public QObject {
    Q_OBJECT

public:
    OutputControls(PageHost& form, const Options& options);

    // The crossfade mode "без плавности": the output follows at once.
    void crossfadeOff();
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

    UsbDriver* driver() { return outputs_.driver(); }  // null when no USB interface was chosen
    const std::vector<LineOutput*>& outputs() const { return outputs_.outputs(); }
    OutputCycle& cycle() { return outputs_.cycle(); }

    // Handlers (public so tests can drive them like clicks).
    void CheckBoxBlackOutClick();
    void TimerPollingTimer();

signals:
    // The outputs were polled: an interface may have opened or closed.
    void polled();

private:
    void buildRateMode();
    void buildLevels();
    void buildOutputButtons();
    void buildPictures();
    void buildOffline();
    void coreChanged(const CoreEvent& event);
    void TimerstrobTimer();
    void blinkTimer();
    void showClockPriority();

    PageHost& form_;
    Console& console_;
    ConsoleCore& core_;
    io::OutputSet outputs_;

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
