#include "highlight/ui/HLGuiMan.h"

#include <QComboBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include "highlight/HLString.h"
#include "highlight/HLTable.h"
#include "highlight/OptionText.h"
#include "highlight/ui/HLOptions.h"
#include "model/Global.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"

namespace {

// A row's condition box starts after its sign button.
constexpr int kConditionLeft = 18;

int scrollBarWidth() { return Global::IsLargeFonts() ? 22 : 18; }

} // namespace

// --- WHLGuiCond ---

WHLGuiCond::WHLGuiCond(QWidget* owner, const std::vector<int>* conditionIds) : QFrame(owner), FIds(conditionIds) {
    setFrameShape(QFrame::NoFrame);
    resize(200, WHLGuiMan::RowHeight());
    butSign = new QToolButton(this);
    butSign->setAutoRaise(true);
    butSign->setFocusPolicy(Qt::NoFocus);
    butSign->setGeometry(2, 5, 16, 17);
    QFont f = butSign->font();
    f.setPointSize(12);
    f.setBold(true);
    butSign->setFont(f);
    cbCondition = new QComboBox(this);
    cbCondition->setMaxVisibleItems(20);
    cbCondition->move(kConditionLeft, 3);
    connect(butSign, &QToolButton::clicked, this, &WHLGuiCond::SignClick);
    connect(cbCondition, &QComboBox::activated, this, &WHLGuiCond::ConditionChange);
    FillConditionNames();
    cbCondition->setCurrentIndex(0);
    UpdateSign();
}

void WHLGuiCond::FillConditionNames() {
    const int pos = cbCondition->currentIndex();
    const QSignalBlocker block(cbCondition);
    cbCondition->clear();
    for (int id : *FIds) cbCondition->addItem(toQ(HLConditions::GetConditionText(id, FNegated)));
    cbCondition->setCurrentIndex(pos < 0 ? 0 : pos);
}

void WHLGuiCond::UpdateSign() {
    butSign->setText(FNegated ? "-" : "+");
    FillConditionNames();
}

int WHLGuiCond::Code() const {
    const int k = cbCondition->currentIndex();
    return k >= 0 && std::size_t(k) < FIds->size() ? (*FIds)[std::size_t(k)] : HLConditions::kEmptyCode;
}

void WHLGuiCond::SignClick() {
    FNegated = !FNegated;
    UpdateSign();
    emit OnChange();
}

void WHLGuiCond::ConditionChange() {
    BuildOptionEditor(Code());
    emit OnChange();
}

void WHLGuiCond::BuildOptionEditor(int code) {
    FOptionCount = HLConditions::GetParamFlag(code);
    delete FEditor;
    FEditor = nullptr;
    if (FOptionCount == 1) {
        FEditor = CreateOptionEditor(HLConditions::GetFieldInt(code, 1), this, HLOptText::EditorDescriptor(code));
        if (FEditor) {
            FEditor->setGeometry(cbCondition->x(), cbCondition->geometry().bottom() + 3, cbCondition->width(), 22);
            FEditor->show();
            connect(FEditor, &WHLABSOption::OnChange, this, [this] { emit OnChange(); });
            FEditor->SetFindContext(FContext);
        }
    }
}

std::string WHLGuiCond::GetHLCondStr() const {
    return HLOptText::CondText(FNegated, Code(), FEditor != nullptr, FEditor ? FEditor->GetHLString() : "");
}

void WHLGuiCond::SetHLCondStr(const std::string& s) {
    if (s.empty()) {
        cbCondition->setCurrentIndex(0);
        BuildOptionEditor(HLConditions::kEmptyCode);
        return;
    }
    FNegated = s[0] == '-';
    UpdateSign();
    const std::string field = s.substr(0, s.find(':'));
    const int code = std::abs(HLStrToInt(field));
    int pos = 0;
    for (std::size_t k = 0; k < FIds->size(); ++k)
        if ((*FIds)[k] == code) {
            pos = int(k);
            break;
        }
    cbCondition->setCurrentIndex(pos);
    BuildOptionEditor((*FIds)[std::size_t(pos)] == code ? code : HLConditions::kEmptyCode);
}

void WHLGuiCond::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    cbCondition->resize(std::max(20, width() - 4 - cbCondition->x()), cbCondition->sizeHint().height());
    if (FEditor) FEditor->setGeometry(cbCondition->x(), cbCondition->geometry().bottom() + 3, cbCondition->width(), 22);
}

// --- WHLGuiBool ---

WHLGuiBool::WHLGuiBool(QWidget* owner) : QFrame(owner) {
    setFrameShape(QFrame::NoFrame);
    resize(200, WHLGuiMan::BoolHeight());
    butBool = new QToolButton(this);
    butBool->setAutoRaise(true);
    butBool->setFocusPolicy(Qt::NoFocus);
    butBool->setText("And");
    butBool->setGeometry(width() / 2 - 17, 1, 35, 18);
    FLeft = new QFrame(this);
    FRight = new QFrame(this);
    for (QFrame* l : {FLeft, FRight}) {
        l->setFrameShape(QFrame::HLine);
        l->setFrameShadow(QFrame::Sunken);
    }
    connect(butBool, &QToolButton::clicked, this, &WHLGuiBool::ButtonClick);
}

void WHLGuiBool::SetBoolValue(bool b) {
    FValue = b;
    butBool->setText(b ? "And" : "Or");
}

void WHLGuiBool::ButtonClick() {
    SetBoolValue(!FValue);
    emit OnChange();
}

void WHLGuiBool::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    const int bl = width() / 2 - 17;
    butBool->move(bl, (height() - butBool->height()) / 2);
    const int w = std::max(1, bl - 4 - 3);
    FLeft->setGeometry(3, height() / 2 - 1, w, 2);
    FRight->setGeometry(bl + 35 + 4, height() / 2 - 1, w, 2);
}

// --- WHLGuiMan ---

int WHLGuiMan::RowHeight() { return Global::IsLargeFonts() ? 56 : 50; }
int WHLGuiMan::BoolHeight() { return Global::IsLargeFonts() ? 24 : 20; }

WHLGuiMan::WHLGuiMan(QWidget* owner) : QFrame(owner) { setFrameShape(QFrame::NoFrame); }

WHLGuiMan::~WHLGuiMan() = default;

void WHLGuiMan::CreateControls() {
    FButtonBar = new QWidget(this);
    FButtonBar->setObjectName("ButtonBar");
    FButtonBar->setGeometry(0, 0, width(), 24);
    butAdd = new QPushButton("Add", FButtonBar);
    butAdd->setGeometry(3, 3, 45, 19);
    butDelete = new QPushButton("Delete", FButtonBar);
    butDelete->setGeometry(50, 3, 45, 19);
    butApply = new QPushButton("Apply", FButtonBar);
    butApply->setGeometry(97, 3, 45, 19);
    ScrollBox = new QScrollArea(this);
    ScrollBox->setFrameShape(QFrame::NoFrame);
    ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox->setWidgetResizable(false);
    FBox = new QWidget;
    ScrollBox->setWidget(FBox);
    connect(butAdd, &QPushButton::clicked, this, &WHLGuiMan::AddClick);
    connect(butDelete, &QPushButton::clicked, this, &WHLGuiMan::DeleteClick);
    connect(butApply, &QPushButton::clicked, this, &WHLGuiMan::ApplyClick);
    FCount = 0;
    UpdateButtons();
    // Wide enough for the longest condition in a row's box: the box starts
    // after the sign and ends 4 short of its row, and rows leave 2 and the
    // scroll bar free.
    QComboBox longest;
    for (int id : FConditionIds)
        for (bool negated : {false, true}) longest.addItem(toQ(HLConditions::GetConditionText(id, negated)));
    setMinimumWidth(kConditionLeft + longest.minimumSizeHint().width() + 4 + 2 + scrollBarWidth());
}

void WHLGuiMan::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    if (!ScrollBox) return;
    // The bar spans the panel: at its construction width Apply would be cut off.
    FButtonBar->setGeometry(0, 0, width(), 24);
    ScrollBox->setGeometry(0, 24, width(), std::max(0, height() - 24));
    LayoutRows();
}

bool WHLGuiMan::HasChangeListener() { return isSignalConnected(QMetaMethod::fromSignal(&WHLGuiMan::OnChange)); }

void WHLGuiMan::AddRow(bool focus) {
    if (FCount >= kMaxRows) {
        plat::messageBox("Too many conditions.  Max = " + std::to_string(kMaxRows), "", plat::MB_OK);
        return;
    }
    if (FCount >= 1) {
        auto* b = new WHLGuiBool(FBox);
        connect(b, &WHLGuiBool::OnChange, this, &WHLGuiMan::RowChanged);
        FBools[std::size_t(FCount)] = b;
        b->show();
    }
    auto* row = new WHLGuiCond(FBox, &FConditionIds);
    row->SetFindContext(&FContext);
    connect(row, &WHLGuiCond::OnChange, this, &WHLGuiMan::RowChanged);
    FRows[std::size_t(FCount)] = row;
    row->show();
    ++FCount;
    LayoutRows();
    if (focus) row->cbCondition->setFocus();
    ScrollBox->ensureWidgetVisible(row, 0, 0);
    FModified = true;
    UpdateButtons();
}

void WHLGuiMan::DeleteRow() {
    if (FCount == 0) {
        plat::messageBox("No more conditions.", "", plat::MB_OK);
        return;
    }
    --FCount;
    delete FRows[std::size_t(FCount)];
    FRows[std::size_t(FCount)] = nullptr;
    if (FCount >= 1) {
        delete FBools[std::size_t(FCount)];
        FBools[std::size_t(FCount)] = nullptr;
        WHLGuiCond* last = FRows[std::size_t(FCount - 1)];
        last->cbCondition->setFocus();
        ScrollBox->ensureWidgetVisible(last, 0, 0);
    }
    LayoutRows();
    FModified = true;
    UpdateButtons();
    RowChanged();
}

void WHLGuiMan::DeleteClick() {
    DeleteRow();
    LayoutRows();
}

void WHLGuiMan::ApplyClick() {
    // The owner describes the conditions on OnChange: nothing is pending then.
    FModified = false;
    emit OnChange();
    emit OnApply();
    UpdateButtons();
}

void WHLGuiMan::ClearRows() {
    for (int k = 0; k < kMaxRows; ++k) {
        delete FRows[std::size_t(k)];
        delete FBools[std::size_t(k)];
        FRows[std::size_t(k)] = nullptr;
        FBools[std::size_t(k)] = nullptr;
    }
    FCount = 0;
}

std::string WHLGuiMan::GetHLStrings() const {
    std::vector<std::string> rows;
    std::vector<bool> ands;
    for (int k = 0; k < FCount; ++k) {
        rows.push_back(FRows[std::size_t(k)]->GetHLCondStr());
        if (k >= 1) ands.push_back(FBools[std::size_t(k)]->GetBoolValue());
    }
    return HLOptText::BuildHLStrings(rows, ands);
}

void WHLGuiMan::SetHLStrings(const std::string& s) {
    FHLStrings = s;
    LoadHLStrings(s);
}

void WHLGuiMan::LoadHLStrings(const std::string& s) {
    WHLString reader;
    reader.SetText(s);
    if (reader.Count() > kMaxRows) return;
    ClearRows();
    for (int k = 0; k < reader.Count(); ++k) {
        AddRow(false);
        FRows[std::size_t(k)]->SetHLCondStr(reader.GetItem(k));
    }
    LayoutRows();
    UpdateButtons();
}

void WHLGuiMan::RowChanged() {
    if (HasChangeListener()) {
        if (FDeferred) {
            FModified = true;
            emit OnApply();
        } else {
            emit OnChange();
        }
    }
    UpdateButtons();
}

void WHLGuiMan::SetDeferred(bool b) {
    if (FApplyMode) return;
    FDeferred = b;
    if (!b && FModified) {
        FModified = false;
        RowChanged();
    }
}

void WHLGuiMan::SetApplyMode(bool b) {
    FModified = false;
    FDeferred = b;
    FApplyMode = b;
    UpdateButtons();
}

void WHLGuiMan::SetFindContext(WABSCollection* collection, WColSortIterator* rinIndex, WColSortIterator* givenIndex,
                               WColSortIterator* surnameIndex, WColSortIterator* customIndex) {
    SetFindContext(WFindContext{collection, rinIndex, givenIndex, surnameIndex, customIndex});
}

void WHLGuiMan::SetFindContext(const WFindContext& context) {
    FContext = context;
    for (int k = 0; k < FCount; ++k) FRows[std::size_t(k)]->SetFindContext(&FContext);
    FModified = false;
    emit OnApply();
}

void WHLGuiMan::UpdateButtons() {
    if (!butAdd) return;
    butAdd->setEnabled(FCount != kMaxRows);
    butDelete->setEnabled(FCount != 0);
    butApply->setEnabled(FModified);
    butApply->setVisible(FApplyMode);
    // Red or black while it can be pressed; the disabled look stays the style's grey.
    QPalette p = butApply->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::ButtonText, FModified ? QColor(255, 0, 0) : QColor(0, 0, 0));
    butApply->setPalette(p);
}

void WHLGuiMan::LayoutRows() {
    if (!ScrollBox) return;
    const int rh = RowHeight(), bh = BoolHeight();
    const int needed = FCount == 0 ? 0 : bh * (FCount - 1) + rh * FCount + 4;
    const bool bar = needed > ScrollBox->height();
    ScrollBox->setVerticalScrollBarPolicy(bar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int w = std::max(40, width() - 2 - (bar ? scrollBarWidth() : 0));
    FBox->resize(w, std::max(needed, 1));
    for (int k = 0; k < FCount; ++k) {
        FRows[std::size_t(k)]->setGeometry(0, rh * k + bh * k + 1, w, rh);
        if (k >= 1) FBools[std::size_t(k)]->setGeometry(0, bh * (k - 1) + rh * k + 1, w, bh);
    }
}

WHLGuiColMan::WHLGuiColMan(QWidget* owner) : WHLGuiMan(owner) {
    FConditionIds = HLOptText::ColManConditionIds();
    CreateControls();
}

WHLGuiSearchMan::WHLGuiSearchMan(QWidget* owner) : WHLGuiMan(owner) {
    FConditionIds = HLOptText::SearchManConditionIds();
    CreateControls();
}
