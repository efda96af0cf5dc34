#pragma once

// The e-book site as the programs know it: two category tables, the marker texts that cut a
// listing page apart, and the URL bases of the site's hosts.

#include <string>
#include <vector>

#include "core/byte_text.h"

namespace lumora {

enum class CategoryKind { finished, ongoing };

// "完本" or "连载中": the word used in paths and labels.
ByteText kindWord(CategoryKind kind);

struct Category {
    ByteText name;           // display name, also the name of the category's directories
    ByteText listingPrefix;  // catalogue base URL and path; page n adds n and ".html"
};

// host[:port] of each server, without scheme or slash.
struct SiteHosts {
    std::string catalogue;
    std::string cover;
    std::string text;
    std::string download;
    std::string update;
};

// The hosts this build was configured with.
SiteHosts defaultSiteHosts();
// Every host at one address, as the demo site and the tests serve them.
SiteHosts siteHostsAt(const std::string& hostAndPort);

// The marker texts, each named after the site's fragment it heads or ends.
struct Markers {
    ByteText listHead;         // 列表头
    ByteText listTail;         // 列表尾 (finished)
    ByteText listTailOngoing;  // 列表尾1 (ongoing)
    ByteText novelHead;        // 小说头
    ByteText novelTail;        // 小说尾
    ByteText serialTail;       // 序号尾
    ByteText titleHead;        // 标题头
    ByteText titleTail;        // 标题尾
    ByteText authorHead;       // 作者头
    ByteText authorTail;       // 作者尾
    ByteText synopsisHead;     // 简介头
    ByteText pictureHead;      // 图片头
    ByteText pictureTail;      // 图片尾
    ByteText totalPagesHead;   // 总页数头
};

class SiteProfile {
public:
    explicit SiteProfile(const SiteHosts& hosts = defaultSiteHosts());

    const std::vector<Category>& categories(CategoryKind kind) const;
    // The category at index of the kind's table; empty name and prefix outside the table.
    Category category(CategoryKind kind, int index) const;

    const Markers& markers() const { return markers_; }
    // A marker by its name as the site's pages are documented ("列表头", ...); empty if unknown.
    ByteText marker(const ByteText& name) const;
    // The tail of the novel list on a listing page of the kind.
    const ByteText& listTail(CategoryKind kind) const;

    const ByteText& catalogueBase() const { return catalogueBase_; }
    const ByteText& coverBase() const { return coverBase_; }
    const ByteText& textPageBase() const { return textPageBase_; }
    const ByteText& downloadBase() const { return downloadBase_; }
    const ByteText& updateBase() const { return updateBase_; }

    static ByteText listingUrl(const ByteText& listingPrefix, int page);
    ByteText coverUrl(const ByteText& coverPath) const { return coverBase_ + coverPath; }
    ByteText textPageUrl(const ByteText& stem) const;
    ByteText archiveUrl(const ByteText& stem) const;

private:
    ByteText catalogueBase_, coverBase_, textPageBase_, downloadBase_, updateBase_;
    std::vector<Category> finished_, ongoing_;
    Markers markers_;
};

}  // namespace lumora
