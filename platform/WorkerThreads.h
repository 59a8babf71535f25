#pragma once
// How many threads to split work among: the CPUs this process may run on,
// not every core the machine has (taskset, cpusets and container CPU quotas
// leave fewer). With one, callers keep to their one-thread path.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace plat {

// Past this many workers the pools gain little and hold memory for each.
constexpr unsigned kMostWorkers = 8;

// Threads for work that splits into at most `parts` pieces: the usable CPUs,
// at most kMostWorkers and `parts`, at least 1.
unsigned WorkerThreads(std::size_t parts = SIZE_MAX);

// Whole CPUs a cgroup v2 quota (cpu.max) allows the process, rounded up;
// 0 when none limits it. `selfCgroup` is /proc/self/cgroup's text, `root`
// the folder the hierarchy is mounted on.
unsigned CgroupCpuQuota(const std::string& selfCgroup, const std::string& root);

// Runs work(0) .. work(threads - 1) at once, work(0) on this thread, and
// rethrows what any of them threw once all are done.
template <class Work>
void RunOnThreads(std::size_t threads, const Work& work) {
    std::vector<std::exception_ptr> errors(threads);
    auto guarded = [&](std::size_t t) {
        try {
            work(t);
        } catch (...) {
            errors[t] = std::current_exception();
        }
    };
    std::vector<std::thread> pool;
    std::size_t started = 1;
    try {
        for (; started < threads; ++started) pool.emplace_back(guarded, started);
    } catch (const std::system_error&) {
        // No thread to be had: this one does the rest.
        for (std::size_t t = started; t < threads; ++t) guarded(t);
    }
    guarded(0);
    for (auto& th : pool) th.join();
    for (auto& e : errors)
        if (e) std::rethrow_exception(e);
}

} // namespace plat
