#pragma once

// Listing pages laid out as the e-book site lays them out, for tests and benchmarks.

#include <string>
#include <vector>

#include "core/byte_text.h"
#include "core/site_profile.h"

namespace lumora::fixture {

struct Novel {
    std::string stem;  // ASCII
    ByteText title;
    ByteText author;
    ByteText synopsis;
    std::string coverPath;  // ASCII, after the cover base URL
};

// One novel's fragment, from the novel head up to and including the novel tail and its LF.
ByteText novelBlock(const SiteProfile& profile, const Novel& novel);

// A whole listing page of the kind with the given novels and a total-count text after the list.
ByteText listingPage(const SiteProfile& profile, CategoryKind kind,
                     const std::vector<Novel>& novels, int total = 0);

// n novels with distinct stems, Chinese titles and authors, and synopses of about
// synopsisBytes bytes.
std::vector<Novel> sampleNovels(int n, int synopsisBytes = 120);

}  // namespace lumora::fixture
