#include "platform/executable_file.h"

#include <filesystem>
#include <system_error>

#include "platform/files.h"

namespace lumora {

bool makeExecutable(const ByteText& path) {
    const auto native = nativePath(path);
    if (!native)
        return false;
    std::error_code error;
    using std::filesystem::perms;
    std::filesystem::permissions(*native,
                                 perms::owner_exec | perms::group_exec | perms::others_exec,
                                 std::filesystem::perm_options::add, error);
    return !error;
}

}  // namespace lumora
