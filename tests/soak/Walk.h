#pragma once

#include <QString>
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <string>

#include "SoakDialogs.h"
#include "SoakFiles.h"
#include "WireWatch.h"
#include "show/ShowMemory.h"

class QWidget;

namespace lumetra::ui {
class TBaseForm;
}

namespace lumetra::soak {

struct WalkConfig {
    std::uint32_t seed = 1;
    double seconds = 60;
    bool trace = false;  // print every step
    QString root;        // scratch folder
    // A real stop of the output, not jitter: no packet for this long fails.
    std::chrono::milliseconds maxSilence{1000};
};

// The soak: the real main window on the virtual interface, driven by a
// seeded random walk over the controls of every page, the menus, the keys
// and the file commands. After every step the output must still flow and
// every file on disk must be whole.
class Walk {
  public:
    explicit Walk(const WalkConfig& config);
    ~Walk();
    int run();  // 0 when nothing was found

  private:
    using Clock = std::chrono::steady_clock;

    void startConsole();
    void stopConsole();
    std::string step();
    void checkAfterStep(const std::string& what, Clock::duration took);
    [[noreturn]] void fail(const QString& why);
    void closeStrayModals();

    // Steps.
    std::string clickButton();
    std::string moveSlider();
    std::string changeSpin();
    std::string typeText();
    std::string switchTab();
    std::string triggerMenu();
    std::string pressKey();
    std::string dragMouse();
    std::string turnWheel();
    std::string idle();
    std::string saveByName();
    std::string saveAs();
    std::string openGood();
    std::string openBad();
    std::string newShow();
    std::string autosave();
    std::string bindConveyor();
    std::string restart();
    std::string unplug();
    std::string patchFile();

    template <typename T>
    std::vector<T*> visible() const;
    QWidget* window() const;
    bool trigger(const char* actionName);
    ShowMemory::Image image() const;
    void compareFile(const QString& path, const ShowMemory::Image& want, const char* what);
    void tidyShows();
    void waitForOutput();

    WalkConfig config_;
    std::mt19937 rng_;
    SoakFiles files_;
    std::unique_ptr<WireWatch> wire_;
    SoakDialogs* dialogs_ = nullptr;  // owned by the form
    std::unique_ptr<ui::TBaseForm> form_;

    std::uint64_t steps_ = 0;
    std::deque<std::string> recent_;
    bool ctrlHeld_ = false;
    bool offline_ = false;
    Clock::time_point offlineSince_;
    Clock::duration offlineTotal_{};
    std::uint64_t lastTicks_ = 0;
    Clock::time_point lastTickChange_;
    Clock::duration worstStep_{};
    std::string worstStepWhat_;
    int restarts_ = 0;
    // What the last console kept in the settings file at its shutdown.
    std::array<QString, 20> keptKonveyr_;
    QString keptLast_;
    int unplugs_ = 0;
    int modalsClosed_ = 0;
    QString strayModal_;
    std::uint64_t packetsSent_ = 0, writeFailures_ = 0, skippedBusy_ = 0;  // of stopped consoles
    int exactChecks_ = 0;
};

}  // namespace lumetra::soak
