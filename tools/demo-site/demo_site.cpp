#include "tools/demo-site/demo_site.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

#include "tools/demo-site/cover_renderer.h"
#include "tools/demo-site/site_router.h"

namespace lumora::demo {

namespace {

constexpr const char* kHost = "127.0.0.1";

// Sends the body per the delivery rule: a truncated body announces its whole length, sends the
// kept part and then fails the provider, which makes the server close the connection; a slow
// body pauses before each piece.
void sendReply(httplib::Response& response, Reply reply) {
    response.status = reply.status;
    if (!reply.delivery) {
        response.set_content(reply.body, reply.contentType);
        return;
    }
    const FaultRule rule = *reply.delivery;
    auto body = std::make_shared<const ByteData>(std::move(reply.body));
    if (rule.kind == FaultKind::truncate) {
        const auto kept =
            static_cast<size_t>(static_cast<double>(body->size()) * rule.keepFraction);
        response.set_content_provider(body->size(), reply.contentType,
                                      [body, kept](size_t offset, size_t, httplib::DataSink& sink) {
                                          if (offset >= kept)
                                              return false;
                                          return sink.write(body->data() + offset, kept - offset);
                                      });
        return;
    }
    const auto chunk = static_cast<size_t>(std::max(rule.chunkBytes, 1));
    const auto delay = std::chrono::milliseconds(rule.delayMs);
    response.set_content_provider(
        body->size(), reply.contentType,
        [body, chunk, delay](size_t offset, size_t length, httplib::DataSink& sink) {
            std::this_thread::sleep_for(delay);
            return sink.write(body->data() + offset, std::min(chunk, length));
        });
}

}  // namespace

struct DemoSite::Impl {
    explicit Impl(std::uint64_t seed) : catalogue(seed) {
        settings->updateVersion = kDefaultUpdateVersion;
        settings->updaterExecutable = "Lumora-update demo executable\n";
        settings->batchExecutable = "Lumora demo executable\n";
    }

    void handle(const httplib::Request& request, httplib::Response& response) {
        std::shared_ptr<const SiteSettings> current;
        {
            std::lock_guard lock(mutex);
            served.push_back(request.path);
            current = settings;
        }
        // The harvest asks over HTTP/1.0 on a fresh connection each time. httplib 0.11 already
        // closes such connections; saying so here keeps the header whatever its version does.
        if (request.version == "HTTP/1.0")
            response.set_header("Connection", "close");
        sendReply(response, router->route(request.path, *current));
    }

    // Settings are replaced whole, so a request works with one consistent set.
    template <typename Change>
    void changeSettings(Change change) {
        std::lock_guard lock(mutex);
        auto changed = std::make_shared<SiteSettings>(*settings);
        change(*changed);
        settings = std::move(changed);
    }

    Catalogue catalogue;
    CoverRenderer covers;
    std::optional<SiteRouter> router;  // made at start, for the bound port
    std::unique_ptr<httplib::Server> server;
    std::thread listener;
    int port = 0;

    mutable std::mutex mutex;  // guards settings and served
    std::shared_ptr<SiteSettings> settings = std::make_shared<SiteSettings>();
    std::vector<std::string> served;
};

DemoSite::DemoSite(std::uint64_t seed) : impl_(std::make_unique<Impl>(seed)) {}

DemoSite::~DemoSite() {
    stop();
}

int DemoSite::start(int port) {
    stop();
    CoverRenderer::prepareFonts();
    auto server = std::make_unique<httplib::Server>();
    // Without it every small answer waits for the client's delayed acknowledgement.
    server->set_tcp_nodelay(true);
    const int bound = port == 0 ? server->bind_to_any_port(kHost)
                                : (server->bind_to_port(kHost, port) ? port : -1);
    if (bound <= 0)
        return -1;

    impl_->port = bound;
    impl_->router.emplace(profile(), impl_->catalogue, impl_->covers);
    Impl* impl = impl_.get();
    server->Get(".*", [impl](const httplib::Request& request, httplib::Response& response) {
        impl->handle(request, response);
    });
    impl_->server = std::move(server);
    auto listenerDone = std::make_shared<std::atomic<bool>>(false);
    impl_->listener = std::thread([impl, listenerDone] {
        impl->server->listen_after_bind();
        *listenerDone = true;
    });
    // stop() only takes effect on a server that runs, so wait until it does (or gave up).
    while (!impl_->server->is_running() && !*listenerDone) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!impl_->server->is_running()) {
        stop();
        return -1;
    }
    return bound;
}

void DemoSite::stop() {
    if (!impl_->server)
        return;
    impl_->server->stop();
    impl_->listener.join();
    impl_->server.reset();
    impl_->router.reset();
    impl_->port = 0;
}

bool DemoSite::running() const {
    return impl_->server != nullptr;
}

int DemoSite::port() const {
    return impl_->port;
}

std::string DemoSite::address() const {
    return std::string(kHost) + ":" + std::to_string(port());
}

SiteProfile DemoSite::profile() const {
    return SiteProfile(siteHostsAt(address()));
}

const Catalogue& DemoSite::catalogue() const {
    return impl_->catalogue;
}

void DemoSite::setFaults(std::vector<FaultRule> rules) {
    impl_->changeSettings([&](SiteSettings& settings) { settings.faults = std::move(rules); });
}

void DemoSite::setUpdateVersion(std::string version) {
    impl_->changeSettings(
        [&](SiteSettings& settings) { settings.updateVersion = std::move(version); });
}

void DemoSite::setUpdaterExecutable(ByteData bytes) {
    impl_->changeSettings(
        [&](SiteSettings& settings) { settings.updaterExecutable = std::move(bytes); });
}

void DemoSite::setBatchExecutable(ByteData bytes) {
    impl_->changeSettings(
        [&](SiteSettings& settings) { settings.batchExecutable = std::move(bytes); });
}

std::vector<std::string> DemoSite::servedPaths() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->served;
}

void DemoSite::clearServedPaths() {
    std::lock_guard lock(impl_->mutex);
    impl_->served.clear();
}

}  // namespace lumora::demo
