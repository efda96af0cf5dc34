// A whole harvest of two listing pages against the demo site, beside a plain sequential
// download of exactly the URLs the harvest requested: the difference is what the harvest itself
// costs (cutting pages, presence tests, writing files and records).

#include <benchmark/benchmark.h>

#include "harvest/harvest_run.h"
#include "platform/http.h"
#include "tests/support/temporary_directory.h"
#include "tools/demo-site/demo_site.h"

namespace {

using namespace lumora;

class QuietView : public HarvestView {
public:
    ByteText pageBox;
    ByteText pageBoxText() const override { return pageBox; }
    void setPageBoxText(const ByteText& text) override { pageBox = text; }
    void setProgressText(const ByteText&) override {}
    void pause(int) override {}
};

// Harvests two pages of the first finished category into a fresh run directory.
std::vector<std::string> harvestOnce(demo::DemoSite& demo) {
    const fixture::TemporaryDirectory runDir;
    const SiteProfile profile = demo.profile();
    const LibraryLayout layout{ByteText(runDir.path())};
    setUpLibrary(layout, profile);
    HarvestSettings settings{CategoryKind::finished, profile.category(CategoryKind::finished, 0)};
    HarvestCounters counters;
    QuietView view;
    view.pageBox = ByteText("2");
    const Fetch fetch = [](const ByteText& url) { return httpFetch(url); };
    HarvestContext run{profile, layout, settings, counters, fetch, view};
    demo.clearServedPaths();
    harvestCategory(run);
    return demo.servedPaths();
}

void BM_HarvestTwoPages(benchmark::State& state) {
    demo::DemoSite demo;
    demo.start(0);
    size_t requests = harvestOnce(demo).size();  // the site draws its covers once, untimed
    for (auto _ : state)
        requests = harvestOnce(demo).size();
    state.counters["requests"] = static_cast<double>(requests);
}
BENCHMARK(BM_HarvestTwoPages)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PlainDownloadOfTheSameUrls(benchmark::State& state) {
    demo::DemoSite demo;
    demo.start(0);
    const std::vector<std::string> paths = harvestOnce(demo);
    const std::string base = "http://" + demo.address();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const std::string& path : paths)
            bytes += httpGet(ByteText(base + path)).size();
    }
    state.counters["requests"] = static_cast<double>(paths.size());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_PlainDownloadOfTheSameUrls)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
