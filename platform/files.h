#pragma once

// File operations on GBK paths. A path is decoded to a native name, never cut as bytes; a path
// that does not decode, or that holds an unsafe name, names no file. Nothing here throws: failure
// is false, -1 or empty data.

#include <optional>
#include <string>
#include <vector>

#include "core/byte_text.h"

namespace lumora {

// The native (UTF-8 on Linux) name of a GBK path; nothing when it does not decode or when one of
// its names is unsafe ("." or "..", a control byte, one of \<>:"|?*, a reserved device name).
std::optional<std::string> nativePath(const ByteText& path);

// Creates exactly the last level of the path; false when it exists or its parent does not.
bool createDirectory(const ByteText& path);
// Removes the directory with everything below it. Leading spaces of the path are ignored; an
// empty path and a file-system root are refused. Entries whose names begin with "." stay, and
// so does every directory that still holds one.
bool deleteDirectory(const ByteText& path);
// Writes all bytes through a temporary file in the same directory renamed over the target, so
// that a crash never leaves a cut file behind.
bool writeFile(const ByteText& path, const ByteData& data);
// The whole file; empty when it is missing or unreadable.
ByteData readFile(const ByteText& path);
// Size in bytes; -1 when no file or directory of that name exists.
int fileSize(const ByteText& path);
bool fileExists(const ByteText& path);
// The GBK names of the directory's files (no directories) that match a pattern with * and ?,
// in the order the directory listing gives them. Names that have no GBK form are left out.
std::vector<ByteText> listFiles(const ByteText& directory, const ByteText& pattern);

namespace testing {
// Makes the rename that ends every atomic write fail, as a crash before it would.
void setRenameFailure(bool fail);
}  // namespace testing

}  // namespace lumora
