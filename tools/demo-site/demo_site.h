#pragma once

// A local stand-in for the e-book site and the update server: one HTTP server on 127.0.0.1 that
// answers for the catalogue, cover, text-page and download hosts and for the update server (their
// paths never overlap). Listing pages, text pages, covers and archives follow a Catalogue made
// from a seed; fault rules make chosen requests fail.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/byte_text.h"
#include "core/site_profile.h"
#include "tools/demo-site/catalogue.h"
#include "tools/demo-site/faults.h"

namespace lumora::demo {

inline constexpr int kDefaultPort = 8936;
inline constexpr const char* kDefaultUpdateVersion = "1190";

// The update server's documents and the executables they name.
inline constexpr const char* kVersionPath = "/shelfnote/banben";
inline constexpr const char* kUpdaterUrlPath = "/shelfnote/gengxincx";
inline constexpr const char* kBatchUrlPath = "/shelfnote/gengxin";
inline constexpr const char* kUpdaterFilePath = "/shelfnote/files/updater";
inline constexpr const char* kBatchFilePath = "/shelfnote/files/lumora";

class DemoSite {
public:
    explicit DemoSite(std::uint64_t seed = kDefaultSeed);
    ~DemoSite();  // stops the server
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Serves on 127.0.0.1:port (0: a free port the system picks) from a thread pool and returns
    // the port, or -1 when the port cannot be bound. A running server is stopped first.
    int start(int port = 0);
    void stop();
    bool running() const;
    int port() const;             // 0 while stopped
    std::string address() const;  // "127.0.0.1:PORT"
    // The site profile with every host at this server's address, as the pages use it.
    SiteProfile profile() const;
    const Catalogue& catalogue() const;

    // The rules replace the earlier ones; the first rule that hits a request applies.
    void setFaults(std::vector<FaultRule> rules);
    void setUpdateVersion(std::string version);
    void setUpdaterExecutable(ByteData bytes);
    void setBatchExecutable(ByteData bytes);

    // Every request's path, in the order the requests arrived.
    std::vector<std::string> servedPaths() const;
    void clearServedPaths();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumora::demo
