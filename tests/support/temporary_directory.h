#pragma once

// A fresh directory for one test, removed with everything in it when the object goes.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "core/gbk.h"

namespace lumora::fixture {

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lumora-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    // Empty when the directory could not be made.
    const std::string& path() const { return path_; }
    // A native (UTF-8) path inside the directory, and the same path as GBK text.
    std::string native(std::string_view relative) const {
        return path_ + "/" + std::string(relative);
    }
    ByteText at(std::string_view utf8Relative) const { return gbk(native(utf8Relative)); }

private:
    std::string path_;
};

}  // namespace lumora::fixture
