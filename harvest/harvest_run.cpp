#include "harvest/harvest_run.h"

#include "core/gbk.h"
#include "harvest/listing_fetch.h"
#include "harvest/listing_parser.h"
#include "harvest/novel_step.h"
#include "platform/files.h"

namespace lumora {

void setUpLibrary(const LibraryLayout& layout, const SiteProfile& profile) {
    for (const ByteText& dir : layout.setupDirectories(profile))
        createDirectory(dir);
}

void harvestCategory(HarvestContext& run) {
    const int pageCount = fetchListing(run);
    // A fresh parser per run: every run starts with empty working texts.
    ListingParser parser(run.profile);
    const auto pause = [&] { run.view.pause(run.settings.responseDelay); };
    pause();
    // Every page number is walked, also those after a short page: they have no cache file.
    for (int page = 1; page <= pageCount; ++page) {
        walkPage(
            parser, run.layout, run.settings.kind, run.settings.category.name, page,
            [&](const NovelRecord& record) { harvestNovel(run, record); }, pause);
    }
}

ByteText summaryMessage(const HarvestCounters& counters) {
    return gbk("采集完成，共采集") + toText(counters.collectedCount + counters.presentCount) +
           gbk("篇小说，其中已存在") + toText(counters.presentCount) + gbk("篇小说，本次成功采集") +
           toText(counters.collectedCount) + gbk("篇小说！是否查看文件？");
}

RunEnd runHarvest(HarvestContext& run, HarvestWindows& windows) {
    setUpLibrary(run.layout, run.profile);
    if (run.settings.category.name.empty()) {
        windows.ask(gbk("小说种类还未选择"), kMessageOk);
        return RunEnd::noCategory;
    }
    windows.hideMainWindow();
    windows.showProgressWindow();
    harvestCategory(run);
    if (windows.ask(summaryMessage(run.counters), kMessageQuestion) != kAnswerOk) {
        deleteDirectory(run.layout.cacheDir());
        windows.endProgram(0);
        return RunEnd::cancelled;
    }
    windows.handOverToLibraryBrowser();
    return RunEnd::handedOver;
}

}  // namespace lumora
