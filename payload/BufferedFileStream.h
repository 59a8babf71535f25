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
        if (m_pos < m_fill && !m_empty) {
            byte = m_buf[m_pos++];
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

    const std::string& FileName() const { return m_fileName; }
    bool WriteMode() const { return m_writeMode; }

private:
    bool refillAndRead(std::uint8_t& byte);
    std::int64_t filePos() const;

    int m_fd = -1;
    std::vector<std::uint8_t> m_buf;
    std::size_t m_fill = 0;       // valid bytes in the buffer
    std::size_t m_pos = 0;        // position within the buffer
    std::int64_t m_bufOffset = 0; // file offset of m_buf[0]
    std::int64_t m_size = 0;
    bool m_dirty = false;
    bool m_empty = true;
    bool m_writeMode = false;
    std::string m_fileName;
};

class TBitFile : public TBufferedFileStream {
public:
    TBitFile(const std::string& fileName, OpenMode mode);
    ~TBitFile() override;

    int ReadBit() {
        if (m_mask == 128) m_current = LimitedReadByte();
        const int bit = (m_current & m_mask) != 0;
        m_mask >>= 1;
        if (m_mask == 0) m_mask = 128;
        return bit;
    }
    // n bits (at most 32), most significant first.
    std::uint32_t ReadBits(int n);
    void WriteBit(int bit);
    void WriteBits(std::uint32_t bits, int n);

    // Starts counting the bytes bit reading takes from the file.
    void SetReadLimit(std::int64_t limit) {
        m_readLimit = limit;
        m_readCount = 0;
    }
    std::int64_t ReadCount() const { return m_readCount; }
    // Forgets a partly used byte: the next bit starts a fresh byte.
    void ResetBits() {
        m_mask = 128;
        m_current = 0;
    }

    // Past the limit no byte is taken from the file: 20 zeros are supplied
    // (the arithmetic decoder reads ahead), the 21st read raises EBitReadOverrun.
    std::uint8_t LimitedReadByte() {
        if (m_readCount < m_readLimit) {
            ++m_readCount;
            std::uint8_t b;
            ReadByte(b);
            return b;
        }
        return pastLimit();
    }

    static constexpr int kSlackBytes = 20;

private:
    std::uint8_t pastLimit();

    int m_mask = 128;
    std::uint8_t m_current = 0;
    bool m_plainRead;
    std::int64_t m_readLimit = 2147483647;
    std::int64_t m_readCount = 0;
};

// The payload archive. Opening it for reading checks the file signature
// (ESignatureWrong); creating it writes the signature.
class TArchiveFile : public TBitFile {
public:
    TArchiveFile(const std::string& fileName, OpenMode mode);
    const std::string& ArchiveName() const { return m_archiveName; }

private:
    std::string m_archiveName;
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

    int m_fd = -1;
    std::string m_fileName;
    std::int64_t m_written = 0;
    bool m_hadContent = false; // cut to what was written when done
};

} // namespace payload
