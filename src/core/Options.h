#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra {

// The program's command line.
struct Options {
    std::string home;  // --home=DIR (empty: from the environment)
    // --interface: one or more outputs of the line, comma-separated (the
    // option may also be given several times): ftdi, virtual:PATH or none
    // (at most one of these), and ola or ola:UNIVERSE (any number).
    std::string interface = "ftdi";
    std::uint16_t olaPort = 9010;  // --ola-port=PORT: olad's RPC port on 127.0.0.1
    std::string audio = "alsa";    // --audio=alsa|alsa:DEVICE|file:PATH|none
    // --play: play the last show once it is loaded; --play=sound ticks
    // "Работа от звука" first, so that the steps follow the sound input.
    enum class Play { No, Tempo, Sound } play = Play::No;
    // --headless: the console without a window (no display needed).
    bool headless = false;
    // --conveyor=list|first: the headless player runs the conveyor from the
    // slot of the last show, or from the first slot (empty: as the settings
    // file says).
    std::string conveyor;
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was understood
};

ParsedOptions parseOptions(const std::vector<std::string>& args);
std::string optionsHelpText();

// One output named by --interface.
struct InterfaceChoice {
    enum class Kind { Usb, Ola };
    Kind kind = Kind::Usb;
    std::string usb;        // "ftdi", "none" or "virtual:PATH"
    unsigned universe = 1;  // olad universe
};

struct InterfaceChoices {
    std::vector<InterfaceChoice> outputs;  // in the order given
    std::string error;                     // empty when the list was understood
};

// Splits and checks an --interface value. A comma inside a virtual
// interface's path stays part of the path unless what follows it names an
// output of its own.
InterfaceChoices parseInterfaces(const std::string& value);

}  // namespace lumetra
