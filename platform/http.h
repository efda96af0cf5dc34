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

struct HttpResponse {
    ByteData body;
    int status = 0;         // 0 when no response came
    bool complete = false;  // the transfer ended normally rather than breaking off

    // A whole, non-empty body with a success status: fit to replace an earlier download.
    bool succeeded() const { return complete && !body.empty() && status >= 200 && status < 300; }
};

// The body with what the caller needs to judge it.
// The limits of requests that name none; tests of whole programs shorten them.
const HttpLimits& defaultHttpLimits();
void setDefaultHttpLimits(const HttpLimits& limits);

HttpResponse httpFetch(const ByteText& url, const HttpLimits& limits = defaultHttpLimits());
ByteData httpGet(const ByteText& url, const HttpLimits& limits = defaultHttpLimits());

}  // namespace lumora
