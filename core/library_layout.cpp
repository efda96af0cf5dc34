#include "core/library_layout.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/gbk.h"

namespace lumora {

namespace {

const ByteText kSeparator(std::string_view(&kPathSeparator, 1));

// Joins UTF-8 path pieces written with '/' into GBK with the platform's separator.
ByteText relativePath(std::string_view utf8) {
    std::string native(utf8);
    std::replace(native.begin(), native.end(), '/', kPathSeparator);
    return gbk(native);
}

bool isReservedDeviceName(std::string name) {
    const size_t dot = name.find('.');
    if (dot != std::string::npos)
        name.resize(dot);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(plain.begin(), plain.end(), name) != plain.end())
        return true;
    return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

}  // namespace

ByteText programFileName(const ByteText& windowsName) {
#ifdef _WIN32
    return windowsName;
#else
    const ByteText exe(".exe");
    if (textRight(windowsName, 4) == exe)
        return textLeft(windowsName, textLength(windowsName) - 4);
    return windowsName;
#endif
}

bool isSafeFileName(const ByteText& name) {
    // Decoded first: 0x5C is also a GBK trail byte (乗 is 81 5C), only a decoded '\' separates.
    const auto decoded = gbkToUtf8(name.bytes());
    if (!decoded || decoded->empty() || *decoded == "." || *decoded == "..")
        return false;
    for (const unsigned char c : *decoded) {
        if (c < 0x20 || c == 0x7F)
            return false;
        if (std::string_view("/\\<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return !isReservedDeviceName(*decoded);
}

ByteText synopsisFromFile(std::string_view data) {
    size_t end = 0;
    while (end < data.size()) {
        const auto c = static_cast<unsigned char>(data[end]);
        if (c == 0 || c == 0x1A)
            break;
        if (c >= 0x80 && end + 1 < data.size() && data[end + 1] != '\0') {
            end += 2;
        } else {
            end += 1;
        }
    }
    return ByteText(data.substr(0, std::min(end, data.size())));
}

ByteText LibraryLayout::under(std::string_view utf8Relative) const {
    return runDirectory_ + kSeparator + relativePath(utf8Relative);
}

ByteText LibraryLayout::titled(const ByteText& dir, const ByteText& title,
                               std::string_view suffix) const {
    if (!isSafeFileName(title))
        return {};
    return dir + kSeparator + title + gbk(suffix);
}

ByteText LibraryLayout::cacheDir() const {
    return under("缓存");
}

ByteText LibraryLayout::listingPage(const ByteText& category, int page) const {
    return cacheDir() + kSeparator + category + kSeparator + toText(page) + ByteText(".html");
}

ByteText LibraryLayout::singleListingPage(const ByteText& category, int page) const {
    return cacheDir() + kSeparator + category + toText(page) + ByteText(".html");
}

ByteText LibraryLayout::kindDir(CategoryKind kind, const ByteText& category) {
    return kindWord(kind) + kSeparator + category;
}

ByteText LibraryLayout::archiveDir(CategoryKind kind, const ByteText& category) const {
    return under("小说") + kSeparator + kindDir(kind, category);
}

ByteText LibraryLayout::coverDir() const {
    return under("小说/jpg");
}

ByteText LibraryLayout::libraryIndex() const {
    return under("小说/ini/小说.ini");
}

ByteText LibraryLayout::cachedTextPage(const ByteText& title) const {
    return titled(cacheDir(), title, "下载页.html");
}

ByteText LibraryLayout::archive(CategoryKind kind, const ByteText& category,
                                const ByteText& title) const {
    return titled(archiveDir(kind, category), title, ".rar");
}

ByteText LibraryLayout::cover(const ByteText& title) const {
    return titled(coverDir(), title, ".jpg");
}

ByteText LibraryLayout::synopsisFile(CategoryKind kind, const ByteText& category,
                                     const ByteText& title) const {
    return titled(under("小说/ini") + kSeparator + kindDir(kind, category), title, "简介.ini");
}

ByteText LibraryLayout::novelRecord(CategoryKind kind, const ByteText& category,
                                    const ByteText& title) const {
    return titled(under("小说/ini") + kSeparator + kindDir(kind, category), title, ".ini");
}

ByteText LibraryLayout::updaterProgram() const {
    return runDirectory_ + kSeparator + programFileName(gbk("Lumora-更新.exe"));
}

ByteText LibraryLayout::batchProgram() const {
    return runDirectory_ + kSeparator + programFileName(gbk("Lumora.exe"));
}

ByteText LibraryLayout::singleBookProgram() const {
    return runDirectory_ + ByteText("/") + programFileName(gbk("Lumora-单本版.exe"));
}

std::vector<ByteText> LibraryLayout::setupDirectories(const SiteProfile& profile) const {
    std::vector<ByteText> dirs = {
        under("缓存"),        under("小说"),      under("小说/jpg"),      under("小说/ini"),
        under("小说/连载中"), under("小说/完本"), under("小说/ini/完本"), under("小说/ini/连载中"),
    };
    for (int i = 0;; ++i) {
        const ByteText finished = profile.category(CategoryKind::finished, i).name;
        if (finished.empty())
            break;
        const ByteText ongoing = profile.category(CategoryKind::ongoing, i).name;
        dirs.push_back(under("小说/连载中") + kSeparator + ongoing);
        dirs.push_back(under("小说/完本") + kSeparator + finished);
        dirs.push_back(under("小说/ini/完本") + kSeparator + finished);
        dirs.push_back(under("小说/ini/连载中") + kSeparator + ongoing);
        dirs.push_back(under("缓存") + kSeparator + finished);
        dirs.push_back(under("缓存") + kSeparator + ongoing);
    }
    return dirs;
}

ByteText LibraryLayout::authorKey() {
    return gbk("作者");
}
ByteText LibraryLayout::indexSection() {
    return gbk("小说");
}

}  // namespace lumora
