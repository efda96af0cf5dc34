#include "core/byte_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>

namespace lumora {

ByteText::ByteText(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

ByteText operator+(const ByteText& a, const ByteText& b) {
    ByteText joined = a;
    joined += b;
    return joined;
}

ByteText& ByteText::operator+=(const ByteText& other) {
    bytes_ += other.bytes_;
    return *this;
}

std::ostream& operator<<(std::ostream& out, const ByteText& t) {
    return out << t.str();
}

int textLength(const ByteText& t) {
    return static_cast<int>(t.bytes().size());
}

ByteText textLeft(const ByteText& t, int n) {
    if (n <= 0)
        return {};
    return ByteText(t.bytes().substr(0, static_cast<size_t>(n)));
}

ByteText textRight(const ByteText& t, int n) {
    if (n <= 0)
        return {};
    const std::string_view b = t.bytes();
    if (static_cast<size_t>(n) >= b.size())
        return t;
    return ByteText(b.substr(b.size() - static_cast<size_t>(n)));
}

namespace {

bool isLeadByte(unsigned char c) {
    return c >= 0x80;
}

unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

bool matchesAt(std::string_view t, size_t k, std::string_view p, bool ignoreCase) {
    if (!ignoreCase)
        return t.compare(k, p.size(), p) == 0;
    for (size_t i = 0; i < p.size(); ++i) {
        if (foldAscii(static_cast<unsigned char>(t[k + i])) !=
            foldAscii(static_cast<unsigned char>(p[i])))
            return false;
    }
    return true;
}

// Walks the candidates of a search from offset `from` (a boundary by definition), stepping over
// double-byte characters, and calls onMatch for each match; stops when onMatch returns true.
template <typename OnMatch>
void scanCandidates(std::string_view t, size_t from, std::string_view p, bool ignoreCase,
                    OnMatch onMatch) {
    size_t k = from;
    while (t.size() - k >= p.size()) {
        if (matchesAt(t, k, p, ignoreCase) && onMatch(k))
            return;
        if (isLeadByte(static_cast<unsigned char>(t[k]))) {
            if (k + 1 >= t.size())
                return;  // a lead byte at the very end ends the scan
            k += 2;
        } else {
            k += 1;
        }
    }
}

}  // namespace

int textFind(const ByteText& text, const ByteText& pattern, int start, bool ignoreCase) {
    const std::string_view t = text.bytes();
    const std::string_view p = pattern.bytes();
    const size_t skip = start > 1 ? static_cast<size_t>(start - 1) : 0;
    const bool regionEmpty = skip >= t.size();
    if (p.empty())
        return regionEmpty ? -1 : 1;
    if (regionEmpty)
        return -1;
    int found = -1;
    scanCandidates(t, skip, p, ignoreCase, [&](size_t k) {
        found = static_cast<int>(k) + 1;
        return true;
    });
    return found;
}

int textFindLast(const ByteText& text, const ByteText& pattern, bool ignoreCase) {
    const std::string_view t = text.bytes();
    const std::string_view p = pattern.bytes();
    if (p.empty())
        return t.empty() ? -1 : 1;
    int found = -1;
    scanCandidates(t, 0, p, ignoreCase, [&](size_t k) {
        found = static_cast<int>(k) + 1;
        return false;
    });
    return found;
}

double toNumber(const ByteText& t) {
    // Full-width forms (lead 0xA3, trail 0xA1..0xFE) become ASCII; the ideographic space a space.
    std::string s;
    const std::string_view b = t.bytes();
    s.reserve(b.size());
    for (size_t i = 0; i < b.size(); ++i) {
        const auto c = static_cast<unsigned char>(b[i]);
        if (c >= 0x80 && i + 1 < b.size()) {
            const auto trail = static_cast<unsigned char>(b[i + 1]);
            if (c == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
                s += static_cast<char>(trail - 0x80);
            } else if (c == 0xA1 && trail == 0xA1) {
                s += ' ';
            } else {
                s += b[i];
                s += b[i + 1];
            }
            ++i;
        } else {
            s += b[i];
        }
    }

    size_t i = 0;
    auto isDigit = [&](size_t at) { return at < s.size() && s[at] >= '0' && s[at] <= '9'; };
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;

    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            number += '-';
        ++i;
    }
    bool anyDigit = false;
    while (isDigit(i))
        number += s[i++], anyDigit = true;
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (isDigit(i))
            number += s[i++], anyDigit = true;
    }
    if (!anyDigit)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exponent += s[j++];
        if (isDigit(j)) {
            while (isDigit(j))
                exponent += s[j++];
            number += exponent;
        }
    }
    if (number.back() == '.')
        number.pop_back();

    // from_chars is locale-independent, unlike strtod under a Qt program's locale.
    const bool negative = number[0] == '-';
    double value = 0;
    const auto result =
        std::from_chars(number.data() + (negative ? 1 : 0), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = (number.find("e-") != std::string::npos) ? 0.0
                                                         : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

ByteText toText(int x) {
    return ByteText(std::to_string(x));
}

ByteText toText(double x) {
    if (x == 0)
        return ByteText("0");
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 13);
    return ByteText(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

namespace {

double roundUnits(double a) {
    const double sum = a + 1e-12;
    const double whole = std::floor(sum);
    return (sum - whole >= 0.5) ? whole + 1 : whole;
}

}  // namespace

double roundNumber(double x, int digits) {
    if (x == 0)
        return x;
    const double a = std::fabs(x);
    double rounded;
    if (digits == 0) {
        rounded = roundUnits(a);
    } else if (digits > 0) {
        const double scale = std::pow(10.0, digits);
        rounded = roundUnits(a * scale) / scale;
    } else {
        const double scale = std::pow(10.0, -digits);
        rounded = roundUnits(a / scale) * scale;
    }
    return std::copysign(rounded, x);
}

int toInt(double x) {
    if (std::isnan(x))
        return 0;
    const double truncated = std::trunc(x);
    std::int64_t wide;
    if (truncated >= 9223372036854775807.0) {
        wide = std::numeric_limits<std::int64_t>::max();
    } else if (truncated <= -9223372036854775808.0) {
        wide = std::numeric_limits<std::int64_t>::min();
    } else {
        wide = static_cast<std::int64_t>(truncated);
    }
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

bool numbersEqual(double a, double b) {
    return std::fabs(a - b) <= 1e-7;
}
bool numberGreater(double a, double b) {
    return a - b > 1e-7;
}
bool numberAtLeast(double a, double b) {
    return a - b >= -1e-7;
}

int RandomNumbers::next(int low, int high) {
    std::int64_t lo = low < 0 ? 0 : low;
    std::int64_t hi = high < 0 ? 0 : high;
    if (lo > hi)
        std::swap(lo, hi);
    if (lo == hi)
        return static_cast<int>(lo);
    state_ = state_ * 214013u + 2531011u;
    const std::int64_t r = (state_ >> 16) & 0x7FFF;
    return static_cast<int>(lo + r % (hi - lo + 1));
}

}  // namespace lumora
