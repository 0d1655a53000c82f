// The wire packet and its decoder.
#include <gtest/gtest.h>

#include <vector>

#include "output/WirePacket.h"

namespace lumetra {
namespace {

std::vector<std::uint8_t> encode(const DmxFrame& line) {
    std::vector<std::uint8_t> out(wire::kMaxPacket + 16, 0xAA);
    const std::size_t n = encodePacket(line.data(), out.data());
    EXPECT_EQ(out[n], 0xAA) << "wrote past the packet";
    out.resize(n);
    return out;
}

std::vector<std::uint8_t> expectedPacket(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

TEST(WirePacket, AllZeroLineGivesThe518BytePacket) {
    DmxFrame line{};
    const auto p = encode(line);
    ASSERT_EQ(p.size(), 518u);
    EXPECT_EQ(
        p, expectedPacket({{0xFF, 0xF0}, std::vector<std::uint8_t>(513, 0), {0xFF, 0xF1, 0xFF}}));
}

TEST(WirePacket, Slot7At255IsEscapedAsFFF7) {
    DmxFrame line{};
    line[7] = 255;
    const auto p = encode(line);
    ASSERT_EQ(p.size(), 519u);
    EXPECT_EQ(p, expectedPacket({{0xFF, 0xF0},
                                 std::vector<std::uint8_t>(7, 0),
                                 {0xFF, 0xF7},
                                 std::vector<std::uint8_t>(505, 0),
                                 {0xFF, 0xF1, 0xFF}}));
}

TEST(WirePacket, F0F1AndF7AreSentUnescaped) {
    DmxFrame line{};
    line[1] = 0xF0;
    line[2] = 0xF1;
    line[3] = 0xF7;
    const auto p = encode(line);
    ASSERT_EQ(p.size(), 518u);
    EXPECT_EQ(p[3], 0xF0);
    EXPECT_EQ(p[4], 0xF1);
    EXPECT_EQ(p[5], 0xF7);
}

TEST(WirePacket, AllSlotsAt255GiveTheLongest1031BytePacket) {
    DmxFrame line;
    line.fill(255);
    const auto p = encode(line);
    ASSERT_EQ(p.size(), wire::kMaxPacket);
    EXPECT_EQ(p.size(), 1031u);
    for (std::size_t i = 2; i < p.size() - 3; i += 2) {
        ASSERT_EQ(p[i], 0xFF);
        ASSERT_EQ(p[i + 1], 0xF7);
    }
}

TEST(WirePacket, AtomicLineEncodesTheSameAsBytes) {
    AtomicTable<kDmxSlots> atomicLine;
    DmxFrame line{};
    for (int i = 0; i < kDmxSlots; ++i) {
        line[i] = static_cast<std::uint8_t>(i * 31);
        atomicLine.set(i, line[i]);
    }
    std::vector<std::uint8_t> out(wire::kMaxPacket);
    out.resize(encodePacket(atomicLine, out.data()));
    EXPECT_EQ(out, encode(line));
}

DmxFrame patterned(int seed) {
    DmxFrame f{};
    for (int i = 0; i < kDmxSlots; ++i)
        f[i] = static_cast<std::uint8_t>((i * 37 + seed * 11) & 0xFF);
    f[10] = 0xFF;
    f[11] = 0xF0;
    f[12] = 0xF1;
    f[13] = 0xF7;
    return f;
}

TEST(PacketDecoder, RoundTripsPacketsFedByteByByte) {
    std::vector<std::uint8_t> stream;
    for (int k = 0; k < 3; ++k) {
        const auto p = encode(patterned(k));
        stream.insert(stream.end(), p.begin(), p.end());
    }
    PacketDecoder dec;
    for (std::uint8_t b : stream) dec.feed(&b, 1);
    DmxFrame f;
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(dec.next(f));
        EXPECT_EQ(f, patterned(k));
    }
    EXPECT_FALSE(dec.next(f));
    EXPECT_EQ(dec.framesDecoded(), 3u);
    EXPECT_EQ(dec.packetsDropped(), 0u);
}

TEST(PacketDecoder, SkipsBytesBeforeTheFirstStart) {
    std::vector<std::uint8_t> stream = {0x00, 0xFF, 0xF1, 0xFF, 0x12, 0xFF};
    const auto p = encode(patterned(1));
    stream.insert(stream.end(), p.begin(), p.end());
    PacketDecoder dec;
    dec.feed(stream.data(), stream.size());
    DmxFrame f;
    ASSERT_TRUE(dec.next(f));
    EXPECT_EQ(f, patterned(1));
}

TEST(PacketDecoder, ResynchronisesOnStartAfterAPacketCutShort) {
    const auto a = encode(patterned(1));
    const auto b = encode(patterned(2));
    std::vector<std::uint8_t> stream(a.begin(), a.begin() + 300);  // cut short
    stream.insert(stream.end(), b.begin(), b.end());
    PacketDecoder dec;
    dec.feed(stream.data(), stream.size());
    DmxFrame f;
    ASSERT_TRUE(dec.next(f));
    EXPECT_EQ(f, patterned(2));
    EXPECT_FALSE(dec.next(f));
    EXPECT_EQ(dec.packetsDropped(), 1u);
}

TEST(PacketDecoder, DropsMalformedPackets) {
    const auto good = encode(patterned(3));
    std::vector<std::uint8_t> stream;
    // A bad escape (FF 00).
    auto bad = good;
    bad[20] = 0xFF;
    bad[21] = 0x00;
    stream.insert(stream.end(), bad.begin(), bad.end());
    // Too few slots.
    std::vector<std::uint8_t> shortOne = {0xFF, 0xF0, 1, 2, 3, 0xFF, 0xF1, 0xFF};
    stream.insert(stream.end(), shortOne.begin(), shortOne.end());
    // Too many slots.
    std::vector<std::uint8_t> longOne = {0xFF, 0xF0};
    longOne.insert(longOne.end(), 600, 7);
    longOne.insert(longOne.end(), {0xFF, 0xF1, 0xFF});
    stream.insert(stream.end(), longOne.begin(), longOne.end());
    // No trailer byte.
    auto noTrailer = good;
    noTrailer.back() = 0x00;
    stream.insert(stream.end(), noTrailer.begin(), noTrailer.end());
    stream.insert(stream.end(), good.begin(), good.end());

    PacketDecoder dec;
    dec.feed(stream.data(), stream.size());
    DmxFrame f;
    ASSERT_TRUE(dec.next(f));
    EXPECT_EQ(f, patterned(3));
    EXPECT_FALSE(dec.next(f));
    EXPECT_EQ(dec.framesDecoded(), 1u);
    EXPECT_EQ(dec.packetsDropped(), 4u);
}

}  // namespace
}  // namespace lumetra
