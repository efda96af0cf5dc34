#pragma once

// Modal message boxes with the caption "信息：". Styles: 0 OK; 1 OK and Cancel; 33 OK and Cancel
// with the question icon; 64 OK with the information icon. The answer is 0 for OK and 1 for
// Cancel or for closing the box.

#include <functional>

#include "core/byte_text.h"

namespace lumora {

inline constexpr int kMessageOk = 0;
inline constexpr int kMessageOkCancel = 1;
inline constexpr int kMessageQuestion = 33;
inline constexpr int kMessageInformation = 64;

inline constexpr int kAnswerOk = 0;
inline constexpr int kAnswerCancel = 1;

int messageBox(const ByteText& text, int style);

// Tests answer the boxes instead of a person: the answerer gets the text and style and returns
// the answer. An empty function restores the real boxes.
using MessageBoxAnswerer = std::function<int(const ByteText& text, int style)>;
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);

}  // namespace lumora
