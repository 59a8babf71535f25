#pragma once
// List page (notebook page 5): all individuals of the collection's view, or
// on the Highlighted tab only those the highlight group accepts, in the
// columns of the List set, sortable by a click on a column title.
//
// The window calls, besides the TViewPage setters:
//   SetColumns(FListColumns)       once, after the column sets exist;
//   SetHighlightedOnly(bool)       in its tab change, before Fill (page 13: true);
//   SetOpening(bool)               around an open;
//   SetFindInList(bool)            from setting 14 in its file-state reset;
//   SetColumnChooser(fn)           only to replace the "List Columns" dialog.
// Fill(current) is FillListView; RepaintView() refills on the Highlighted
// tab and repaints otherwise. AllIterator()/HLIterator() feed the print dialog.
#include <memory>

#include "app/ui/ViewCommon.h"
#include "app/ui/ViewPage.h"

class QCheckBox;
class QLabel;
class QToolButton;
class TDrawGrid;
class WColHLIterator;
class WColSortIterator;
class WListColumns;

class TListView : public TViewPage {
    Q_OBJECT
public:
    explicit TListView(QWidget* parent = nullptr);
    ~TListView() override;
    std::vector<TViewTab> Tabs() const override;

    void SetCollection(WABSCollection* collection) override;
    void SetHighLighter(WABSHighLighter* highlighter) override;
    void SetColumns(WListColumns* columns);
    void SetHighlightedOnly(bool on);
    bool HighlightedOnly() const { return FHighlightedOnly; }
    void MarkStale() override;
    bool IsStale() const;
    void SetReading(bool reading) override;
    void SetOpening(bool opening) { FOpening = opening; }
    void SetFindInList(bool on);
    void SetColumnChooser(ViewCommon::ColumnChooser chooser);

    void Fill(std::int32_t current) override;
    // Asks how (fixed width, CSV, CSV file) first; nothing without a list.
    std::optional<std::string> CopyText() override;
    void RepaintView() override;
    void ApplyGridFont(int fontSize, int rowHeight) override;
    void UpdateListCount();
    // Selects the individual's row when it is listed.
    void SelectListRow(std::int32_t individual);
    void SaveColumnWidths() override;
    void LoadColumnWidths();

    WColSortIterator* ListIterator() const { return FListIterator; }
    WColSortIterator* AllIterator() const { return FAllIterator.get(); }
    WColHLIterator* HLIterator() const { return FHLIterator.get(); }
    TDrawGrid* Grid() const { return ListIndGrid; }
    QLabel* CountLabel() const { return ListCountLab; }
    std::int32_t ListRow() const { return FListRow; }

signals:
    void quickHelp(int entry);
    // The Highlighted tab wants the highlight page of the left panel shown.
    void highlightPanelWanted();
    // The find-in-list box changed (setting 14 is already stored).
    void findInListChanged(bool on);

private:
    void ListIndGridDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected);
    void ListIndGridDrawTitle(QPainter& p, const QRect& r, int col);
    void ListIndGridMouseDown(int col);
    void sbListColumnsClick();
    // A fill or sort is pumping messages: iterators must stay as they are.
    bool rebuildBlocked() const;
    void retryLater();

    std::unique_ptr<WColSortIterator> FAllIterator;
    std::unique_ptr<WColHLIterator> FHLIterator;
    WColSortIterator* FListIterator = nullptr;
    WListColumns* FListColumns = nullptr;
    ViewCommon::ColumnChooser FChooser;
    bool FHighlightedOnly = false;
    bool FStaleList = true, FStaleHL = true;
    bool FReading = false, FOpening = false, FFindInList = false;
    bool FFilling = false, FRetryQueued = false;
    std::int32_t FCurrent = 0;
    std::int32_t FListRow = 0;

    TDrawGrid* ListIndGrid = nullptr;
    QLabel* ListCountLab = nullptr;
    QToolButton* sbListColumns = nullptr;
    QCheckBox* cbFindInList = nullptr;
};
