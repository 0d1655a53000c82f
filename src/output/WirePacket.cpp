#include "output/WirePacket.h"

namespace lumetra {

namespace {
template <typename Get>
std::size_t encodeWith(Get get, std::uint8_t* out) {
    std::size_t n = 0;
    out[n++] = wire::kEscape;
    out[n++] = wire::kStart;
    for (int slot = 0; slot < kDmxSlots; ++slot) {
        const std::uint8_t v = get(slot);
        out[n++] = v;
        if (v == wire::kEscape) out[n++] = wire::kEscFF;
    }
    out[n++] = wire::kEscape;
    out[n++] = wire::kEnd;
    out[n++] = wire::kEscape;
    return n;
}
}  // namespace

std::size_t encodePacket(const std::uint8_t* line, std::uint8_t* out) {
    return encodeWith([line](int slot) { return line[slot]; }, out);
}

std::size_t encodePacket(const AtomicTable<kDmxSlots>& line, std::uint8_t* out) {
    return encodeWith([&line](int slot) { return line.get(slot); }, out);
}

void PacketDecoder::drop() {
    ++dropped_;
    count_ = 0;
    overflow_ = false;
}

void PacketDecoder::feed(const std::uint8_t* data, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t b = data[k];
        switch (state_) {
            case State::Idle:
                if (b == wire::kEscape) state_ = State::IdleEscape;
                break;
            case State::IdleEscape:
                if (b == wire::kStart) {
                    state_ = State::Data;
                    count_ = 0;
                    overflow_ = false;
                } else if (b != wire::kEscape) {
                    state_ = State::Idle;
                }
                break;
            case State::Data:
                if (b == wire::kEscape) {
                    state_ = State::DataEscape;
                } else if (count_ < current_.size()) {
                    current_[count_++] = b;
                } else {
                    overflow_ = true;
                }
                break;
            case State::DataEscape:
                if (b == wire::kEscFF) {
                    if (count_ < current_.size()) {
                        current_[count_++] = wire::kEscape;
                    } else {
                        overflow_ = true;
                    }
                    state_ = State::Data;
                } else if (b == wire::kEnd) {
                    state_ = State::Trailer;
                } else if (b == wire::kStart) {
                    drop();  // cut short: a new packet starts here
                    state_ = State::Data;
                } else {
                    drop();
                    state_ = State::Idle;
                }
                break;
            case State::Trailer:
                if (b == wire::kEscape && !overflow_ && count_ == current_.size()) {
                    frames_.push_back(current_);
                    ++decoded_;
                    count_ = 0;
                    state_ = State::Idle;
                } else {
                    drop();
                    state_ = b == wire::kEscape ? State::IdleEscape : State::Idle;
                }
                break;
        }
    }
}

bool PacketDecoder::next(DmxFrame& out) {
    if (frames_.empty()) return false;
    out = frames_.front();
    frames_.pop_front();
    return true;
}

}  // namespace lumetra
