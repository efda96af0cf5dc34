#pragma once

#include "harvest/harvest_context.h"
#include "platform/message_styles.h"

namespace lumora {

// Creates the cache and library tree; directories that exist already are left as they are.
void setUpLibrary(const LibraryLayout& layout, const SiteProfile& profile);

// One category's harvest up to its summary: fetches the listing pages, pauses, then walks every
// page number from 1 to the page count, harvesting each novel.
void harvestCategory(HarvestContext& run);

// The end-of-run question.
ByteText summaryMessage(const HarvestCounters& counters);

// The windows a whole run goes through, as the engine sees them.
class HarvestWindows : public HarvestView {
public:
    virtual void hideMainWindow() = 0;
    virtual void showProgressWindow() = 0;
    // A modal message box; returns kAnswerOk for OK.
    virtual int ask(const ByteText& text, int style) = 0;
    virtual void endProgram(int exitCode) = 0;
    // OK on the summary: the library browser takes over from the run's windows.
    virtual void handOverToLibraryBrowser() = 0;
};

enum class RunEnd { noCategory, cancelled, handedOver };

// The harvest button: sets up the library, refuses a run without a category, harvests the
// category with the progress window showing, and ends with the summary question.
RunEnd runHarvest(HarvestContext& run, HarvestWindows& windows);

}  // namespace lumora
