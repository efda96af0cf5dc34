#pragma once

#include "core/byte_text.h"

namespace lumora {

// Lets a downloaded program be started: on Linux a file needs its execute bits.
bool makeExecutable(const ByteText& path);

}  // namespace lumora
