#pragma once

#include <QAccessibleInterface>

class CalendarGridAccessible;

// A cell of the calendar's day table as a screen reader sees it: Qt's own
// cell in all but its name, which says the date (CalendarDayNames). It holds
// its place in the table, not Qt's cell, which the table may make anew.
class CalendarCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    CalendarCellAccessible(CalendarGridAccessible& grid, int index);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override;
    int rowExtent() const override;
    QAccessibleInterface* table() const override;

private:
    QAccessibleInterface* Qts() const;
    QAccessibleTableCellInterface* QtsCell() const;

    CalendarGridAccessible& grid_;
    int index_;
};
