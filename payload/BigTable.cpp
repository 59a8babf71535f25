#include "BigTable.h"

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
    // Small tables (fuzzing uses tiny blocks) stay on ordinary pages: a huge
    // page is cleared whole on first touch.
    const bool huge = bytes >= kHugePage / 2;
    if (huge) bytes = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    p_.reset(huge ? std::aligned_alloc(kHugePage, bytes) : std::malloc(bytes));
    if (!p_) throw std::bad_alloc();
    bytes_ = bytes;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (huge) madvise(p_.get(), bytes, MADV_HUGEPAGE);
#endif
}

void TBigTable::Free::operator()(void* p) const { std::free(p); }

} // namespace payload
