#include "ui/mainwindow/CalendarColours.h"

#include "ui/platform/Contrast.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QEvent>
#include <QTextCharFormat>

CalendarColours::CalendarColours(QCalendarWidget& calendar) : QObject(&calendar), calendar_(calendar)
{
    Apply();
    calendar_.installEventFilter(this);
}

bool CalendarColours::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &calendar_ && event->type() == QEvent::PaletteChange && !applying_)
        Apply();
    return QObject::eventFilter(watched, event);
}

void CalendarColours::Apply()
{
    applying_ = true;
    // Shaded from the desktop's colours, not from the ones shaded before.
    const QPalette desktop = QApplication::palette(&calendar_);
    QPalette shaded = desktop;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        shaded.setColor(group, QPalette::Highlight,
                        Contrast::ReadableOn(desktop.color(group, QPalette::Highlight),
                                             desktop.color(group, QPalette::HighlightedText)));
    // The days of the months beside stay grey, only darker or lighter.
    shaded.setColor(
        QPalette::Disabled, QPalette::Text,
        Contrast::ReadableOn(desktop.color(QPalette::Disabled, QPalette::Text), desktop.color(QPalette::Base)));
    calendar_.setPalette(shaded);

    // The headings stand on the alternate base, the days on the base.
    const QColor headings = desktop.color(QPalette::AlternateBase);
    const QColor days = desktop.color(QPalette::Base);
    QTextCharFormat heading = calendar_.headerTextFormat();
    heading.setForeground(Contrast::ReadableOn(desktop.color(QPalette::Text), headings));
    calendar_.setHeaderTextFormat(heading);
    // The weekend's red reads on both.
    QTextCharFormat weekend;
    weekend.setForeground(Contrast::ReadableOn(Contrast::ReadableOn(QColor(Qt::red), headings), days));
    calendar_.setWeekdayTextFormat(Qt::Saturday, weekend);
    calendar_.setWeekdayTextFormat(Qt::Sunday, weekend);
    applying_ = false;
}
