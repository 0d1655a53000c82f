#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace lumetra::remote {

// What a page and an OSC client see of the console. Texts are UTF-8, as
// the console shows them.
struct RemoteState {
    struct Slot {
        std::string caption;  // the slot button's caption ("Q=show", "W (пусто)")
        bool bound = false;   // a show file is assigned
        bool active = false;  // the button is down
        bool operator==(const Slot&) const = default;
    };

    bool playing = false;
    int tempo = 44;          // the tempo slider, 10..170
    std::string tempoText;   // "30  Сцен/мин "
    bool blackout = false;
    bool macro = false;      // the macro picture "Макро M"
    std::array<bool, 16> pictures{};  // the sixteen picture keys, in key order
    std::array<Slot, 20> conveyor{};
    int mode = 0;            // conveyor: 0 by hand, 1 from the position, 2 from the first, 3 off
    std::string konveyrLabel;
    int scene = 1;           // current scene, as shown (index + 1)
    int lastScene = 1;       // last scene, as shown
    bool onSound = false;    // "Работа от звука"
    bool byBeat = false;     // the beat source is "по ритму"
    std::string beatTempo;   // the tracked tempo ("124 BPM")
    std::string beatHold;    // the tracker's state text
    bool offline = false;    // "Работа в DEMO режиме"
    std::string output;      // the interface's state in words
    std::string status;      // the status line

    bool operator==(const RemoteState&) const = default;
};

// One operation asked by a page or by OSC, checked before it gets here.
struct Command {
    enum class Op : std::uint8_t {
        Play,
        Stop,
        Blackout,  // value 0/1
        Macro,     // value 0/1
        Picture,   // n 1..16, value 0/1
        Slot,      // n 1..20: as a click on the slot button
        Mode,      // n 0..3, as the conveyor's mode buttons
        Tempo,     // value 10..170
        Fader,     // n 1..27 (row of the fader page), value 0..255, as moving it
        Scene,     // n 1..256: go to that scene (as the scene slider)
        Tap,       // one tap of the tap tempo
    };
    Op op = Op::Stop;
    int n = 0;
    int value = 0;
    // A picture held only while a finger stays on its key: let go by the
    // remote if the page goes away before the finger does.
    bool hold = false;
    bool operator==(const Command&) const = default;
};

// The console as the remote needs it: a snapshot of the state, a call when
// it may have changed, and the operations. It lives on the console's own
// (window) thread; the remote calls it only there.
class RemoteConsole {
  public:
    virtual ~RemoteConsole() = default;
    virtual RemoteState state() const = 0;
    virtual void apply(const Command& command) = 0;
    // Set by the remote; the console calls it after anything that may have
    // changed the state (several changes may share one call).
    std::function<void()> changed;
};

constexpr int kPictureCount = 16;
constexpr int kSlotCount = 20;
constexpr int kMinTempo = 10;
constexpr int kMaxTempo = 170;
// Picture keys in index order, as the page and the hints name them.
constexpr std::array<const char*, kPictureCount> kPictureKeys = {
    "1", "2", "3", "4", "5", "6", "7", "8", "==", "Z", "X", "C", "V", "B", "N", "M"};

}  // namespace lumetra::remote
