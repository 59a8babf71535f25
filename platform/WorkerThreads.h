#pragma once
// How many threads to split work among: the CPUs this process may run on,
// not every core the machine has (taskset, cpusets and container CPU quotas
// leave fewer). With one, callers keep to their one-thread path.
#include <cstddef>
#include <cstdint>
#include <string>

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

} // namespace plat
