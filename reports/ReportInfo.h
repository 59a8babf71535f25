#pragma once
// The general-information report: header pairs of the file, the submitter
// and the file statistics.
#include <array>
#include <utility>

#include "reports/ABSReport.h"

class TReportInfoForm : public TABSReportForm {
public:
    static constexpr int kMaxHeaderItems = 256;
    static constexpr int kSubmitterRows = 7;
    static constexpr int kFileRows = 7;

    TReportInfoForm();

    std::array<std::pair<std::string, std::string>, kMaxHeaderItems> HeaderItems;
    int HeaderCount = 0;
    int HeaderRow = 1;
    bool SubmitterPending = false;
    bool StatsPending = false;

    TQRSubDetail* QRSubDetail1 = nullptr; // header information
    TQRSubDetail* QRSubDetail2 = nullptr; // submitter
    TQRSubDetail* QRSubDetail3 = nullptr; // file information
    TPsQRLabel* labHeaderCaption = nullptr;
    TPsQRLabel* labHeaderValue = nullptr;
    std::array<TPsQRLabel*, kSubmitterRows> labSubmCaption{};
    std::array<TPsQRLabel*, kSubmitterRows> labSubmValue{};
    std::array<TPsQRLabel*, kFileRows> labFileCaption{};
    std::array<TPsQRLabel*, kFileRows> labFileValue{};

private:
    void QuickRepBeforePrint(bool& PrintReport);
    void QRSubDetail1NeedData(bool& MoreData);
    void QRSubDetail2NeedData(bool& MoreData);
    void QRSubDetail3NeedData(bool& MoreData);
};

// A sub-detail with the group header used by the text reports: a centred
// bold title, two column captions and a bottom edge; the footer draws its
// top edge. Returns the sub-detail; header and footer hang on it.
TQRSubDetail* QRAddSection(TQuickRep* report, const std::string& title, const std::string& caption1,
                           const std::string& caption2);
