#include "app/LinkText.h"

#include <string_view>

#include "platform/CodePage.h"

namespace {

std::string percentEncodeUtf8(const std::string& utf8) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf8) {
        // Letters and digits by their ASCII codes, never by the locale's tables.
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (plain || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back(char(c));
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

} // namespace

std::string PercentEncode(const std::string& cp1252) { return percentEncodeUtf8(plat::cp1252ToUtf8(cp1252)); }

namespace {

bool startsWithNoCase(const std::string& s, const char* prefix) {
    for (std::size_t i = 0; prefix[i]; ++i) {
        if (i >= s.size()) return false;
        const char c = s[i] >= 'A' && s[i] <= 'Z' ? char(s[i] - 'A' + 'a') : s[i];
        if (c != prefix[i]) return false;
    }
    return true;
}

// White space and control characters of code page 1252: the ASCII ones, the
// no-break space and the bytes that stand for C1 controls. Fixed here, not
// taken from the locale, so every step trims alike.
bool blankOrControl(unsigned char c) {
    return c <= 0x20 || c == 0x7F || c == 0xA0 || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

std::string trimmed(const std::string& s) {
    std::size_t from = 0, to = s.size();
    while (from < to && blankOrControl(static_cast<unsigned char>(s[from]))) ++from;
    while (to > from && blankOrControl(static_cast<unsigned char>(s[to - 1]))) --to;
    return s.substr(from, to - from);
}

// The one decision on a sender's field. Every character of the address but
// '@' is percent-encoded, '%' too: an encoded "%3F" reaches the mail client
// as the text "%3F" in the address, never as the start of a query.
std::string fieldLink(const std::string& field, bool mailField, const std::string& mailQuery) {
    std::string t = trimmed(field);
    const bool mailto = startsWithNoCase(t, "mailto:");
    if (!mailto && !mailField) return VetLink(t);
    if (mailto) {
        constexpr std::size_t scheme = std::string_view("mailto:").size();
        const std::size_t query = t.find('?');
        t = t.substr(scheme, query == std::string::npos ? query : query - scheme);
    }
    std::string link = "mailto:";
    for (char c : t) link += (c == '@') ? std::string("@") : PercentEncode(std::string(1, c));
    return link + mailQuery;
}

} // namespace

std::string SenderMailLink(const std::string& email, const std::string& title, const std::string& exeName,
                           const std::string& created) {
    return fieldLink(email, true,
                     "?subject=" + PercentEncode(title + ": ") + percentEncodeUtf8(plat::pathText(exeName)) +
                         "&body=" + PercentEncode("File: ") + percentEncodeUtf8(plat::pathText(exeName)) +
                         PercentEncode(" created on " + created));
}

std::string SenderWebLink(const std::string& webSite) { return fieldLink(webSite, false, ""); }

std::string VetLink(const std::string& link) {
    const std::string t = trimmed(link);
    if (t.empty()) return "";
    for (unsigned char c : t)
        if (c < 0x20 || c == 0x7F) return "";
    if (startsWithNoCase(t, "mailto:") || startsWithNoCase(t, "http://") || startsWithNoCase(t, "https://")) return t;
    // Any other scheme ("file:", "javascript:", ...) is refused; a bare host
    // name such as "www.example.org/x" becomes a web link.
    const std::size_t colon = t.find(':');
    const std::size_t slash = t.find('/');
    if (colon != std::string::npos && (slash == std::string::npos || colon < slash)) return "";
    if (t[0] == '/' || t[0] == '.' || t[0] == '\\') return "";
    return "http://" + t;
}

std::string LabelLink(const std::string& url, const std::string& caption) {
    return VetLink(url.empty() ? caption : url);
}

std::string BareFileName(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\:");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (name == "." || name == "..") name.clear();
    return name;
}
