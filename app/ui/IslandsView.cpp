#include "app/ui/IslandsView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ClipboardText.h"
#include "app/FlagScope.h"
#include "app/MainCommands.h"
#include "app/ui/DrawGrid.h"
#include "columns/IslandIterator.h"
#include "columns/ListColumns.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "model/StrFunc.h"
#include "model/WaitHooks.h"
#include "platform/ui/QtText.h"
#include "reports/ReportFactory.h"

using ViewCommon::BusyScope;

namespace {

// Island rows are drawn only from complete tables.
bool islandRowReady(WABSCollection* c, bool reading, std::int32_t row) {
    return c && !reading && c->IslandsComputed() && !c->IsComputingIslands() && row <= c->GetIslandCount();
}

QString number(std::int64_t n, bool thousands) {
    return toQ(thousands ? StrFunc::FormatThousands(n) : std::to_string(n));
}

} // namespace

std::vector<TViewTab> TIslandsView::Tabs() const {
    return {{.Page = pgIslands,
             .Caption = "Islands",
             .MenuCaption = "Islands Tab",
             .Shortcut = Qt::Key_F9,
             .ReportPage = rpIslands}};
}

TIslandsView::TIslandsView(QWidget* parent) : TViewPage(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    auto* split = new QSplitter(Qt::Vertical, this);

    auto* topPane = new QWidget(split);
    auto* tv = new QVBoxLayout(topPane);
    tv->setContentsMargins(0, 0, 0, 0);
    auto* PanIslandTop = new QHBoxLayout;
    sbCalculateIslands = new QToolButton(topPane);
    sbCalculateIslands->setText(QStringLiteral("Calculate Islands"));
    labIslandsFound = new QLabel(topPane);
    PanIslandTop->addWidget(sbCalculateIslands);
    PanIslandTop->addStretch(1);
    PanIslandTop->addWidget(labIslandsFound);
    PanIslandTop->addSpacing(6);
    tv->addLayout(PanIslandTop);
    IslandGrid = new TDrawGrid(topPane);
    IslandGrid->SetColumnCount(4);
    IslandGrid->SetRowCount(1);
    const int widths[] = {40, 60, 60, 450};
    for (int c = 0; c < 4; ++c) IslandGrid->setColumnWidth(c, widths[c]);
    IslandGrid->OnDrawCell = [this](QPainter& p, const QRect& r, std::int32_t row, int col, bool sel) {
        IslandGridDrawCell(p, r, row, col, sel);
    };
    IslandGrid->OnDrawTitle = [](QPainter& p, const QRect& r, int col) {
        static const char* const titles[] = {"  #", "# Inds", "# Fams", "1st individual in Island"};
        GridPaint::Title(p, r, QString::fromLatin1(col >= 0 && col < 4 ? titles[col] : ""));
    };
    tv->addWidget(IslandGrid, 1);

    auto* bottomPane = new QWidget(split);
    auto* bv = new QVBoxLayout(bottomPane);
    bv->setContentsMargins(0, 0, 0, 0);
    auto* PanIslandBottomTop = new QHBoxLayout;
    SpeedButton15 = new QToolButton(bottomPane);
    SpeedButton15->setText(QStringLiteral("Columns"));
    SpeedButton15->setToolTip(QStringLiteral("Change the columns displays in the list"));
    labIslandIndividuals = new QLabel(bottomPane);
    PanIslandBottomTop->addWidget(SpeedButton15);
    PanIslandBottomTop->addStretch(1);
    PanIslandBottomTop->addWidget(labIslandIndividuals);
    PanIslandBottomTop->addSpacing(6);
    bv->addLayout(PanIslandBottomTop);
    IslandGridInd = new TDrawGrid(bottomPane);
    IslandGridInd->SetRowCount(1);
    IslandGridInd->OnDrawCell = [this](QPainter& p, const QRect& r, std::int32_t row, int col, bool sel) {
        IslandGridIndDrawCell(p, r, row, col, sel);
    };
    IslandGridInd->OnDrawTitle = [this](QPainter& p, const QRect& r, int col) { IslandGridIndDrawTitle(p, r, col); };
    IslandGridInd->OnTitleHint = [this] {
        std::string s;
        if (FIslandColumns) FIslandColumns->GetColumnsText(s);
        return toQ(s);
    };
    bv->addWidget(IslandGridInd, 1);
    v->addWidget(split, 1);

    // The window attaches its Calculate command to the button.
    sbCalculateIslands->setVisible(!WOptions::GetBool(opt::CalcIslands));
    connect(IslandGrid, &TDrawGrid::selectCell, this, [this](std::int32_t row) { SelectIsland(row); });
    connect(IslandGrid, &TDrawGrid::dblClick, this, [this](std::int32_t) {
        if (!FCollection || FIslandGridRow < 1) return;
        const std::int32_t first = FCollection->GetIslandFirstIndividual(FIslandGridRow);
        if (first > 0) emit individualChosen(first);
    });
    connect(IslandGridInd, &TDrawGrid::selectCell, this, [this](std::int32_t row) { FIslandIndRow = row; });
    connect(IslandGridInd, &TDrawGrid::dblClick, this, [this](std::int32_t row) {
        FIslandIndRow = row;
        if (FCollection && FIslandIterator && FIslandIndRow > 0) {
            const std::int32_t ind = FIslandIterator->GetItem(FIslandIndRow);
            if (ind > 0) emit individualChosen(ind);
        }
    });
    connect(IslandGridInd, &TDrawGrid::titlePressed, this, [this](int col) { IslandGridIndMouseDown(col); });
    connect(SpeedButton15, &QToolButton::clicked, this, [this] { SpeedButton15Click(); });
    SetColumnChooser(ViewCommon::DialogColumnChooser(this));
}

TIslandsView::~TIslandsView() {
    if (FIslandColumns && FIslandIterator && FIslandColumns->GetSortIterator() == FIslandIterator.get())
        FIslandColumns->SetSortIterator(nullptr);
}

bool TIslandsView::rebuildBlocked() const {
    return FBusy || WColSortIterator::RebuildBlocked() || (FIslandColumns && FIslandColumns->IsSorting());
}

void TIslandsView::SetCollection(WABSCollection* collection) {
    if (collection == FCollection) return;
    TViewPage::SetCollection(collection);
    if (!rebuildBlocked()) {
        if (FIslandColumns && FIslandIterator && FIslandColumns->GetSortIterator() == FIslandIterator.get())
            FIslandColumns->SetSortIterator(nullptr);
        FIslandIterator.reset();
    }
    FIslandGridRow = FIslandIndRow = 0;
    FStale = true;
    labIslandsFound->clear();
    labIslandIndividuals->clear();
    IslandGrid->SetRow(0);
    IslandGrid->SetRowCount(1);
    IslandGridInd->SetRow(0);
    IslandGridInd->SetRowCount(1);
    if (FLeftPanel) FLeftPanel->SetCollection(collection);
}

void TIslandsView::SetColumns(WListColumns* columns) {
    FIslandColumns = columns;
    IslandGridInd->SetColumnCount(columns ? columns->GetCount() : 0);
    LoadColumnWidths();
}

void TIslandsView::SetReading(bool reading) {
    FReading = reading;
    if (FLeftPanel) FLeftPanel->SetReading(reading);
    RepaintView();
}

void TIslandsView::SetColumnChooser(ViewCommon::ColumnChooser chooser) {
    FChooser = std::move(chooser);
    SpeedButton15->setEnabled(bool(FChooser));
}

void TIslandsView::FillIslandsPanel(bool force) {
    if (!FCollection || FReading) return;
    // Islands already computed (by any command) are shown whatever the setting.
    if (!force && !WOptions::GetBool(opt::CalcIslands) && !FCollection->IslandsComputed()) return;
    if (FCollection->IsComputingIslands()) return;
    BusyScope busy;
    WaitHooks::WaitScope wait("Calculating Islands.  Please Wait...");
    const std::int32_t count = FCollection->GetIslandCount();
    IslandGrid->SetRowCount(std::max<std::int32_t>(count, 1));
    const QString text = number(count, true) + QStringLiteral(" islands");
    labIslandsFound->setText(text);
    if (FLeftPanel) {
        FLeftPanel->Refresh();
        FLeftPanel->SetIslandCountText(text);
    }
}

void TIslandsView::Fill(std::int32_t current) {
    FCurrent = current;
    if (FCollection)
        FillIslandsPanel(false);
    else
        IslandGrid->SetRowCount(1);
    if (FStale) {
        IslandGrid->SetRow(1, false);
        FStale = false;
    }
    if (FIslandColumns && !FIslandColumns->IsSorting()) FIslandColumns->SetReferencePerson(current);
    RepaintView();
    emit quickHelp(9);
}

void TIslandsView::RepaintView() {
    IslandGrid->Repaint();
    IslandGridInd->Repaint();
    if (FLeftPanel) FLeftPanel->Grid()->Repaint();
}

void TIslandsView::ApplyGridFont(int fontSize, int rowHeight) {
    IslandGrid->SetGridFont(fontSize, rowHeight);
    IslandGridInd->SetGridFont(fontSize, rowHeight);
}

void TIslandsView::SelectIsland(std::int32_t row) {
    if (!FCollection || !FCollection->IslandsComputed() || row == FIslandGridRow) return;
    // The members list is being sorted further up: it must stay.
    if (rebuildBlocked()) return;
    BusyScope busy;
    FlagScope building(FBusy);
    FIslandGridRow = row;
    if (FIslandColumns && FIslandIterator && FIslandColumns->GetSortIterator() == FIslandIterator.get())
        FIslandColumns->SetSortIterator(nullptr);
    FIslandIterator = IslandView::CreateIslandIterator(*FCollection, row);
    FIslandIndRow = 0;
    IslandGridInd->SetRow(0);
    if (FIslandIterator) {
        const std::int32_t count = FIslandIterator->Count();
        IslandGridInd->SetRowCount(std::max<std::int32_t>(count, 1));
        labIslandIndividuals->setText(number(count, true) + QStringLiteral(" Individuals"));
        if (FIslandColumns) {
            const bool hadFocus = IslandGrid->hasFocus();
            IslandGrid->setEnabled(false);
            FIslandColumns->SetSortIterator(FIslandIterator.get());
            FIslandColumns->Resort();
            IslandGrid->setEnabled(true);
            if (hadFocus) IslandGrid->setFocus();
        }
    } else {
        IslandGridInd->SetRowCount(1);
        labIslandIndividuals->clear();
    }
    IslandGrid->SetRow(row, false);
    IslandGridInd->Repaint();
}

void TIslandsView::IslandGridDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected) {
    p.fillRect(r, Qt::white);
    if (!islandRowReady(FCollection, FReading, row)) return;
    QString text;
    switch (col) {
    case 0: text = QString::number(row); break;
    case 1: text = number(FCollection->GetIslandSize(row), true); break;
    case 2: text = number(FCollection->GetIslandFamilyCount(row), true); break;
    case 3:
        if (auto ind = FCollection->GetIndividual(FCollection->GetIslandFirstIndividual(row)))
            text = toQ(ind->GetDisplayName());
        break;
    default: break;
    }
    p.setPen(Qt::black);
    GridPaint::TabText(p, r, 3, text, nullptr);
    GridPaint::Frame(p, r, col, 3, selected);
}

void TIslandsView::IslandGridIndDrawTitle(QPainter& p, const QRect& r, int col) {
    GridPaint::ColumnTitle(p, r, FIslandColumns, col);
}

void TIslandsView::IslandGridIndDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected) {
    if (FReading || !FCollection || !FIslandColumns) {
        p.fillRect(r, Qt::white);
        return;
    }
    GridPaint::ColumnCell(p, r, FIslandColumns, FIslandIterator.get(), row, col, FIslandColumns->GetCount() - 1,
                          FHighlighter, FHighlightedOnly, selected);
}

void TIslandsView::IslandGridIndMouseDown(int col) {
    if (!FCollection || col < 0 || !FIslandColumns || rebuildBlocked()) return;
    {
        BusyScope busy;
        FlagScope sorting(FBusy);
        FIslandColumns->SortByColumn(col + 1);
    }
    IslandGridInd->Repaint();
}

std::optional<std::string> TIslandsView::CopyText() {
    if (!FCollection) return std::nullopt;
    const auto how = ViewCommon::AskListCopy(this);
    if (!how) return std::nullopt;
    return ClipText::IslandsViewText(*FCollection, how->Choice, how->FileName);
}

void TIslandsView::SaveColumnWidths() {
    if (!FIslandColumns) return;
    for (int c = 0; c < IslandGridInd->ColumnCount() && c < FIslandColumns->GetCount(); ++c)
        FIslandColumns->SetColumnWidth(c + 1, IslandGridInd->columnWidth(c));
}

void TIslandsView::LoadColumnWidths() {
    if (!FIslandColumns || IslandGridInd->ColumnCount() == 0) return;
    for (int c = 0; c < IslandGridInd->ColumnCount() && c < FIslandColumns->GetCount(); ++c)
        IslandGridInd->setColumnWidth(c, FIslandColumns->GetColumnWidth(c + 1));
}

void TIslandsView::SpeedButton15Click() {
    if (!FIslandColumns || !FChooser || rebuildBlocked()) return;
    SaveColumnWidths();
    std::string list;
    if (!FChooser(*FIslandColumns, list)) return;
    FIslandColumns->SetColumnList(list);
    FIslandColumns->SetReferencePerson(FCurrent);
    IslandGridInd->SetColumnCount(FIslandColumns->GetCount());
    LoadColumnWidths();
    IslandGridInd->Repaint();
}

// --- left panel ---

TLeftIslandsPanel::TLeftIslandsPanel(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    labIslandCount = new QLabel(this);
    // Captions and enabling come from the window's islands commands.
    sbLeftPanelCalcIslands = new QToolButton(this);
    sbLeftPanelCalcIslands->setText(QStringLiteral("Calculate"));
    sbLeftPanelCalcIslands->setVisible(!WOptions::GetBool(opt::CalcIslands));
    sbExportIslands = new QToolButton(this);
    sbExportIslands->setText(QStringLiteral("Export Islands"));
    cbUseIslands = new QCheckBox(QStringLiteral("Use Islands"), this);
    gridLeftIslands = new TDrawGrid(this);
    gridLeftIslands->SetColumnCount(3);
    gridLeftIslands->SetRowCount(1);
    const int widths[] = {35, 40, 40};
    for (int c = 0; c < 3; ++c) gridLeftIslands->setColumnWidth(c, widths[c]);
    gridLeftIslands->OnDrawCell = [this](QPainter& p, const QRect& r, std::int32_t row, int col, bool sel) {
        DrawCell(p, r, row, col, sel);
    };
    gridLeftIslands->OnDrawTitle = [](QPainter& p, const QRect& r, int col) {
        static const char* const titles[] = {" #", "Ind", "Fam"};
        GridPaint::Title(p, r, QString::fromLatin1(col >= 0 && col < 3 ? titles[col] : ""));
    };
    connect(gridLeftIslands, &TDrawGrid::selectCell, this, [this](std::int32_t row) { SelectRow(row); });
    connect(cbUseIslands, &QCheckBox::clicked, this, [this](bool ticked) { UseIslandsClick(ticked); });
    v->addWidget(labIslandCount);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sbLeftPanelCalcIslands);
    buttons->addWidget(sbExportIslands);
    buttons->addStretch(1);
    v->addLayout(buttons);
    v->addWidget(cbUseIslands);
    v->addWidget(gridLeftIslands, 1);
}

void TLeftIslandsPanel::SetCollection(WABSCollection* collection) {
    FCollection = collection;
    FIslandRow = 0;
    labIslandCount->clear();
    gridLeftIslands->SetRow(0);
    gridLeftIslands->SetRowCount(1);
    cbUseIslands->setChecked(false);
    cbUseIslands->setText(QStringLiteral("Use Islands"));
}

void TLeftIslandsPanel::SetReading(bool reading) {
    FReading = reading;
    gridLeftIslands->Repaint();
}

void TLeftIslandsPanel::Refresh() {
    const std::int32_t count = (FCollection && FCollection->IslandsComputed()) ? FCollection->GetIslandCount() : 0;
    gridLeftIslands->SetRowCount(std::max<std::int32_t>(count, 1));
    gridLeftIslands->Repaint();
}

void TLeftIslandsPanel::SetIslandCountText(const QString& text) { labIslandCount->setText(text); }

void TLeftIslandsPanel::DrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected) {
    p.fillRect(r, Qt::white);
    if (!islandRowReady(FCollection, FReading, row)) return;
    std::int64_t n = row;
    if (col == 1) n = FCollection->GetIslandSize(row);
    if (col == 2) n = FCollection->GetIslandFamilyCount(row);
    p.setPen(Qt::black);
    GridPaint::TabText(p, r, 3, number(n, false), nullptr);
    GridPaint::Frame(p, r, col, 2, selected);
}

void TLeftIslandsPanel::UseIslandsClick(bool ticked) {
    if (!FCollection || FReading || WColSortIterator::RebuildBlocked()) return;
    const std::int32_t count = FCollection->IslandsComputed() ? FCollection->GetIslandCount() : 0;
    const std::int32_t row = gridLeftIslands->Row();
    std::string caption;
    switch (MainCommands::UseIslands(ticked, count, row, caption)) {
    case MainCommands::IslandViewChange::Restrict:
        IslandView::SetIslandView(*FCollection, row);
        FIslandRow = row;
        emit islandViewChanged(row);
        break;
    case MainCommands::IslandViewChange::Clear:
        if (FCollection->GetView()) {
            FCollection->ClearView();
            emit islandViewChanged(0);
        }
        FIslandRow = 0;
        break;
    case MainCommands::IslandViewChange::Keep: break;
    }
    // No island chosen yet: the caption stays as it was.
    if (!caption.empty()) cbUseIslands->setText(toQ(caption));
}

void TLeftIslandsPanel::SelectRow(std::int32_t row) {
    if (!FCollection || !cbUseIslands->isChecked() || row == FIslandRow) return;
    // A list sort holds the present view's members: the view must stay.
    if (WColSortIterator::RebuildBlocked()) return;
    if (FCollection->IslandsComputed() && row <= FCollection->GetIslandCount()) {
        cbUseIslands->setText(QStringLiteral("Use Island (%1)").arg(row));
        gridLeftIslands->setEnabled(false);
        IslandView::SetIslandView(*FCollection, row);
        emit islandViewChanged(row);
        gridLeftIslands->setEnabled(true);
        gridLeftIslands->setFocus();
    }
    FIslandRow = row;
}
