#include "app/ui/IndividualView.h"

#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/ClipboardText.h"
#include "app/QuickHelp.h"
#include "app/ui/LongTextMemo.h"
#include "app/ui/ViewCommon.h"
#include "app/ui/ViewGrid.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "platform/ui/QtText.h"
#include "reports/ReportFactory.h"

std::vector<TViewTab> TIndividualView::Tabs() const {
    return {{.Page = pgIndividual,
             .Caption = "Individual",
             .MenuCaption = "Individual Tab",
             .Shortcut = Qt::Key_F3,
             .ReportPage = rpIndividual}};
}

TIndividualView::TIndividualView(QWidget* parent) : TViewPage(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    NBIndividual = new QStackedWidget(this);
    outer->addWidget(NBIndividual);
    auto* info = new QWidget;
    auto* v = new QVBoxLayout(info);
    v->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Sex:", info));
    top->addWidget(labTopInfoSex = new QLabel(info));
    labTopInfoSex->setMinimumWidth(16);
    top->addSpacing(20);
    top->addWidget(new QLabel("Last Modified:", info));
    top->addWidget(labTopInfoModify = new QLabel(info));
    labTopInfoModify->setTextFormat(Qt::PlainText); // the file's own date text
    top->addStretch();
    cbTopInfo = new QCheckBox("Chronological", info);
    cbTopInfo->setChecked(WOptions::GetBool(opt::Chrono));
    connect(cbTopInfo, &QCheckBox::toggled, this, [this](bool on) {
        WOptions::SetBool(opt::Chrono, on);
        Fill(FCurrent);
    });
    top->addWidget(cbTopInfo);
    v->addLayout(top);

    gridIndividual = new QTableWidget(2, 6, info);
    SetupViewGrid(gridIndividual);
    gridIndividual->setHorizontalHeaderLabels({"N", "S", "Type", "Date", "Information", "Age"});
    const int widths[] = {14, 14, 130, 80, 400, 30};
    for (int c = 0; c < 6; ++c) gridIndividual->setColumnWidth(c, widths[c]);
    gridIndividual->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    gridIndividual->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(gridIndividual, &QTableWidget::currentCellChanged, this, [this](int row, int, int prev, int) {
        if (row != prev && row >= 0) {
            FRow = row + 1;
            ShowRow(FRow);
        }
    });
    connect(gridIndividual, &QTableWidget::cellDoubleClicked, this, [this] { GridDblClick(); });
    v->addWidget(gridIndividual, 3);

    auto* boxes = new QHBoxLayout;
    auto* gbIndNotes = new QGroupBox("Notes", info);
    auto* nl = new QVBoxLayout(gbIndNotes);
    nl->addWidget(memIndNotes = new TLongTextMemo(gbIndNotes));
    auto* gbIndSource = new QGroupBox("Sources", info);
    auto* sl = new QVBoxLayout(gbIndSource);
    sl->addWidget(memIndSources = new TLongTextMemo(gbIndSource));
    boxes->addWidget(gbIndNotes);
    boxes->addWidget(gbIndSource);
    v->addLayout(boxes, 1);
    NBIndividual->addWidget(info);
    NBIndividual->addWidget(memIndividual = new TLongTextMemo(NBIndividual));
}

void TIndividualView::SetCollection(WABSCollection* collection) {
    FRow = 1;
    FRows.clear();
    TViewPage::SetCollection(collection);
}

void TIndividualView::SetShowRaw(bool raw) { NBIndividual->setCurrentIndex(raw ? 1 : 0); }

void TIndividualView::ApplyGridFont(int fontSize, int rowHeight) {
    QFont f("Arial");
    f.setPointSize(fontSize);
    gridIndividual->setFont(f);
    gridIndividual->verticalHeader()->setDefaultSectionSize(std::max(rowHeight, 8));
    gridIndividual->verticalHeader()->setMinimumSectionSize(8);
    memIndNotes->setFont(f);
    memIndSources->setFont(f);
}

void TIndividualView::Fill(std::int32_t current) {
    FCurrent = current;
    WABSCollection* col = FCollection;
    const QSignalBlocker block(gridIndividual);
    if (!col || current < 1) {
        FRows.clear();
        gridIndividual->clearContents();
        gridIndividual->setRowCount(2);
        memIndNotes->clear();
        memIndSources->clear();
        return;
    }
    auto ind = col->GetIndividual(current);
    if (NBIndividual->currentIndex() == 0) {
        FillIndividualGrid(col, FHighlighter, false, current, FRows);
        const char sex = ind ? ind->GetSex() : 'U';
        labTopInfoSex->setText((sex == 'F' || sex == 'f') ? "F" : (sex == 'M' || sex == 'm') ? "M" : "U");
        labTopInfoModify->setText(ind ? toQ(ind->GetChangeDateText()) : QString());
        const int n = int(FRows.size());
        gridIndividual->clearContents();
        gridIndividual->setRowCount(std::max(2, n + 1));
        for (int r = 0; r < n; ++r) {
            const IndRow& row = FRows[size_t(r)];
            const QString cells[] = {row.Notes.empty() ? "" : "N",
                                     row.Sources.empty() ? "" : "S",
                                     toQ(row.Type),
                                     toQ(row.Date),
                                     toQ(row.Info),
                                     toQ(row.Age)};
            for (int c = 0; c < 6; ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                if (c == 4) {
                    item->setBackground(toQColor(row.Back));
                    item->setForeground(toQColor(row.Font));
                }
                gridIndividual->setItem(r, c, item);
            }
        }
        if (n < FRow) {
            FRow = std::max(n, 1);
            gridIndividual->setCurrentCell(0, 0);
        } else {
            gridIndividual->setCurrentCell(FRow - 1, 0);
        }
        ShowRow(FRow);
        QuickHelp::Show(QuickHelp::Individual);
    } else if (ind) {
        memIndividual->SetLongText(ind->GetRecordText());
        QPalette p = memIndividual->palette();
        p.setColor(QPalette::Base, ViewCommon::HighlightBackColor(FHighlighter, current));
        p.setColor(QPalette::Text, ViewCommon::HighlightFontColor(FHighlighter, current));
        memIndividual->setPalette(p);
    }
}

void TIndividualView::ShowRow(int row) {
    memIndNotes->clear();
    memIndSources->clear();
    if (row < 1 || row > int(FRows.size())) return;
    memIndSources->SetLongText(FRows[size_t(row - 1)].Sources);
    memIndNotes->SetLongText(FRows[size_t(row - 1)].Notes);
}

void TIndividualView::GridDblClick() {
    if (FRow >= 1 && FRow <= int(FRows.size())) {
        const std::int32_t target = FRows[size_t(FRow - 1)].Target;
        if (target != 0) emit individualChosen(target);
    }
}

std::optional<std::string> TIndividualView::CopyText() {
    if (!FCollection) return std::nullopt;
    return ClipText::IndividualViewText(*FCollection, FHighlighter, FCurrent, NBIndividual->currentIndex() == 1);
}
