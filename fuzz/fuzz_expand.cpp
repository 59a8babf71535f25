// Fuzz target of the archive expander: the first input byte picks the block
// count, the rest is the archive. Any outcome but a crash, a sanitizer report
// or an unexpected exception type is fine.
#include "payload/PayloadErrors.h"
#include "payload/ResCompress.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string scratchName(const char* what) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/fuzz_expand_" + std::to_string(getpid()) + "_" + what;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const std::string in = scratchName("in"), out = scratchName("out");
    const std::int64_t blocks = data[0] % 8;
    {
        std::ofstream f(in, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    }
    try {
        payload::WRESCompress rc;
        rc.ExpandFile(in, out, blocks);
    } catch (const payload::EArchiveError&) {
        // Refused: the expected answer to most inputs.
    }
    std::remove(in.c_str());
    std::remove(out.c_str());
    return 0;
}

#ifdef BRENTHAUL_FUZZ_REPLAY_MAIN
// Without libFuzzer: replay the files named on the command line.
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream f(argv[i], std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        std::printf("%s: ok\n", argv[i]);
    }
    return 0;
}
#endif
