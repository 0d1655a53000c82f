#include "ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace lumetra::testing {

ProgramRun::ProgramRun(const std::vector<std::string>& args, const RunEnvironment& env) {
    pid_ = fork();
    if (pid_ == 0) {
        if (env.noDisplay) {
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                unsetenv(name);
        } else {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        const int devnull = open("/dev/null", O_RDONLY);
        if (devnull >= 0) dup2(devnull, STDIN_FILENO);
        if (!env.stderrPath.empty()) {
            const int err = open(env.stderrPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (err >= 0) dup2(err, STDERR_FILENO);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(LUMETRA_PROGRAM));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(LUMETRA_PROGRAM, argv.data());
        _exit(127);
    }
}

ProgramRun::~ProgramRun() {
    if (pid_ > 0) stop(std::chrono::seconds(5));
}

bool ProgramRun::running() {
    if (pid_ <= 0) return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
        return false;
    }
    return true;
}

void ProgramRun::kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    status_ = -1;
}

int ProgramRun::stop(std::chrono::seconds patience) {
    if (pid_ <= 0) return status_;
    ::kill(pid_, SIGTERM);
    const auto end = std::chrono::steady_clock::now() + patience;
    while (std::chrono::steady_clock::now() < end) {
        if (!running()) return status_;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill();
    return status_;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace lumetra::testing
