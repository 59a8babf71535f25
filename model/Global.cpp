#include "model/Global.h"

#include <optional>

#include "model/JclStrings.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"

namespace Global {
namespace {

int g_busyCount = 0;
std::optional<bool> g_largeFonts;

// Letter digits for Soundex: index 0 is "not a letter", 1..26 are A..Z.
constexpr char kSoundexDigits[] = "901230120022455012623010202";

char soundexDigit(unsigned char upper) {
    if (upper >= 'A' && upper <= 'Z') return kSoundexDigits[upper - 'A' + 1];
    return kSoundexDigits[0];
}

// Blanks and control characters, as trimmed at the ends of a piece.
bool isTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string trimmed(const std::string& s, std::size_t from, std::size_t to) {
    while (from < to && isTrimmed(s[from])) ++from;
    while (to > from && isTrimmed(s[to - 1])) --to;
    return s.substr(from, to - from);
}

} // namespace

std::string GetTempPath() { return plat::tempDir(); }

std::string GetTempFileName() { return plat::createTempFile(); }

bool DeleteTempFile(const std::string& name) { return plat::deleteTempFile(name); }

void DeleteTempFiles() { plat::deleteLeftoverTempFiles(); }

void SetBusy(bool busy) {
    g_busyCount += busy ? 1 : -1;
    if (g_busyCount < 0) g_busyCount = 0;
    plat::setBusyCursor(g_busyCount > 0);
}

int BusyCount() { return g_busyCount; }

int GetProgressCount() { return 0; }
bool GetProgressDone() { return false; }

bool IsLargeFonts() {
    if (!g_largeFonts) {
        const auto& dpi = plat::hooks().screenDpi;
        g_largeFonts = dpi && dpi() == 120;
    }
    return *g_largeFonts;
}

void ForgetLargeFonts() { g_largeFonts.reset(); }

const std::array<unsigned char, 256>& UpperTable() { return JclStrings::UpperMap(); }

std::string ToUpper(const std::string& text) {
    const auto& table = UpperTable();
    std::string out(text);
    for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

std::string Soundex(const std::string& text) {
    if (text.empty()) return std::string();
    std::string code = "0000";
    code[0] = static_cast<char>(UpperChar(static_cast<unsigned char>(text[0])));
    // '\0' stands for "no digit yet", so a second letter sharing the first
    // letter's digit is still written.
    char last = '\0';
    std::size_t pos = 1;
    for (std::size_t i = 1; i < text.size() && pos < 4; ++i) {
        char digit = soundexDigit(UpperChar(static_cast<unsigned char>(text[i])));
        if (digit == '9') digit = last; // non-letters neither write nor separate
        if (digit != last && digit != '0') code[pos++] = digit;
        last = digit;
    }
    return code;
}

void SplitAtComma(const std::string& text, std::string& first, std::string& second) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        first = text;
        second.clear();
        return;
    }
    first = trimmed(text, 0, comma);
    std::size_t next = text.find(',', comma + 1);
    if (next == std::string::npos) next = text.size();
    second = trimmed(text, comma + 1, next);
}

} // namespace Global
