#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/ConsoleCore.h"
#include "core/Options.h"
#include "remote/RemoteConsole.h"
#include "remote/RemoteHub.h"

namespace lumetra::remote {

// The remote's view of a console that has no window (the headless player):
// the state read from the core, the operations done by the core, a change
// told as soon as the core tells one. What only the front knows (the
// output's state, its status line) it gives through outputText and
// setStatus.
class CoreRemote : public RemoteConsole {
  public:
    explicit CoreRemote(ConsoleCore& core);
    ~CoreRemote() override;
    CoreRemote(const CoreRemote&) = delete;
    CoreRemote& operator=(const CoreRemote&) = delete;

    RemoteState state() const override;
    void apply(const Command& command) override;

    std::function<std::string()> outputText;
    void setStatus(std::string text);

  private:
    void tellChanged() const;

    ConsoleCore& core_;
    int observer_ = 0;
    std::string status_;
};

// What the options ask of the remote: the web page (with its password: the
// option, the password file, or SHOW/remote-password in the data folder)
// and OSC. A web remote without a password stays off, and whyOff says so.
RemoteConfig remoteConfig(const Options& options, const std::string& showDir,
                          std::string& whyOff);

}  // namespace lumetra::remote
