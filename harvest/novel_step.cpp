#include "harvest/novel_step.h"

#include "core/gbk.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace lumora {

namespace {

bool isPresent(const HarvestSettings& settings, int archiveSize) {
    if (settings.kind == CategoryKind::finished)
        return archiveSize > kFinishedArchivePresent;
    return archiveSize > kOngoingArchivePresent && !settings.overwrite;
}

// A failed request never replaces what was downloaded before, and a body that broke off is
// never stored: a cut archive could otherwise pass the size test of a later run.
void keepOrReplace(const ByteText& path, const HttpResponse& fetched) {
    if (fetched.succeeded()) {
        writeFile(path, fetched.body);
    } else if (!fileExists(path)) {
        writeFile(path, fetched.complete ? fetched.body : ByteData());
    }
}

void download(HarvestContext& run, const NovelRecord& record, const ByteText& archive) {
    if (!record.stem.empty()) {
        writeFile(run.layout.cachedTextPage(record.title), run.fetch(record.textPageUrl).body);
        const ByteText cover = run.layout.cover(record.title);
        for (int attempt = 0; attempt < kCoverAttempts && fileSize(cover) <= kCoverFetched;
             ++attempt) {
            keepOrReplace(cover, run.fetch(record.coverUrl));
        }
    }
    keepOrReplace(archive, run.fetch(record.archiveUrl));
}

}  // namespace

ByteText progressText(const NovelRecord& record, const ByteText& archiveSizeKb,
                      const HarvestCounters& counters, CategoryKind kind,
                      const ByteText& category) {
    const ByteText kindLabel = kind == CategoryKind::finished
                                   ? gbk("已完结的") + category
                                   : gbk("连载中的") + category + gbk("小说");
    return gbk("标题：") + record.title + gbk(" \r\n作者：") + record.author +
           gbk("\r\n压缩文件大小：") + archiveSizeKb + gbk("KB\r\n简介：") + record.synopsis +
           gbk("\r\n\r\n               共采集") +
           toText(counters.collectedCount + counters.presentCount) + gbk("篇小说，其中已存在") +
           toText(counters.presentCount) + gbk("篇小说，本次成功采集") +
           toText(counters.collectedCount) + gbk("篇小说！  正在采集") + kindLabel +
           ByteText("...");
}

void harvestNovel(HarvestContext& run, const NovelRecord& record) {
    const HarvestSettings& settings = run.settings;
    const ByteText& category = settings.category.name;
    const ByteText archive = run.layout.archive(settings.kind, category, record.title);

    const bool present = isPresent(settings, fileSize(archive));
    if (present)
        ++run.counters.presentCount;
    if (record.title.empty() || record.synopsis.empty())
        return;
    if (!present)
        download(run, record, archive);
    const ByteText archiveSizeText = toText(roundNumber(fileSize(archive), 0));

    writeFile(run.layout.synopsisFile(settings.kind, category, record.title),
              toBytes(record.synopsis));
    iniWrite(run.layout.novelRecord(settings.kind, category, record.title), record.title,
             LibraryLayout::authorKey(), record.author);
    iniWrite(run.layout.libraryIndex(), LibraryLayout::indexSection(), record.title, archive);
    if (!present)
        ++run.counters.collectedCount;

    const ByteText sizeKb = toText(roundNumber(toNumber(archiveSizeText) / 1000, 0));
    run.view.setProgressText(progressText(record, sizeKb, run.counters, settings.kind, category));
    run.view.pause(settings.responseDelay);
}

}  // namespace lumora
