#include "core/Konveyr.h"

namespace lumetra {

Konveyr::JobResult Konveyr::KonveyrJob(const std::function<void(int slot)>& load) {
    JobResult result;
    int p = position_;
    for (int k = 1; k <= kSlots; ++k) {
        if (p != k) continue;
        if (active(k) && bound(k)) {
            load(k);
            result.loadedSlot = k;
        } else {
            ++p;  // the next slot is tested in this same pass
        }
    }
    if (p <= kSlots) {
        result.showLabel = true;
        result.labelSlot = p;
    }
    ++p;
    position_ = p > kSlots ? 1 : p;
    return result;
}

}  // namespace lumetra
