#include "model/Options.h"

#include <array>
#include <charconv>
#include <climits>

#include "model/Ini2.h"

namespace {

constexpr WOptionRow kRows[opt::kOptionCount] = {
#define OPTION(number, section, key, def) {section, #key, def},
#include "model/OptionList.inc"
#undef OPTION
};

// Numbers of the list must run 1..138 in order; the enum and the table share it.
constexpr bool numbersInOrder() {
    int expected = 1;
#define OPTION(number, section, key, def) \
    if (number != expected++) return false;
#include "model/OptionList.inc"
#undef OPTION
    return expected == opt::kOptionCount + 1;
}
static_assert(numbersInOrder(), "option list out of order");

const std::vector<WOptionRow>& groupTable(int edition) {
    static const std::vector<WOptionRow> groups[opt::kEditionCount] = {
        {{"Brenthaul", "NoOpt", "T"}},
        // The sibling product's settings belong to that program; this one
        // carries none of them.
        {},
        {{"BrenthaulLite", "Special", "F"}},
    };
    static const std::vector<WOptionRow> none;
    if (edition < 0 || edition >= opt::kEditionCount) return none;
    return groups[edition];
}

struct Store {
    std::array<std::string, opt::kValueSlots + 1> values; // index 0 unused
    std::array<std::string, opt::kValueSlots + 1> group;
    std::array<bool, opt::kEditionCount> loaded{};
    std::string programDir;
};

Store& store() {
    static Store s;
    return s;
}

bool inRange(int i) { return i >= 1 && i <= opt::kValueSlots; }

} // namespace

void WOptions::Load(int edition) {
    Store& s = store();
    for (int i = 1; i <= opt::kOptionCount; ++i) {
        const WOptionRow& r = kRows[i - 1];
        s.values[std::size_t(i)] = ini2::ReadString(r.Section, r.Key, r.Default);
    }
    const auto& rows = groupTable(edition);
    for (std::size_t j = 0; j < rows.size(); ++j)
        s.group[j + 1] = ini2::ReadString(rows[j].Section, rows[j].Key, rows[j].Default);
    if (edition >= 0 && edition < opt::kEditionCount) s.loaded[std::size_t(edition)] = true;
}

void WOptions::Save() {
    Store& s = store();
    for (int i = 1; i <= opt::kOptionCount; ++i) {
        const WOptionRow& r = kRows[i - 1];
        ini2::WriteString(r.Section, r.Key, s.values[std::size_t(i)]);
    }
    for (int e = 0; e < opt::kEditionCount; ++e) {
        if (!s.loaded[std::size_t(e)]) continue;
        const auto& rows = groupTable(e);
        for (std::size_t j = 0; j < rows.size(); ++j) ini2::WriteString(rows[j].Section, rows[j].Key, s.group[j + 1]);
    }
}

void WOptions::SetProgramDir(const std::string& dir) { store().programDir = dir; }
const std::string& WOptions::GetProgramDir() { return store().programDir; }

std::string WOptions::GetString(int i) { return inRange(i) ? store().values[std::size_t(i)] : std::string(); }

bool WOptions::GetBool(int i) { return inRange(i) && store().values[std::size_t(i)] == "T"; }

int WOptions::GetInt(int i) {
    if (!inRange(i)) return 0;
    const std::string& v = store().values[std::size_t(i)];
    const char* b = v.data();
    const char* e = b + v.size();
    if (b != e && *b == '+') {
        ++b;
        if (b != e && *b == '-') return 0;
    }
    int out = 0;
    const auto r = std::from_chars(b, e, out);
    if (b == e || r.ec != std::errc() || r.ptr != e) return 0;
    return out;
}

void WOptions::SetString(int i, const std::string& value) {
    if (inRange(i)) store().values[std::size_t(i)] = value;
}

void WOptions::SetBool(int i, bool value) { SetString(i, value ? "T" : "F"); }

void WOptions::SetInt(int i, int value) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    SetString(i, std::string(buf, r.ptr));
}

std::string WOptions::GetGroupString(int i) { return inRange(i) ? store().group[std::size_t(i)] : std::string(); }

void WOptions::SetGroupString(int i, const std::string& value) {
    if (inRange(i)) store().group[std::size_t(i)] = value;
}

bool WOptions::GroupLoaded(int edition) {
    return edition >= 0 && edition < opt::kEditionCount && store().loaded[std::size_t(edition)];
}

const WOptionRow& WOptions::Row(int i) {
    static const WOptionRow empty{"", "", ""};
    return (i >= 1 && i <= opt::kOptionCount) ? kRows[i - 1] : empty;
}

const std::vector<WOptionRow>& WOptions::GroupRows(int edition) { return groupTable(edition); }

void WOptions::Clear() {
    Store& s = store();
    for (auto& v : s.values) v.clear();
    for (auto& v : s.group) v.clear();
    s.loaded.fill(false);
    s.programDir.clear();
}
