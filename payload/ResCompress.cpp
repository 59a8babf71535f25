#include "ResCompress.h"

#include <exception>
#include <thread>
#include <vector>

#include "ArchiveHeader.h"
#include "BufferedFileStream.h"
#include "Expander.h"
#include "PayloadErrors.h"
#include "platform/Hooks.h"

namespace payload {

namespace {

// Threads the expansion may use: blocks are independent, so each is expanded
// whole on a thread of its own; the output is still written in block order.
int g_maxThreads = 0;

int expansionThreads() {
    const unsigned hw = std::thread::hardware_concurrency();
    int n = hw == 0 ? 1 : int(hw);
    if (g_maxThreads > 0 && g_maxThreads < n) n = g_maxThreads;
    return n < TExpander::kSlots ? n : TExpander::kSlots;
}

} // namespace

void WRESCompress::SetMaxThreads(int n) { g_maxThreads = n < 0 ? 0 : n; }

WRESCompress::WRESCompress(std::uint32_t maxBlockLength)
    : expander_(std::make_unique<TExpander>()),
      maxBlockLength_(maxBlockLength == 0 || maxBlockLength > kMaxBlockLength ? kMaxBlockLength : maxBlockLength) {
    expander_->SetMaxBlockLength(maxBlockLength_);
}
WRESCompress::~WRESCompress() = default;

bool WRESCompress::ExpandFile(const std::string& archiveName, const std::string& outputName,
                              std::int64_t blockCount) {
    TArchiveFile archive(archiveName, OpenMode::Read);
    archive.SmartSeek(4, soFromBeginning);
    TPlainFileStream out(outputName);
    const int threads = expansionThreads();
    const bool allValid = threads > 1 && blockCount > 1 ? expandParallel(archive, out, blockCount, threads)
                                                        : expandGrouped(archive, out, blockCount);
    out.Close();
    return allValid;
}

bool WRESCompress::expandGrouped(TArchiveFile& archive, TPlainFileStream& out, std::int64_t blockCount) {
    bool allValid = true;
    // Blocks go in groups: each is decoded, then their transforms are walked
    // together. A damaged block still leaves the ones before it written.
    for (std::int64_t b = 0; b < blockCount;) {
        int held = 0;
        try {
            while (held < TExpander::kSlots && b + held < blockCount) {
                expander_->DecodeStage(archive, held);
                ++held;
                if (held < TExpander::kSlots && b + held < blockCount) plat::processMessages();
            }
        } catch (...) {
            if (held > 0) expander_->FinishSlots(held, out);
            throw;
        }
        expander_->FinishSlots(held, out);
        for (int s = 0; s < held; ++s) allValid = allValid && expander_->SlotValid(s);
        b += held;
        plat::processMessages();
    }
    return allValid;
}

bool WRESCompress::expandParallel(TArchiveFile& archive, TPlainFileStream& out, std::int64_t blockCount,
                                  int threads) {
    // One expander and one reader per thread, made once for the run.
    std::vector<std::unique_ptr<TExpander>> expanders;
    std::vector<std::unique_ptr<TArchiveFile>> readers;
    expanders.push_back(std::move(expander_));
    for (int t = 1; t < threads; ++t) {
        expanders.push_back(std::make_unique<TExpander>());
        expanders.back()->SetMaxBlockLength(maxBlockLength_);
    }
    for (int t = 0; t < threads; ++t) readers.push_back(std::make_unique<TArchiveFile>(archive.ArchiveName(), OpenMode::Read));
    struct Restore {
        std::unique_ptr<TExpander>& home;
        std::vector<std::unique_ptr<TExpander>>& list;
        ~Restore() { home = std::move(list[0]); }
    } restore{expander_, expanders};

    bool allValid = true;
    std::int64_t next = archive.Position();
    for (std::int64_t b = 0; b < blockCount;) {
        // The blocks of this round start where their headers say; a header
        // that cannot be read ends the round at that block, whose own
        // expansion then raises the error.
        std::vector<std::int64_t> starts;
        while (int(starts.size()) < threads && b + std::int64_t(starts.size()) < blockCount) {
            starts.push_back(next);
            if (archive.Size() - next < std::int64_t(kBlockHeaderSize)) break;
            archive.SmartSeek(next, soFromBeginning);
            TDataBlockHeader header;
            try {
                header.Read(archive);
            } catch (const EArchiveError&) {
                break;
            }
            next += std::int64_t(kBlockHeaderSize) + std::int64_t(header.StreamLength);
            if (next > archive.Size()) break;
        }
        const int round = int(starts.size());
        std::vector<std::exception_ptr> errors(static_cast<std::size_t>(round));
        auto work = [&](int t) {
            try {
                readers[std::size_t(t)]->SmartSeek(starts[std::size_t(t)], soFromBeginning);
                expanders[std::size_t(t)]->DecodeStage(*readers[std::size_t(t)], t);
                expanders[std::size_t(t)]->WalkSlot(t);
            } catch (...) {
                errors[std::size_t(t)] = std::current_exception();
            }
        };
        std::vector<std::thread> pool;
        for (int t = 1; t < round; ++t) pool.emplace_back(work, t);
        work(0);
        for (auto& th : pool) th.join();
        // In block order: write what expanded, stop at the first damaged block.
        for (int t = 0; t < round; ++t) {
            if (errors[std::size_t(t)]) std::rethrow_exception(errors[std::size_t(t)]);
            expanders[std::size_t(t)]->WriteSlot(t, out);
            allValid = allValid && expanders[std::size_t(t)]->SlotValid(t);
            plat::processMessages();
        }
        b += round;
    }
    return allValid;
}

} // namespace payload
