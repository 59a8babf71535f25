#pragma once
// The family group sheet: husband and wife with their events, parents and
// LDS ordinances, then one block per child.
#include <array>
#include <cstdint>
#include <vector>

#include "reports/ABSReport.h"

class TReportFamilyForm : public TABSReportForm {
public:
    static constexpr int kMaxChildren = 499;

    // The labels of one person's block.
    struct PersonBox {
        TPsQRLabel* labHead = nullptr; // "Husband", "Wife" (children: the sex letter)
        TPsQRLabel* labName = nullptr;
        std::vector<TPsQRLabel*> labCaption; // "Born", ...
        std::vector<TPsQRLabel*> labDate;
        std::vector<TPsQRLabel*> labPlaceCaption;
        std::vector<TPsQRLabel*> labPlace;
        std::vector<TPsQRLabel*> labLDSCaption; // "B", "E", "SP", ("SS")
        std::vector<TPsQRLabel*> labLDSDate;
        std::vector<TPsQRLabel*> labLDSTemple;
        std::vector<TPsQRLabel*> ldsHeads; // "LDS Ordinance Dates", "Temple"
        TPsQRShape* frame = nullptr;
        void Clear();
    };

    TReportFamilyForm();

    void SetCouple(std::int32_t ASpouse, std::int32_t AFamily);

    std::int32_t Spouse = 0;
    std::int32_t Family = 0;
    std::int32_t Husband = 0;
    std::int32_t Wife = 0;
    std::array<std::int32_t, kMaxChildren> Children{};
    int ChildCount = 0;
    int ChildRow = 1;
    bool CouplePending = false;

    TQRSubDetail* QRSubDetail4 = nullptr; // the couple
    TQRBand* ChildrenHeader = nullptr;
    TQRSubDetail* QRSubDetail1 = nullptr; // the children
    PersonBox HusbandBox, WifeBox, ChildBox;

private:
    void QuickRepBeforePrint(bool& PrintReport);
    void QRSubDetail4NeedData(bool& MoreData);
    void QRSubDetail1NeedData(bool& MoreData);
    void QRSubDetail1BeforePrint(bool& PrintBand);
    void ApplyLDSLayout(PersonBox& box, bool useLDS);
    void FillEvents(PersonBox& box, std::int32_t person);
    void FillLDS(PersonBox& box, std::int32_t person, bool withSpouseSealing);
};
