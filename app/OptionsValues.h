#pragma once
// What the options dialog shows and edits, apart from its widgets: every
// control's value, read from the settings store and written back to it.
// Settings whose stored text no control can show (a font size of 9, a name
// value of 7, a colour that is no colour) are shown as the nearest sound
// choice, so writing the controls back never stores garbage.
#include <array>
#include <cstdint>

#include "platform/Colour.h"

// One check box of the options dialog and the Boolean setting behind it.
struct WOptionCheck {
    const char* Control;
    const char* Caption;
    int Setting;
    // Page of the dialog: 0 "General", 1 "Display", 2 "Colors", 5 "TMG" (hidden).
    int Page;
};

inline constexpr int kOptionCheckCount = 24;
extern const std::array<WOptionCheck, kOptionCheckCount> kOptionChecks;

// Index into kOptionChecks of a control name; -1 when there is none.
int OptionCheckIndex(const char* control);

// "Font Size" choices: item 0 "Small (8)" (8, 14), 1 "Medium (10)" (10, 16),
// 2 "Large (12)" (12, 18).
int FontSizeItem(int fontSize);
int FontSizeOfItem(int item);
int GridHeightOfItem(int item);

// Name value choices "[RIN]", "(ID)", "{Custom ID}": setting = item + 1;
// anything outside 1..3 shows the first item.
int NameValueItem(int setting);

// A stored colour: the decimal text of a 0x00BBGGRR value; anything else
// (no number, negative, above 0xFFFFFF) gives the fallback.
plat::ColorRef ColourFromSetting(const char* text, plat::ColorRef fallback);

struct WOptionsValues {
    std::array<bool, kOptionCheckCount> Checks{};
    int NameValueItem = 0;
    int FontSizeItem = 0;
    plat::ColorRef HLColor = plat::kYellow;
    plat::ColorRef HLTextColor = plat::kBlack;

    // Reads every value from the settings store.
    void Load();
    // Writes every value back into the settings store (memory only; the
    // caller saves the settings file).
    void Save() const;

    // By control name; an unknown name reads False and is not set.
    bool Check(const char* control) const;
    void SetCheck(const char* control, bool value);
};
