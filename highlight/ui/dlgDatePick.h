#pragma once
// "Date Dialog Box": picks a date with a month calendar, month buttons, a
// year scale and day, month, year and century steps.
#include <QDialog>

#include "model/Date.h"

class QCalendarWidget;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;
class WScrollNotifier;

class TdlgDatePick : public QDialog {
    Q_OBJECT
public:
    explicit TdlgDatePick(QWidget* owner = nullptr);
    ~TdlgDatePick() override;

    static constexpr const char* kInvalidMessage = "Invalid date format.  please try again";

    void SetDate(int year, int month, int day);
    int GetDay() const { return FDate.GetDay(); }
    int GetMonth() const { return FDate.GetMonth(); }
    int GetYear() const { return FDate.GetYear(); }

    // Controls, for the owner's layout and for tests.
    QLineEdit* edtDate = nullptr;
    QLabel* labDate = nullptr;
    QCalendarWidget* Calendar = nullptr;
    QToolButton* sbMonth[12] = {};
    QToolButton* sbPreDay = nullptr;
    QToolButton* sbNextDay = nullptr;
    QToolButton* sbPreMonth = nullptr;
    QToolButton* sbNextMonth = nullptr;
    QToolButton* sbPreYear = nullptr;
    QToolButton* sbNextYear = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QScrollBar* ScrollYear = nullptr;
    QLabel* labMinYear = nullptr;
    QLabel* labq1Year = nullptr;
    QLabel* labMidYear = nullptr;
    QLabel* LabQ3Year = nullptr;
    QLabel* labMaxYear = nullptr;
    QFrame* YearLine = nullptr;
    QLabel* labMovingYear = nullptr;
    QPushButton* butOK = nullptr;
    QPushButton* butCancel = nullptr;

    bool Scrolling() const { return FScrolling; }
    int BaseYear() const { return FBaseYear; }
    // x of the year marker for a scale position.
    double MarkerX(int pos) const;

private:
    void sbMonthClick(int tag);
    void CalendarChange();
    void sbPreDayClick();
    void sbNextDayClick();
    void sbPreMonthClick();
    void sbNextMonthClick();
    void sbPreYearClick();
    void sbNextYearClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    // Code is a WScrollNotifier code.
    void ScrollYearScroll(int code, int pos);
    void edtDateExit();
    void butOKClick();
    void Refresh();
    void PlaceMarker(int pos);
    void SetFromFields();
    bool ReadEdit();

    WDate FDate;
    bool FScrolling = false;
    int FBaseYear = 0;
    double FScale = 1.0;
    bool FInCalendarUpdate = false;
    WScrollNotifier* FNotifier = nullptr;
};
