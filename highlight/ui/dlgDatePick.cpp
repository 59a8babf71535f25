#include "highlight/ui/dlgDatePick.h"

#include <algorithm>

#include <QCalendarWidget>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include "highlight/ui/ScrollNotifier.h"
#include "model/Global.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"

namespace {

// Step glyphs: `count` triangles pointing left or right, with a bar at the
// far end for the century steps, or a dot for "today".
QIcon stepGlyph(int count, bool left, bool bar, bool dot = false) {
    QPixmap pm(20, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    if (dot) {
        p.drawEllipse(QPointF(10, 6), 4, 4);
        return QIcon(pm);
    }
    const int w = 5;
    const int total = count * w + (bar ? 2 : 0);
    int x = (20 - total) / 2;
    if (bar && left) {
        p.drawRect(x, 1, 2, 10);
        x += 2;
    }
    for (int i = 0; i < count; ++i, x += w) {
        if (left)
            p.drawPolygon(QPolygonF({QPointF(x, 6), QPointF(x + w, 1), QPointF(x + w, 11)}));
        else
            p.drawPolygon(QPolygonF({QPointF(x + w, 6), QPointF(x, 1), QPointF(x, 11)}));
    }
    if (bar && !left) p.drawRect(x, 1, 2, 10);
    return QIcon(pm);
}

QToolButton* stepButton(QWidget* parent, const QIcon& glyph, const char* hint) {
    auto* b = new QToolButton(parent);
    b->setIcon(glyph);
    b->setToolTip(QString::fromLatin1(hint));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

const char* const kMonthCaptions[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

TdlgDatePick::TdlgDatePick(QWidget* owner) : QDialog(owner), FDate("TODAY") {
    setWindowTitle(QStringLiteral("Date Dialog Box"));
    setProperty("HelpContext", 2030);
    setWindowFlags(windowFlags() | Qt::Tool);
    FScale = Global::IsLargeFonts() ? 1.235 : 1.0;
    auto px = [this](double v) { return int(v * FScale); };
    setFixedSize(px(420), px(340));

    labDate = new QLabel(this);
    QFont bold = labDate->font();
    bold.setBold(true);
    labDate->setFont(bold);
    labDate->setGeometry(px(8), px(6), px(400), px(20));

    Calendar = new QCalendarWidget(this);
    Calendar->setFirstDayOfWeek(Qt::Sunday);
    Calendar->setNavigationBarVisible(false);
    Calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar->setGeometry(px(8), px(30), px(250), px(160));
    connect(Calendar, &QCalendarWidget::selectionChanged, this, [this] {
        if (!FInCalendarUpdate) CalendarChange();
    });

    for (int m = 0; m < 12; ++m) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromLatin1(kMonthCaptions[m]));
        b->setToolTip(QStringLiteral("Select this month for the date"));
        b->setProperty("tag", m + 1);
        b->setGeometry(px(268 + (m % 3) * 48), px(30 + (m / 3) * 28), px(46), px(24));
        connect(b, &QToolButton::clicked, this, [this, m] { sbMonthClick(m + 1); });
        sbMonth[m] = b;
    }

    struct StepDef {
        QToolButton** button;
        QIcon glyph;
        const char* hint;
        void (TdlgDatePick::*handler)();
    };
    const StepDef steps[] = {
        {&SpeedButton1, stepGlyph(2, true, true), "Previous Century", &TdlgDatePick::SpeedButton1Click},
        {&sbPreYear, stepGlyph(3, true, false), "Previous Year", &TdlgDatePick::sbPreYearClick},
        {&sbPreMonth, stepGlyph(2, true, false), "Previous Month", &TdlgDatePick::sbPreMonthClick},
        {&sbPreDay, stepGlyph(1, true, false), "Previous Day", &TdlgDatePick::sbPreDayClick},
        {&SpeedButton3, stepGlyph(0, false, false, true), "Go to today's date", &TdlgDatePick::SpeedButton3Click},
        {&sbNextDay, stepGlyph(1, false, false), "Next Day", &TdlgDatePick::sbNextDayClick},
        {&sbNextMonth, stepGlyph(2, false, false), "Next Month", &TdlgDatePick::sbNextMonthClick},
        {&sbNextYear, stepGlyph(3, false, false), "Next Year", &TdlgDatePick::sbNextYearClick},
        {&SpeedButton2, stepGlyph(2, false, true), "Next Century", &TdlgDatePick::SpeedButton2Click},
    };
    int x = 268;
    int y = 148;
    for (const StepDef& s : steps) {
        *s.button = stepButton(this, s.glyph, s.hint);
        (*s.button)->setGeometry(px(x), px(y), px(28), px(20));
        connect(*s.button, &QToolButton::clicked, this, s.handler);
        x += 30;
        if (x > 268 + 4 * 30) {
            x = 268;
            y += 22;
        }
    }
    SpeedButton3->setAccessibleName(QStringLiteral("Go to today"));

    // Year scale: labels, marker and bar.
    auto yearLabel = [&](double centre) {
        auto* l = new QLabel(this);
        l->setAlignment(Qt::AlignHCenter);
        l->setGeometry(px(centre - 25), px(200), px(50), px(16));
        return l;
    };
    labMinYear = yearLabel(47);
    labq1Year = yearLabel(47 + 322 * 0.25);
    labMidYear = yearLabel(47 + 322 * 0.5);
    LabQ3Year = yearLabel(47 + 322 * 0.75);
    labMaxYear = yearLabel(47 + 322);
    YearLine = new QFrame(this);
    YearLine->setFrameShape(QFrame::VLine);
    YearLine->setFrameShadow(QFrame::Plain);
    YearLine->setGeometry(0, px(218), 1, px(22));
    labMovingYear = new QLabel(this);
    labMovingYear->setAlignment(Qt::AlignHCenter);
    labMovingYear->setFont(bold);
    ScrollYear = new QScrollBar(Qt::Horizontal, this);
    ScrollYear->setRange(0, 200);
    ScrollYear->setPageStep(10);
    ScrollYear->setSingleStep(1);
    ScrollYear->setValue(100);
    ScrollYear->setGeometry(px(30), px(258), px(356), px(17));
    FNotifier = new WScrollNotifier(ScrollYear);
    connect(FNotifier, &WScrollNotifier::scroll, this, &TdlgDatePick::ScrollYearScroll);

    // The caption and the date take the room their font needs; the buttons
    // and the dialog move over when that is more than designed.
    auto* edtLabel = new QLabel(QStringLiteral("Date (DD MMM YYYY)"), this);
    const int labelW = std::max(px(120), edtLabel->fontMetrics().horizontalAdvance(edtLabel->text()) + 6);
    edtLabel->setGeometry(px(8), px(300), labelW, px(20));
    edtDate = new QLineEdit(this);
    const int editX = px(8) + labelW + 2;
    const int editW = std::max(px(110), edtDate->fontMetrics().horizontalAdvance(QStringLiteral("00 MMM 0000")) + 16);
    edtDate->setGeometry(editX, px(298), editW, px(22));
    connect(edtDate, &QLineEdit::editingFinished, this, &TdlgDatePick::edtDateExit);

    const int okX = std::max(px(252), editX + editW + px(8));
    butOK = new QPushButton(QStringLiteral("OK"), this);
    butOK->setGeometry(okX, px(296), px(75), px(25));
    butOK->setDefault(true);
    connect(butOK, &QPushButton::clicked, this, &TdlgDatePick::butOKClick);
    butCancel = new QPushButton(QStringLiteral("Cancel"), this);
    butCancel->setGeometry(okX + px(82), px(296), px(75), px(25));
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(std::max(px(420), butCancel->geometry().right() + px(11)), px(340));

    SetDate(FDate.GetYear(), FDate.GetMonth(), FDate.GetDay());
}

TdlgDatePick::~TdlgDatePick() = default;

double TdlgDatePick::MarkerX(int pos) const { return (pos / 200.0 * 322.0 + 47.0) * FScale; }

void TdlgDatePick::PlaceMarker(int pos) {
    const double x = MarkerX(pos);
    YearLine->move(int(x), YearLine->y());
    labMovingYear->setText(QString::number(FDate.GetYear()));
    const int w = int(60 * FScale);
    labMovingYear->setGeometry(int(x - w / 2.0), int(236 * FScale), w, int(16 * FScale));
}

void TdlgDatePick::SetDate(int year, int month, int day) {
    FDate.SetDMY(day, month, year);
    Refresh();
}

void TdlgDatePick::Refresh() {
    const int y = FDate.GetYear();
    const int m = FDate.GetMonth();
    const int d = FDate.GetDay();
    {
        FInCalendarUpdate = true;
        const QSignalBlocker block(Calendar);
        if (y >= 1 && m >= 1 && m <= 12) {
            Calendar->setSelectedDate(QDate(y, m, 1));
            const int last = QDate(y, m, 1).daysInMonth();
            Calendar->setSelectedDate(QDate(y, m, d >= 1 && d <= last ? d : (d > last ? last : 1)));
        }
        FInCalendarUpdate = false;
    }
    const QString text = QString::number(d) + ' ' + toQ(FDate.GetMonthName()) + ' ' + QString::number(y);
    labDate->setText(text);
    edtDate->setText(text);
    if (!FScrolling) {
        labMinYear->setText(QString::number(y - 100));
        labq1Year->setText(QString::number(y - 50));
        labMidYear->setText(QString::number(y));
        LabQ3Year->setText(QString::number(y + 50));
        labMaxYear->setText(QString::number(y + 100));
        {
            const QSignalBlocker block(ScrollYear);
            ScrollYear->setValue(100);
        }
        PlaceMarker(100);
        FBaseYear = y;
    } else {
        PlaceMarker(ScrollYear->sliderPosition());
    }
}

void TdlgDatePick::SetFromFields() { SetDate(FDate.GetYear(), FDate.GetMonth(), FDate.GetDay()); }

void TdlgDatePick::sbMonthClick(int tag) { SetDate(FDate.GetYear(), tag, FDate.GetDay()); }

void TdlgDatePick::CalendarChange() { SetDate(FDate.GetYear(), FDate.GetMonth(), Calendar->selectedDate().day()); }

void TdlgDatePick::sbPreDayClick() {
    FDate.SubDays(1);
    SetFromFields();
}
void TdlgDatePick::sbNextDayClick() {
    FDate.AddDays(1);
    SetFromFields();
}
void TdlgDatePick::sbPreMonthClick() {
    FDate.SubMonths(1);
    SetFromFields();
}
void TdlgDatePick::sbNextMonthClick() {
    FDate.AddMonths(1);
    SetFromFields();
}
void TdlgDatePick::sbPreYearClick() {
    FDate.SubYears(1);
    SetFromFields();
}
void TdlgDatePick::sbNextYearClick() {
    FDate.AddYears(1);
    SetFromFields();
}
void TdlgDatePick::SpeedButton1Click() {
    FDate.SubYears(100);
    SetFromFields();
}
void TdlgDatePick::SpeedButton2Click() {
    FDate.AddYears(100);
    SetFromFields();
}
void TdlgDatePick::SpeedButton3Click() {
    FDate.SetText("TODAY");
    SetFromFields();
}

void TdlgDatePick::ScrollYearScroll(int code, int pos) {
    const int year = FBaseYear + pos - 100;
    if (code != WScrollNotifier::EndScroll) {
        FScrolling = true;
        if (year >= 1) FDate.SetDMY(FDate.GetDay(), FDate.GetMonth(), year);
        Refresh();
        PlaceMarker(pos);
        return;
    }
    // The scroll ended: the scale centres on the year reached.
    FScrolling = false;
    SetDate(year >= 1 ? year : FDate.GetYear(), FDate.GetMonth(), FDate.GetDay());
}

bool TdlgDatePick::ReadEdit() {
    const WDate d(fromQ(edtDate->text()));
    if (!d.IsValid() || !d.IsStructured() || d.GetYear() == 0) return false;
    SetDate(d.GetYear(), d.GetMonth() != 0 ? d.GetMonth() : 1, d.GetDay() != 0 ? d.GetDay() : 1);
    return true;
}

void TdlgDatePick::edtDateExit() { ReadEdit(); }

void TdlgDatePick::butOKClick() {
    if (!ReadEdit()) {
        plat::showMessage(kInvalidMessage);
        return;
    }
    accept();
}
