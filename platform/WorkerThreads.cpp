#include "platform/WorkerThreads.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sched.h>
#include <thread>
#include <unistd.h>

namespace plat {
namespace {

// CPUs in the affinity mask, asked with a mask big enough for the machine.
unsigned affinityCpus() {
    for (int size = CPU_SETSIZE; size <= (1 << 16); size *= 2) {
        cpu_set_t* set = CPU_ALLOC(size);
        if (!set) break;
        const std::size_t bytes = CPU_ALLOC_SIZE(size);
        const bool got = sched_getaffinity(0, bytes, set) == 0;
        const int count = got ? CPU_COUNT_S(bytes, set) : 0;
        CPU_FREE(set);
        if (got) return unsigned(std::max(count, 1));
        if (errno != EINVAL) break;
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// The start of a small file; "" when it cannot be read. Plain reads: no
// stream set-up for a few bytes asked for on every pool.
std::string fileText(const std::string& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    ::close(fd);
    if (n > 0) text.assign(buf, std::size_t(n));
    return text;
}

} // namespace

unsigned CgroupCpuQuota(const std::string& selfCgroup, const std::string& root) {
    // The unified hierarchy's line is "0::/path"; every cgroup from there up
    // to the root may hold a quota, and the smallest one binds.
    std::string path;
    for (std::size_t at = 0; at < selfCgroup.size();) {
        std::size_t end = selfCgroup.find('\n', at);
        if (end == std::string::npos) end = selfCgroup.size();
        if (selfCgroup.compare(at, 4, "0::/") == 0) path = selfCgroup.substr(at + 3, end - at - 3);
        at = end + 1;
    }
    if (path.empty()) return 0;
    unsigned least = 0;
    for (;;) {
        // "max 100000" or "<quota> <period>", in microseconds.
        const std::string max = fileText(root + path + "/cpu.max");
        char* rest = nullptr;
        const long long quota = std::strtoll(max.c_str(), &rest, 10);
        const long long period = rest != max.c_str() ? std::strtoll(rest, nullptr, 10) : 0;
        if (quota > 0 && period > 0) {
            const auto cpus = unsigned(std::min<long long>((quota + period - 1) / period, 1 << 20));
            least = least == 0 ? cpus : std::min(least, cpus);
        }
        if (path == "/") break;
        path.erase(std::max<std::size_t>(path.rfind('/'), 1));
    }
    return least;
}

unsigned WorkerThreads(std::size_t parts) {
    unsigned n = affinityCpus();
    if (const unsigned quota = CgroupCpuQuota(fileText("/proc/self/cgroup"), "/sys/fs/cgroup"); quota > 0)
        n = std::min(n, quota);
    return unsigned(std::max<std::size_t>(1, std::min<std::size_t>({n, kMostWorkers, parts})));
}

} // namespace plat
