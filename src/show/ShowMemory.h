#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "show/ByteTable.h"

namespace lumetra {

// Layout of the show image. Every offset is part of the show-file format.
namespace layout {
constexpr int kShowSize = 81920;
constexpr int kSystemBlock = 0;
constexpr int kSignatureSize = 128;
constexpr int kRateTable = 256;
constexpr int kChannelNameTable = 512;
constexpr int kNameSize = 16;
constexpr int kStaticPictures = 4608;
constexpr int kPictureSize = 512;
constexpr int kPictureCount = 16;
constexpr int kPictureLevels = 256;  // offset of the levels inside a picture
constexpr int kSelectionFlags = 12800;
constexpr int kFreeArea = 13056;
constexpr int kSceneArea = 16384;
constexpr int kSceneSize = 256;
constexpr int kSceneCount = 256;
constexpr int kChannels = 255;  // channels 1..255 of a scene

constexpr int sceneOffset(int scene) { return kSceneArea + kSceneSize * scene; }
constexpr int levelOffset(int scene, int channel) { return sceneOffset(scene) + channel; }
constexpr int rateOffset(int channel) { return kRateTable + channel; }
constexpr int nameOffset(int channel) { return kChannelNameTable + kNameSize * channel; }
constexpr int selectionOffset(int channel) { return kSelectionFlags + channel; }
constexpr int pictureOffset(int picture) { return kStaticPictures + kPictureSize * picture; }
}  // namespace layout

// Cells of the system block (show-wide settings, one byte each).
namespace cell {
constexpr int kCurrentScene = 131;
constexpr int kLastScene = 132;
constexpr int kTempo = 133;
constexpr int kGroupRate = 136;
constexpr int kColorOn = 138;
constexpr int kColorRed = 139;
constexpr int kColorGreen = 140;
constexpr int kColorBlue = 141;
constexpr int kAvtomat1Speed = 145;
constexpr int kAvtomat1Channel = 146;
constexpr int kAvtomat1Program = 147;
constexpr int kAvtomat1Bright = 148;
constexpr int kAvtomat1Dark = 149;
constexpr int kAvtomat2Speed = 150;
constexpr int kAvtomat2Channel = 151;
constexpr int kAvtomat2Program = 152;
constexpr int kAvtomat2Bright = 153;
constexpr int kAvtomat2Dark = 154;
}  // namespace cell

// The 128-byte signature every saved show starts with: 99 characters of
// text, then zero bytes.
const std::array<std::uint8_t, layout::kSignatureSize>& showSignature();

// Clamps a computed level into 0..255.
constexpr std::uint8_t clampLevel(int v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// The whole show: 81,920 bytes, shared with the real-time tick.
class ShowMemory {
public:
    using Image = std::array<std::uint8_t, layout::kShowSize>;

    std::uint8_t get(int offset) const { return bytes_.get(offset); }
    void set(int offset, std::uint8_t v) { bytes_.set(offset, v); }
    std::uint8_t cell(int index) const { return get(index); }
    void setCell(int index, std::uint8_t v) { set(index, v); }

    std::uint8_t level(int scene, int channel) const {
        return get(layout::levelOffset(scene, channel));
    }
    void setLevel(int scene, int channel, std::uint8_t v) {
        set(layout::levelOffset(scene, channel), v);
    }
    int currentScene() const { return cell(cell::kCurrentScene); }
    int lastScene() const { return cell(cell::kLastScene); }

    void fill(std::uint8_t v, int from, int to) { bytes_.fill(v, from, to); }
    void copyOut(std::uint8_t* dst, int from, int count) const { bytes_.copyOut(dst, from, count); }
    void copyIn(const std::uint8_t* src, int from, int count) { bytes_.copyIn(src, from, count); }
    void copyRecord(int fromScene, int toScene);

    void snapshot(Image& out) const { bytes_.copyOut(out.data()); }
    void restore(const Image& in) { bytes_.copyIn(in.data()); }

    // Scene addressing of the console. CurrentSceneBase is the offset of
    // the scene last chosen with RaschetAdr; only the current scene is ever
    // addressed through it.
    void RaschetAdr(std::uint8_t scene) {
        currentSceneBase_.store(layout::sceneOffset(scene), std::memory_order_relaxed);
    }
    int CurrentSceneBase() const { return currentSceneBase_.load(std::memory_order_relaxed); }
    void DataWrite(std::uint8_t scene, std::uint8_t channel, int value) {
        setLevel(scene, channel, clampLevel(value));
    }
    std::uint8_t DataRead(std::uint8_t scene, std::uint8_t channel) const {
        return level(scene, channel);
    }
    // Writes a pan/tilt pair at channels firstSlider + 1 and + 2, where
    // firstSlider is the XY editor's first-channel position (0..253).
    void DataWriteXY(std::uint8_t scene, int firstSlider, int x, int y) {
        DataWrite(scene, static_cast<std::uint8_t>(firstSlider + 1), x);
        DataWrite(scene, static_cast<std::uint8_t>(firstSlider + 2), y);
    }

    // Writes the signature into bytes 0..127.
    void writeSignature();

private:
    AtomicTable<layout::kShowSize> bytes_;
    std::atomic<int> currentSceneBase_{layout::kSceneArea};
};

}  // namespace lumetra
