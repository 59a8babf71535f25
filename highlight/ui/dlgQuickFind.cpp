#include "highlight/ui/dlgQuickFind.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QVBoxLayout>

#include "highlight/ui/FindDlg.h"
#include "highlight/ui/SelectionButton.h"
#include "model/ABSCollection.h"
#include "model/ui/IndInfoPanel.h"
#include "platform/ui/QtText.h"

TdlgQuickFind::TdlgQuickFind(QWidget* owner, const WFindContext& context, WABSHighLighter* highlighter)
    : QDialog(owner), FContext(context), FHighlighter(highlighter), FLogic(context.Collection) {
    setWindowTitle("Quick Find");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    edSearch = new QLineEdit(this);
    edSearch->setMaxLength(9);
    // Pasted text that is not a number is refused as well as typed text.
    edSearch->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), edSearch));
    edSearch->installEventFilter(this);
    sbScrollBar = new QScrollBar(Qt::Horizontal, this);
    sbScrollBar->setRange(1, std::max(1, FLogic.Count()));
    sbScrollBar->setPageStep(FLogic.PageStep());
    labIndCount = new QLabel(toQ(std::to_string(FLogic.Count())), this);
    labSelected = new QLabel(this);
    iiSelected = new TIndInfoPanel(this);
    iiSelected->setMinimumSize(360, 60);
    butFather = new QPushButton("Father", this);
    butMother = new QPushButton("Mother", this);
    selSpouses = new WSelectionButton(this);
    selSpouses->setText("Spouse(s)");
    selSpouses->setToolButtonStyle(Qt::ToolButtonTextOnly);
    selSpouses->setMinimumWidth(75);
    butAdvancedFind = new QPushButton("Advanced Find", this);
    butOK = new QPushButton("OK", this);
    butOK->setDefault(true);
    butCancel = new QPushButton("Cancel", this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Individual #:", this));
    top->addWidget(edSearch, 1);
    top->addWidget(new QLabel("of", this));
    top->addWidget(labIndCount);
    auto* nav = new QHBoxLayout;
    nav->addWidget(butFather);
    nav->addWidget(butMother);
    nav->addWidget(selSpouses);
    nav->addStretch(1);
    nav->addWidget(labSelected);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(butAdvancedFind);
    bottom->addStretch(1);
    bottom->addWidget(butOK);
    bottom->addWidget(butCancel);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(sbScrollBar);
    v->addWidget(iiSelected);
    v->addLayout(nav);
    v->addLayout(bottom);

    connect(edSearch, &QLineEdit::textChanged, this, [this] { edSearchChange(); });
    connect(sbScrollBar, &QScrollBar::valueChanged, this, &TdlgQuickFind::sbScrollBarChange);
    connect(butFather, &QPushButton::clicked, this, &TdlgQuickFind::butFatherClick);
    connect(butMother, &QPushButton::clicked, this, &TdlgQuickFind::butMotherClick);
    connect(selSpouses, &WSelectionButton::OnBeforeShow, this, &TdlgQuickFind::selSpousesBeforeShow);
    connect(selSpouses, &WSelectionButton::OnItemChange, this, &TdlgQuickFind::selSpousesItemChange);
    connect(butAdvancedFind, &QPushButton::clicked, this, &TdlgQuickFind::butAdvancedFindClick);
    connect(butOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);

    edSearch->setFocus();
    ShowSelected();
}

TdlgQuickFind::~TdlgQuickFind() = default;

void TdlgQuickFind::SetSelected(std::int32_t individual) {
    FLogic.SetCurrent(individual >= 0 && individual <= FLogic.Count() ? individual : 0);
    ShowSelected();
}

void TdlgQuickFind::EnableControls(bool on) {
    for (QWidget* w :
         {static_cast<QWidget*>(butFather), static_cast<QWidget*>(butMother), static_cast<QWidget*>(selSpouses),
          static_cast<QWidget*>(sbScrollBar), static_cast<QWidget*>(butAdvancedFind), static_cast<QWidget*>(butOK)})
        w->setEnabled(on);
    labSelected->setVisible(on);
}

void TdlgQuickFind::ShowSelected() {
    const std::int32_t cur = FLogic.Current();
    const bool has = cur > 0 && FContext.Collection;
    if (has) iiSelected->Clear();
    EnableControls(has);
    if (!has) return;
    FUpdating = true;
    labSelected->setText(toQ(std::to_string(cur)));
    sbScrollBar->setValue(cur);
    if (edSearch->text() != toQ(std::to_string(cur))) edSearch->setText(toQ(std::to_string(cur)));
    ShowIndividualPanel(iiSelected, DescribeIndividual(FContext.Collection, FHighlighter, cur));
    butFather->setEnabled(FContext.Collection->GetFather(cur) != 0);
    butMother->setEnabled(FContext.Collection->GetMother(cur) != 0);
    selSpouses->setEnabled(FContext.Collection->HasChildren(cur) || SpouseFamilyCount(FContext.Collection, cur) > 0);
    FUpdating = false;
}

void TdlgQuickFind::MakeCurrent(std::int32_t individual) {
    FLogic.SetCurrent(individual);
    ShowSelected();
}

void TdlgQuickFind::edSearchChange() {
    if (FUpdating) return;
    if (FLogic.TextChanged(fromQ(edSearch->text())))
        ShowSelected();
    else
        EnableControls(false);
}

bool TdlgQuickFind::edSearchKeyDown(int key) {
    const std::string text = fromQ(edSearch->text());
    bool changed = false;
    switch (key) {
    case Qt::Key_Up: changed = FLogic.StepUp(text, 1); break;
    case Qt::Key_PageUp: changed = FLogic.StepUp(text, FLogic.PageStep()); break;
    case Qt::Key_Down: changed = FLogic.StepDown(text, 1); break;
    case Qt::Key_PageDown: changed = FLogic.StepDown(text, FLogic.PageStep()); break;
    default: return false;
    }
    if (changed) {
        ShowSelected();
        edSearch->setFocus();
    }
    return true;
}

bool TdlgQuickFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edSearch && event->type() == QEvent::KeyPress)
        if (edSearchKeyDown(static_cast<QKeyEvent*>(event)->key())) return true;
    return QDialog::eventFilter(watched, event);
}

void TdlgQuickFind::sbScrollBarChange(int value) {
    if (FUpdating) return;
    MakeCurrent(value);
}

void TdlgQuickFind::butFatherClick() {
    if (!FContext.Collection) return;
    const std::int32_t f = FContext.Collection->GetFather(FLogic.Current());
    if (f) MakeCurrent(f);
}

void TdlgQuickFind::butMotherClick() {
    if (!FContext.Collection) return;
    const std::int32_t m = FContext.Collection->GetMother(FLogic.Current());
    if (m) MakeCurrent(m);
}

void TdlgQuickFind::selSpousesBeforeShow() {
    FEntries = FLogic.SpouseEntries(FLogic.Current());
    std::vector<WSelectionButton::Item> items;
    items.reserve(FEntries.size());
    for (const auto& e : FEntries) items.push_back({e.text, false});
    selSpouses->SetItems(items);
}

void TdlgQuickFind::selSpousesItemChange() {
    const int k = selSpouses->ItemSelected();
    if (k >= 1 && std::size_t(k) <= FEntries.size() && FEntries[std::size_t(k - 1)].individual != 0)
        MakeCurrent(FEntries[std::size_t(k - 1)].individual);
}

void TdlgQuickFind::butAdvancedFindClick() {
    TWFindDlg dlg(this, FContext, FHighlighter);
    dlg.SetSelected(FLogic.Current());
    if (dlg.exec() == QDialog::Accepted) {
        MakeCurrent(dlg.GetSelected());
        accept();
    }
}
