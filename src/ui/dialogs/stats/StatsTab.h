#pragma once

#include <QWidget>

class QBarSet;
class QTableWidget;

// A tab of the statistics window. Its bars of months, and Enter on a month's
// row of its tables, choose a month for the main window's calendar.
class StatsTab : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Shows no figures: the diary could not be read.
    virtual void Clear() = 0;

Q_SIGNALS:
    // 1 to 12.
    void monthChosen(int month);

protected:
    // The bars stand for January to December.
    void ChooseMonthsBy(const QBarSet* bars);
    // The rows are the twelve months and their total, which chooses nothing.
    void ChooseMonthsBy(QTableWidget& rows);
};
