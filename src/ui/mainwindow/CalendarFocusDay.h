#pragma once

#include <QObject>

class QTableView;

// A screen reader entering the calendar hears the day it is on, not only "a
// table of 7 rows": the day table tells the day as focused when it takes the
// focus, as it does when the arrows move it.
class CalendarFocusDay : public QObject
{
    Q_OBJECT
public:
    explicit CalendarFocusDay(QTableView& days);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TellDay();

    QTableView& days_;
};
