#pragma once

// The directory of the running program's file, which every program makes its current directory
// at start. Library code takes the run directory from its caller, so tests can use their own.

#include "core/byte_text.h"

namespace lumora {

// Needs the QApplication; the directory as GBK, without a trailing separator.
ByteText programRunDirectory();
// Makes the program's directory the current directory and returns it.
ByteText enterRunDirectory();

}  // namespace lumora
