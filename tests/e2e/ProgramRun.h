#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace lumetra::testing {

// How the program is started: by default under the offscreen platform;
// `noDisplay` takes every display variable away (the headless player).
// With `stderrPath` its standard error goes to that file.
struct RunEnvironment {
    bool noDisplay = false;
    std::string stderrPath;
};

// The lumetra program running in the background under the offscreen
// platform, stopped with SIGTERM as a service manager would stop it.
class ProgramRun {
public:
    explicit ProgramRun(const std::vector<std::string>& args, const RunEnvironment& env = {});
    ~ProgramRun();

    // A crash as the service manager sees one: SIGKILL, no shutdown.
    void kill();

    // Sends SIGTERM and waits; returns the exit status (-1 on a crash or
    // when the program had to be killed).
    int stop(std::chrono::seconds patience = std::chrono::seconds(20));
    bool running();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Waits until pred() holds or the time is up; returns pred().
template <typename Pred>
bool waitFor(Pred pred, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (pred()) return true;
        struct timespec ts {0, 20 * 1000 * 1000};
        nanosleep(&ts, nullptr);
    }
    return pred();
}

}  // namespace lumetra::testing
