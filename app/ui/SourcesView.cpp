#include "app/ui/SourcesView.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/QuickHelp.h"
#include "app/ui/LongTextMemo.h"
#include "app/ui/ViewCommon.h"
#include "app/ui/ViewGrid.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "platform/ui/QtText.h"

// The grid's rows below the title: texts come from the source list as rows
// are drawn, so a file with many sources costs only its visible rows.
class TSourcesModel : public QAbstractTableModel {
public:
    explicit TSourcesModel(WSourcesRows& rows, QObject* parent) : QAbstractTableModel(parent), FRows(rows) {}

    // Grid rows including the title row.
    void SetGridRows(int gridRows) {
        beginResetModel();
        FDataRows = std::max(1, gridRows - 1);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : FDataRows; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : WSourcesRows::kColumns;
    }
    QVariant data(const QModelIndex& idx, int role) const override {
        if (role != Qt::DisplayRole || !idx.isValid()) return {};
        // While the list sorts, cells are drawn empty.
        const auto& row = FRows.Row(idx.row() + 1);
        return toQ(row[size_t(idx.column())]);
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o == Qt::Horizontal && role == Qt::DisplayRole) return QString(WSourcesRows::ColumnTitle(section));
        return {};
    }

private:
    WSourcesRows& FRows;
    int FDataRows = 1;
};

std::vector<TViewTab> TSourcesView::Tabs() const {
    return {{.Page = pgSources, .Caption = "Sources", .MenuCaption = "Sources Tab", .Shortcut = Qt::Key_F10}};
}

TSourcesView::TSourcesView(QWidget* parent) : TViewPage(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    panSrcTop = new QWidget(this);
    auto* top = new QHBoxLayout(panSrcTop);
    top->setContentsMargins(4, 2, 5, 2);
    top->addStretch(1);
    labSourceFound = new QLabel(panSrcTop);
    labSourceFound->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top->addWidget(labSourceFound);
    v->addWidget(panSrcTop);

    auto* split = new QSplitter(Qt::Vertical, this);
    SrcGrid = new QTableView(split);
    FModel = new TSourcesModel(FRows, SrcGrid);
    SrcGrid->setModel(FModel);
    FHeader = SetupViewGrid(SrcGrid);
    FHeader->setStretchLastSection(false);
    FHeader->SetLegend(ViewCommon::MemoText(WSourcesRows::ColumnLegend()));
    connect(FHeader, &QHeaderView::sectionPressed, this, [this](int c) { SrcGridMouseDown(c); });
    connect(SrcGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& cur, const QModelIndex&) {
                if (FSettingRow || !cur.isValid()) return;
                FGridRow = cur.row() + 1;
                SrcGridSelectCell(FGridRow);
            });

    NBSource = new QStackedWidget(split);
    auto* details = new QWidget;
    auto* dv = new QVBoxLayout(details);
    dv->setContentsMargins(4, 4, 4, 4);
    auto* labels = new QGridLayout;
    labels->setHorizontalSpacing(8);
    labels->setVerticalSpacing(2);
    int r = 0;
    auto addLabel = [&](const char* caption, QLabel*& value) {
        auto* cap = new QLabel(caption, details);
        QFont f = cap->font();
        f.setBold(true);
        cap->setFont(f);
        labels->addWidget(cap, r, 0);
        value = new QLabel(details);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setTextFormat(Qt::PlainText);
        labels->addWidget(value, r++, 1);
    };
    addLabel("Title:", labSrcTitle);
    addLabel("Author:", labSrcAuthor);
    addLabel("Abbreviation:", labSrcAbbrev);
    addLabel("Publication:", labSrcPub);
    addLabel("Call Number:", labSrcCall);
    labels->setColumnStretch(1, 1);
    dv->addLayout(labels);

    panSrcNoteTextRepo = new QWidget(details);
    panSrcNoteTextRepo->installEventFilter(this);
    auto box = [this](const char* title, TLongTextMemo*& memo) {
        auto* gb = new QGroupBox(title, panSrcNoteTextRepo);
        auto* l = new QVBoxLayout(gb);
        l->setContentsMargins(4, 4, 4, 4);
        l->addWidget(memo = new TLongTextMemo(gb));
        return gb;
    };
    gbSrcNote = box("Note", memoSrcNote);
    gbSrcText = box("Text", memoSrcText);
    gbSrcRepo = box("Repository", memoSrcRepo);
    dv->addWidget(panSrcNoteTextRepo, 1);
    NBSource->addWidget(details);
    NBSource->addWidget(memoSrcRaw = new TLongTextMemo(NBSource));
    split->addWidget(SrcGrid);
    split->addWidget(NBSource);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    v->addWidget(split, 1);

    LoadColumnWidths();
    ApplyGridFont(8, 14);
    FModel->SetGridRows(2);
}

TSourcesView::~TSourcesView() = default;

void TSourcesView::SetCollection(WABSCollection* collection) {
    TViewPage::SetCollection(collection);
    FRows.SetCollection(collection);
    FStale = true;
    const std::uint8_t kind = collection ? collection->GetFileKind() : 0;
    gbSrcNote->setTitle(kind == 5 || kind == 6 ? "Construction Sentence" : "Note");
}

void TSourcesView::setGridRow(std::int32_t row) {
    FGridRow = row;
    FSettingRow = true;
    SrcGrid->setCurrentIndex(FModel->index(row - 1, 0));
    FSettingRow = false;
}

void TSourcesView::Fill(std::int32_t) {
    if (!FCollection) {
        FModel->SetGridRows(2);
        clearDetails();
        labSourceFound->clear();
        FSourceRow = -1;
        setGridRow(1);
    } else {
        FRows.EnsureIterator();
        if (FStale) {
            FStale = false;
            const int gridRows = FRows.GridRowCount();
            const std::int32_t remembered = std::clamp(FGridRow, 1, gridRows - 1);
            FModel->SetGridRows(gridRows);
            labSourceFound->setText(toQ(FRows.CountText()));
            FHeader->SetSortArrow(FRows.SortArrowColumn(), FRows.SortAscending());
            SrcGrid->viewport()->update();
            setGridRow(remembered);
            FSourceRow = -1;
            SrcGridSelectCell(remembered);
            panSrcNoteTextRepoResize();
        }
    }
    QuickHelp::Show(QuickHelp::Sources);
}

void TSourcesView::clearDetails() {
    for (QLabel* l : {labSrcTitle, labSrcAuthor, labSrcAbbrev, labSrcPub, labSrcCall}) l->clear();
    for (QPlainTextEdit* m : {memoSrcNote, memoSrcText, memoSrcRepo}) m->clear();
}

void TSourcesView::SrcGridSelectCell(int row) {
    if (FRows.IsSorting()) {
        // The list is half sorted: the details follow once it is done.
        FSourceRow = -1;
        return;
    }
    if (!FCollection || row < 1 || row > FRows.SourceCount()) {
        clearDetails();
        return;
    }
    if (row == FSourceRow) return;
    FSourceRow = row;
    SourceDetails d;
    if (!FShowRaw) {
        clearDetails();
        if (!FRows.Details(row, false, d)) return;
        labSrcTitle->setText(toQ(d.Title));
        labSrcAuthor->setText(toQ(d.Author));
        labSrcAbbrev->setText(toQ(d.Abbreviation));
        labSrcPub->setText(toQ(d.Publication));
        labSrcCall->setText(toQ(d.CallNumber));
        memoSrcText->SetLongText(d.Text);
        memoSrcNote->SetLongText(d.Note);
        memoSrcRepo->SetLongText(d.Repository);
    } else {
        memoSrcRaw->clear();
        FRows.Details(row, true, d);
        memoSrcRaw->SetLongText(d.Raw);
    }
}

void TSourcesView::SrcGridMouseDown(int column) {
    if (!FCollection || column < 0) return;
    if (!FRows.SortByColumn(column)) return;
    FHeader->SetSortArrow(FRows.SortArrowColumn(), FRows.SortAscending());
    SrcGrid->viewport()->update();
    // The chosen row now holds another source: its details follow it.
    FSourceRow = -1;
    SrcGridSelectCell(FGridRow);
}

void TSourcesView::SetShowRaw(bool raw) {
    FShowRaw = raw;
    NBSource->setCurrentIndex(raw ? 1 : 0);
    // The page now shown is filled for the chosen row at once.
    FSourceRow = -1;
    if (FCollection && !FStale) SrcGridSelectCell(FGridRow);
}

void TSourcesView::SaveColumnWidths() {
    for (int c = 0; c < WSourcesRows::kColumns; ++c)
        WOptions::SetInt(WSourcesRows::WidthSetting(c), SrcGrid->columnWidth(c));
}

void TSourcesView::LoadColumnWidths() {
    for (int c = 0; c < WSourcesRows::kColumns; ++c) {
        const int w = WOptions::GetInt(WSourcesRows::WidthSetting(c));
        SrcGrid->setColumnWidth(c, w > 0 ? w : 12);
    }
}

void TSourcesView::ApplyGridFont(int fontSize, int rowHeight) {
    QFont f("Arial");
    f.setPointSize(std::max(fontSize, 1));
    SrcGrid->setFont(f);
    FHeader->setFont(f);
    SrcGrid->verticalHeader()->setDefaultSectionSize(std::max(rowHeight, 8));
    FHeader->setFixedHeight(std::max(rowHeight, 8) + 2);
    const int d = fontSize - 8;
    labSourceFound->setFont(f);
    labSourceFound->setFixedHeight(std::max(2 * d + 13, 8));
    for (QPlainTextEdit* m : {memoSrcNote, memoSrcText, memoSrcRepo}) {
        m->setFont(f);
        m->setMinimumHeight(3 * m->fontMetrics().lineSpacing() + 2 * m->frameWidth() +
                            2 * int(m->document()->documentMargin()));
    }
    // The boxes are placed by hand: the page keeps them a few lines high.
    panSrcNoteTextRepo->setMinimumHeight(gbSrcNote->minimumSizeHint().height());
    panSrcNoteTextRepoResize();
}

QString TSourcesView::DetailText(int which) const {
    const QLabel* labels[] = {labSrcTitle, labSrcAuthor, labSrcAbbrev, labSrcPub, labSrcCall};
    return which >= 0 && which < 5 ? labels[which]->text() : QString();
}

void TSourcesView::panSrcNoteTextRepoResize() {
    const int w = panSrcNoteTextRepo->width() / 3;
    const int h = panSrcNoteTextRepo->height();
    gbSrcNote->setGeometry(0, 0, w, h);
    gbSrcText->setGeometry(w, 0, w, h);
    gbSrcRepo->setGeometry(2 * w, 0, w, h);
}

bool TSourcesView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == panSrcNoteTextRepo && e->type() == QEvent::Resize) panSrcNoteTextRepoResize();
    return TViewPage::eventFilter(watched, e);
}
