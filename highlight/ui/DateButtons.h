#pragma once
// Edits a date in place: three flat buttons for day, month and year. Left
// click steps back, right click forward, a double click on day or month
// makes it unknown and a second one puts it back.
#include <memory>
#include <string>

#include <QFrame>

#include "model/Date.h"

class WUpDownButton;

class WDateButtons : public QFrame {
    Q_OBJECT
public:
    explicit WDateButtons(QWidget* owner = nullptr);
    ~WDateButtons() override;

    void SetDate(int day, int month, int year);
    void SetDateText(const std::string& text);
    int GetDay() const { return FDate.GetDay(); }
    int GetMonth() const { return FDate.GetMonth(); }
    int GetYear() const { return FDate.GetYear(); }
    std::string GetDateText() const { return FDate.GetText(); }
    const WDate& Date() const { return FDate; }

    WUpDownButton* DayButton() const { return FDay; }
    WUpDownButton* MonthButton() const { return FMonth; }
    WUpDownButton* YearButton() const { return FYear; }

signals:
    void OnChange();

private:
    enum Field { fDay, fMonth, fYear };
    void Step(Field f, bool forward);
    void Toggle(Field f);
    void Remember(Field f);
    void Done();
    void RefreshCaptions();

    WDate FDate;
    WUpDownButton* FDay;
    WUpDownButton* FMonth;
    WUpDownButton* FYear;
    int FSavedDay = 0;
    int FSavedMonth = 0;
    // State before the last left press, to take back the click that
    // belongs to a double click.
    struct Snapshot {
        WDate date;
        Field field = fDay;
        bool clicked = false;
    } FSnap;
};
