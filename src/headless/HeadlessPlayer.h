#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <string>

#include "core/ConsoleCore.h"
#include "core/DataFolder.h"
#include "core/Options.h"
#include "output/OutputSet.h"
#include "remote/CoreRemote.h"
#include "sound/BeatClock.h"
#include "sound/SoundAnalysis.h"

namespace lumetra::sound {
class BeatTracker;
class SoundCapture;
}  // namespace lumetra::sound

namespace lumetra::front {

// The console without a window: the start-up steps that need no operator
// (data folder, settings file, last show, conveyor list, outputs, sound
// input, autosave), then it plays as the settings file and the command
// line say. Every state change and error is one plain line on standard
// error, what the status line would say. Runs in a core event loop; no
// display, no platform plugin.
class HeadlessPlayer : public QObject {
  public:
    HeadlessPlayer(const Options& options, io::DataFolder folder);
    ~HeadlessPlayer() override;

    ConsoleCore& core() { return core_; }

    // The start-up, in the window's order where a step applies.
    void start();
    // Closes as the window closes, without a question: the output stops,
    // the interface closes, the show is kept in the autosave file (and in
    // its own file where [Player] SaveShow=1 allows it), the settings file
    // is written. Idempotent.
    void close();

  private:
    void coreChanged(const CoreEvent& event);
    void startPlaying();
    void startSound();
    void startRemote();
    void audioTick();
    // With the settings file's [Ritm] Source=beat, "Работа от звука" steps
    // on the music's beat, as the window does: the step is made a half tick
    // before the predicted beat.
    void startBeat();
    void armBeatStep();
    void pollOutputs();
    void writeSettings();
    void line(const std::string& text);
    void stateLine(CoreEvent::Kind kind, const std::string& text);

    Options options_;
    io::DataFolder folder_;
    ConsoleCore core_;
    io::OutputSet outputs_;
    sound::SoundAnalysis analysis_;
    std::unique_ptr<sound::SoundCapture> capture_;
    std::unique_ptr<sound::BeatTracker> tracker_;  // reads capture_'s samples
    sound::BeatSchedule beatSchedule_;
    QTimer beatStep_;
    std::int64_t beatDue_ = 0;
    // The web remote and OSC, where the options ask for them.
    std::unique_ptr<remote::CoreRemote> remoteConsole_;
    std::unique_ptr<remote::RemoteHub> remote_;
    std::string remoteWhere_;
    QTimer step_;
    QTimer poll_;
    QTimer autosave_;
    QTimer audio_;
    std::string interfaceLine_;
    // The last line told of each kind of state, and the show the settings
    // file names.
    std::array<std::string, 16> lastState_;
    std::string settingsShow_;
    bool started_ = false;
    bool closed_ = false;
};

// The program entry of `lumetra --headless`: a core application loop until
// SIGTERM or SIGINT. Returns the exit code.
int runHeadless(const Options& options, int argc, char** argv);

}  // namespace lumetra::front
