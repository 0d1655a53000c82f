#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace lumetra::testing {

// olad for one test: a config folder of its own in which every plugin is
// disabled except the dummy one (so nothing is ever sent to a network),
// no HTTP server, an RPC port of its own on 127.0.0.1. olad refuses to run
// as root, so as root it runs as the olad user.
class OlaDaemon {
  public:
    OlaDaemon();
    ~OlaDaemon();

    // Why olad cannot run here (not installed, no olad user or setpriv);
    // empty when it can.
    static std::string unavailableReason();

    // Starts olad and waits until its RPC port answers; false (with
    // error()) when it did not come up.
    bool start();
    // SIGTERM to olad's pid, then waits for it.
    void stop();
    bool running();

    std::uint16_t port() const { return port_; }
    const std::string& configDir() const { return dir_; }
    const std::string& error() const { return error_; }
    // Plugin config files olad wrote that the test did not (a plugin that
    // would run with its own defaults).
    std::string unexpectedPluginConfigs() const;

  private:
    std::string dir_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
    std::string error_;
};

}  // namespace lumetra::testing
