#include "core/site_profile.h"

#include <gtest/gtest.h>

#include "core/gbk.h"

namespace lumora {
namespace {

TEST(SiteProfile, MarkersHaveTheirExactLengths) {
    const SiteProfile profile(siteHostsAt("books.example:8080"));
    const int coverBase = textLength(profile.coverBase());
    ASSERT_EQ(profile.coverBase(), ByteText("http://books.example:8080/dianzishu/UploadPic/"));
    struct Case {
        const char* name;
        int bytes;
    };
    const Case cases[] = {
        {"列表头", 88},  {"列表尾", 99},  {"列表尾1", 51},
        {"小说头", 54},  {"小说尾", 84},  {"序号尾", 16 + coverBase},
        {"标题头", 25},  {"标题尾", 32},  {"作者头", 37},
        {"作者尾", 64},  {"简介头", 47},  {"图片头", 17 + coverBase},
        {"图片尾", 172}, {"总页数头", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textLength(profile.marker(gbk(c.name))), c.bytes) << c.name;
    const Markers& m = profile.markers();
    EXPECT_EQ(m.serialTail, textLeft(m.pictureHead, textLength(m.pictureHead) - 1));
    EXPECT_EQ(textRight(m.novelTail, 6), ByteText("</dl>\r"));
    EXPECT_EQ(profile.marker(gbk("未知")), ByteText());
}

TEST(SiteProfile, NovelTailEndsInALoneCr) {
    const SiteProfile profile;
    const ByteText tail = profile.markers().novelTail;
    const ByteText body = textLeft(tail, textLength(tail) - 1);
    EXPECT_GT(textFind(ByteText("x") + body + ByteText("\r\n"), tail), 0);
    EXPECT_EQ(textFind(ByteText("x") + body + ByteText("\n"), tail), -1);
}

TEST(SiteProfile, CategoryTablesAndUrls) {
    const SiteProfile profile(siteHostsAt("h:1"));
    EXPECT_EQ(profile.categories(CategoryKind::finished).size(), 16u);
    EXPECT_EQ(profile.categories(CategoryKind::ongoing).size(), 8u);
    const Category first = profile.category(CategoryKind::finished, 0);
    EXPECT_EQ(first.name, gbk("玄幻小说"));
    EXPECT_EQ(SiteProfile::listingUrl(first.listingPrefix, 1),
              ByteText("http://h:1/wanben/xh/tuijian1.html"));
    EXPECT_EQ(SiteProfile::listingUrl(profile.category(CategoryKind::ongoing, 7).listingPrefix, 12),
              ByteText("http://h:1/tongren/list40-12.html"));
    EXPECT_EQ(SiteProfile::listingUrl(profile.category(CategoryKind::ongoing, 0).listingPrefix, 3),
              ByteText("http://h:1/xuanhuan/list1-3.html"));
    EXPECT_EQ(profile.category(CategoryKind::finished, 12).listingPrefix,
              ByteText("http://h:1/wanben/dm/tuijian"));
    EXPECT_EQ(profile.category(CategoryKind::finished, 15).name, gbk("校园小说"));
    for (int outside : {8, -1, 100}) {
        const Category none = profile.category(CategoryKind::ongoing, outside);
        EXPECT_TRUE(none.name.empty() && none.listingPrefix.empty()) << outside;
    }
    EXPECT_EQ(profile.textPageUrl(ByteText("12345")), ByteText("http://h:1/txt/12345txt.html#"));
    EXPECT_EQ(profile.archiveUrl(ByteText("12345")), ByteText("http://h:1/down/2011/12345.rar"));
    EXPECT_EQ(profile.coverUrl(ByteText("a/b.jpg")),
              ByteText("http://h:1/dianzishu/UploadPic/a/b.jpg"));
    EXPECT_EQ(profile.updateBase(), ByteText("http://h:1"));
    EXPECT_EQ(kindWord(CategoryKind::ongoing), gbk("连载中"));
}

}  // namespace
}  // namespace lumora
