#include "core/byte_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/gbk.h"

namespace lumora {
namespace {

ByteText T(const char* s) {
    return ByteText(s);
}

TEST(ByteText, StopsAtTheFirstZeroByte) {
    EXPECT_EQ(ByteText(std::string_view("ab\0cd", 5)).bytes(), "ab");
    EXPECT_EQ(textOf(std::string("\0xyz", 4)), ByteText());
    EXPECT_EQ(textOf(""), ByteText());
    EXPECT_EQ(toBytes(ByteText()), "");
    EXPECT_EQ(toBytes(T("a\x81\x5C")), "a\x81\x5C");
}

TEST(ByteText, ConcatenationAndEquality) {
    EXPECT_EQ(T("ab") + ByteText() + T("c"), T("abc"));
    EXPECT_EQ(ByteText() + ByteText(), ByteText(""));
    EXPECT_NE(T("abc"), T("abd"));
}

TEST(ByteText, LeftAndRightClampTheirCounts) {
    struct Case {
        int n;
        const char* left;
        const char* right;
    };
    const Case cases[] = {{0, "", ""},     {-2, "", ""},      {1, "a", "c"},
                          {2, "ab", "bc"}, {3, "abc", "abc"}, {10, "abc", "abc"}};
    for (const auto& c : cases) {
        EXPECT_EQ(textLeft(T("abc"), c.n), T(c.left)) << c.n;
        EXPECT_EQ(textRight(T("abc"), c.n), T(c.right)) << c.n;
    }
    // A double-byte character may be split.
    EXPECT_EQ(textLeft(T("\xB0\xA1"), 1).bytes(), "\xB0");
    EXPECT_EQ(textLength(ByteText()), 0);
}

TEST(ByteText, FindFollowsTheByteRules) {
    struct Case {
        const char* text;
        const char* pattern;
        int start;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"abc", "", 3, false, 1},  // empty pattern: 1 whatever the start
        {"abc", "", 4, false, -1},
        {"", "", 1, false, -1},
        {"abc", "c", 0, false, 3},  // a start below 1 counts as 1
        {"abc", "c", -5, false, 3},
        {"abc", "a", 2, false, -1},
        {"abc", "c", 4, false, -1},
        {"abc", "bc", 2, false, 2},
        {"abc", "abcd", 1, false, -1},
        {"\x81\x41\x41", "A", 1, false, 3},  // never matches from a trail byte
        {"\x41\xB0", "A", 1, false, 1},
        {"\x41\xB0", "B", 1, false, -1},    // a lead byte at the end ends the search
        {"\x41\xB0", "\xB0", 1, false, 2},  // but is still compared before that
        {"\xB0\xA1x", "x", 2, false, -1},   // the region's first byte is a boundary, here a lead
        {"\xB0\x41x", "A", 2, false, 2},
        {"aBc</B><b>", "</b><B>", 1, true, 4},
        {"aBc</B><b>", "</b><B>", 1, false, -1},
        {"\xC1\xE2", "\xC1\xC2", 1, true, -1},  // folding touches ASCII letters only
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textFind(T(c.text), T(c.pattern), c.start, c.ignoreCase), c.expected)
            << "'" << c.text << "' '" << c.pattern << "' from " << c.start;
    }
    EXPECT_EQ(textFind(T("abc"), T("c")), 3);
}

TEST(ByteText, FindLastTakesTheLastBoundaryMatch) {
    struct Case {
        const char* text;
        const char* pattern;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"a/b/c", "/", false, 4},
        {"abc", "/", false, -1},
        {"\x81\x41\x41", "A", false, 3},
        {"abc", "", false, 1},
        {"", "", false, -1},
        {"xAx\xB0", "x", false, 3},  // a trailing lead byte keeps the matches before it
        {"a</B><B>b</b><b>", "</b><b>", true, 10},
        {"aaa", "aa", false, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textFindLast(T(c.text), T(c.pattern), c.ignoreCase), c.expected)
            << "'" << c.text << "' '" << c.pattern << "'";
    }
}

TEST(ByteText, ToNumberReadsTheLeadingNumber) {
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {" 7", 7},
        {"1.1.9", 1.1},
        {"-2.5x", -2.5},
        {"+3", 3},
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"1D2", 100},
        {"2E-1", 0.2},
        {"1e", 1},
        {"1e+", 1},
        {"-", 0},
        {"\t\r\n 42", 42},
        {"1190.00000005", 1190.00000005},
        {gbk("１２").str(), 12},          // full-width digits
        {gbk("　－３．５").str(), -3.5},  // ideographic space, full-width sign and point
        {gbk("默认为：25").str(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(toNumber(ByteText(c.text)), c.expected) << c.text;
    }
}

TEST(ByteText, ToTextPrintsThirteenSignificantDigits) {
    struct Case {
        double x;
        const char* expected;
    };
    const Case cases[] = {
        {12.0, "12"},
        {0.5, "0.5"},
        {1.0 / 3, "0.3333333333333"},
        {-0.0, "0"},
        {0.0, "0"},
        {-1.5, "-1.5"},
        {1234567890123.0, "1234567890123"},
        {2.0 / 3, "0.6666666666667"},
        {30.001, "30.001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toText(c.x), T(c.expected)) << c.x;
    EXPECT_EQ(toText(-1), T("-1"));
    EXPECT_EQ(toText(0), T("0"));
    EXPECT_EQ(toText(25), T("25"));
}

TEST(ByteText, RoundNumberRoundsHalfAwayFromZero) {
    struct Case {
        double x;
        int digits;
        double expected;
    };
    const Case cases[] = {
        {2.5, 0, 3},    {-2.5, 0, -3},    {1234.5, 0, 1235},
        {1.499, 0, 1},  {1.5, 0, 2},      {0.4999999999999, 0, 1},  // the 1e-12 nudge
        {1.25, 1, 1.3}, {1250, -2, 1300}, {-0.3, 0, -0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(roundNumber(c.x, c.digits), c.expected) << c.x << " " << c.digits;
    }
    const double negativeZero = roundNumber(-0.001);
    EXPECT_EQ(negativeZero, 0.0);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_EQ(toText(negativeZero), T("0"));
    EXPECT_TRUE(std::signbit(roundNumber(-0.0)));
}

TEST(ByteText, ComparisonsAllowTheTolerance) {
    EXPECT_TRUE(numbersEqual(1.00000005, 1));
    EXPECT_FALSE(numbersEqual(1.0000002, 1));
    EXPECT_TRUE(numberGreater(1.0000002, 1));
    EXPECT_FALSE(numberGreater(1.00000005, 1));
    EXPECT_TRUE(numberAtLeast(0.99999995, 1));
    EXPECT_FALSE(numberAtLeast(0.9999998, 1));
    EXPECT_TRUE(numberAtLeast(1190, 1190.00000005));
    EXPECT_FALSE(numberAtLeast(1190, 1191));
}

TEST(ByteText, ToIntTruncatesTowardZero) {
    struct Case {
        double x;
        int expected;
    };
    const Case cases[] = {
        {2.9, 2},          {-2.9, -2}, {-0.5, 0}, {0.5, 0}, {2147483648.0, -2147483648},
        {4294967297.0, 1}, {NAN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(toInt(c.x), c.expected) << c.x;
}

TEST(RandomNumbers, DrawsTheFixedSequence) {
    // state 1 -> 214013 + 2531011 = 2745024; bits 16..30 give 41.
    RandomNumbers first;
    EXPECT_EQ(first.next(), 41);
    EXPECT_EQ(first.next(), 18467);
    EXPECT_EQ(first.next(), 6334);
    RandomNumbers fresh;
    EXPECT_EQ(fresh.next(0, 9), 41 % 10);
    EXPECT_EQ(fresh.next(9, 0), 18467 % 10);  // bounds are ordered
    EXPECT_EQ(fresh.next(5, 5), 5);           // equal bounds draw nothing
    EXPECT_EQ(fresh.next(0, -1), 0);          // a negative bound counts as 0
    EXPECT_EQ(fresh.next(0, 2), 6334 % 3);
}

}  // namespace
}  // namespace lumora
