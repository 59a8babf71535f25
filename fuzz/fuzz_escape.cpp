// Fuzz target of the text escaping of the HTML, RTF and PDF writers: report
// texts come from the GEDCOM file and the trailer, so no text may leave its
// place in the output. RTF and PDF texts are checked for braces or brackets
// that would end their group or string; HTML texts only turn blanks into
// "&nbsp;" and keep "<" and "&" as they stand, so they are checked for that.
#include <cstdint>
#include <string>

#include "export/PsQRHTMLFilter.h"
#include "export/PsQRPDFFilter.h"
#include "export/PsQRRTFFilter.h"

namespace {

// True when every one of specials in s is preceded by an odd run of backslashes.
bool backslashEscaped(const std::string& s, const char* specials) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;  // the escaped character, whatever it is
            continue;
        }
        for (const char* c = specials; *c; ++c)
            if (s[i] == *c) return false;
    }
    return true;
}

// True when out is text with every blank, and nothing else, turned into "&nbsp;".
bool htmlBlanksOnly(const std::string& text, const std::string& out) {
    std::size_t blanks = 0;
    for (char c : text) blanks += c == ' ';
    return out.find(' ') == std::string::npos && out.size() == text.size() + 5 * blanks;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TPsQRHTMLFilter html("");
    static TPsQRRTFFilter rtf("");
    static TPsQRPDFFilter pdf("");
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!htmlBlanksOnly(text, html.EscapeText(text))) __builtin_trap();
    if (!backslashEscaped(rtf.EscapeText(text), "{}")) __builtin_trap();
    if (!backslashEscaped(pdf.EscapeText(text), "()")) __builtin_trap();
    return 0;
}
