#include "output/OutputCycle.h"

#include "edit/FaderTools.h"

#include <array>

namespace lumetra {

namespace {
constexpr int kPatchedSlots = 256;  // the tick builds and patches slots 0..255
constexpr int kPictureM = 15;       // CheckBoxChsM, SpeedButtonMacrosOut
}  // namespace

OutputCycle::OutputCycle(Console& console) : console_(console) {}

OutputCycle::OutputCycle(Console& console, UsbDriver& driver) : console_(console) {
    addOutput(&driver);
}

bool OutputCycle::addOutput(LineOutput* output) {
    const std::size_t n = outputCount_.load(std::memory_order_relaxed);
    if (n >= kMaxOutputs || output == nullptr) return false;
    outputs_[n].store(output, std::memory_order_relaxed);
    outputCount_.store(n + 1, std::memory_order_release);  // the tick sees it complete
    return true;
}

void OutputCycle::RealTimeTick() {
    SborDmxStroki();
    ManualDmx();
    BlankBlackOut();
    SendToUsb();
    ticks_.fetch_add(1, std::memory_order_relaxed);
}

void OutputCycle::SborDmxStroki() {
    ShowMemory& show = console_.show;
    AtomicTable<kDmxSlots>& line = console_.dmxLine;
    AtomicTable<256>& target = console_.targetLine;

    const std::uint8_t scene = show.cell(cell::kCurrentScene);
    show.RaschetAdr(scene);
    const int base = layout::sceneOffset(scene);

    switch (static_cast<CrossfadeMode>(console_.controls.crossfadeMode.get())) {
        case CrossfadeMode::Faders:
            for (int c = 1; c <= layout::kChannels; ++c) target.set(c, show.get(base + c));
            for (int c = 1; c <= layout::kChannels; ++c)
                line.set(
                    c, approachLevel(line.get(c), target.get(c), show.get(layout::rateOffset(c))));
            break;
        case CrossfadeMode::Automatic:
            if (console_.showRunning.get() == 0) {
                for (int c = 1; c <= layout::kChannels; ++c) line.set(c, show.get(base + c));
            } else {
                for (int c = 1; c <= layout::kChannels; ++c) target.set(c, show.get(base + c));
                for (int c = 1; c <= layout::kChannels; ++c)
                    line.set(c, approachLevel(line.get(c), target.get(c),
                                              console_.tempoSteps.get(c - 1)));
            }
            break;
        case CrossfadeMode::Off:
            for (int c = 1; c <= layout::kChannels; ++c) line.set(c, show.get(base + c));
            break;
        default:  // no item selected (255, or anything else): the line stays
            break;
    }
    OutJobAvtomats();
}

void OutputCycle::OutJobAvtomats() {
    // The chase generators plug in here; until then nothing runs.
    if (AvtomatOutput* a = avtomats_.load(std::memory_order_acquire)) a->OutJobAvtomats(console_);
}

void OutputCycle::applyPicture(int picture) {
    const ShowMemory& show = console_.show;
    AtomicTable<kDmxSlots>& line = console_.dmxLine;
    const int flags = layout::pictureOffset(picture);
    const int levels = flags + layout::kPictureLevels;
    for (int i = 0; i < kPatchedSlots; ++i)
        if (show.get(flags + i) == 1) line.set(i, show.get(levels + i));
}

void OutputCycle::ManualDmx() {
    const ShowMemory& show = console_.show;
    const ControlMirror& ctl = console_.controls;
    AtomicTable<kDmxSlots>& line = console_.dmxLine;

    // 1. Static pictures 0..15 in key order; a later one wins.
    for (int k = 0; k < layout::kPictureCount; ++k)
        if (ctl.pictureKeys.get(k) != 0) applyPicture(k);

    // 2. Manual control: ticked faders of the visible bank.
    if (ctl.manual.get() != 0) FaderTools::CheckBoxManualScrollBar(console_);

    // 3. Manual scanner priority: X on slot i, Y on slot i + 1
    // (slot 256 for i = 255).
    if (ctl.scannerPriority.get() != 0) {
        const std::uint8_t x = ctl.scannerX.get();
        const std::uint8_t y = ctl.scannerY.get();
        for (int i = 0; i < kPatchedSlots; ++i) {
            if (show.get(layout::selectionOffset(i)) == 1) {
                line.set(i, x);
                line.set(i + 1, y);
            }
        }
    }

    // 4. Blackout: slots 0..255 (slot 256 stays).
    if (ctl.blackout.get() != 0) line.fill(0, 0, kPatchedSlots);

    // 5. Macro: picture M over the (blacked-out) line.
    if (ctl.macroOut.get() != 0) applyPicture(kPictureM);

    // 6. Patch: output slot j takes source slot PatchTable[j]. An entry above
    // 255 (only from a patch file) outputs 0 rather than reading past the
    // source line.
    std::array<std::uint8_t, kPatchedSlots> source;
    line.copyOut(source.data(), 0, kPatchedSlots);
    for (int j = 0; j < kPatchedSlots; ++j) {
        const std::uint16_t from = console_.patchTable.get(j);
        line.set(j, from < kPatchedSlots ? source[from] : 0);
    }

    // 7. Sound: output slots whose selection byte is exactly 1.
    int level = console_.soundLevel.load(std::memory_order_relaxed);
    level = level < 0 ? 0 : (level > 255 ? 255 : level);
    for (int j = 0; j < kPatchedSlots; ++j)
        if (show.get(layout::selectionOffset(j)) == 1)
            line.set(j, static_cast<std::uint8_t>(line.get(j) * level / 255));
}

void OutputCycle::BlankBlackOut() {
    SharedByte& visible = console_.blackoutBlinkVisible;
    if (console_.controls.blackout.get() != 0) {
        visible.set(visible.get() != 0 ? 0 : 1);
    } else {
        visible.set(1);
    }
}

void OutputCycle::SendToUsb() {
    // The 3D viewer's device table is refreshed here; until then nothing.
    if (DeviceTableFeed* f = deviceTable_.load(std::memory_order_acquire))
        f->refreshFromLine(console_);
    const bool offline = console_.controls.offline.get() != 0;
    const std::size_t n = outputCount_.load(std::memory_order_acquire);
    for (std::size_t i = 0; i < n; ++i)
        outputs_[i].load(std::memory_order_relaxed)->sendLine(console_.dmxLine, offline);
}

}  // namespace lumetra
