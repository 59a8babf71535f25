#include "model/VersionMMF.h"

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t getLE32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

void putLE32(char* p, std::uint32_t v) {
    auto* b = reinterpret_cast<unsigned char*>(p);
    b[0] = static_cast<unsigned char>(v);
    b[1] = static_cast<unsigned char>(v >> 8);
    b[2] = static_cast<unsigned char>(v >> 16);
    b[3] = static_cast<unsigned char>(v >> 24);
}

} // namespace

WVersionMMF::WVersionMMF(const std::string& fileName, std::int32_t initialSize, std::int32_t growthStep)
    : WMMF(fileName, initialSize, growthStep, true) {
    ResetHeader();
}

void WVersionMMF::ResetHeader() {
    char header[8];
    putLE32(header, 1);
    putLE32(header + 4, static_cast<std::uint32_t>(HeaderSize()));
    Seek(0, 0);
    WMMF::Write(header, sizeof header);
}

std::uint32_t WVersionMMF::GetDataEnd() const {
    if (GetSize() < HeaderSize()) return static_cast<std::uint32_t>(HeaderSize());
    return getLE32(GetPointer(4));
}

void WVersionMMF::SetDataEnd(std::uint32_t dataEnd) {
    if (GetSize() < HeaderSize() || IsReadOnly()) return;
    putLE32(GetPointer(4), dataEnd);
}

std::int64_t WVersionMMF::WriteBuffer(const void* buffer, std::int64_t count) {
    std::int64_t at = Write(buffer, count);
    std::int64_t end = GetPosition();
    if (end > at && end > static_cast<std::int64_t>(GetDataEnd())) SetDataEnd(static_cast<std::uint32_t>(end));
    return at;
}

std::int64_t WVersionMMF::Append(const void* buffer, std::int64_t count) {
    Seek(GetDataEnd(), 0);
    return WriteBuffer(buffer, count);
}

std::int64_t WVersionMMF::AppendString(const std::string& text) {
    return Append(text.data(), static_cast<std::int64_t>(text.size()));
}

std::int64_t WVersionMMF::AppendZeros(std::int64_t count) {
    static const char zeros[65536] = {};
    std::int64_t start = GetDataEnd();
    Seek(start, 0);
    while (count > 0) {
        std::int64_t piece = std::min<std::int64_t>(count, sizeof zeros);
        WriteBuffer(zeros, piece);
        count -= piece;
    }
    return start;
}
