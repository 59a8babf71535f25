#include "app/LinkText.h"

#include <cctype>

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

std::string SenderMailLink(const std::string& email, const std::string& title, const std::string& exeName,
                           const std::string& created) {
    // The address keeps its '@'; every other special character is encoded so a
    // trailer text cannot add headers of its own.
    std::string addr;
    for (char c : email) addr += (c == '@') ? std::string("@") : PercentEncode(std::string(1, c));
    return "mailto:" + addr + "?subject=" + PercentEncode(title + ": " + exeName) +
           "&body=" + PercentEncode("File: " + exeName + " created on " + created);
}

namespace {
bool startsWithNoCase(const std::string& s, const char* prefix) {
    for (std::size_t i = 0; prefix[i]; ++i)
        if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}
} // namespace

std::string VetLink(const std::string& link) {
    std::string t = link;
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.erase(t.begin());
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.pop_back();
    if (t.empty()) return "";
    for (unsigned char c : t)
        if (c < 0x20 || c == 0x7F) return "";
    if (startsWithNoCase(t, "mailto:") || startsWithNoCase(t, "http://") || startsWithNoCase(t, "https://"))
        return t;
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
