#include "payload/BigTable.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace payload {

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
}

TBigTable::TBigTable(std::size_t bytes) {
    if (bytes == 0) return;
    // Aligned to a huge page only where one fits.
    void* p = nullptr;
    if (bytes < kHugePage) {
        p = std::malloc(bytes);
        if (!p) throw std::bad_alloc();
    } else if (posix_memalign(&p, kHugePage, bytes) != 0) {
        throw std::bad_alloc();
    }
    m_p.reset(p);
    m_bytes = bytes;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only whole huge pages: a huge page is backed and cleared whole, so a
    // part-used one would cost memory, and small tables (fuzzing uses tiny
    // blocks) would pay for a clear each time.
    if (const std::size_t whole = bytes / kHugePage * kHugePage) madvise(p, whole, MADV_HUGEPAGE);
#endif
}

void TBigTable::Free::operator()(void* p) const { std::free(p); }

} // namespace payload
