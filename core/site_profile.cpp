#include "core/site_profile.h"

#include <utility>

#include "core/gbk.h"

#ifndef LUMORA_CATALOGUE_HOST
#define LUMORA_CATALOGUE_HOST "127.0.0.1:8936"
#endif
#ifndef LUMORA_COVER_HOST
#define LUMORA_COVER_HOST "127.0.0.1:8936"
#endif
#ifndef LUMORA_TEXT_HOST
#define LUMORA_TEXT_HOST "127.0.0.1:8936"
#endif
#ifndef LUMORA_DOWNLOAD_HOST
#define LUMORA_DOWNLOAD_HOST "127.0.0.1:8936"
#endif
#ifndef LUMORA_UPDATE_HOST
#define LUMORA_UPDATE_HOST "127.0.0.1:8936"
#endif

namespace lumora {

ByteText kindWord(CategoryKind kind) {
    static const ByteText finished = gbk("完本");
    static const ByteText ongoing = gbk("连载中");
    return kind == CategoryKind::finished ? finished : ongoing;
}

SiteHosts defaultSiteHosts() {
    return {LUMORA_CATALOGUE_HOST, LUMORA_COVER_HOST, LUMORA_TEXT_HOST, LUMORA_DOWNLOAD_HOST,
            LUMORA_UPDATE_HOST};
}

SiteHosts siteHostsAt(const std::string& hostAndPort) {
    return {hostAndPort, hostAndPort, hostAndPort, hostAndPort, hostAndPort};
}

namespace {

using NameAndPath = std::pair<const char*, const char*>;

const NameAndPath kFinishedTable[] = {
    {"玄幻小说", "/wanben/xh/tuijian"},      {"都市小说", "/wanben/ds/tuijian"},
    {"言情小说", "/wanben/yq/tuijian"},      {"黑道小说", "/wanben/heidao/tuijian"},
    {"修真小说", "/wanben/xiuzhen/tuijian"}, {"奇幻小说", "/wanben/qh/tuijian"},
    {"仙侠小说", "/wanben/xx/tuijian"},      {"武侠小说", "/wanben/wx/tuijian"},
    {"网游小说", "/wanben/wy/tuijian"},      {"科幻小说", "/wanben/kh/tuijian"},
    {"军事小说", "/wanben/js/tuijian"},      {"历史小说", "/wanben/ls/tuijian"},
    {"同人小说", "/wanben/dm/tuijian"},      {"穿越小说", "/wanben/cy/tuijian"},
    {"总裁小说", "/wanben/zcxs/tuijian"},    {"校园小说", "/wanben/xiaoyuan/tuijian"},
};

const NameAndPath kOngoingTable[] = {
    {"玄幻奇幻", "/xuanhuan/list1-"}, {"武侠仙侠", "/wuxia/list2-"},
    {"都市小说", "/dushi/list3-"},    {"言情小说", "/yanqing/list4-"},
    {"历史军事", "/lishi/list5-"},    {"网游竞技", "/youxi/list6-"},
    {"科幻灵异", "/kehuan/list7-"},   {"同人小说", "/tongren/list40-"},
};

template <size_t N>
std::vector<Category> makeTable(const NameAndPath (&table)[N], const ByteText& catalogueBase) {
    std::vector<Category> categories;
    for (const auto& [name, path] : table) {
        categories.push_back({gbk(name), catalogueBase + ByteText(path)});
    }
    return categories;
}

Markers makeMarkers(const ByteText& coverBase) {
    const ByteText imageTag(".html\"><img src=\"");
    Markers m;
    m.listHead =
        gbk("   <div class=\"mainListInfo\">\r\n                       "
            "<div class=\"bl-page clear\"> \r\n\r\n\r\n");
    m.listTail =
        gbk("                        </div></div>\r\n\t\t\t</div>\r\n\r\n\t\t\t\t"
            "<div class=\"mainNextPage\" id=\"NextPageText\">");
    m.listTailOngoing = gbk("/div></div>\r\n\t\t\t</div>\r\n\t\t<div class=\"mainNextPage\"");
    m.novelHead = gbk("<dl>\r\n\t                  <dt><a target=\"_blank\" href=\"");
    m.novelTail =
        gbk("&nbsp;</span></a></li>\r\n\t      </ul>\r\n\t                </dd>\r\n\t"
            "               </dl>\r");
    m.pictureHead = imageTag + coverBase;
    m.serialTail = textLeft(m.pictureHead, textLength(m.pictureHead) - 1);
    m.titleHead = gbk(".html\" target=\"_blank\">《");
    m.titleTail = gbk("》</a></span>&nbsp; <span>作者：");
    m.authorHead = gbk("</a></span>&nbsp; <span>作者：</span>");
    m.authorTail = gbk("<span class=\"book-namvv\"></span></li>\r\n\t\t<li><span>格式：</span>");
    m.synopsisHead = gbk(".html\" target=\"_blank\"><span class=\"book-info\">");
    m.pictureTail =
        gbk("\" width=\"80\" height=\"104\" border=\"0\"/></a></dt>\r\n                 \t  <dd>"
            "\r\n\t                    <ul>\r\n                              "
            "<li class=\"btou\"><span class=\"book-name\"");
    m.totalPagesHead = gbk("</b><b>");
    return m;
}

}  // namespace

SiteProfile::SiteProfile(const SiteHosts& hosts)
    : catalogueBase_(ByteText("http://" + hosts.catalogue)),
      coverBase_(ByteText("http://" + hosts.cover + "/dianzishu/UploadPic/")),
      textPageBase_(ByteText("http://" + hosts.text + "/txt/")),
      downloadBase_(ByteText("http://" + hosts.download + "/down/2011/")),
      updateBase_(ByteText("http://" + hosts.update)),
      finished_(makeTable(kFinishedTable, catalogueBase_)),
      ongoing_(makeTable(kOngoingTable, catalogueBase_)),
      markers_(makeMarkers(coverBase_)) {}

const std::vector<Category>& SiteProfile::categories(CategoryKind kind) const {
    return kind == CategoryKind::finished ? finished_ : ongoing_;
}

Category SiteProfile::category(CategoryKind kind, int index) const {
    const auto& table = categories(kind);
    if (index < 0 || index >= static_cast<int>(table.size()))
        return {};
    return table[static_cast<size_t>(index)];
}

ByteText SiteProfile::marker(const ByteText& name) const {
    const std::pair<const char*, const ByteText*> byName[] = {
        {"列表头", &markers_.listHead},         {"列表尾", &markers_.listTail},
        {"列表尾1", &markers_.listTailOngoing}, {"小说头", &markers_.novelHead},
        {"小说尾", &markers_.novelTail},        {"序号尾", &markers_.serialTail},
        {"标题头", &markers_.titleHead},        {"标题尾", &markers_.titleTail},
        {"作者头", &markers_.authorHead},       {"作者尾", &markers_.authorTail},
        {"简介头", &markers_.synopsisHead},     {"图片头", &markers_.pictureHead},
        {"图片尾", &markers_.pictureTail},      {"总页数头", &markers_.totalPagesHead},
    };
    for (const auto& [markerName, text] : byName) {
        if (gbk(markerName) == name)
            return *text;
    }
    return {};
}

const ByteText& SiteProfile::listTail(CategoryKind kind) const {
    return kind == CategoryKind::finished ? markers_.listTail : markers_.listTailOngoing;
}

ByteText SiteProfile::listingUrl(const ByteText& listingPrefix, int page) {
    return listingPrefix + toText(page) + ByteText(".html");
}

ByteText SiteProfile::textPageUrl(const ByteText& stem) const {
    return textPageBase_ + stem + ByteText("txt.html#");
}

ByteText SiteProfile::archiveUrl(const ByteText& stem) const {
    return downloadBase_ + stem + ByteText(".rar");
}

}  // namespace lumora
