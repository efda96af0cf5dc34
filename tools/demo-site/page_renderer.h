#pragma once

// The demo site's HTML pages in GBK with CR LF line breaks: listing pages whose novel blocks are
// laid out with the site profile's marker texts, the novels' text pages, a home page and error
// pages.

#include "core/byte_text.h"
#include "core/site_profile.h"
#include "tools/demo-site/catalogue.h"

namespace lumora::demo {

class PageRenderer {
public:
    // The profile fixes the hosts that the pages link to and the markers they hold.
    PageRenderer(const SiteProfile& profile, const Catalogue& catalogue);

    // Listing page `page` of a category: the page's novels, one block each, between the list
    // head and the kind's list tail, then the page links with the category's total. Past the last
    // page the list is empty. With damagedMarker, every block (or, for a marker outside the
    // blocks, the page) holds that marker with one byte missing.
    ByteData listingPage(const CategoryListing& category, int page,
                         const ByteText& damagedMarker = ByteText()) const;
    // The same page without novels: what the site answers past the last page.
    ByteData emptyListingPage(const CategoryListing& category, int page) const;

    ByteData textPage(const NovelEntry& novel) const;
    ByteData homePage() const;
    static ByteData errorPage(int status);

private:
    std::string novelBlock(const NovelEntry& novel) const;
    std::string listingFrame(const CategoryListing& category, int page,
                             const std::string& blocks) const;
    std::string pageHead(const std::string& title) const;  // title in GBK
    std::string navigation(CategoryKind kind) const;
    std::string listingPath(CategoryKind kind, int index, int page) const;
    std::string novelLink(const NovelEntry& novel) const;

    SiteProfile profile_;
    const Catalogue& catalogue_;
};

}  // namespace lumora::demo
