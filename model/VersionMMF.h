#pragma once
// A store with a small versioned header: version (1) at offset 0 and the data
// end (first byte after the data written so far, 8 when empty) at offset 4,
// both unsigned 32-bit little-endian. Always starts in memory.
#include <string>

#include "model/MMF.h"

class WVersionMMF : public WMMF {
public:
    WVersionMMF(const std::string& fileName, std::int32_t initialSize, std::int32_t growthStep);

    std::uint32_t GetDataEnd() const;
    void SetDataEnd(std::uint32_t dataEnd);

    // Write, then raise the data end to the end of the written bytes.
    std::int64_t WriteBuffer(const void* buffer, std::int64_t count) override;

    // Write at the data end; return the offset the data starts at.
    std::int64_t Append(const void* buffer, std::int64_t count);
    // The text's bytes only, no length and no terminator.
    std::int64_t AppendString(const std::string& text);
    // count zero bytes at the data end; returns the offset they start at.
    std::int64_t AppendZeros(std::int64_t count);

    static constexpr std::int32_t HeaderSize() { return 8; }
    // Writes the header again: version 1, data end 8.
    void ResetHeader();
};
