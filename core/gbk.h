#pragma once

// The one GBK (code page 936) codec of the programs, built on iconv.

#include <optional>
#include <string>
#include <string_view>

#include "core/byte_text.h"

namespace lumora {

// Strict: a byte sequence that is not GBK gives no result (used for file names).
std::optional<std::string> gbkToUtf8(std::string_view gbk);
// Lenient: every bad sequence becomes U+FFFD (used for display).
std::string gbkToUtf8Lenient(std::string_view gbk);
// Strict: a character GBK cannot hold gives no result.
std::optional<std::string> utf8ToGbk(std::string_view utf8);

// A GBK constant from a UTF-8 literal; the empty text when the literal has no GBK form.
ByteText gbk(std::string_view utf8);

}  // namespace lumora
