#pragma once

// Opens a file, program or URL: an executable file starts as a detached process, anything else
// goes to the desktop's default handler. The result is not reported.

#include <functional>

#include "core/byte_text.h"

namespace lumora {

void shellOpen(const ByteText& target);

// Tests see what would be opened instead of starting it. An empty function restores the real
// behaviour.
using ShellOpenHandler = std::function<void(const ByteText& target)>;
void setShellOpenHandler(ShellOpenHandler handler);

}  // namespace lumora
