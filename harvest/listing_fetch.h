#pragma once

#include "harvest/harvest_context.h"

namespace lumora {

// A listing page this short holds no novel list and ends the fetch.
inline constexpr int kShortListingPage = 3000;

// Fetches listing pages 1 to the page box's number into the cache, counting the page box down,
// and stops after the first short page. Returns the page count the run walks.
int fetchListing(HarvestContext& run);

}  // namespace lumora
