#include "app/ui/ListView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ClipboardText.h"
#include "app/FlagScope.h"
#include "app/ui/DrawGrid.h"
#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "highlight/HLListIterator.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "model/StrFunc.h"
#include "model/WaitHooks.h"
#include "platform/ui/QtText.h"
#include "reports/ReportFactory.h"

using ViewCommon::BusyScope;

std::vector<TViewTab> TListView::Tabs() const {
    return {
        {.Page = pgList, .Caption = "List", .MenuCaption = "List Tab", .Shortcut = Qt::Key_F7, .ReportPage = rpList},
        {.Page = pgHighlighted,
         .Caption = "Highlighted",
         .MenuCaption = "Highlighted Tab",
         .Shortcut = Qt::Key_F8,
         .ReportPage = rpHighlighted}};
}

TListView::TListView(QWidget* parent) : TViewPage(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    sbListColumns = new QToolButton(this);
    sbListColumns->setText(QStringLiteral("Columns"));
    sbListColumns->setToolTip(QStringLiteral("Change the columns displays in the list"));
    cbFindInList = new QCheckBox(QStringLiteral("Find in List"), this);
    ListCountLab = new QLabel(this);
    ListCountLab->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(sbListColumns);
    top->addWidget(cbFindInList);
    top->addStretch(1);
    top->addWidget(ListCountLab);
    top->addSpacing(3);
    v->addLayout(top);

    ListIndGrid = new TDrawGrid(this);
    ListIndGrid->SetRowCount(1);
    ListIndGrid->OnDrawCell = [this](QPainter& p, const QRect& r, std::int32_t row, int col, bool sel) {
        ListIndGridDrawCell(p, r, row, col, sel);
    };
    ListIndGrid->OnDrawTitle = [this](QPainter& p, const QRect& r, int col) { ListIndGridDrawTitle(p, r, col); };
    ListIndGrid->OnTitleHint = [this] {
        std::string s;
        if (FListColumns) FListColumns->GetColumnsText(s);
        return toQ(s);
    };
    v->addWidget(ListIndGrid, 1);

    connect(ListIndGrid, &TDrawGrid::selectCell, this, [this](std::int32_t row) { FListRow = row; });
    connect(ListIndGrid, &TDrawGrid::dblClick, this, [this](std::int32_t row) {
        FListRow = row;
        if (FCollection && FListIterator && FListRow >= 1) {
            const std::int32_t ind = FListIterator->GetItem(FListRow);
            if (ind > 0) emit individualChosen(ind);
        }
    });
    connect(ListIndGrid, &TDrawGrid::titlePressed, this, [this](int col) { ListIndGridMouseDown(col); });
    connect(sbListColumns, &QToolButton::clicked, this, [this] { sbListColumnsClick(); });
    SetColumnChooser(ViewCommon::DialogColumnChooser(this));
    connect(cbFindInList, &QCheckBox::clicked, this, [this](bool on) {
        FFindInList = on;
        WOptions::SetBool(opt::FindInList, on);
        if (on) SelectListRow(FCurrent);
        emit findInListChanged(on);
    });
}

TListView::~TListView() {
    if (FListColumns && FListColumns->GetSortIterator() == FListIterator) FListColumns->SetSortIterator(nullptr);
}

bool TListView::rebuildBlocked() const {
    return FFilling || WColSortIterator::RebuildBlocked() || WColHLIterator::AnyFilling() ||
           (FListColumns && FListColumns->IsSorting());
}

void TListView::retryLater() {
    // Refilled once the running sort or fill has let go.
    if (FRetryQueued) return;
    FRetryQueued = true;
    QTimer::singleShot(50, this, [this] {
        FRetryQueued = false;
        if (isVisible() && IsStale()) Fill(FCurrent);
    });
}

void TListView::SetCollection(WABSCollection* collection) {
    if (collection == FCollection) return;
    TViewPage::SetCollection(collection);
    if (rebuildBlocked()) {
        // The iterators are in use by a pump further up; they go with the
        // next fill, and nothing is drawn from them meanwhile.
        FListIterator = nullptr;
        MarkStale();
        return;
    }
    if (FListColumns) FListColumns->SetSortIterator(nullptr);
    FListIterator = nullptr;
    FAllIterator.reset();
    FHLIterator.reset();
    FListRow = 0;
    ListIndGrid->SetRow(0);
    MarkStale();
    UpdateListCount();
}

void TListView::SetHighLighter(WABSHighLighter* highlighter) {
    // The window hands the group over again whenever its conditions change:
    // the same group may now accept other individuals.
    FStaleHL = true;
    TViewPage::SetHighLighter(highlighter);
}

void TListView::SetColumns(WListColumns* columns) {
    FListColumns = columns;
    ListIndGrid->SetColumnCount(columns ? columns->GetCount() : 0);
    LoadColumnWidths();
}

void TListView::SetHighlightedOnly(bool on) { FHighlightedOnly = on; }

void TListView::MarkStale() { FStaleList = FStaleHL = true; }

bool TListView::IsStale() const { return FHighlightedOnly ? FStaleHL : FStaleList; }

void TListView::SetReading(bool reading) {
    FReading = reading;
    ListIndGrid->Repaint();
}

void TListView::SetFindInList(bool on) {
    FFindInList = on;
    const QSignalBlocker b(cbFindInList);
    cbFindInList->setChecked(on);
}

void TListView::SetColumnChooser(ViewCommon::ColumnChooser chooser) {
    FChooser = std::move(chooser);
    sbListColumns->setEnabled(bool(FChooser));
}

void TListView::Fill(std::int32_t current) {
    FCurrent = current;
    emit quickHelp(FHighlightedOnly ? 8 : 7);
    if (!FCollection) {
        ListIndGrid->SetRowCount(1);
        return;
    }
    if (!FListColumns) return;
    if (rebuildBlocked()) {
        retryLater();
        return;
    }
    FListColumns->SetCollection(FCollection);
    FListColumns->SetReferencePerson(current);
    bool& stale = FHighlightedOnly ? FStaleHL : FStaleList;
    if (stale) {
        FListColumns->SetSortIterator(nullptr);
        FListIterator = nullptr;
        if (!FHighlightedOnly && WOptions::GetBool(opt::SortFirstColumn) && FListColumns->GetCount() > 0)
            FListColumns->SortByColumn(1); // no iterator yet: only the column is chosen
        BusyScope busy;
        FlagScope filling(FFilling);
        if (!FHighlightedOnly || !FHighlighter) {
            FAllIterator.reset();
            FAllIterator = std::make_unique<WColSortIterator>("", FCollection->GetCount(), FCollection);
        } else {
            FHLIterator.reset();
            WaitHooks::WaitScope wait("Calculating.  Please Wait...");
            FHLIterator = std::make_unique<WColHLIterator>("", FCollection->GetCount(), FCollection, FHighlighter);
        }
    }
    if (!FHighlightedOnly)
        FListIterator = FAllIterator.get();
    else
        FListIterator = FHighlighter ? FHLIterator.get() : nullptr;
    stale = false;
    if (FListIterator)
        FListColumns->SetSortIterator(FListIterator);
    else
        FListColumns->SetSortIterator(nullptr);
    if (FHighlightedOnly && WOptions::GetBool(opt::ShowHlPanel) && !FOpening) emit highlightPanelWanted();
    UpdateListCount();
}

void TListView::UpdateListCount() {
    const std::int32_t count = FListIterator ? FListIterator->Count() : 0;
    ListCountLab->setText(FListIterator ? toQ(std::to_string(count) + " Individuals") : QString());
    ListIndGrid->SetRowCount(std::max<std::int32_t>(count, 1));
    if (FFindInList) SelectListRow(FCurrent);
    ListIndGrid->Repaint();
}

void TListView::SelectListRow(std::int32_t individual) {
    if (!FListIterator || individual < 1) return;
    const std::int32_t count = FListIterator->Count();
    std::int32_t pos = 0;
    for (std::int32_t p = 1; p <= count; ++p)
        if (FListIterator->GetItem(p) == individual) {
            pos = p;
            break;
        }
    if (pos < 1 || pos > ListIndGrid->RowCount()) return;
    ListIndGrid->SetRow(pos, true);
    FListRow = pos;
}

void TListView::RepaintView() {
    if (FHighlightedOnly) {
        FStaleHL = true;
        Fill(FCurrent);
    } else {
        ListIndGrid->Repaint();
    }
}

void TListView::ApplyGridFont(int fontSize, int rowHeight) { ListIndGrid->SetGridFont(fontSize, rowHeight); }

void TListView::ListIndGridDrawTitle(QPainter& p, const QRect& r, int col) {
    GridPaint::ColumnTitle(p, r, FListColumns, col);
}

void TListView::ListIndGridDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected) {
    if (FReading || !FCollection) {
        p.fillRect(r, Qt::white);
        return;
    }
    GridPaint::ColumnCell(p, r, FListColumns, FListIterator, row, col, ListIndGrid->ColumnCount() - 1, FHighlighter,
                          FHighlightedOnly, selected);
}

void TListView::ListIndGridMouseDown(int col) {
    if (col < 0 || !FListColumns || !FListIterator || rebuildBlocked()) return;
    {
        BusyScope busy;
        FlagScope sorting(FFilling);
        FListColumns->SortByColumn(col + 1);
    }
    ListIndGrid->Repaint();
    if (FFindInList) SelectListRow(FCurrent);
}

std::optional<std::string> TListView::CopyText() {
    // The Highlighted tab without conditions has no list to copy.
    if (!FListIterator || !FListColumns) return std::nullopt;
    const auto how = ViewCommon::AskListCopy(this);
    if (!how) return std::nullopt;
    // The fixed-width text takes the grid's widths.
    SaveColumnWidths();
    if (!FListIterator) return std::nullopt;
    return ClipText::ListViewText(*FListColumns, *FListIterator, how->Choice, how->FileName);
}

void TListView::SaveColumnWidths() {
    if (!FListColumns) return;
    for (int c = 0; c < ListIndGrid->ColumnCount() && c < FListColumns->GetCount(); ++c)
        FListColumns->SetColumnWidth(c + 1, ListIndGrid->columnWidth(c));
}

void TListView::LoadColumnWidths() {
    if (!FListColumns) return;
    for (int c = 0; c < ListIndGrid->ColumnCount() && c < FListColumns->GetCount(); ++c)
        ListIndGrid->setColumnWidth(c, FListColumns->GetColumnWidth(c + 1));
}

void TListView::sbListColumnsClick() {
    if (!FListColumns || !FChooser || rebuildBlocked()) return;
    SaveColumnWidths();
    std::string list;
    if (!FChooser(*FListColumns, list)) return;
    FListColumns->SetColumnList(list);
    FListColumns->SetReferencePerson(FCurrent);
    ListIndGrid->SetColumnCount(FListColumns->GetCount());
    LoadColumnWidths();
    ListIndGrid->Repaint();
}
