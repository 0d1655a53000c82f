#include "show/ShowMemory.h"

#include <cstring>
#include <string_view>

namespace lumetra {

namespace {
// 40 characters of format identification, then 59 characters of notice.
constexpr std::string_view kSignatureHead = "it is DMX512 File VoxLamp USB Ver 5.3.1 ";
constexpr std::string_view kSignatureNotice =
    "(c) 2009 Lumetra lighting consoles. Mail: info@lumetra.ru  ";
static_assert(kSignatureHead.size() == 40);
static_assert(kSignatureNotice.size() == 59);

std::array<std::uint8_t, layout::kSignatureSize> makeSignature() {
    std::array<std::uint8_t, layout::kSignatureSize> s{};
    std::memcpy(s.data(), kSignatureHead.data(), kSignatureHead.size());
    std::memcpy(s.data() + kSignatureHead.size(), kSignatureNotice.data(), kSignatureNotice.size());
    return s;
}
}  // namespace

const std::array<std::uint8_t, layout::kSignatureSize>& showSignature() {
    static const auto signature = makeSignature();
    return signature;
}

void ShowMemory::writeSignature() {
    copyIn(showSignature().data(), 0, layout::kSignatureSize);
}

void ShowMemory::copyRecord(int fromScene, int toScene) {
    const int from = layout::sceneOffset(fromScene);
    const int to = layout::sceneOffset(toScene);
    for (int i = 0; i < layout::kSceneSize; ++i) set(to + i, get(from + i));
}

}  // namespace lumetra
