#pragma once
// Buffered file access for the archive reader: a byte stream with its own
// 64 KB buffer, a bit reader on top of it, and the archive file itself.
#include <cstdint>
#include <string>
#include <vector>

namespace payload {

// Seek origins, with the values of the desktop stream class.
enum SeekOrigin : int { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

enum class OpenMode { Read, Create, ReadWrite };

// Error box of the decoder ("ErrorUnit.ShowError"): a modal box with an OK button.
void showError(const std::string& text);

class TBufferedFileStream {
public:
    static constexpr std::size_t kBufferSize = 65536;

    TBufferedFileStream(const std::string& fileName, OpenMode mode);
    virtual ~TBufferedFileStream();
    TBufferedFileStream(const TBufferedFileStream&) = delete;
    TBufferedFileStream& operator=(const TBufferedFileStream&) = delete;

    // Next byte; false with byte 0 at the end of the file.
    bool ReadByte(std::uint8_t& byte) {
        if (pos_ < fill_ && !empty_) {
            byte = buf_[pos_++];
            return true;
        }
        return refillAndRead(byte);
    }
    void WriteByte(std::uint8_t byte);
    // Little-endian 32-bit value, byte by byte; bytes past the end read as 0.
    std::uint32_t ReadU32();
    void WriteU32(std::uint32_t v);

    // Moves the read/write position; returns the new position.
    std::int64_t SmartSeek(std::int64_t offset, int origin);
    std::int64_t Position() const;
    // Size of the file when it was opened (read mode) or now (write modes).
    std::int64_t Size() const;
    void Flush();
    // Reads n bytes at file offset pos without touching the buffer or the
    // position; safe from several threads. Returns the bytes read.
    std::size_t ReadAt(std::int64_t pos, void* data, std::size_t n) const;

    const std::string& FileName() const { return fileName_; }
    bool WriteMode() const { return writeMode_; }

private:
    bool refillAndRead(std::uint8_t& byte);
    std::int64_t filePos() const;

    int fd_ = -1;
    std::vector<std::uint8_t> buf_;
    std::size_t fill_ = 0;       // valid bytes in the buffer
    std::size_t pos_ = 0;        // position within the buffer
    std::int64_t bufOffset_ = 0; // file offset of buf_[0]
    std::int64_t size_ = 0;
    bool dirty_ = false;
    bool empty_ = true;
    bool writeMode_ = false;
    std::string fileName_;
};

class TBitFile : public TBufferedFileStream {
public:
    TBitFile(const std::string& fileName, OpenMode mode);
    ~TBitFile() override;

    int ReadBit() {
        if (mask_ == 128) current_ = LimitedReadByte();
        const int bit = (current_ & mask_) != 0;
        mask_ >>= 1;
        if (mask_ == 0) mask_ = 128;
        return bit;
    }
    // n bits (at most 32), most significant first.
    std::uint32_t ReadBits(int n);
    void WriteBit(int bit);
    void WriteBits(std::uint32_t bits, int n);

    // Starts counting the bytes bit reading takes from the file.
    void SetReadLimit(std::int64_t limit) {
        readLimit_ = limit;
        readCount_ = 0;
    }
    std::int64_t ReadCount() const { return readCount_; }
    // Forgets a partly used byte: the next bit starts a fresh byte.
    void ResetBits() {
        mask_ = 128;
        current_ = 0;
    }

    // Past the limit no byte is taken from the file: 20 zeros are supplied
    // (the arithmetic decoder reads ahead), the 21st read raises EBitReadOverrun.
    std::uint8_t LimitedReadByte() {
        if (readCount_ < readLimit_) {
            ++readCount_;
            std::uint8_t b;
            ReadByte(b);
            return b;
        }
        return pastLimit();
    }

    static constexpr int kSlackBytes = 20;

private:
    std::uint8_t pastLimit();

    int mask_ = 128;
    std::uint8_t current_ = 0;
    bool plainRead_;
    std::int64_t readLimit_ = 2147483647;
    std::int64_t readCount_ = 0;
};

// The payload archive. Opening it for reading checks the file signature
// (ESignatureWrong); creating it writes the signature.
class TArchiveFile : public TBitFile {
public:
    TArchiveFile(const std::string& fileName, OpenMode mode);
    const std::string& ArchiveName() const { return archiveName_; }

private:
    std::string archiveName_;
};

// Unbuffered output file: every Write goes straight to the file.
class TPlainFileStream {
public:
    // Creates the file (an existing one is overwritten).
    explicit TPlainFileStream(const std::string& fileName);
    ~TPlainFileStream();
    TPlainFileStream(const TPlainFileStream&) = delete;
    TPlainFileStream& operator=(const TPlainFileStream&) = delete;

    void Write(const std::uint8_t* data, std::size_t n);
    void Close();

private:
    void cutToWritten();

    int fd_ = -1;
    std::string fileName_;
    std::int64_t written_ = 0;
    bool hadContent_ = false; // cut to what was written when done
};

} // namespace payload
