// Throughput of the mapped stores and record arrays: appending many small
// records (the store grows by 16 KB steps as the arrays ask) and sorting a
// large index with the message pump live.
#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <sys/resource.h>
#include <vector>

#include "model/ABSArrayIndex.h"
#include "model/IntArray.h"
#include "platform/Hooks.h"

namespace {

double peakRssMiB() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_maxrss) / 1024.0; // KiB on Linux
}

void BM_AppendInt(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        WIntArray a("", 0);
        for (std::int32_t i = 0; i < n; ++i) a.Add(i);
        benchmark::DoNotOptimize(a.GetPtr(n));
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["peak_rss_MiB"] = peakRssMiB();
}
BENCHMARK(BM_AppendInt)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

struct Rec16 {
    std::int32_t key;
    std::int32_t id;
    std::int32_t extra[2];
};

int compareRec16(const void* a, const void* b, void*) {
    Rec16 x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x.key < y.key ? -1 : x.key > y.key ? 1 : 0;
}

void sortBench(benchmark::State& state, bool organPipe) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    std::mt19937 rng(42);
    std::vector<Rec16> input(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        std::int32_t key = organPipe ? (i < n / 2 ? i : n - i) : static_cast<std::int32_t>(rng());
        input[static_cast<std::size_t>(i)] = Rec16{key, i, {0, 0}};
    }
    std::int64_t pumps = 0;
    plat::hooks().processMessages = [&pumps] { ++pumps; };
    for (auto _ : state) {
        state.PauseTiming();
        WABSArrayIndex a("", false, sizeof(Rec16), n);
        for (const Rec16& r : input) a.Add(&r);
        state.ResumeTiming();
        a.Sort(compareRec16, nullptr, true);
        benchmark::DoNotOptimize(a.GetPtr(1));
    }
    plat::resetHooks();
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["pumps_per_sort"] =
        static_cast<double>(pumps) / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    state.counters["peak_rss_MiB"] = peakRssMiB();
}

void BM_SortRecords16(benchmark::State& state) { sortBench(state, false); }
BENCHMARK(BM_SortRecords16)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// This pivot choice's quadratic case, to keep its cost in view.
void BM_SortOrganPipe16(benchmark::State& state) { sortBench(state, true); }
BENCHMARK(BM_SortOrganPipe16)->Arg(20'000)->Arg(40'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
