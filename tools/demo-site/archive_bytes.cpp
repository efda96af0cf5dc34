#include "tools/demo-site/archive_bytes.h"

#include <algorithm>
#include <cstring>

#include "tools/demo-site/seeded_random.h"

namespace lumora::demo {

ByteData archiveBytes(const NovelEntry& novel, std::uint64_t seed) {
    const auto size = static_cast<size_t>(std::max(novel.archiveSize, kRarSignatureLength));
    ByteData bytes(size, '\0');
    std::memcpy(bytes.data(), kRarSignature, kRarSignatureLength);
    // Compressed data looks random; eight bytes per step keeps large archives cheap.
    SeededRandom random(seed * 0x100000001B3ull + static_cast<std::uint64_t>(novel.ordinal));
    for (size_t at = kRarSignatureLength; at < size; at += 8) {
        const std::uint64_t word = random.next();
        std::memcpy(bytes.data() + at, &word, std::min<size_t>(8, size - at));
    }
    return bytes;
}

}  // namespace lumora::demo
