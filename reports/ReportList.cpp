#include "reports/ReportList.h"

#include <cmath>

#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "highlight/ABSHighLighter.h"
#include "model/Options.h"

namespace {
constexpr plat::ColorRef kLightGrey = 0x00E0E0E0;
constexpr plat::ColorRef kDividerGrey = 0x00808080;
} // namespace

TPsQRLabel* QRAddColumnLabel(TQRBand* band, bool bold, const std::string& caption) {
    TPsQRLabel* l = band->Add<TPsQRLabel>();
    l->Font.Name = "Arial";
    l->Font.Size = 8;
    l->Font.Style = bold ? fsBold : 0u;
    l->Height = 12;
    l->AutoSize = false;
    l->WordWrap = false;
    l->Caption = caption;
    return l;
}

std::string QRFitToWidth(const std::string& text, double width, const TQRFont& font) {
    return QRFitText(text, width, font);
}

std::string QRColumnCellText(const WListColumns& columns, std::int32_t position, std::int32_t individual,
                             const TQRLabel& label) {
    std::string s;
    columns.GetCellText(position, individual, 1, s);
    if (columns.GetTabStops(position) && s.find('\t') != std::string::npos) {
        std::string joined;
        joined.reserve(s.size());
        for (char c : s)
            if (c != '\t') joined.push_back(c);
        s = std::move(joined);
    }
    return QRFitToWidth(s, label.Width, label.Font);
}

TReportListForm::TReportListForm() {
    DoubleLine->Enabled = false;
    ChildBand = AddBand(rbChild);
    ChildBand->Height = 23;
    ChildDoubleLine = QRAddShape(ChildBand, qrsTopAndBottom, 0, 19, 721, 2);
    PageHeaderBand->ChildBand = ChildBand;

    DetailBand = AddSubDetail();
    DetailBand->Height = 15;
    DetailBand->PrintIfEmpty = true;
    labHLInd = QRAddColumnLabel(DetailBand, true);
    labHLInd->Left = 0;
    labHLInd->Width = 5;
    DetailBand->OnNeedData = [this](TQRSubDetail*, bool& m) { DetailBandNeedData(m); };
    BeforePrint = [this](TQuickRep*, bool&) { Row = 1; };
}

void TReportListForm::SetLayout(bool AGrey, bool ADividers, bool AMarkHighlighted) {
    Grey = AGrey;
    MarkHighlighted = AMarkHighlighted;
    if (ADividers) {
        DetailBand->Height = RowStep + ExtraHeight;
        ExtraHeight = 0;
        DetailBand->Frame.DrawBottom = true;
        DetailBand->Frame.Color = kDividerGrey;
        DetailBand->Frame.Width = 1;
        DetailBand->Frame.Style = psDot;
    }
}

void TReportListForm::SetHighLighter(WABSHighLighter* AHighLighter, bool AShowDescription) {
    HighLighter = AHighLighter;
    if (HighLighter && AShowDescription) {
        std::string d;
        HighLighter->GetDescription(d);
        SetTitle("Individuals: " + d);
    }
}

std::int32_t TReportListForm::PrintedWidth(std::int32_t screenWidth, std::int32_t fontSize) {
    const double factor = fontSize == 10 ? 1.2 : fontSize == 12 ? 1.4 : 1.0;
    return std::int32_t(std::nearbyint(screenWidth / factor));
}

void TReportListForm::SetColumns(WListColumns* AColumns, WColSortIterator* AIterator) {
    if (!AColumns || !AIterator) return;
    Columns = AColumns;
    Iterator = AIterator;
    const std::int32_t fontSize = WOptions::GetInt(opt::FontSize);
    for (std::int32_t i = 1; i <= AColumns->GetCount() && ColumnCount < kQRMaxColumns; ++i) {
        std::int32_t mark = 0;
        std::string title;
        AColumns->GetColumnTitle(i, false, mark, title);
        AddColumn(title, PrintedWidth(AColumns->GetColumnWidth(i), fontSize));
    }
}

void TReportListForm::AddColumn(const std::string& ATitle, double AWidth) {
    if (ColumnCount >= kQRMaxColumns) return;
    TPsQRLabel* value = QRAddColumnLabel(DetailBand, false);
    TPsQRLabel* caption = QRAddColumnLabel(ChildBand, true, ATitle);
    value->Width = caption->Width = AWidth;
    // A row already holding a column wraps; a lone over-wide column stays.
    if (NextColumnX + AWidth + kQRColumnGap > kQRLineWidth && ColumnCount > 0) {
        DetailBand->Height += ExtraHeight;
        ExtraHeight = 0;
        NextColumnX = 5;
        ColumnTop += RowStep;
        DetailBand->Height += RowStep;
        ChildBand->Height += RowStep;
        ChildDoubleLine->Top += RowStep;
    }
    value->Left = caption->Left = NextColumnX;
    NextColumnX += AWidth + kQRColumnGap;
    value->Top = ColumnTop;
    caption->Top = ColumnTop + TitleTopOffset;
    ColumnLabels.push_back(value);
    ++ColumnCount;
}

void TReportListForm::DetailBandNeedData(bool& MoreData) {
    MoreData = false;
    for (TPsQRLabel* l : ColumnLabels) l->Caption.clear();
    labHLInd->Caption.clear();
    if (!FCollection || !Iterator || !Columns || Row > Iterator->Count()) return;
    MoreData = true;
    const plat::ColorRef colour = Grey && Row % 2 == 1 ? kLightGrey : plat::kWhite;
    DetailBand->Color = colour;
    labHLInd->Color = colour;
    const std::int32_t ind = Iterator->GetItem(Row);
    for (int c = 0; c < ColumnCount; ++c) {
        TPsQRLabel* l = ColumnLabels[size_t(c)];
        l->Color = colour;
        l->Caption = QRColumnCellText(*Columns, c + 1, ind, *l);
    }
    if (MarkHighlighted && HighLighter && HighLighter->IsHighlighted(ind)) labHLInd->Caption = "*";
    ++Row;
}
