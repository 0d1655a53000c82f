// Program entry of `lumetra`. It reads the options; without a window
// (--headless) it plays right here, carrying only the libraries a player
// uses (no widgets, no OpenGL), so that it starts at once
// and stays small all night. Otherwise it hands over to the window program
// beside it, with the same arguments and the same process id.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/Options.h"
#include "headless/HeadlessPlayer.h"

namespace {
// lumetra-window in the folder of this program.
std::string windowProgram() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "lumetra-window";
    const std::string path(self, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + "lumetra-window";
}
}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const lumetra::ParsedOptions parsed = lumetra::parseOptions(args);
    if (const std::optional<int> code = lumetra::answerHelpOrFault(parsed)) return *code;
    if (parsed.options.headless) return lumetra::front::runHeadless(parsed.options, argc, argv);

    std::string window = windowProgram();
    argv[0] = window.data();
    ::execv(window.c_str(), argv);
    std::fprintf(stderr, "lumetra: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
    return 127;
}
