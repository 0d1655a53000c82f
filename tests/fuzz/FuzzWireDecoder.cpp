// The wire decoder on any byte stream: every frame it gives re-encodes to
// bytes that stand in the stream as they are, and decodes back to itself.
#include <algorithm>

#include "FuzzSupport.h"
#include "output/WirePacket.h"

using namespace lumetra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PacketDecoder decoder;
    // Fed in two pieces split at a point the input chooses, so packets cut
    // across reads are tried too.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    decoder.feed(data, cut);
    decoder.feed(data + cut, size - cut);
    FUZZ_CHECK(decoder.pending() == decoder.framesDecoded());
    FUZZ_CHECK(decoder.framesDecoded() * wire::kMinPacket <= size);

    DmxFrame frame;
    std::uint8_t packet[wire::kMaxPacket];
    const std::uint8_t* from = data;
    while (decoder.next(frame)) {
        const std::size_t n = encodePacket(frame.data(), packet);
        FUZZ_CHECK(n >= wire::kMinPacket && n <= wire::kMaxPacket);
        // Frames come out in stream order, so each is found after the last.
        const std::uint8_t* at = std::search(from, data + size, packet, packet + n);
        FUZZ_CHECK(at != data + size);
        from = at + n;

        PacketDecoder again;
        again.feed(packet, n);
        DmxFrame back;
        FUZZ_CHECK(again.next(back) && back == frame && again.packetsDropped() == 0);
    }
    return 0;
}
