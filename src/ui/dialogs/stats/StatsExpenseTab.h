#pragma once

#include "ui/dialogs/stats/StatsTab.h"

#include <QList>

class QChart;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTableWidget;
struct ExpenseTotals;
struct YearFigures;

// The statistics window's tab of what the diary spent: the months of the
// chosen year and every year, as charts and tables, and the pages whose
// amount or date does not read, which are in no sum.
class StatsExpenseTab : public StatsTab
{
    Q_OBJECT
public:
    explicit StatsExpenseTab(QWidget* parent);

    // undatedPages: the pages in no month, whichever reading found them.
    void Show(const YearFigures& year, const ExpenseTotals& expenses, qint32 undatedPages);
    void Clear() override;

Q_SIGNALS:
    // A year's bar, or Enter on its row.
    void yearChosen(int year);
    // A page of an amount that does not read was activated.
    void pageChosen(qint32 page);

private:
    void ShowMonths(const YearFigures& year);
    void ShowYears(const ExpenseTotals& expenses);
    void ShowUnreadable(const ExpenseTotals& expenses, qint32 undatedPages);
    void ChooseYearOfRow(int row);
    void ChoosePageOf(QListWidgetItem* row);

    QLabel* total_;
    QLabel* average_;
    QChart* monthChart_;
    QTableWidget* months_;
    QChart* yearChart_;
    QTableWidget* years_;
    QLabel* unreadableCount_;
    QListWidget* unreadable_;
    QLabel* undated_;
    QList<int> yearsShown_; // the years of the rows of years_, in order
};
