#include "tools/demo-site/catalogue.h"

#include <algorithm>
#include <unordered_set>

#include "core/gbk.h"
#include "tools/demo-site/chinese_text.h"
#include "tools/demo-site/seeded_random.h"

namespace lumora::demo {

namespace {

// 乗 is GBK 81 5C: its trail byte is the Windows path separator.
constexpr const char* kTrailByte5cTitle = "乗风破浪";
constexpr int kThresholdSizes[] = {30000, 30001, 300000, 300001};

// Spread around the harvest's size tests: a fifth stay at or below 30000 bytes (always fetched
// again), half lie between, the rest above 300000 (present for both kinds).
int archiveSize(SeededRandom& random) {
    const int band = random.below(100);
    if (band < 20)
        return random.between(6000, 29999);
    if (band < 70)
        return random.between(30001, 300000);
    return random.between(300001, 900000);
}

std::string coverPath(SeededRandom& random, CategoryKind kind, int stem) {
    const int year = kind == CategoryKind::finished ? random.between(2008, 2011) : 2011;
    return std::to_string(year) + "-" + std::to_string(random.between(1, 12)) + "/" +
           std::to_string(stem) + ".jpg";
}

std::string uniqueTitle(SeededRandom& random, std::unordered_set<std::string>& usedTitles) {
    for (;;) {
        std::string title = composeTitle(random);
        if (usedTitles.insert(title).second)
            return title;
    }
}

}  // namespace

int novelsPerPage(CategoryKind kind) {
    return kind == CategoryKind::finished ? 20 : 12;
}

Catalogue::Catalogue(std::uint64_t seed) : seed_(seed) {
    SeededRandom random(seed);
    const SiteProfile profile;
    std::unordered_set<std::string> usedTitles{kTrailByte5cTitle};
    int stem = 10000 + random.below(5000);
    for (CategoryKind kind : {CategoryKind::finished, CategoryKind::ongoing}) {
        auto& listings = kind == CategoryKind::finished ? finished_ : ongoing_;
        const int perPage = novelsPerPage(kind);
        const int categoryCount = static_cast<int>(profile.categories(kind).size());
        for (int index = 0; index < categoryCount; ++index) {
            CategoryListing listing{kind, index, static_cast<int>(novels_.size()), 0, perPage};
            // The last page is at least half full: rounding total / perPage, as the single-book
            // edition counts pages, then gives the real page count.
            const int pages = random.between(3, 12);
            listing.total = (pages - 1) * perPage + random.between(perPage / 2, perPage - 1);
            for (int i = 0; i < listing.total; ++i) {
                stem += random.between(1, 37);
                NovelEntry novel;
                novel.ordinal = static_cast<int>(novels_.size());
                novel.kind = kind;
                novel.categoryIndex = index;
                novel.page = i / perPage + 1;
                novel.stem = ByteText(std::to_string(stem));
                novel.title = gbk(uniqueTitle(random, usedTitles));
                novel.author = gbk(composePenName(random));
                novel.synopsis = gbk(composeSynopsis(random));
                novel.coverPath = ByteText(coverPath(random, kind, stem));
                novel.archiveSize = archiveSize(random);
                novels_.push_back(std::move(novel));
            }
            listings.push_back(listing);
        }
    }
    addHardCases();
    for (const NovelEntry& novel : novels_) {
        byStem_.emplace(novel.stem.str(), novel.ordinal);
        byCoverPath_.emplace(novel.coverPath.str(), novel.ordinal);
    }
}

// The hard cases sit on page 1 of the first category of each kind, where a short harvest meets
// them.
void Catalogue::addHardCases() {
    const int finishedFirst = finished_.front().firstOrdinal;
    const int ongoingFirst = ongoing_.front().firstOrdinal;

    hardCases_.trailByte5cTitle = finishedFirst + 1;
    novels_[static_cast<size_t>(hardCases_.trailByte5cTitle)].title = gbk(kTrailByte5cTitle);

    hardCases_.emptySynopsis = finishedFirst + 3;
    novels_[static_cast<size_t>(hardCases_.emptySynopsis)].synopsis = ByteText();

    hardCases_.sharedTitleFinished = finishedFirst + 5;
    hardCases_.sharedTitleOngoing = ongoingFirst + 2;
    novels_[static_cast<size_t>(hardCases_.sharedTitleOngoing)].title =
        novels_[static_cast<size_t>(hardCases_.sharedTitleFinished)].title;

    for (int first : {finishedFirst + 7, ongoingFirst + 4}) {
        for (int size : kThresholdSizes) {
            const int ordinal = first++;
            novels_[static_cast<size_t>(ordinal)].archiveSize = size;
            hardCases_.thresholdArchives.push_back(ordinal);
        }
    }
}

const std::vector<CategoryListing>& Catalogue::categories(CategoryKind kind) const {
    return kind == CategoryKind::finished ? finished_ : ongoing_;
}

const CategoryListing& Catalogue::category(CategoryKind kind, int index) const {
    return categories(kind).at(static_cast<size_t>(index));
}

std::span<const NovelEntry> Catalogue::page(const CategoryListing& category, int page) const {
    if (page < 1 || page > category.pageCount())
        return {};
    const int first = (page - 1) * category.perPage;
    const int count = std::min(category.perPage, category.total - first);
    return std::span<const NovelEntry>(novels_).subspan(
        static_cast<size_t>(category.firstOrdinal + first), static_cast<size_t>(count));
}

std::span<const NovelEntry> Catalogue::page(CategoryKind kind, int index, int page) const {
    return this->page(category(kind, index), page);
}

const NovelEntry* Catalogue::findByStem(std::string_view stem) const {
    const auto found = byStem_.find(std::string(stem));
    return found == byStem_.end() ? nullptr : &novels_[static_cast<size_t>(found->second)];
}

const NovelEntry* Catalogue::findByCoverPath(std::string_view coverPath) const {
    const auto found = byCoverPath_.find(std::string(coverPath));
    return found == byCoverPath_.end() ? nullptr : &novels_[static_cast<size_t>(found->second)];
}

}  // namespace lumora::demo
