#pragma once
// The descendants report: an indented descendant tree of the active
// individual, one line per family of each person, with optional list
// columns in an area at the right.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "reports/ABSReport.h"

class WDesIterator;
class WListColumns;

class TReportDesForm : public TABSReportForm {
public:
    TReportDesForm();
    ~TReportDesForm() override;

    void SetOptions(std::int32_t AIndent, std::int32_t AGenerations, bool ARepeat, std::int32_t AColumnStart,
                    bool APrintColumns, bool ADividers);
    void SetColumns(WListColumns* AColumns);
    void SetCollection(WABSCollection* ACollection) override;
    void SetIndividual(std::int32_t AIndex) override;

    // The text of one line without columns (indent, generation, names).
    std::string LineText(std::int32_t position);

    std::unique_ptr<WDesIterator> DesIterator;
    std::int32_t Row = 1;
    std::int32_t Indent = 8;
    std::int32_t Generations = 32;
    bool Repeat = false;
    bool PrintColumns = false;
    double ColumnStart = 360;
    bool Dividers = false;

    WListColumns* Columns = nullptr;
    int ColumnCount = 0;
    std::vector<TPsQRLabel*> ColumnLabels;
    double NextColumnX = 0;
    double ColumnTop = 1;
    double RowStep = 15;
    double LabelTopOffset = 0;

    TQRSubDetail* DetailBand = nullptr;
    TPsQRLabel* labLine = nullptr;
    TPsQRShape* QRVertLine = nullptr;
    TQRBand* ChildBand = nullptr;
    TPsQRLabel* labDescendants = nullptr;
    TPsQRShape* ChildDoubleLine = nullptr;

private:
    void AddColumn(const std::string& ATitle, double AWidth);
    void QuickRepBeforePrint(bool& PrintReport);
    void DetailBandNeedData(bool& MoreData);
    bool ensureBuilt();
    bool FBuilt = false;
};
