#include "model/ABSNote.h"

namespace abs_text {

std::string Trim(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t from = 0, to = text.size();
    while (from < to && blank(text[from])) ++from;
    while (to > from && blank(text[to - 1])) --to;
    return text.substr(from, to - from);
}

} // namespace abs_text

void WABSNote::AddText(const std::string& s) {
    if (!s.empty()) m_lines.push_back(s);
}

std::string WABSNote::GetText(const std::string& separator) const {
    std::string text;
    for (const std::string& line : m_lines) {
        if (text.empty()) {
            text = line;
        } else {
            text += separator;
            text += abs_text::Trim(line);
        }
    }
    return text;
}
