#include "harvest/listing_parser.h"

#include "harvest/cut_steps.h"
#include "platform/files.h"

namespace lumora {

NovelRecord ListingParser::extractNovel(const ByteText& block) {
    const Markers& m = profile_.markers();
    NovelRecord record;
    record.stem = textAfterLast(textBefore(block, m.serialTail), ByteText("/"));
    // The title ends one byte before the title tail: the count is the position minus 2.
    const ByteText titleCandidate = textLeft(block, toInt(textFind(block, m.titleTail) - 2.0));
    record.title = textAfter(titleCandidate, m.titleHead);
    currentTitle_ = record.title;
    record.author = textAfter(textBefore(block, m.authorTail), m.authorHead);
    record.synopsis = textAfter(block, m.synopsisHead);
    record.coverUrl = profile_.coverUrl(textAfter(textBefore(block, m.pictureTail), m.pictureHead));
    record.textPageUrl = profile_.textPageUrl(record.stem);
    record.archiveUrl = profile_.archiveUrl(record.stem);
    return record;
}

void ListingParser::cutList(const ByteText& pageText, CategoryKind kind) {
    listText_ = textBeyond(pageText, profile_.markers().listHead);
    listText_ = textToMarker(listText_, profile_.listTail(kind));
}

void ListingParser::takeBlockFrom(const ByteText& source) {
    const ByteText& novelTail = profile_.markers().novelTail;
    currentBlock_ = textBefore(source, novelTail);
    // The rest is measured with the block's length before its head is cut off.
    rest_ = textRight(source, toInt(double(textLength(source)) - textLength(currentBlock_) -
                                    textLength(novelTail)));
    currentBlock_ = textBeyond(currentBlock_, profile_.markers().novelHead);
}

void ListingParser::walkBlocks(int blockLimit,
                               const std::function<void(const ByteText& block)>& onBlock,
                               const std::function<void()>& pause) {
    takeBlockFrom(listText_);
    for (int i = 1; i <= blockLimit; ++i) {
        onBlock(currentBlock_);
        if (currentTitle_.empty())
            return;
        takeBlockFrom(rest_);
        pause();
    }
}

void walkPageText(ListingParser& parser, const ByteText& pageText, CategoryKind kind,
                  const RecordConsumer& consume, const PauseFunction& pause) {
    parser.cutList(pageText, kind);
    parser.walkBlocks(
        kBatchBlockLimit, [&](const ByteText& block) { consume(parser.extractNovel(block)); },
        pause);
}

void walkPage(ListingParser& parser, const LibraryLayout& layout, CategoryKind kind,
              const ByteText& category, int page, const RecordConsumer& consume,
              const PauseFunction& pause) {
    const ByteText pageText = textOf(readFile(layout.listingPage(category, page)));
    walkPageText(parser, pageText, kind, consume, pause);
}

}  // namespace lumora
