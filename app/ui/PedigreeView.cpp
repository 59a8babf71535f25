#include "app/ui/PedigreeView.h"

#include <algorithm>
#include <exception>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ClipboardText.h"
#include "app/QuickHelp.h"
#include "app/ui/FamilyView.h"
#include "model/ABSCollection.h"
#include "model/Global.h"
#include "model/Options.h"
#include "model/ui/IndInfoPanel.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "reports/ReportFactory.h"

namespace {

constexpr int kLeftPanelWidth = 190;

// Lines shown by a box: the outer generations have less room.
int linesOfBox(int k) { return k >= kPedFirstOuter ? 1 : k >= 4 ? 2 : 3; }

} // namespace

// The area under the boxes: draws the connecting lines. The boxes are laid
// out when the part of it that is seen changes size.
class TPedigreeView::PedArea : public QWidget {
public:
    PedArea(TPedigreeView* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {}

protected:
    void paintEvent(QPaintEvent*) override { m_owner->PBPedPaint(this); }

private:
    TPedigreeView* m_owner;
};

// Draws a sibling or child: "+", birth qualifier and year, given names and
// the LDS letters, in the person's highlight colours.
class TPedigreeView::ListDelegate : public QStyledItemDelegate {
public:
    ListDelegate(TPedigreeView* owner, bool children)
        : QStyledItemDelegate(owner), m_owner(owner), m_children(children) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        const int F = m_owner->FFontSize;
        int h = 2 * (F - 8) + 13;
        if (Global::IsLargeFonts()) h = int(h * 1.25);
        return {10, h};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& idx) const override {
        const TPedigreeView& v = *m_owner;
        if (!v.FTree.Filled) return;
        if (m_children && (!v.FCollection || v.panPedLeft->isHidden())) return;
        const PedListItem item = MakePedListItem(v.FCollection, v.FHighlighter, idx.data(Qt::UserRole).toInt());
        const bool large = Global::IsLargeFonts();
        const int F = v.FFontSize;
        int m = 5, w = F - 1;
        if (large) {
            m = int(m * 1.25);
            w = int(w * 1.25);
        }
        const QRect r = opt.rect;
        p->save();
        p->fillRect(r, toQColor(item.Back));
        p->setPen(toQColor(item.Font));
        p->setFont(opt.font);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        auto text = [&](int x, const std::string& s) {
            if (!s.empty()) p->drawText(QRect(r.left() + x, r.top(), r.width() - x, r.height()), flags, toQ(s));
        };
        if (item.Plus) text(2, "+");
        text(10, item.Qualifier);
        text(17, item.Year);
        text((F - 8) * 2 + 47 + (large ? F / 2 : 0), item.Given);
        if (!item.LDS.empty()) {
            // The item rectangle already ends at the scroll bar, so the area
            // needs no allowance for it.
            const int areaW = 4 * w + 2 * m;
            const QRect area(r.right() + 1 - areaW, r.top(), areaW, r.height());
            p->fillRect(area, toQColor(item.Back));
            for (int k = 0; k < 4; ++k)
                p->drawText(QRect(area.left() + m + k * w, r.top(), w, r.height()), flags,
                            QString(QChar(item.LDS[std::size_t(k)])));
        }
        if (opt.state & QStyle::State_Selected) {
            p->setPen(Qt::black);
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }

private:
    TPedigreeView* m_owner;
    bool m_children;
};

std::vector<TViewTab> TPedigreeView::Tabs() const {
    return {{.Page = pgPedigree,
             .Caption = "Pedigree",
             .MenuCaption = "Pedigree Tab",
             .Shortcut = Qt::Key_F5,
             .ReportPage = rpPedigree}};
}

TPedigreeView::TPedigreeView(QWidget* parent) : TViewPage(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    panPedLeft = new QWidget(this);
    panPedLeft->setFixedWidth(kLeftPanelWidth);
    auto* left = new QVBoxLayout(panPedLeft);
    left->setContentsMargins(4, 4, 11, 4);
    auto addList = [&](QLabel*& label, QListWidget*& list, const char* caption, bool children) {
        label = new QLabel(caption, panPedLeft);
        list = new QListWidget(panPedLeft);
        list->setItemDelegate(new ListDelegate(this, children));
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
            const std::int32_t person = item->data(Qt::UserRole).toInt();
            if (person != 0) emit individualChosen(person);
        });
        left->addWidget(label);
        left->addWidget(list, 1);
    };
    addList(PedSiblingsLab, LBPedSiblings, "Siblings", false);
    addList(PedChildrenLab, LBPedChildren, "Children", true);
    row->addWidget(panPedLeft);

    // Below the size the boxes need, the area keeps that size and scrolls.
    m_mainScroll = new QScrollArea(this);
    m_mainScroll->setFrameShape(QFrame::NoFrame);
    panPedMain = new PedArea(this, m_mainScroll);
    m_mainScroll->setWidget(panPedMain);
    m_mainScroll->viewport()->installEventFilter(this);
    row->addWidget(m_mainScroll, 1);

    sbPedLeftExpand = new QToolButton(panPedMain);
    sbPedLeftExpand->setText("<");
    sbPedLeftExpand->setToolTip("Hide the siblings and children");
    sbPedLeftExpand->setGeometry(2, 2, 16, 16);
    sbPedRightExpand = new QToolButton(panPedMain);
    sbPedRightExpand->setText(">");
    sbPedRightExpand->setToolTip("Show the siblings and children");
    sbPedRightExpand->setGeometry(2, 2, 16, 16);
    sbPedRightExpand->hide();
    connect(sbPedLeftExpand, &QToolButton::clicked, this, [this] { sbPedLeftExpandClick(); });
    connect(sbPedRightExpand, &QToolButton::clicked, this, [this] { sbPedRightExpandClick(); });

    for (int k = 1; k <= kPedBoxes; ++k) {
        TIndInfoPanel* p = iiPed[std::size_t(k)] = new TIndInfoPanel(panPedMain);
        p->SetLinesToShow(linesOfBox(k));
        p->installEventFilter(this);
    }
    iiPedSpouse = new TIndInfoPanel(panPedMain);
    iiPedSpouse->installEventFilter(this);
    butPedSpouse = new QToolButton(panPedMain);
    butPedSpouse->setText("Next Spouse");
    butPedSpouse->setToolTip("Next Spouse");
    butPedSpouse->hide();
    connect(butPedSpouse, &QToolButton::clicked, this, [this] { butPedSpouseClick(); });
    for (int i = 1; i <= 16; ++i) {
        QToolButton* b = labPedPlus[std::size_t(i)] = new QToolButton(panPedMain);
        b->setText("+");
        b->setToolTip(i <= 8 ? "Father" : "Mother");
        b->hide();
        connect(b, &QToolButton::clicked, this, [this, i] { labPedPlusClick(i); });
    }
    labPedPlus17 = new QLabel("+", panPedMain);
    labPedPlus17->setAlignment(Qt::AlignCenter);
    labPedPlus17->setFrameShape(QFrame::Box);
    labPedPlus17->hide();

    ShowPanels();
    resize(800, 520);
    const int size = WOptions::GetInt(opt::FontSize);
    ApplyGridFont(size > 0 ? size : 8, 0);
}

void TPedigreeView::SetCollection(WABSCollection* collection) {
    TViewPage::SetCollection(collection);
    // Nothing of the previous file is kept.
    FSubject.Clear();
    FTree = PedigreeTree{};
    butPedSpouse->hide();
    FillList(LBPedSiblings, {});
    FillList(LBPedChildren, {});
    PedSiblingsLab->setText("Siblings");
    PedChildrenLab->setText("Children");
    ShowPanels();
}

void TPedigreeView::SetHighLighter(WABSHighLighter* highlighter) {
    TViewPage::SetHighLighter(highlighter);
    RepaintView();
}

void TPedigreeView::Fill(std::int32_t current) {
    if (!FCollection) {
        FSubject.Clear();
        butPedSpouse->hide();
        ShowPedigree();
        return;
    }
    if (current < 1) return;
    FSubject.Take(FCollection, current);
    butPedSpouse->setVisible(FSubject.Count() >= 2);
    ShowPedigree();
    QuickHelp::Show(QuickHelp::Pedigree);
}

void TPedigreeView::RepaintView() {
    ShowPanels();
    LBPedSiblings->viewport()->update();
    LBPedChildren->viewport()->update();
}

void TPedigreeView::butPedSpouseClick() {
    if (FSubject.Count() < 1) return;
    FSubject.Next();
    ShowPedigree();
}

void TPedigreeView::ShowPedigree() {
    try {
        ShowPedigreeTree(FCollection, FSubject, FTree);
    } catch (const std::exception& e) {
        FTree.Filled = true;
        plat::showMessage(e.what());
    }
    FillList(LBPedSiblings, FTree.Siblings);
    PedSiblingsLab->setText(toQ(FTree.SiblingsLabel));
    FillList(LBPedChildren, FTree.Children);
    PedChildrenLab->setText(toQ(FTree.ChildrenLabel));
    ShowPanels();
}

std::optional<std::string> TPedigreeView::CopyText() {
    if (!FCollection) return std::nullopt;
    return ClipText::PedigreeViewText(*FCollection, FSubject);
}

void TPedigreeView::FillList(QListWidget* list, const std::vector<std::int32_t>& people) {
    list->clear();
    for (std::int32_t person : people) {
        // The text only stands in; the delegate draws the person.
        auto* item = new QListWidgetItem(QStringLiteral(" "), list);
        item->setData(Qt::UserRole, int(person));
    }
}

void TPedigreeView::ShowPanels() {
    for (int k = 1; k <= kPedBoxes; ++k) {
        TIndInfoPanel* p = iiPed[std::size_t(k)];
        ShowPersonPanel(MakePersonPanel(FCollection, FHighlighter, FTree.Ancestors[std::size_t(k)], p->LinesToShow()),
                        p);
    }
    ShowPersonPanel(MakePersonPanel(FCollection, FHighlighter, FTree.Spouse, iiPedSpouse->LinesToShow()), iiPedSpouse);
    for (int i = 1; i <= 16; ++i) labPedPlus[std::size_t(i)]->setVisible(FTree.Plus[std::size_t(i)]);
    labPedPlus17->setVisible(FTree.Plus[17]);
    // The spouse's box follows the length of the name.
    panPedMainResize();
}

void TPedigreeView::labPedPlusClick(int i) {
    if (!FCollection) return;
    const std::int32_t subject = FSubject.Subject();
    const std::int32_t target = i <= 8 ? FCollection->GetFather(subject) : FCollection->GetMother(subject);
    if (target != 0) emit individualChosen(target);
}

void TPedigreeView::sbPedLeftExpandClick() {
    sbPedRightExpand->show();
    sbPedLeftExpand->hide();
    panPedLeft->setVisible(!panPedLeft->isVisibleTo(this));
}

void TPedigreeView::sbPedRightExpandClick() {
    sbPedLeftExpand->show();
    sbPedRightExpand->hide();
    panPedLeft->setVisible(!panPedLeft->isVisibleTo(this));
}

bool TPedigreeView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_mainScroll->viewport() && e->type() == QEvent::Resize) panPedMainResize();
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (auto* p = qobject_cast<TIndInfoPanel*>(watched)) {
            if (p->IndividualNumber != 0) emit individualChosen(p->IndividualNumber);
            return true;
        }
    }
    return TViewPage::eventFilter(watched, e);
}

void TPedigreeView::ApplyGridFont(int fontSize, int rowHeight) {
    (void)rowHeight;
    if (fontSize < 1) fontSize = 8;
    FFontSize = fontSize;
    for (int k = 1; k <= kPedBoxes; ++k) iiPed[std::size_t(k)]->SetFontSize(fontSize);
    iiPedSpouse->SetFontSize(fontSize);
    QFont f = font();
    f.setPointSize(fontSize);
    PedSiblingsLab->setFont(f);
    PedChildrenLab->setFont(f);
    // The list columns are placed for Arial's widths.
    QFont listFont("Arial");
    listFont.setPointSize(fontSize);
    LBPedSiblings->setFont(listFont);
    LBPedChildren->setFont(listFont);
    // The item height follows the font: make the lists ask their delegates again.
    for (QListWidget* list : {LBPedSiblings, LBPedChildren}) list->doItemsLayout();
    panPedMainResize();
}

void TPedigreeView::panPedMainResize() {
    std::array<int, kPedBoxes + 1> heights{};
    for (int k = 1; k <= kPedBoxes; ++k) heights[std::size_t(k)] = iiPed[std::size_t(k)]->height();
    const int buttonH = butPedSpouse->sizeHint().height();
    const int buttonW = butPedSpouse->isHidden() ? 0 : butPedSpouse->sizeHint().width();
    const QSize seen = m_mainScroll->viewport()->size();
    const PedigreeLayout l = LayoutPedigree(std::max(seen.width(), kPedLeastWidth), seen.height(), heights,
                                            iiPedSpouse->height(), buttonH, iiPedSpouse->NameFitWidth(), buttonW);
    if (!l.Valid) return;
    if (panPedMain->size() != QSize(l.Width, l.Height)) {
        panPedMain->resize(l.Width, l.Height);
        // Scroll bars that came or went have changed the part seen, and the
        // boxes have been laid out again for it.
        if (m_mainScroll->viewport()->size() != seen) return;
    }
    FLayout = l;
    for (int k = 1; k <= kPedBoxes; ++k) {
        const PedBox& b = l.Boxes[std::size_t(k)];
        iiPed[std::size_t(k)]->setGeometry(b.Left, b.Top, b.Width, b.Height);
    }
    iiPedSpouse->setGeometry(l.Spouse.Left, l.Spouse.Top, l.Spouse.Width, l.Spouse.Height);
    butPedSpouse->setGeometry(l.ButtonLeft, l.ButtonTop, butPedSpouse->sizeHint().width(), buttonH);
    const int plusH = heights[kPedFirstOuter];
    for (int i = 1; i <= 16; ++i) {
        const auto& at = l.PlusAt[std::size_t(i)];
        labPedPlus[std::size_t(i)]->setGeometry(at[0], at[1], kPedPlusWidth, plusH);
    }
    labPedPlus17->setGeometry(l.PlusAt[17][0], l.PlusAt[17][1], kPedPlusWidth, kPedPlusWidth);
    panPedMain->update();
}

void TPedigreeView::PBPedPaint(QWidget* target) {
    QPainter p(target);
    p.setPen(Qt::black);
    for (const PedLine& line : PedigreeLines(FLayout)) p.drawLine(line.X1, line.Y1, line.X2, line.Y2);
}
