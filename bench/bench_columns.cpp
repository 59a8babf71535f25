// Sorting a list by one column and drawing one screenful of cells, on files
// made by the project's generator (tools/gengedcom, made once and kept in the
// build folder). Every sort starts from a freshly opened collection, as the
// first click on a column header after opening a file does.
//
//   bench_columns [--individuals N[,N...]] [benchmark options]
//
// Default sizes: 100,000 and 1,000,000 individuals.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "bench/GeneratedFile.h"
#include "columns/Attrib.h"
#include "columns/ColSortIterator.h"
#include "columns/ColumnTable.h"
#include "columns/ListColumns.h"
#include "gedcom/GEDCollection.h"
#include "model/Options.h"

namespace {

std::vector<long> g_sizes = {100000, 1000000};

// Real files have 0.2 to 0.5 surnames per person; this many for each million
// individuals gives the name searches far more surnames to get through.
constexpr long kManySurnames = 175000;
// Real files have 0.5 to 0.85 different given names per person; drawn from
// this many, nearly every individual has one of their own.
constexpr long kDistinctGivenNames = 100000000;

std::unique_ptr<WGEDCollection> openFresh(long n, long surnames = 0, long givenNames = 0) {
    const std::string file = generatedFile(n, surnames, givenNames);
    auto c = std::make_unique<WGEDCollection>(file);
    if (!c->Open()) {
        std::fprintf(stderr, "could not open %s\n", file.c_str());
        std::exit(1);
    }
    c->AfterOpen();
    return c;
}

// The reference person of the relationship column: the individual with the
// most ancestors' generations among the first thousand (deep in a big island).
std::int32_t referencePerson(WABSCollection& c) {
    auto gens = ColumnTable::MakeAttrib(61, &c);
    std::int32_t best = -1, chosen = 1;
    for (std::int32_t i = 1; i <= std::min<std::int32_t>(1000, c.GetIndividualCount()); ++i) {
        std::int32_t d = gens->GetInteger(i);
        if (d > best) {
            best = d;
            chosen = i;
        }
    }
    return chosen;
}

void BM_SortByColumn(benchmark::State& state, long n, std::int32_t id) {
    std::int32_t sortedCount = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto c = openFresh(n);
        std::int32_t reference = id == 38 ? referencePerson(*c) : 0;
        auto it = std::make_unique<WColSortIterator>("", c->GetCount(), c.get());
        it->Count(); // the list is filled when the view first shows it
        auto attribute = ColumnTable::MakeAttrib(id, c.get());
        attribute->SetReferencePerson(reference);
        state.ResumeTiming();

        it->SortBy(attribute.get(), true);

        state.PauseTiming();
        sortedCount = it->IsSorted() ? it->Count() : 0;
        it.reset();
        attribute.reset();
        c.reset();
        state.ResumeTiming();
    }
    state.counters["individuals"] = static_cast<double>(sortedCount);
    state.SetLabel(ColumnTable::Title(id, false));
}

// One screenful: 40 rows of 10 columns from the middle of a sorted list.
void BM_Screenful(benchmark::State& state, long n) {
    auto c = openFresh(n);
    WListColumns set(c.get(), "List");
    set.SetColumnList("1,2,7,65,67,19,18,10,14,38");
    set.SetReferencePerson(referencePerson(*c));
    WColSortIterator it("", c->GetCount(), c.get());
    set.SetSortIterator(&it);
    set.SortByColumn(3);
    std::int32_t top = it.Count() / 2;
    std::string s;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (std::int32_t row = 0; row < 40; ++row) {
            std::int32_t individual = it.GetItem(top + row);
            for (std::int32_t pos = 1; pos <= 10; ++pos) {
                set.GetCellText(pos, individual, 1, s);
                bytes += s.size();
            }
        }
        // Scroll on, so every screenful shows other individuals.
        top = top + 40 < it.Count() - 40 ? top + 40 : 1;
    }
    benchmark::DoNotOptimize(bytes);
    set.SetSortIterator(nullptr);
}

// The find box's first use of a name index: sorting it by its column, names
// without prefixes and suffixes.
void BM_FindIndexSort(benchmark::State& state, long n, long surnames, long givenNames, std::int32_t id) {
    for (auto _ : state) {
        state.PauseTiming();
        auto c = openFresh(n, surnames, givenNames);
        auto it = std::make_unique<WColSortIterator>("", c->GetIndividualCount(), c.get());
        state.ResumeTiming();
        it->SortByColumnId(id);
        state.PauseTiming();
        it.reset();
        c.reset();
        state.ResumeTiming();
    }
    state.SetLabel(ColumnTable::Title(id, false));
}

// Typing into the find box: each name of the file's first thousand
// individuals searched letter by letter in a sorted name index. With a given
// part, the surname's first two letters and a comma come first, so the
// search goes through every surname that begins with them; with no surname,
// through every surname. Misses: given names no one has, after no surname and
// after the first one and two letters of the surname.
enum class FindKind { Surname, Given, SurnameGiven, NoSurname, Miss };

void BM_FindName(benchmark::State& state, long n, long surnames, FindKind kind) {
    auto c = openFresh(n, surnames);
    WColSortIterator it("", c->GetIndividualCount(), c.get());
    using Kind = WCollectionIterator::SearchKind;
    it.SortByColumnId(WColSortIterator::SearchColumn(kind == FindKind::Given ? Kind::FullName : Kind::SurnameGiven));
    std::vector<std::pair<std::string, std::string>> names;
    for (std::int32_t i = 1; i <= std::min<std::int32_t>(1000, c->GetIndividualCount()); ++i) {
        auto ind = c->GetIndividual(i);
        names.emplace_back(ind->GetSurnameText(), ind->GetGivenText());
    }
    std::int64_t searches = 0, sum = 0;
    for (auto _ : state) {
        for (const auto& [last, first] : names) {
            switch (kind) {
            case FindKind::Surname:
                for (std::size_t k = 1; k <= last.size(); ++k, ++searches)
                    sum += it.FindSurnameGiven(last.substr(0, k), "");
                break;
            case FindKind::Given: {
                const std::string text = first + " " + last;
                for (std::size_t k = 1; k <= text.size(); ++k, ++searches) sum += it.FindFullName(text.substr(0, k));
                break;
            }
            case FindKind::SurnameGiven:
                for (std::size_t k = 1; k <= first.size(); ++k, ++searches)
                    sum += it.FindSurnameGiven(last.substr(0, 2), first.substr(0, k));
                break;
            case FindKind::NoSurname:
                for (std::size_t k = 1; k <= first.size(); ++k, ++searches)
                    sum += it.FindSurnameGiven("", first.substr(0, k));
                break;
            case FindKind::Miss:
                for (std::size_t k = 0; k <= 2; ++k, ++searches) sum += it.FindSurnameGiven(last.substr(0, k), "Zzq");
                break;
            }
        }
    }
    benchmark::DoNotOptimize(sum);
    state.counters["searches"] = benchmark::Counter(double(searches), benchmark::Counter::kIsRate);
}

void registerAll() {
    const std::int32_t columns[] = {4, 10, 14, 19, 28, 64, 38, 2};
    for (long n : g_sizes) {
        for (std::int32_t id : columns) {
            const std::string name = "BM_SortByColumn/" + std::to_string(n) + "/" + std::to_string(id);
            benchmark::RegisterBenchmark(name.c_str(), [n, id](benchmark::State& s) { BM_SortByColumn(s, n, id); })
                ->Iterations(n >= 1000000 ? 1 : 3)
                ->Unit(benchmark::kMillisecond);
        }
        for (long surnames : {0L, kManySurnames}) {
            const std::string many = surnames ? "/many-surnames" : "";
            for (std::int32_t id : {6, 7}) {
                if (surnames && id != 7) continue;
                const std::string name = "BM_FindIndexSort/" + std::to_string(n) + many + "/" + std::to_string(id);
                benchmark::RegisterBenchmark(
                    name.c_str(), [n, surnames, id](benchmark::State& s) { BM_FindIndexSort(s, n, surnames, 0, id); })
                    ->Iterations(n >= 1000000 ? 1 : 3)
                    ->Unit(benchmark::kMillisecond);
            }
            // The surname index with its given-name ranks, with about as many
            // different given names as individuals.
            if (surnames) {
                const std::string name = "BM_FindIndexSort/" + std::to_string(n) + many + "/distinct-given-names/7";
                benchmark::RegisterBenchmark(
                    name.c_str(),
                    [n, surnames](benchmark::State& s) { BM_FindIndexSort(s, n, surnames, kDistinctGivenNames, 7); })
                    ->Iterations(n >= 1000000 ? 1 : 3)
                    ->Unit(benchmark::kMillisecond);
            }
            const std::pair<FindKind, const char*> finds[] = {{FindKind::Surname, "surname"},
                                                              {FindKind::Given, "given"},
                                                              {FindKind::SurnameGiven, "surname-given"},
                                                              {FindKind::NoSurname, "no-surname"},
                                                              {FindKind::Miss, "miss"}};
            for (const auto& [kind, label] : finds) {
                const std::string name = "BM_FindName/" + std::to_string(n) + many + "/" + label;
                benchmark::RegisterBenchmark(name.c_str(), [n, surnames, kind = kind](benchmark::State& s) {
                    BM_FindName(s, n, surnames, kind);
                })->Unit(benchmark::kMillisecond);
            }
        }
        const std::string name = "BM_Screenful/" + std::to_string(n);
        benchmark::RegisterBenchmark(name.c_str(), [n](benchmark::State& s) {
            BM_Screenful(s, n);
        })->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

int main(int argc, char** argv) {
    // Our own option first; the rest goes to the benchmark library.
    std::vector<char*> rest;
    if (auto sizes = individualsOption(argc, argv, rest); !sizes.empty()) g_sizes = std::move(sizes);
    int restCount = static_cast<int>(rest.size());
    WOptions::Clear();
    for (int i = 1; i <= opt::kOptionCount; ++i) WOptions::SetString(i, WOptions::Row(i).Default);
    registerAll();
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
