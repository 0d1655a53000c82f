// A show file from anywhere: loaded whole or not at all, played for a few
// ticks and sequencer steps, then saved and read back byte for byte.
#include <cstring>
#include <memory>

#include "FuzzSupport.h"
#include "output/OutputCycle.h"
#include "output/UsbBackends.h"
#include "output/UsbDriver.h"
#include "core/Sequencer.h"
#include "show/ShowFile.h"

using namespace lumetra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::writeScratch("show.dat", data, size);

    auto console = std::make_unique<Console>();
    console->show.fill(0x5A, 0, layout::kShowSize);  // a show that is not the input
    ShowMemory::Image before{};
    console->show.snapshot(before);

    const io::FileResult loaded = io::loadShow(path, console->show);
    auto image = std::make_unique<ShowMemory::Image>();
    console->show.snapshot(*image);
    if (size >= static_cast<std::size_t>(layout::kShowSize)) {
        FUZZ_CHECK(loaded.ok());
        FUZZ_CHECK(std::memcmp(image->data(), data, layout::kShowSize) == 0);
    } else {
        FUZZ_CHECK(!loaded.ok());
        FUZZ_CHECK(!loaded.message.empty());
        FUZZ_CHECK(*image == before);
        return 0;
    }

    // Play what was loaded: every crossfade mode, a few steps of the list.
    io::NoInterfaceBackend none;
    UsbDriver driver{none};
    OutputCycle cycle{*console, driver};
    Sequencer seq{*console};
    seq.TempStatus();
    FUZZ_CHECK(seq.intervalMs() > 0);
    seq.ModePlay();
    const std::uint8_t modes[] = {0, 1, 2, 255, data[size - 1]};
    for (std::uint8_t mode : modes) {
        console->controls.crossfadeMode.set(mode);
        cycle.RealTimeTick();
        const SequencerStep step = seq.TimerSeqveserTimer(false, true);
        if (step.advanced) FUZZ_CHECK(console->show.currentScene() <= console->show.lastScene());
        cycle.RealTimeTick();
    }
    FUZZ_CHECK(cycle.tickCount() == 2 * sizeof(modes));

    // What is in memory now survives a save and a reload unchanged.
    console->show.snapshot(*image);
    const std::string copy = fuzz::scratchFolder() + "/show-copy.dat";
    FUZZ_CHECK(io::saveShow(copy, console->show).ok());
    auto again = std::make_unique<Console>();
    FUZZ_CHECK(io::loadShow(copy, again->show).ok());
    auto reread = std::make_unique<ShowMemory::Image>();
    again->show.snapshot(*reread);
    FUZZ_CHECK(*reread == *image);
    return 0;
}
