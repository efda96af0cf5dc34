#pragma once

// A small generator whose sequence depends on the seed alone (SplitMix64), so a catalogue made
// from one seed is the same with every compiler and standard library.

#include <cstddef>
#include <cstdint>

namespace lumora::demo {

class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number in [0, count).
    int below(int count) { return static_cast<int>(next() % static_cast<std::uint64_t>(count)); }
    // A number in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }
    // True with the given chance in percent.
    bool chance(int percent) { return below(100) < percent; }

    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }

private:
    std::uint64_t state_;
};

}  // namespace lumora::demo
