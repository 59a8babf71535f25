#include "reports/ReportInfo.h"

#include "model/ABSCollection.h"
#include "model/StrFunc.h"

namespace {

constexpr double kRowHeight = 16;
constexpr double kCaptionLeft = 8, kCaptionWidth = 177;
constexpr double kValueLeft = 192, kValueWidth = 521;

TPsQRLabel* valueLabel(TQRBand* band, double top) {
    TPsQRLabel* l = QRAddLabel(band, kValueLeft, top, kValueWidth, 12, true);
    l->WordWrap = true;
    l->AutoStretch = true;
    return l;
}

} // namespace

TQRSubDetail* QRAddSection(TQuickRep* report, const std::string& title, const std::string& caption1,
                           const std::string& caption2) {
    TQRBand* header = report->AddBand(rbGroupHeader);
    header->Height = 45;
    header->Frame.DrawBottom = true;
    QRAddLabel(header, 8, 6, 705, 13, true, title, taCenter);
    QRAddLabel(header, 8, 27, 177, 12, true, caption1);
    QRAddLabel(header, 192, 27, 521, 12, true, caption2);
    TQRSubDetail* sd = report->AddSubDetail();
    sd->Height = kRowHeight;
    sd->PrintIfEmpty = true;
    TQRBand* footer = report->AddBand(rbGroupFooter);
    footer->Height = 12;
    footer->Frame.DrawTop = true;
    sd->Header = header;
    sd->Footer = footer;
    return sd;
}

TReportInfoForm::TReportInfoForm() {
    QRSubDetail1 = QRAddSection(this, "Header Information", "Information", "Description");
    labHeaderCaption = QRAddLabel(QRSubDetail1, kCaptionLeft, 2, kCaptionWidth, 12, false);
    labHeaderValue = valueLabel(QRSubDetail1, 2);
    QRSubDetail1->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail1NeedData(m); };

    static const char* const submCaptions[kSubmitterRows] = {"Name",    "Address 1", "Address 2", "Address 3",
                                                             "Country", "Phone",     "Email"};
    QRSubDetail2 = QRAddSection(this, "Submitter", "Information", "Description");
    QRSubDetail2->Height = kRowHeight * kSubmitterRows + 4;
    for (int i = 0; i < kSubmitterRows; ++i) {
        const double top = 2 + kRowHeight * i;
        labSubmCaption[size_t(i)] =
            QRAddLabel(QRSubDetail2, kCaptionLeft, top, kCaptionWidth, 12, false, submCaptions[i]);
        labSubmValue[size_t(i)] = QRAddLabel(QRSubDetail2, kValueLeft, top, kValueWidth, 12, true);
    }
    QRSubDetail2->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail2NeedData(m); };

    static const char* const fileCaptions[kFileRows] = {"File Name",  "File Size", "File Date", "# Individuals",
                                                        "# Families", "# Notes",   "# Sources"};
    QRSubDetail3 = QRAddSection(this, "File Information", "Stats", "Description");
    QRSubDetail3->Height = kRowHeight * kFileRows + 4;
    for (int i = 0; i < kFileRows; ++i) {
        const double top = 2 + kRowHeight * i;
        labFileCaption[size_t(i)] =
            QRAddLabel(QRSubDetail3, kCaptionLeft, top, kCaptionWidth, 12, false, fileCaptions[i]);
        labFileValue[size_t(i)] = QRAddLabel(QRSubDetail3, kValueLeft, top, kValueWidth, 12, true);
    }
    QRSubDetail3->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail3NeedData(m); };

    BeforePrint = [this](TQuickRep*, bool& p) { QuickRepBeforePrint(p); };
}

void TReportInfoForm::QuickRepBeforePrint(bool&) {
    HeaderCount = 0;
    HeaderRow = 1;
    SubmitterPending = false;
    StatsPending = false;
    labHeaderCaption->Caption.clear();
    labHeaderValue->Caption.clear();
    for (auto* l : labSubmValue) l->Caption.clear();
    for (auto* l : labFileValue) l->Caption.clear();
    if (!FCollection) return;
    const WABSCollection::FileInfo info = FCollection->GetFileInfo();
    for (const auto& pair : info) {
        if (HeaderCount >= kMaxHeaderItems) break;
        HeaderItems[size_t(HeaderCount++)] = pair;
    }
    SubmitterPending = true;
    StatsPending = true;
    labSubmCaption[4]->Caption = FCollection->GetFileKind() == 3 ? "Web Site" : "Country";
}

void TReportInfoForm::QRSubDetail1NeedData(bool& MoreData) {
    MoreData = FCollection && HeaderRow <= HeaderCount;
    if (!MoreData) return;
    const auto& item = HeaderItems[size_t(HeaderRow - 1)];
    labHeaderCaption->Caption = item.first;
    labHeaderValue->Caption = item.second;
    ++HeaderRow;
}

void TReportInfoForm::QRSubDetail2NeedData(bool& MoreData) {
    MoreData = SubmitterPending;
    SubmitterPending = false;
    for (auto* l : labSubmValue) l->Caption.clear();
    if (!MoreData || !FCollection) return;
    std::unique_ptr<WABSSubmitter> s = FCollection->GetSubmitter();
    if (!s) return;
    labSubmValue[0]->Caption = s->GetName();
    labSubmValue[1]->Caption = s->GetAddressLine1();
    labSubmValue[2]->Caption = s->GetAddressLine2();
    labSubmValue[3]->Caption = s->GetAddressLine3();
    labSubmValue[4]->Caption = s->GetCountry();
    labSubmValue[5]->Caption = s->GetPhone();
    labSubmValue[6]->Caption = s->GetEmail();
}

void TReportInfoForm::QRSubDetail3NeedData(bool& MoreData) {
    MoreData = StatsPending;
    StatsPending = false;
    if (!MoreData || !FCollection) return;
    labFileValue[0]->Caption = FFileName;
    labFileValue[1]->Caption = FCollection->GetFileSizeText() + " bytes";
    labFileValue[2]->Caption = FCollection->GetFileDateText();
    labFileValue[3]->Caption = StrFunc::FormatThousands(FCollection->GetIndividualCount());
    labFileValue[4]->Caption = StrFunc::FormatThousands(FCollection->GetMarriageCount());
    labFileValue[5]->Caption = StrFunc::FormatThousands(FCollection->GetNoteCount());
    labFileValue[6]->Caption = StrFunc::FormatThousands(FCollection->GetSourceCount());
}
