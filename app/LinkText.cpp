#include "app/LinkText.h"

#include <cctype>
#include <string_view>

#include "platform/CodePage.h"

std::string PercentEncode(const std::string& cp1252) {
    static const char hex[] = "0123456789ABCDEF";
    const std::string utf8 = plat::cp1252ToUtf8(cp1252);
    std::string out;
    for (unsigned char c : utf8) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back(char(c));
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

namespace {

bool startsWithNoCase(const std::string& s, const char* prefix) {
    for (std::size_t i = 0; prefix[i]; ++i)
        if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}

// The address of a trailer text, encoded so it cannot add headers of its own:
// a "mailto:" link gives its address alone, without its query.
std::string EncodedAddress(std::string email) {
    if (startsWithNoCase(email, "mailto:")) {
        constexpr std::size_t scheme = std::string_view("mailto:").size();
        const std::size_t query = email.find('?');
        email = email.substr(scheme, query == std::string::npos ? query : query - scheme);
    }
    std::string addr;
    for (char c : email) addr += (c == '@') ? std::string("@") : PercentEncode(std::string(1, c));
    return addr;
}

} // namespace

std::string SenderMailLink(const std::string& email, const std::string& title, const std::string& exeName,
                           const std::string& created) {
    return "mailto:" + EncodedAddress(email) + "?subject=" + PercentEncode(title + ": " + exeName) +
           "&body=" + PercentEncode("File: " + exeName + " created on " + created);
}

std::string SenderWebLink(const std::string& webSite) {
    const std::size_t from = webSite.find_first_not_of(" \t");
    const std::string t = from == std::string::npos ? std::string() : webSite.substr(from);
    return startsWithNoCase(t, "mailto:") ? "mailto:" + EncodedAddress(t) : webSite;
}

std::string VetLink(const std::string& link) {
    std::string t = link;
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.erase(t.begin());
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.pop_back();
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

std::string BareFileName(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\:");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (name == "." || name == "..") name.clear();
    return name;
}
