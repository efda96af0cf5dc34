#pragma once

// Native (already decoded) file primitives shared by the file and INI operations of platform/.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::native {

// What identifies one version of a file: a replacement changes the inode, an edit in place the
// size or the times.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

enum class FileState { regular, missing, other };

// The state of the file a path names (symbolic links followed); the stamp for a regular file.
FileState fileState(const std::string& path, FileStamp* stamp = nullptr);

// The whole content of a regular file and the stamp of the very file read; nothing when the path
// names no readable regular file.
std::optional<std::string> readRegularFile(const std::string& path, FileStamp* stamp = nullptr);

// Writes data to a temporary file in the target's directory and renames it over the target. On
// any failure the temporary file is removed and the target is left as it was.
bool writeAtomically(const std::string& path, std::string_view data);

}  // namespace lumora::native
