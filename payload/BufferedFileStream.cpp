#include "BufferedFileStream.h"

#include "ArchiveHeader.h"
#include "PayloadErrors.h"
#include "platform/Hooks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace payload {

void showError(const std::string& text) { plat::messageBox(text, "Error", plat::MB_OK | plat::MB_ICONERROR); }

TBufferedFileStream::TBufferedFileStream(const std::string& fileName, OpenMode mode)
    : buf_(kBufferSize), fileName_(fileName) {
    int flags = O_RDONLY;
    if (mode == OpenMode::Create) flags = O_RDWR | O_CREAT | O_TRUNC;
    if (mode == OpenMode::ReadWrite) flags = O_RDWR;
    writeMode_ = mode != OpenMode::Read;
    fd_ = ::open(fileName.c_str(), flags | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        if (mode == OpenMode::Create) throw EFileError("Cannot create file \"" + fileName + "\"", errno, true);
        throw EFileError("Cannot open file \"" + fileName + "\"", errno);
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw EFileError("Cannot open file \"" + fileName + "\"");
    }
    size_ = st.st_size;
}

TBufferedFileStream::~TBufferedFileStream() {
    if (fd_ < 0) return;
    try {
        Flush();
    } catch (...) {
        // A destructor cannot report; callers that care flush first.
    }
    ::close(fd_);
}

std::size_t TBufferedFileStream::ReadAt(std::int64_t pos, void* data, std::size_t n) const {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd_, static_cast<char*>(data) + got, n - got, off_t(pos + std::int64_t(got)));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) throw EFileError("Error reading file \"" + fileName_ + "\"", errno);
        if (r == 0) break;
        got += std::size_t(r);
    }
    return got;
}

std::int64_t TBufferedFileStream::filePos() const { return ::lseek(fd_, 0, SEEK_CUR); }

bool TBufferedFileStream::refillAndRead(std::uint8_t& byte) {
    for (;;) {
        if (pos_ < fill_ && !empty_) {
            byte = buf_[pos_++];
            return true;
        }
        if (!empty_ && fill_ < kBufferSize) {
            byte = 0; // the last refill came up short: end of file
            return false;
        }
        if (dirty_) Flush();
        empty_ = false;
        bufOffset_ = filePos();
        ssize_t got;
        do {
            got = ::read(fd_, buf_.data(), kBufferSize);
        } while (got < 0 && errno == EINTR);
        if (got < 0) throw EFileError("Error reading file \"" + fileName_ + "\"", errno);
        fill_ = std::size_t(got);
        pos_ = 0;
    }
}

void TBufferedFileStream::WriteByte(std::uint8_t byte) {
    if (pos_ >= kBufferSize) Flush();
    if (empty_) {
        // A buffer that held read data is dropped: writing starts at the position.
        bufOffset_ = filePos();
        empty_ = false;
        fill_ = 0;
    }
    buf_[pos_++] = byte;
    if (pos_ > fill_) fill_ = pos_;
    dirty_ = true;
}

void TBufferedFileStream::Flush() {
    if (dirty_) {
        if (::lseek(fd_, bufOffset_, SEEK_SET) < 0)
            throw EFileError("Error writing file \"" + fileName_ + "\"", errno, true);
        std::size_t done = 0;
        while (done < fill_) {
            const ssize_t w = ::write(fd_, buf_.data() + done, fill_ - done);
            if (w < 0 && errno == EINTR) continue;
            // Nothing written and no error: no room left.
            if (w <= 0) throw EFileError("Error writing file \"" + fileName_ + "\"", w < 0 ? errno : ENOSPC, true);
            done += std::size_t(w);
        }
        // The file position now follows the last byte written through the buffer.
        ::lseek(fd_, bufOffset_ + std::int64_t(pos_), SEEK_SET);
        dirty_ = false;
        const std::int64_t end = bufOffset_ + std::int64_t(fill_);
        if (end > size_) size_ = end;
    }
    bufOffset_ = filePos();
    pos_ = 0;
    fill_ = 0;
    empty_ = true;
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
    if (!empty_ && (fill_ > 0 || dirty_)) return bufOffset_ + std::int64_t(pos_);
    return filePos();
}

std::int64_t TBufferedFileStream::Size() const {
    if (writeMode_ && dirty_) {
        const std::int64_t end = bufOffset_ + std::int64_t(fill_);
        return end > size_ ? end : size_;
    }
    return size_;
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
    if (writeMode_) {
        Flush();
        if (::lseek(fd_, target, SEEK_SET) < 0) throw ESeekError();
        bufOffset_ = target;
        return target;
    }
    const std::int64_t inBuf = target - bufOffset_;
    if (!empty_ && inBuf > 0 && inBuf < std::int64_t(fill_) - 1) {
        pos_ = std::size_t(inBuf);
        return target;
    }
    if (::lseek(fd_, target, SEEK_SET) < 0) throw ESeekError();
    pos_ = 0;
    fill_ = 0;
    empty_ = true;
    bufOffset_ = target;
    return target;
}

TBitFile::TBitFile(const std::string& fileName, OpenMode mode)
    : TBufferedFileStream(fileName, mode), plainRead_(mode == OpenMode::Read) {}

TBitFile::~TBitFile() {
    if (!plainRead_ && mask_ != 128) {
        try {
            WriteByte(current_);
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
    if (bit) current_ = std::uint8_t(current_ | mask_);
    mask_ >>= 1;
    if (mask_ == 0) {
        WriteByte(current_);
        current_ = 0;
        mask_ = 128;
    }
}

void TBitFile::WriteBits(std::uint32_t bits, int n) {
    for (int i = n - 1; i >= 0; --i) WriteBit(int((bits >> i) & 1u));
}

std::uint8_t TBitFile::pastLimit() {
    if (readCount_ - readLimit_ >= kSlackBytes) throw EBitReadOverrun();
    ++readCount_;
    return 0;
}

TArchiveFile::TArchiveFile(const std::string& fileName, OpenMode mode)
    : TBitFile(fileName, mode), archiveName_(fileName) {
    TResourceArchiveHeader header;
    if (mode == OpenMode::Create)
        header.Write(*this);
    else
        header.Read(*this);
}

// Not opened with O_TRUNC: ext4 flushes a file truncated to nothing when it is
// closed, which costs a quarter of a second on a large expanded file. An
// existing file is cut to what was written instead.
TPlainFileStream::TPlainFileStream(const std::string& fileName) : fileName_(fileName) {
    fd_ = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) throw EFileError("Cannot create file \"" + fileName + "\"", errno, true);
    struct stat st {};
    hadContent_ = ::fstat(fd_, &st) != 0 || st.st_size > 0;
}

TPlainFileStream::~TPlainFileStream() {
    if (fd_ < 0) return;
    if (hadContent_) (void)!::ftruncate(fd_, off_t(written_)); // a destructor cannot report
    ::close(fd_);
}

void TPlainFileStream::cutToWritten() {
    if (hadContent_ && ::ftruncate(fd_, off_t(written_)) != 0) {
        const int e = errno;
        ::close(fd_);
        fd_ = -1;
        throw EFileError("Error writing file \"" + fileName_ + "\"", e, true);
    }
    hadContent_ = false;
}

void TPlainFileStream::Write(const std::uint8_t* data, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd_, data + done, n - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) throw EFileError("Error writing file \"" + fileName_ + "\"", w < 0 ? errno : ENOSPC, true);
        done += std::size_t(w);
    }
    written_ += std::int64_t(n);
}

void TPlainFileStream::Close() {
    if (fd_ < 0) return;
    cutToWritten();
    if (::close(fd_) != 0) {
        fd_ = -1;
        throw EFileError("Error writing file \"" + fileName_ + "\"", errno, true);
    }
    fd_ = -1;
}

} // namespace payload
