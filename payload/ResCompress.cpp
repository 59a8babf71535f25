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
             std::vector<std::unique_ptr<TExpander>>& expanders)
        : archive_(archive), out_(out), blockCount_(blockCount), workers_(workers),
          slots_(std::size_t(2 * workers_)), expanders_(expanders) {
        TBlockMan& man = TBlockMan::instance();
        for (std::size_t s = 0; s < slots_.size(); ++s) slots_[s].text = man.Text(int(s));
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
                plat::showMessage("CRC does not match!");
            }
            for (; pumped < written; ++pumped) plat::processMessages();
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

    void worker(int w) {
        TBlockWork& work = TBlockMan::instance().Work(w);
        TExpander& expander = *expanders_[std::size_t(w)];
        const std::int64_t size = archive_.Size();
        for (;;) {
            std::unique_lock<std::mutex> lock(mutex_);
            cv_.wait(lock, [&] {
                return abort_ || nextBlock_ >= end() || nextBlock_ < written_ + std::int64_t(slots_.size());
            });
            if (abort_ || nextBlock_ >= end()) return;
            const std::int64_t b = nextBlock_++;
            const std::int64_t pos = nextPos_;
            // Headers are read in turn: each tells where the next one starts.
            TDataBlockHeader header;
            try {
                std::uint8_t bytes[kBlockHeaderSize];
                // Fewer bytes than a header: the block is missing.
                if (size - pos < std::int64_t(kBlockHeaderSize) ||
                    archive_.ReadAt(pos, bytes, kBlockHeaderSize) != kBlockHeaderSize)
                    throw ESignatureWrong();
                header.Parse(bytes);
                nextPos_ = pos + kBlockHeaderSize + std::int64_t(header.StreamLength);
                if (nextPos_ > size) throw EBlockDamaged("a block's coded data runs past the end of the archive");
            } catch (...) {
                fail(b, std::current_exception());
                return;
            }
            Slot& slot = slots_[std::size_t(b % std::int64_t(slots_.size()))];
            lock.unlock();

            std::uint32_t n = 0;
            try {
                const std::size_t len = header.StreamLength;
                if (work.stream.size() < len + TMemoryBits::kPadding) work.stream.resize(len + TMemoryBits::kPadding);
                if (archive_.ReadAt(pos + kBlockHeaderSize, work.stream.data(), len) != len)
                    throw EBlockDamaged("a block's coded data runs past the end of the archive");
                std::memset(work.stream.data() + len, 0, TMemoryBits::kPadding);
                n = expander.ExpandBlock(header, work.stream.data(), work, slot.text);
            } catch (...) {
                std::lock_guard<std::mutex> relock(mutex_);
                fail(b, std::current_exception());
                return;
            }
            lock.lock();
            slot.block = b;
            slot.n = n;
            slot.valid = expander.BlockValid();
            slot.ready = true;
            cv_.notify_all();
        }
    }

    void writer() {
        for (std::int64_t b = 0;; ++b) {
            std::unique_lock<std::mutex> lock(mutex_);
            Slot& slot = slots_[std::size_t(b % std::int64_t(slots_.size()))];
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
    const unsigned hw = std::thread::hardware_concurrency();
    std::int64_t n = hw == 0 ? 1 : hw;
    if (g_maxThreads > 0) n = std::min<std::int64_t>(n, g_maxThreads);
    return int(std::max<std::int64_t>(1, std::min(n, blockCount)));
}

WRESCompress::WRESCompress() = default;
WRESCompress::~WRESCompress() = default;

bool WRESCompress::ExpandFile(const std::string& archiveName, const std::string& outputName,
                              std::int64_t blockCount) {
    TArchiveFile archive(archiveName, OpenMode::Read);
    TPlainFileStream out(outputName);
    bool allValid = true;
    struct ReleaseBuffers {
        ~ReleaseBuffers() { TBlockMan::instance().Release(); }
    } release;
    if (blockCount > 0) {
        const int threads = ThreadsFor(blockCount);
        while (int(expanders_.size()) < threads) expanders_.push_back(std::make_unique<TExpander>());
        Pipeline pipeline(archive, out, blockCount, threads, expanders_);
        allValid = pipeline.Run();
    }
    out.Close();
    return allValid;
}

} // namespace payload
