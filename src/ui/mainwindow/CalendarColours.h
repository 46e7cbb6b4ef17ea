#pragma once

#include <QObject>

class QCalendarWidget;

// The calendar in the desktop's colours, light or dark, with every text
// readable on them: the weekend's red, the grey of the months beside, and
// the month's name and the chosen day on the desktop's highlight, each
// shaded as far as it takes. Set anew when the desktop changes its colours.
class CalendarColours : public QObject
{
    Q_OBJECT
public:
    explicit CalendarColours(QCalendarWidget& calendar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply();

    QCalendarWidget& calendar_;
    bool applying_ = false;
};
