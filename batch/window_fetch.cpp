#include "batch/window_fetch.h"

#include "platform/desktop/blocking_fetch.h"

namespace lumora {

FetchResult windowFetch(const ByteText& url) {
    HttpResponse response = fetchBlocking(url);
    return {std::move(response.body), response.status, response.complete};
}

}  // namespace lumora
