#pragma once
// The island report: one line per island, largest first.
#include <cstdint>

#include "reports/ABSReport.h"

class TReportIslandForm : public TABSReportForm {
public:
    TReportIslandForm();
    void SetLayout(bool AGrey, bool ADividers);

    std::int32_t Row = 1;
    bool Grey = false;

    TQRSubDetail* DetailLine = nullptr;
    TPsQRLabel* labNo = nullptr;
    TPsQRLabel* labInd = nullptr;
    TPsQRLabel* labMar = nullptr;
    TPsQRLabel* labFirst = nullptr;

private:
    void DetailLineNeedData(bool& MoreData);
};
