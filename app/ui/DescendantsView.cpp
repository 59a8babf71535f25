#include "app/ui/DescendantsView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ClipboardText.h"
#include "app/ui/DrawGrid.h"
#include "columns/ListColumns.h"
#include "model/ABSCollection.h"
#include "model/DescendantIterator.h"
#include "model/Options.h"
#include "platform/ui/QtText.h"
#include "reports/ReportFactory.h"

using ViewCommon::BusyScope;

std::vector<TViewTab> TDescendantsView::Tabs() const {
    return {{.Page = pgDescendants,
             .Caption = "Descendants",
             .MenuCaption = "Descendants Tab",
             .Shortcut = Qt::Key_F6,
             .ReportPage = rpDescendants}};
}

TDescendantsView::TDescendantsView(QWidget* parent) : TViewPage(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    LabDesGen = new QLabel(this);
    // As wide as its longest text from the start: filling it must not widen the window.
    const QFontMetrics fm = LabDesGen->fontMetrics();
    LabDesGen->setMinimumWidth(std::max(fm.horizontalAdvance(toQ(DescendantGenerationsText(0))),
                                        fm.horizontalAdvance(toQ(DescendantGenerationsText(255)))));
    DesGenSpinEdit = new QSpinBox(this);
    DesGenSpinEdit->setRange(0, 255);
    auto* labIndent = new QLabel(QStringLiteral("Indent"), this);
    DesIndentSpinEdit = new QSpinBox(this);
    DesIndentSpinEdit->setRange(1, 32);
    cbDesShowGrid = new QCheckBox(QStringLiteral("Grid"), this);
    cbDesShowDup = new QCheckBox(QStringLiteral("Repeat Individuals"), this);
    SpeedButton14 = new QToolButton(this);
    SpeedButton14->setText(QStringLiteral("Columns"));
    SpeedButton14->setToolTip(QStringLiteral("Change the columns displays in the list"));
    top->addWidget(DesGenSpinEdit);
    top->addWidget(LabDesGen);
    top->addSpacing(12);
    top->addWidget(labIndent);
    top->addWidget(DesIndentSpinEdit);
    top->addSpacing(12);
    top->addWidget(cbDesShowGrid);
    top->addWidget(cbDesShowDup);
    top->addStretch(1);
    top->addWidget(SpeedButton14);
    v->addLayout(top);

    DesGrid = new TDrawGrid(this);
    DesGrid->SetColumnCount(1);
    DesGrid->SetRowCount(1);
    DesGrid->setColumnWidth(0, WOptions::GetInt(opt::DesNameCol));
    DesGrid->OnDrawCell = [this](QPainter& p, const QRect& r, std::int32_t row, int col, bool sel) {
        DesGridDrawCell(p, r, row, col, sel);
    };
    DesGrid->OnDrawTitle = [this](QPainter& p, const QRect& r, int col) { DesGridDrawTitle(p, r, col); };
    DesGrid->OnTitleHint = [this] {
        std::string s;
        if (FDesColumns) FDesColumns->GetColumnsText(s);
        return toQ(s);
    };
    v->addWidget(DesGrid, 1);

    connect(DesGrid, &TDrawGrid::selectCell, this, [this](std::int32_t row) { FDesRow = row; });
    connect(DesGrid, &TDrawGrid::dblClick, this, [this](std::int32_t row) {
        FDesRow = row;
        DesGridDblClick();
    });
    connect(DesGenSpinEdit, &QSpinBox::valueChanged, this, [this] { DesGenSpinEditChange(); });
    connect(DesIndentSpinEdit, &QSpinBox::valueChanged, this, [this] { DesIndentSpinEditChange(); });
    connect(cbDesShowGrid, &QCheckBox::clicked, this, [this] { cbDesShowGridClick(); });
    connect(cbDesShowDup, &QCheckBox::clicked, this, [this] { cbDesShowDupClick(); });
    connect(SpeedButton14, &QToolButton::clicked, this, [this] { SpeedButton14Click(); });
    SetColumnChooser(ViewCommon::DialogColumnChooser(this));
}

TDescendantsView::~TDescendantsView() = default;

void TDescendantsView::SetCollection(WABSCollection* collection) {
    if (collection == FCollection) return;
    TViewPage::SetCollection(collection);
    // The list names individuals of the previous file.
    FDesIterator.reset();
    FDesRow = 0;
    DesGrid->SetRow(0);
    DesGrid->SetRowCount(1);
    DesGrid->Repaint();
}

void TDescendantsView::SetColumns(WListColumns* columns) {
    FDesColumns = columns;
    DesGrid->SetColumnCount(columns ? columns->GetCount() + 1 : 1);
    LoadColumnWidths();
    DesGrid->Repaint();
}

void TDescendantsView::SetReading(bool reading) {
    FReading = reading;
    DesGrid->Repaint();
}

void TDescendantsView::SetColumnChooser(ViewCommon::ColumnChooser chooser) {
    FChooser = std::move(chooser);
    SpeedButton14->setEnabled(bool(FChooser));
}

void TDescendantsView::Fill(std::int32_t current) {
    FCurrent = current;
    if (current < 1) return;
    if (!FCollection) {
        BuildDescendants(0);
        return;
    }
    BuildDescendants(current);
    emit quickHelp(6);
}

void TDescendantsView::BuildDescendants(std::int32_t root) {
    if (!FDesIterator) FDesIterator = std::make_unique<WDesIterator>();
    BusyScope busy;
    if (FDesColumns && !FDesColumns->IsSorting()) {
        FDesColumns->SetCollection(FCollection);
        FDesColumns->SetReferencePerson(root);
    }
    FDesIterator->SetCollection(FCollection);
    FDesIterator->Build(root, WOptions::GetInt(opt::DesGenLimit), WOptions::GetBool(opt::DesRepDups));
    // The grid keeps one (white) data row when the list is empty.
    DesGrid->SetRowCount(std::max<std::int32_t>(FDesIterator->Count(), 1));
    DesGrid->Repaint();
}

void TDescendantsView::RepaintView() { DesGrid->Repaint(); }

void TDescendantsView::ApplyGridFont(int fontSize, int rowHeight) { DesGrid->SetGridFont(fontSize, rowHeight); }

QString TDescendantsView::NameColumnTitle() const { return toQ(DescendantsTitle(FDesIterator.get())); }

void TDescendantsView::DesGridDrawTitle(QPainter& p, const QRect& r, int col) {
    if (col == 0) {
        GridPaint::Title(p, r, NameColumnTitle());
        return;
    }
    std::string s;
    std::int32_t mark = 1;
    if (FDesColumns && col <= FDesColumns->GetCount()) FDesColumns->GetColumnTitle(col, false, mark, s);
    // This list is never sorted by a column: no arrow.
    GridPaint::Title(p, r, toQ(s));
}

void TDescendantsView::DesGridDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected) {
    p.fillRect(r, Qt::white);
    if (FReading || !FCollection || !FDesIterator || row > FDesIterator->Count()) return;
    const WDesEntry* e = FDesIterator->GetEntry(row);
    if (!e) return;
    const WDesEntry entry = *e;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(entry.individual);
    if (!ind) return;
    const int lastCol = FDesColumns ? FDesColumns->GetCount() : 0;
    if (col >= 1) {
        if (FDesColumns && col <= FDesColumns->GetCount()) {
            std::string s;
            FDesColumns->GetCellText(col, entry.individual, entry.familyPos, s);
            p.setPen(Qt::black);
            GridPaint::TabText(p, r, 3, toQ(s), FDesColumns->GetTabStops(col));
        }
    } else {
        const DesNameLine line = NameLine(row);
        int x = r.left() + line.Indent;
        for (const DesPiece& piece : line.Pieces)
            x = GridPaint::Piece(p, r, x, toQ(piece.Text), toQColor(piece.Back), toQColor(piece.Font));
    }
    GridPaint::Frame(p, r, col, lastCol, selected);
}

DesNameLine TDescendantsView::NameLine(std::int32_t row) const {
    if (FReading || !FDesIterator) return {};
    const WDesEntry* e = FDesIterator->GetEntry(row);
    return e ? DescendantNameLine(FCollection, FHighlighter, *e) : DesNameLine{};
}

void TDescendantsView::DesGridDblClick() {
    if (!FCollection || FDesRow <= 0 || !FDesIterator) return;
    if (const WDesEntry* e = FDesIterator->GetEntry(FDesRow)) emit individualChosen(e->individual);
}

void TDescendantsView::refill() {
    if (FCurrent >= 1) Fill(FCurrent);
}

void TDescendantsView::DesGenSpinEditChange() {
    const int value = DesGenSpinEdit->value();
    LabDesGen->setText(toQ(DescendantGenerationsText(value)));
    WOptions::SetInt(opt::DesGenLimit, value);
    refill();
}

void TDescendantsView::DesIndentSpinEditChange() {
    WOptions::SetInt(opt::DesIndent, std::min(DesIndentSpinEdit->value(), DesIndentSpinEdit->maximum()));
    RepaintView();
}

void TDescendantsView::cbDesShowGridClick() {
    WOptions::SetBool(opt::DesShowLines, cbDesShowGrid->isChecked());
    DesGrid->setShowGrid(cbDesShowGrid->isChecked());
}

void TDescendantsView::cbDesShowDupClick() {
    WOptions::SetBool(opt::DesRepDups, cbDesShowDup->isChecked());
    refill();
}

void TDescendantsView::ApplySettings() {
    {
        const QSignalBlocker b1(DesGenSpinEdit), b2(DesIndentSpinEdit);
        DesGenSpinEdit->setValue(std::clamp(WOptions::GetInt(opt::DesGenLimit), 0, 255));
        DesIndentSpinEdit->setValue(std::clamp(WOptions::GetInt(opt::DesIndent), 1, 32));
    }
    // The change handlers run as when the user set the values.
    DesGenSpinEditChange();
    DesIndentSpinEditChange();
    cbDesShowGrid->setChecked(WOptions::GetBool(opt::DesShowLines));
    DesGrid->setShowGrid(cbDesShowGrid->isChecked());
    cbDesShowDup->setChecked(WOptions::GetBool(opt::DesRepDups));
}

std::optional<std::string> TDescendantsView::CopyText() {
    if (!FCollection || !FDesIterator) return std::nullopt;
    return ClipText::DescendantsViewText(*FCollection, *FDesIterator);
}

void TDescendantsView::SaveColumnWidths() {
    WOptions::SetInt(opt::DesNameCol, DesGrid->columnWidth(0));
    if (!FDesColumns) return;
    for (int c = 1; c < DesGrid->ColumnCount() && c <= FDesColumns->GetCount(); ++c)
        FDesColumns->SetColumnWidth(c, DesGrid->columnWidth(c));
}

void TDescendantsView::LoadColumnWidths() {
    DesGrid->setColumnWidth(0, WOptions::GetInt(opt::DesNameCol));
    if (!FDesColumns) return;
    for (int c = 1; c < DesGrid->ColumnCount() && c <= FDesColumns->GetCount(); ++c)
        DesGrid->setColumnWidth(c, FDesColumns->GetColumnWidth(c));
}

void TDescendantsView::SpeedButton14Click() {
    if (!FDesColumns || !FChooser || FDesColumns->IsSorting()) return;
    SaveColumnWidths();
    std::string list;
    if (!FChooser(*FDesColumns, list)) return;
    FDesColumns->SetColumnList(list);
    FDesColumns->SetReferencePerson(FCurrent);
    DesGrid->SetColumnCount(FDesColumns->GetCount() + 1);
    LoadColumnWidths();
    DesGrid->Repaint();
}
