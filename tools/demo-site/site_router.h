#pragma once

// Maps a request path to the demo site's answer: which resource it names, whether a fault rule
// hits it, and the body to send.

#include <optional>
#include <string>
#include <vector>

#include "core/byte_text.h"
#include "core/site_profile.h"
#include "tools/demo-site/catalogue.h"
#include "tools/demo-site/cover_renderer.h"
#include "tools/demo-site/faults.h"
#include "tools/demo-site/page_renderer.h"

namespace lumora::demo {

// What the tests and the command line may change while the site runs.
struct SiteSettings {
    std::vector<FaultRule> faults;
    std::string updateVersion;
    ByteData updaterExecutable;
    ByteData batchExecutable;
};

struct Reply {
    int status = 200;
    std::string contentType = "text/html";
    ByteData body;
    std::optional<FaultRule> delivery;  // a truncate or slow rule for sending the body
};

class SiteRouter {
public:
    SiteRouter(const SiteProfile& profile, const Catalogue& catalogue, CoverRenderer& covers);

    Reply route(const std::string& path, const SiteSettings& settings) const;

private:
    struct ListingRoute {
        std::string pathPrefix;  // e.g. /wanben/xh/tuijian; the page number and .html follow
        CategoryKind kind;
        int index;
    };

    Reply listing(const ListingRoute& route, int page, const SiteSettings& settings) const;
    Reply novelResource(Resource resource, const NovelEntry& novel,
                        const SiteSettings& settings) const;
    std::optional<Reply> updateDocument(const std::string& path,
                                        const SiteSettings& settings) const;

    SiteProfile profile_;
    const Catalogue& catalogue_;
    CoverRenderer& covers_;
    PageRenderer pages_;
    std::vector<ListingRoute> listingRoutes_;
};

}  // namespace lumora::demo
