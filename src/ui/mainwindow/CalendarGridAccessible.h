#pragma once

#include "ui/mainwindow/CalendarDayNames.h"

#include <QAccessibleObject>
#include <QHash>

class QCalendarWidget;
class QTableView;

// The calendar's day table as a screen reader sees it. Qt reads a cell's name
// from the table's model, which the calendar keeps to itself and which reads
// a day as its number alone; this stands in front of Qt's own reading of the
// table and names the cells by their dates. Everything else is Qt's.
class CalendarGridAccessible : public QAccessibleObject, public QAccessibleTableInterface
{
public:
    // From then on every calendar's day table is read this way.
    static void Install();

    CalendarGridAccessible(QTableView& days, QCalendarWidget& calendar, QAccessibleInterface* qts);
    ~CalendarGridAccessible() override;

    QAccessibleInterface* Qts() const { return qts_; }
    const CalendarDayNames& Names() const { return names_; }
    // The cell in Qt's reading for one of Qt's cells, or nothing.
    QAccessibleInterface* Ours(QAccessibleInterface* qtsChild) const;
    int ColumnCountWithHeader() const;

    // QAccessibleInterface
    QWindow* window() const override { return qts_->window(); }
    QAccessibleInterface* focusChild() const override { return Ours(qts_->focusChild()); }
    QAccessibleInterface* childAt(int x, int y) const override { return Ours(qts_->childAt(x, y)); }
    QAccessibleInterface* parent() const override { return qts_->parent(); }
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return qts_->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override { return qts_->text(t); }
    QRect rect() const override { return qts_->rect(); }
    QAccessible::Role role() const override { return qts_->role(); }
    QAccessible::State state() const override { return qts_->state(); }
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return Table()->selectedCellCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override { return names_.ColumnName(column); }
    QString rowDescription(int row) const override { return Table()->rowDescription(row); }
    int selectedColumnCount() const override { return Table()->selectedColumnCount(); }
    int selectedRowCount() const override { return Table()->selectedRowCount(); }
    int columnCount() const override { return Table()->columnCount(); }
    int rowCount() const override { return Table()->rowCount(); }
    QList<int> selectedColumns() const override { return Table()->selectedColumns(); }
    QList<int> selectedRows() const override { return Table()->selectedRows(); }
    bool isColumnSelected(int column) const override { return Table()->isColumnSelected(column); }
    bool isRowSelected(int row) const override { return Table()->isRowSelected(row); }
    bool selectRow(int row) override { return Table()->selectRow(row); }
    bool selectColumn(int column) override { return Table()->selectColumn(column); }
    bool unselectRow(int row) override { return Table()->unselectRow(row); }
    bool unselectColumn(int column) override { return Table()->unselectColumn(column); }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    QAccessibleTableInterface* Table() const { return qts_->tableInterface(); }
    void ForgetCells();

    QAccessibleInterface* qts_;
    CalendarDayNames names_;
    mutable QHash<int, QAccessible::Id> cells_;
};
