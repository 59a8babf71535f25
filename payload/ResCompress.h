#pragma once
// Front end of the payload archive reader.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace payload {

class TExpander;

class WRESCompress {
public:
    // maxBlockLength: the longest block accepted, 0 for the format's limit
    // (a fuzzer keeps it small so that each input is quick).
    explicit WRESCompress(std::uint32_t maxBlockLength = 0);
    ~WRESCompress();

    // Expands the first blockCount blocks of the archive into a newly created
    // output file (0 or less: an empty file). Returns false when a block's CRC
    // did not match ("CRC does not match!" was shown and expansion went on),
    // else true.
    // Raises ESignatureWrong (wrong file or block signature, also a block count
    // larger than the archive holds), EBlockDamaged, EBitReadOverrun
    // ("Too many bytes read in bit mode.") and EFileError, and ECancelled as
    // Events says; the output then keeps the blocks expanded before. The
    // caller shows the text and cleans up.
    bool ExpandFile(const std::string& archiveName, const std::string& outputName, std::int64_t blockCount);

    // What the calling thread does while the blocks are expanded: after each
    // block written, and for each block whose CRC did not match. Unset, the
    // application processes its pending messages and "CRC does not match!"
    // is shown. cancelled is asked after each block written and at least
    // every 40 ms; once it says true, the block being written is the last
    // and ExpandFile raises ECancelled.
    struct Events {
        std::function<void()> blockWritten;
        std::function<void()> crcMismatch;
        std::function<bool()> cancelled;
    };
    void SetEvents(Events events) { m_events = std::move(events); }

    // Caps the threads that expand blocks (0: one for each CPU the process may use).
    static void SetMaxThreads(int n);
    // Threads an expansion of that many blocks uses.
    static int ThreadsFor(std::int64_t blockCount);

private:
    std::vector<std::unique_ptr<TExpander>> m_expanders;
    std::uint32_t m_maxBlockLength;
    Events m_events;
};

} // namespace payload
