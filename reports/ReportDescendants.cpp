#include "reports/ReportDescendants.h"

#include <cmath>

#include "columns/ListColumns.h"
#include "model/ABSCollection.h"
#include "model/DescendantIterator.h"
#include "reports/ReportList.h"

namespace {
constexpr plat::ColorRef kDividerGrey = 0x00808080;
constexpr double kLineLeft = 4;
} // namespace

TReportDesForm::TReportDesForm() {
    ChildBand = AddBand(rbChild);
    ChildBand->Height = 22;
    labDescendants = QRAddLabel(ChildBand, 4, ColumnTop, 200, 12, true, "Descendants");
    ChildDoubleLine = QRAddShape(ChildBand, qrsTopAndBottom, 0, 17, 721, 2);
    PageHeaderBand->ChildBand = ChildBand;

    DetailBand = AddSubDetail();
    DetailBand->Height = RowStep;
    DetailBand->PrintIfEmpty = true;
    labLine = QRAddColumnLabel(DetailBand, false);
    labLine->Left = kLineLeft;
    labLine->Top = ColumnTop + LabelTopOffset;
    labLine->Width = kQRLineWidth - kLineLeft;
    QRVertLine = QRAddShape(DetailBand, qrsVertLine, ColumnStart - 4, 0, 1, RowStep);
    QRVertLine->Enabled = false;
    DetailBand->OnNeedData = [this](TQRSubDetail*, bool& m) { DetailBandNeedData(m); };
    BeforePrint = [this](TQuickRep*, bool& p) { QuickRepBeforePrint(p); };
}

TReportDesForm::~TReportDesForm() = default;

void TReportDesForm::SetOptions(std::int32_t AIndent, std::int32_t AGenerations, bool ARepeat,
                                std::int32_t AColumnStart, bool APrintColumns, bool ADividers) {
    Indent = AIndent;
    Generations = AGenerations;
    Repeat = ARepeat;
    PrintColumns = APrintColumns;
    ColumnStart = AColumnStart * 10.0;
    Dividers = ADividers;
    QRVertLine->Enabled = APrintColumns;
    QRVertLine->Left = ColumnStart - 4;
    if (ADividers) {
        RowStep = 18;
        LabelTopOffset = 2;
        labLine->Top = ColumnTop + LabelTopOffset;
        DetailBand->Frame.DrawBottom = true;
        DetailBand->Frame.Color = kDividerGrey;
        DetailBand->Frame.Width = 1;
        DetailBand->Frame.Style = psDot;
    }
}

void TReportDesForm::SetColumns(WListColumns* AColumns) {
    DetailBand->Height = RowStep;
    Columns = AColumns;
    if (PrintColumns && AColumns) {
        NextColumnX = ColumnStart;
        labLine->Width = ColumnStart - labLine->Left;
        for (std::int32_t i = 1; i <= AColumns->GetCount() && ColumnCount < kQRMaxColumns; ++i) {
            std::int32_t mark = 0;
            std::string title;
            AColumns->GetColumnTitle(i, false, mark, title);
            AddColumn(title, AColumns->GetColumnWidth(i) / 1.0);
        }
    }
    QRVertLine->Height = DetailBand->Height;
}

void TReportDesForm::AddColumn(const std::string& ATitle, double AWidth) {
    if (ColumnCount >= kQRMaxColumns) return;
    TPsQRLabel* value = QRAddColumnLabel(DetailBand, false);
    TPsQRLabel* caption = QRAddColumnLabel(ChildBand, true, ATitle);
    value->Width = caption->Width = AWidth;
    // A row already holding a column wraps; a lone over-wide column stays.
    if (NextColumnX + AWidth + kQRColumnGap > kQRLineWidth && NextColumnX > ColumnStart) {
        NextColumnX = ColumnStart;
        ColumnTop += RowStep;
        DetailBand->Height += RowStep;
        ChildBand->Height += RowStep;
        ChildDoubleLine->Top += RowStep;
    }
    value->Left = caption->Left = NextColumnX;
    NextColumnX += AWidth + kQRColumnGap;
    value->Top = ColumnTop + LabelTopOffset;
    caption->Top = ColumnTop - 1;
    ColumnLabels.push_back(value);
    ++ColumnCount;
}

void TReportDesForm::SetCollection(WABSCollection* ACollection) {
    TABSReportForm::SetCollection(ACollection);
    if (!DesIterator) DesIterator = std::make_unique<WDesIterator>();
    DesIterator->SetCollection(ACollection);
    FBuilt = false;
}

void TReportDesForm::SetIndividual(std::int32_t AIndex) {
    TABSReportForm::SetIndividual(AIndex);
    if (AIndex >= 1 && FCollection) SetTitle("Descendants of " + FCollection->GetFullName(AIndex));
    FBuilt = false;
    ensureBuilt();
}

bool TReportDesForm::ensureBuilt() {
    if (FBuilt) return true;
    if (!DesIterator) DesIterator = std::make_unique<WDesIterator>();
    if (!FCollection || FIndividual < 1) return false;
    DesIterator->SetCollection(FCollection);
    FBuilt = DesIterator->Build(FIndividual, Generations, Repeat);
    return FBuilt;
}

void TReportDesForm::QuickRepBeforePrint(bool&) {
    // The tree is kept between runs: export lays the report out twice.
    ensureBuilt();
    Row = 1;
}

std::string TReportDesForm::LineText(std::int32_t position) {
    const WDesEntry* e = DesIterator ? DesIterator->GetEntry(position) : nullptr;
    if (!e || e->individual < 1 || !FCollection) return {};
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(e->individual);
    if (!ind) return {};
    const long blanks = std::lround(std::nearbyint(double(e->generation) * Indent / 3.0));
    std::string s(size_t(std::max(0L, blanks)), ' ');
    s += std::to_string(e->generation + 1) + " - " + ind->GetDisplayName();
    if (e->repeated) {
        s += " (DUPLICATED)";
    } else if (e->familyCount >= 1 && e->spouse > 0) {
        s += " + " + FCollection->GetName(e->spouse);
        if (e->familyCount > 1)
            s += " [" + std::to_string(e->familyPos) + " of " + std::to_string(e->familyCount) + "]";
    }
    return s;
}

void TReportDesForm::DetailBandNeedData(bool& MoreData) {
    MoreData = false;
    labLine->Caption.clear();
    for (TPsQRLabel* l : ColumnLabels) l->Caption.clear();
    if (!FCollection || !FBuilt || !DesIterator || Row > DesIterator->Count()) return;
    MoreData = true;
    const std::int32_t position = Row++;
    const WDesEntry* e = DesIterator->GetEntry(position);
    if (!e || e->individual < 1) return;
    labLine->Caption = QRFitToWidth(LineText(position), labLine->Width, labLine->Font);
    if (PrintColumns && Columns)
        for (int c = 0; c < ColumnCount; ++c)
            ColumnLabels[size_t(c)]->Caption =
                QRColumnCellText(*Columns, c + 1, e->individual, *ColumnLabels[size_t(c)]);
}
