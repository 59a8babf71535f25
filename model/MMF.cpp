#include "model/MMF.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/Global.h"
#include "platform/CodePage.h"
#include "platform/TempFiles.h"

namespace {

// -1: not yet read from the environment.
std::atomic<int> g_moveOnGrowth{-1};

std::size_t pageSize() {
    static const std::size_t size = [] {
        long p = sysconf(_SC_PAGESIZE);
        return p > 0 ? static_cast<std::size_t>(p) : std::size_t{4096};
    }();
    return size;
}

std::size_t roundToPage(std::size_t n) {
    std::size_t p = pageSize();
    return (n + p - 1) / p * p;
}

// What really gets reserved underneath for a capacity: geometric steps, so a
// store that grows by small steps copies or remaps only O(log n) times.
std::size_t reserveFor(std::int64_t capacity, std::size_t current) {
    std::size_t want = std::max<std::size_t>(static_cast<std::size_t>(capacity), 1);
    std::size_t r = std::max(want, current + current / 2);
    // Never more than just past the largest size a store may have.
    r = std::min(r, static_cast<std::size_t>(WMMF::MaxSize) + 1);
    return roundToPage(std::max(r, want));
}

// Extends fd to at least length bytes with real blocks, so that a full file
// system is reported here instead of as SIGBUS on first touch of the mapping.
bool allocateFile(int fd, std::size_t from, std::size_t length) {
    if (length <= from) return true;
    int rc;
    do {
        rc = posix_fallocate(fd, static_cast<off_t>(from), static_cast<off_t>(length - from));
    } while (rc == EINTR);
    return rc == 0;
}

bool writeAll(int fd, const char* data, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

} // namespace

std::string MMFErrorText(const std::string& fileName) {
    return "Error using the file " + plat::pathText(fileName) +
           "\r\nPlease check that this file is not being used by another application.";
}

void WMMF::SetMoveOnGrowth(bool on) { g_moveOnGrowth = on ? 1 : 0; }

bool WMMF::MoveOnGrowth() {
    int v = g_moveOnGrowth.load();
    if (v < 0) {
        const char* env = std::getenv("BRENTHAUL_MMF_MOVE");
        v = (env && env[0] == '1') ? 1 : 0;
        g_moveOnGrowth = v;
    }
    return v == 1;
}

WMMF::WMMF(const std::string& fileName, std::int32_t initialSize, std::int32_t growthStep, bool inMemory)
    : m_initialSize(std::max<std::int32_t>(initialSize, 0)), m_growthStep(std::max<std::int32_t>(growthStep, 0)),
      m_fileName(fileName), m_temporary(fileName.empty()), m_createMode(true) {
    if (inMemory && m_initialSize < MemoryLimit) {
        m_reserved = std::max<std::size_t>(static_cast<std::size_t>(m_initialSize), 1);
        m_data = static_cast<char*>(std::calloc(m_reserved, 1));
        if (!m_data) throw std::bad_alloc();
        m_size = m_capacity = m_initialSize;
        m_inMemory = true;
        return;
    }
    m_inMemory = false;
    try {
        createFile(true);
        m_size = m_capacity = m_initialSize;
        mapFile(reserveFor(m_capacity, 0));
    } catch (...) {
        release();
        throw;
    }
}

WMMF::WMMF(const std::string& fileName, unsigned openMode, std::int32_t growthStep)
    : m_growthStep(std::max<std::int32_t>(growthStep, 0)), m_fileName(fileName) {
    m_inMemory = false;
    try {
        if ((openMode & 0xFFFF) == fmCreate) {
            m_createMode = true;
            if (m_fileName.empty()) m_temporary = true;
            createFile(true);
            mapFile(reserveFor(0, 0));
        } else {
            openExisting(openMode);
        }
    } catch (...) {
        release();
        throw;
    }
}

WMMF::~WMMF() { release(); }

void WMMF::fail(bool create) const {
    std::string name = m_fileName.empty() ? std::string("qel*.tmp") : m_fileName;
    if (create) throw EFCreateError(MMFErrorText(name));
    throw EFOpenError(MMFErrorText(name));
}

// The store's own file for writing: a fresh "qel" file for a temporary store,
// the named file (created or replaced) otherwise.
void WMMF::createFile(bool replaceNamed) {
    if (m_temporary) {
        if (!m_tempFileMade) {
            try {
                m_fileName = Global::GetTempFileName();
            } catch (const plat::TempError&) {
                fail(true);
            }
            m_tempFileMade = true;
        }
        m_fd = ::open(m_fileName.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (m_fd < 0) fail(true);
        return;
    }
    int flags = O_RDWR | O_CREAT | O_CLOEXEC;
    if (replaceNamed) flags |= O_TRUNC;
    m_fd = ::open(m_fileName.c_str(), flags, 0666);
    if (m_fd < 0) fail(true);
    // The create mode shares nothing.
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0) fail(true);
}

void WMMF::openExisting(unsigned openMode) {
    unsigned access = openMode & 0x3;
    m_readOnly = access != fmOpenReadWrite && access != fmOpenWrite;
    m_privateMap = m_readOnly;
    // A pipe at the name is refused rather than waited on.
    m_fd = plat::openRegularFile(m_fileName, m_readOnly ? O_RDONLY : O_RDWR);
    if (m_fd < 0) fail();
    unsigned share = openMode & 0xF0;
    if (share & fmShareExclusive) {
        if (flock(m_fd, LOCK_EX | LOCK_NB) != 0) fail();
    } else if (share == fmShareDenyWrite) {
        if (flock(m_fd, LOCK_SH | LOCK_NB) != 0) fail();
    }
    struct stat st {};
    if (fstat(m_fd, &st) != 0) fail();
    // Sizes are signed 32-bit: refuse rather than wrap.
    if (st.st_size > MaxSize || st.st_size <= 0) fail();
    m_size = m_capacity = m_initialSize = static_cast<std::int32_t>(st.st_size);
    std::size_t length = static_cast<std::size_t>(st.st_size);
    int prot = m_readOnly ? PROT_READ : PROT_READ | PROT_WRITE;
    void* p = mmap(nullptr, length, prot, m_privateMap ? MAP_PRIVATE : MAP_SHARED, m_fd, 0);
    if (p == MAP_FAILED) fail();
    m_data = static_cast<char*>(p);
    m_reserved = length;
    madvise(m_data, m_reserved, MADV_RANDOM);
}

// Maps the (writable) file at length bytes, extending it first.
void WMMF::mapFile(std::size_t length) {
    struct stat st {};
    if (fstat(m_fd, &st) != 0) fail();
    std::size_t have = static_cast<std::size_t>(std::max<off_t>(st.st_size, 0));
    if (!allocateFile(m_fd, have, length)) fail();
    void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (p == MAP_FAILED) fail();
    m_data = static_cast<char*>(p);
    m_reserved = length;
    madvise(m_data, m_reserved, MADV_RANDOM);
}

void WMMF::Grow(std::int64_t needed) {
    if (needed > MaxSize) fail();
    std::int64_t newCapacity = std::min<std::int64_t>(needed + m_growthStep, MaxSize);
    if (m_inMemory && newCapacity < MemoryLimit)
        growInMemory(newCapacity);
    else if (m_inMemory)
        spill(newCapacity);
    else
        growMapped(newCapacity);
    m_capacity = static_cast<std::int32_t>(newCapacity);
}

void WMMF::growInMemory(std::int64_t newCapacity) {
    std::size_t want = static_cast<std::size_t>(newCapacity);
    if (want <= m_reserved && !MoveOnGrowth()) return;
    std::size_t reserve = std::max(want, m_reserved);
    if (want > m_reserved) reserve = std::min<std::size_t>(std::max(want, m_reserved * 2), MemoryLimit);
    if (MoveOnGrowth()) {
        char* fresh = static_cast<char*>(std::calloc(reserve, 1));
        if (!fresh) throw std::bad_alloc();
        std::memcpy(fresh, m_data, m_reserved);
        std::free(m_data);
        m_data = fresh;
    } else {
        char* grown = static_cast<char*>(std::realloc(m_data, reserve));
        if (!grown) throw std::bad_alloc();
        std::memset(grown + m_reserved, 0, reserve - m_reserved);
        m_data = grown;
    }
    m_reserved = reserve;
}

// Moves an in-memory store to its file, once.
void WMMF::spill(std::int64_t newCapacity) {
    bool madeHere = m_temporary && !m_tempFileMade;
    try {
        createFile(true);
        std::size_t length = reserveFor(newCapacity, m_reserved);
        if (!allocateFile(m_fd, 0, length)) fail();
        void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (p == MAP_FAILED) fail();
        std::memcpy(p, m_data, static_cast<std::size_t>(m_capacity));
        std::free(m_data);
        m_data = static_cast<char*>(p);
        m_reserved = length;
        m_inMemory = false;
        madvise(m_data, m_reserved, MADV_RANDOM);
    } catch (...) {
        // The store stays in memory, whole; no file is left behind.
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
        if (madeHere && m_tempFileMade) {
            Global::DeleteTempFile(m_fileName);
            m_tempFileMade = false;
            m_fileName.clear();
        }
        throw;
    }
}

void WMMF::growMapped(std::int64_t newCapacity) {
    if (m_readOnly) fail();
    std::size_t want = static_cast<std::size_t>(newCapacity);
    bool move = MoveOnGrowth();
    if (want <= m_reserved && !move) return;
    std::size_t length = want <= m_reserved ? m_reserved : reserveFor(newCapacity, m_reserved);
    if (!allocateFile(m_fd, m_reserved, length)) fail();
    void* p;
    if (move) {
        // A fresh view first, then drop the old one: the address must change.
        p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
        if (p == MAP_FAILED) fail();
        munmap(m_data, m_reserved);
    } else {
        p = mremap(m_data, m_reserved, length, MREMAP_MAYMOVE);
        if (p == MAP_FAILED) fail();
    }
    m_data = static_cast<char*>(p);
    m_reserved = length;
    madvise(m_data, m_reserved, MADV_RANDOM);
}

std::int32_t WMMF::Read(void* buffer, std::int64_t count) {
    if (m_position < 0 || count < 0 || m_position >= m_size) return 0;
    std::int64_t n = std::min<std::int64_t>(count, m_size - m_position);
    if (n > 0) std::memcpy(buffer, m_data + m_position, static_cast<std::size_t>(n));
    m_position += n;
    return static_cast<std::int32_t>(n);
}

std::int64_t WMMF::Write(const void* buffer, std::int64_t count) {
    if (m_readOnly || m_position < 0 || count < 0) return m_position;
    // Past the largest size a store may have: refuse, never wrap.
    if (count > MaxSize || m_position > MaxSize - count) {
        if (count == 0) return m_position;
        fail();
    }
    std::int64_t newEnd = m_position + count;
    if (newEnd < 1) return m_position;
    if (newEnd > m_size) {
        if (newEnd > m_capacity) Grow(newEnd);
        m_size = static_cast<std::int32_t>(newEnd);
    }
    if (count > 0) std::memcpy(m_data + m_position, buffer, static_cast<std::size_t>(count));
    std::int64_t old = m_position;
    m_position = newEnd;
    return old;
}

std::int64_t WMMF::Seek(std::int64_t offset, int origin) {
    std::int64_t base;
    switch (origin) {
    case 0: base = 0; break;
    case 1: base = m_position; break;
    case 2: base = m_size; break;
    default: return m_position;
    }
    std::int64_t pos;
    if (__builtin_add_overflow(base, offset, &pos)) pos = offset > 0 ? INT64_MAX : INT64_MIN;
    m_position = pos;
    return m_position;
}

std::int32_t WMMF::ReadBuffer(void* buffer, std::int64_t count) { return Read(buffer, count); }

std::int64_t WMMF::WriteBuffer(const void* buffer, std::int64_t count) { return Write(buffer, count); }

std::int64_t WMMF::SeekBuffer(std::int64_t offset, int origin) { return Seek(offset, origin); }

void WMMF::Flush() {
    if (m_inMemory || m_readOnly || !m_data) return;
    if (msync(m_data, m_reserved, MS_SYNC) != 0) throw EStreamError(MMFErrorText(m_fileName));
}

void WMMF::closeMapping(bool flush) {
    if (m_data) {
        if (flush && !m_readOnly) msync(m_data, m_reserved, MS_SYNC);
        munmap(m_data, m_reserved);
        m_data = nullptr;
    }
    if (m_fd >= 0) {
        // The file keeps the length the store reports, not what was reserved.
        if (!m_readOnly && !m_temporary && m_reserved > static_cast<std::size_t>(m_capacity))
            (void)!ftruncate(m_fd, m_capacity);
        ::close(m_fd);
        m_fd = -1;
    }
    m_reserved = 0;
}

void WMMF::writeBufferToNamedFile() noexcept {
    int fd = ::open(m_fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return;
    writeAll(fd, m_data, static_cast<std::size_t>(m_capacity));
    ::close(fd);
}

void WMMF::release() noexcept {
    if (m_inMemory) {
        if (m_data && !m_temporary && !m_fileName.empty()) writeBufferToNamedFile();
        std::free(m_data);
        m_data = nullptr;
        m_reserved = 0;
    } else {
        // A temporary file is about to go: no point writing it back.
        closeMapping(!m_temporary);
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_temporary && m_tempFileMade) {
        Global::DeleteTempFile(m_fileName);
        m_tempFileMade = false;
    }
}
