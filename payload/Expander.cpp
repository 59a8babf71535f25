#include "Expander.h"

#include "ArchiveHeader.h"
#include "BlockMan.h"
#include "BufferedFileStream.h"
#include "Crc32.h"
#include "PayloadErrors.h"
#include "platform/Hooks.h"

namespace payload {

std::uint32_t TBWTBase::BlockCRC(const std::uint8_t* buffer, std::uint32_t length) {
    return crc32(buffer + 1, length);
}

void TExpander::DecodeMoveToFront(const std::uint8_t* ranks, std::uint32_t n, std::uint32_t P,
                                  std::uint8_t* last) {
    mtf_.Reset();
    const std::uint32_t head = P < n ? P : n;
    for (std::uint32_t k = 0; k < head; ++k) last[k] = mtf_.Decode(ranks[k]);
    for (std::uint32_t k = head; k < n; ++k) last[k + 1] = mtf_.Decode(ranks[k]);
}

void TExpander::BuildTransform(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t* counts,
                               std::uint32_t* starts, std::uint32_t* T) {
    if (n > kMaxBlockLength || P > n) throw EBlockDamaged("block positions beyond the block");
    // Index 0 is the sentinel, which sorts before every byte; byte c is at c + 1.
    for (int k = 0; k < 257; ++k) counts[k] = 0;
    counts[0] = 1;
    for (std::uint32_t i = 0; i <= n; ++i)
        if (i != P) ++counts[last[i] + 1];
    std::uint32_t sum = 0;
    for (int k = 0; k < 257; ++k) {
        starts[k] = sum;
        sum += counts[k];
        counts[k] = 0;
    }
    for (std::uint32_t i = 0; i <= n; ++i) {
        if (i == P) continue;
        const unsigned c = last[i] + 1u;
        T[starts[c] + counts[c]++] = i;
    }
    T[0] = P;
    // Each entry carries its row's last-column byte in the top bits, so the
    // walk touches one entry per output byte.
    for (std::uint32_t j = 0; j <= n; ++j) T[j] |= std::uint32_t(last[j]) << 24;
}

void TExpander::WalkTransform(const std::uint32_t* T, std::uint32_t n, std::uint32_t R, std::uint8_t* text) {
    std::uint32_t* t = const_cast<std::uint32_t*>(T);
    WalkMany(1, &t, &n, &R, &text);
}

void TExpander::WalkMany(int count, std::uint32_t* const* T, const std::uint32_t* n, const std::uint32_t* R,
                         std::uint8_t* const* text) {
    // Each walk is one chain of dependent reads; chains side by side let the
    // memory system fetch for all of them at once.
    std::uint32_t r[kSlots] = {};
    std::uint32_t common = 0xFFFFFFFFu;
    for (int s = 0; s < count; ++s) {
        r[s] = R[s];
        if (n[s] < common) common = n[s];
    }
    if (count == kSlots) {
        for (std::uint32_t k = 1; k <= common; ++k) {
            const std::uint32_t v0 = T[0][r[0]], v1 = T[1][r[1]], v2 = T[2][r[2]], v3 = T[3][r[3]];
            text[0][k] = std::uint8_t(v0 >> 24);
            text[1][k] = std::uint8_t(v1 >> 24);
            text[2][k] = std::uint8_t(v2 >> 24);
            text[3][k] = std::uint8_t(v3 >> 24);
            r[0] = v0 & 0xFFFFFFu;
            r[1] = v1 & 0xFFFFFFu;
            r[2] = v2 & 0xFFFFFFu;
            r[3] = v3 & 0xFFFFFFu;
        }
    } else {
        common = 0;
    }
    for (int s = 0; s < count; ++s) {
        std::uint32_t rs = r[s];
        for (std::uint32_t k = common + 1; k <= n[s]; ++k) {
            const std::uint32_t v = T[s][rs];
            text[s][k] = std::uint8_t(v >> 24);
            rs = v & 0xFFFFFFu;
        }
    }
}

void TExpander::InverseBlockSort(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t R,
                                 std::uint32_t* counts, std::uint32_t* starts, std::uint32_t* T,
                                 std::uint8_t* text) {
    if (n > kMaxBlockLength || P > n || R > n) throw EBlockDamaged("block positions beyond the block");
    BuildTransform(last, n, P, counts, starts, T);
    WalkTransform(T, n, R, text);
}

void TExpander::DecodeStage(TArchiveFile& archive, int slot) {
    TBlockMan& man = TBlockMan::instance();
    Slot& s = slots_[slot];
    s = Slot{};
    blockValid_ = false;
    blockLength_ = 0;
    std::uint8_t* ranks = man.Buffer1(slot);
    std::uint8_t* last = man.Buffer2(slot);

    const std::int64_t headerPos = archive.Position();
    // Fewer bytes than a header: the block is missing.
    if (archive.Size() - headerPos < std::int64_t(kBlockHeaderSize)) throw ESignatureWrong();
    TDataBlockHeader header;
    header.Read(archive);
    const std::int64_t streamEnd = headerPos + kBlockHeaderSize + std::int64_t(header.StreamLength);
    if (streamEnd > archive.Size()) throw EBlockDamaged("a block's coded data runs past the end of the archive");

    archive.SetReadLimit(header.StreamLength);
    std::uint32_t n = 0;
    decoder_.DecodeBlock(archive, ranks, maxBlockLength_, n);
    // The next header follows the stated stream, however much of it decoding used.
    archive.SmartSeek(streamEnd, soFromBeginning);

    const std::uint32_t P = header.SentinelPosition;
    const std::uint32_t R = header.PrimaryIndex;
    if (P > n) throw EBlockDamaged("the sentinel position lies beyond the block");
    if (R > n) throw EBlockDamaged("the primary index lies beyond the block");

    DecodeMoveToFront(ranks + 1, n, P, last);
    BuildTransform(last, n, P, man.Counts(slot), man.Starts(slot), man.Transform(slot));
    s.n = n;
    s.R = R;
    s.crc = header.CRC;
}

void TExpander::checkAndWrite(int slot, TPlainFileStream& out) {
    CheckSlot(slot);
    WriteSlot(slot, out);
}

void TExpander::CheckSlot(int slot) {
    Slot& s = slots_[slot];
    s.valid = BlockCRC(TBlockMan::instance().Buffer1(slot), s.n) == s.crc;
}

void TExpander::WalkSlot(int slot) {
    TBlockMan& man = TBlockMan::instance();
    WalkTransform(man.Transform(slot), slots_[slot].n, slots_[slot].R, man.Buffer1(slot));
    CheckSlot(slot);
}

void TExpander::WriteSlot(int slot, TPlainFileStream& out) {
    const Slot& s = slots_[slot];
    blockLength_ = s.n;
    blockValid_ = s.valid;
    if (!s.valid) plat::showMessage("CRC does not match!");
    out.Write(TBlockMan::instance().Buffer1(slot) + 1, s.n);
}

void TExpander::FinishSlots(int count, TPlainFileStream& out) {
    TBlockMan& man = TBlockMan::instance();
    std::uint32_t* T[kSlots] = {};
    std::uint8_t* text[kSlots] = {};
    std::uint32_t n[kSlots] = {}, R[kSlots] = {};
    for (int s = 0; s < count; ++s) {
        T[s] = man.Transform(s);
        text[s] = man.Buffer1(s);
        n[s] = slots_[s].n;
        R[s] = slots_[s].R;
    }
    WalkMany(count, T, n, R, text);
    for (int s = 0; s < count; ++s) checkAndWrite(s, out);
}

void TExpander::ExpandBlock(TArchiveFile& archive, TPlainFileStream& out) {
    DecodeStage(archive, 0);
    FinishSlots(1, out);
}

} // namespace payload
