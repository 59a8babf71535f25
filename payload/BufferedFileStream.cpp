#include "payload/BufferedFileStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "payload/ArchiveHeader.h"
#include "payload/PayloadErrors.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"

namespace payload {

void showError(const std::string& text) { plat::messageBox(text, "Error", plat::MB_OK | plat::MB_ICONERROR); }

TBufferedFileStream::TBufferedFileStream(const std::string& fileName, OpenMode mode)
    : m_buf(kBufferSize), m_fileName(fileName) {
    int flags = O_RDONLY;
    if (mode == OpenMode::Create) flags = O_RDWR | O_CREAT | O_TRUNC;
    if (mode == OpenMode::ReadWrite) flags = O_RDWR;
    m_writeMode = mode != OpenMode::Read;
    // A pipe at the name is refused rather than waited on.
    m_fd = plat::openRegularFile(fileName, flags);
    if (m_fd < 0) {
        const int error = errno;
        // Something there that is no file was opened, not made.
        if (mode == OpenMode::Create && error != ENXIO)
            throw EFileError("Cannot create file \"" + fileName + "\"", error, true);
        throw EFileError("Cannot open file \"" + fileName + "\"", error);
    }
    struct stat st {};
    ::fstat(m_fd, &st);
    m_size = st.st_size;
}

TBufferedFileStream::~TBufferedFileStream() {
    if (m_fd < 0) return;
    try {
        Flush();
    } catch (...) {
        // A destructor cannot report; callers that care flush first.
    }
    ::close(m_fd);
}

std::size_t TBufferedFileStream::ReadAt(std::int64_t pos, void* data, std::size_t n) const {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(m_fd, static_cast<char*>(data) + got, n - got, off_t(pos + std::int64_t(got)));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) throw EFileError("Error reading file \"" + m_fileName + "\"", errno);
        if (r == 0) break;
        got += std::size_t(r);
    }
    return got;
}

std::int64_t TBufferedFileStream::filePos() const { return ::lseek(m_fd, 0, SEEK_CUR); }

bool TBufferedFileStream::refillAndRead(std::uint8_t& byte) {
    for (;;) {
        if (m_pos < m_fill && !m_empty) {
            byte = m_buf[m_pos++];
            return true;
        }
        if (!m_empty && m_fill < kBufferSize) {
            byte = 0; // the last refill came up short: end of file
            return false;
        }
        if (m_dirty) Flush();
        m_empty = false;
        m_bufOffset = filePos();
        ssize_t got;
        do {
            got = ::read(m_fd, m_buf.data(), kBufferSize);
        } while (got < 0 && errno == EINTR);
        if (got < 0) throw EFileError("Error reading file \"" + m_fileName + "\"", errno);
        m_fill = std::size_t(got);
        m_pos = 0;
    }
}

void TBufferedFileStream::WriteByte(std::uint8_t byte) {
    if (m_pos >= kBufferSize) Flush();
    if (m_empty) {
        // A buffer that held read data is dropped: writing starts at the position.
        m_bufOffset = filePos();
        m_empty = false;
        m_fill = 0;
    }
    m_buf[m_pos++] = byte;
    if (m_pos > m_fill) m_fill = m_pos;
    m_dirty = true;
}

void TBufferedFileStream::Flush() {
    if (m_dirty) {
        if (::lseek(m_fd, m_bufOffset, SEEK_SET) < 0)
            throw EFileError("Error writing file \"" + m_fileName + "\"", errno, true);
        std::size_t done = 0;
        while (done < m_fill) {
            const ssize_t w = ::write(m_fd, m_buf.data() + done, m_fill - done);
            if (w < 0 && errno == EINTR) continue;
            // Nothing written and no error: no room left.
            if (w <= 0) throw EFileError("Error writing file \"" + m_fileName + "\"", w < 0 ? errno : ENOSPC, true);
            done += std::size_t(w);
        }
        // The file position now follows the last byte written through the buffer.
        ::lseek(m_fd, m_bufOffset + std::int64_t(m_pos), SEEK_SET);
        m_dirty = false;
        const std::int64_t end = m_bufOffset + std::int64_t(m_fill);
        if (end > m_size) m_size = end;
    }
    m_bufOffset = filePos();
    m_pos = 0;
    m_fill = 0;
    m_empty = true;
}

std::uint32_t TBufferedFileStream::ReadU32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        std::uint8_t b;
        ReadByte(b);
        v |= std::uint32_t(b) << (8 * i);
    }
    return v;
}

void TBufferedFileStream::WriteU32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) WriteByte(std::uint8_t(v >> (8 * i)));
}

std::int64_t TBufferedFileStream::Position() const {
    if (!m_empty && (m_fill > 0 || m_dirty)) return m_bufOffset + std::int64_t(m_pos);
    return filePos();
}

std::int64_t TBufferedFileStream::Size() const {
    if (m_writeMode && m_dirty) {
        const std::int64_t end = m_bufOffset + std::int64_t(m_fill);
        return end > m_size ? end : m_size;
    }
    return m_size;
}

std::int64_t TBufferedFileStream::SmartSeek(std::int64_t offset, int origin) {
    std::int64_t target;
    switch (origin) {
    case soFromBeginning: target = offset; break;
    case soFromCurrent: target = Position() + offset; break;
    case soFromEnd: target = Size() + offset; break;
    default:
        showError("abs_offset not initialized");
        target = offset;
        break;
    }
    if (target < 0) throw ESeekError();
    if (m_writeMode) {
        Flush();
        if (::lseek(m_fd, target, SEEK_SET) < 0) throw ESeekError();
        m_bufOffset = target;
        return target;
    }
    const std::int64_t inBuf = target - m_bufOffset;
    if (!m_empty && inBuf > 0 && inBuf < std::int64_t(m_fill) - 1) {
        m_pos = std::size_t(inBuf);
        return target;
    }
    if (::lseek(m_fd, target, SEEK_SET) < 0) throw ESeekError();
    m_pos = 0;
    m_fill = 0;
    m_empty = true;
    m_bufOffset = target;
    return target;
}

TBitFile::TBitFile(const std::string& fileName, OpenMode mode)
    : TBufferedFileStream(fileName, mode), m_plainRead(mode == OpenMode::Read) {}

TBitFile::~TBitFile() {
    if (!m_plainRead && m_mask != 128) {
        try {
            WriteByte(m_current);
        } catch (...) {
        }
    }
}

std::uint32_t TBitFile::ReadBits(int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 1) | std::uint32_t(ReadBit());
    return v;
}

void TBitFile::WriteBit(int bit) {
    if (bit) m_current = std::uint8_t(m_current | m_mask);
    m_mask >>= 1;
    if (m_mask == 0) {
        WriteByte(m_current);
        m_current = 0;
        m_mask = 128;
    }
}

void TBitFile::WriteBits(std::uint32_t bits, int n) {
    for (int i = n - 1; i >= 0; --i) WriteBit(int((bits >> i) & 1u));
}

std::uint8_t TBitFile::pastLimit() {
    if (m_readCount - m_readLimit >= kSlackBytes) throw EBitReadOverrun();
    ++m_readCount;
    return 0;
}

TArchiveFile::TArchiveFile(const std::string& fileName, OpenMode mode)
    : TBitFile(fileName, mode), m_archiveName(fileName) {
    TResourceArchiveHeader header;
    if (mode == OpenMode::Create)
        header.Write(*this);
    else
        header.Read(*this);
}

// Not opened with O_TRUNC: ext4 flushes a file truncated to nothing when it is
// closed, which costs a quarter of a second on a large expanded file. An
// existing file is cut to what was written instead, so a link in its place is
// refused rather than followed to a file it would cut.
TPlainFileStream::TPlainFileStream(const std::string& fileName) : m_fileName(fileName) {
    m_fd = plat::openTempForWriting(fileName);
    if (m_fd < 0) throw EFileError("Cannot create file \"" + fileName + "\"", errno, true);
    struct stat st {};
    m_hadContent = ::fstat(m_fd, &st) != 0 || st.st_size > 0;
}

TPlainFileStream::~TPlainFileStream() {
    if (m_fd < 0) return;
    if (m_hadContent) (void)!::ftruncate(m_fd, off_t(m_written)); // a destructor cannot report
    ::close(m_fd);
}

void TPlainFileStream::cutToWritten() {
    if (m_hadContent && ::ftruncate(m_fd, off_t(m_written)) != 0) {
        const int e = errno;
        ::close(m_fd);
        m_fd = -1;
        throw EFileError("Error writing file \"" + m_fileName + "\"", e, true);
    }
    m_hadContent = false;
}

void TPlainFileStream::Write(const std::uint8_t* data, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(m_fd, data + done, n - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) throw EFileError("Error writing file \"" + m_fileName + "\"", w < 0 ? errno : ENOSPC, true);
        done += std::size_t(w);
    }
    m_written += std::int64_t(n);
}

void TPlainFileStream::Close() {
    if (m_fd < 0) return;
    cutToWritten();
    if (::close(m_fd) != 0) {
        m_fd = -1;
        throw EFileError("Error writing file \"" + m_fileName + "\"", errno, true);
    }
    m_fd = -1;
}

} // namespace payload
