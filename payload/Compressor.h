#pragma once
// The packing side of the payload archive: block sort, move-to-front, zero-run
// digits and arithmetic coding, the exact inverse of the expander.
#include "AriModel.h"
#include "BigTable.h"
#include "BlockMan.h"
#include "Mtf.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace payload {

class TStrucAriEncoder {
public:
    // Fresh models; coded bits are appended to out.
    void Start(std::vector<std::uint8_t>& out);
    void Encode(int symbol);
    void EncodeSymbol(TGroupAriModel& model, int offset);
    // Ends the stream so that any bits read after it decode the same symbols;
    // pads the last byte with zeros.
    void Finish();

private:
    void bitPlusFollow(int bit);
    // The low n bits of v (n <= 32), most significant first, into acc_; a
    // whole 32-bit word is stored every time, but counted only once full.
    void outputBits(std::uint32_t v, int n) {
        acc_ = acc_ << n | v;
        accBits_ += n;
        const int full = accBits_ >= 32;
        accBits_ -= 32 * full;
        const std::uint32_t w = std::uint32_t(acc_ >> accBits_);
        std::uint8_t* o = out_->data() + used_;
        o[0] = std::uint8_t(w >> 24);
        o[1] = std::uint8_t(w >> 16);
        o[2] = std::uint8_t(w >> 8);
        o[3] = std::uint8_t(w);
        used_ += 4 * std::size_t(full);
    }
    // Room for the next symbol's bits.
    void makeRoom() {
        if (out_->size() - used_ < 64) out_->resize(std::max<std::size_t>(2 * out_->size(), used_ + 4096));
    }

    THeadAriModel model_;
    int low_ = 0, high_ = 65535;
    std::uint64_t pending_ = 0;
    std::vector<std::uint8_t>* out_ = nullptr;
    std::size_t used_ = 0;
    std::uint64_t acc_ = 0; // bits not yet in a whole word: the low accBits_
    int accBits_ = 0;
};

// Result of sorting a block's rotations (with a sentinel below every byte).
struct TBlockSortResult {
    std::uint32_t PrimaryIndex = 0;     // row of the rotation that starts at the second byte
    std::uint32_t SentinelPosition = 0; // row whose last byte is the sentinel
};

// Block sort of data[0..n-1]: writes the last column without the sentinel
// (n bytes) to last. suffixArray needs n entries.
TBlockSortResult blockSort(const std::uint8_t* data, std::uint32_t n, std::int32_t* suffixArray, std::uint8_t* last);

// Arithmetic-codes exactly these symbols (0..257) as one stream.
std::vector<std::uint8_t> encodeSymbols(const std::vector<int>& symbols);

class WCompressor {
public:
    // blockLength: bytes per block, 1..kMaxBlockLength.
    explicit WCompressor(std::uint32_t blockLength = kMaxBlockLength);

    // Appends the archive signature.
    static void BeginArchive(std::vector<std::uint8_t>& archive);
    // Appends one block (header and coded stream) of n <= block length bytes.
    void EncodeBlock(const std::uint8_t* data, std::uint32_t n, std::vector<std::uint8_t>& archive);
    // A whole archive of data; returns the number of blocks (0 for no data).
    std::uint32_t Compress(const std::uint8_t* data, std::size_t n, std::vector<std::uint8_t>& archive);

    std::uint32_t BlockLength() const { return blockLength_; }

private:
    void flushRun(std::uint32_t run);

    std::uint32_t blockLength_;
    TBigTable suffixArray_;
    std::unique_ptr<std::uint8_t[]> last_;
    std::vector<std::uint8_t> stream_;
    TStrucAriEncoder encoder_;
};

// Gives up to n bytes of the input; fewer only at its end.
using TPackReader = std::function<std::size_t(std::uint8_t* data, std::size_t n)>;
using TPackWriter = std::function<void(const std::uint8_t* data, std::size_t n)>;

// Packs the whole input into an archive (signature and blocks) handed to
// write in file order; returns the number of blocks. Blocks are packed on
// `threads` threads at once (0: one for each core), each holding one block,
// so memory does not grow with the input. The bytes are the same whatever
// the number of threads. Exceptions of read, write or packing pass through.
std::uint32_t packArchive(const TPackReader& read, const TPackWriter& write,
                          std::uint32_t blockLength = kMaxBlockLength, int threads = 0);

// Archive of a whole text; blockCount receives the number of blocks.
std::vector<std::uint8_t> compressArchive(const std::string& text, std::uint32_t& blockCount,
                                          std::uint32_t blockLength = kMaxBlockLength);

} // namespace payload
