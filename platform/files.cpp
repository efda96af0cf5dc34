#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "core/gbk.h"
#include "core/library_layout.h"
#include "platform/native_file.h"

namespace lumora {

namespace {

std::atomic<bool> renameFailure{false};

bool isSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == kPathSeparator;
#endif
}

bool isReservedDeviceName(std::string_view name) {
    // "nul.txt" and "CON " name the device as well.
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ')
        name.remove_suffix(1);
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    });
    static constexpr std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(plain.begin(), plain.end(), upper) != plain.end())
        return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           upper[3] >= '1' && upper[3] <= '9';
}

// One decoded name between separators. A backslash is refused on Linux as well, so that a title
// never names a different file on Windows than here.
bool isSafeName(std::string_view name) {
    if (name == "." || name == "..")
        return false;
    for (const unsigned char c : name) {
        if (c < 0x20 || c == 0x7F)
            return false;
        if (std::string_view("\\<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return !isReservedDeviceName(name);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a write may only fail there).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

std::int64_t nanoseconds(const struct timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

native::FileStamp stampOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size), nanoseconds(st.st_mtim),
            nanoseconds(st.st_ctim)};
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Creates a fresh temporary file beside the target. A name that is not hidden, so that the cache
// deletion also clears one left behind by a crash; it never matches "*.rar" or "*.ini".
int createTemporary(const std::string& directory, std::string* name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = directory + "~lumora-" + std::to_string(::getpid()) + "-" +
                std::to_string(counter++) + ".tmp";
        const int fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Removes everything below the open directory except names beginning with "."; true when the
// directory is then empty. Works relative to directory descriptors and never follows a link.
bool removeContents(int dirFd) {
    const int listFd = ::dup(dirFd);
    if (listFd < 0)
        return false;
    DirHandle dir(::fdopendir(listFd));
    if (!dir) {
        ::close(listFd);
        return false;
    }
    // Names first, removal after: the listing is not disturbed by the removals.
    std::vector<std::string> names;
    bool empty = true;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (name.starts_with('.')) {
            empty = false;
        } else {
            names.emplace_back(name);
        }
    }
    if (errno != 0)
        return false;
    for (const std::string& name : names) {
        struct stat st;
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            empty = false;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            Fd sub(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!sub.valid() || !removeContents(sub.get()) ||
                ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) != 0) {
                empty = false;
            }
        } else if (::unlinkat(dirFd, name.c_str(), 0) != 0) {
            empty = false;
        }
    }
    return empty;
}

bool isDriveRoot(std::string_view path) {
    const bool letter =
        !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (!letter || path.size() < 2 || path[1] != ':')
        return false;
    return path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'));
}

// Code points of UTF-8 text, for matching a pattern character by character.
std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? c : c & (0x3F >> (length - 1));
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(cp);
        i += length;
    }
    return out;
}

char32_t foldAscii(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

// * matches any run of characters, ? one character; ASCII letters match either case, as file
// names do on the system the library was designed for.
bool matchesPattern(std::u32string_view name, std::u32string_view pattern) {
    size_t n = 0, p = 0;
    size_t starP = std::u32string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == U'?' || foldAscii(pattern[p]) == foldAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u32string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

}  // namespace

namespace native {

FileState fileState(const std::string& path, FileStamp* stamp) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return FileState::missing;
    if (!S_ISREG(st.st_mode))
        return FileState::other;
    if (stamp)
        *stamp = stampOf(st);
    return FileState::regular;
}

std::optional<std::string> readRegularFile(const std::string& path, FileStamp* stamp) {
    // Non-blocking so that a FIFO of that name cannot hang the program; no effect on files.
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    std::string data;
    data.resize(static_cast<size_t>(st.st_size));
    size_t filled = 0;
    for (;;) {
        if (filled == data.size())
            data.resize(data.size() + 65536);  // the file grew
        const ssize_t n = ::read(fd.get(), data.data() + filled, data.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        filled += static_cast<size_t>(n);
    }
    data.resize(filled);
    if (stamp)
        *stamp = stampOf(st);
    return data;
}

bool writeAtomically(const std::string& path, std::string_view data) {
    const size_t slash = path.find_last_of(kPathSeparator);
    const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    if (path.size() == directory.size())
        return false;  // no file name
    struct stat target;
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    if (targetExists && S_ISDIR(target.st_mode))
        return false;

    std::string temporary;
    Fd fd(createTemporary(directory, &temporary));
    if (!fd.valid())
        return false;
    // A replaced file keeps its permissions (the updater's program stays executable).
    bool ok = writeAll(fd.get(), data) &&
              (!targetExists || ::fchmod(fd.get(), target.st_mode & 07777) == 0);
    ok = fd.close() && ok;
    ok = ok && !renameFailure.load() && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

}  // namespace native

std::optional<std::string> nativePath(const ByteText& path) {
    if (path.empty())
        return std::nullopt;
    // Decoded before it is split: 0x5C is also a GBK trail byte.
    std::optional<std::string> decoded = gbkToUtf8(path.bytes());
    if (!decoded)
        return std::nullopt;
    const std::string_view whole = *decoded;
    size_t begin = 0;
    while (begin <= whole.size()) {
        size_t end = begin;
        while (end < whole.size() && !isSeparator(whole[end]))
            ++end;
        const std::string_view name = whole.substr(begin, end - begin);
        if (!name.empty() && !isSafeName(name))
            return std::nullopt;
        begin = end + 1;
    }
    return decoded;
}

bool createDirectory(const ByteText& path) {
    const auto native = nativePath(path);
    return native && ::mkdir(native->c_str(), 0777) == 0;
}

bool deleteDirectory(const ByteText& path) {
    std::string_view bytes = path.bytes();
    bytes.remove_prefix(std::min(bytes.find_first_not_of(' '), bytes.size()));
    if (bytes.empty() || isDriveRoot(bytes))
        return false;
    auto native = nativePath(ByteText(bytes));
    if (!native)
        return false;
    // Without trailing separators the last name is opened without following a link: "link/"
    // would otherwise lead into whatever the link points at.
    while (!native->empty() && isSeparator(native->back()))
        native->pop_back();
    if (native->empty())
        return false;  // the root
    if (char* real = ::realpath(native->c_str(), nullptr)) {
        const bool root = std::string_view(real) == "/";
        std::free(real);
        if (root)
            return false;
    }
    Fd dir(::open(native->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir.valid())
        return false;
    return removeContents(dir.get()) && ::rmdir(native->c_str()) == 0;
}

bool writeFile(const ByteText& path, const ByteData& data) {
    const auto native = nativePath(path);
    return native && native::writeAtomically(*native, data);
}

ByteData readFile(const ByteText& path) {
    const auto native = nativePath(path);
    if (!native)
        return {};
    return native::readRegularFile(*native).value_or(ByteData());
}

int fileSize(const ByteText& path) {
    const auto native = nativePath(path);
    struct stat st;
    if (!native || ::stat(native->c_str(), &st) != 0)
        return -1;
    if (!S_ISREG(st.st_mode))
        return 0;
    return static_cast<int>(std::min<off_t>(st.st_size, INT_MAX));
}

bool fileExists(const ByteText& path) {
    const auto native = nativePath(path);
    struct stat st;
    return native && ::stat(native->c_str(), &st) == 0;
}

std::vector<ByteText> listFiles(const ByteText& directory, const ByteText& pattern) {
    const auto native = nativePath(directory);
    const auto decodedPattern = gbkToUtf8(pattern.bytes());
    if (!native || !decodedPattern)
        return {};
    const std::u32string wanted = codePoints(*decodedPattern);
    DirHandle dir(::opendir(native->c_str()));
    if (!dir)
        return {};
    std::vector<ByteText> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        struct stat st;
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (!matchesPattern(codePoints(name), wanted))
            continue;
        if (auto gbkName = utf8ToGbk(name))
            names.emplace_back(*gbkName);
    }
    return names;
}

namespace testing {
void setRenameFailure(bool fail) {
    renameFailure = fail;
}
}  // namespace testing

}  // namespace lumora
