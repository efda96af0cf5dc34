#pragma once

// Cover pictures: a 120 x 160 JPEG per novel that shows its title and author in Chinese, drawn
// with Qt on first request and kept.

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "core/byte_text.h"
#include "tools/demo-site/catalogue.h"

namespace lumora::demo {

inline constexpr int kCoverWidth = 120;
inline constexpr int kCoverHeight = 160;

class CoverRenderer {
public:
    // Text needs fonts, and fonts need a QGuiApplication: makes one on the offscreen platform
    // when the process has no application yet. Call on the main thread before serving.
    static void prepareFonts();

    // The novel's cover; safe to call from the server's threads at once.
    ByteData cover(const NovelEntry& novel, std::uint64_t seed);

private:
    std::mutex mutex_;
    std::unordered_map<int, ByteData> covers_;  // by ordinal
};

}  // namespace lumora::demo
