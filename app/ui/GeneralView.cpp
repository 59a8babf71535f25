#include "app/ui/GeneralView.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ClipboardText.h"
#include "app/QuickHelp.h"
#include "app/ui/ViewCommon.h"
#include "app/ui/ViewGrid.h"
#include "model/ABSCollection.h"
#include "platform/ui/QtText.h"
#include "reports/ReportFactory.h"

namespace {

QTableWidget* makeGrid(QWidget* parent, int dataRows, const char* title0, const char* title1, int w0, int w1) {
    auto* g = new QTableWidget(dataRows, 2, parent);
    SetupViewGrid(g);
    g->setHorizontalHeaderLabels({title0, title1});
    g->setColumnWidth(0, w0);
    g->setColumnWidth(1, w1);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

QPlainTextEdit* readOnlyMemo(QWidget* parent) {
    auto* m = new QPlainTextEdit(parent);
    m->setReadOnly(true);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    return m;
}

} // namespace

std::vector<TViewTab> TGeneralView::Tabs() const {
    return {{.Page = pgGeneral,
             .Caption = "General",
             .MenuCaption = "General Tab",
             .Shortcut = Qt::Key_F2,
             .ReportPage = rpGeneral}};
}

TGeneralView::TGeneralView(QWidget* parent) : TViewPage(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);

    auto* headerBox = new QGroupBox("Header", this);
    auto* hl = new QVBoxLayout(headerBox);
    NBInfoHeader = new QStackedWidget(headerBox);
    InfoGridHeader = makeGrid(NBInfoHeader, 1, "Info", "Description", 120, 260);
    NBInfoHeader->addWidget(InfoGridHeader);
    NBInfoHeader->addWidget(memHeaderInformation = readOnlyMemo(NBInfoHeader));
    hl->addWidget(NBInfoHeader);

    auto* right = new QVBoxLayout;
    auto* subBox = new QGroupBox("Submitter", this);
    auto* sl = new QVBoxLayout(subBox);
    NBInfoSubmitter = new QStackedWidget(subBox);
    InfoGridSubmitter = makeGrid(NBInfoSubmitter, GeneralInfo::kSubmitterRows, "Info", "Description", 70, 200);
    NBInfoSubmitter->addWidget(InfoGridSubmitter);
    NBInfoSubmitter->addWidget(memSubmitterInformation = readOnlyMemo(NBInfoSubmitter));
    sl->addWidget(NBInfoSubmitter);
    auto* statsBox = new QGroupBox("Statistics", this);
    auto* stl = new QVBoxLayout(statsBox);
    InfoGridStats = makeGrid(statsBox, GeneralInfo::kStatsRows, "Stats", "Description", 70, 200);
    stl->addWidget(InfoGridStats);
    right->addWidget(subBox);
    right->addWidget(statsBox);

    row->addWidget(headerBox, 3);
    row->addLayout(right, 2);

    for (int r = 1; r <= GeneralInfo::kSubmitterRows; ++r)
        setCell(InfoGridSubmitter, r, 0, toQ(GeneralInfo::SubmitterTitle(r, 0)));
    for (int r = 1; r <= GeneralInfo::kStatsRows; ++r) setCell(InfoGridStats, r, 0, GeneralInfo::StatsTitle(r));
    ApplyGridFont(8, 14);
}

void TGeneralView::setCell(QTableWidget* grid, int row, int column, const QString& text) {
    // Grid rows count the title row: row 1 is the first data row.
    QTableWidgetItem* item = grid->item(row - 1, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row - 1, column, item);
    }
    item->setText(text);
    item->setData(kTabStopsRole, QVariant());
}

void TGeneralView::SetCollection(WABSCollection* collection) {
    TViewPage::SetCollection(collection);
    FHeaderEntries.clear();
    if (!collection) SetLoadTime({});
}

void TGeneralView::SetLoadTime(const std::string& text) { setCell(InfoGridStats, 4, 1, toQ(text)); }

void TGeneralView::SetShowRaw(bool raw) {
    NBInfoHeader->setCurrentIndex(raw ? 1 : 0);
    NBInfoSubmitter->setCurrentIndex(raw ? 1 : 0);
}

void TGeneralView::fillHeaderGrid() {
    const int n = int(FHeaderEntries.size());
    InfoGridHeader->setRowCount(n);
    for (int r = 1; r <= n; ++r) {
        const HeaderEntry& e = FHeaderEntries[size_t(r - 1)];
        setCell(InfoGridHeader, r, 0, toQ(e.Label));
        setCell(InfoGridHeader, r, 1, toQ(e.Value));
        const std::vector<int> stops = GeneralInfo::ParseTabStops(e.TabStops);
        if (!e.TabStops.empty() && !stops.empty())
            InfoGridHeader->item(r - 1, 1)->setData(kTabStopsRole,
                                                    QVariant::fromValue(QList<int>(stops.begin(), stops.end())));
    }
}

void TGeneralView::Fill(std::int32_t) {
    WABSCollection* col = FCollection;
    if (!col) {
        for (int r = 1; r <= GeneralInfo::kSubmitterRows; ++r) setCell(InfoGridSubmitter, r, 1, {});
        for (int r = 1; r <= GeneralInfo::kStatsRows; ++r) setCell(InfoGridStats, r, 1, {});
        FHeaderEntries.clear();
        InfoGridHeader->setRowCount(1);
        setCell(InfoGridHeader, 1, 0, {});
        setCell(InfoGridHeader, 1, 1, {});
        memHeaderInformation->clear();
        memSubmitterInformation->clear();
    } else {
        if (NBInfoHeader->currentIndex() == 0) {
            FHeaderEntries = GeneralInfo::HeaderEntries(*col);
            fillHeaderGrid();
        } else {
            memHeaderInformation->setPlainText(ViewCommon::MemoText(col->GetHeaderText()));
            memHeaderInformation->moveCursor(QTextCursor::Start);
        }
        if (NBInfoSubmitter->currentIndex() == 0) {
            std::array<std::string, GeneralInfo::kSubmitterRows> values;
            GeneralInfo::SubmitterValues(*col, values);
            for (int r = 1; r <= GeneralInfo::kSubmitterRows; ++r)
                setCell(InfoGridSubmitter, r, 1, toQ(values[size_t(r - 1)]));
            setCell(InfoGridSubmitter, 5, 0, toQ(GeneralInfo::SubmitterTitle(5, col->GetFileKind())));
        } else {
            memSubmitterInformation->setPlainText(ViewCommon::MemoText(GeneralInfo::SubmitterRecordText(*col)));
            memSubmitterInformation->moveCursor(QTextCursor::Start);
        }
        const auto stats = GeneralInfo::StatsValues(*col);
        for (int r : {2, 3, 5, 6, 7, 8}) setCell(InfoGridStats, r, 1, toQ(stats[size_t(r - 1)]));
    }
    QuickHelp::Show(QuickHelp::General);
}

void TGeneralView::ApplyGridFont(int fontSize, int rowHeight) {
    QFont f("Arial");
    f.setPointSize(std::max(fontSize, 1));
    for (QTableWidget* g : {InfoGridHeader, InfoGridSubmitter, InfoGridStats}) {
        g->setFont(f);
        g->horizontalHeader()->setFont(f);
        g->verticalHeader()->setDefaultSectionSize(std::max(rowHeight, 6) + 2);
        g->horizontalHeader()->setFixedHeight(std::max(rowHeight, 6) + 2);
    }
}

std::optional<std::string> TGeneralView::CopyText() {
    if (!FCollection) return std::nullopt;
    return ClipText::GeneralViewText(*FCollection, FFileName, ShowsHeaderGrid());
}

bool TGeneralView::ShowsHeaderGrid() const { return NBInfoHeader->currentIndex() == 0; }
