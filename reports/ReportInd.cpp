#include "reports/ReportInd.h"

#include "model/ABSCollection.h"
#include "model/Options.h"

namespace {

constexpr double kRowHeight = 16;
constexpr double kCaptionLeft = 8, kCaptionWidth = 97;
constexpr double kValueLeft = 112, kValueWidth = 601;

// A titled header band for a group of rows.
TQRBand* addHeader(TQuickRep* rep, const std::string& title) {
    TQRBand* h = rep->AddBand(rbGroupHeader);
    h->Height = 24;
    h->Frame.DrawBottom = true;
    QRAddLabel(h, 8, 6, 705, 13, true, title);
    return h;
}

TQRSubDetail* addRows(TQuickRep* rep, TQRBand* header, double height = kRowHeight) {
    TQRSubDetail* sd = rep->AddSubDetail();
    sd->Height = height;
    sd->PrintIfEmpty = true;
    sd->Header = header;
    return sd;
}

TPsQRLabel* caption(TQRBand* b, double top, const std::string& text = {}) {
    return QRAddLabel(b, kCaptionLeft, top, kCaptionWidth, 12, true, text);
}

TPsQRMemo* value(TQRBand* b, double top) { return QRAddMemo(b, kValueLeft, top, kValueWidth, 12, false); }

void setMemo(TQRMemo* m, const std::string& text) {
    m->Clear();
    if (!text.empty()) m->Add(text);
}

} // namespace

TReportIndForm::TReportIndForm() {
    QRSubDetail1 = addRows(this, nullptr, kRowHeight * 3 + 4);
    labIdCaption = caption(QRSubDetail1, 2, "RIN/AFN/Cust ID");
    memId = value(QRSubDetail1, 2);
    caption(QRSubDetail1, 2 + kRowHeight, "Name");
    memName = value(QRSubDetail1, 2 + kRowHeight);
    caption(QRSubDetail1, 2 + 2 * kRowHeight, "Sex");
    memSex = value(QRSubDetail1, 2 + 2 * kRowHeight);
    QRSubDetail1->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail1NeedData(m); };

    SibDetailVitEvents = addRows(this, nullptr);
    labVitCaption = caption(SibDetailVitEvents, 2);
    memVit = value(SibDetailVitEvents, 2);
    SibDetailVitEvents->OnNeedData = [this](TQRSubDetail*, bool& m) { SibDetailVitEventsNeedData(m); };

    UserEventsHeader = addHeader(this, "User Events");
    SubDetailUserEvents = addRows(this, UserEventsHeader);
    labUserCaption = caption(SubDetailUserEvents, 2);
    memUser = value(SubDetailUserEvents, 2);
    SubDetailUserEvents->OnNeedData = [this](TQRSubDetail*, bool& m) { SubDetailUserEventsNeedData(m); };

    LDSHeader = addHeader(this, "LDS Events");
    SubDetailLDS = addRows(this, LDSHeader, kRowHeight * 3 + 4);
    static const char* const ldsCaptions[3] = {"Baptism", "Endowment", "Sealed to Par."};
    for (int i = 0; i < 3; ++i) {
        caption(SubDetailLDS, 2 + kRowHeight * i, ldsCaptions[i]);
        memLDS[size_t(i)] = value(SubDetailLDS, 2 + kRowHeight * i);
    }
    SubDetailLDS->OnNeedData = [this](TQRSubDetail*, bool& m) { SubDetailLDSNeedData(m); };

    QRSubDetail3 = addRows(this, addHeader(this, "Parents"));
    labParentCaption = caption(QRSubDetail3, 2);
    memParent = value(QRSubDetail3, 2);
    QRSubDetail3->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail3NeedData(m); };

    MarriageBander = addRows(this, addHeader(this, "Marriages"), 38);
    labMarriageCaption = caption(MarriageBander, 2);
    memMarriage = value(MarriageBander, 2);
    labLDSStoS = caption(MarriageBander, 19, "LDS S to S");
    memLDSStoS = value(MarriageBander, 19);
    MarriageBander->OnNeedData = [this](TQRSubDetail*, bool& m) { MarriageBanderNeedData(m); };

    NotesHeader = addHeader(this, "Notes");
    QRSubDetail5 = addRows(this, NotesHeader);
    memNote = QRAddMemo(QRSubDetail5, 8, 2, 705, 12, false);
    QRSubDetail5->OnNeedData = [this](TQRSubDetail*, bool& m) { QRSubDetail5NeedData(m); };

    BeforePrint = [this](TQuickRep*, bool& p) { QuickRepBeforePrint(p); };
}

std::string TReportIndForm::EventText(WABSEvent* event, bool withNotes) {
    if (!event) return {};
    std::string s;
    for (const std::string& part : {event->GetDescription(), event->GetDateText(), event->GetPlaceText()}) {
        if (part.empty()) continue;
        if (!s.empty()) s += ", ";
        s += part;
    }
    if (abs_text::Trim(s) == ",") s.clear();
    if (withNotes) {
        const std::string note = event->GetNoteText();
        if (!note.empty()) s = s.empty() ? note : s + "\r" + note;
    }
    return s;
}

bool TReportIndForm::HasData() const { return FCollection && FIndividual >= 1; }

void TReportIndForm::QuickRepBeforePrint(bool&) {
    MarriageRow = UserEventRow = VitEventRow = ParentRow = 1;
    InfoPending = LDSPending = true;
    NoteRow = 1;
    NoteCount = 0;
    NoteLines.clear();
    ParentFamilyCount = 1;
    MarriageRowCount = 0;
    labIdCaption->Caption = FCollection && FCollection->GetFileKind() == 1 ? "REF/AFN/Cust ID" : "RIN/AFN/Cust ID";

    const bool useLDS = WOptions::GetBool(opt::UseLDS);
    const bool notes = WOptions::GetBool(opt::IndNotes);
    LDSHeader->Enabled = useLDS;
    SubDetailLDS->Enabled = useLDS;
    if (!useLDS) LDSPending = false;
    MarriageBander->Height = useLDS ? 38 : 21;
    labLDSStoS->Enabled = useLDS;
    memLDSStoS->Enabled = useLDS;
    NotesHeader->Enabled = notes;
    UserEventsHeader->Enabled = true;
    SubDetailUserEvents->Enabled = true;

    if (!HasData()) return;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(FIndividual);
    if (!ind) return;
    if (ind->GetEventCount(EventKind::Other) == 0) {
        UserEventsHeader->Enabled = false;
        SubDetailUserEvents->Enabled = false;
    }
    BuildMarriageRows();
    ParentFamilyCount = ind->GetParentFamilyCount();
    if (ParentFamilyCount == 0) ParentFamilyCount = 1;
    if (notes) {
        std::unique_ptr<WABSNote> note = ind->GetNote();
        if (note && note->GetLineCount() >= 1) {
            NoteLines = note->GetLines();
            NoteCount = int(NoteLines.size());
        }
    }
}

void TReportIndForm::BuildMarriageRows() {
    MarriageRowCount = 0;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(FIndividual);
    if (!ind) return;
    auto add = [this](std::string label, std::string info) {
        if (MarriageRowCount >= kMaxMarriageRows) return;
        MarriageRows[size_t(MarriageRowCount++)] = {std::move(label), std::move(info)};
    };
    const std::int32_t count = ind->GetSpouseFamilyCount();
    for (std::int32_t i = 1; i <= count; ++i) {
        const std::int32_t famNo = ind->GetSpouseFamily(i);
        if (famNo <= 0 || !FCollection->MarriageExists(famNo)) continue;
        std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(famNo);
        if (!fam) continue;
        std::string info;
        const std::int32_t spouse = fam->GetOtherSpouse(FIndividual);
        if (spouse > 0 && FCollection->IndividualExists(spouse))
            info = FCollection->GetFullName(spouse) + ", m. " + fam->GetDateAndPlaceText();
        add("Marriage " + std::to_string(i), info);
        fam->SortChildren();
        const bool isHusband = fam->GetHusband() == FIndividual;
        for (std::int32_t c = 1; c <= fam->GetChildCount(); ++c) {
            const std::int32_t childNo = fam->GetChild(c);
            if (childNo <= 0) continue;
            std::unique_ptr<WABSIndividual> child = FCollection->GetIndividual(childNo);
            if (!child) {
                add({}, {});
                continue;
            }
            std::string label;
            for (std::int32_t k = 1; k <= child->GetParentFamilyCount(); ++k) {
                std::int32_t f = 0, motherLink = 0, fatherLink = 0;
                child->GetParentFamilyEx(k, f, motherLink, fatherLink);
                if (f == famNo) {
                    label =
                        "   " + WABSCollection::GetChildLinkName(isHusband ? fatherLink : motherLink, child->GetSex());
                    break;
                }
            }
            add(label, child->GetNameWithDates(false));
        }
    }
}

void TReportIndForm::QRSubDetail1NeedData(bool& MoreData) {
    MoreData = HasData() && InfoPending;
    InfoPending = false;
    memId->Clear();
    memName->Clear();
    memSex->Clear();
    if (!MoreData) return;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(FIndividual);
    if (!ind) return;
    setMemo(memId, ind->GetXRef() + " / " + ind->GetAFN() + " / " + ind->GetRefN());
    setMemo(memName, ind->GetFullName(true));
    setMemo(memSex, std::string(1, ind->GetSex()));
}

void TReportIndForm::SibDetailVitEventsNeedData(bool& MoreData) {
    static const char* const captions[4] = {"Birth", "Chr", "Death", "Burial"};
    static const std::int32_t kinds[4] = {EventKind::Birth, EventKind::Christening, EventKind::Death,
                                          EventKind::Burial};
    MoreData = HasData() && VitEventRow <= 4;
    labVitCaption->Caption.clear();
    memVit->Clear();
    if (!MoreData) return;
    const int r = VitEventRow - 1;
    labVitCaption->Caption = captions[r];
    if (std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(FIndividual)) {
        std::unique_ptr<WABSVitEvent> ev = ind->GetEvent(kinds[r], 1);
        setMemo(memVit, EventText(ev.get(), WOptions::GetBool(opt::IndNotes)));
    }
    ++VitEventRow;
}

void TReportIndForm::SubDetailUserEventsNeedData(bool& MoreData) {
    MoreData = false;
    labUserCaption->Caption.clear();
    memUser->Clear();
    if (!HasData()) return;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(FIndividual);
    if (!ind || UserEventRow > ind->GetEventCount(EventKind::Other)) return;
    MoreData = true;
    std::unique_ptr<WABSVitEvent> ev = ind->GetEvent(EventKind::Other, UserEventRow);
    if (ev) {
        labUserCaption->Caption = ev->GetEventName();
        setMemo(memUser, EventText(ev.get(), WOptions::GetBool(opt::IndNotes)));
    }
    ++UserEventRow;
}

void TReportIndForm::SubDetailLDSNeedData(bool& MoreData) {
    MoreData = HasData() && LDSPending;
    LDSPending = false;
    for (auto* m : memLDS) m->Clear();
    if (!MoreData) return;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(FIndividual);
    if (!ind) return;
    for (int i = 0; i < 3; ++i) {
        std::unique_ptr<WABSLDSEvent> ev = ind->GetLDSEvent(EventKind::LDSBaptism + i);
        if (!ev) continue;
        std::string s = ev->GetDateText() + ", " + ev->GetPlaceText();
        if (s.size() < 3) s.clear();
        setMemo(memLDS[size_t(i)], s);
    }
}

void TReportIndForm::QRSubDetail3NeedData(bool& MoreData) {
    MoreData = HasData() && ParentRow <= 2 * ParentFamilyCount;
    labParentCaption->Caption.clear();
    memParent->Clear();
    if (!MoreData) return;
    const bool father = ParentRow % 2 == 1;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(FIndividual);
    const bool several = ind && ind->GetParentFamilyCount() >= 2;
    std::string cap = father ? "Father" : "Mother";
    if (several && ParentRow <= 2) cap += " (P)";
    labParentCaption->Caption = cap;
    if (ind) {
        const std::int32_t famNo = ind->GetParentFamily((ParentRow + 1) / 2);
        if (famNo > 0 && FCollection->MarriageExists(famNo))
            if (std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(famNo)) {
                const std::int32_t parent = father ? fam->GetHusband() : fam->GetWife();
                if (parent > 0)
                    if (std::unique_ptr<WABSIndividual> p = FCollection->GetIndividual(parent))
                        setMemo(memParent, p->GetNameWithDates(false));
            }
    }
    ++ParentRow;
}

void TReportIndForm::MarriageBanderNeedData(bool& MoreData) {
    MoreData = HasData() && MarriageRow <= MarriageRowCount;
    labMarriageCaption->Caption.clear();
    memMarriage->Clear();
    if (!MoreData) return;
    const auto& row = MarriageRows[size_t(MarriageRow - 1)];
    labMarriageCaption->Caption = row.first;
    setMemo(memMarriage, row.second);
    ++MarriageRow;
}

void TReportIndForm::QRSubDetail5NeedData(bool& MoreData) {
    MoreData = HasData() && NoteRow <= NoteCount;
    memNote->Clear();
    if (!MoreData) return;
    setMemo(memNote, NoteLines[size_t(NoteRow - 1)]);
    ++NoteRow;
}
