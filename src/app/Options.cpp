#include "app/Options.h"

namespace lumetra {

namespace {
bool takeValue(const std::string& arg, const std::string& name, std::string& out) {
    const std::string prefix = "--" + name + "=";
    if (arg.rfind(prefix, 0) != 0) return false;
    out = arg.substr(prefix.size());
    return true;
}

bool validInterface(const std::string& v) {
    return v == "ftdi" || v == "none" || (v.rfind("virtual:", 0) == 0 && v.size() > 8);
}

bool validAudio(const std::string& v) {
    return v == "alsa" || v == "none" || (v.rfind("alsa:", 0) == 0 && v.size() > 5) ||
           (v.rfind("file:", 0) == 0 && v.size() > 5);
}
}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    ParsedOptions r;
    for (const std::string& arg : args) {
        std::string value;
        if (arg == "--help" || arg == "-h") {
            r.options.help = true;
        } else if (takeValue(arg, "home", value)) {
            if (value.empty()) return {r.options, "--home needs a folder"};
            r.options.home = value;
        } else if (takeValue(arg, "interface", value)) {
            if (!validInterface(value))
                return {r.options, "--interface must be ftdi, virtual:PATH or none"};
            r.options.interface = value;
        } else if (takeValue(arg, "audio", value)) {
            if (!validAudio(value))
                return {r.options, "--audio must be alsa, alsa:DEVICE, file:PATH or none"};
            r.options.audio = value;
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
           "  --audio=alsa            sound input from the default ALSA capture device (default)\n"
           "  --audio=alsa:DEVICE     sound input from the ALSA capture device DEVICE\n"
           "  --audio=file:PATH       sound input from a sound file (WAV, FLAC, Ogg ...)\n"
           "                          played in real time, silent after its end\n"
           "  --audio=none            no sound input\n"
           "  -h, --help              print this help and exit\n"
           "\n"
           "The output clock asks for real-time priority. Without root it gets it as a\n"
           "member of the audio group (the package's limits file: 'sudo adduser $USER\n"
           "audio', then log in again) or from RealtimeKit (package rtkit); otherwise it\n"
           "runs at nice -10 where allowed. The options page tells which it got.\n";
}

}  // namespace lumetra
