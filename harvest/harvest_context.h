#pragma once

// What one harvest run works with: the run's settings as the main window held them when it
// started, the counters that live as long as the program, and the engine's only ways out to the
// windows and the network.

#include <functional>

#include "core/byte_text.h"
#include "core/library_layout.h"
#include "core/site_profile.h"
#include "platform/http.h"

namespace lumora {

struct HarvestCounters {
    int presentCount = 0;    // found present and not downloaded again
    int collectedCount = 0;  // went through the download path
};

// The engine's way to the network: httpFetch, or the windows' blocking fetch.
using Fetch = std::function<HttpResponse(const ByteText& url)>;

// The windows as the engine sees them.
class HarvestView {
public:
    virtual ~HarvestView() = default;
    // The page box, which counts down during the listing fetch.
    virtual ByteText pageBoxText() const = 0;
    virtual void setPageBoxText(const ByteText& text) = 0;
    virtual void setProgressText(const ByteText& text) = 0;
    // Lets the windows breathe for ms milliseconds (nothing for 0 or less).
    virtual void pause(int ms) = 0;
};

struct HarvestSettings {
    CategoryKind kind = CategoryKind::finished;
    Category category;      // display name and listing URL prefix
    bool overwrite = true;  // download ongoing novels again even when present
    int responseDelay = 1;  // milliseconds of every pause
};

struct HarvestContext {
    const SiteProfile& profile;
    const LibraryLayout& layout;
    const HarvestSettings& settings;
    HarvestCounters& counters;
    const Fetch& fetch;
    HarvestView& view;
};

}  // namespace lumora
