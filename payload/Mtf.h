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
            m_posToByte[i] = std::uint8_t(i);
            m_byteToPos[i] = std::uint8_t(i);
        }
    }
    // Moves a byte to position 0; the bytes before it move one place back.
    void MoveToFront(std::uint8_t byte) {
        const std::uint8_t p = m_byteToPos[byte];
        for (int i = p; i > 0; --i) {
            m_posToByte[i] = m_posToByte[i - 1];
            m_byteToPos[m_posToByte[i]] = std::uint8_t(i);
        }
        m_posToByte[0] = byte;
        m_byteToPos[byte] = 0;
    }
    std::uint8_t ByteAt(int pos) const { return m_posToByte[pos]; }
    std::uint8_t PositionOf(std::uint8_t byte) const { return m_byteToPos[byte]; }

protected:
    std::uint8_t m_posToByte[256] = {};
    std::uint8_t m_byteToPos[256] = {};
};

class TMTFDecoder : public TMTFBase {
public:
    // The byte at position rank, moved to the front. Only the position table
    // is kept up to date: decoding never asks a byte for its position.
    std::uint8_t Decode(std::uint8_t rank) {
        const std::uint8_t b = m_posToByte[rank];
        if (rank == 0) return b; // most ranks of sorted text

        std::memmove(m_posToByte + 1, m_posToByte, rank);
        m_posToByte[0] = b;
        return b;
    }
};

} // namespace payload
