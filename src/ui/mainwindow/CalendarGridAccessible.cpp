#include "ui/mainwindow/CalendarGridAccessible.h"

#include "ui/mainwindow/CalendarCellAccessible.h"

#include <QCalendarWidget>
#include <QTableView>

namespace {

bool askingQt = false;

// The class name is looked at before the object: it may be another library's,
// half made, and is not to be touched then.
QAccessibleInterface* GridFor(const QString& className, QObject* object)
{
    if (askingQt || className != QLatin1String("QCalendarView") ||
        object->objectName() != QLatin1String("qt_calendar_calendarview"))
        return nullptr;
    auto* days = qobject_cast<QTableView*>(object);
    auto* calendar = days ? qobject_cast<QCalendarWidget*>(days->parentWidget()) : nullptr;
    if (!calendar)
        return nullptr;
    // Qt's own reading of the table, made while this factory steps aside.
    askingQt = true;
    QAccessibleInterface* qts = QAccessible::queryAccessibleInterface(days);
    askingQt = false;
    if (!qts || !qts->tableInterface())
        return nullptr;
    return new CalendarGridAccessible(*days, *calendar, qts);
}

} // namespace

void CalendarGridAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&GridFor);
        return true;
    }();
    Q_UNUSED(installed);
}

CalendarGridAccessible::CalendarGridAccessible(QTableView& days, QCalendarWidget& calendar, QAccessibleInterface* qts)
    : QAccessibleObject(&days), qts_(qts), names_(calendar)
{
}

// Qt's reading goes with ours: the table is gone.
CalendarGridAccessible::~CalendarGridAccessible()
{
    ForgetCells();
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(qts_));
}

void CalendarGridAccessible::ForgetCells()
{
    for (const QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
}

int CalendarGridAccessible::ColumnCountWithHeader() const
{
    return columnCount() + 1;
}

QAccessibleInterface* CalendarGridAccessible::child(int index) const
{
    if (!qts_->child(index))
        return nullptr;
    if (const QAccessible::Id id = cells_.value(index))
        return QAccessible::accessibleInterface(id);
    auto* cell = new CalendarCellAccessible(const_cast<CalendarGridAccessible&>(*this), index);
    cells_.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int CalendarGridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (auto cell = cells_.cbegin(); cell != cells_.cend(); ++cell)
        if (QAccessible::accessibleInterface(cell.value()) == child)
            return cell.key();
    return qts_->indexOfChild(child);
}

QAccessibleInterface* CalendarGridAccessible::Ours(QAccessibleInterface* qtsChild) const
{
    return qtsChild ? child(qts_->indexOfChild(qtsChild)) : nullptr;
}

void* CalendarGridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return qts_->interface_cast(type);
}

QAccessibleInterface* CalendarGridAccessible::cellAt(int row, int column) const
{
    return Ours(Table()->cellAt(row, column));
}

QList<QAccessibleInterface*> CalendarGridAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (QAccessibleInterface* cell : Table()->selectedCells())
        cells.append(Ours(cell));
    return cells;
}

// Qt's reading makes its cells anew when the model is reset; ours follow.
void CalendarGridAccessible::modelChange(QAccessibleTableModelChangeEvent* event)
{
    Table()->modelChange(event);
    if (event->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset)
        ForgetCells();
}
