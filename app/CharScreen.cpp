#include "app/CharScreen.h"

#include <algorithm>

WCharScreen::WCharScreen(std::int32_t ARows, std::int32_t AColumns)
    : FRows(std::max<std::int32_t>(ARows, 0)), FColumns(std::max<std::int32_t>(AColumns, 0)) {
    FLines.assign(static_cast<std::size_t>(FRows), std::string(static_cast<std::size_t>(FColumns), ' '));
}

void WCharScreen::PutText(std::int32_t ARow, std::int32_t ACol, const std::string& AText, std::int32_t AMaxLen) {
    if (ARow < 1 || ARow >= FRows || ACol < 1 || ACol >= FColumns) return;
    std::string& line = FLines[static_cast<std::size_t>(ARow - 1)];
    // 64-bit arithmetic: ACol + i must not wrap for a huge AMaxLen or text.
    const std::int64_t room = std::int64_t(FColumns) - ACol;
    const std::int64_t n = std::min<std::int64_t>({std::int64_t(AText.size()), std::int64_t(AMaxLen), room});
    for (std::int64_t i = 0; i < n; ++i)
        line[static_cast<std::size_t>(ACol - 1 + i)] = AText[static_cast<std::size_t>(i)];
}

void WCharScreen::GetLine(std::int32_t ARow, std::string& S) const {
    if (ARow >= 1 && ARow < FRows)
        S = FLines[static_cast<std::size_t>(ARow - 1)];
    else
        S.clear();
}
