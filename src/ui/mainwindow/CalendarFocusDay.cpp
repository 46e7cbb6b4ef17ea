#include "ui/mainwindow/CalendarFocusDay.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QTableView>
#include <QTimer>

CalendarFocusDay::CalendarFocusDay(QTableView& days) : QObject(&days), days_(days)
{
    days.installEventFilter(this);
}

bool CalendarFocusDay::eventFilter(QObject* watched, QEvent* event)
{
    // After the table's own word that it has the focus, which Qt sends as
    // the focus event is handled.
    if (watched == &days_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, this, &CalendarFocusDay::TellDay);
    return QObject::eventFilter(watched, event);
}

void CalendarFocusDay::TellDay()
{
    if (!QAccessible::isActive() || !days_.hasFocus())
        return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&days_);
    const QModelIndex day = days_.currentIndex();
    if (!table || !table->tableInterface() || !day.isValid())
        return;
    QAccessibleInterface* cell = table->tableInterface()->cellAt(day.row(), day.column());
    const int child = cell ? table->indexOfChild(cell) : -1;
    if (child < 0)
        return;
    QAccessibleEvent focused(&days_, QAccessible::Focus);
    focused.setChild(child);
    QAccessible::updateAccessibility(&focused);
}
