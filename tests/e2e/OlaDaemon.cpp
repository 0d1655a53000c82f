#include "OlaDaemon.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace lumetra::testing {

namespace {

// Every plugin of OLA 0.10 by its config name; all but dummy are disabled.
const char* const kPlugins[] = {
    "artnet",   "dmx4linux", "dummy",   "e131",     "espnet",  "ftdidmx",          "gpio",
    "karate",   "kinet",     "milinst", "nanoleaf", "opendmx", "openpixelcontrol", "osc",
    "pathport", "renard",    "sandnet", "shownet",  "spi",     "stageprofi",       "uartdmx",
    "usbdmx",   "usbserial",
};

bool executable(const char* path) {
    return ::access(path, X_OK) == 0;
}

std::string findProgram(const char* name) {
    for (const char* dir : {"/usr/bin/", "/usr/sbin/", "/usr/local/bin/", "/bin/"}) {
        const std::string p = std::string(dir) + name;
        if (executable(p.c_str())) return p;
    }
    return {};
}

// A port nobody listens on at the moment.
std::uint16_t freeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    std::uint16_t port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

bool portAnswers(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

std::string OlaDaemon::unavailableReason() {
    if (findProgram("olad").empty()) return "olad is not installed (Debian package ola)";
    if (::geteuid() == 0) {
        if (findProgram("setpriv").empty()) return "setpriv is missing (olad must not run as root)";
        if (::getpwnam("olad") == nullptr) return "there is no olad user to run olad as";
    }
    return {};
}

OlaDaemon::OlaDaemon() {
    char tmpl[] = "/tmp/lumetra-olad-XXXXXX";
    if (::mkdtemp(tmpl)) dir_ = tmpl;
}

OlaDaemon::~OlaDaemon() {
    stop();
    if (!dir_.empty()) fs::remove_all(dir_);
}

bool OlaDaemon::start() {
    if (dir_.empty()) {
        error_ = "no temporary folder";
        return false;
    }
    if (port_ == 0) {
        for (const char* p : kPlugins) {
            std::ofstream conf(dir_ + "/ola-" + p + ".conf");
            conf << "enabled = " << (std::string(p) == "dummy" ? "true" : "false") << "\n";
        }
        port_ = freeLoopbackPort();
    }
    const bool root = ::geteuid() == 0;
    if (root) {
        const passwd* pw = ::getpwnam("olad");
        ::chmod(dir_.c_str(), 0755);
        if (pw) {
            [[maybe_unused]] int r = ::chown(dir_.c_str(), pw->pw_uid, static_cast<gid_t>(-1));
            for (const auto& e : fs::directory_iterator(dir_))
                r = ::chown(e.path().c_str(), pw->pw_uid, static_cast<gid_t>(-1));
        }
    }
    const std::string olad = findProgram("olad");
    const std::string setpriv = findProgram("setpriv");
    const std::string portText = std::to_string(port_);
    std::vector<std::string> args;
    if (root) args = {setpriv, "--reuid=olad", "--regid=nogroup", "--clear-groups"};
    for (const std::string& a : {olad, std::string("-c"), dir_, std::string("--no-http"),
                                 std::string("--no-register-with-dns-sd"), std::string("-r"),
                                 portText, std::string("-l"), std::string("1")})
        args.push_back(a);

    pid_ = ::fork();
    if (pid_ == 0) {
        const int devnull = ::open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            ::dup2(devnull, STDIN_FILENO);
            ::dup2(devnull, STDOUT_FILENO);
        }
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < end) {
        if (!running()) {
            error_ = "olad ended at start-up";
            return false;
        }
        if (portAnswers(port_)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    error_ = "olad did not answer on port " + portText;
    stop();
    return false;
}

bool OlaDaemon::running() {
    if (pid_ <= 0) return false;
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void OlaDaemon::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (running() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

std::string OlaDaemon::unexpectedPluginConfigs() const {
    std::set<std::string> ours{"ola-server.conf", "ola-universe.conf", "ola-port.conf"};
    for (const char* p : kPlugins) ours.insert(std::string("ola-") + p + ".conf");
    std::string extra;
    for (const auto& e : fs::directory_iterator(dir_)) {
        const std::string name = e.path().filename().string();
        if (!ours.count(name)) extra += name + " ";
    }
    return extra;
}

}  // namespace lumetra::testing
