#pragma once
// The base of every printed report: page header with the title, page footer
// with the program line, page number, print date and the file name, and the
// values every report needs (collection, active individual, title, file name).
#include <cstdint>
#include <string>

#include "reports/ReportEngine.h"

class WABSCollection;

class TABSReportForm : public TQuickRep {
public:
    TABSReportForm();
    ~TABSReportForm() override;

    virtual void SetCollection(WABSCollection* ACollection);
    virtual void SetIndividual(std::int32_t AIndex);
    void SetTitle(const std::string& AText);
    void SetFileName(const std::string& AText);

    WABSCollection* Collection() const { return FCollection; }
    std::int32_t Individual() const { return FIndividual; }
    const std::string& Title() const { return FTitle; }
    const std::string& FileName() const { return FFileName; }

    TQRBand* PageHeaderBand = nullptr;
    TQRBand* PageFooterBand = nullptr;
    TPsQRLabel* labTitle = nullptr;
    TPsQRShape* DoubleLine = nullptr;
    TPsQRShape* FooterLine = nullptr;
    TPsQRLabel* labPrintedBy = nullptr;
    TPsQRLabel* labFooterPage = nullptr;
    TPsQRLabel* labFooterDate = nullptr;
    TPsQRLabel* labFooterFileName = nullptr;

protected:
    void QuickRepStartPage(TQuickRep* Sender);

    WABSCollection* FCollection = nullptr;
    std::int32_t FIndividual = 0;
    std::string FTitle;
    std::string FFileName;
};

// Helpers the report forms use to place their controls (1/96 inch; font
// heights are character heights in the same unit, Arial).
TPsQRLabel* QRAddLabel(TQRBand* band, double left, double top, double width, int fontHeight, bool bold,
                       const std::string& caption = {}, TQRAlignment alignment = taLeftJustify);
TPsQRMemo* QRAddMemo(TQRBand* band, double left, double top, double width, int fontHeight, bool bold);
TPsQRShape* QRAddShape(TQRBand* band, TQRShapeType shape, double left, double top, double width, double height);

// The print time of the page footer: "d mmm yyyy hh:mm AM/PM" of plat::now().
std::string QRFooterDateText();
