#include "highlight/HLString.h"

#include <charconv>
#include <cstdlib>

#include "model/JclStrings.h"
#include "platform/CodePage.h"

// The text is a condition's (code page); the message is UTF-8.
EHLConvertError::EHLConvertError(const std::string& text)
    : std::runtime_error("'" + plat::cp1252ToUtf8(text) + "' is not a valid integer value") {}

int HLStrToInt(const std::string& s) {
    const char* b = s.data();
    const char* e = b + s.size();
    const char* digits = b;
    if (digits != e && *digits == '+') ++digits; // from_chars takes "-" but not "+"
    int value = 0;
    if (digits == e || (*digits == '-' && b != digits)) throw EHLConvertError(s);
    auto [p, ec] = std::from_chars(digits, e, value);
    if (ec != std::errc() || p != e) throw EHLConvertError(s);
    return value;
}

namespace {

// Empty pieces are kept, except after a final separator.
std::vector<std::string> HLSplit(const std::string& s, char sep) {
    std::vector<std::string> out;
    JclStrings::StrToStrings(s, std::string(1, sep), out, true);
    return out;
}

} // namespace

void WHLString::Clear() {
    FItems.clear();
    FAnd.fill(false);
    FCount = 0;
}

void WHLString::SetText(const std::string& s) {
    Clear();
    const std::vector<std::string> items = HLSplit(s, ';');
    for (std::size_t pos = 0; pos < items.size(); ++pos) {
        if (pos % 2 == 0) {
            FItems.push_back(items[pos]);
            ++FCount;
        } else {
            const std::size_t k = pos / 2;
            if (k < FAnd.size()) FAnd[k] = items[pos] == "A";
        }
    }
}

bool WHLString::IsAnd(int k) const { return k >= 0 && k < int(FAnd.size()) && FAnd[std::size_t(k)]; }

std::string WHLString::GetItem(int k) const {
    if (k < 0 || k >= FCount) return {};
    return FItems[std::size_t(k)];
}

bool WHLString::IsInverted(int k) const {
    const std::vector<std::string> f = HLSplit(GetItem(k), ':');
    return !f.empty() && !f[0].empty() && f[0][0] == '-';
}

int WHLString::GetCode(int k) const {
    const std::vector<std::string> f = HLSplit(GetItem(k), ':');
    if (f.empty()) return 0;
    const long long code = std::llabs(HLStrToInt(f[0]));
    return code > 2147483647LL ? 2147483647 : int(code);
}

std::string WHLString::GetParams(int k) const {
    const std::vector<std::string> f = HLSplit(GetItem(k), ':');
    return f.size() >= 2 ? f[1] : std::string();
}
