#include "harvest/listing_parser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/gbk.h"
#include "harvest/cut_steps.h"
#include "platform/files.h"
#include "tests/support/listing_page_fixture.h"
#include "tests/support/temporary_directory.h"

namespace lumora {
namespace {

ByteText T(const char* s) {
    return ByteText(s);
}

TEST(CutSteps, GiveTheDocumentedBytesWithAndWithoutTheMarker) {
    struct Case {
        const char* marker;
        const char* before;
        const char* after;
        const char* beyond;
        const char* toMarker;
    };
    const Case cases[] = {
        {"XYZ", "ab", "cd", "d", "abX"},
        {"QQQ", "", "bXYZcd", "XYZcd", ""},  // absent: the position -1 arithmetic
        {"ab", "", "XYZcd", "YZcd", "a"},
        {"cd", "abXYZ", "", "", "abXYZc"},
    };
    const ByteText t = T("abXYZcd");
    for (const auto& c : cases) {
        EXPECT_EQ(textBefore(t, T(c.marker)), T(c.before)) << c.marker;
        EXPECT_EQ(textAfter(t, T(c.marker)), T(c.after)) << c.marker;
        EXPECT_EQ(textBeyond(t, T(c.marker)), T(c.beyond)) << c.marker;
        EXPECT_EQ(textToMarker(t, T(c.marker)), T(c.toMarker)) << c.marker;
    }
    EXPECT_EQ(textAfterLast(T("a/b/12345"), T("/")), T("12345"));
    EXPECT_EQ(textAfterLast(T("12345"), T("/")), T("12345"));
    EXPECT_EQ(textAfterLast(T("a/"), T("/")), T(""));
}

class ListingParserTest : public ::testing::Test {
protected:
    SiteProfile profile{siteHostsAt("127.0.0.1:9")};
    ListingParser parser{profile};

    std::vector<NovelRecord> walk(const ByteText& page, CategoryKind kind, int* pauses = nullptr) {
        std::vector<NovelRecord> records;
        walkPageText(
            parser, page, kind, [&](const NovelRecord& r) { records.push_back(r); },
            [&] {
                if (pauses)
                    ++*pauses;
            });
        return records;
    }
};

TEST_F(ListingParserTest, CutsEveryFieldOfABlock) {
    fixture::Novel novel{"12345", gbk("乗风破浪"), gbk("天蚕土豆"), gbk("一段简介。"),
                         "2011/12345.jpg"};
    const NovelRecord r = parser.extractNovel(
        textBeyond(textBefore(fixture::novelBlock(profile, novel), profile.markers().novelTail),
                   profile.markers().novelHead));
    EXPECT_EQ(r.stem, T("12345"));
    EXPECT_EQ(r.title, gbk("乗风破浪"));
    EXPECT_EQ(parser.currentTitle(), gbk("乗风破浪"));
    EXPECT_EQ(r.author, gbk("天蚕土豆"));
    EXPECT_EQ(r.synopsis, gbk("一段简介。"));
    EXPECT_EQ(r.coverUrl, T("http://127.0.0.1:9/dianzishu/UploadPic/2011/12345.jpg"));
    EXPECT_EQ(r.textPageUrl, T("http://127.0.0.1:9/txt/12345txt.html#"));
    EXPECT_EQ(r.archiveUrl, T("http://127.0.0.1:9/down/2011/12345.rar"));
}

TEST_F(ListingParserTest, TitleNeverIncludesTheByteBeforeItsTail) {
    const Markers& m = profile.markers();
    const ByteText block = T("x") + m.titleHead + T("ABCD") + m.titleTail;
    EXPECT_EQ(parser.extractNovel(block).title, T("ABC"));
    // Without the title tail nothing is cut; without the serial tail the stem is empty.
    EXPECT_EQ(parser.extractNovel(T("x") + m.titleHead + T("ABCD")).title, ByteText());
    EXPECT_EQ(parser.extractNovel(T("a/b/12345")).stem, ByteText());
    EXPECT_EQ(parser.extractNovel(T("a/b/12345") + m.serialTail).stem, T("12345"));
    EXPECT_EQ(parser.extractNovel(T("12345") + m.serialTail).stem, T("12345"));
}

TEST_F(ListingParserTest, WalksAtMostTwentyBlocksAndStopsAfterTheEmptyOne) {
    struct Case {
        CategoryKind kind;
        int novels;
        size_t records;
        int pauses;
    };
    const Case cases[] = {
        {CategoryKind::finished, 7, 8, 7},     // seven novels, then the empty record
        {CategoryKind::finished, 20, 20, 20},  // the 21st block is never looked at
        {CategoryKind::finished, 25, 20, 20}, {CategoryKind::ongoing, 12, 13, 12},
        {CategoryKind::ongoing, 0, 1, 0},
    };
    for (const auto& c : cases) {
        const auto novels = fixture::sampleNovels(c.novels);
        int pauses = 0;
        const auto records = walk(fixture::listingPage(profile, c.kind, novels), c.kind, &pauses);
        ASSERT_EQ(records.size(), c.records) << c.novels;
        EXPECT_EQ(pauses, c.pauses) << c.novels;
        for (size_t i = 0; i < records.size() && i < novels.size(); ++i) {
            EXPECT_EQ(records[i].title, novels[i].title);
            EXPECT_EQ(records[i].author, novels[i].author);
            EXPECT_EQ(records[i].synopsis, novels[i].synopsis);
            EXPECT_EQ(records[i].stem, ByteText(novels[i].stem));
        }
        if (records.size() > novels.size()) {
            const NovelRecord& last = records.back();
            EXPECT_TRUE(last.title.empty() && last.stem.empty() && last.author.empty() &&
                        last.synopsis.empty());
        }
    }
}

TEST_F(ListingParserTest, TheListIsCutByTheKindsOwnTail) {
    const auto novels = fixture::sampleNovels(3);
    const ByteText finishedPage = fixture::listingPage(profile, CategoryKind::finished, novels);
    const ByteText ongoingPage = fixture::listingPage(profile, CategoryKind::ongoing, novels);
    EXPECT_EQ(walk(finishedPage, CategoryKind::finished).size(), 4u);
    EXPECT_EQ(walk(ongoingPage, CategoryKind::ongoing).size(), 4u);
    // The other kind's tail does not occur: the list is empty although it holds blocks.
    EXPECT_EQ(walk(finishedPage, CategoryKind::ongoing).size(), 1u);
    EXPECT_TRUE(parser.listText().empty());
    EXPECT_EQ(walk(ongoingPage, CategoryKind::finished).size(), 1u);
    // A missing list head is not fatal: the list loses its first 87 bytes only.
    const ByteText headless =
        textRight(finishedPage, textLength(finishedPage) -
                                    textFind(finishedPage, profile.markers().listHead) -
                                    textLength(profile.markers().listHead) + 1);
    for (const ByteText& page : {T("x") + headless, ByteText(std::string(100, ' ')) + headless}) {
        const auto records = walk(page, CategoryKind::finished);
        ASSERT_EQ(records.size(), 4u);
        EXPECT_EQ(records[0].title, novels[0].title);
    }
}

TEST_F(ListingParserTest, TheRestStartsRightAfterEachNovelTail) {
    const auto novels = fixture::sampleNovels(2);
    const ByteText page = fixture::listingPage(profile, CategoryKind::finished, novels);
    parser.cutList(page, CategoryKind::finished);
    std::vector<ByteText> rests;
    parser.walkBlocks(
        20,
        [&](const ByteText& block) {
            parser.extractNovel(block);
            rests.push_back(parser.rest());
        },
        [] {});
    ASSERT_EQ(rests.size(), 3u);
    // The LF after the first tail's lone CR, then the second block.
    EXPECT_EQ(textLeft(rests[0], 1 + textLength(profile.markers().novelHead)),
              T("\n") + profile.markers().novelHead);
    // The LF after the second tail and the one byte the list keeps of the list tail.
    EXPECT_EQ(rests[1], T("\n "));
    EXPECT_EQ(rests[2], ByteText());
}

TEST_F(ListingParserTest, AMissingOrEmptyCacheFileYieldsOneEmptyRecord) {
    const fixture::TemporaryDirectory temporary;
    const std::string& tmpl = temporary.path();
    ASSERT_FALSE(tmpl.empty());
    const LibraryLayout layout{ByteText(tmpl)};
    const ByteText category = gbk("玄幻小说");
    std::filesystem::create_directories(std::filesystem::path(tmpl) / "缓存" / "玄幻小说");
    ASSERT_TRUE(writeFile(layout.listingPage(category, 1), ByteData()));
    ASSERT_TRUE(writeFile(
        layout.listingPage(category, 2),
        fixture::listingPage(profile, CategoryKind::finished, fixture::sampleNovels(5)).str()));
    for (const auto& [page, expected] : {std::pair{1, 1u}, {2, 6u}, {3, 1u}}) {
        std::vector<NovelRecord> records;
        walkPage(
            parser, layout, CategoryKind::finished, category, page,
            [&](const NovelRecord& r) { records.push_back(r); }, [] {});
        EXPECT_EQ(records.size(), expected) << page;
        EXPECT_TRUE(records.back().title.empty());
    }
}

}  // namespace
}  // namespace lumora
