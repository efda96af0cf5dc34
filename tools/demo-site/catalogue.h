#pragma once

// What the demo site publishes: for every category of both kinds a number of listing pages and
// the novels on them, all made deterministically from one seed.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/byte_text.h"
#include "core/site_profile.h"

namespace lumora::demo {

inline constexpr std::uint64_t kDefaultSeed = 1190;

// Novels on a full listing page: 20 for the finished kind, 12 for the ongoing kind.
int novelsPerPage(CategoryKind kind);

struct NovelEntry {
    int ordinal = 0;  // place in the whole catalogue from 0; faults select novels by it
    CategoryKind kind = CategoryKind::finished;
    int categoryIndex = 0;
    int page = 1;    // listing page that holds the novel, from 1
    ByteText stem;   // digits; names the archive and the text page
    ByteText title;  // GBK, as all texts below
    ByteText author;
    ByteText synopsis;   // empty for one novel on purpose
    ByteText coverPath;  // after the cover base URL, e.g. 2011-3/104233.jpg
    int archiveSize = 0;
};

struct CategoryListing {
    CategoryKind kind = CategoryKind::finished;
    int index = 0;
    int firstOrdinal = 0;  // ordinal of the category's first novel
    int total = 0;         // novels in the category
    int perPage = 20;
    int pageCount() const { return (total + perPage - 1) / perPage; }
};

// Novels that exercise the edges of the harvest (ordinals into the catalogue).
struct HardCases {
    int trailByte5cTitle = -1;     // a title holding 乗, whose GBK trail byte is 0x5C ("\")
    int emptySynopsis = -1;        // a novel without synopsis
    int sharedTitleFinished = -1;  // a finished and an ongoing novel with the same title
    int sharedTitleOngoing = -1;
    std::vector<int> thresholdArchives;  // archives of exactly 30000, 30001, 300000, 300001 bytes
};

class Catalogue {
public:
    explicit Catalogue(std::uint64_t seed = kDefaultSeed);

    std::uint64_t seed() const { return seed_; }
    const std::vector<CategoryListing>& categories(CategoryKind kind) const;
    // The kind's category at index; index must lie inside the kind's table.
    const CategoryListing& category(CategoryKind kind, int index) const;
    // The novels of listing page `page` (from 1); empty outside the category's pages.
    std::span<const NovelEntry> page(const CategoryListing& category, int page) const;
    std::span<const NovelEntry> page(CategoryKind kind, int index, int page) const;

    const std::vector<NovelEntry>& novels() const { return novels_; }
    const HardCases& hardCases() const { return hardCases_; }
    const NovelEntry* findByStem(std::string_view stem) const;
    const NovelEntry* findByCoverPath(std::string_view coverPath) const;

private:
    void addHardCases();

    std::uint64_t seed_;
    std::vector<CategoryListing> finished_, ongoing_;
    std::vector<NovelEntry> novels_;
    HardCases hardCases_;
    std::unordered_map<std::string, int> byStem_, byCoverPath_;
};

}  // namespace lumora::demo
