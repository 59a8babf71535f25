#include "app/ui/FamilyView.h"

#include <algorithm>
#include <exception>

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

#include "app/ClipboardText.h"
#include "app/QuickHelp.h"
#include "app/ui/ViewGrid.h"
#include "model/Global.h"
#include "model/Options.h"
#include "model/ui/IndInfoPanel.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "reports/ReportFactory.h"

namespace {

constexpr int kGridColumns = 6;
constexpr int kMinGridRows = 30;

plat::ColorRef buttonFace() { return fromQColor(QApplication::palette().color(QPalette::Button)); }

QString hintText(const std::string& s) {
    QString t = toQ(s);
    t.replace("\r\n", "\n");
    return t;
}

} // namespace

void ShowPersonPanel(const PersonPanelInfo& info, TIndInfoPanel* panel) {
    panel->UseLDS = info.UseLDS;
    panel->setToolTip(QString());
    if (info.Individual == 0) {
        panel->Clear();
        panel->SetColor(buttonFace());
        panel->SetFontColor(plat::kBlack);
        panel->IndividualNumber = 0;
        return;
    }
    panel->SetColor(info.Back);
    panel->SetFontColor(info.Font);
    panel->LDSBap = info.LDSBap;
    panel->LDSEnd = info.LDSEnd;
    panel->LDSSP = info.LDSSP;
    panel->LDSSS = info.LDSSS;
    panel->SetNameString(info.Name);
    panel->SetBirthString(info.Birth);
    panel->SetDeathString(info.Death);
    if (!info.Hint.empty()) panel->setToolTip(plainToolTip(hintText(info.Hint)));
    panel->IndividualNumber = info.Individual;
}

std::vector<TViewTab> TFamilyView::Tabs() const {
    return {{.Page = pgFamily,
             .Caption = "Family",
             .MenuCaption = "Family Tab",
             .Shortcut = Qt::Key_F4,
             .ReportPage = rpFamily}};
}

TFamilyView::TFamilyView(QWidget* parent) : TViewPage(parent) {
    labActive = new QLabel("Active Individual:", this);
    labFamSpouse = new QLabel("Spouse:", this);
    labFGMarriageInfo = new QLabel(this);
    labFGMarriageInfo->setTextFormat(Qt::PlainText); // date and place as the file writes them
    labMultipleMarriages = new QLabel(this);
    butFGMarriages = new QToolButton(this);
    butFGMarriages->setText(">>");
    butFGMarriages->setToolTip("Next Spouse");
    butFGMarriages->hide();
    connect(butFGMarriages, &QToolButton::clicked, this, [this] { butFGMarriagesClick(); });

    for (auto*& p : FPanels) {
        p = new TIndInfoPanel(this);
        p->installEventFilter(this);
    }
    for (std::size_t k = 0; k < FGPlus.size(); ++k) {
        QToolButton* b = FGPlus[k] = new QToolButton(this);
        b->setText("+");
        b->hide();
        // The buttons move to the person of the panel beside them.
        const FamilyPanel beside[4] = {fpFather1, fpMother1, fpFather2, fpMother2};
        TIndInfoPanel* panel = FPanels[std::size_t(beside[k])];
        connect(b, &QToolButton::clicked, this, [this, panel] {
            if (panel->IndividualNumber != 0) emit individualChosen(panel->IndividualNumber);
        });
    }

    bevFG1 = new QFrame(this);
    bevFG1->setFrameShape(QFrame::HLine);
    bevFG1->setFrameShadow(QFrame::Sunken);
    bevFG2 = new QFrame(this);
    bevFG2->setFrameShape(QFrame::HLine);
    bevFG2->setFrameShadow(QFrame::Sunken);

    FamilyGroupGrid = new QTableWidget(kMinGridRows, kGridColumns, this);
    SetupViewGrid(FamilyGroupGrid);
    QFont f("Arial");
    f.setPointSize(8);
    FamilyGroupGrid->setFont(f);
    connect(FamilyGroupGrid, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int column) { FamilyGroupGridDblClick(row, column); });
    SetColumnTitles();
    LoadColumnWidths();

    for (TIndInfoPanel* p : FPanels) ShowPersonPanel(PersonPanelInfo{}, p);
    resize(640, 480);
    const int size = WOptions::GetInt(opt::FontSize);
    int rowHeight = WOptions::GetInt(opt::GridHeight);
    if (rowHeight < 1) rowHeight = 14;
    if (Global::IsLargeFonts()) rowHeight = int(rowHeight * 1.25);
    ApplyGridFont(size > 0 ? size : 8, rowHeight);
}

void TFamilyView::SetCollection(WABSCollection* collection) {
    TViewPage::SetCollection(collection);
    // Nothing of the previous file is kept: no subject, the grid empty and unselected.
    FSubject.Clear();
    butFGMarriages->hide();
    ShowFamily();
    FamilyGroupGrid->setCurrentCell(-1, -1);
}

void TFamilyView::SetHighLighter(WABSHighLighter* highlighter) {
    TViewPage::SetHighLighter(highlighter);
    ShowFamily();
}

void TFamilyView::Fill(std::int32_t current) {
    if (current < 1) return;
    if (FCollection) {
        FSubject.Take(FCollection, current);
        butFGMarriages->setVisible(FSubject.Count() >= 2);
        ShowFamily();
        QuickHelp::Show(QuickHelp::Family);
    } else {
        FSubject.Clear();
        butFGMarriages->hide();
        ShowFamily();
    }
}

void TFamilyView::RepaintView() {
    SetColumnTitles();
    ShowFamily();
}

void TFamilyView::butFGMarriagesClick() {
    if (!FCollection || FSubject.Count() < 1) return;
    FSubject.Next();
    ShowFamily();
}

void TFamilyView::ShowFamilyAt(std::int32_t index) {
    if (!FCollection || index < 1 || index > FSubject.Count() || index == FSubject.Index()) return;
    while (FSubject.Index() != index) FSubject.Next();
    ShowFamily();
}

void TFamilyView::ShowFamily() {
    try {
        ShowFamilyGroup(FCollection, FHighlighter, FSubject, FGroup);
    } catch (const std::exception& e) {
        // The rows read before the failure stay; the user is told which family failed.
        plat::showMessage(e.what());
    }
    labMultipleMarriages->setText(toQ(FGroup.MultipleMarriages));
    LayoutControls(); // the counter's width follows its text
    for (int k = 0; k < fpCount; ++k) {
        TIndInfoPanel* panel = FPanels[std::size_t(k)];
        ShowPersonPanel(
            MakePersonPanel(FCollection, FHighlighter, FGroup.Persons[std::size_t(k)], panel->LinesToShow()), panel);
    }
    for (std::size_t k = 0; k < FGPlus.size(); ++k) FGPlus[k]->setVisible(FGroup.Plus[k]);
    FillGrid();
}

void TFamilyView::FillGrid() {
    QTableWidget* g = FamilyGroupGrid;
    const QSignalBlocker block(g);
    const int n = int(FGroup.Children.size());
    g->clearContents();
    // One empty row below the last child, as the grid grows while it fills.
    g->setRowCount(std::max(kMinGridRows, n + 1));
    for (int r = 0; r < n; ++r) {
        const FamChildRow& row = FGroup.Children[std::size_t(r)];
        const QString cells[kGridColumns] = {
            row.HasChildren ? "+" : "", toQ(row.ChildName), toQ(row.Sex), toQ(row.Birth), toQ(row.Death),
            toQ(row.SpouseName)};
        for (int c = 0; c < kGridColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 1 && row.Child != 0) {
                item->setBackground(toQColor(row.ChildBack));
                item->setForeground(toQColor(row.ChildFont));
            } else if (c == 5 && row.Spouse != 0) {
                item->setBackground(toQColor(row.SpouseBack));
                item->setForeground(toQColor(row.SpouseFont));
            }
            g->setItem(r, c, item);
        }
    }
    SetColumnTitles();
    g->viewport()->update();
}

void TFamilyView::SetColumnTitles() {
    const auto titles = FamilyGridTitles(WOptions::GetBool(opt::FamBirChr), FGroup.Children.size());
    QStringList labels;
    for (const std::string& t : titles) labels << toQ(t);
    FamilyGroupGrid->setHorizontalHeaderLabels(labels);
}

void TFamilyView::LoadColumnWidths() {
    for (int c = 0; c < kGridColumns; ++c) {
        const int w = WOptions::GetInt(opt::FamCol1 + c);
        FamilyGroupGrid->setColumnWidth(c, w > 0 ? w : 10);
    }
}

void TFamilyView::SaveColumnWidths() {
    for (int c = 0; c < kGridColumns; ++c) WOptions::SetInt(opt::FamCol1 + c, FamilyGroupGrid->columnWidth(c));
}

std::optional<std::string> TFamilyView::CopyText() {
    if (!FCollection) return std::nullopt;
    return ClipText::FamilyViewText(*FCollection, FSubject);
}

void TFamilyView::RefillAfterCopy(std::int32_t current) {
    const std::int32_t family = FSubject.Index();
    Fill(current);
    ShowFamilyAt(family);
}

void TFamilyView::FamilyGroupGridDblClick(int row, int column) {
    // Rows count from 1 below the title row.
    const int famRow = row + 1;
    if (famRow < 1 || famRow > int(FGroup.Children.size())) return;
    const FamChildRow& r = FGroup.Children[std::size_t(famRow - 1)];
    std::int32_t target = 0;
    if (column == 1) target = r.Child;
    if (column == 5) target = r.Spouse;
    if (target != 0) emit individualChosen(target);
}

bool TFamilyView::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        for (TIndInfoPanel* p : FPanels)
            if (watched == p) {
                if (p->IndividualNumber != 0) emit individualChosen(p->IndividualNumber);
                return true;
            }
    }
    return TViewPage::eventFilter(watched, e);
}

void TFamilyView::ApplyGridFont(int fontSize, int rowHeight) {
    if (fontSize < 1) fontSize = 8;
    FFontSize = fontSize;
    QFont f("Arial");
    f.setPointSize(fontSize);
    FamilyGroupGrid->setFont(f);
    FamilyGroupGrid->horizontalHeader()->setFont(f);
    FamilyGroupGrid->verticalHeader()->setDefaultSectionSize(std::max(rowHeight, 8));
    for (TIndInfoPanel* p : FPanels) p->SetFontSize(fontSize);
    QFont lf = font();
    lf.setPointSize(fontSize);
    for (QLabel* l : {labActive, labFamSpouse, labFGMarriageInfo, labMultipleMarriages}) l->setFont(lf);
    LayoutControls();
}

void TFamilyView::resizeEvent(QResizeEvent* e) {
    TViewPage::resizeEvent(e);
    LayoutControls();
}

void TFamilyView::LayoutControls() {
    const int F = FFontSize;
    const int d = F - 8;
    const int W = width();
    const int margin = 8;
    // Left column: the subject, the family's date and place and the spouse;
    // right column: the two pairs of parents with their "+" buttons.
    const int leftWidth = std::max(120, (W - 3 * margin) * 45 / 100);
    const int plusSize = std::max(14, F + 8);
    const int rightLeft = margin + leftWidth + 2 * margin;
    const int rightWidth = std::max(80, W - rightLeft - plusSize - 2 * margin);
    const int lineH = 2 * d + 13;

    TIndInfoPanel* subject = FPanels[fpSubject];
    const int mother1Top = 3 * d + 50;
    const int subjectTop = std::max(lineH + 4, mother1Top - subject->height() / 2);
    labActive->setGeometry(margin, subjectTop - lineH - 2, leftWidth, lineH);
    subject->setGeometry(margin, subjectTop, leftWidth, subject->height());
    labFGMarriageInfo->setGeometry(margin, 4 * d + 78, leftWidth, lineH);
    // A long date and place is shortened to its column, and shown whole as a tip.
    const QString info = toQ(FGroup.MarriageInfo);
    const QString shown = labFGMarriageInfo->fontMetrics().elidedText(info, Qt::ElideRight, leftWidth);
    labFGMarriageInfo->setText(shown);
    labFGMarriageInfo->setToolTip(shown == info ? QString() : info);

    auto right = [&](FamilyPanel k, int top) {
        TIndInfoPanel* p = FPanels[std::size_t(k)];
        p->setGeometry(rightLeft, top, rightWidth, p->height());
    };
    right(fpFather1, 2);
    right(fpMother1, mother1Top);
    right(fpFather2, 6 * d + 100);
    right(fpMother2, 9 * d + 148);
    const FamilyPanel beside[4] = {fpFather1, fpMother1, fpFather2, fpMother2};
    for (std::size_t k = 0; k < 4; ++k) {
        const QRect r = FPanels[std::size_t(beside[k])]->geometry();
        FGPlus[k]->setGeometry(r.right() + 4, r.top(), plusSize, plusSize);
    }

    bevFG1->setGeometry(margin, F + 5 * d + 89, leftWidth, 2);
    const int spouseLabelTop = F + 6 * d + 101;
    const int labW = labFamSpouse->fontMetrics().horizontalAdvance("Spouse:") + 6;
    labFamSpouse->setGeometry(margin, spouseLabelTop, labW, lineH);
    // Room for the usual counts keeps the button still; a longer count widens it.
    const QFontMetrics countMetrics = labMultipleMarriages->fontMetrics();
    const int countW = std::max(countMetrics.horizontalAdvance("(88 of 88)"),
                                countMetrics.horizontalAdvance(labMultipleMarriages->text()));
    labMultipleMarriages->setGeometry(margin + labW + 4, spouseLabelTop, countW + 6, lineH);
    butFGMarriages->setGeometry(labMultipleMarriages->geometry().right() + 4, F + 6 * d + 100, 28, lineH + 2);
    TIndInfoPanel* spouse = FPanels[fpSpouse];
    spouse->setGeometry(margin, 7 * d + 125, leftWidth, spouse->height());

    const int bev2 = F + 11 * d + 187;
    bevFG2->setGeometry(0, bev2, W, 2);
    const int gridTop = F + 11 * d + 191;
    FamilyGroupGrid->setGeometry(0, gridTop, W, std::max(0, height() - gridTop));
}
