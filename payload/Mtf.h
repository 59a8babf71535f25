#pragma once
// Move-to-front tables.
#include <cstdint>
#include <cstring>

namespace payload {

class TMTFBase {
public:
    // Both tables become the identity.
    void Reset() {
        for (int i = 0; i < 256; ++i) {
            posToByte_[i] = std::uint8_t(i);
            byteToPos_[i] = std::uint8_t(i);
        }
    }
    // Moves a byte to position 0; the bytes before it move one place back.
    void MoveToFront(std::uint8_t byte) {
        const std::uint8_t p = byteToPos_[byte];
        for (int i = p; i > 0; --i) {
            posToByte_[i] = posToByte_[i - 1];
            byteToPos_[posToByte_[i]] = std::uint8_t(i);
        }
        posToByte_[0] = byte;
        byteToPos_[byte] = 0;
    }
    std::uint8_t ByteAt(int pos) const { return posToByte_[pos]; }
    std::uint8_t PositionOf(std::uint8_t byte) const { return byteToPos_[byte]; }

protected:
    std::uint8_t posToByte_[256] = {};
    std::uint8_t byteToPos_[256] = {};
};

class TMTFDecoder : public TMTFBase {
public:
    // The byte at position rank, moved to the front. Only the position table
    // is kept up to date: decoding never asks a byte for its position.
    std::uint8_t Decode(std::uint8_t rank) {
        const std::uint8_t b = posToByte_[rank];
        if (rank == 0) return b; // most ranks of sorted text

        std::memmove(posToByte_ + 1, posToByte_, rank);
        posToByte_[0] = b;
        return b;
    }
};

} // namespace payload
