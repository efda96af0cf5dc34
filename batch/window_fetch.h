#pragma once

#include "harvest/harvest_context.h"

namespace lumora {

// The windows' fetch: blocks its caller while the windows repaint.
FetchResult windowFetch(const ByteText& url);

}  // namespace lumora
