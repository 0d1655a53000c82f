#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/ConsoleCore.h"
#include "core/Options.h"
#include "core/ShowClock.h"
#include "remote/RemoteConsole.h"
#include "remote/RemoteHub.h"

namespace lumetra::remote {

// What a front keeps beside the core, lent to the remote: the window's beat
// tracker, its fader rows and scene slider, the status line, the output's
// state. Both are optional.
struct FrontHooks {
    // Fills in what only the front knows, over what the core gave.
    std::function<void(RemoteState&)> fill;
    // An operation the front does itself (or refuses): true when it took
    // it, false to let the core do it.
    std::function<bool(const Command&)> apply;
};

// The remote's view of the console core, for every front: the state read
// from the core, the operations done by the core (the same a key or a
// click calls), a change told as soon as the core tells one. What only the
// front knows comes through `front`, and the front calls frontChanged when
// that may have changed.
class CoreRemote : public RemoteConsole {
  public:
    explicit CoreRemote(ConsoleCore& core);
    ~CoreRemote() override;
    CoreRemote(const CoreRemote&) = delete;
    CoreRemote& operator=(const CoreRemote&) = delete;

    RemoteState state() const override;
    void apply(const Command& command) override;

    FrontHooks front;
    void frontChanged() const;
    // The status line of a front without one of its own (the headless
    // player's lines); the core's messages land here too.
    void setStatus(std::string text);

  private:
    void tellChanged() const;

    ConsoleCore& core_;
    int observer_ = 0;
    std::string status_;
};

// The output's state in the page's words.
std::string outputWords(const InterfaceState& state);

// What the options ask of the remote: the web page (with its password: the
// option, the password file, or SHOW/remote-password in the data folder)
// and OSC. A web remote without a password stays off, and whyOff says so.
RemoteConfig remoteConfig(const Options& options, const std::string& showDir, std::string& whyOff);

// The remote the options ask for, on `console`; none when none is asked
// for or none can start. whyOff tells why a web remote asked for is off.
std::unique_ptr<RemoteHub> startRemote(RemoteConsole& console, const Options& options,
                                       const std::string& showDir, std::string& whyOff);

}  // namespace lumetra::remote
