#pragma once

// Modal message boxes with the caption "信息：", in the styles of platform/message_styles.h.

#include <functional>

#include "core/byte_text.h"
#include "platform/message_styles.h"

namespace lumora {

int messageBox(const ByteText& text, int style);

// Tests answer the boxes instead of a person: the answerer gets the text and style and returns
// the answer. An empty function restores the real boxes.
using MessageBoxAnswerer = std::function<int(const ByteText& text, int style)>;
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);

}  // namespace lumora
