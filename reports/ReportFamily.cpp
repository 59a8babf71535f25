#include "reports/ReportFamily.h"

#include "model/ABSCollection.h"
#include "model/Options.h"

namespace {

constexpr double kRow = 16;
constexpr double kCaptionLeft = 8, kCaptionWidth = 66;
constexpr double kDateLeft = 76, kDateRight = 157;
constexpr double kPlaceCaptionLeft = 162;
constexpr double kPlaceLeft = 192, kPlaceWidthLDS = 353, kPlaceWidth = 521;
constexpr double kLDSCaptionLeft = 552, kLDSDateLeft = 574, kLDSTempleLeft = 648;

// Rows of a block: caption and whether the row has a date and place
// (otherwise it holds a name across the date and place columns).
struct RowDef {
    const char* caption;
    bool event;
};

void buildBox(TReportFamilyForm::PersonBox& box, TQRBand* band, double top, double height, const char* head,
              const std::vector<RowDef>& rows, const std::vector<const char*>& ldsRows) {
    box.frame = QRAddShape(band, qrsRectangle, 0, top, 720, height);
    box.labHead = QRAddLabel(band, kCaptionLeft, top + 4, kCaptionWidth, 12, false, head);
    box.labName = QRAddLabel(band, kDateLeft, top + 4, 475, 13, true);
    for (size_t i = 0; i < rows.size(); ++i) {
        const double y = top + 22 + kRow * double(i);
        box.labCaption.push_back(QRAddLabel(band, kCaptionLeft, y, kCaptionWidth, 12, true, rows[i].caption));
        if (rows[i].event) {
            box.labDate.push_back(
                QRAddLabel(band, kDateLeft, y, kDateRight - kDateLeft, 12, false, {}, taRightJustify));
            box.labPlaceCaption.push_back(QRAddLabel(band, kPlaceCaptionLeft, y + 1, 29, 11, true, "Place"));
            box.labPlace.push_back(QRAddLabel(band, kPlaceLeft, y, kPlaceWidthLDS, 12, false));
        } else {
            box.labDate.push_back(QRAddLabel(band, kDateLeft, y, 475, 12, false));
            box.labPlaceCaption.push_back(nullptr);
            box.labPlace.push_back(nullptr);
        }
    }
    box.ldsHeads.push_back(QRAddLabel(band, kLDSCaptionLeft, top + 4, 96, 9, true, "LDS Ordinance Dates"));
    box.ldsHeads.push_back(QRAddLabel(band, kLDSTempleLeft, top + 4, 64, 9, true, "Temple"));
    for (size_t i = 0; i < ldsRows.size(); ++i) {
        const double y = top + 22 + kRow * double(i);
        box.labLDSCaption.push_back(QRAddLabel(band, kLDSCaptionLeft, y, 22, 12, true, ldsRows[i]));
        box.labLDSDate.push_back(QRAddLabel(band, kLDSDateLeft, y, 72, 11, false));
        box.labLDSTemple.push_back(QRAddLabel(band, kLDSTempleLeft, y, 68, 11, false));
    }
}

} // namespace

void TReportFamilyForm::PersonBox::Clear() {
    labName->Caption.clear();
    for (auto* l : labDate) l->Caption.clear();
    for (auto* l : labPlace)
        if (l) l->Caption.clear();
    for (auto* l : labLDSDate) l->Caption.clear();
    for (auto* l : labLDSTemple) l->Caption.clear();
}

TReportFamilyForm::TReportFamilyForm() {
    QRSubDetail4 = AddSubDetail();
    QRSubDetail4->Height = 306;
    QRSubDetail4->PrintIfEmpty = true;
    buildBox(HusbandBox, QRSubDetail4, 4, 138, "Husband",
             {{"Born", true},
              {"Christened", true},
              {"Died", true},
              {"Buried", true},
              {"Married", true},
              {"Father", false},
              {"Mother", false}},
             {"B", "E", "SP", "SS"});
    buildBox(
        WifeBox, QRSubDetail4, 154, 122, "Wife",
        {{"Born", true}, {"Christened", true}, {"Died", true}, {"Buried", true}, {"Father", false}, {"Mother", false}},
        {"B", "E", "SP"});
    QRSubDetail4->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail4NeedData(m); };

    ChildrenHeader = AddBand(rbGroupHeader);
    ChildrenHeader->Height = 24;
    QRAddLabel(ChildrenHeader, 8, 6, 200, 13, true, "Children");
    ChildBox.ldsHeads.push_back(QRAddLabel(ChildrenHeader, kLDSCaptionLeft, 8, 96, 9, true, "LDS Ordinance Dates"));
    ChildBox.ldsHeads.push_back(QRAddLabel(ChildrenHeader, kLDSTempleLeft, 8, 64, 9, true, "Temple"));

    QRSubDetail1 = AddSubDetail();
    QRSubDetail1->Height = 144;
    QRSubDetail1->Header = ChildrenHeader;
    buildBox(
        ChildBox, QRSubDetail1, 0, 138, "",
        {{"Born", true}, {"Christened", true}, {"Died", true}, {"Buried", true}, {"Spouse", false}, {"Married", true}},
        {"B", "E", "SP", "SS"});
    // The children's column heads are on the "Children" band; the sex
    // letter stands in the left margin box.
    ChildBox.ldsHeads[2]->Enabled = false;
    ChildBox.ldsHeads[3]->Enabled = false;
    ChildBox.ldsHeads.resize(2);
    ChildBox.labHead->Left = 0;
    ChildBox.labHead->Top = 0;
    ChildBox.labHead->Width = 20;
    ChildBox.labHead->Alignment = taCenter;
    ChildBox.labHead->Font.Style = fsBold;
    ChildBox.labHead->Frame.DrawRight = true;
    ChildBox.labHead->Frame.DrawBottom = true;
    QRSubDetail1->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail1NeedData(m); };
    QRSubDetail1->BeforePrint = [this](TQRBand*, bool& p) { QRSubDetail1BeforePrint(p); };

    BeforePrint = [this](TQuickRep*, bool& p) { QuickRepBeforePrint(p); };
}

void TReportFamilyForm::SetCouple(std::int32_t ASpouse, std::int32_t AFamily) {
    Spouse = ASpouse;
    Family = AFamily;
}

void TReportFamilyForm::ApplyLDSLayout(PersonBox& box, bool useLDS) {
    for (auto* l : box.ldsHeads) l->Enabled = useLDS;
    for (auto* l : box.labLDSCaption) l->Enabled = useLDS;
    for (auto* l : box.labLDSDate) l->Enabled = useLDS;
    for (auto* l : box.labLDSTemple) l->Enabled = useLDS;
    for (auto* l : box.labPlace)
        if (l) l->Width = useLDS ? kPlaceWidthLDS : kPlaceWidth;
}

void TReportFamilyForm::QuickRepBeforePrint(bool&) {
    Husband = Wife = 0;
    ChildRow = 1;
    ChildCount = 0;
    CouplePending = true;
    const bool useLDS = WOptions::GetBool(opt::UseLDS);
    ApplyLDSLayout(HusbandBox, useLDS);
    ApplyLDSLayout(WifeBox, useLDS);
    ApplyLDSLayout(ChildBox, useLDS);
    if (!FCollection || FIndividual < 1) return;
    const char sex = FCollection->IndividualExists(FIndividual) ? FCollection->LinkSex(FIndividual) : 'U';
    bool isHusband;
    if (sex == 'M')
        isHusband = true;
    else if (sex == 'F')
        isHusband = false;
    else if (Spouse < 1 || !FCollection->IndividualExists(Spouse))
        isHusband = false;
    else
        isHusband = FCollection->LinkSex(Spouse) != 'M';
    Husband = isHusband ? FIndividual : Spouse;
    Wife = isHusband ? Spouse : FIndividual;
    if (Family > 0 && FCollection->MarriageExists(Family))
        if (std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(Family)) {
            fam->SortChildren();
            ChildCount = std::min<int>(fam->GetChildCount(), kMaxChildren);
            for (int i = 0; i < ChildCount; ++i) Children[size_t(i)] = fam->GetChild(i + 1);
        }
}

void TReportFamilyForm::FillEvents(PersonBox& box, std::int32_t person) {
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(person);
    if (!ind) return;
    box.labName->Caption = ind->GetFullName(true);
    static const std::int32_t kinds[4] = {EventKind::Birth, EventKind::Christening, EventKind::Death,
                                          EventKind::Burial};
    for (int i = 0; i < 4; ++i) {
        box.labDate[size_t(i)]->Caption = ind->GetEventDateText(kinds[i], 1);
        box.labPlace[size_t(i)]->Caption = ind->GetEventPlaceText(kinds[i], 1);
    }
}

void TReportFamilyForm::FillLDS(PersonBox& box, std::int32_t person, bool withSpouseSealing) {
    if (!WOptions::GetBool(opt::UseLDS)) return;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(person);
    if (!ind) return;
    for (int i = 0; i < 3; ++i) {
        const std::int32_t kind = EventKind::LDSBaptism + i;
        box.labLDSDate[size_t(i)]->Caption = ind->GetLDSEventDateText(kind);
        box.labLDSTemple[size_t(i)]->Caption = ind->GetLDSEventText(kind, i == 0);
    }
    if (withSpouseSealing && box.labLDSDate.size() > 3) {
        box.labLDSDate[3]->Caption = FCollection->GetFamilyEventDate(person, 1, EventKind::LDSSealSpouse);
        box.labLDSTemple[3]->Caption = FCollection->GetFamilyEventPlace(person, 1, false, EventKind::LDSSealSpouse);
    }
}

void TReportFamilyForm::QRSubDetail4NeedData(bool& MoreData) {
    MoreData = FCollection && FIndividual >= 1 && CouplePending;
    CouplePending = false;
    HusbandBox.Clear();
    WifeBox.Clear();
    if (!MoreData) return;
    auto parents = [this](PersonBox& box, std::int32_t person, size_t fatherRow) {
        box.labDate[fatherRow]->Caption = FCollection->GetFullName(FCollection->GetFather(person));
        box.labDate[fatherRow + 1]->Caption = FCollection->GetFullName(FCollection->GetMother(person));
    };
    if (Husband >= 1 && FCollection->IndividualExists(Husband)) {
        FillEvents(HusbandBox, Husband);
        if (Family > 0 && FCollection->MarriageExists(Family))
            if (std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(Family)) {
                HusbandBox.labDate[4]->Caption = fam->GetDateText();
                HusbandBox.labPlace[4]->Caption = fam->GetPlace();
            }
        parents(HusbandBox, Husband, 5);
        FillLDS(HusbandBox, Husband, true);
    }
    if (Wife >= 1 && FCollection->IndividualExists(Wife)) {
        FillEvents(WifeBox, Wife);
        parents(WifeBox, Wife, 4);
        FillLDS(WifeBox, Wife, false);
    }
}

void TReportFamilyForm::QRSubDetail1NeedData(bool& MoreData) {
    MoreData = FCollection && ChildRow <= ChildCount;
    if (MoreData) ++ChildRow;
}

void TReportFamilyForm::QRSubDetail1BeforePrint(bool&) {
    ChildBox.Clear();
    ChildBox.labHead->Caption.clear();
    const int index = ChildRow - 2;
    if (!FCollection || index < 0 || index >= ChildCount) return;
    const std::int32_t child = Children[size_t(index)];
    if (!FCollection->IndividualExists(child)) return;
    ChildBox.labHead->Caption = std::string(1, FCollection->LinkSex(child));
    FillEvents(ChildBox, child);
    if (std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(child)) {
        const std::int32_t famNo = ind->GetSpouseFamily(1);
        if (famNo > 0 && FCollection->MarriageExists(famNo))
            if (std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(famNo)) {
                ChildBox.labDate[4]->Caption = FCollection->GetFullName(fam->GetOtherSpouse(child));
                ChildBox.labDate[5]->Caption = fam->GetDateText();
                ChildBox.labPlace[5]->Caption = fam->GetPlace();
            }
    }
    FillLDS(ChildBox, child, true);
}
