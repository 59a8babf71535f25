#include "reports/ABSReport.h"

#include <cmath>

#include "model/DateTimeText.h"
#include "platform/Hooks.h"

TPsQRLabel* QRAddLabel(TQRBand* band, double left, double top, double width, int fontHeight, bool bold,
                       const std::string& caption, TQRAlignment alignment) {
    TPsQRLabel* l = band->Add<TPsQRLabel>();
    l->Left = left;
    l->Top = top;
    l->Width = width;
    l->Font = TQRFont::FromHeight(fontHeight, bold ? fsBold : 0u);
    l->Height = std::ceil(QRLineHeight(l->Font));
    l->Caption = caption;
    l->Alignment = alignment;
    return l;
}

TPsQRMemo* QRAddMemo(TQRBand* band, double left, double top, double width, int fontHeight, bool bold) {
    TPsQRMemo* m = band->Add<TPsQRMemo>();
    m->Left = left;
    m->Top = top;
    m->Width = width;
    m->Font = TQRFont::FromHeight(fontHeight, bold ? fsBold : 0u);
    m->Height = std::ceil(QRLineHeight(m->Font));
    return m;
}

TPsQRShape* QRAddShape(TQRBand* band, TQRShapeType shape, double left, double top, double width, double height) {
    TPsQRShape* s = band->Add<TPsQRShape>();
    s->Shape = shape;
    s->Left = left;
    s->Top = top;
    s->Width = width;
    s->Height = height;
    s->Brush.Style = bsClear;
    return s;
}

namespace {

// Days from 30 December 1899 to the civil date (proleptic Gregorian).
long long daysSince1899(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long unixDays = era * 146097 + doe - 719468;
    return unixDays + 25569; // 1970-01-01 is day 25569
}

} // namespace

std::string QRFooterDateText() {
    const plat::CalendarTime t = plat::now();
    const double value =
        double(daysSince1899(t.year, t.month, t.day)) + (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    return DateTimeText::FormatDateTime("d mmm yyyy hh:mm AM/PM", value);
}

TABSReportForm::TABSReportForm() {
    Font = TQRFont::FromHeight(12);

    PageHeaderBand = AddBand(rbPageHeader);
    PageHeaderBand->Height = 45;
    labTitle = QRAddLabel(PageHeaderBand, 8, 8, 705, 16, true, {}, taCenter);
    labTitle->WordWrap = true;
    DoubleLine = QRAddShape(PageHeaderBand, qrsTopAndBottom, 0, 40, 721, 2);

    PageFooterBand = AddBand(rbPageFooter);
    PageFooterBand->Height = 35;
    FooterLine = QRAddShape(PageFooterBand, qrsHorLine, 0, 2, 720, 4);
    labPrintedBy = QRAddLabel(PageFooterBand, 8, 6, 200, 8, false, "Printed by Brenthaul");
    labFooterPage = QRAddLabel(PageFooterBand, 260, 6, 200, 11, false, {}, taCenter);
    labFooterDate = QRAddLabel(PageFooterBand, 516, 6, 200, 8, false, {}, taRightJustify);
    labFooterFileName = QRAddLabel(PageFooterBand, 8, 17, 705, 8, false);

    OnStartPage = [this](TQuickRep* s) { QuickRepStartPage(s); };
}

TABSReportForm::~TABSReportForm() = default;

void TABSReportForm::SetCollection(WABSCollection* ACollection) { FCollection = ACollection; }
void TABSReportForm::SetIndividual(std::int32_t AIndex) { FIndividual = AIndex; }

void TABSReportForm::SetTitle(const std::string& AText) {
    FTitle = AText;
    ReportTitle = AText;
    labTitle->Caption = AText;
}

void TABSReportForm::SetFileName(const std::string& AText) { FFileName = AText; }

void TABSReportForm::QuickRepStartPage(TQuickRep*) {
    labFooterPage->Caption = "Page " + std::to_string(PageNumber());
    labFooterDate->Caption = QRFooterDateText();
    labFooterFileName->Caption = "File: " + FFileName;
}
