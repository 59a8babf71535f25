// Payload archive speed on generated GEDCOM files of 100,000 and 1,000,000
// individuals: expanding on one thread and on every core, packing, and the
// same work done by bzip2, lbzip2 and pbzip2 in the same run.
// Run: build/bench/bench_payload (--benchmark_filter=/100000 for the small file).
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "payload/Compressor.h"
#include "payload/ResCompress.h"

namespace {

struct Fixture {
    std::filesystem::path dir;
    std::uint64_t textSize = 0;
    std::uint32_t blocks = 0;

    explicit Fixture(int individuals) {
        dir = std::filesystem::temp_directory_path() /
              ("brenthaul-bench-" + std::to_string(getpid()) + "-" + std::to_string(individuals));
        std::filesystem::create_directories(dir);
        const std::string gen = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom --quiet --individuals " +
                                std::to_string(individuals) + " --out '" + file("text.ged") + "'";
        if (std::system(gen.c_str()) != 0) return;
        textSize = std::filesystem::file_size(file("text.ged"));
        blocks = pack(file("text.arc"));
        // The peers' archives, made once; missing tools leave theirs out.
        run("bzip2 -9 -c '" + file("text.ged") + "' > '" + file("text.ged.bz2") + "'");
        // pbzip2 expands on several threads only what it packed itself.
        run("pbzip2 -9 -c '" + file("text.ged") + "' > '" + file("text.ged.pbz2") + "' 2>/dev/null");
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string file(const char* name) const { return (dir / name).string(); }
    static bool run(const std::string& cmd) { return std::system(cmd.c_str()) == 0; }

    std::uint32_t pack(const std::string& out) const {
        const int in = ::open(file("text.ged").c_str(), O_RDONLY);
        const int to = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::uint32_t n = payload::packArchive(
            [in](std::uint8_t* d, std::size_t k) {
                const ssize_t r = ::read(in, d, k);
                return r > 0 ? std::size_t(r) : 0;
            },
            [to](const std::uint8_t* d, std::size_t k) {
                if (::write(to, d, k) != ssize_t(k)) throw std::runtime_error("cannot write the archive");
            });
        ::close(in);
        ::close(to);
        return n;
    }
};

Fixture& fixture(int individuals) {
    static std::map<int, std::unique_ptr<Fixture>> made;
    auto& f = made[individuals];
    if (!f) f = std::make_unique<Fixture>(individuals);
    return *f;
}

void report(benchmark::State& state, const Fixture& f) {
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(f.textSize));
}

void BM_Expand(benchmark::State& state) {
    Fixture& f = fixture(int(state.range(0)));
    if (f.blocks == 0) return state.SkipWithError("gengedcom failed");
    payload::WRESCompress::SetMaxThreads(int(state.range(1)));
    for (auto _ : state) {
        payload::WRESCompress rc;
        if (!rc.ExpandFile(f.file("text.arc"), f.file("out.ged"), f.blocks)) state.SkipWithError("CRC mismatch");
    }
    payload::WRESCompress::SetMaxThreads(0);
    report(state, f);
}

void BM_Pack(benchmark::State& state) {
    Fixture& f = fixture(int(state.range(0)));
    if (f.blocks == 0) return state.SkipWithError("gengedcom failed");
    for (auto _ : state) f.pack(f.file("again.arc"));
    report(state, f);
}

// A peer's command: packing the text, or expanding its archive `packed`.
void peer(benchmark::State& state, const char* tool, const std::string& args, const char* packed) {
    Fixture& f = fixture(int(state.range(0)));
    if (f.blocks == 0 || !Fixture::run(std::string("command -v ") + tool + " >/dev/null"))
        return state.SkipWithError("not installed");
    const std::string in = f.file(packed ? packed : "text.ged");
    const std::string cmd = std::string(tool) + " " + args + " -c '" + in + "' > '" + f.file("peer.out") + "'";
    for (auto _ : state)
        if (!Fixture::run(cmd)) state.SkipWithError("failed");
    report(state, f);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->ArgsProduct({{100000, 1000000}})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
}

} // namespace

BENCHMARK(BM_Expand)
    ->ArgsProduct({{100000, 1000000}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(peer, bzip2_d, "bzip2", "-d", "text.ged.bz2")->Apply(sizes);
BENCHMARK_CAPTURE(peer, lbzip2_d_n8, "lbzip2", "-d -n8", "text.ged.bz2")->Apply(sizes);
BENCHMARK_CAPTURE(peer, pbzip2_d_p8, "pbzip2", "-d -p8", "text.ged.pbz2")->Apply(sizes);
BENCHMARK(BM_Pack)->Apply(sizes);
BENCHMARK_CAPTURE(peer, bzip2_9, "bzip2", "-9", nullptr)->Apply(sizes);
BENCHMARK_CAPTURE(peer, lbzip2_9_n8, "lbzip2", "-9 -n8", nullptr)->Apply(sizes);
BENCHMARK_CAPTURE(peer, pbzip2_9_p8, "pbzip2", "-9 -p8", nullptr)->Apply(sizes);

BENCHMARK_MAIN();
