#pragma once
// Line navigation over a mapped text file. A line ends at CR or LF; CR LF, LF
// alone and CR alone all work. Every scan stops at the end of the data, so a
// last line without a line end is read like any other.
#include <string>

#include "gedcom/MMFReadOnly.h"

class WTextMMF : public WMMFReadOnly {
public:
    explicit WTextMMF(const std::string& fileName) : WMMFReadOnly(fileName) {}

    static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

    // First CR or LF at or after p, or the end of the data.
    const char* LineEnd(const char* p) const { return FindLineEnd(p, End()); }
    static const char* FindLineEnd(const char* p, const char* e);

    // First byte of the line after the one holding p, or null at the end of the
    // data. With skipBlank, blanks, tabs and line ends are passed over, so empty
    // lines and indentation disappear.
    const char* NextLine(const char* p, bool skipBlank = true) const;
    // The next line after p whose very first byte is '0', or null.
    const char* NextRecord(const char* p, bool skipBlank = true) const;
    // The first line of the file ends in LF rather than CR (computed once).
    bool IsLFOnly() const;

    // True when p lies inside the data.
    bool Contains(const char* p) const { return p && p >= Begin() && p < End(); }

private:
    mutable bool m_lineEndKnown = false;
    mutable bool m_lfOnly = false;
};
