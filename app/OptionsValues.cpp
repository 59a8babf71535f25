#include "app/OptionsValues.h"

#include <charconv>
#include <cstring>
#include <string>

#include "model/Options.h"

const std::array<WOptionCheck, kOptionCheckCount> kOptionChecks = {{
    {"cbOpenLastFile", "Restore settings at startup", opt::OpenLastFile, 0},
    {"cbLoadLastFile", "Reload last file viewed", opt::LoadLastFile, 0},
    {"cbHLManual", "Use \"Apply\" button for highlighting", opt::HLManual, 0},
    {"cbAutoSearch", "Automatic Search in Find Dialog Box", opt::AutoSearch, 0},
    {"cbCheckForUpdates", "Check for updates (every 30 days)", opt::CheckUpdates, 0},
    {"cbSortFirstColumn", "Automatically sort first column in the List Tab", opt::SortFirstColumn, 0},
    {"cbCalcIslands", "Automatically calculate Islands", opt::CalcIslands, 0},
    {"cbIslandUseWitness", "When calculating islands, use witness events (re-load file when changed)", opt::IslandWit,
     0},
    {"cbShowSplash", "Show splash screen at startup", opt::ShowSplash, 0},
    {"cbUseLDS", "Use LDS information", opt::UseLDS, 0},
    {"cbShowHLText", "Show highlighting description", opt::HLText, 1},
    {"cbAgeCalc", "Use Christening/Burial dates for age calculations", opt::AgeCalcCB, 1},
    {"cbFamilyBirChr", "Use Christening/Burial if Birth/Death is missing", opt::FamBirChr, 1},
    {"cbShowHLPanel", "Display Highlighting Panel when in Highlighted Tab", opt::ShowHlPanel, 1},
    {"cbPopUps", "Display Individual Popups in the Family and Pedigree Tabs", opt::ShowIndHint, 1},
    {"CBNameSlash", "Display \"/\" around Surnames", opt::NameSlash, 1},
    {"CBSurnameUpper", "Display Surnames in UPPERCASE", opt::NameUpper, 1},
    {"cbDisplayPreSuf", "Display Prefix and Suffix", opt::PreSuf, 1},
    {"cbChrono", "Display events in chronological order in Individual Tab", opt::Chrono, 1},
    {"cbSortChildren", "Sort Children in Marriages (Must re-load genealogy file if turned off)", opt::SortChildren, 1},
    {"cbRemoveCommaPlaces", "Ignore leading ',' in place names", opt::PlaceCommas, 1},
    {"cbDisplayRIN", "After an Individual's name, display the following value:", opt::FNValueFlag, 1},
    {"cbDisplayTagSentence", "Display Tag Sentence Construction Rules in Individual Tab", opt::TMGTagSent, 5},
    {"cbTMGEngagement", "When constructing marriages, include the Engagement Tag", opt::TMGEngage, 5},
}};

namespace {
constexpr int kFontSizes[3] = {8, 10, 12};
constexpr int kGridHeights[3] = {14, 16, 18};

int clampItem(int item) { return item >= 0 && item < 3 ? item : 0; }
} // namespace

int OptionCheckIndex(const char* control) {
    for (int i = 0; i < kOptionCheckCount; ++i)
        if (std::strcmp(kOptionChecks[static_cast<std::size_t>(i)].Control, control) == 0) return i;
    return -1;
}

int FontSizeItem(int fontSize) {
    if (fontSize == 10) return 1;
    if (fontSize == 12) return 2;
    return 0;
}
int FontSizeOfItem(int item) { return kFontSizes[clampItem(item)]; }
int GridHeightOfItem(int item) { return kGridHeights[clampItem(item)]; }

int NameValueItem(int setting) { return setting >= 1 && setting <= 3 ? setting - 1 : 0; }

plat::ColorRef ColourFromSetting(const char* text, plat::ColorRef fallback) {
    const char* end = text + std::strlen(text);
    long long v = 0;
    auto [p, ec] = std::from_chars(text, end, v);
    if (ec != std::errc() || p != end || p == text || v < 0 || v > 0xFFFFFF) return fallback;
    return static_cast<plat::ColorRef>(v);
}

void WOptionsValues::Load() {
    for (int i = 0; i < kOptionCheckCount; ++i)
        Checks[static_cast<std::size_t>(i)] = WOptions::GetBool(kOptionChecks[static_cast<std::size_t>(i)].Setting);
    NameValueItem = ::NameValueItem(WOptions::GetInt(opt::FNValue));
    FontSizeItem = ::FontSizeItem(WOptions::GetInt(opt::FontSize));
    HLColor = ColourFromSetting(WOptions::GetString(opt::HLCol).c_str(),
                                ColourFromSetting(WOptions::Row(opt::HLCol).Default, plat::kYellow));
    HLTextColor = ColourFromSetting(WOptions::GetString(opt::HLTCol).c_str(),
                                    ColourFromSetting(WOptions::Row(opt::HLTCol).Default, plat::kBlack));
}

void WOptionsValues::Save() const {
    for (int i = 0; i < kOptionCheckCount; ++i)
        WOptions::SetBool(kOptionChecks[static_cast<std::size_t>(i)].Setting, Checks[static_cast<std::size_t>(i)]);
    WOptions::SetInt(opt::FNValue, clampItem(NameValueItem) + 1);
    WOptions::SetInt(opt::FontSize, FontSizeOfItem(FontSizeItem));
    WOptions::SetInt(opt::GridHeight, GridHeightOfItem(FontSizeItem));
    WOptions::SetInt(opt::HLCol, static_cast<int>(HLColor & 0xFFFFFF));
    WOptions::SetInt(opt::HLTCol, static_cast<int>(HLTextColor & 0xFFFFFF));
}

void WOptionsValues::SetCheck(const char* control, bool value) {
    const int i = OptionCheckIndex(control);
    if (i >= 0) Checks[static_cast<std::size_t>(i)] = value;
}

bool WOptionsValues::Check(const char* control) const {
    const int i = OptionCheckIndex(control);
    return i >= 0 && Checks[static_cast<std::size_t>(i)];
}
