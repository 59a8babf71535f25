// Start-up of a self-viewing program carrying a generated file, split into its
// steps: the trailer, copying and expanding the payload, reading the GEDCOM
// file, filling the first view. Run: build/bench/bench_startup
// (--benchmark_filter=/100000 for the small file alone).
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/IndividualRows.h"
#include "app/SelfViewTrailer.h"
#include "app/Unpack.h"
#include "gedcom/FormatString.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "payload/Compressor.h"
#include "platform/TempFiles.h"

namespace {

// A program file: a stand-in image, the archive of a generated file, the trailer.
const std::string& programFile(int individuals) {
    // Removed when the benchmark ends: it is tens of megabytes.
    static struct Program {
        std::string path;
        ~Program() {
            if (!path.empty()) std::remove(path.c_str());
        }
    } program;
    std::string& path = program.path;
    static int made = 0;
    if (made == individuals) return path;
    const std::string dir = plat::tempDir();
    const std::string ged = dir + "bench-startup.ged";
    const std::string cmd = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom --quiet --individuals " +
                            std::to_string(individuals) + " --out " + ged;
    if (std::system(cmd.c_str()) != 0) return path = "";
    // Packed as the packer does it: block by block while reading.
    std::ifstream in(ged, std::ios::binary);
    path = dir + "bench-startup-program";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string image(1 << 20, '\x7F');
    out << image;
    TSelfViewTrailer t;
    t.ArchiveOffset = std::uint32_t(image.size());
    t.BlockCount = payload::packArchive(
        [&](std::uint8_t* d, std::size_t n) {
            in.read(reinterpret_cast<char*>(d), std::streamsize(n));
            return std::size_t(in.gcount());
        },
        [&](const std::uint8_t* d, std::size_t n) { out.write(reinterpret_cast<const char*>(d), std::streamsize(n)); });
    t.StartIndex = 1;
    const auto trailer = serializeTrailer(t);
    out.write(reinterpret_cast<const char*>(trailer.data()), std::streamsize(trailer.size()));
    out.close();
    std::remove(ged.c_str());
    made = individuals;
    return path;
}

double seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_StartUp(benchmark::State& state) {
    const std::string& program = programFile(int(state.range(0)));
    if (program.empty()) {
        state.SkipWithError("gengedcom failed");
        return;
    }
    WOptions::Load(0);
    // unpack: trailer, copy of the archive and its expansion; open: reading
    // the GEDCOM file; first view: the rows of the Individual list.
    double unpack = 0, open = 0, view = 0;
    for (auto _ : state) {
        using clock = std::chrono::steady_clock;
        const auto t0 = clock::now();
        TSelfViewTrailer trailer;
        std::string gedFile, error;
        if (UnpackSelfViewPayload(program, trailer, gedFile, error) != UnpackResult::Ok) {
            state.SkipWithError("unpacking failed");
            return;
        }
        const auto t1 = clock::now();
        auto col = FormatString::OpenCollection(gedFile, error, 0);
        if (!col || !col->Open()) {
            state.SkipWithError("opening failed");
            return;
        }
        col->AfterOpen();
        const auto t2 = clock::now();
        std::vector<IndRow> rows;
        FillIndividualGrid(col.get(), nullptr, false, trailer.StartIndex, rows);
        benchmark::DoNotOptimize(rows.data());
        const auto t3 = clock::now();
        unpack += seconds(t0, t1);
        open += seconds(t1, t2);
        view += seconds(t2, t3);
        col.reset();
        plat::deleteTempFile(gedFile);
    }
    const double n = double(state.iterations());
    state.counters["unpack_s"] = unpack / n;
    state.counters["open_s"] = open / n;
    state.counters["first_view_s"] = view / n;
    state.counters["total_s"] = (unpack + open + view) / n;
}
BENCHMARK(BM_StartUp)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
