#pragma once
// Byte store addressed by offset. It lives in a memory buffer while it is small
// and in a memory-mapped file when it is large or when it is a file on disk.
// Addresses from GetPointer stay valid only until the next growth.
#include <cstdint>
#include <stdexcept>
#include <string>

// File errors of the stores. The message always names the file.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EFileStreamError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// A file that cannot be opened, mapped or grown.
class EFOpenError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};
// A file that cannot be created.
class EFCreateError : public EFileStreamError {
public:
    using EFileStreamError::EFileStreamError;
};

// "Error using the file <name>" CR LF "Please check that ..."
std::string MMFErrorText(const std::string& fileName);

// Open-mode bits of the stores (file mode and share mode ORed together).
constexpr unsigned fmCreate = 0xFFFF;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

class WMMF {
public:
    // A store stays in memory only while its capacity is below this.
    static constexpr std::int32_t MemoryLimit = 65536;
    // Largest size a store may reach; a file of 2 GiB or more is refused.
    static constexpr std::int64_t MaxSize = 0x7FFFFFFF;

    // Create: a new store in the create mode. An empty file name makes a
    // temporary store whose "qel" file is made the first time one is needed.
    WMMF(const std::string& fileName, std::int32_t initialSize, std::int32_t growthStep, bool inMemory);
    // CreateOpen: a store on an existing file (mapped, never temporary).
    // Read-only modes map the file privately and refuse writes.
    WMMF(const std::string& fileName, unsigned openMode, std::int32_t growthStep);
    // Frees the store: a temporary file is deleted, a named file keeps the data.
    virtual ~WMMF();

    WMMF(const WMMF&) = delete;
    WMMF& operator=(const WMMF&) = delete;

    // Copies up to count bytes from the position; returns the number copied.
    virtual std::int32_t Read(void* buffer, std::int64_t count);
    // Writes count bytes at the position, growing the store as needed; returns
    // the offset written at (the old position). Nothing is written for a
    // negative position or count, an empty write, or a read-only store.
    virtual std::int64_t Write(const void* buffer, std::int64_t count);
    // origin 0 from the start, 1 from the position, 2 from the size; any other
    // origin leaves the position. Returns the new position (not limited).
    virtual std::int64_t Seek(std::int64_t offset, int origin);
    virtual std::int32_t ReadBuffer(void* buffer, std::int64_t count);
    virtual std::int64_t WriteBuffer(const void* buffer, std::int64_t count);
    virtual std::int64_t SeekBuffer(std::int64_t offset, int origin);

    // Data address plus offset, unchecked.
    char* GetPointer(std::int64_t offset) const { return m_data + offset; }
    char* Memory() const { return m_data; }
    std::int32_t GetSize() const { return m_size; }
    // File descriptor of the store's file, -1 while in memory.
    int GetHandle() const { return m_fd; }
    // Flushes the mapped view to its file when mapped and writable.
    void Flush();

    std::int64_t GetPosition() const { return m_position; }
    std::int32_t GetCapacity() const { return m_capacity; }
    std::int32_t GetGrowthStep() const { return m_growthStep; }
    bool IsInMemory() const { return m_inMemory; }
    bool IsTemporary() const { return m_temporary; }
    bool IsReadOnly() const { return m_readOnly; }
    // Empty for a temporary store that has not needed its file yet.
    const std::string& GetFileName() const { return m_fileName; }

    // Debugging aid: when on, every growth moves the data to a new address, so
    // callers that keep addresses across a growth fail at once. Also switched
    // on by the environment variable BRENTHAUL_MMF_MOVE=1.
    static void SetMoveOnGrowth(bool on);
    static bool MoveOnGrowth();

protected:
    // Makes room for at least needed bytes (capacity needed + growth step).
    void Grow(std::int64_t needed);

private:
    void openExisting(unsigned openMode);
    void createFile(bool replaceNamed);
    void mapFile(std::size_t length);
    void growMapped(std::int64_t newCapacity);
    void growInMemory(std::int64_t newCapacity);
    void spill(std::int64_t newCapacity);
    void closeMapping(bool flush);
    void release() noexcept;
    void writeBufferToNamedFile() noexcept;
    [[noreturn]] void fail(bool create = false) const;

    bool m_inMemory = true;
    char* m_data = nullptr;
    std::int32_t m_size = 0;
    std::int32_t m_initialSize = 0;
    int m_fd = -1;
    std::int32_t m_capacity = 0; // capacity as the store reports it
    std::size_t m_reserved = 0;  // bytes really allocated or mapped (>= capacity)
    std::int64_t m_position = 0;
    std::int32_t m_growthStep = 0;
    std::string m_fileName;
    bool m_temporary = false;
    bool m_tempFileMade = false; // our "qel" file exists and is locked
    bool m_readOnly = false;
    bool m_privateMap = false;
    bool m_createMode = false;
};
