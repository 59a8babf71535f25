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

void TExpander::InverseBlockSort(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t R,
                                 std::uint32_t* counts, std::uint32_t* starts, std::uint32_t* T,
                                 std::uint8_t* text) {
    if (n > kMaxBlockLength || P > n || R > n) throw EBlockDamaged("block positions beyond the block");
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
    // walk below touches one entry per output byte.
    for (std::uint32_t j = 0; j <= n; ++j) T[j] |= std::uint32_t(last[j]) << 24;
    std::uint32_t r = R;
    for (std::uint32_t k = 1; k <= n; ++k) {
        const std::uint32_t v = T[r];
        text[k] = std::uint8_t(v >> 24);
        r = v & 0xFFFFFFu;
    }
}

void TExpander::ExpandBlock(TArchiveFile& archive, TPlainFileStream& out) {
    TBlockMan& man = TBlockMan::instance();
    current_ = man.Buffer1();
    other_ = man.Buffer2();
    blockValid_ = false;
    blockLength_ = 0;

    const std::int64_t headerPos = archive.Position();
    // Fewer bytes than a header: the block is missing.
    if (archive.Size() - headerPos < std::int64_t(kBlockHeaderSize)) throw ESignatureWrong();
    TDataBlockHeader header;
    header.Read(archive);
    const std::int64_t streamEnd = headerPos + kBlockHeaderSize + std::int64_t(header.StreamLength);
    if (streamEnd > archive.Size()) throw EBlockDamaged("a block's coded data runs past the end of the archive");

    archive.SetReadLimit(header.StreamLength);
    std::uint32_t n = 0;
    decoder_.DecodeBlock(archive, current_, kMaxBlockLength, n);
    // The next header follows the stated stream, however much of it decoding used.
    archive.SmartSeek(streamEnd, soFromBeginning);

    const std::uint32_t P = header.SentinelPosition;
    const std::uint32_t R = header.PrimaryIndex;
    if (P > n) throw EBlockDamaged("the sentinel position lies beyond the block");
    if (R > n) throw EBlockDamaged("the primary index lies beyond the block");

    DecodeMoveToFront(current_ + 1, n, P, other_);
    SwapBuffers();
    InverseBlockSort(current_, n, P, R, man.Counts(), man.Starts(), man.Transform(), other_);
    SwapBuffers();

    crc_ = BlockCRC(current_, n);
    blockLength_ = n;
    blockValid_ = crc_ == header.CRC;
    if (!blockValid_) plat::showMessage("CRC does not match!");
    out.Write(current_ + 1, n);
}

} // namespace payload
