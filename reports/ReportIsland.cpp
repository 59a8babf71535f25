#include "reports/ReportIsland.h"

#include "model/ABSCollection.h"
#include "model/StrFunc.h"

namespace {
constexpr plat::ColorRef kLightGrey = 0x00E0E0E0;
} // namespace

TReportIslandForm::TReportIslandForm() {
    PageHeaderBand->Height = 65;
    DoubleLine->Top = 61;
    QRAddLabel(PageHeaderBand, 0, 44, 56, 12, true, "#", taRightJustify);
    QRAddLabel(PageHeaderBand, 64, 44, 73, 12, true, "Individuals", taRightJustify);
    QRAddLabel(PageHeaderBand, 144, 44, 73, 12, true, "Families", taRightJustify);
    QRAddLabel(PageHeaderBand, 224, 44, 489, 12, true, "1st individual in island");

    DetailLine = AddSubDetail();
    DetailLine->Height = 16;
    DetailLine->PrintIfEmpty = true;
    labNo = QRAddLabel(DetailLine, 0, 1, 56, 12, false, {}, taRightJustify);
    labInd = QRAddLabel(DetailLine, 64, 1, 73, 12, false, {}, taRightJustify);
    labMar = QRAddLabel(DetailLine, 144, 1, 73, 12, false, {}, taRightJustify);
    labFirst = QRAddLabel(DetailLine, 224, 1, 489, 12, false);
    DetailLine->OnNeedData = [this](TQRSubDetail*, bool& m) { DetailLineNeedData(m); };
    BeforePrint = [this](TQuickRep*, bool&) { Row = 1; };
}

void TReportIslandForm::SetLayout(bool AGrey, bool ADividers) {
    Grey = AGrey;
    if (ADividers) {
        DetailLine->Frame.DrawBottom = true;
        DetailLine->Frame.Color = plat::kBlack;
        DetailLine->Frame.Width = 1;
        DetailLine->Frame.Style = psDot;
    }
}

void TReportIslandForm::DetailLineNeedData(bool& MoreData) {
    MoreData = false;
    for (TPsQRLabel* l : {labNo, labInd, labMar, labFirst}) l->Caption.clear();
    if (!FCollection || Row > FCollection->GetIslandCount()) return;
    MoreData = true;
    const plat::ColorRef colour = Grey && Row % 2 == 1 ? kLightGrey : plat::kWhite;
    DetailLine->Color = colour;
    for (TPsQRLabel* l : {labNo, labInd, labMar, labFirst}) l->Color = colour;
    labNo->Caption = StrFunc::FormatThousands(Row);
    labInd->Caption = StrFunc::FormatThousands(FCollection->GetIslandSize(Row));
    labMar->Caption = StrFunc::FormatThousands(FCollection->GetIslandFamilyCount(Row));
    labFirst->Caption = FCollection->GetName(FCollection->GetIslandFirstIndividual(Row));
    ++Row;
}
