#pragma once
// The individual report: identity, vital and other events, LDS ordinances,
// parents, marriages with their children, and the individual's note.
#include <array>
#include <utility>
#include <vector>

#include "reports/ABSReport.h"

class WABSEvent;

class TReportIndForm : public TABSReportForm {
public:
    static constexpr int kMaxMarriageRows = 512;

    TReportIndForm();

    bool InfoPending = false;
    bool LDSPending = false;
    int VitEventRow = 1;
    int UserEventRow = 1;
    int ParentRow = 1;
    int MarriageRow = 1;
    int ParentFamilyCount = 1;
    std::vector<std::string> NoteLines;
    int NoteCount = 0;
    int NoteRow = 1;
    std::array<std::pair<std::string, std::string>, kMaxMarriageRows> MarriageRows;
    int MarriageRowCount = 0;

    // Bands in print order.
    TQRSubDetail* QRSubDetail1 = nullptr; // identity
    TQRSubDetail* SibDetailVitEvents = nullptr;
    TQRBand* UserEventsHeader = nullptr;
    TQRSubDetail* SubDetailUserEvents = nullptr;
    TQRBand* LDSHeader = nullptr;
    TQRSubDetail* SubDetailLDS = nullptr;
    TQRSubDetail* QRSubDetail3 = nullptr; // parents
    TQRSubDetail* MarriageBander = nullptr;
    TQRBand* NotesHeader = nullptr;
    TQRSubDetail* QRSubDetail5 = nullptr; // notes

    TPsQRLabel* labIdCaption = nullptr;
    TPsQRMemo* memId = nullptr;
    TPsQRMemo* memName = nullptr;
    TPsQRMemo* memSex = nullptr;
    TPsQRLabel* labVitCaption = nullptr;
    TPsQRMemo* memVit = nullptr;
    TPsQRLabel* labUserCaption = nullptr;
    TPsQRMemo* memUser = nullptr;
    std::array<TPsQRMemo*, 3> memLDS{};
    TPsQRLabel* labParentCaption = nullptr;
    TPsQRMemo* memParent = nullptr;
    TPsQRLabel* labMarriageCaption = nullptr;
    TPsQRMemo* memMarriage = nullptr;
    TPsQRLabel* labLDSStoS = nullptr;
    TPsQRMemo* memLDSStoS = nullptr;
    TPsQRMemo* memNote = nullptr;

    // Event text: description, date and place joined by ", "; the event's
    // note on a new line when notes are printed.
    static std::string EventText(WABSEvent* event, bool withNotes);

private:
    void QuickRepBeforePrint(bool& PrintReport);
    void BuildMarriageRows();
    bool HasData() const;
    void QRSubDetail1NeedData(bool& MoreData);
    void SibDetailVitEventsNeedData(bool& MoreData);
    void SubDetailUserEventsNeedData(bool& MoreData);
    void SubDetailLDSNeedData(bool& MoreData);
    void QRSubDetail3NeedData(bool& MoreData);
    void MarriageBanderNeedData(bool& MoreData);
    void QRSubDetail5NeedData(bool& MoreData);
};
