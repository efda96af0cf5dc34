#include "platform/http.h"

#include <curl/curl.h>

#include <cstddef>
#include <memory>

namespace lumora {
namespace {

// curl_global_init is not safe to race with itself or with the first easy handles; a
// function-local static runs it exactly once, whichever thread asks first.
bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using HeaderList = std::unique_ptr<curl_slist, ListCleanup>;

// Called by curl from inside curl_easy_perform, so nothing may escape it; answering with a
// short count makes curl abort the transfer and keeps what was stored so far.
size_t appendBody(char* data, size_t size, size_t count, void* target) {
    try {
        static_cast<ByteData*>(target)->append(data, size * count);
        return size * count;
    } catch (...) {
        return 0;
    }
}

// The request headers every program sends; curl adds Host itself.
HeaderList requestHeaders() {
    curl_slist* list = nullptr;
    for (const char* header : {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}) {
        curl_slist* grown = curl_slist_append(list, header);
        if (!grown) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = grown;
    }
    return HeaderList(list);
}

void fetch(const ByteText& url, const HttpLimits& limits, HttpResponse& response) {
    if (url.empty() || !curlReady()) {
        return;
    }
    HeaderList headers = requestHeaders();
    EasyHandle easy(curl_easy_init());
    if (!headers || !easy) {
        return;
    }
    CURL* h = easy.get();
    // A ByteText never holds a zero byte, so its bytes are a complete C string; they go to curl
    // unchanged.
    curl_easy_setopt(h, CURLOPT_URL, url.str().c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    // Only the web: an address taken from a page or the update server must not read local files
    // or talk other protocols, neither directly nor through a redirect.
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    // Every request on a connection of its own, closed afterwards.
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    // An empty proxy overrides http_proxy and friends: requests go to the URL's host only.
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    // Timeouts by alarm signals are not safe in worker threads.
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    // No overall time limit: an archive may take long, but a stalled server ends the transfer.
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    // Error statuses still carry the body the caller judges by its size.
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 0L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    // Whatever arrived before a failure is the answer; the caller learns whether it is whole.
    response.complete = curl_easy_perform(h) == CURLE_OK;
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
}

}  // namespace

namespace {

HttpLimits& limitsInForce() {
    static HttpLimits limits;
    return limits;
}

}  // namespace

const HttpLimits& defaultHttpLimits() {
    return limitsInForce();
}

void setDefaultHttpLimits(const HttpLimits& limits) {
    limitsInForce() = limits;
}

HttpResponse httpFetch(const ByteText& url, const HttpLimits& limits) {
    HttpResponse response;
    try {
        fetch(url, limits, response);
    } catch (...) {
        // Only allocation can fail here; what was received so far is still the best answer.
        response.complete = false;
    }
    return response;
}

ByteData httpGet(const ByteText& url, const HttpLimits& limits) {
    return httpFetch(url, limits).body;
}

}  // namespace lumora
