#pragma once

// The cut steps that take a listing page apart: plain byte-text searches from the first byte,
// with the results the byte-text rules give when the marker is absent (position -1).

#include "core/byte_text.h"

namespace lumora {

// The bytes before m; empty when m is absent.
ByteText textBefore(const ByteText& t, const ByteText& m);
// The bytes after m; t less its first length(m) - 2 bytes when m is absent.
ByteText textAfter(const ByteText& t, const ByteText& m);
// The bytes after m less the one byte that follows it; t less length(m) - 1 bytes when absent.
ByteText textBeyond(const ByteText& t, const ByteText& m);
// The bytes before m and the first byte of m; empty when m is absent.
ByteText textToMarker(const ByteText& t, const ByteText& m);
// The bytes after the last s; all of t when s is absent.
ByteText textAfterLast(const ByteText& t, const ByteText& s);

}  // namespace lumora
