// Payload archive speed: expansion of the sample family replicated to about
// 50 MB, next to `bzip2 -d` on the same text, and the packer's time.
#include "payload/Compressor.h"
#include "payload/ResCompress.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t kTargetSize = 50u << 20;

struct Fixture {
    std::filesystem::path dir;
    std::string text;
    std::uint32_t blocks = 0;
    std::size_t archiveSize = 0, bzip2Size = 0;

    Fixture() {
        const std::string sample = std::string(BRENTHAUL_SOURCE_DIR) + "/data/sample-family.ged";
        std::ifstream in(sample, std::ios::binary);
        const std::string one((std::istreambuf_iterator<char>(in)), {});
        if (one.empty()) throw std::runtime_error("cannot read " + sample);
        // Copies with their own record numbers, so the text is not one repeated block.
        text.reserve(kTargetSize + one.size());
        for (int copy = 0; text.size() < kTargetSize; ++copy) {
            std::string c = one;
            const std::string tag = std::to_string(copy) + "_";
            for (std::size_t at = c.find("@I"); at != std::string::npos; at = c.find("@I", at + 2))
                c.insert(at + 2, tag);
            text += c;
        }
        dir = std::filesystem::temp_directory_path() / ("brenthaul-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        write(file("text.ged"), text);
        const auto archive = payload::compressArchive(text, blocks);
        archiveSize = archive.size();
        write(file("text.arc"), std::string(archive.begin(), archive.end()));
        const std::string cmd = "bzip2 -k -9 -f '" + file("text.ged") + "'";
        if (std::system(cmd.c_str()) == 0) bzip2Size = std::filesystem::file_size(file("text.ged.bz2"));
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string file(const char* name) const { return (dir / name).string(); }
    static void write(const std::string& path, const std::string& data) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(data.data(), std::streamsize(data.size()));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

double g_expandSeconds = 0, g_bzip2Seconds = 0;

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_Expand(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        payload::WRESCompress rc;
        if (!rc.ExpandFile(f.file("text.arc"), f.file("out.ged"), f.blocks)) state.SkipWithError("CRC mismatch");
        g_expandSeconds = secondsSince(t0);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.text.size()));
    state.counters["ratio"] = double(f.text.size()) / double(f.archiveSize);
}

void BM_Bzip2Decompress(benchmark::State& state) {
    Fixture& f = fixture();
    if (f.bzip2Size == 0) {
        state.SkipWithError("bzip2 is not installed");
        return;
    }
    const std::string cmd = "bzip2 -dc '" + f.file("text.ged.bz2") + "' > '" + f.file("bz.out") + "'";
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (std::system(cmd.c_str()) != 0) state.SkipWithError("bzip2 -d failed");
        g_bzip2Seconds = secondsSince(t0);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.text.size()));
    state.counters["ratio"] = double(f.text.size()) / double(f.bzip2Size);
}

void BM_Pack(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        std::uint32_t blocks = 0;
        auto archive = payload::compressArchive(f.text, blocks);
        benchmark::DoNotOptimize(archive.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.text.size()));
}

BENCHMARK(BM_Expand)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Bzip2Decompress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Pack)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_expandSeconds > 0 && g_bzip2Seconds > 0) {
        const double mb = double(fixture().text.size()) / 1e6;
        std::printf("expand %.1f MB/s, bzip2 -d %.1f MB/s: the expander takes %.2f times bzip2's time\n",
                    mb / g_expandSeconds, mb / g_bzip2Seconds, g_expandSeconds / g_bzip2Seconds);
    }
    return 0;
}
