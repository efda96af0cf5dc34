#include "harvest/listing_fetch.h"

#include "platform/files.h"

namespace lumora {

int fetchListing(HarvestContext& run) {
    const int pageCount = toInt(toNumber(run.view.pageBoxText()));
    for (int page = 1; page <= pageCount; ++page) {
        const ByteText url = SiteProfile::listingUrl(run.settings.category.listingPrefix, page);
        const ByteText cacheFile = run.layout.listingPage(run.settings.category.name, page);
        writeFile(cacheFile, run.fetch(url).body);
        run.view.setPageBoxText(toText(toNumber(run.view.pageBoxText()) - 1));
        if (fileSize(cacheFile) < kShortListingPage)
            break;
        run.view.pause(run.settings.responseDelay);
    }
    return pageCount;
}

}  // namespace lumora
