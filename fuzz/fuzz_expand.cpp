// Fuzz target of the archive expander: the first input byte picks the block
// count, the rest is the archive. Blocks are capped at a kilobyte, so a
// stream that claims a huge block is refused at once and each run is quick.
// Any outcome but a crash, a sanitizer report or an unexpected exception type
// is fine.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "payload/PayloadErrors.h"
#include "payload/ResCompress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const std::string in = fuzz::ScratchName("in"), out = fuzz::ScratchName("out");
    static const bool once = [] {
        payload::WRESCompress::SetMaxThreads(1);
        return true;
    }();
    (void)once;
    const std::int64_t blocks = data[0] % 4;
    if (!fuzz::WriteFile(in, data + 1, size - 1)) return 0;
    try {
        payload::WRESCompress rc(1024);
        rc.ExpandFile(in, out, blocks);
    } catch (const payload::EArchiveError&) {
        // Refused: the expected answer to most inputs.
    }
    std::remove(out.c_str());
    return 0;
}
