#include "core/gbk.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(Gbk, RoundTripsChineseText) {
    const ByteText text = gbk("玄幻小说");
    EXPECT_EQ(text.bytes(), "\xD0\xFE\xBB\xC3\xD0\xA1\xCB\xB5");
    EXPECT_EQ(gbkToUtf8(text.bytes()), "玄幻小说");
    // 乗 has the trail byte 0x5C, the byte of a backslash.
    EXPECT_EQ(gbk("乗").bytes(), "\x81\x5C");
    EXPECT_EQ(gbkToUtf8("\x81\x5C"), "乗");
}

TEST(Gbk, StrictRefusesBadSequencesAndLenientReplacesThem) {
    EXPECT_FALSE(gbkToUtf8("a\xFF").has_value());
    EXPECT_FALSE(gbkToUtf8("a\xB0").has_value());  // cut-off double-byte character
    EXPECT_EQ(gbkToUtf8Lenient("a\xFF"
                               "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(gbkToUtf8Lenient("a\xB0"), "a\xEF\xBF\xBD");
    EXPECT_EQ(gbkToUtf8Lenient("\xD0\xFE\xFF\xBB\xC3"),
              "玄\xEF\xBF\xBD"
              "幻");
    EXPECT_FALSE(utf8ToGbk("\xF0\x9F\x98\x80").has_value());  // an emoji has no GBK form
    EXPECT_EQ(gbk("\xF0\x9F\x98\x80"), ByteText());
}

TEST(Gbk, ConvertsLongTextBeyondOneBuffer) {
    std::string utf8;
    for (int i = 0; i < 5000; ++i)
        utf8 += "章节";
    const ByteText text = gbk(utf8);
    EXPECT_EQ(textLength(text), 20000);
    EXPECT_EQ(gbkToUtf8(text.bytes()), utf8);
}

}  // namespace
}  // namespace lumora
