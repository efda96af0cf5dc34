#pragma once

// Windows profile (INI) files in GBK: read and written with the behaviour that files written by
// Windows programs rely on. Parsed content is cached while the file is unchanged.

#include "core/byte_text.h"

namespace lumora {

// Sets key to value in the section, creating the file and the section when they are missing.
// The file is rewritten atomically; everything else in it is kept byte for byte.
void iniWrite(const ByteText& file, const ByteText& section, const ByteText& key,
              const ByteText& value);
// The key's value, or the default when the file, section or key is missing.
ByteText iniRead(const ByteText& file, const ByteText& section, const ByteText& key,
                 const ByteText& defaultValue = ByteText());

}  // namespace lumora
