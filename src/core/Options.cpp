#include "core/Options.h"

#include <charconv>
#include <cstdio>

namespace lumetra {

namespace {
bool takeValue(const std::string& arg, const std::string& name, std::string& out) {
    const std::string prefix = "--" + name + "=";
    if (arg.rfind(prefix, 0) != 0) return false;
    out = arg.substr(prefix.size());
    return true;
}

bool startsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// Decimal digits only, within [low, high].
bool parseNumber(const std::string& text, unsigned long long low, unsigned long long high,
                 unsigned long long& out) {
    if (text.empty() || text.size() > 19) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), out);
    return r.ec == std::errc() && out >= low && out <= high;
}

bool namesAnOutput(const std::string& item) {
    return item == "ftdi" || item == "none" || item == "ola" || startsWith(item, "ola:") ||
           startsWith(item, "virtual:");
}

bool validAudio(const std::string& v) {
    return v == "alsa" || v == "none" || (v.rfind("alsa:", 0) == 0 && v.size() > 5) ||
           (v.rfind("file:", 0) == 0 && v.size() > 5);
}

const char* kInterfaceError =
    "--interface must be ftdi, virtual:PATH, none, ola or ola:UNIVERSE (a comma list allowed)";
}  // namespace

bool parseListenAddress(const std::string& value, std::string& address, std::uint16_t& port) {
    std::string host;
    std::string portText = value;
    if (!value.empty() && value.front() == '[') {
        const std::size_t close = value.find("]:");
        if (close == std::string::npos) return false;
        host = value.substr(1, close - 1);
        portText = value.substr(close + 2);
    } else if (const std::size_t colon = value.rfind(':'); colon != std::string::npos) {
        host = value.substr(0, colon);
        portText = value.substr(colon + 1);
        if (host.find(':') != std::string::npos) return false;  // IPv6 needs brackets
    }
    if (value.find(':') != std::string::npos && host.empty()) return false;
    unsigned long long p = 0;
    if (!parseNumber(portText, 1, 65535, p)) return false;
    address = host;
    port = static_cast<std::uint16_t>(p);
    return true;
}

InterfaceChoices parseInterfaces(const std::string& value) {
    std::vector<std::string> items;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = value.find(',', from);
        std::string item = value.substr(from, comma == std::string::npos ? comma : comma - from);
        if (!items.empty() && startsWith(items.back(), "virtual:") && !namesAnOutput(item))
            items.back() += "," + item;  // a comma in the virtual interface's path
        else
            items.push_back(std::move(item));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }

    InterfaceChoices r;
    bool usbChosen = false;
    for (const std::string& item : items) {
        InterfaceChoice choice;
        if (item == "ola" || startsWith(item, "ola:")) {
            choice.kind = InterfaceChoice::Kind::Ola;
            unsigned long long u = 1;
            if (item != "ola" && !parseNumber(item.substr(4), 0, 0xFFFFFFFEull, u))
                return {{}, "--interface=ola:UNIVERSE needs a universe number, 0 to 4294967294"};
            choice.universe = static_cast<unsigned>(u);
            for (const InterfaceChoice& o : r.outputs)
                if (o.kind == InterfaceChoice::Kind::Ola && o.universe == choice.universe)
                    return {{}, "--interface names olad universe " + std::to_string(u) + " twice"};
        } else if (item == "ftdi" || item == "none" ||
                   (startsWith(item, "virtual:") && item.size() > 8)) {
            if (usbChosen)
                return {{}, "--interface takes one USB interface (ftdi, virtual:PATH or none)"};
            usbChosen = true;
            choice.usb = item;
        } else {
            return {{}, kInterfaceError};
        }
        r.outputs.push_back(std::move(choice));
    }
    return r;
}

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    ParsedOptions r;
    bool interfaceGiven = false;
    for (const std::string& arg : args) {
        std::string value;
        if (arg == "--help" || arg == "-h") {
            r.options.help = true;
        } else if (takeValue(arg, "home", value)) {
            if (value.empty()) return {r.options, "--home needs a folder"};
            r.options.home = value;
        } else if (takeValue(arg, "interface", value)) {
            // A repeated option adds outputs; the first replaces the default.
            const std::string all = interfaceGiven ? r.options.interface + "," + value : value;
            const InterfaceChoices choices = parseInterfaces(all);
            if (!choices.error.empty()) return {r.options, choices.error};
            r.options.interface = all;
            interfaceGiven = true;
        } else if (takeValue(arg, "ola-port", value)) {
            unsigned long long port = 0;
            if (!parseNumber(value, 1, 65535, port))
                return {r.options, "--ola-port needs a port number, 1 to 65535"};
            r.options.olaPort = static_cast<std::uint16_t>(port);
        } else if (takeValue(arg, "audio", value)) {
            if (!validAudio(value))
                return {r.options, "--audio must be alsa, alsa:DEVICE, file:PATH or none"};
            r.options.audio = value;
        } else if (arg == "--headless") {
            r.options.headless = true;
        } else if (takeValue(arg, "conveyor", value)) {
            if (value != "list" && value != "first")
                return {r.options, "--conveyor must be list or first"};
            r.options.conveyor = value;
        } else if (takeValue(arg, "remote", value)) {
            if (!parseListenAddress(value, r.options.remoteAddress, r.options.remotePort))
                return {r.options, "--remote needs [ADDRESS:]PORT, the port 1 to 65535"};
        } else if (takeValue(arg, "remote-password", value)) {
            if (value.empty()) return {r.options, "--remote-password needs a password"};
            r.options.remotePassword = value;
        } else if (takeValue(arg, "remote-password-file", value)) {
            if (value.empty()) return {r.options, "--remote-password-file needs a file"};
            r.options.remotePasswordFile = value;
        } else if (takeValue(arg, "osc", value)) {
            if (!parseListenAddress(value, r.options.oscAddress, r.options.oscPort))
                return {r.options, "--osc needs [ADDRESS:]PORT, the port 1 to 65535"};
        } else if (arg == "--play") {
            r.options.play = Options::Play::Tempo;
        } else if (takeValue(arg, "play", value)) {
            if (value != "sound") return {r.options, "--play takes no value but sound"};
            r.options.play = Options::Play::Sound;
        } else {
            return {r.options, "unknown option: " + arg};
        }
    }
    return r;
}

std::string optionsHelpText() {
    return "Usage: lumetra [options]\n"
           "Lumetra - DMX512 lighting console.\n"
           "\n"
           "Options:\n"
           "  --home=DIR              data folder (default: $LUMETRA_HOME, else\n"
           "                          $XDG_DATA_HOME/lumetra, else ~/.local/share/lumetra);\n"
           "                          SHOW/ holds the autosave show, Lumy.ini and lumiEdit.col,\n"
           "                          DOC/ the manual\n"
           "  --interface=ftdi        USB-DMX interface on the first FTDI chip (default)\n"
           "  --interface=virtual:PATH  rehearsal interface: every packet is appended to PATH;\n"
           "                          while PATH.unplugged exists the interface is unplugged\n"
           "  --interface=none        no interface: the console runs without output\n"
           "  --interface=ola[:UNIVERSE]  the line goes to universe UNIVERSE (default 1) of\n"
           "                          the OLA daemon olad (Art-Net, sACN/E1.31 and every\n"
           "                          interface olad drives); olad is never started by the\n"
           "                          console, and is reconnected when it comes back\n"
           "                          Several outputs: a comma list or the option again,\n"
           "                          e.g. --interface=ftdi,ola:1 (one USB interface at most)\n"
           "  --ola-port=PORT         olad's RPC port on 127.0.0.1 (default 9010)\n"
           "  --audio=alsa            sound input from the default ALSA capture device (default)\n"
           "  --audio=alsa:DEVICE     sound input from the ALSA capture device DEVICE\n"
           "  --audio=file:PATH       sound input from a sound file (WAV, FLAC, Ogg ...)\n"
           "                          played in real time, silent after its end\n"
           "  --audio=none            no sound input\n"
           "  --play                  play the last show as soon as it is loaded\n"
           "  --play=sound            the same, with \"Работа от звука\" ticked: the steps\n"
           "                          follow the sound input (the level trigger, or the\n"
           "                          music's beat when the tab \"Звук\" says \"по ритму\")\n"
           "  --headless              run without a window and without a display: the\n"
           "                          output, the sound input and the files as usual, state\n"
           "                          changes and errors on standard error; SIGTERM or\n"
           "                          SIGINT closes it (the show kept in the autosave file)\n"
           "  --conveyor=list         (headless) play the conveyor's shows, every bound slot,\n"
           "                          from the slot of the last show\n"
           "  --conveyor=first        (headless) the same from the first slot\n"
           "  --remote=[ADDRESS:]PORT  the web remote: a page for a phone or a tablet on\n"
           "                          http://ADDRESS:PORT/ (every address of the machine\n"
           "                          when none is given); it needs a password\n"
           "  --remote-password=TEXT  the remote's password (visible to other users in the\n"
           "                          process list: prefer the file)\n"
           "  --remote-password-file=PATH  the password is the first line of PATH, a file\n"
           "                          only its owner may read (chmod 600); default:\n"
           "                          SHOW/remote-password in the data folder, if present\n"
           "  --osc=[ADDRESS:]PORT    receive Open Sound Control on UDP PORT (127.0.0.1\n"
           "                          when no address is given; 0.0.0.0 for the network)\n"
           "  -h, --help              print this help and exit\n"
           "\n"
           "The output clock asks for real-time priority. Without root it gets it as a\n"
           "member of the audio group (the package's limits file: 'sudo adduser $USER\n"
           "audio', then log in again) or from RealtimeKit (package rtkit); otherwise it\n"
           "runs at nice -10 where allowed. The options page tells which it got.\n";
}

std::optional<int> answerHelpOrFault(const ParsedOptions& parsed) {
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "lumetra: %s\n\n%s", parsed.error.c_str(), optionsHelpText().c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(optionsHelpText().c_str(), stdout);
        return 0;
    }
    return std::nullopt;
}

}  // namespace lumetra
