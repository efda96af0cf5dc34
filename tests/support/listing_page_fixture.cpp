#include "tests/support/listing_page_fixture.h"

#include "core/gbk.h"

namespace lumora::fixture {

namespace {

const char* kBookHost = "http://www.example-books.test/book/";

}  // namespace

ByteText novelBlock(const SiteProfile& profile, const Novel& novel) {
    const Markers& m = profile.markers();
    const ByteText link = ByteText(kBookHost) + ByteText(novel.stem);
    // The page puts one blank between the title and its closing bracket: the cut drops the
    // byte before the title tail.
    return m.novelHead + link + m.pictureHead + ByteText(novel.coverPath) + m.pictureTail +
           ByteText("><a href=\"") + link + m.titleHead + novel.title + ByteText(" ") + gbk("》") +
           m.authorHead + novel.author + m.authorTail + gbk("RAR</li>\r\n\t\t<li><a href=\"") +
           link + m.synopsisHead + novel.synopsis + m.novelTail + ByteText("\n");
}

ByteText listingPage(const SiteProfile& profile, CategoryKind kind,
                     const std::vector<Novel>& novels, int total) {
    const Markers& m = profile.markers();
    ByteText page =
        gbk("<html>\r\n<head><meta charset=\"gbk\"><title>小说列表</title></head>\r\n<body>\r\n"
            "<div class=\"main\">\r\n");
    page += m.listHead + ByteText("\t");
    for (const Novel& novel : novels)
        page += novelBlock(profile, novel);
    if (kind == CategoryKind::finished) {
        page += m.listTail;
    } else {
        page += ByteText("<") + m.listTailOngoing;
    }
    page += gbk("\r\n<div class=\"pages\"><b>总数：") + toText(total) + m.totalPagesHead +
            gbk("下一页</b></div>\r\n</div>\r\n</body>\r\n</html>\r\n");
    return page;
}

std::vector<Novel> sampleNovels(int n, int synopsisBytes) {
    static const char* const kTitles[] = {"斗破苍穹", "凡人修仙传", "雪中悍刀行", "诛仙",
                                          "庆余年",   "将夜",       "遮天",       "乗风破浪"};
    static const char* const kAuthors[] = {"天蚕土豆", "忘语", "烽火戏诸侯", "萧鼎", "猫腻"};
    std::vector<Novel> novels;
    for (int i = 0; i < n; ++i) {
        Novel novel;
        novel.stem = std::to_string(10000 + i);
        novel.title = gbk(kTitles[i % 8]) + toText(i);
        novel.author = gbk(kAuthors[i % 5]);
        ByteText synopsis = gbk("少年踏上修行之路，");
        while (textLength(synopsis) < synopsisBytes)
            synopsis += gbk("历经磨难，终成一代强者。");
        novel.synopsis = synopsis;
        novel.coverPath = "2011/" + std::to_string(i) + ".jpg";
        novels.push_back(novel);
    }
    return novels;
}

}  // namespace lumora::fixture
