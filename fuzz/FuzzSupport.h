#pragma once
// What the fuzz targets share: a scratch file for readers that want a file
// name, on a memory-backed folder when there is one so each run stays quick.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzz {

// A per-process scratch file name ending with suffix.
inline std::string ScratchName(const std::string& what) {
    const char* shm = "/dev/shm";
    const char* env = std::getenv("TMPDIR");
    const std::string dir = access(shm, W_OK) == 0 ? shm : (env && *env ? env : "/tmp");
    return dir + "/brenthaul_fuzz_" + std::to_string(getpid()) + "_" + what;
}

// Writes bytes to path (replacing it); false when it cannot.
inline bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wbe");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

} // namespace fuzz
