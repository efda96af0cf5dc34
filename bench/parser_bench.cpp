// How fast a listing page is cut: walkPage's work on a realistic 20-novel page, and the
// forward search on a long text.

#include <benchmark/benchmark.h>

#include "core/gbk.h"
#include "harvest/listing_parser.h"
#include "tests/support/listing_page_fixture.h"

namespace {

using namespace lumora;

void BM_WalkRealisticPage(benchmark::State& state) {
    const SiteProfile profile;
    // About 3 KB per novel block with its synopsis: a 20-novel page of about 60 KB.
    const ByteText page = fixture::listingPage(profile, CategoryKind::finished,
                                               fixture::sampleNovels(20, 2400), 1234);
    int records = 0;
    for (auto _ : state) {
        ListingParser parser(profile);
        walkPageText(
            parser, page, CategoryKind::finished,
            [&](const NovelRecord& r) { benchmark::DoNotOptimize(records += !r.title.empty()); },
            [] {});
    }
    state.SetBytesProcessed(state.iterations() * textLength(page));
    state.counters["page_bytes"] = textLength(page);
    state.counters["novels"] = static_cast<double>(records) / state.iterations();
}
BENCHMARK(BM_WalkRealisticPage)->Unit(benchmark::kMicrosecond);

void BM_FindInLongText(benchmark::State& state) {
    // Chinese text (double-byte steps) with the marker at the very end.
    ByteText text;
    while (textLength(text) < state.range(0))
        text += gbk("少年踏上修行之路，历经磨难。abc ");
    const ByteText marker = gbk("》</a></span>&nbsp; <span>作者：");
    text += marker;
    for (auto _ : state)
        benchmark::DoNotOptimize(textFind(text, marker));
    state.SetBytesProcessed(state.iterations() * textLength(text));
}
BENCHMARK(BM_FindInLongText)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
