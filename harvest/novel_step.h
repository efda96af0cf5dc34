#pragma once

#include "harvest/harvest_context.h"
#include "harvest/listing_parser.h"

namespace lumora {

// An archive larger than this counts as present: finished novels and ongoing ones.
inline constexpr int kFinishedArchivePresent = 30000;
inline constexpr int kOngoingArchivePresent = 300000;
// A cover larger than this counts as fetched.
inline constexpr int kCoverFetched = 2000;
// Cover requests per novel before the step goes on to the archive.
inline constexpr int kCoverAttempts = 3;

// One novel of a listing page: decides by the archive's size whether it is present, downloads
// what is missing, writes the synopsis, the novel record and the library index entry, counts it
// and shows the progress text.
void harvestNovel(HarvestContext& run, const NovelRecord& record);

// The progress window's text after a novel.
ByteText progressText(const NovelRecord& record, const ByteText& archiveSizeKb,
                      const HarvestCounters& counters, CategoryKind kind, const ByteText& category);

}  // namespace lumora
