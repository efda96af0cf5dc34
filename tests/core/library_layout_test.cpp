#include "core/library_layout.h"

#include <gtest/gtest.h>

#include <set>

#include "core/gbk.h"

namespace lumora {
namespace {

ByteText P(const char* utf8) {
    return gbk(utf8);
}

TEST(LibraryLayout, NamesEveryFileOfANovel) {
    const LibraryLayout layout(P("/run"));
    const ByteText cat = P("玄幻小说");
    const ByteText title = P("斗破苍穹");
    struct Case {
        ByteText actual;
        const char* expected;
    };
    const Case cases[] = {
        {layout.cacheDir(), "/run/缓存"},
        {layout.listingPage(cat, 2), "/run/缓存/玄幻小说/2.html"},
        {layout.singleListingPage(cat, 2), "/run/缓存/玄幻小说2.html"},
        {layout.cachedTextPage(title), "/run/缓存/斗破苍穹下载页.html"},
        {layout.archive(CategoryKind::finished, cat, title),
         "/run/小说/完本/玄幻小说/斗破苍穹.rar"},
        {layout.archive(CategoryKind::ongoing, cat, title),
         "/run/小说/连载中/玄幻小说/斗破苍穹.rar"},
        {layout.cover(title), "/run/小说/jpg/斗破苍穹.jpg"},
        {layout.synopsisFile(CategoryKind::finished, cat, title),
         "/run/小说/ini/完本/玄幻小说/斗破苍穹简介.ini"},
        {layout.novelRecord(CategoryKind::ongoing, cat, title),
         "/run/小说/ini/连载中/玄幻小说/斗破苍穹.ini"},
        {layout.libraryIndex(), "/run/小说/ini/小说.ini"},
        {layout.updaterProgram(), "/run/Lumora-更新"},
        {layout.batchProgram(), "/run/Lumora"},
        {layout.singleBookProgram(), "/run/Lumora-单本版"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, P(c.expected)) << c.expected;
}

TEST(LibraryLayout, RefusesTitlesThatLeaveTheirDirectory) {
    const char* unsafe[] = {"a/b",     "..\\..\\x", "../x", "..",      ".",   "a:b",
                            "a?",      "x*",        "<t>",  "a|b",     "q\"", "CON",
                            "nul.txt", "com1",      "LPT9", "tab\tin", ""};
    for (const char* title : unsafe) {
        EXPECT_FALSE(isSafeFileName(P(title))) << title;
        EXPECT_EQ(LibraryLayout(P("/run")).cover(P(title)), ByteText()) << title;
    }
    const char* safe[] = {"乗", "表", "a.b", "...", "COM0", "CONSOLE", "辛亥1911"};
    for (const char* title : safe)
        EXPECT_TRUE(isSafeFileName(P(title))) << title;
    EXPECT_FALSE(isSafeFileName(ByteText("\xFF\xFF")));  // not GBK
}

TEST(LibraryLayout, SetUpCreatesTheTreeInOrder) {
    const SiteProfile profile;
    const std::vector<ByteText> dirs = LibraryLayout(P("/r")).setupDirectories(profile);
    ASSERT_GE(dirs.size(), 8u + 16 * 6);
    EXPECT_EQ(dirs[0], P("/r/缓存"));
    EXPECT_EQ(dirs[4], P("/r/小说/连载中"));
    EXPECT_EQ(dirs[7], P("/r/小说/ini/连载中"));
    EXPECT_EQ(dirs[8], P("/r/小说/连载中/玄幻奇幻"));
    EXPECT_EQ(dirs[9], P("/r/小说/完本/玄幻小说"));
    EXPECT_EQ(dirs[13], P("/r/缓存/玄幻奇幻"));
    EXPECT_EQ(dirs.size(), 8u + 16 * 6);
    std::set<std::string> cache;
    for (const auto& d : dirs) {
        if (textFind(d, P("/r/缓存/")) == 1)
            cache.insert(d.str());
    }
    EXPECT_EQ(cache.size(), 21u + 1);  // 21 categories, plus the cache dir with a separator
}

TEST(LibraryLayout, SynopsisReadsUpToZeroOrEndOfFileByte) {
    struct Case {
        std::string data;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {std::string("ab\0cd", 5), "ab"},
        {"ab\x1A"
         "cd",
         "ab"},
        {"\x81\x1A"
         "x\x1A"
         "y",
         "\x81\x1A"
         "x"},  // 0x1A as a trail byte stays
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(synopsisFromFile(c.data).str(), c.expected);
}

}  // namespace
}  // namespace lumora
