#pragma once

#include "harvest/harvest_context.h"

namespace lumora {

// Creates the cache and library tree; directories that exist already are left as they are.
void setUpLibrary(const LibraryLayout& layout, const SiteProfile& profile);

// One category's harvest up to its summary: fetches the listing pages, pauses, then walks every
// page number from 1 to the page count, harvesting each novel.
void harvestCategory(HarvestContext& run);

// The end-of-run question.
ByteText summaryMessage(const HarvestCounters& counters);

}  // namespace lumora
