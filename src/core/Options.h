#pragma once

#include <cstdint>
#include <optional>
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
    // The remote: --remote=[ADDRESS:]PORT serves the web page (off when the
    // port is 0; every address when none is given), --osc=[ADDRESS:]PORT
    // takes OSC (127.0.0.1 when no address is given). The page's password
    // comes from --remote-password=TEXT or --remote-password-file=PATH.
    std::string remoteAddress;
    std::uint16_t remotePort = 0;
    std::string remotePassword;
    std::string remotePasswordFile;
    std::string oscAddress;
    std::uint16_t oscPort = 0;
    bool help = false;
};

struct ParsedOptions {
    Options options;
    std::string error;  // empty when the command line was understood
};

ParsedOptions parseOptions(const std::vector<std::string>& args);
std::string optionsHelpText();

// A command line that asks for the help or that could not be understood
// ends the program here: the help on standard output (exit code 0), or
// the fault and the help on standard error (2). Nothing for one that runs.
std::optional<int> answerHelpOrFault(const ParsedOptions& parsed);

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

// Splits [ADDRESS:]PORT (an IPv6 address in brackets); false when the port
// is not 1..65535 or the address is empty.
bool parseListenAddress(const std::string& value, std::string& address, std::uint16_t& port);

}  // namespace lumetra
