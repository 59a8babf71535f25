#pragma once
// Expansion of one archive block: ranks, move-to-front, inverse block sort, CRC.
#include <cstdint>

#include "payload/AriDecoder.h"
#include "payload/BlockMan.h"
#include "payload/Mtf.h"

namespace payload {

class TDataBlockHeader;

class TBWTBase {
public:
    // CRC-32 of buffer entries 1..length.
    static std::uint32_t BlockCRC(const std::uint8_t* buffer, std::uint32_t length);
};

class TExpander : public TBWTBase {
public:
    // Expands the block of header h whose coded stream lies at stream
    // (StreamLength bytes, then TMemoryBits::kPadding zero bytes) into
    // text[1..n], text having kTextBufferSize bytes; returns n. A CRC
    // mismatch clears BlockValid(); the text is then what the format's walk
    // gives. Raises EBitReadOverrun and EBlockDamaged.
    std::uint32_t ExpandBlock(const TDataBlockHeader& h, const std::uint8_t* stream, TBlockWork& work,
                              std::uint8_t* text);
    bool BlockValid() const { return m_blockValid; }
    // Longer blocks count as damaged (1..kMaxBlockLength; fuzzing keeps blocks small).
    void SetMaxBlockLength(std::uint32_t n) { m_maxBlockLength = n; }

    // The same in stages, so that one thread can walk two blocks at once:
    // DecodeBlock takes a block up to its transforms into work; WalkBlocks
    // walks count (1 or 2) of them side by side; FinishBlock checks the CRC
    // (true when it matches).
    void DecodeBlock(const TDataBlockHeader& h, const std::uint8_t* stream, TBlockWork& work, std::uint8_t* text);
    static void WalkBlocks(TBlockWork* const* works, int count);
    static bool FinishBlock(const TBlockWork& work);

    // Move-to-front decoding of ranks[0..n-1] into the last column last[0..n]:
    // the first P bytes go to 0..P-1, the rest to P+1..n; last[P] is the
    // sentinel's slot and is left alone.
    void DecodeMoveToFront(const std::uint8_t* ranks, std::uint32_t n, std::uint32_t P, std::uint8_t* last);

    // Inverse block sort of last[0..n] (sentinel at P) from row R into
    // text[1..n]; text may be last itself. forward and pairs need n + 1
    // entries. Requires P <= n, R <= n, n <= kMaxBlockLength.
    static void InverseBlockSort(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t R,
                                 std::uint32_t* forward, std::uint32_t* pairs, std::uint8_t* text);

private:
    // counts: how often each byte value occurs in last[0..n] outside P.
    // forward leads from each row to the next one in the text, pairs two
    // rows on; starts gets the first row of each byte.
    static void BuildTransforms(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, const std::uint32_t* counts,
                                std::uint32_t* forward, std::uint32_t* pairs, TRowStarts& starts);

    TMemoryStrucAriDecoder m_decoder;
    TMTFDecoder m_mtf;
    std::uint32_t m_maxBlockLength = kMaxBlockLength;
    bool m_blockValid = false;
};

} // namespace payload
