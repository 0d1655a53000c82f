#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "show/ByteTable.h"
#include "show/ShowMemory.h"

namespace lumetra {

constexpr int kDmxSlots = 513;
constexpr int kFaderRows = 27;
constexpr int kPatchEntries = 513;

// Crossfade modes of the "Плавность перехода  сцен " group.
enum class CrossfadeMode : std::uint8_t { Faders = 0, Automatic = 1, Off = 2, None = 255 };

// What the real-time tick needs to know of the window's controls. Widgets
// write these from their change handlers; the tick only reads them.
struct ControlMirror {
    SharedByte crossfadeMode{0};              // CrossfadeMode
    SharedByte blackout{0};                   // CheckBoxBlackOut ticked
    SharedByte macroOut{0};                   // SpeedButtonMacrosOut down
    AtomicTable<layout::kPictureCount> pictureKeys;  // CheckBoxChs1..CheckBoxChsM ticked
    SharedByte manual{0};                     // CheckBoxManual ticked
    AtomicTable<kFaderRows> faderPosition;    // ScrollBar1..27 positions
    AtomicTable<kFaderRows> faderTicked;      // CheckBox1..27 ticked
    SharedByte bankOffset{0};                 // ScrolbarVertPos (BankOffset)
    SharedByte scannerPriority{0};            // manual scanner "Приоритет"
    SharedByte scannerX{0};
    SharedByte scannerY{0};
    SharedByte offline{0};                    // CheckBoxNoUSBconnect ("Работа в DEMO режиме")
    SharedByte xyFirstChannel{0};             // ScrollBarEditXYCh1 position
};

// The console's engine state: the one show, the output line and every table
// the real-time tick shares with the windows. There is exactly one, owned by
// the main window; tests make their own.
struct Console {
    ShowMemory show;
    AtomicTable<kDmxSlots> dmxLine;   // slot 0 start code, slot c = channel c
    AtomicTable<256> targetLine;      // entry c = target of channel c (1..255)
    AtomicTable<255> tempoSteps;      // entry c-1 = per-tick step of channel c
    AtomicTable<kPatchEntries, std::uint16_t> patchTable;
    SharedByte showRunning{0};
    SharedByte beatFlag{0};
    std::atomic<int> soundLevel{255};
    SharedByte strobe{0};
    SharedByte blackoutBlinkVisible{1};  // asked of the window by the tick
    ControlMirror controls;

    // UI-thread only: the one-scene clipboard and the single undo copy.
    std::array<std::uint8_t, layout::kSceneSize> sceneBuffer{};
    ShowMemory::Image undoCopy{};

    Console() {
        patchTable.set(0, 0);
        resetPatch();
    }

    // The identity patch for entries 1..512; entry 0 keeps its value.
    void resetPatch() {
        for (int k = 1; k < kPatchEntries; ++k) patchTable.set(k, static_cast<std::uint16_t>(k));
    }
};

}  // namespace lumetra
