#include "tools/demo-site/site_router.h"

#include <string_view>

#include "core/gbk.h"
#include "tools/demo-site/archive_bytes.h"
#include "tools/demo-site/demo_site.h"

namespace lumora::demo {

namespace {

constexpr std::string_view kTextPrefix = "/txt/";
constexpr std::string_view kTextSuffix = "txt.html";
constexpr std::string_view kNovelPrefix = "/book/";
constexpr std::string_view kHtmlSuffix = ".html";
constexpr std::string_view kCoverPrefix = "/dianzishu/UploadPic/";
constexpr std::string_view kArchivePrefix = "/down/2011/";
constexpr std::string_view kArchiveSuffix = ".rar";

// The text between prefix and suffix when path has both; nothing otherwise.
std::optional<std::string_view> between(std::string_view path, std::string_view prefix,
                                        std::string_view suffix) {
    if (path.size() < prefix.size() + suffix.size() || !path.starts_with(prefix) ||
        !path.ends_with(suffix)) {
        return std::nullopt;
    }
    return path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
}

// 1 to 9 decimal digits, so that the number fits an int.
std::optional<int> pageNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 9)
        return std::nullopt;
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

Reply answer(const char* contentType, ByteData body, int status = 200) {
    Reply reply;
    reply.status = status;
    reply.contentType = contentType;
    reply.body = std::move(body);
    return reply;
}

Reply errorReply(int status) {
    return answer("text/html", PageRenderer::errorPage(status), status);
}

// Truncating and slowing happen while sending; an error status replaces the body.
Reply withDelivery(Reply reply, const FaultRule* fault) {
    if (!fault)
        return reply;
    switch (fault->kind) {
        case FaultKind::errorStatus:
            return errorReply(fault->status);
        case FaultKind::truncate:
        case FaultKind::slow:
            reply.delivery = *fault;
            return reply;
        default:
            return reply;
    }
}

}  // namespace

SiteRouter::SiteRouter(const SiteProfile& profile, const Catalogue& catalogue,
                       CoverRenderer& covers)
    : profile_(profile), catalogue_(catalogue), covers_(covers), pages_(profile_, catalogue) {
    const size_t baseLength = profile_.catalogueBase().str().size();
    for (CategoryKind kind : {CategoryKind::finished, CategoryKind::ongoing}) {
        const auto& categories = profile_.categories(kind);
        for (int index = 0; index < static_cast<int>(categories.size()); ++index) {
            listingRoutes_.push_back(
                {categories[static_cast<size_t>(index)].listingPrefix.str().substr(baseLength),
                 kind, index});
        }
    }
}

Reply SiteRouter::route(const std::string& path, const SiteSettings& settings) const {
    if (path == "/" || path == "/index.html")
        return answer("text/html", pages_.homePage());
    for (const ListingRoute& route : listingRoutes_) {
        if (const auto digits = between(path, route.pathPrefix, kHtmlSuffix)) {
            if (const auto page = pageNumber(*digits))
                return listing(route, *page, settings);
        }
    }
    // The novel's own page and its text page show the same.
    for (const auto& [prefix, suffix] :
         {std::pair(kTextPrefix, kTextSuffix), std::pair(kNovelPrefix, kHtmlSuffix)}) {
        if (const auto stem = between(path, prefix, suffix)) {
            if (const NovelEntry* novel = catalogue_.findByStem(*stem)) {
                return novelResource(Resource::textPage, *novel, settings);
            }
        }
    }
    if (const auto coverPath = between(path, kCoverPrefix, "")) {
        if (const NovelEntry* novel = catalogue_.findByCoverPath(*coverPath)) {
            return novelResource(Resource::cover, *novel, settings);
        }
    }
    if (const auto stem = between(path, kArchivePrefix, kArchiveSuffix)) {
        if (const NovelEntry* novel = catalogue_.findByStem(*stem)) {
            return novelResource(Resource::archive, *novel, settings);
        }
    }
    if (auto document = updateDocument(path, settings))
        return std::move(*document);
    return errorReply(404);
}

Reply SiteRouter::listing(const ListingRoute& route, int page, const SiteSettings& settings) const {
    const CategoryListing& category = catalogue_.category(route.kind, route.index);
    const FaultRule* fault = findFault(settings.faults, Resource::listing, page);
    if (fault && fault->kind == FaultKind::shortPage) {
        return answer("text/html", pages_.emptyListingPage(category, page));
    }
    ByteText damaged;
    if (fault && fault->kind == FaultKind::missingMarker) {
        damaged = profile_.marker(gbk(fault->marker));
    }
    return withDelivery(answer("text/html", pages_.listingPage(category, page, damaged)), fault);
}

Reply SiteRouter::novelResource(Resource resource, const NovelEntry& novel,
                                const SiteSettings& settings) const {
    const FaultRule* fault = findFault(settings.faults, resource, novel.ordinal);
    // An error page replaces the body, so the body is not even made.
    if (fault && fault->kind == FaultKind::errorStatus)
        return errorReply(fault->status);
    switch (resource) {
        case Resource::cover:
            return withDelivery(answer("image/jpeg", covers_.cover(novel, catalogue_.seed())),
                                fault);
        case Resource::archive:
            return withDelivery(
                answer("application/x-rar-compressed", archiveBytes(novel, catalogue_.seed())),
                fault);
        default:
            return withDelivery(answer("text/html", pages_.textPage(novel)), fault);
    }
}

std::optional<Reply> SiteRouter::updateDocument(const std::string& path,
                                                const SiteSettings& settings) const {
    // The documents are bare texts: a line break would become part of the URL that is read.
    const std::string base = profile_.updateBase().str();
    if (path == kVersionPath)
        return answer("text/plain", settings.updateVersion);
    if (path == kUpdaterUrlPath)
        return answer("text/plain", base + kUpdaterFilePath);
    if (path == kBatchUrlPath)
        return answer("text/plain", base + kBatchFilePath);
    if (path == kUpdaterFilePath) {
        return answer("application/octet-stream", settings.updaterExecutable);
    }
    if (path == kBatchFilePath) {
        return answer("application/octet-stream", settings.batchExecutable);
    }
    return std::nullopt;
}

}  // namespace lumora::demo
