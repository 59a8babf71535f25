#pragma once
// The list report: one line per individual of the List or Highlighted view,
// in that view's columns (at their on-screen widths) and order. Also the
// column helpers the descendants report shares.
#include <cstdint>
#include <string>
#include <vector>

#include "reports/ABSReport.h"

class WABSHighLighter;
class WColSortIterator;
class WListColumns;

// Column limits and run-time label style shared by the column reports.
constexpr int kQRMaxColumns = 200;
constexpr double kQRColumnGap = 7;
constexpr double kQRLineWidth = 720;
// A run-time column label: font size 8, height 12, no wrap, no auto size.
TPsQRLabel* QRAddColumnLabel(TQRBand* band, bool bold, const std::string& caption = {});
// The longest start of text that fits the width in the font.
std::string QRFitToWidth(const std::string& text, double width, const TQRFont& font);
// Cell text of a column for an individual (family 1), tab-separated parts
// joined, shortened to the label's width.
std::string QRColumnCellText(const WListColumns& columns, std::int32_t position, std::int32_t individual,
                             const TQRLabel& label);

class TReportListForm : public TABSReportForm {
public:
    TReportListForm();

    void SetLayout(bool AGrey, bool ADividers, bool AMarkHighlighted);
    void SetHighLighter(WABSHighLighter* AHighLighter, bool AShowDescription);
    void SetColumns(WListColumns* AColumns, WColSortIterator* AIterator);
    // Screen width to printed width for the screen font size (setting 64).
    static std::int32_t PrintedWidth(std::int32_t screenWidth, std::int32_t fontSize);

    WListColumns* Columns = nullptr;
    WColSortIterator* Iterator = nullptr;
    WABSHighLighter* HighLighter = nullptr;
    std::int32_t Row = 1;
    bool Grey = false;
    bool MarkHighlighted = false;

    int ColumnCount = 0;
    std::vector<TPsQRLabel*> ColumnLabels;
    double NextColumnX = 5;
    double ColumnTop = 1;
    double TitleTopOffset = 0;
    double RowStep = 15;
    double ExtraHeight = 4;

    TQRBand* ChildBand = nullptr;
    TPsQRShape* ChildDoubleLine = nullptr;
    TQRSubDetail* DetailBand = nullptr;
    TPsQRLabel* labHLInd = nullptr;

private:
    void AddColumn(const std::string& ATitle, double AWidth);
    void DetailBandNeedData(bool& MoreData);
};
