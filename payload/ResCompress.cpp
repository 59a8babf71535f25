#include "payload/ResCompress.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "payload/ArchiveHeader.h"
#include "payload/BufferedFileStream.h"
#include "payload/Expander.h"
#include "payload/PayloadErrors.h"
#include "platform/Hooks.h"
#include "platform/WorkerThreads.h"

namespace payload {

namespace {

int g_maxThreads = 0;

// Blocks are independent: workers take the next block as they free up and
// expand it whole; a writer thread puts the texts in the file in block order
// while the workers go on; the calling thread shows messages and lets the
// application breathe. At most `slots` blocks are in hand at once.
class Pipeline {
public:
    Pipeline(const TArchiveFile& archive, TPlainFileStream& out, std::int64_t blockCount, int workers,
             std::vector<std::unique_ptr<TExpander>>& expanders, std::uint32_t maxBlock,
             const WRESCompress::Events& events)
        : m_archive(archive), m_out(out), m_blockCount(blockCount), m_workers(workers), m_maxBlock(maxBlock),
          m_events(events),
          // One or two workers walk two blocks at a time (two chains of reads in
          // flight); more workers keep one each, so memory stays bounded.
          m_batch(workers <= 2 ? 2 : 1), m_slots(std::size_t(2 * m_workers * m_batch)), m_expanders(expanders) {
        TBlockMan& man = TBlockMan::instance();
        for (std::size_t s = 0; s < m_slots.size(); ++s) m_slots[s].text = man.Text(int(s), m_maxBlock);
        m_nextPos = 4;
    }

    bool Run() {
        struct Join {
            Pipeline& p;
            std::vector<std::thread> threads;
            ~Join() {
                {
                    std::lock_guard<std::mutex> lock(p.m_mutex);
                    p.m_abort = true;
                }
                p.m_cv.notify_all();
                for (auto& t : threads) t.join();
            }
        } join{*this, {}};
        join.threads.emplace_back([this] { writer(); });
        for (int w = 0; w < m_workers; ++w) join.threads.emplace_back([this, w] { worker(w); });

        std::int64_t pumped = 0;
        std::size_t shown = 0;
        bool allValid = true;
        for (;;) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_cv.wait_for(lock, std::chrono::milliseconds(40),
                          [&] { return m_writerDone || m_written > pumped || m_invalid.size() > shown; });
            const std::int64_t written = m_written;
            const std::size_t invalid = m_invalid.size();
            const bool done = m_writerDone;
            lock.unlock();
            for (; shown < invalid; ++shown) {
                allValid = false;
                if (m_events.crcMismatch)
                    m_events.crcMismatch();
                else
                    plat::showMessage("CRC does not match!");
            }
            for (; pumped < written; ++pumped) {
                if (m_events.blockWritten)
                    m_events.blockWritten();
                else
                    plat::processMessages();
            }
            if (done) break;
            // The workers finish the blocks in hand as join stops them; the writer writes no more.
            if (m_events.cancelled && m_events.cancelled()) throw ECancelled();
        }
        if (m_error) std::rethrow_exception(m_error);
        return allValid;
    }

private:
    struct Slot {
        std::int64_t block = -1;
        bool ready = false, valid = false;
        std::uint32_t n = 0;
        std::uint8_t* text = nullptr;
    };

    // Records the first failing block; nothing from it on is expanded or written.
    void fail(std::int64_t block, std::exception_ptr e) {
        if (block < m_errorAt) {
            m_errorAt = block;
            m_error = e;
        }
        m_cv.notify_all();
    }
    std::int64_t end() const { return std::min(m_blockCount, m_errorAt); }
    bool hasRoom() const { return m_nextBlock < m_written + std::int64_t(m_slots.size()); }
    Slot& slotOf(std::int64_t block) { return m_slots[std::size_t(block % std::int64_t(m_slots.size()))]; }

    void worker(int w) {
        TBlockMan& man = TBlockMan::instance();
        TBlockWork* works[2] = {&man.Work(w * m_batch, m_maxBlock),
                                m_batch > 1 ? &man.Work(w * m_batch + 1, m_maxBlock) : nullptr};
        TExpander& expander = *m_expanders[std::size_t(w)];
        const std::int64_t size = m_archive.Size();
        struct Claim {
            std::int64_t block, pos;
            TDataBlockHeader header;
        };
        for (;;) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_cv.wait(lock, [&] { return m_abort || m_nextBlock >= end() || hasRoom(); });
            if (m_abort || m_nextBlock >= end()) return;
            // Headers are read in turn: each tells where the next one starts.
            Claim claims[2];
            int claimed = 0;
            while (claimed < m_batch && m_nextBlock < end() && hasRoom()) {
                Claim& c = claims[claimed];
                c.block = m_nextBlock++;
                c.pos = m_nextPos;
                try {
                    std::uint8_t bytes[kBlockHeaderSize];
                    // Fewer bytes than a header: the block is missing.
                    if (size - c.pos < std::int64_t(kBlockHeaderSize) ||
                        m_archive.ReadAt(c.pos, bytes, kBlockHeaderSize) != kBlockHeaderSize)
                        throw ESignatureWrong();
                    c.header.Parse(bytes);
                    m_nextPos = c.pos + kBlockHeaderSize + std::int64_t(c.header.StreamLength);
                    if (m_nextPos > size) throw EBlockDamaged("a block's coded data runs past the end of the archive");
                } catch (...) {
                    fail(c.block, std::current_exception());
                    break;
                }
                ++claimed;
            }
            lock.unlock();

            int decoded = 0;
            for (; decoded < claimed; ++decoded) {
                const Claim& c = claims[decoded];
                TBlockWork& work = *works[decoded];
                try {
                    const std::size_t len = c.header.StreamLength;
                    if (work.stream.size() < len + TMemoryBits::kPadding)
                        work.stream.resize(len + TMemoryBits::kPadding);
                    if (m_archive.ReadAt(c.pos + kBlockHeaderSize, work.stream.data(), len) != len)
                        throw EBlockDamaged("a block's coded data runs past the end of the archive");
                    std::memset(work.stream.data() + len, 0, TMemoryBits::kPadding);
                    expander.DecodeBlock(c.header, work.stream.data(), work, slotOf(c.block).text);
                } catch (...) {
                    std::lock_guard<std::mutex> relock(m_mutex);
                    fail(c.block, std::current_exception());
                    break;
                }
            }
            TExpander::WalkBlocks(works, decoded);
            bool valid[2] = {};
            for (int k = 0; k < decoded; ++k) valid[k] = TExpander::FinishBlock(*works[k]);
            lock.lock();
            for (int k = 0; k < decoded; ++k) {
                Slot& slot = slotOf(claims[k].block);
                slot.block = claims[k].block;
                slot.n = works[k]->n;
                slot.valid = valid[k];
                slot.ready = true;
            }
            m_cv.notify_all();
        }
    }

    void writer() {
        for (std::int64_t b = 0;; ++b) {
            std::unique_lock<std::mutex> lock(m_mutex);
            Slot& slot = slotOf(b);
            m_cv.wait(lock, [&] { return m_abort || b >= end() || (slot.ready && slot.block == b); });
            if (m_abort || b >= end()) break;
            lock.unlock();
            try {
                m_out.Write(slot.text + 1, slot.n);
            } catch (...) {
                lock.lock();
                fail(b, std::current_exception());
                break;
            }
            lock.lock();
            slot.ready = false;
            if (!slot.valid) m_invalid.push_back(b);
            m_written = b + 1;
            m_cv.notify_all();
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_writerDone = true;
        m_cv.notify_all();
    }

    const TArchiveFile& m_archive;
    TPlainFileStream& m_out;
    const std::int64_t m_blockCount;
    const int m_workers;
    const std::uint32_t m_maxBlock;
    const WRESCompress::Events& m_events;
    const int m_batch;
    std::vector<Slot> m_slots;
    std::vector<std::unique_ptr<TExpander>>& m_expanders;

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::int64_t m_nextBlock = 0, m_nextPos = 0, m_written = 0;
    std::int64_t m_errorAt = INT64_MAX;
    std::exception_ptr m_error;
    std::vector<std::int64_t> m_invalid;
    bool m_abort = false, m_writerDone = false;
};

} // namespace

void WRESCompress::SetMaxThreads(int n) { g_maxThreads = n < 0 ? 0 : n; }

int WRESCompress::ThreadsFor(std::int64_t blockCount) {
    std::int64_t n = plat::WorkerThreads(std::size_t(std::max<std::int64_t>(1, blockCount)));
    if (g_maxThreads > 0) n = std::min<std::int64_t>(n, g_maxThreads);
    return int(n);
}

WRESCompress::WRESCompress(std::uint32_t maxBlockLength)
    : m_maxBlockLength(maxBlockLength == 0 || maxBlockLength > kMaxBlockLength ? kMaxBlockLength : maxBlockLength) {}
WRESCompress::~WRESCompress() = default;

bool WRESCompress::ExpandFile(const std::string& archiveName, const std::string& outputName, std::int64_t blockCount) {
    TArchiveFile archive(archiveName, OpenMode::Read);
    TPlainFileStream out(outputName);
    bool allValid = true;
    struct ReleaseBuffers {
        ~ReleaseBuffers() { TBlockMan::instance().Release(); }
    } release;
    if (blockCount > 0) {
        const int threads = ThreadsFor(blockCount);
        while (int(m_expanders.size()) < threads) {
            m_expanders.push_back(std::make_unique<TExpander>());
            m_expanders.back()->SetMaxBlockLength(m_maxBlockLength);
        }
        Pipeline pipeline(archive, out, blockCount, threads, m_expanders, m_maxBlockLength, m_events);
        allValid = pipeline.Run();
    }
    out.Close();
    return allValid;
}

} // namespace payload
