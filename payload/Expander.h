#pragma once
// Expansion of one archive block: ranks, move-to-front, inverse block sort, CRC.
#include "AriDecoder.h"
#include "BlockMan.h"
#include "Mtf.h"

#include <cstdint>

namespace payload {

class TArchiveFile;
class TPlainFileStream;

class TBWTBase {
public:
    // CRC-32 of buffer entries 1..length.
    static std::uint32_t BlockCRC(const std::uint8_t* buffer, std::uint32_t length);

protected:
    void SwapBuffers() {
        std::uint8_t* t = current_;
        current_ = other_;
        other_ = t;
    }
    std::uint8_t* current_ = nullptr;
    std::uint8_t* other_ = nullptr;
    std::uint32_t crc_ = 0;
};

class TExpander : public TBWTBase {
public:
    // Reads one block at the archive's position and appends its bytes to out.
    // Leaves the archive at the first byte after the block's coded stream.
    // A CRC mismatch is shown and clears BlockValid(); the bytes are written anyway.
    void ExpandBlock(TArchiveFile& archive, TPlainFileStream& out);
    bool BlockValid() const { return blockValid_; }
    // Longer blocks count as damaged (1..kMaxBlockLength; fuzzing keeps blocks small).
    void SetMaxBlockLength(std::uint32_t n) { maxBlockLength_ = n; }
    std::uint32_t BlockLength() const { return blockLength_; }

    // The same in two stages, so that several blocks can be finished
    // together: DecodeStage reads a block into a buffer slot up to its
    // transform; FinishSlots walks the transforms of slots 0..count-1 side by
    // side (several memory reads in flight instead of one), checks each CRC
    // and writes the bytes in slot order.
    static constexpr int kSlots = TBlockMan::kSlots;
    void DecodeStage(TArchiveFile& archive, int slot);
    void FinishSlots(int count, TPlainFileStream& out);
    bool SlotValid(int slot) const { return slots_[slot].valid; }
    // For expansion on several threads: a worker walks and checks its slot,
    // the owner of the output writes it (showing a CRC mismatch) in order.
    void WalkSlot(int slot);
    void WriteSlot(int slot, TPlainFileStream& out);

    // Move-to-front decoding of ranks[0..n-1] into the last column last[0..n]:
    // the first P bytes go to 0..P-1, the rest to P+1..n; last[P] is the
    // sentinel's slot and is left alone.
    void DecodeMoveToFront(const std::uint8_t* ranks, std::uint32_t n, std::uint32_t P, std::uint8_t* last);

    // Inverse block sort of last[0..n] (sentinel at P) from row R into
    // text[1..n]. counts and starts need 257 entries, transform n + 1.
    // Requires P <= n, R <= n, n <= kMaxBlockLength.
    static void InverseBlockSort(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t R,
                                 std::uint32_t* counts, std::uint32_t* starts, std::uint32_t* transform,
                                 std::uint8_t* text);
    // The two halves of it: the transform of last[0..n], and the walk from row R.
    static void BuildTransform(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t* counts,
                               std::uint32_t* starts, std::uint32_t* transform);
    static void WalkTransform(const std::uint32_t* transform, std::uint32_t n, std::uint32_t R, std::uint8_t* text);
    // Walks count (1..kSlots) transforms at once.
    static void WalkMany(int count, std::uint32_t* const* transforms, const std::uint32_t* n, const std::uint32_t* R,
                         std::uint8_t* const* texts);

private:
    struct Slot {
        std::uint32_t n = 0, R = 0, crc = 0;
        bool valid = false;
    };
    void checkAndWrite(int slot, TPlainFileStream& out);
    void CheckSlot(int slot);
    Slot slots_[kSlots];
    TFileStrucAriDecoder decoder_;
    TMTFDecoder mtf_;
    std::uint32_t maxBlockLength_ = kMaxBlockLength;
    std::uint32_t blockLength_ = 0;
    bool blockValid_ = false;
};

} // namespace payload
