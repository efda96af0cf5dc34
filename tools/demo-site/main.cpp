// lumora-demo-site: serves the demo e-book site and update server on 127.0.0.1 until SIGINT or
// SIGTERM.

#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/demo-site/demo_site.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int) {
    stopRequested = 1;
}

constexpr const char* kUsage =
    "usage: lumora-demo-site [--port N] [--version V] [--seed S] [--fault RULE]...\n"
    "  --port N      port on 127.0.0.1 (default 8936; 0 picks a free one)\n"
    "  --version V   version text of /shelfnote/banben (default 1190)\n"
    "  --seed S      seed of the generated catalogue (default 1190)\n"
    "  --fault RULE  RESOURCE:KIND[,key=value...]; RESOURCE listing|cover|archive|text,\n"
    "                KIND truncate|slow|error|short|missing-marker, keys every, page, status,\n"
    "                keep, chunk, delay, marker; e.g. archive:truncate,every=3,keep=0.5\n";

template <typename Number>
bool parseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    int port = lumora::demo::kDefaultPort;
    std::string version = lumora::demo::kDefaultUpdateVersion;
    std::uint64_t seed = lumora::demo::kDefaultSeed;
    std::vector<lumora::demo::FaultRule> faults;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        bool valid = hasValue;
        if (option == "--port" && hasValue) {
            valid = parseNumber(argv[++i], port) && port >= 0 && port <= 65535;
        } else if (option == "--version" && hasValue) {
            version = argv[++i];
        } else if (option == "--seed" && hasValue) {
            valid = parseNumber(argv[++i], seed);
        } else if (option == "--fault" && hasValue) {
            const auto rule = lumora::demo::parseFaultRule(argv[++i]);
            if (rule)
                faults.push_back(*rule);
            valid = rule.has_value();
        } else {
            valid = false;
        }
        if (!valid) {
            std::cerr << "lumora-demo-site: bad argument " << option << "\n" << kUsage;
            return 2;
        }
    }

    lumora::demo::DemoSite site(seed);
    site.setUpdateVersion(version);
    site.setFaults(faults);
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    if (site.start(port) < 0) {
        std::cerr << "lumora-demo-site: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << "lumora-demo-site: serving http://" << site.address() << "/ (seed " << seed
              << ", update version " << version << ", " << site.catalogue().novels().size()
              << " novels); Ctrl+C stops it" << std::endl;
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    site.stop();
    return 0;
}
