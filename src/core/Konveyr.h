#pragma once

#include <array>
#include <functional>

namespace lumetra {

// The conveyor's list logic: twenty slots, each bound (a show file is
// assigned) and active (its button is down), and the position the
// automatic run looks at next. The window owns the buttons and the paths;
// it tells this class what they show and loads what it is told to.
class Konveyr {
  public:
    static constexpr int kSlots = 20;

    void setBound(int slot, bool bound) { bound_[slot - 1] = bound; }
    void setActive(int slot, bool active) { active_[slot - 1] = active; }
    bool bound(int slot) const { return bound_[slot - 1]; }
    bool active(int slot) const { return active_[slot - 1]; }

    int position() const { return position_; }
    void setPosition(int p) { position_ = p; }

    struct JobResult {
        int loadedSlot = 0;      // 1..20: the slot whose show was asked for; 0: none
        bool showLabel = false;  // LabelKonveyr gets the slot number and short name
        int labelSlot = 0;
    };

    // One step of the automatic conveyor (KonveyrJob): a single pass over
    // the slots from the position, skipping inactive and free ones, asks
    // load(slot) for the first active bound slot; then the position moves
    // on (past 20 it starts again at 1). A load that fails moves on the same
    // way, so the next step tries the next slot.
    JobResult KonveyrJob(const std::function<void(int slot)>& load);

  private:
    std::array<bool, kSlots> bound_{};
    std::array<bool, kSlots> active_{};
    int position_ = 1;
};

}  // namespace lumetra
