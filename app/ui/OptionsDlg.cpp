#include "app/ui/OptionsDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"

namespace {

const char* const kPageNames[] = {"General", "Display", "Colors", "FHC", "Legacy", "TMG"};
constexpr int kPageCount = 6;
constexpr int kFirstHiddenPage = 3;

QGroupBox* radioGroup(QWidget* parent, const QString& title, std::initializer_list<const char*> items,
                      QButtonGroup*& group, bool horizontal) {
    auto* box = new QGroupBox(title, parent);
    QBoxLayout* l = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(box)) : new QVBoxLayout(box);
    group = new QButtonGroup(box);
    int id = 0;
    for (const char* item : items) {
        auto* r = new QRadioButton(item, box);
        group->addButton(r, id++);
        l->addWidget(r);
    }
    if (horizontal) l->addStretch();
    return box;
}

} // namespace

TOptionsDlg::TOptionsDlg(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Options");
    setModal(true);
    RunColorDialog = [this](const QColor& initial, const QString& title) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, this, title);
        if (!c.isValid()) return std::nullopt;
        return c;
    };

    auto* v = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    for (int p = 0; p < kPageCount; ++p) PageControl->addTab(buildPage(p), kPageNames[p]);
    // Pages of other editions stay in the dialog but are not offered.
    for (int p = kFirstHiddenPage; p < kPageCount; ++p) PageControl->setTabVisible(p, false);
    PageControl->setCurrentIndex(0);
    v->addWidget(PageControl);

    auto* buttons = new QDialogButtonBox(this);
    butOK = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    butCancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    butOK->setDefault(true);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(Check("cbDisplayRIN"), &QCheckBox::clicked, this, [this] { cbDisplayRINClick(); });
    connect(FontSizeButtons, &QButtonGroup::idClicked, this, [this] { rgFontSizeClick(); });
    connect(butTextColor, &QPushButton::clicked, this, [this] { butTextColorClick(); });
    connect(butBackColor, &QPushButton::clicked, this, [this] { butBackColorClick(); });

    WOptionsValues values;
    values.Load();
    Load(values);

    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
}

QWidget* TOptionsDlg::buildPage(int page) {
    auto* w = new QWidget(this);
    auto* v = new QVBoxLayout(w);
    for (int i = 0; i < kOptionCheckCount; ++i) {
        const WOptionCheck& c = kOptionChecks[static_cast<std::size_t>(i)];
        if (c.Page != page) continue;
        auto* cb = new QCheckBox(c.Caption, w);
        cb->setObjectName(c.Control);
        Checks[static_cast<std::size_t>(i)] = cb;
        v->addWidget(cb);
    }
    if (page == 1) {
        RGNameValue = radioGroup(w, QString(), {"[RIN]", "(ID)", "{Custom ID}"}, NameValueButtons, true);
        RGNameValue->setFlat(true);
        RGNameValue->setContentsMargins(20, 0, 0, 0);
        v->addWidget(RGNameValue);
        rgFontSize = radioGroup(w, "Font Size", {"Small (8)", "Medium (10)", "Large (12)"}, FontSizeButtons, true);
        v->addWidget(rgFontSize);
    } else if (page == 2) {
        auto* box = new QGroupBox(w);
        auto* g = new QGridLayout(box);
        g->addWidget(new QLabel("Highlighting:", box), 0, 0);
        PanHLColor = new QLabel("Sample", box);
        PanHLColor->setAlignment(Qt::AlignCenter);
        PanHLColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        PanHLColor->setAutoFillBackground(true);
        PanHLColor->setMinimumSize(120, 24);
        g->addWidget(PanHLColor, 0, 1);
        butTextColor = new QPushButton("Text", box);
        butBackColor = new QPushButton("Background", box);
        g->addWidget(butTextColor, 0, 2);
        g->addWidget(butBackColor, 0, 3);
        g->setColumnStretch(4, 1);
        v->addWidget(box);
    }
    v->addStretch();
    return w;
}

QCheckBox* TOptionsDlg::Check(const char* control) const {
    const int i = OptionCheckIndex(control);
    return i < 0 ? nullptr : Checks[static_cast<std::size_t>(i)];
}

void TOptionsDlg::Load(const WOptionsValues& v) {
    for (int i = 0; i < kOptionCheckCount; ++i)
        Checks[static_cast<std::size_t>(i)]->setChecked(v.Checks[static_cast<std::size_t>(i)]);
    NameValueButtons->button(v.NameValueItem)->setChecked(true);
    FontSizeButtons->button(v.FontSizeItem)->setChecked(true);
    rgFontSizeClick();
    cbDisplayRINClick();
    FHLColor = toQColor(v.HLColor);
    FHLTextColor = toQColor(v.HLTextColor);
    ShowSampleColours();
}

WOptionsValues TOptionsDlg::Values() const {
    WOptionsValues v;
    for (int i = 0; i < kOptionCheckCount; ++i)
        v.Checks[static_cast<std::size_t>(i)] = Checks[static_cast<std::size_t>(i)]->isChecked();
    v.NameValueItem = NameValueButtons->checkedId();
    v.FontSizeItem = FontSizeButtons->checkedId();
    v.HLColor = fromQColor(FHLColor);
    v.HLTextColor = fromQColor(FHLTextColor);
    return v;
}

void TOptionsDlg::SaveOptions() { Values().Save(); }

void TOptionsDlg::cbDisplayRINClick() { RGNameValue->setEnabled(Check("cbDisplayRIN")->isChecked()); }

void TOptionsDlg::rgFontSizeClick() {
    const int item = FontSizeButtons->checkedId();
    FFontSize = FontSizeOfItem(item);
    FGridHeight = GridHeightOfItem(item);
}

void TOptionsDlg::ShowSampleColours() {
    QPalette p = PanHLColor->palette();
    p.setColor(QPalette::Window, FHLColor);
    p.setColor(QPalette::WindowText, FHLTextColor);
    PanHLColor->setPalette(p);
}

void TOptionsDlg::butTextColorClick() {
    if (auto c = RunColorDialog(FHLTextColor, "Text")) {
        FHLTextColor = *c;
        ShowSampleColours();
    }
}

void TOptionsDlg::butBackColorClick() {
    if (auto c = RunColorDialog(FHLColor, "Background")) {
        FHLColor = *c;
        ShowSampleColours();
    }
}
