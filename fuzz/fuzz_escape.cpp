// Fuzz target of the text escaping of the HTML, RTF and PDF writers: report
// texts come from the GEDCOM file and the trailer, so no text may leave its
// place in the output. RTF and PDF texts are checked for braces or brackets
// that would end their group or string; HTML texts must hold no markup
// character and read back as the text once their entities are undone.
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
            ++i; // the escaped character, whatever it is
            continue;
        }
        for (const char* c = specials; *c; ++c)
            if (s[i] == *c) return false;
    }
    return true;
}

// True when out holds no markup character and undoing its entities gives text.
bool htmlEscaped(const std::string& text, const std::string& out) {
    if (out.find_first_of("<>\" ") != std::string::npos) return false;
    static const char* const entities[][2] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}};
    std::string back;
    for (std::size_t i = 0; i < out.size();) {
        if (out[i] != '&') {
            back += out[i++];
            continue;
        }
        bool known = false;
        for (const auto& e : entities)
            if (out.compare(i, std::char_traits<char>::length(e[0]), e[0]) == 0) {
                back += e[1];
                i += std::char_traits<char>::length(e[0]);
                known = true;
                break;
            }
        if (!known) return false;
    }
    return back == text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TPsQRHTMLFilter html("");
    static TPsQRRTFFilter rtf("");
    static TPsQRPDFFilter pdf("");
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!htmlEscaped(text, html.EscapeText(text))) __builtin_trap();
    if (!backslashEscaped(rtf.EscapeText(text), "{}")) __builtin_trap();
    if (!backslashEscaped(pdf.EscapeText(text), "()")) __builtin_trap();
    return 0;
}
