#pragma once

// Every directory and file the programs keep under their run directory, the order in which a
// harvest creates the tree, and the formats of the record files. Pure names: no I/O here.

#include <string_view>
#include <vector>

#include "core/byte_text.h"
#include "core/site_profile.h"

namespace lumora {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A program's file name for this platform from its Windows name ("Lumora-更新.exe").
ByteText programFileName(const ByteText& windowsName);

// A title may name a file only when it stays inside its directory: no separator, no control
// byte, none of <>:"|?*, not "." or "..", no reserved device name, and valid GBK.
bool isSafeFileName(const ByteText& name);

// The synopsis file read back as text: up to the first zero byte or the first 0x1A byte that is
// not the trail byte of a double-byte character.
ByteText synopsisFromFile(std::string_view data);

class LibraryLayout {
public:
    explicit LibraryLayout(ByteText runDirectory) : runDirectory_(std::move(runDirectory)) {}

    const ByteText& runDirectory() const { return runDirectory_; }

    ByteText cacheDir() const;
    // Batch edition: 缓存/<category>/<n>.html
    ByteText listingPage(const ByteText& category, int page) const;
    // Single-book edition: 缓存/<category><n>.html
    ByteText singleListingPage(const ByteText& category, int page) const;

    // "完本/<category>" or "连载中/<category>"
    static ByteText kindDir(CategoryKind kind, const ByteText& category);
    ByteText archiveDir(CategoryKind kind, const ByteText& category) const;
    ByteText coverDir() const;
    ByteText libraryIndex() const;

    // Paths named by a title; the empty path when the title cannot safely name a file, so that
    // every file operation on it fails.
    ByteText cachedTextPage(const ByteText& title) const;
    ByteText archive(CategoryKind kind, const ByteText& category, const ByteText& title) const;
    ByteText cover(const ByteText& title) const;
    ByteText synopsisFile(CategoryKind kind, const ByteText& category, const ByteText& title) const;
    ByteText novelRecord(CategoryKind kind, const ByteText& category, const ByteText& title) const;

    ByteText updaterProgram() const;
    ByteText batchProgram() const;
    // Joined with a forward slash on every platform.
    ByteText singleBookProgram() const;

    // The directories a harvest creates, in creation order.
    std::vector<ByteText> setupDirectories(const SiteProfile& profile) const;

    // Record formats: the novel record's key and the library index's one section.
    static ByteText authorKey();
    static ByteText indexSection();

private:
    ByteText under(std::string_view utf8Relative) const;
    ByteText titled(const ByteText& dir, const ByteText& title, std::string_view suffix) const;

    ByteText runDirectory_;
};

}  // namespace lumora
