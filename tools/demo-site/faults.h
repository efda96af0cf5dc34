#pragma once

// Fault switches: rules that make chosen requests of the demo site fail in one particular way,
// for tests and benchmarks of the harvest.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::demo {

// The kinds of URL the site answers that a fault can hit.
enum class Resource { listing, cover, archive, textPage };

enum class FaultKind {
    truncate,       // Content-Length of the whole body, part of it sent, then the connection closes
    slow,           // the whole body, in pieces with a pause before each
    errorStatus,    // an HTML error page with the rule's status instead of the content
    shortPage,      // listing only: the page without novels, below 3000 bytes
    missingMarker,  // listing only: every novel block lacks one byte of the rule's marker
};

struct FaultRule {
    Resource resource = Resource::archive;
    FaultKind kind = FaultKind::truncate;
    // Which requests: novels whose ordinal is a multiple of `every` (covers, archives, text
    // pages); listing pages whose number is a multiple of `every`, or only page `page` when it is
    // above 0.
    int every = 1;
    int page = 0;

    int status = 404;               // errorStatus
    double keepFraction = 0.5;      // truncate: share of the body sent before the close
    int chunkBytes = 4096;          // slow: size of a piece ...
    int delayMs = 20;               // ... and the pause before it
    std::string marker = "标题尾";  // missingMarker: the marker's name, as the profile names it
};

// Whether the rule hits a request for the resource; selector is the novel's ordinal, or the
// page number of a listing page.
bool faultApplies(const FaultRule& rule, Resource resource, int selector);

// The first rule that hits the request, if any.
const FaultRule* findFault(const std::vector<FaultRule>& rules, Resource resource, int selector);

// A rule from its command-line form RESOURCE:KIND[,key=value...], e.g. "archive:truncate,every=3",
// "cover:error,status=500", "listing:short,page=2", "listing:missing-marker,marker=序号尾",
// "archive:slow,delay=50,chunk=1024". Keys: every, page, status, keep, chunk, delay, marker.
// Nothing for a malformed text.
std::optional<FaultRule> parseFaultRule(std::string_view text);

}  // namespace lumora::demo
