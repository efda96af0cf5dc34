#pragma once

// The bytes of a novel's archive: the RAR signature, then content that depends only on the
// catalogue's seed and the novel, at the size the catalogue gives.

#include <cstdint>

#include "core/byte_text.h"
#include "tools/demo-site/catalogue.h"

namespace lumora::demo {

inline constexpr char kRarSignature[] = "Rar!\x1A\x07\x00";  // 7 bytes, the last one zero
inline constexpr int kRarSignatureLength = 7;

ByteData archiveBytes(const NovelEntry& novel, std::uint64_t seed);

}  // namespace lumora::demo
