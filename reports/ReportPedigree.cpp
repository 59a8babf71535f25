#include "reports/ReportPedigree.h"

#include <cmath>

#include "model/ABSCollection.h"
#include "model/IntArray.h"
#include "model/Options.h"

TReportPedigreeForm::TReportPedigreeForm() {
    ShowLDS = WOptions::GetBool(opt::UseLDS) ? 1 : 0;
    BeforePrint = [this](TQuickRep*, bool& p) { QuickRepBeforePrint(p); };
}

TReportPedigreeForm::~TReportPedigreeForm() = default;

void TReportPedigreeForm::SetCollection(WABSCollection* ACollection) {
    TABSReportForm::SetCollection(ACollection);
    if (!ACollection) return;
    const std::int32_t n = ACollection->GetIndividualCount();
    PrintedPosition = std::make_unique<WIntArray>("", n);
    PrintedChart = std::make_unique<WIntArray>("", n);
}

std::int32_t TReportPedigreeForm::printedPosition(std::int32_t x) const {
    return PrintedPosition ? PrintedPosition->GetValue(x) : 0;
}

std::int32_t TReportPedigreeForm::printedChart(std::int32_t x) const {
    return PrintedChart ? PrintedChart->GetValue(x) : 0;
}

bool TReportPedigreeForm::isOpen(std::int32_t x) const { return x >= 1 && printedPosition(x) == 0; }

// The person of box k stands in a lower box of this chart already (pedigree
// collapse, or someone his own ancestor): his line is not drawn twice.
bool TReportPedigreeForm::shownBefore(int k) const {
    for (int i = 1; i < k; ++i)
        if (Persons[size_t(i)] == Persons[size_t(k)]) return true;
    return false;
}

void TReportPedigreeForm::QuickRepBeforePrint(bool&) {
    CurrentChart = 0;
    ChartCounter = 1;
    CurrentFamily = Family;
    if (PrintedPosition) PrintedPosition->Fill(0);
    if (PrintedChart) PrintedChart->Fill(0);
    RootQueue.Clear();
    FamilyQueue.Clear();
    RootQueue.Push(FIndividual);
    FamilyQueue.Push(CurrentFamily);
    for (TPsQRLabel* l : LDSLegend) l->Enabled = ShowLDS != 0;
    LoadNextChart();
}

void TReportPedigreeForm::LoadNextChart() {
    CurrentRoot = 0;
    Persons.fill(0);
    CoupleFamilies.fill(0);
    std::int32_t root = 0;
    if (!RootQueue.Pop(root)) return;
    CurrentRoot = root;
    std::int32_t fam = 0;
    FamilyQueue.Pop(fam);
    CurrentFamily = fam;
    CoupleFamilies[1] = fam;
    ++CurrentChart;
    if (!FCollection) return;
    Persons[1] = root;
    Persons[2] = FCollection->GetFather(root);
    Persons[3] = FCollection->GetMother(root);
    // Parents of a box are looked up only while its person is not printed
    // yet, so a line already charted is not repeated.
    for (int k = 2; k <= 7; ++k)
        if (isOpen(Persons[size_t(k)]) && !shownBefore(k)) {
            Persons[size_t(2 * k)] = FCollection->GetFather(Persons[size_t(k)]);
            Persons[size_t(2 * k + 1)] = FCollection->GetMother(Persons[size_t(k)]);
        }
    for (int j = 2; j <= 8; ++j) {
        const std::int32_t a = Persons[size_t(2 * (j - 1))], b = Persons[size_t(2 * (j - 1) + 1)];
        CoupleFamilies[size_t(j)] = a >= 1 && b >= 1 ? FCollection->FindCommonMarriage(a, b) : 0;
    }
}

void TReportPedigreeForm::clearBox(BoxLabels& box) {
    if (box.labName) box.labName->Caption.clear();
    if (box.labLDS) box.labLDS->Caption.clear();
    if (box.labContinue) box.labContinue->Caption.clear();
    for (auto* l : box.labCaption) l->Caption.clear();
    for (auto* l : box.labValue) l->Caption.clear();
    if (box.labNo) box.labNo->Enabled = false;
}

void TReportPedigreeForm::QRSubDetail1NeedData(bool& MoreData) {
    MoreData = FCollection && CurrentRoot > 0;
    for (int p = 1; p <= kBoxes; ++p) clearBox(Boxes[size_t(p)]);
    if (labChartNoCaption) labChartNoCaption->Caption.clear();
    if (labChartNo) labChartNo->Caption.clear();
    if (labReference) labReference->Caption.clear();
    if (labSpouse) labSpouse->Caption.clear();
    if (!MoreData) return;
    if (Cascading) {
        labChartNoCaption->Caption = "Chart No.";
        labChartNo->Caption = std::to_string(CurrentChart);
        if (CurrentChart > 1)
            labReference->Caption = "No. 1 on this chart is the same as no. " +
                                    std::to_string(printedPosition(CurrentRoot)) + " on chart no. " +
                                    std::to_string(printedChart(CurrentRoot));
    }
    if (CurrentFamily > 0 && FCollection->MarriageExists(CurrentFamily))
        if (std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(CurrentFamily))
            labSpouse->Caption = FCollection->GetFullName(fam->GetOtherSpouse(CurrentRoot));
    for (int p = 1; p <= kBoxes; ++p) {
        const bool marriage = p == 1 || p % 2 == 0;
        const std::int32_t f = p == 1 ? CoupleFamilies[1] : CoupleFamilies[size_t(p / 2 + 1)];
        PersonBox(p, Persons[size_t(p)], marriage, p >= 8, f);
    }
}

namespace {

// A date or place, falling back to the christening's (burial's) in brackets.
std::string withFallback(const std::string& value, const std::string& fallback, bool useFallback) {
    if (!value.empty() || !useFallback || fallback.empty()) return value;
    return "[" + fallback + "]";
}

} // namespace

void TReportPedigreeForm::PersonBox(int p, std::int32_t x, bool showsMarriage, bool mayContinue, std::int32_t f) {
    if (x < 1 || !FCollection->IndividualExists(x)) return;
    BoxLabels& box = Boxes[size_t(p)];
    if (box.labNo) box.labNo->Enabled = true;
    if (p != 1 && printedPosition(x) != 0) {
        box.labName->Caption = FCollection->GetFullName(x);
        box.labValue[0]->Caption = "    Already printed.";
        box.labValue[1]->Caption =
            "    See #" + std::to_string(printedPosition(x)) + " on Page " + std::to_string(printedChart(x));
        return;
    }
    if (PrintedPosition) {
        PrintedPosition->SetValue(x, p);
        PrintedChart->SetValue(x, CurrentChart);
    }
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(x);
    if (!ind) return;
    const bool chr = WOptions::GetBool(opt::FamBirChr);
    box.labName->Caption = ind->GetFullName(true);
    std::vector<std::pair<const char*, std::string>> rows;
    rows.emplace_back("B:", withFallback(ind->GetEventDateText(EventKind::Birth, 1),
                                         ind->GetEventDateText(EventKind::Christening, 1), chr));
    rows.emplace_back("P:", withFallback(ind->GetEventPlaceText(EventKind::Birth, 1),
                                         ind->GetEventPlaceText(EventKind::Christening, 1), chr));
    if (showsMarriage && f >= 1 && FCollection->MarriageExists(f)) {
        if (std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(f)) {
            rows.emplace_back("M:", fam->GetDateText());
            rows.emplace_back("P:", fam->GetPlace());
        }
    }
    rows.emplace_back("D:", withFallback(ind->GetEventDateText(EventKind::Death, 1),
                                         ind->GetEventDateText(EventKind::Burial, 1), chr));
    rows.emplace_back("P:", withFallback(ind->GetEventPlaceText(EventKind::Death, 1),
                                         ind->GetEventPlaceText(EventKind::Burial, 1), chr));
    for (size_t i = 0; i < rows.size() && i < box.labValue.size(); ++i) {
        box.labCaption[i]->Caption = rows[i].first;
        box.labValue[i]->Caption = rows[i].second;
    }
    if (Cascading && mayContinue && FCollection->GetParentCount(x) > 0) {
        RootQueue.Push(x);
        FamilyQueue.Push(f);
        ++ChartCounter;
        if (box.labContinue) box.labContinue->Caption = std::to_string(ChartCounter);
    }
    if (ShowLDS && box.labLDS) {
        std::string code = "    ";
        if (ind->HasLDSEvent(EventKind::LDSBaptism)) code[0] = 'B';
        if (ind->HasLDSEvent(EventKind::LDSEndowment)) code[1] = 'E';
        if (ind->HasLDSEvent(EventKind::LDSSealParents)) code[2] = 'P';
        if (FCollection->HasSpouseSealing(x, 0)) code[3] = 'S';
        box.labLDS->Caption = code;
    }
}

// ---------------------------------------------------------------- chart page

namespace {

constexpr double kBandHeight = 945;
constexpr double kChartTop = 60, kChartHeight = 840;
constexpr double kLineStep = 13;
constexpr double kBoxHalf = 47;   // box top above its slot centre
constexpr double kUnderline = 15; // name underline below the box top
constexpr double kLDSWidth = 30;

struct Column {
    double left, width;
};
// By generation: box 1; boxes 2-3; 4-7; 8-15.
constexpr Column kColumns[4] = {{17, 250}, {57, 200}, {280, 200}, {503, 165}};
// The line joining a couple runs left of the couple's box numbers.
constexpr double kJoinOffset = 19;

int levelOf(int p) { return p >= 8 ? 3 : p >= 4 ? 2 : p >= 2 ? 1 : 0; }

double slotCentre(int p) {
    const int level = levelOf(p);
    const int first = 1 << level;
    const int i = p - first;
    return kChartTop + kChartHeight * (2.0 * i + 1.0) / double(2 << level);
}

double boxTop(int p) { return std::round(slotCentre(p) - kBoxHalf); }

TPsQRLabel* timesLabel(TQRBand* band, double left, double top, double width, bool bold, const std::string& caption = {},
                       TQRAlignment a = taLeftJustify) {
    TPsQRLabel* l = QRAddLabel(band, left, top, width, 12, bold, caption, a);
    l->Font.Name = "Times New Roman";
    return l;
}

} // namespace

TReportPed4Form::TReportPed4Form() {
    // The chart fills the page: no title band, narrower top and bottom margins.
    PageHeaderBand->Enabled = false;
    Page.TopMargin = 36;
    Page.BottomMargin = 36;

    QRSubDetail1 = AddSubDetail();
    TQRSubDetail* band = QRSubDetail1;
    band->Height = kBandHeight;
    band->PrintIfEmpty = true;
    band->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail1NeedData(m); };
    band->BeforePrint = [this](TQRBand*, bool&) { LoadNextChart(); };

    QRAddLabel(band, 0, 0, 300, 16, true, "Pedigree Chart");
    labReference = QRAddLabel(band, 0, 24, 480, 8, false);
    labChartNoCaption = QRAddLabel(band, 560, 2, 80, 13, true, {}, taRightJustify);
    labChartNo = QRAddLabel(band, 646, 2, 70, 13, true);
    labChartNo->Font.Style = fsBold | fsUnderline;

    for (int p = 1; p <= kBoxes; ++p) {
        const Column c = kColumns[levelOf(p)];
        const double top = boxTop(p);
        BoxLabels& box = Boxes[size_t(p)];
        box.labNo = timesLabel(band, c.left - 16, top, 15, true, std::to_string(p), taRightJustify);
        box.labNo->Enabled = false;
        box.labName = timesLabel(band, c.left, top, c.width - kLDSWidth, true);
        box.labLDS = timesLabel(band, c.left + c.width - kLDSWidth + 2, top + 1, kLDSWidth - 2, false);
        box.labLDS->Font.Name = "Courier New";
        box.labLDS->Font.Size = 8;
        const bool marriage = p == 1 || p % 2 == 0;
        const int rows = marriage ? 6 : 4;
        for (int r = 0; r < rows; ++r) {
            const double y = top + kUnderline + 2 + kLineStep * r;
            box.labCaption.push_back(timesLabel(band, c.left, y, 18, true));
            box.labValue.push_back(timesLabel(band, c.left + 18, y, c.width - 18, false));
        }
        if (p >= 8) box.labContinue = timesLabel(band, 670, top + kUnderline + 2, 24, true, {}, taRightJustify);

        // The name stands on a line that reaches the line joining the parents.
        const double lineY = top + kUnderline;
        double lineLeft = c.left, lineRight = c.left + c.width;
        if (p == 2 || p == 3) lineLeft = 37;
        if (p <= 7) lineRight = std::max(lineRight, kColumns[levelOf(p) + 1].left - kJoinOffset);
        if (p == 1) lineRight = c.left + c.width;
        QRAddShape(band, qrsHorLine, lineLeft, lineY, lineRight - lineLeft, 1);
    }
    // Lines joining each couple, at the left of their column.
    for (int k = 1; k <= 7; ++k) {
        const double fatherY = boxTop(2 * k) + kUnderline, motherY = boxTop(2 * k + 1) + kUnderline;
        if (k == 1) {
            // Around box 1, which stands between its parents.
            QRAddShape(band, qrsVertLine, 37, fatherY, 1, boxTop(1) - fatherY);
            const double below = boxTop(1) + kUnderline + 2 + kLineStep * 6;
            QRAddShape(band, qrsVertLine, 37, below, 1, motherY - below);
        } else {
            const double x = kColumns[levelOf(2 * k)].left - kJoinOffset;
            QRAddShape(band, qrsVertLine, x, fatherY, 1, motherY - fatherY);
        }
    }
    const double spouseTop = boxTop(1) + kUnderline + 2 + kLineStep * 6 + 8;
    labSpouse = timesLabel(band, 45, spouseTop, 222, true);
    timesLabel(band, 45, spouseTop + 14, 222, false, "(Spouse of #1)");

    const double legendTop = kChartTop + kChartHeight + 14;
    LDSLegend.push_back(QRAddLabel(band, 0, legendTop, 130, 11, true, "Completed Ordinances:"));
    const char* const letters[4] = {"B", "E", "P", "S"};
    const char* const meanings[4] = {"Baptized", "Endowment", "Sealed to Parents", "Sealed to Spouse"};
    for (int i = 0; i < 4; ++i) {
        const double x = 136 + 140.0 * i;
        LDSLegend.push_back(QRAddLabel(band, x, legendTop, 12, 11, true, letters[i]));
        LDSLegend.push_back(QRAddLabel(band, x + 14, legendTop, 120, 11, false, meanings[i]));
    }
    for (TPsQRLabel* l : LDSLegend) l->Enabled = ShowLDS != 0;
}
