#pragma once

// The fetch of the windows: the request blocks its caller as designed (no handler of ours runs
// until it ends), but the transfer runs on a worker thread while this thread goes on handling
// everything except user input, so the windows repaint.

#include "core/byte_text.h"
#include "platform/http.h"

namespace lumora {

HttpResponse fetchBlocking(const ByteText& url);

}  // namespace lumora
