#include "highlight/ui/HLOptions.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QToolButton>

#include "highlight/HLTable.h"
#include "highlight/OptionText.h"
#include "highlight/ui/DateButtons.h"
#include "highlight/ui/SelectionButton.h"
#include "highlight/ui/dlgDatePick.h"
#include "highlight/ui/dlgQuickFind.h"
#include "model/ABSCollection.h"
#include "model/Global.h"
#include "platform/ui/QtText.h"

namespace {

// Small glyphs drawn once: a calendar sheet and a magnifier.
QIcon calendarGlyph() {
    QPixmap pm(13, 13);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 1, 12, 11);
    p.fillRect(1, 2, 11, 3, QColor(128, 0, 0));
    for (int y = 6; y <= 10; y += 2)
        for (int x = 2; x <= 10; x += 2) p.drawPoint(x, y);
    return QIcon(pm);
}

QIcon findGlyph() {
    QPixmap pm(11, 11);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.4));
    p.drawEllipse(QRectF(1, 1, 6, 6));
    p.drawLine(QPointF(6.5, 6.5), QPointF(10, 10));
    return QIcon(pm);
}

QToolButton* flatButton(QWidget* parent, int x, int y, int w, int h) {
    auto* b = new QToolButton(parent);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(x, y, w, h);
    return b;
}

// A selection button as wide as its style asks for the longest item, never
// narrower than designed.
int fitItems(WSelectionButton* b, int designed) {
    const QString shown = b->text();
    int widest = 0;
    for (const auto& item : b->Items()) {
        b->setText(toQ(item.text));
        widest = std::max(widest, b->sizeHint().width());
    }
    b->setText(shown);
    return std::max(designed, widest);
}

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow, int x, int y, int w, int h) {
    auto* b = flatButton(parent, x, y, w, h);
    b->setArrowType(arrow);
    b->setIconSize(QSize(w - 4, h - 4));
    return b;
}

void fillCombo(QComboBox* c, const std::vector<std::string>& items) {
    for (const auto& s : items) c->addItem(toQ(s));
    if (c->count() > 0) c->setCurrentIndex(0);
}

} // namespace

// --- WHLABSOption ---

WHLABSOption::WHLABSOption(QWidget* owner, const std::string& descriptor) : QFrame(owner), FDescriptor(descriptor) {
    setFrameShape(QFrame::NoFrame);
    setFixedHeight(22);
    hide();
}

WHLABSOption::~WHLABSOption() = default;

void WHLABSOption::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    EditorResize();
}

void WHLABSOption::Stretch(QWidget* w) { w->resize(std::max(1, width() - w->x()), w->height()); }

WHLABSOption* CreateOptionEditor(int kind, QWidget* owner, const std::string& descriptor) {
    switch (kind) {
    case HLConditions::pkSex: return new WHLOptSex(owner, descriptor);
    case HLConditions::pkPersonGens: return new WHLOptInd(owner, descriptor);
    case HLConditions::pkText:
    case HLConditions::pkSoundex: return new WHLOptString(owner, descriptor);
    case HLConditions::pkDate: return new WHLOptDate(owner, descriptor);
    case HLConditions::pkInteger: return new WHLOptInt(owner, descriptor);
    case HLConditions::pkPerson: return new WHLOptIndNoGen(owner, descriptor);
    case HLConditions::pkAgeLimit: return new WHLOptAgeLimit(owner, descriptor);
    case HLConditions::pkLDSBaptism:
    case HLConditions::pkLDSEndowment:
    case HLConditions::pkLDSSealParents:
    case HLConditions::pkLDSSealSpouse: return new WHLOptLDSDate(owner, descriptor);
    default: return nullptr;
    }
}

// --- WHLOptSex ---

WHLOptSex::WHLOptSex(QWidget* owner, const std::string& descriptor) : WHLABSOption(owner, descriptor) {
    List = new QComboBox(this);
    List->setGeometry(0, 0, 100, 22);
    fillCombo(List, {"Male", "Female", "Unknown"});
    connect(List, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
}

std::string WHLOptSex::GetHLString() const { return HLOptText::SexText(List->currentIndex()); }

void WHLOptSex::SetHLString(const std::string& s) { List->setCurrentIndex(HLOptText::SexItemFromText(s)); }

void WHLOptSex::EditorResize() { Stretch(List); }

// --- person editors ---

void WHLOptPersonBase::SetFindContext(const WFindContext* p) {
    WHLABSOption::SetFindContext(p);
    FUpper = p && p->Collection ? p->Collection->GetCount() : 0;
    SetIndex(1);
}

void WHLOptPersonBase::SetIndex(std::int32_t index) {
    FIndex = index;
    ShowIndex();
}

void WHLOptPersonBase::NextClick() {
    const std::int32_t n = HLOptText::StepNext(FIndex, FUpper);
    if (n == FIndex) return;
    SetIndex(n);
    Changed();
}

void WHLOptPersonBase::PrevClick() {
    const std::int32_t n = HLOptText::StepPrev(FIndex, FUpper);
    if (n == FIndex) return;
    SetIndex(n);
    Changed();
}

void WHLOptPersonBase::FindClick() {
    if (!FContext || !FContext->Collection) return;
    TdlgQuickFind dlg(window(), *FContext, nullptr);
    dlg.SetSelected(FIndex);
    if (dlg.exec() == QDialog::Accepted) {
        SetIndex(dlg.GetSelected());
        Changed();
    }
}

WHLOptInd::WHLOptInd(QWidget* owner, const std::string& descriptor) : WHLOptPersonBase(owner, descriptor) {
    butPerson = new QToolButton(this);
    butPerson->setGeometry(0, 0, 50, 22);
    butNext = arrowButton(this, Qt::RightArrow, 51, 0, 10, 11);
    butPrev = arrowButton(this, Qt::LeftArrow, 51, 11, 10, 11);
    spinGens = new QSpinBox(this);
    spinGens->setGeometry(63, 0, 40, 22);
    spinGens->setRange(0, 999);
    spinGens->setValue(0);
    labGens = new QLabel("Gens", this);
    labGens->setGeometry(106, 0, std::max(30, labGens->sizeHint().width()), 22);
    connect(butPerson, &QToolButton::clicked, this, [this] { FindClick(); });
    connect(butNext, &QToolButton::clicked, this, [this] { NextClick(); });
    connect(butPrev, &QToolButton::clicked, this, [this] { PrevClick(); });
    connect(spinGens, &QSpinBox::valueChanged, this, [this] { Changed(); });
    ShowIndex();
}

std::string WHLOptInd::GetHLString() const { return HLOptText::IndText(FIndex, spinGens->value()); }

void WHLOptInd::SetHLString(const std::string& s) { SetIndex(HLOptText::ParseIndexText(s)); }

void WHLOptInd::ShowIndex() {
    butPerson->setText(toQ(HLOptText::PersonCaption(FIndex)));
    butPerson->setToolTip(plainToolTip(toQ(HLOptText::PersonHint(FContext ? FContext->Collection : nullptr, FIndex))));
}

WHLOptIndNoGen::WHLOptIndNoGen(QWidget* owner, const std::string& descriptor) : WHLOptPersonBase(owner, descriptor) {
    butFind = flatButton(this, 0, 0, 22, 13);
    butFind->setIcon(findGlyph());
    butPrev = arrowButton(this, Qt::LeftArrow, 0, 13, 11, 9);
    butNext = arrowButton(this, Qt::RightArrow, 11, 13, 11, 9);
    labPerson = new QLabel("?", this);
    labPerson->setTextFormat(Qt::PlainText); // a name from the file
    labPerson->setGeometry(25, 0, 100, 22);
    connect(butFind, &QToolButton::clicked, this, [this] { FindClick(); });
    connect(butNext, &QToolButton::clicked, this, [this] { NextClick(); });
    connect(butPrev, &QToolButton::clicked, this, [this] { PrevClick(); });
}

std::string WHLOptIndNoGen::GetHLString() const { return std::to_string(FIndex); }

void WHLOptIndNoGen::SetHLString(const std::string& s) { SetIndex(HLOptText::ParseIndexText(s)); }

void WHLOptIndNoGen::ShowIndex() {
    const std::string text = HLOptText::PersonLabel(FContext ? FContext->Collection : nullptr, FIndex);
    labPerson->setText(toQ(text));
    labPerson->setToolTip(plainToolTip(toQ(text)));
}

void WHLOptIndNoGen::EditorResize() { Stretch(labPerson); }

// --- WHLOptString ---

WHLOptString::WHLOptString(QWidget* owner, const std::string& descriptor) : WHLABSOption(owner, descriptor) {
    const bool large = Global::IsLargeFonts();
    selMode = new WSelectionButton(this);
    selMode->setAutoRaise(true);
    selMode->SetUpdateCaption(true);
    selMode->SetItems(HLOptText::DescriptorItems(descriptor));
    selMode->SetItemSelected(1);
    const int modeW = fitItems(selMode, large ? 60 : 50);
    selMode->setGeometry(0, 0, modeW, 22);
    edText = new QLineEdit(this);
    edText->setGeometry(modeW + 1, 0, 100, 22);
    // ";" and ":" separate the condition string's items and fields.
    edText->setValidator(new QRegularExpressionValidator(QRegularExpression("[^;:]*"), edText));
    connect(selMode, &WSelectionButton::OnItemChange, this, [this] { Changed(); });
    connect(edText, &QLineEdit::textChanged, this, [this] { Changed(); });
}

std::string WHLOptString::GetHLString() const {
    return HLOptText::StringText(selMode->ItemSelected(), fromQ(edText->text()));
}

void WHLOptString::SetHLString(const std::string& s) {
    edText->setText(toQ(HLOptText::StripSeparators(HLOptText::TrimBlanks(s))));
}

void WHLOptString::EditorResize() { Stretch(edText); }

// --- WHLOptDate ---

WHLOptDate::WHLOptDate(QWidget* owner, const std::string& descriptor) : WHLABSOption(owner, descriptor) {
    butCalendar = flatButton(this, 0, 1, 19, 19);
    butCalendar->setIcon(calendarGlyph());
    selOp = new WSelectionButton(this);
    selOp->setAutoRaise(true);
    selOp->SetUpdateCaption(true);
    selOp->SetItemString("=;BEF;ABT;AFT");
    selOp->SetItemSelected(1);
    selOp->setGeometry(20, 0, fitItems(selOp, 25), 22);
    Date = new WDateButtons(this);
    Date->move(selOp->geometry().right() + 3, 0);
    connect(butCalendar, &QToolButton::clicked, this, [this] { CalendarClick(); });
    connect(selOp, &WSelectionButton::OnItemChange, this, [this] { Changed(); });
    connect(Date, &WDateButtons::OnChange, this, [this] { Changed(); });
}

std::string WHLOptDate::GetHLString() const { return HLOptText::DateText(selOp->ItemSelected(), Date->GetDateText()); }

void WHLOptDate::SetHLString(const std::string& s) { Date->SetDateText(s); }

void WHLOptDate::CalendarClick() {
    TdlgDatePick dlg(window());
    dlg.SetDate(Date->GetYear(), Date->GetMonth(), Date->GetDay());
    if (dlg.exec() == QDialog::Accepted) {
        Date->SetDate(dlg.GetDay(), dlg.GetMonth(), dlg.GetYear());
        Changed();
    }
}

// --- WHLOptInt ---

WHLOptInt::WHLOptInt(QWidget* owner, const std::string& descriptor) : WHLABSOption(owner, descriptor) {
    selOp = new WSelectionButton(this);
    selOp->setAutoRaise(true);
    selOp->SetUpdateCaption(true);
    selOp->SetItemString("=;<;<=;>;>=");
    selOp->SetItemSelected(1);
    selOp->setGeometry(0, 0, fitItems(selOp, 15), 22);
    const HLOptText::IntRange r = HLOptText::ParseIntDescriptor(descriptor);
    Spin = new QSpinBox(this);
    Spin->setGeometry(selOp->width() + 5, 0, 100, 22);
    Spin->setRange(r.min, r.max);
    Spin->setValue(r.min);
    connect(selOp, &WSelectionButton::OnItemChange, this, [this] { Changed(); });
    connect(Spin, &QSpinBox::valueChanged, this, [this] { Changed(); });
}

std::string WHLOptInt::GetHLString() const { return HLOptText::IntText(selOp->ItemSelected(), Spin->value()); }

void WHLOptInt::SetHLString(const std::string& s) { Spin->setValue(HLOptText::NumberOr0(s)); }

void WHLOptInt::EditorResize() { Stretch(Spin); }

// --- WHLOptAgeLimit ---

WHLOptAgeLimit::WHLOptAgeLimit(QWidget* owner, const std::string& descriptor) : WHLABSOption(owner, descriptor) {
    labAge = new QLabel("Age Limit", this);
    // The caption whole in any font: the spin box starts after it.
    labAge->setGeometry(0, 0, std::max(54, labAge->sizeHint().width()), 22);
    Spin = new QSpinBox(this);
    Spin->setGeometry(std::max(Global::IsLargeFonts() ? 65 : 55, labAge->width() + 1), 0, 60, 22);
    Spin->setRange(1, 150);
    Spin->setValue(110);
    connect(Spin, &QSpinBox::valueChanged, this, [this] { Changed(); });
}

std::string WHLOptAgeLimit::GetHLString() const { return std::to_string(Spin->value()); }

void WHLOptAgeLimit::SetHLString(const std::string& s) { Spin->setValue(HLOptText::NumberOr0(s)); }

void WHLOptAgeLimit::EditorResize() { Stretch(Spin); }

// --- WHLOptLDSDate ---

WHLOptLDSDate::WHLOptLDSDate(QWidget* owner, const std::string& descriptor) : WHLABSOption(owner, descriptor) {
    List = new QComboBox(this);
    List->setGeometry(0, 0, 100, 22);
    fillCombo(List, HLOptText::DescriptorItems(descriptor));
    connect(List, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
}

std::string WHLOptLDSDate::GetHLString() const { return std::to_string(List->currentIndex() + 1); }

void WHLOptLDSDate::EditorResize() { Stretch(List); }
