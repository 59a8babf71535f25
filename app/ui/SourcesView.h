#pragma once
// The Sources view: every source record of the open file in a grid the user
// sorts by any column, with the chosen source's details (or its raw record)
// below.
#include "app/SourcesRows.h"
#include "app/ui/LongTextMemo.h"
#include "app/ui/ViewPage.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTableView;
class TSourcesModel;
class TViewGridHeader;

class TSourcesView : public TViewPage {
    Q_OBJECT
public:
    explicit TSourcesView(QWidget* parent = nullptr);
    ~TSourcesView() override;
    std::vector<TViewTab> Tabs() const override;

    // Drops the source list of the previous file and marks the view stale;
    // the note box is titled after the file kind.
    void SetCollection(WABSCollection* collection) override;
    // Refills when stale (after a new file or island view), then offers the
    // view's quick help. The current individual plays no part.
    void Fill(std::int32_t current) override;
    void RepaintView() override { Fill(0); }
    void ApplyGridFont(int fontSize, int rowHeight) override;

    // The island view changed: the next fill rebuilds the grid.
    void MarkStale() override { FStale = true; }
    bool IsStale() const { return FStale; }
    // Raw mode: the details page shows the source's record text.
    void SetShowRaw(bool raw) override;
    // Column widths to and from settings 19..23, 130, 24..26.
    void SaveColumnWidths() override;
    void LoadColumnWidths();

    WSourcesRows& Rows() { return FRows; }
    QTableView* Grid() const { return SrcGrid; }
    TViewGridHeader* GridHeader() const { return FHeader; }
    QLabel* FoundLabel() const { return labSourceFound; }
    // Label texts of the details: title, author, abbreviation, publication, call number.
    QString DetailText(int which) const;
    QPlainTextEdit* NoteMemo() const { return memoSrcNote; }
    QPlainTextEdit* TextMemo() const { return memoSrcText; }
    QPlainTextEdit* RepoMemo() const { return memoSrcRepo; }
    QPlainTextEdit* RawMemo() const { return memoSrcRaw; }
    QGroupBox* NoteBox() const { return gbSrcNote; }
    std::int32_t SourceRow() const { return FSourceRow; }
    std::int32_t GridRow() const { return FGridRow; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // A press on the title of grid column 0..8.
    void SrcGridMouseDown(int column);
    // The grid's row r (1-based) was chosen.
    void SrcGridSelectCell(int row);
    void clearDetails();
    void panSrcNoteTextRepoResize();
    void setGridRow(std::int32_t row);

    WSourcesRows FRows;
    bool FStale = true;
    bool FShowRaw = false;
    bool FSettingRow = false;
    std::int32_t FSourceRow = -1;
    std::int32_t FGridRow = 1;

    QWidget* panSrcTop = nullptr;
    QLabel* labSourceFound = nullptr;
    QTableView* SrcGrid = nullptr;
    TSourcesModel* FModel = nullptr;
    TViewGridHeader* FHeader = nullptr;
    QStackedWidget* NBSource = nullptr;
    QLabel* labSrcTitle = nullptr;
    QLabel* labSrcAuthor = nullptr;
    QLabel* labSrcAbbrev = nullptr;
    QLabel* labSrcPub = nullptr;
    QLabel* labSrcCall = nullptr;
    QWidget* panSrcNoteTextRepo = nullptr;
    QGroupBox* gbSrcNote = nullptr;
    QGroupBox* gbSrcText = nullptr;
    QGroupBox* gbSrcRepo = nullptr;
    TLongTextMemo* memoSrcNote = nullptr;
    TLongTextMemo* memoSrcText = nullptr;
    TLongTextMemo* memoSrcRepo = nullptr;
    TLongTextMemo* memoSrcRaw = nullptr;
};
