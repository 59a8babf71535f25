// Date parsing and comparison over a million mixed date texts: the DATE
// values of the sample GEDCOM files (when present) and a spread of forms seen
// in real files (qualifiers, ranges, calendars, numeric forms, free text).
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "model/Date.h"

namespace {

constexpr size_t kCorpusSize = 1'000'000;

void readDatesFromFile(const std::filesystem::path& file, std::vector<std::string>& out) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // "<level> DATE <value>"
        const size_t tag = line.find(" DATE ");
        if (tag == std::string::npos || tag > 2) continue;
        out.push_back(line.substr(tag + 6));
    }
}

std::vector<std::string> syntheticDates(std::mt19937& rng, size_t n) {
    static const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    static const char* quals[] = {"ABT ", "BEF ", "AFT ", "EST ", "CAL ", "CIR ", "Abt ", "about "};
    std::vector<std::string> v;
    v.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const int y = 1500 + int(rng() % 520), d = 1 + int(rng() % 28), m = int(rng() % 12);
        const std::string ys = std::to_string(y), ds = std::to_string(d);
        switch (rng() % 16) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4: v.push_back(ds + " " + months[m] + " " + ys); break;
        case 5:
        case 6: v.push_back(ys); break;
        case 7: v.push_back(std::string(months[m]) + " " + ys); break;
        case 8:
        case 9: v.push_back(quals[rng() % 8] + ys); break;
        case 10: v.push_back("BET " + ys + " AND " + std::to_string(y + 10)); break;
        case 11: v.push_back("FROM " + ds + " " + months[m] + " " + ys + " TO " + std::to_string(y + 3)); break;
        case 12:
            v.push_back("@#DJULIAN@ " + ds + " " + months[m] + " " + ys + "/" + std::to_string((y + 1) % 100 + 32));
            break;
        case 13: v.push_back(std::to_string(m + 1) + "/" + ds + "/" + ys); break;
        case 14:
            v.push_back((d < 10 ? "0" : "") + ds + "." + (m < 9 ? "0" : "") + std::to_string(m + 1) + "." + ys);
            break;
        default: v.push_back("ABT " + ys + " (FAMILY BIBLE)"); break;
        }
    }
    return v;
}

const std::vector<std::string>& corpus() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> real;
        std::error_code ec;
        const std::filesystem::path dir =
            std::filesystem::path(BRENTHAUL_SOURCE_DIR) / ".." / "shared" / "data" / "gedcom";
        for (const auto& e : std::filesystem::directory_iterator(dir, ec))
            if (e.is_regular_file()) readDatesFromFile(e.path(), real);
        std::mt19937 rng(1850);
        std::vector<std::string> all = syntheticDates(rng, kCorpusSize / 2);
        while (all.size() < kCorpusSize) {
            if (real.empty()) {
                auto more = syntheticDates(rng, kCorpusSize - all.size());
                all.insert(all.end(), more.begin(), more.end());
            } else {
                all.push_back(real[rng() % real.size()]);
            }
        }
        std::shuffle(all.begin(), all.end(), rng);
        return all;
    }();
    return texts;
}

const std::vector<WDate>& parsed() {
    static const std::vector<WDate> dates = [] {
        std::vector<WDate> v;
        v.reserve(corpus().size());
        for (const auto& t : corpus()) v.emplace_back(t);
        return v;
    }();
    return dates;
}

// One reused date object: the cost of reading a text.
void BM_ParseReuse(benchmark::State& state) {
    const auto& texts = corpus();
    WDate d;
    for (auto _ : state) {
        for (const auto& t : texts) {
            d.SetText(t);
            benchmark::DoNotOptimize(d);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(texts.size()));
}
BENCHMARK(BM_ParseReuse)->Unit(benchmark::kMillisecond);

// A new date per text, as the records make them.
void BM_ParseNew(benchmark::State& state) {
    const auto& texts = corpus();
    for (auto _ : state) {
        for (const auto& t : texts) {
            WDate d(t);
            benchmark::DoNotOptimize(d);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(texts.size()));
}
BENCHMARK(BM_ParseNew)->Unit(benchmark::kMillisecond);

void BM_CompareNeighbours(benchmark::State& state) {
    const auto& dates = parsed();
    for (auto _ : state) {
        int sum = 0;
        for (size_t i = 1; i < dates.size(); ++i) sum += dates[i - 1].Compare(dates[i]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(dates.size() - 1));
}
BENCHMARK(BM_CompareNeighbours)->Unit(benchmark::kMillisecond);

// Pairs far apart in memory, as a sort's comparisons are.
void BM_CompareScattered(benchmark::State& state) {
    const auto& dates = parsed();
    std::vector<uint32_t> idx(dates.size());
    std::mt19937 rng(7);
    for (auto& i : idx) i = uint32_t(rng() % dates.size());
    for (auto _ : state) {
        int sum = 0;
        for (size_t i = 1; i < idx.size(); ++i) sum += dates[idx[i - 1]].Compare(dates[idx[i]]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(idx.size() - 1));
}
BENCHMARK(BM_CompareScattered)->Unit(benchmark::kMillisecond);

void BM_DisplayText(benchmark::State& state) {
    const auto& dates = parsed();
    for (auto _ : state) {
        size_t n = 0;
        for (const auto& d : dates) n += d.GetText().size();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(dates.size()));
}
BENCHMARK(BM_DisplayText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
