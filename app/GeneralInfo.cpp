#include "app/GeneralInfo.h"

#include <charconv>

#include "model/ABSCollection.h"
#include "model/StrFunc.h"

namespace GeneralInfo {

std::string SubmitterTitle(int row, std::uint8_t fileKind) {
    static const char* const titles[kSubmitterRows] = {"Name",    "Addr 1", "Addr 2", "Addr 3",
                                                       "Country", "Phone",  "Email"};
    if (row < 1 || row > kSubmitterRows) return {};
    if (row == 5 && fileKind == 3) return "Web Site";
    return titles[row - 1];
}

const char* StatsTitle(int row) {
    static const char* const titles[kStatsRows] = {"Name",   "Size",   "Date",    "Importing",
                                                   "# Inds", "# Fams", "# Notes", "# Srcs"};
    return row >= 1 && row <= kStatsRows ? titles[row - 1] : "";
}

std::vector<HeaderEntry> HeaderEntries(WABSCollection& collection) {
    std::vector<HeaderEntry> entries;
    const WABSCollection::FileInfo info = collection.GetFileInfo();
    entries.reserve(info.size());
    for (const auto& [label, value] : info) entries.push_back({label, value, {}});
    return entries;
}

bool SubmitterValues(WABSCollection& collection, std::array<std::string, kSubmitterRows>& values) {
    values = {};
    auto sub = collection.GetSubmitter();
    if (!sub) return false;
    values = {sub->GetName(),    sub->GetAddressLine1(), sub->GetAddressLine2(), sub->GetAddressLine3(),
              sub->GetCountry(), sub->GetPhone(),        sub->GetEmail()};
    return true;
}

std::string SubmitterRecordText(WABSCollection& collection) {
    auto sub = collection.GetSubmitter();
    return sub ? sub->GetRecordText() : std::string();
}

std::array<std::string, kStatsRows> StatsValues(WABSCollection& collection) {
    std::array<std::string, kStatsRows> v{};
    v[1] = collection.GetFileSizeText();
    v[2] = collection.GetFileDateText();
    v[4] = StrFunc::FormatThousands(collection.GetIndividualCount());
    v[5] = StrFunc::FormatThousands(collection.GetMarriageCount());
    v[6] = collection.GetFileKind() == 3 ? std::string("N/A") : StrFunc::FormatThousands(collection.GetNoteCount());
    v[7] = StrFunc::FormatThousands(collection.GetSourceCount());
    return v;
}

std::vector<int> ParseTabStops(const std::string& text) {
    std::vector<int> stops;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(',', pos);
        if (end == std::string::npos) end = text.size();
        std::size_t a = pos, b = end;
        while (a < b && text[a] == ' ') ++a;
        while (b > a && text[b - 1] == ' ') --b;
        int n = 0;
        const auto r = std::from_chars(text.data() + a, text.data() + b, n);
        if (a == b || r.ec != std::errc() || r.ptr != text.data() + b) break;
        stops.push_back(n);
        pos = end + 1;
    }
    return stops;
}

} // namespace GeneralInfo
