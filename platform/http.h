#pragma once

// HTTP GET for the programs: the body whatever the status, the bytes received so far when the
// transfer breaks off, empty data when nothing could be read. Never throws.

#include "core/byte_text.h"

namespace lumora {

struct HttpLimits {
    long connectTimeoutMs = 15000;  // giving up on a host that does not accept
    long lowSpeedBytes = 1;         // a transfer slower than this many bytes per second ...
    long lowSpeedSeconds = 60;      // ... for this long has stalled and ends
};

ByteData httpGet(const ByteText& url, const HttpLimits& limits = HttpLimits());

}  // namespace lumora
