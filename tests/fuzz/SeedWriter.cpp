// Writes the seed corpora of the fuzz targets from valid files made by the
// console's own writers: seed-writer <folder> makes <folder>/<target>/...
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "output/WirePacket.h"
#include "show/ColorEditFile.h"
#include "show/PatchFile.h"
#include "show/SettingsFile.h"
#include "show/ShowFile.h"

using namespace lumetra;

namespace {

std::string folder(const std::string& root, const char* name) {
    const std::string path = root + "/" + name;
    ::mkdir(root.c_str(), 0755);
    ::mkdir(path.c_str(), 0755);
    return path;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool check(const io::FileResult& r) {
    if (!r.ok()) std::fprintf(stderr, "seed-writer: %s\n", r.message.c_str());
    return r.ok();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: seed-writer FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    bool ok = true;

    // Shows: a blank one and one with a scene list, rates, names and pictures.
    {
        const std::string dir = folder(root, "fuzz_show_file");
        auto console = std::make_unique<Console>();
        console->show.writeSignature();
        ok &= check(io::saveShow(dir + "/blank.dat", console->show));
        ShowMemory& show = console->show;
        show.setCell(cell::kLastScene, 3);
        show.setCell(cell::kCurrentScene, 1);
        show.setCell(cell::kTempo, 20);
        for (int scene = 0; scene <= 3; ++scene)
            for (int ch = 1; ch <= layout::kChannels; ch += 7)
                show.setLevel(scene, ch, static_cast<std::uint8_t>(scene * 60 + ch));
        for (int ch = 1; ch < 40; ++ch)
            show.set(layout::rateOffset(ch), static_cast<std::uint8_t>(ch));
        const char name[] = "Front wash";
        show.copyIn(reinterpret_cast<const std::uint8_t*>(name), layout::nameOffset(1),
                    sizeof(name) - 1);
        show.set(layout::pictureOffset(0) + 5, 1);
        show.set(layout::pictureOffset(0) + layout::kPictureLevels + 5, 200);
        ok &= check(io::saveShow(dir + "/scenes.dat", show));

        // The editors' target: the same shows, each followed by actions.
        const std::string editors = folder(root, "fuzz_show_editors");
        std::string actions;
        for (int i = 0; i < 96; ++i) actions += static_cast<char>((i * 37 + 11) & 0xFF);
        ShowMemory::Image image;
        show.snapshot(image);
        const std::string bytes(reinterpret_cast<const char*>(image.data()), image.size());
        writeBytes(editors + "/scenes-actions.dat", bytes + actions);
        writeBytes(editors + "/scenes-whole-show.dat", bytes + std::string(24, '\x01'));
    }

    // Settings: what the console writes, and a file kept by hand.
    {
        const std::string dir = folder(root, "fuzz_settings_file");
        io::Settings s;
        s.konveyr[0] = "/home/op/shows/Unit_001";
        s.konveyr[19] = "Unit_020";
        s.lastPath = "/home/op/shows/Unit_001";
        writeBytes(dir + "/written.ini", io::formatSettings(s));
        writeBytes(
            dir + "/by-hand.ini",
            "\xEF\xBB\xBF; kept by hand\n[Other]\nKey=Value\n[ konveir ]\n  File02 = \"b b\"  \n"
            "File02=/second\n[LastFile]\nPath=Unit_002\n");
    }

    // Patch: identity and a shuffled table.
    {
        const std::string dir = folder(root, "fuzz_patch_file");
        io::PatchTable table;
        for (int i = 0; i < kPatchEntries; ++i) table.set(i, static_cast<std::uint16_t>(i));
        ok &= check(io::SavePatchFile(dir + "/identity.dat", table));
        for (int i = 1; i < io::kPatchFileEntries; ++i)
            table.set(i, static_cast<std::uint16_t>(513 - i));
        ok &= check(io::SavePatchFile(dir + "/reversed.dat", table));
    }

    // Colours: the start-up tables and some placed devices.
    {
        const std::string dir = folder(root, "fuzz_color_file");
        auto colors = std::make_unique<io::ChannelColors>(io::ChannelColors::startupDefaults());
        ok &= check(io::SaveColorEdit(dir + "/defaults.dat", *colors));
        for (int d = 0; d < 8; ++d) {
            colors->DeviceType.set(d, 1);
            colors->DeviceX.set(d, static_cast<std::uint8_t>(30 * d));
            colors->DevicePan.set(d, 128);
        }
        colors->GoboType[3] = 4;
        ok &= check(io::SaveColorEdit(dir + "/devices.dat", *colors));
    }

    // Wire: a dark line, and two packets full of escaped FF bytes.
    {
        const std::string dir = folder(root, "fuzz_wire_decoder");
        DmxFrame line{};
        std::uint8_t packet[wire::kMaxPacket];
        std::size_t n = encodePacket(line.data(), packet);
        writeBytes(dir + "/dark.bin", std::string(reinterpret_cast<char*>(packet), n));
        for (std::size_t i = 0; i < line.size(); ++i)
            line[i] = static_cast<std::uint8_t>(i % 3 ? 0xFF : i);
        n = encodePacket(line.data(), packet);
        const std::string one(reinterpret_cast<char*>(packet), n);
        writeBytes(dir + "/escaped.bin", "\x01\xFF" + one + one.substr(0, 100) + one);
    }
    return ok ? 0 : 1;
}
