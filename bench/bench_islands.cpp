// Islands, ancestor counts, average generations and relationships over a
// generated file of a million individuals (tools/gengedcom, made once and
// kept in the build folder). Each benchmark starts from empty caches and
// asks for every individual once, as a full list column would.
//
//   bench_islands [--individuals N] [benchmark options]
//
// After the runs the peak resident memory and the size of the main stack are
// printed, with the largest explicit work lists the walks needed.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "gedcom/GEDCollection.h"
#include "model/Generations.h"
#include "model/Islands.h"
#include "model/Options.h"
#include "model/RelCalc.h"

namespace {

long g_individuals = 1000000;
std::unique_ptr<WGEDCollection> g_collection;
std::size_t g_peakIslandWork = 0, g_peakGenerationStack = 0, g_peakRelWork = 0;

std::string fileFor(long n) {
    return std::string(BRENTHAUL_BINARY_DIR) + "/bench/islands_" + std::to_string(n) + ".ged";
}

WGEDCollection& collection() {
    if (g_collection) return *g_collection;
    const std::string file = fileFor(g_individuals);
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) {
        const std::string cmd = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom --individuals " +
                                std::to_string(g_individuals) + " --seed 7 --out '" + file + "' > /dev/null";
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "could not generate %s (build the gengedcom tool first)\n", file.c_str());
            std::exit(1);
        }
    }
    g_collection = std::make_unique<WGEDCollection>(file);
    if (!g_collection->Open()) {
        std::fprintf(stderr, "could not open %s\n", file.c_str());
        std::exit(1);
    }
    g_collection->AfterOpen();
    return *g_collection;
}

// An individual deep in the largest island: the one with most ancestor
// generations among the first ten thousand.
std::int32_t selectedIndividual() {
    static std::int32_t chosen = 0;
    if (chosen == 0) {
        WGEDCollection& c = collection();
        WGenerations g(c);
        std::int32_t best = -1;
        for (std::int32_t i = 1; i <= std::min<std::int32_t>(10000, c.GetIndividualCount()); ++i) {
            const std::int32_t d = g.GetAncestorGenerations(i);
            if (d > best) {
                best = d;
                chosen = i;
            }
        }
    }
    return chosen;
}

void BM_ComputeIslands(benchmark::State& state) {
    WGEDCollection& c = collection();
    WOptions::SetBool(WIslands::kOptIslandWit, state.range(0) != 0);
    std::int32_t count = 0;
    for (auto _ : state) {
        WIslands islands(c);
        count = islands.GetIslandCount();
        g_peakIslandWork = std::max(g_peakIslandWork, islands.PeakWorkList());
        benchmark::DoNotOptimize(count);
    }
    state.counters["islands"] = count;
    state.counters["individuals"] = c.GetIndividualCount();
}

void BM_AncestorCountsAll(benchmark::State& state) {
    WGEDCollection& c = collection();
    std::int64_t total = 0;
    for (auto _ : state) {
        WGenerations g(c);
        total = 0;
        for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i) total += g.GetNumAncestors(i);
        g_peakGenerationStack = std::max(g_peakGenerationStack, g.PeakStack());
        benchmark::DoNotOptimize(total);
    }
    state.counters["mean_ancestors"] = double(total) / c.GetIndividualCount();
}

void BM_AncestorDepthAll(benchmark::State& state) {
    WGEDCollection& c = collection();
    std::int64_t deepest = 0;
    for (auto _ : state) {
        WGenerations g(c);
        deepest = 0;
        for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i)
            deepest = std::max<std::int64_t>(deepest, g.GetAncestorGenerations(i));
        g_peakGenerationStack = std::max(g_peakGenerationStack, g.PeakStack());
    }
    state.counters["deepest"] = double(deepest);
}

void BM_AvgAncestorGenerationsAll(benchmark::State& state) {
    WGEDCollection& c = collection();
    double sum = 0;
    for (auto _ : state) {
        WGenerations g(c);
        sum = 0;
        for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i) sum += g.GetAvgAncestorGenerations(i);
        g_peakGenerationStack = std::max(g_peakGenerationStack, g.PeakStack());
        benchmark::DoNotOptimize(sum);
    }
    state.counters["mean_avg"] = sum / c.GetIndividualCount();
}

void BM_AvgDescendantGenerationsAll(benchmark::State& state) {
    WGEDCollection& c = collection();
    double sum = 0;
    for (auto _ : state) {
        WGenerations g(c);
        sum = 0;
        for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i) sum += g.GetAvgDescendantGenerations(i);
        g_peakGenerationStack = std::max(g_peakGenerationStack, g.PeakStack());
        benchmark::DoNotOptimize(sum);
    }
    state.counters["mean_avg"] = sum / c.GetIndividualCount();
}

void BM_RelationshipAll(benchmark::State& state) {
    WGEDCollection& c = collection();
    const std::int32_t selected = selectedIndividual();
    std::int64_t related = 0;
    for (auto _ : state) {
        WRelCalc calc(&c);
        related = 0;
        std::string term;
        for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i) {
            calc.GetRelationship(selected, i, term);
            related += term.empty() ? 0 : 1;
            g_peakRelWork = std::max(g_peakRelWork, calc.PeakWorkList());
        }
    }
    state.counters["selected"] = selected;
    state.counters["related"] = double(related);
}

BENCHMARK(BM_ComputeIslands)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AncestorCountsAll)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_AncestorDepthAll)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_AvgAncestorGenerationsAll)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_AvgDescendantGenerationsAll)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RelationshipAll)->Unit(benchmark::kMillisecond)->Iterations(1);

// "VmHWM" (peak resident memory) or "VmStk" (main stack mapped) in kB.
long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':') return std::atol(line.c_str() + n + 1);
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--individuals") == 0 && i + 1 < argc) {
            g_individuals = std::atol(argv[++i]);
            continue;
        }
        args.push_back(argv[i]);
    }
    int n = static_cast<int>(args.size());
    WOptions::Clear();
    for (int i = 1; i <= opt::kOptionCount; ++i) WOptions::SetString(i, WOptions::Row(i).Default);
    benchmark::Initialize(&n, args.data());
    const long stackBefore = statusKb("VmStk");
    collection();
    const long rssOpen = statusKb("VmHWM");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak resident memory: %ld kB (after opening the file: %ld kB)\n", statusKb("VmHWM"), rssOpen);
    std::printf("main stack mapped: %ld kB (before the runs: %ld kB)\n", statusKb("VmStk"), stackBefore);
    std::printf("largest work lists: islands %zu, generation frames %zu, relationship %zu\n", g_peakIslandWork,
                g_peakGenerationStack, g_peakRelWork);
    return 0;
}
