#pragma once
// The packing side of the payload archive: block sort, move-to-front, zero-run
// digits and arithmetic coding, the exact inverse of the expander.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "payload/AriModel.h"
#include "payload/BigTable.h"
#include "payload/BlockMan.h"
#include "payload/Mtf.h"

namespace payload {

class TStrucAriEncoder {
public:
    // Fresh models; coded bits are appended to out.
    void Start(std::vector<std::uint8_t>& out);
    void Encode(int symbol);
    void EncodeSymbol(TGroupAriModel& model, int offset);
    // The move-to-front ranks of a block's last column, zero runs as run
    // digits, then the end of the block.
    void EncodeLastColumn(const std::uint8_t* last, std::uint32_t n);
    // Ends the stream so that any bits read after it decode the same symbols;
    // pads the last byte with zeros.
    void Finish();

    // Low, High and the bits on their way out. Symbols are coded with them
    // in a local copy, and whole words are stored as words, not bytes, so
    // no store can be taken to change them.
    struct Regs {
        std::uint32_t low = 0, high = 65535;
        std::uint32_t pending = 0; // underflow bits owed, the opposite of the next bit out
        int accBits = 0;
        std::uint64_t acc = 0;       // bits not yet in a whole word: the low accBits
        std::uint32_t* at = nullptr; // where the next whole word goes
        std::uint32_t* end = nullptr;
    };

private:
    // Grows without clearing, so only the words written are ever touched.
    struct TWordBuffer {
        std::unique_ptr<std::uint32_t[]> data;
        std::size_t size = 0;
    };
    template <class F>
    void withRegs(F f) {
        Regs r = m_regs;
        f(r);
        m_regs = r;
    }
    static void codeSymbol(Regs& r, TGroupAriModel& m, int offset, TWordBuffer& words);
    static void bitPlusFollow(Regs& r, std::uint32_t bit, TWordBuffer& words);
    static void grow(Regs& r, TWordBuffer& words);

    THeadAriModel m_model;
    Regs m_regs;
    TWordBuffer m_words; // coded bits, most significant first, before Finish
    std::vector<std::uint8_t>* m_out = nullptr;
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

    std::uint32_t BlockLength() const { return m_blockLength; }

private:
    std::uint32_t m_blockLength;
    TBigTable m_suffixArray;
    std::unique_ptr<std::uint8_t[]> m_last;
    TStrucAriEncoder m_encoder;
};

// Gives up to n bytes of the input; fewer only at its end.
using TPackReader = std::function<std::size_t(std::uint8_t* data, std::size_t n)>;
using TPackWriter = std::function<void(const std::uint8_t* data, std::size_t n)>;

// Packs the whole input into an archive (signature and blocks) handed to
// write in file order; returns the number of blocks. Blocks are packed on
// `threads` threads at once (0: one for each CPU the process may use), each
// holding one block, so memory does not grow with the input. The bytes are
// the same whatever the number of threads. Exceptions of read, write or packing pass through.
std::uint32_t packArchive(const TPackReader& read, const TPackWriter& write,
                          std::uint32_t blockLength = kMaxBlockLength, int threads = 0);

// Archive of a whole text; blockCount receives the number of blocks.
std::vector<std::uint8_t> compressArchive(const std::string& text, std::uint32_t& blockCount,
                                          std::uint32_t blockLength = kMaxBlockLength);

} // namespace payload
