#pragma once
// Texts of the quick-help box that need no window.
#include <cstdint>
#include <string>
#include <vector>

// One "User Manual Links" item: a topic title and its help context number.
struct WHelpLink {
    std::string Title;
    std::int32_t Context = 0;
};

// "Title|context;Title|context": empty items are skipped; an item without a
// bar or with no decimal number after it keeps its title with context 0.
std::vector<WHelpLink> ParseHelpLinks(const std::string& text);

// The notice that a quick-help entry is shown only once.
std::string QuickHelpNotice(const std::string& title);
