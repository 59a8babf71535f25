#pragma once
// The General view: the open file's header, its submitter and statistics,
// each grid with a record-text page beside it for raw mode.
#include <string>
#include <vector>

#include "app/GeneralInfo.h"
#include "app/ui/ViewPage.h"

class QPlainTextEdit;
class QStackedWidget;
class QTableWidget;

class TGeneralView : public TViewPage {
    Q_OBJECT
public:
    explicit TGeneralView(QWidget* parent = nullptr);
    std::vector<TViewTab> Tabs() const override;

    void SetCollection(WABSCollection* collection) override;
    // Header, submitter and statistics of the open file, then the view's quick help.
    void Fill(std::int32_t current) override;
    void RepaintView() override { Fill(0); }
    void ApplyGridFont(int fontSize, int rowHeight) override;
    std::optional<std::string> CopyText() override;

    // The load time ("%.3f seconds") written when a file has been opened;
    // it stays until the next file.
    void SetLoadTime(const std::string& text);
    // The open file, named in the copied text.
    void SetFileName(const std::string& name) { FFileName = name; }
    // Raw mode: the header and submitter show their record texts.
    void SetShowRaw(bool raw) override;
    // The header shows its grid (not the raw record text).
    bool ShowsHeaderGrid() const;

    QTableWidget* HeaderGrid() const { return InfoGridHeader; }
    QTableWidget* SubmitterGrid() const { return InfoGridSubmitter; }
    QTableWidget* StatsGrid() const { return InfoGridStats; }
    QPlainTextEdit* HeaderMemo() const { return memHeaderInformation; }
    QPlainTextEdit* SubmitterMemo() const { return memSubmitterInformation; }
    const std::vector<HeaderEntry>& HeaderEntries() const { return FHeaderEntries; }

private:
    void setCell(QTableWidget* grid, int row, int column, const QString& text);
    void fillHeaderGrid();

    std::vector<HeaderEntry> FHeaderEntries;
    std::string FFileName;
    QStackedWidget* NBInfoHeader = nullptr;
    QStackedWidget* NBInfoSubmitter = nullptr;
    QTableWidget* InfoGridHeader = nullptr;
    QTableWidget* InfoGridSubmitter = nullptr;
    QTableWidget* InfoGridStats = nullptr;
    QPlainTextEdit* memHeaderInformation = nullptr;
    QPlainTextEdit* memSubmitterInformation = nullptr;
};
