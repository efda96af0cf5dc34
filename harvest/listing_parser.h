#pragma once

// Cuts a listing page into novel records with the site's marker texts. The parser object holds
// the working texts (list text, current block, rest, current title), which persist from block to
// block and page to page as long as the object lives.

#include <functional>

#include "core/byte_text.h"
#include "core/library_layout.h"
#include "core/site_profile.h"

namespace lumora {

struct NovelRecord {
    ByteText stem;  // last segment of the novel's link path; names the archive and text page
    ByteText title;
    ByteText author;
    ByteText synopsis;
    ByteText coverUrl;
    ByteText textPageUrl;
    ByteText archiveUrl;
};

// A batch-edition page holds at most this many novels that are looked at.
inline constexpr int kBatchBlockLimit = 20;

class ListingParser {
public:
    explicit ListingParser(const SiteProfile& profile) : profile_(profile) {}

    const SiteProfile& profile() const { return profile_; }
    const ByteText& listText() const { return listText_; }
    const ByteText& currentBlock() const { return currentBlock_; }
    const ByteText& rest() const { return rest_; }
    const ByteText& currentTitle() const { return currentTitle_; }

    // Cuts a block into a record and makes its title the current title.
    NovelRecord extractNovel(const ByteText& block);

    // The list text becomes the page's novel list: after the list head, up to and including the
    // first byte of the kind's list tail.
    void cutList(const ByteText& pageText, CategoryKind kind);

    // The shared block loop: the first block of the list text, then for at most blockLimit
    // blocks: hand the block on (the handler sets the current title, normally through
    // extractNovel), stop when the current title is empty, take the next block, pause.
    void walkBlocks(int blockLimit, const std::function<void(const ByteText& block)>& onBlock,
                    const std::function<void()>& pause);

private:
    // The block before the first novel tail of source; the rest after it.
    void takeBlockFrom(const ByteText& source);

    const SiteProfile& profile_;
    ByteText listText_;
    ByteText currentBlock_;
    ByteText rest_;
    ByteText currentTitle_;
};

using RecordConsumer = std::function<void(const NovelRecord&)>;
using PauseFunction = std::function<void()>;

// Walks a page's text: every record (at most 20, the final empty one included) goes to consume,
// with a pause after each block that did not end the page.
void walkPageText(ListingParser& parser, const ByteText& pageText, CategoryKind kind,
                  const RecordConsumer& consume, const PauseFunction& pause);

// Walks the cached listing page of a category's page number (a missing page gives one empty
// record).
void walkPage(ListingParser& parser, const LibraryLayout& layout, CategoryKind kind,
              const ByteText& category, int page, const RecordConsumer& consume,
              const PauseFunction& pause);

}  // namespace lumora
