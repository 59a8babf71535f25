#pragma once
// A note as a list of text lines, plus small text helpers the record classes share.
#include <cstdint>
#include <string>
#include <vector>

namespace abs_text {
// Line break of every composed text.
inline constexpr const char* CRLF = "\r\n";
// Trims every character up to the blank (blanks and control characters) at both ends.
std::string Trim(const std::string& text);
} // namespace abs_text

class WABSNote {
public:
    WABSNote() = default;
    virtual ~WABSNote() = default;

    std::int32_t GetLineCount() const { return static_cast<std::int32_t>(m_lines.size()); }
    // Appends s as a line unless it is empty.
    void AddText(const std::string& s);
    // A copy of every line.
    std::vector<std::string> GetLines() const { return m_lines; }
    // The lines joined: lines are taken unchanged while the text is still
    // empty; every later line is trimmed and follows the separator.
    std::string GetText(const std::string& separator) const;

protected:
    std::vector<std::string> m_lines;
};
