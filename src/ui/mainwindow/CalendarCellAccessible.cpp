#include "ui/mainwindow/CalendarCellAccessible.h"

#include "ui/mainwindow/CalendarGridAccessible.h"

CalendarCellAccessible::CalendarCellAccessible(CalendarGridAccessible& grid, int index) : grid_(grid), index_(index) {}

QAccessibleInterface* CalendarCellAccessible::Qts() const
{
    return grid_.Qts()->child(index_);
}

QAccessibleTableCellInterface* CalendarCellAccessible::QtsCell() const
{
    QAccessibleInterface* cell = Qts();
    return cell ? cell->tableCellInterface() : nullptr;
}

bool CalendarCellAccessible::isValid() const
{
    QAccessibleInterface* cell = Qts();
    return cell && cell->isValid();
}

QWindow* CalendarCellAccessible::window() const
{
    return grid_.window();
}

QAccessibleInterface* CalendarCellAccessible::parent() const
{
    return &grid_;
}

QString CalendarCellAccessible::text(QAccessible::Text t) const
{
    QAccessibleInterface* cell = Qts();
    if (!cell)
        return {};
    if (t == QAccessible::Name) {
        QString name;
        if (QAccessibleTableCellInterface* day = cell->tableCellInterface())
            name = grid_.Names().CellName(day->rowIndex(), day->columnIndex());
        else if (cell->role() == QAccessible::ColumnHeader)
            name = grid_.Names().ColumnName(index_ % grid_.ColumnCountWithHeader() - 1);
        if (!name.isEmpty())
            return name;
    }
    return cell->text(t);
}

void CalendarCellAccessible::setText(QAccessible::Text t, const QString& text)
{
    if (QAccessibleInterface* cell = Qts())
        cell->setText(t, text);
}

QRect CalendarCellAccessible::rect() const
{
    QAccessibleInterface* cell = Qts();
    return cell ? cell->rect() : QRect();
}

QAccessible::Role CalendarCellAccessible::role() const
{
    QAccessibleInterface* cell = Qts();
    return cell ? cell->role() : QAccessible::NoRole;
}

QAccessible::State CalendarCellAccessible::state() const
{
    QAccessibleInterface* cell = Qts();
    QAccessible::State invalid;
    invalid.invalid = true;
    return cell ? cell->state() : invalid;
}

void* CalendarCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    QAccessibleInterface* cell = Qts();
    if (!cell)
        return nullptr;
    if (type == QAccessible::TableCellInterface)
        return cell->tableCellInterface() ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    return cell->interface_cast(type);
}

bool CalendarCellAccessible::isSelected() const
{
    QAccessibleTableCellInterface* cell = QtsCell();
    return cell && cell->isSelected();
}

QList<QAccessibleInterface*> CalendarCellAccessible::columnHeaderCells() const
{
    QList<QAccessibleInterface*> headers;
    if (QAccessibleTableCellInterface* cell = QtsCell())
        for (QAccessibleInterface* header : cell->columnHeaderCells())
            headers.append(grid_.Ours(header));
    return headers;
}

QList<QAccessibleInterface*> CalendarCellAccessible::rowHeaderCells() const
{
    QList<QAccessibleInterface*> headers;
    if (QAccessibleTableCellInterface* cell = QtsCell())
        for (QAccessibleInterface* header : cell->rowHeaderCells())
            headers.append(grid_.Ours(header));
    return headers;
}

int CalendarCellAccessible::columnIndex() const
{
    QAccessibleTableCellInterface* cell = QtsCell();
    return cell ? cell->columnIndex() : -1;
}

int CalendarCellAccessible::rowIndex() const
{
    QAccessibleTableCellInterface* cell = QtsCell();
    return cell ? cell->rowIndex() : -1;
}

int CalendarCellAccessible::columnExtent() const
{
    QAccessibleTableCellInterface* cell = QtsCell();
    return cell ? cell->columnExtent() : 1;
}

int CalendarCellAccessible::rowExtent() const
{
    QAccessibleTableCellInterface* cell = QtsCell();
    return cell ? cell->rowExtent() : 1;
}

QAccessibleInterface* CalendarCellAccessible::table() const
{
    return &grid_;
}
