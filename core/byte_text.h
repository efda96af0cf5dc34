#pragma once

// GBK byte text and the number semantics that every cut, path and counter relies on.
// Positions are 1-based byte offsets, -1 means "not found"; nothing here ever fails.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace lumora {

// Byte data of any values: file contents, HTTP bodies, pictures.
using ByteData = std::string;

// An immutable GBK byte string that never holds a zero byte. The empty text and a missing
// value are the same value.
class ByteText {
public:
    ByteText() = default;
    // Takes the bytes up to, not including, the first zero byte.
    explicit ByteText(std::string_view bytes);
    explicit ByteText(const char* bytes) : ByteText(std::string_view(bytes ? bytes : "")) {}

    std::string_view bytes() const { return bytes_; }
    const std::string& str() const { return bytes_; }
    bool empty() const { return bytes_.empty(); }

    friend bool operator==(const ByteText&, const ByteText&) = default;
    friend ByteText operator+(const ByteText& a, const ByteText& b);
    ByteText& operator+=(const ByteText& other);

private:
    std::string bytes_;
};

// The raw bytes, for diagnostics.
std::ostream& operator<<(std::ostream& out, const ByteText& t);

int textLength(const ByteText& t);
ByteText textLeft(const ByteText& t, int n);
ByteText textRight(const ByteText& t, int n);

// Searches step over double-byte characters (a lead byte >= 0x80 and its trail byte), so a
// match never begins on a trail byte. ignoreCase folds ASCII letters only.
int textFind(const ByteText& t, const ByteText& p, int start = 1, bool ignoreCase = false);
int textFindLast(const ByteText& t, const ByteText& p, bool ignoreCase = false);

// The leading decimal number of t (full-width digits read as ASCII); 0 when there is none.
double toNumber(const ByteText& t);
ByteText toText(int x);
// "%.13g", with negative zero printed as "0".
ByteText toText(double x);
// Rounds half away from zero at the given decimal place.
double roundNumber(double x, int digits = 0);
// Truncates toward zero to 64 bits and keeps the low 32 bits.
int toInt(double x);

// The text of byte data: the bytes up to the first zero byte.
inline ByteText textOf(std::string_view data) {
    return ByteText(data);
}
inline ByteData toBytes(const ByteText& t) {
    return t.str();
}

// Comparisons in which a double takes part allow a tolerance of 1e-7.
bool numbersEqual(double a, double b);
bool numberGreater(double a, double b);
bool numberAtLeast(double a, double b);

// The program's pseudo-random generator: a linear congruential generator whose state is 1 at
// start and is never seeded, so every start draws the same sequence.
class RandomNumbers {
public:
    int next(int low = 0, int high = 2147483647);

private:
    std::uint32_t state_ = 1;
};

}  // namespace lumora
