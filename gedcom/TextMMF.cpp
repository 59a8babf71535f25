#include "gedcom/TextMMF.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

const char* WTextMMF::FindLineEnd(const char* p, const char* e) {
#if defined(__SSE2__)
    // Sixteen bytes at a time, never reading past the end of the data.
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    while (e - p >= 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask) return p + __builtin_ctz(unsigned(mask));
        p += 16;
    }
#endif
    while (p < e && !IsLineEnd(*p)) ++p;
    return p;
}

const char* WTextMMF::NextLine(const char* p, bool skipBlank) const {
    if (!p) return nullptr;
    const char* e = End();
    p = LineEnd(p);
    if (p >= e) return nullptr;
    ++p;
    if (skipBlank) {
        while (p < e && (*p == ' ' || *p == '\t' || IsLineEnd(*p))) ++p;
    }
    return p < e ? p : nullptr;
}

const char* WTextMMF::NextRecord(const char* p, bool /*skipBlank*/) const {
    if (!p) return nullptr;
    const char* e = End();
    for (;;) {
        p = LineEnd(p);
        if (p >= e) return nullptr;
        ++p;
        if (p >= e) return nullptr;
        // Skipping blanks after a '0' would never move, so skipBlank changes nothing.
        if (*p == '0') return p;
    }
}

bool WTextMMF::IsLFOnly() const {
    if (!m_lineEndKnown) {
        const char* p = LineEnd(Begin());
        m_lfOnly = p < End() && *p == '\n';
        m_lineEndKnown = true;
    }
    return m_lfOnly;
}
