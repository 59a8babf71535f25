#include "highlight/ui/DateButtons.h"

#include <algorithm>
#include <initializer_list>

#include "highlight/ui/UpDownButton.h"
#include "platform/ui/QtText.h"

WDateButtons::WDateButtons(QWidget* owner)
    : QFrame(owner), FDate("TODAY"), FDay(new WUpDownButton(this)), FMonth(new WUpDownButton(this)),
      FYear(new WUpDownButton(this)) {
    setFrameShape(QFrame::NoFrame);
    // Designed as 16, 24 and 29 pixels; wider where the style asks for more,
    // so that a day, a month name and a four-digit year always show whole.
    auto fit = [](WUpDownButton* b, int designed, std::initializer_list<const char*> captions) {
        int widest = 0;
        for (const char* c : captions) {
            b->setText(QString::fromLatin1(c));
            widest = std::max(widest, b->sizeHint().width());
        }
        return std::max(designed, widest);
    };
    const int day = fit(FDay, 16, {"__", "00"});
    const int month =
        fit(FMonth, 24, {"___", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});
    const int year = fit(FYear, 29, {"0000"});
    FDay->setGeometry(0, 0, day, 22);
    FMonth->setGeometry(day, 0, month, 22);
    FYear->setGeometry(day + month, 0, year, 22);
    setFixedSize(day + month + year, 22);

    struct Wire {
        WUpDownButton* button;
        Field field;
    };
    for (const Wire w : {Wire{FDay, fDay}, Wire{FMonth, fMonth}, Wire{FYear, fYear}}) {
        const Field f = w.field;
        connect(w.button, &WUpDownButton::OnMouseDown, this, [this, f] { Remember(f); });
        connect(w.button, &WUpDownButton::OnClick, this, [this, f] {
            FSnap.clicked = true;
            Step(f, false);
        });
        connect(w.button, &WUpDownButton::OnContextPopup, this, [this, f] { Step(f, true); });
        if (f != fYear) connect(w.button, &WUpDownButton::OnDblClick, this, [this, f] { Toggle(f); });
    }
    RefreshCaptions();
}

WDateButtons::~WDateButtons() = default;

void WDateButtons::SetDate(int day, int month, int year) {
    FDate.SetDMY(day, month, year);
    RefreshCaptions();
}

void WDateButtons::SetDateText(const std::string& text) {
    FDate.SetText(text);
    RefreshCaptions();
}

void WDateButtons::Remember(Field f) {
    FSnap.date = FDate;
    FSnap.field = f;
    FSnap.clicked = false;
}

void WDateButtons::Step(Field f, bool forward) {
    // A refused step (the field is unknown) changes nothing but still reports.
    switch (f) {
    case fDay: forward ? FDate.AddDays(1) : FDate.SubDays(1); break;
    case fMonth: forward ? FDate.AddMonths(1) : FDate.SubMonths(1); break;
    case fYear: forward ? FDate.AddYears(1) : FDate.SubYears(1); break;
    }
    Done();
}

void WDateButtons::Toggle(Field f) {
    // The first click of the double click stepped the date: take it back.
    if (FSnap.clicked && FSnap.field == f) FDate = FSnap.date;
    FSnap.clicked = false;
    if (f == fDay) {
        if (FDate.GetDay() != 0) {
            FSavedDay = FDate.GetDay();
            FDate.SetDay(0);
        } else {
            FDate.SetDay(FSavedDay);
        }
    } else if (f == fMonth) {
        if (FDate.GetMonth() != 0) {
            FSavedMonth = FDate.GetMonth();
            FDate.SetMonth(0);
        } else {
            FDate.SetMonth(FSavedMonth);
        }
    }
    Done();
}

void WDateButtons::Done() {
    RefreshCaptions();
    emit OnChange();
}

void WDateButtons::RefreshCaptions() {
    const int d = FDate.GetDay();
    const int m = FDate.GetMonth();
    FDay->setText(d == 0 ? QStringLiteral("__") : QString::number(d));
    FMonth->setText(m == 0 ? QStringLiteral("___") : toQ(FDate.GetMonthName()));
    FYear->setText(QString::number(FDate.GetYear()));
}
