#pragma once
// The print dialog: one page of options per report, its own navigation
// panel, and Print / Preview / Save to File of the active page's report.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include <QDialog>

#include "reports/ReportFactory.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;
class WColSortIterator;
class WIndScroll;
class WListColumns;

class TPrintDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxSpouseFamilies = 254;
    enum RunMode { rmPrint = 0, rmPreview = 1, rmSave = 2 };
    // ExportKind values.
    enum : std::uint8_t { ekBMP = 0, ekJPEG = 1, ekHTML = 2, ekPDF = 3, ekEMF = 4, ekRTF = 5 };

    explicit TPrintDlg(QWidget* AOwner = nullptr);
    ~TPrintDlg() override;

    // Called by the main window in this order, then exec().
    // Opens the page of the report APage (a TReportPage); other values
    // leave the page as it is.
    void SelectPage(int APage);
    void SetCollection(WABSCollection* ACollection, std::int32_t AIndividual, std::int32_t AFamilyIndex);
    void SetIterators(WColSortIterator* AHLIterator, WColSortIterator* AListIterator);
    void SetFileName(const std::string& AText);
    void SetColumns(WListColumns* AListColumns, WListColumns* ADesColumns);
    void SetHighlighted(WABSHighLighter* AHighLighter);

    // Runs the active page's report (print, preview or export to
    // ExportFileName with ExportKind).
    void RunReport(RunMode mode);
    // The report choice the controls describe for the report page.
    TReportChoice Choice(int page) const;
    // The proposed name of the saved file for the active page.
    std::string MakeDefaultFileName();
    // The width text of the column area for a track bar position.
    static std::string ColumnAreaWidthText(int position);
    // Maps a row of the save dialog's filter (1-based) to ExportKind.
    static std::uint8_t ExportKindOfFilterRow(int row);
    // The message shown when the saved file cannot be opened.
    static std::string NoViewerMessage(std::uint8_t kind);

    // Values handed in.
    WABSCollection* Collection = nullptr;
    std::int32_t Individual = 0;
    std::string FileName;
    WListColumns* ListColumns = nullptr;
    WListColumns* DesColumns = nullptr;
    WABSHighLighter* HighLighter = nullptr;
    std::int32_t FamilyIndex = 0;
    // Builds the reports and keeps the list pages' iterators.
    TReportFactory Reports;

    // Working values.
    int SpouseFamilyCount = 0;
    std::array<std::int32_t, kMaxSpouseFamilies + 1> SpouseFamilies{};
    std::uint8_t ExportKind = ekPDF;
    std::string ExportFileName;
    std::string SavedFileName;
    std::string ViewerPath;

    // Controls.
    WIndScroll* IndScroll = nullptr;
    QTabWidget* PageControl = nullptr;
    QPushButton* butPrint = nullptr;
    QPushButton* butPreview = nullptr;
    QPushButton* butSaveToFile = nullptr;
    QPushButton* butCancel = nullptr;
    QCheckBox* cbViewFile = nullptr;
    QCheckBox* cbIndPrintNotes = nullptr;
    QListWidget* lbFamList = nullptr;
    QListWidget* lbPedList = nullptr;
    QRadioButton* rbSingle = nullptr;
    QRadioButton* rbCascading = nullptr;
    QCheckBox* CbDesLines = nullptr;
    QCheckBox* cbDesShowDup = nullptr;
    QSpinBox* DesIndentSpinEdit = nullptr;
    QSpinBox* DesGenSpinEdit = nullptr;
    QCheckBox* cbDesPrintColumn = nullptr;
    QSlider* DesTrackBar = nullptr;
    QLabel* labDesWith = nullptr;
    QLabel* labDesArea = nullptr;
    QLabel* labDesWidthCaption = nullptr;
    QWidget* desPaintBox = nullptr;
    QCheckBox* cbListGrayLines = nullptr;
    QCheckBox* cbListDividerLines = nullptr;
    QCheckBox* cbListBoldHL = nullptr;
    QCheckBox* cbHLGrayLines = nullptr;
    QCheckBox* cbHLDividerLines = nullptr;
    QCheckBox* cbIslandGrayLines = nullptr;
    QCheckBox* cbIslandDividerLines = nullptr;

protected:
    // Asks for the output file; false when the user cancels. Sets
    // ExportKind and ExportFileName (and setting 87).
    virtual bool AskExportFileName();
    // Runs one form in the mode.
    virtual void RunForm(TABSReportForm& form, RunMode mode);
    void ExportReport(TABSReportForm& report);

private:
    void FormCreate();
    void FormDestroy();
    void IndScrollChange();
    void PageControlChange();
    void butPrintClick();
    void butPreviewClick();
    void butSaveToFileClick();
    void cbIndPrintNotesClick();
    void cbViewFileClick();
    void cbDesPrintColumnClick();
    void CbDesLinesClick();
    void DesTrackBarChange();
    void RefreshSpouseLists();
    // The report of the active page (a TReportPage).
    int CurrentPage() const;
    // The report form of the page, set up; null when the page cannot run.
    std::unique_ptr<TABSReportForm> BuildReport(int page);
    void BuildPages();
    bool FDestroyed = false;
};
