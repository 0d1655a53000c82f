#pragma once

#include <string>
#include <vector>

namespace lumetra {

// The program's command line.
struct Options {
    std::string home;                  // --home=DIR (empty: from the environment)
    std::string interface = "ftdi";    // --interface=ftdi|virtual:PATH|none
    std::string audio = "alsa";        // --audio=alsa|alsa:DEVICE|file:PATH|none
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was understood
};

ParsedOptions parseOptions(const std::vector<std::string>& args);
std::string optionsHelpText();

}  // namespace lumetra
