#include "ResCompress.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "ArchiveHeader.h"
#include "BufferedFileStream.h"
#include "Expander.h"
#include "PayloadErrors.h"
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
        : archive_(archive), out_(out), blockCount_(blockCount), workers_(workers), maxBlock_(maxBlock),
          events_(events),
          // One or two workers walk two blocks at a time (two chains of reads in
          // flight); more workers keep one each, so memory stays bounded.
          batch_(workers <= 2 ? 2 : 1), slots_(std::size_t(2 * workers_ * batch_)), expanders_(expanders) {
        TBlockMan& man = TBlockMan::instance();
        for (std::size_t s = 0; s < slots_.size(); ++s) slots_[s].text = man.Text(int(s), maxBlock_);
        nextPos_ = 4;
    }

    bool Run() {
        struct Join {
            Pipeline& p;
            std::vector<std::thread> threads;
            ~Join() {
                {
                    std::lock_guard<std::mutex> lock(p.mutex_);
                    p.abort_ = true;
                }
                p.cv_.notify_all();
                for (auto& t : threads) t.join();
            }
        } join{*this, {}};
        join.threads.emplace_back([this] { writer(); });
        for (int w = 0; w < workers_; ++w) join.threads.emplace_back([this, w] { worker(w); });

        std::int64_t pumped = 0;
        std::size_t shown = 0;
        bool allValid = true;
        for (;;) {
            std::unique_lock<std::mutex> lock(mutex_);
            cv_.wait_for(lock, std::chrono::milliseconds(40),
                         [&] { return writerDone_ || written_ > pumped || invalid_.size() > shown; });
            const std::int64_t written = written_;
            const std::size_t invalid = invalid_.size();
            const bool done = writerDone_;
            lock.unlock();
            for (; shown < invalid; ++shown) {
                allValid = false;
                if (events_.crcMismatch)
                    events_.crcMismatch();
                else
                    plat::showMessage("CRC does not match!");
            }
            for (; pumped < written; ++pumped) {
                if (events_.blockWritten)
                    events_.blockWritten();
                else
                    plat::processMessages();
            }
            if (done) break;
        }
        if (error_) std::rethrow_exception(error_);
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
        if (block < errorAt_) {
            errorAt_ = block;
            error_ = e;
        }
        cv_.notify_all();
    }
    std::int64_t end() const { return std::min(blockCount_, errorAt_); }
    bool hasRoom() const { return nextBlock_ < written_ + std::int64_t(slots_.size()); }
    Slot& slotOf(std::int64_t block) { return slots_[std::size_t(block % std::int64_t(slots_.size()))]; }

    void worker(int w) {
        TBlockMan& man = TBlockMan::instance();
        TBlockWork* works[2] = {&man.Work(w * batch_, maxBlock_),
                                batch_ > 1 ? &man.Work(w * batch_ + 1, maxBlock_) : nullptr};
        TExpander& expander = *expanders_[std::size_t(w)];
        const std::int64_t size = archive_.Size();
        struct Claim {
            std::int64_t block, pos;
            TDataBlockHeader header;
        };
        for (;;) {
            std::unique_lock<std::mutex> lock(mutex_);
            cv_.wait(lock, [&] { return abort_ || nextBlock_ >= end() || hasRoom(); });
            if (abort_ || nextBlock_ >= end()) return;
            // Headers are read in turn: each tells where the next one starts.
            Claim claims[2];
            int claimed = 0;
            while (claimed < batch_ && nextBlock_ < end() && hasRoom()) {
                Claim& c = claims[claimed];
                c.block = nextBlock_++;
                c.pos = nextPos_;
                try {
                    std::uint8_t bytes[kBlockHeaderSize];
                    // Fewer bytes than a header: the block is missing.
                    if (size - c.pos < std::int64_t(kBlockHeaderSize) ||
                        archive_.ReadAt(c.pos, bytes, kBlockHeaderSize) != kBlockHeaderSize)
                        throw ESignatureWrong();
                    c.header.Parse(bytes);
                    nextPos_ = c.pos + kBlockHeaderSize + std::int64_t(c.header.StreamLength);
                    if (nextPos_ > size) throw EBlockDamaged("a block's coded data runs past the end of the archive");
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
                    if (archive_.ReadAt(c.pos + kBlockHeaderSize, work.stream.data(), len) != len)
                        throw EBlockDamaged("a block's coded data runs past the end of the archive");
                    std::memset(work.stream.data() + len, 0, TMemoryBits::kPadding);
                    expander.DecodeBlock(c.header, work.stream.data(), work, slotOf(c.block).text);
                } catch (...) {
                    std::lock_guard<std::mutex> relock(mutex_);
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
            cv_.notify_all();
        }
    }

    void writer() {
        for (std::int64_t b = 0;; ++b) {
            std::unique_lock<std::mutex> lock(mutex_);
            Slot& slot = slotOf(b);
            cv_.wait(lock, [&] { return abort_ || b >= end() || (slot.ready && slot.block == b); });
            if (abort_ || b >= end()) break;
            lock.unlock();
            try {
                out_.Write(slot.text + 1, slot.n);
            } catch (...) {
                lock.lock();
                fail(b, std::current_exception());
                break;
            }
            lock.lock();
            slot.ready = false;
            if (!slot.valid) invalid_.push_back(b);
            written_ = b + 1;
            cv_.notify_all();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        writerDone_ = true;
        cv_.notify_all();
    }

    const TArchiveFile& archive_;
    TPlainFileStream& out_;
    const std::int64_t blockCount_;
    const int workers_;
    const std::uint32_t maxBlock_;
    const WRESCompress::Events& events_;
    const int batch_;
    std::vector<Slot> slots_;
    std::vector<std::unique_ptr<TExpander>>& expanders_;

    std::mutex mutex_;
    std::condition_variable cv_;
    std::int64_t nextBlock_ = 0, nextPos_ = 0, written_ = 0;
    std::int64_t errorAt_ = INT64_MAX;
    std::exception_ptr error_;
    std::vector<std::int64_t> invalid_;
    bool abort_ = false, writerDone_ = false;
};

} // namespace

void WRESCompress::SetMaxThreads(int n) { g_maxThreads = n < 0 ? 0 : n; }

int WRESCompress::ThreadsFor(std::int64_t blockCount) {
    std::int64_t n = plat::WorkerThreads(std::size_t(std::max<std::int64_t>(1, blockCount)));
    if (g_maxThreads > 0) n = std::min<std::int64_t>(n, g_maxThreads);
    return int(n);
}

WRESCompress::WRESCompress(std::uint32_t maxBlockLength)
    : maxBlockLength_(maxBlockLength == 0 || maxBlockLength > kMaxBlockLength ? kMaxBlockLength : maxBlockLength) {}
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
        while (int(expanders_.size()) < threads) {
            expanders_.push_back(std::make_unique<TExpander>());
            expanders_.back()->SetMaxBlockLength(maxBlockLength_);
        }
        Pipeline pipeline(archive, out, blockCount, threads, expanders_, maxBlockLength_, events_);
        allValid = pipeline.Run();
    }
    out.Close();
    return allValid;
}

} // namespace payload
