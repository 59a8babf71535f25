// Opening generated GEDCOM files of 100,000 and 1,000,000 individuals: the
// time to open (index pass, link passes, character set, spouse order) and the
// peak resident memory, beside a plain one-pass line scan of the same file
// (the floor any reader pays); then fetching every individual with its name
// and birth date.
//
// The files are made by the project's generator (gengedcom) in the private
// temp folder and deleted when the run ends. BENCH_GEDCOM_SIZES=100000 limits
// the sizes.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "gedcom/GEDCollection.h"
#include "model/ABSEvent.h"
#include "model/ABSName.h"
#include "platform/TempFiles.h"

namespace {

std::map<long, std::string> gFiles;
std::map<long, double> gScanSeconds;

std::string fileFor(long n) {
    auto it = gFiles.find(n);
    if (it != gFiles.end()) return it->second;
    std::string path = plat::tempDir() + "bench_gedcom_" + std::to_string(n) + ".ged";
    std::string cmd = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom --quiet --individuals " + std::to_string(n) +
                      " --seed 1 --out " + path;
    if (std::system(cmd.c_str()) != 0) return {};
    gFiles[n] = path;
    return path;
}

long fileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? long(st.st_size) : 0;
}

// Peak resident set since the last reset, in bytes.
long peakRss() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) * 1024;
    return 0;
}

void resetPeakRss() {
    std::ofstream f("/proc/self/clear_refs");
    f << "5";
}

void reportMemory(benchmark::State& state, const std::string& path) {
    double peak = double(peakRss());
    state.counters["peak_rss_MB"] = peak / (1024.0 * 1024.0);
    state.counters["rss_per_file"] = peak / double(fileSize(path));
    state.counters["file_MB"] = double(fileSize(path)) / (1024.0 * 1024.0);
}

// The floor: map the file and find every line and every level-0 line once.
void BM_LineScan(benchmark::State& state) {
    const long n = state.range(0);
    const std::string path = fileFor(n);
    if (path.empty()) {
        state.SkipWithError("gengedcom failed");
        return;
    }
    resetPeakRss();
    double total = 0;
    long records = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        int fd = ::open(path.c_str(), O_RDONLY);
        long size = fileSize(path);
        const char* b = static_cast<const char*>(mmap(nullptr, std::size_t(size), PROT_READ, MAP_PRIVATE, fd, 0));
        const char* e = b + size;
        long lines = 0;
        records = 0;
        for (const char* p = b; p < e;) {
            if (*p == '0') ++records;
            while (p < e && *p != '\r' && *p != '\n') ++p;
            while (p < e && (*p == '\r' || *p == '\n')) ++p;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
        munmap(const_cast<char*>(b), std::size_t(size));
        ::close(fd);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    gScanSeconds[n] = total / double(state.iterations());
    state.counters["records"] = double(records);
    reportMemory(state, path);
}

// Opening as the main window does: Open, then AfterOpen.
void BM_Open(benchmark::State& state) {
    const long n = state.range(0);
    const std::string path = fileFor(n);
    if (path.empty()) {
        state.SkipWithError("gengedcom failed");
        return;
    }
    resetPeakRss();
    double total = 0;
    std::int32_t individuals = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        WGEDCollection c(path);
        if (!c.Open()) state.SkipWithError("open failed");
        c.AfterOpen();
        individuals = c.GetIndividualCount();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.counters["individuals"] = double(individuals);
    double seconds = total / double(state.iterations());
    if (gScanSeconds.count(n)) state.counters["x_line_scan"] = seconds / gScanSeconds[n];
    reportMemory(state, path);
}

// Every individual with its name and birth date, as a list view fills its rows.
void BM_FetchAll(benchmark::State& state) {
    const long n = state.range(0);
    const std::string path = fileFor(n);
    if (path.empty()) {
        state.SkipWithError("gengedcom failed");
        return;
    }
    WGEDCollection c(path);
    c.Open();
    c.AfterOpen();
    std::int32_t count = c.GetIndividualCount();
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        std::size_t chars = 0;
        for (std::int32_t i = 1; i <= count; ++i) {
            auto ind = c.GetIndividual(i);
            chars += ind->GetFullName(true).size();
            if (auto birth = ind->GetEvent(1, 1)) chars += birth->GetDateText().size();
        }
        benchmark::DoNotOptimize(chars);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["ns_per_individual"] = total * 1e9 / (double(state.iterations()) * count);
}

std::vector<long> sizes() {
    std::vector<long> out;
    const char* env = std::getenv("BENCH_GEDCOM_SIZES");
    std::stringstream s(env && *env ? env : "100000,1000000");
    std::string item;
    while (std::getline(s, item, ','))
        if (!item.empty()) out.push_back(std::stol(item));
    return out;
}

} // namespace

int main(int argc, char** argv) {
    for (long n : sizes()) {
        benchmark::RegisterBenchmark("LineScan", BM_LineScan)
            ->Arg(n)
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("Open", BM_Open)
            ->Arg(n)
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark("FetchAll", BM_FetchAll)
            ->Arg(n)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& f : gFiles) std::remove(f.second.c_str());
    return 0;
}
