#pragma once

// GBK text at the edge of the widgets: shown as QString, read back as GBK.

#include <QString>

#include "core/byte_text.h"

namespace lumora {

// Bytes that are not GBK show as U+FFFD.
QString toQString(const ByteText& text);
// Characters that GBK cannot hold become '?'.
ByteText toByteText(const QString& text);

}  // namespace lumora
