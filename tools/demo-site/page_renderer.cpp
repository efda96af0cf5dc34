#include "tools/demo-site/page_renderer.h"

#include <algorithm>
#include <string_view>

#include "core/gbk.h"
#include "tools/demo-site/chinese_text.h"
#include "tools/demo-site/seeded_random.h"

namespace lumora::demo {

namespace {

// The GBK bytes of a UTF-8 literal.
std::string g(std::string_view utf8) {
    return gbk(utf8).str();
}

std::string n(int number) {
    return std::to_string(number);
}

std::string field(std::string_view label, const std::string& value) {
    return "\t\t<li><span>" + g(label) + "</span>" + value + "</li>\r\n";
}

// Takes one byte out of the first occurrence of marker in text: its last ASCII byte, so that
// the GBK characters around it stay whole. Returns whether the marker occurred.
bool damageMarker(std::string& text, const ByteText& marker) {
    const std::string& bytes = marker.str();
    const size_t at = bytes.empty() ? std::string::npos : text.find(bytes);
    if (at == std::string::npos)
        return false;
    for (size_t i = bytes.size(); i-- > 0;) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            text.erase(at + i, 1);
            break;
        }
    }
    return true;
}

std::string pageFoot() {
    return "<div class=\"footer\">\r\n<p>" +
           g("本站所有小说均来自网友上传，仅供交流学习，如有侵权请联系删除。") +
           "</p>\r\n<p>Copyright &copy; 2011 " + g("TXT电子书下载站") +
           " All Rights Reserved</p>\r\n</div>\r\n</body>\r\n</html>\r\n";
}

}  // namespace

PageRenderer::PageRenderer(const SiteProfile& profile, const Catalogue& catalogue)
    : profile_(profile), catalogue_(catalogue) {}

std::string PageRenderer::listingPath(CategoryKind kind, int index, int page) const {
    const ByteText prefix = profile_.category(kind, index).listingPrefix;
    return prefix.str().substr(profile_.catalogueBase().str().size()) + n(page) + ".html";
}

std::string PageRenderer::novelLink(const NovelEntry& novel) const {
    return profile_.catalogueBase().str() + "/book/" + novel.stem.str();
}

std::string PageRenderer::pageHead(const std::string& title) const {
    return "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n<head>\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\r\n"
           "<title>" +
           title +
           "</title>\r\n"
           "<link href=\"/css/list.css\" rel=\"stylesheet\" type=\"text/css\" />\r\n"
           "</head>\r\n<body>\r\n<div class=\"header\"><div class=\"logo\"><a href=\"/\">" +
           g("TXT电子书下载站") + "</a></div></div>\r\n";
}

std::string PageRenderer::navigation(CategoryKind kind) const {
    std::string nav =
        "<div class=\"nav\">\r\n<ul>\r\n<li><a href=\"/\">" + g("首页") + "</a></li>\r\n";
    const auto& categories = profile_.categories(kind);
    for (int index = 0; index < static_cast<int>(categories.size()); ++index) {
        nav += "<li><a href=\"" + listingPath(kind, index, 1) + "\">" +
               categories[static_cast<size_t>(index)].name.str() + "</a></li>\r\n";
    }
    return nav + "</ul>\r\n</div>\r\n";
}

std::string PageRenderer::novelBlock(const NovelEntry& novel) const {
    const Markers& m = profile_.markers();
    SeededRandom random(catalogue_.seed() * 31 + static_cast<std::uint64_t>(novel.ordinal));
    const std::string link = novelLink(novel);
    std::string block;
    block.reserve(3600);
    // The novel head is followed by the link: the cut skips the link's first byte, and the stem
    // is its last segment. The serial tail that ends the link is the start of the picture head.
    block += m.novelHead.str() + link + m.pictureHead.str() + novel.coverPath.str() +
             m.pictureTail.str();
    // The title cut leaves out the byte before the title tail, hence the blank after the title;
    // "》" and the author head together hold the title tail.
    block += "><a href=\"" + link + m.titleHead.str() + novel.title.str() + " " + g("》") +
             m.authorHead.str() + novel.author.str() + m.authorTail.str() + "RAR</li>\r\n";

    block += field("大小：", n(std::max(1, novel.archiveSize / 1024)) + "KB");
    block += field("状态：", g(novel.kind == CategoryKind::finished ? "已完结" : "连载中"));
    block += field("字数：", n(std::max(1, novel.archiveSize / 6000)) + g("万字"));
    block += field("更新：", "2011-" + n(random.between(1, 12)) + "-" + n(random.between(1, 28)));
    const std::string categoryName = profile_.category(novel.kind, novel.categoryIndex).name.str();
    block += field("类别：", "<a href=\"" + listingPath(novel.kind, novel.categoryIndex, 1) +
                                 "\">" + categoryName + "</a>");
    const int stars = random.between(2, 5);
    std::string rating;
    for (int i = 0; i < 5; ++i) {
        rating += i < stars ? "<em class=\"star-on\"></em>" : "<em class=\"star-off\"></em>";
    }
    block += field("评分：", rating);
    // The category's first two characters make its tag (玄幻 of 玄幻小说).
    block += field("标签：", "<a href=\"/tag/1.html\">" + categoryName.substr(0, 4) +
                                 "</a> <a href=\"/tag/2.html\">" +
                                 g(random.chance(50) ? "热血" : "爽文") +
                                 "</a> <a href=\"/tag/3.html\">" + g("TXT全集") + "</a>");

    // The latest chapters make a block as long as on the real site, about 3 KB.
    block += "\t\t<li class=\"chapters\"><span>" + g("最新章节：") + "</span>\r\n";
    const int latest = random.between(120, 2400);
    for (int chapter = latest; chapter > latest - 12; --chapter) {
        const std::string name = g(composeChapterName(random, chapter));
        block += "\t\t\t<a href=\"" + link + "/" + n(chapter) + ".html\" title=\"" + name + "\">" +
                 name + "</a><br />\r\n";
    }
    block += "\t\t</li>\r\n";
    block += "\t\t<li class=\"down\"><a href=\"" + profile_.archiveUrl(novel.stem).str() +
             "\" title=\"" + novel.title.str() + g("RAR下载\">RAR格式下载</a> | <a href=\"") +
             profile_.textPageBase().str() + novel.stem.str() + "txt.html\" title=\"" +
             novel.title.str() + g("TXT下载\">TXT格式下载</a></li>\r\n");
    // The synopsis runs from its head to the novel tail that ends the block.
    block += "\t\t<li class=\"intro\"><a href=\"" + link + m.synopsisHead.str() +
             novel.synopsis.str() + m.novelTail.str() + "\n";
    return block;
}

std::string PageRenderer::listingFrame(const CategoryListing& category, int page,
                                       const std::string& blocks) const {
    const Markers& m = profile_.markers();
    const std::string name = profile_.category(category.kind, category.index).name.str();
    const std::string kindName = kindWord(category.kind).str();
    const auto path = [&](int number) {
        return listingPath(category.kind, category.index, number);
    };
    const int last = category.pageCount();

    std::string html =
        pageHead(name + "_" + kindName + g("_第") + n(page) + g("页 - TXT电子书免费下载"));
    html += navigation(category.kind);
    html += "<div class=\"main\">\r\n<div class=\"mainTitle\">" + g("当前位置：") +
            "<a href=\"/\">" + g("首页") + "</a> &gt; " + kindName + " &gt; " + name + "</div>\r\n";
    // The list head is followed by one byte that the cut skips.
    html += m.listHead.str() + "\t" + blocks;
    if (category.kind == CategoryKind::finished) {
        html += m.listTail.str();
    } else {
        // The ongoing list tail begins after the "<" of its first closing tag.
        html += "                        <" + m.listTailOngoing.str() + " id=\"NextPageText\">";
    }

    // The page links and the total; the total-pages marker occurs on the page only here.
    html += "\r\n\t\t\t\t\t<a href=\"" + path(1) + "\">" + g("首页") + "</a>&nbsp;";
    if (page > 1)
        html += "<a href=\"" + path(page - 1) + "\">" + g("上一页") + "</a>&nbsp;";
    const int from = std::max(1, std::min(page, last) - 4);
    for (int number = from; number <= std::min(last, from + 9); ++number) {
        html += number == page ? "<strong>" + n(number) + "</strong>&nbsp;"
                               : "<a href=\"" + path(number) + "\">" + n(number) + "</a>&nbsp;";
    }
    if (page < last)
        html += "<a href=\"" + path(page + 1) + "\">" + g("下一页") + "</a>&nbsp;";
    html += "<a href=\"" + path(last) + "\">" + g("尾页") + "</a>\r\n";
    html += "\t\t\t\t\t<span class=\"pageinfo\"><b>" + g("总数：") + n(category.total) +
            m.totalPagesHead.str() + n(last) + "</b>" + g("页") + "&nbsp;&nbsp;" + g("当前第") +
            n(page) + g("页") + "</span>\r\n\t\t\t\t</div>\r\n\t</div>\r\n</div>\r\n";
    return html + pageFoot();
}

ByteData PageRenderer::listingPage(const CategoryListing& category, int page,
                                   const ByteText& damagedMarker) const {
    std::string blocks;
    bool damagedInBlocks = false;
    for (const NovelEntry& novel : catalogue_.page(category, page)) {
        std::string block = "\t\t\t\t\t" + novelBlock(novel);
        if (!damagedMarker.empty())
            damagedInBlocks |= damageMarker(block, damagedMarker);
        blocks += block;
    }
    std::string html = listingFrame(category, page, blocks);
    if (!damagedMarker.empty() && !damagedInBlocks)
        damageMarker(html, damagedMarker);
    return html;
}

ByteData PageRenderer::emptyListingPage(const CategoryListing& category, int page) const {
    return listingFrame(category, page, std::string());
}

ByteData PageRenderer::textPage(const NovelEntry& novel) const {
    SeededRandom random(catalogue_.seed() * 37 + static_cast<std::uint64_t>(novel.ordinal));
    const std::string title = novel.title.str();
    const std::string categoryName = profile_.category(novel.kind, novel.categoryIndex).name.str();
    std::string html = pageHead(title + g("TXT下载 - ") + novel.author.str());
    html += navigation(novel.kind);
    html += "<div class=\"book\">\r\n<h1>" + title + "</h1>\r\n";
    html += "<p>" + g("作者：") + novel.author.str() + "</p>\r\n";
    html += "<p>" + g("类别：") + "<a href=\"" +
            listingPath(novel.kind, novel.categoryIndex, novel.page) + "\">" + categoryName +
            "</a></p>\r\n";
    html += "<p>" + g("大小：") + n(std::max(1, novel.archiveSize / 1024)) + "KB</p>\r\n";
    html += "<div class=\"intro\">" +
            (novel.synopsis.empty() ? g("暂无简介") : novel.synopsis.str()) + "</div>\r\n";
    html += "<div class=\"down\"><a href=\"" + profile_.archiveUrl(novel.stem).str() + "\">" +
            g("点击下载《") + title + g("》RAR压缩包") + "</a></div>\r\n";
    html += "<div class=\"chapters\">\r\n<h2>" + g("章节目录") + "</h2>\r\n<ul>\r\n";
    for (int chapter = 1; chapter <= 24; ++chapter) {
        html += "<li><a href=\"" + novelLink(novel) + "/" + n(chapter) + ".html\">" +
                g(composeChapterName(random, chapter)) + "</a></li>\r\n";
    }
    html += "</ul>\r\n</div>\r\n</div>\r\n";
    return html + pageFoot();
}

ByteData PageRenderer::homePage() const {
    std::string html = pageHead(g("TXT电子书免费下载"));
    for (CategoryKind kind : {CategoryKind::finished, CategoryKind::ongoing}) {
        html += "<h2>" + kindWord(kind).str() + "</h2>\r\n" + navigation(kind);
    }
    return html + pageFoot();
}

ByteData PageRenderer::errorPage(int status) {
    const std::string reason = status == 404   ? "Not Found"
                               : status == 500 ? "Internal Server Error"
                                               : "Error";
    return "<html>\r\n<head><title>" + n(status) + " " + reason +
           "</title></head>\r\n<body>\r\n<h1>" + n(status) + " " + reason + "</h1>\r\n<p>" +
           g("您访问的页面不存在或服务器出错，请稍后再试。") + "</p>\r\n</body>\r\n</html>\r\n";
}

}  // namespace lumora::demo
