#pragma once
// Four-generation ancestor charts: one chart per page with fifteen numbered
// boxes. Cascading sheets continue every outer person with known parents
// on a chart of his own; a person met again points to where he stands.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "reports/ABSReport.h"
#include "reports/IntFIFO.h"

class WIntArray;

class TReportPedigreeForm : public TABSReportForm {
public:
    static constexpr int kBoxes = 15;

    // The labels of one person box.
    struct BoxLabels {
        TPsQRLabel* labNo = nullptr;
        TPsQRLabel* labName = nullptr;
        TPsQRLabel* labLDS = nullptr;
        TPsQRLabel* labContinue = nullptr;   // outer boxes only
        std::vector<TPsQRLabel*> labCaption; // "B:", "P:", ...
        std::vector<TPsQRLabel*> labValue;
    };

    TReportPedigreeForm();
    ~TReportPedigreeForm() override;

    void SetCascading(bool AOn) { Cascading = AOn ? 1 : 0; }
    void SetFamily(std::int32_t AFamily) { Family = AFamily; }
    void SetCollection(WABSCollection* ACollection) override;

    std::uint8_t Cascading = 0;
    std::uint8_t ShowLDS = 0;
    std::unique_ptr<WIntArray> PrintedPosition;
    std::unique_ptr<WIntArray> PrintedChart;
    std::int32_t ChartCounter = 0;
    std::int32_t CurrentChart = 0;
    std::int32_t CurrentRoot = 0;
    std::int32_t CurrentFamily = 0;
    std::int32_t Family = 0;
    WIntFIFO RootQueue;
    WIntFIFO FamilyQueue;
    std::array<std::int32_t, kBoxes + 1> Persons{}; // 1-based
    std::array<std::int32_t, 9> CoupleFamilies{};   // 1-based

    // Made by the chart page (TReportPed4Form).
    TQRSubDetail* QRSubDetail1 = nullptr;
    std::array<BoxLabels, kBoxes + 1> Boxes; // 1-based
    TPsQRLabel* labChartNoCaption = nullptr;
    TPsQRLabel* labChartNo = nullptr;
    TPsQRLabel* labReference = nullptr;
    TPsQRLabel* labSpouse = nullptr;
    std::vector<TPsQRLabel*> LDSLegend;

    // Loads the persons of the next queued chart (CurrentRoot 0 when none).
    void LoadNextChart();

protected:
    void QuickRepBeforePrint(bool& PrintReport);
    void QRSubDetail1NeedData(bool& MoreData);

private:
    bool isOpen(std::int32_t x) const;
    bool shownBefore(int k) const;
    std::int32_t printedPosition(std::int32_t x) const;
    std::int32_t printedChart(std::int32_t x) const;
    void clearBox(BoxLabels& box);
    void PersonBox(int p, std::int32_t x, bool showsMarriage, bool mayContinue, std::int32_t f);
};

class TReportPed4Form : public TReportPedigreeForm {
public:
    TReportPed4Form();
};
