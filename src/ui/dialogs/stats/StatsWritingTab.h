#pragma once

#include "ui/dialogs/stats/StatsTab.h"

#include <QDate>

class QChart;
class QLabel;
class QTableWidget;
struct WritingTotals;
struct YearFigures;

// The statistics window's tab of how much was written: pages and characters
// in each month of the chosen year, and the runs of days with a page.
class StatsWritingTab : public StatsTab
{
    Q_OBJECT
public:
    explicit StatsWritingTab(QWidget* parent);

    // today: the days without a page of this year count up to it.
    void Show(const YearFigures& year, const WritingTotals& writing, QDate today);
    void Clear() override;

private:
    void ShowDays(int year, const WritingTotals& writing, QDate today);

    QLabel* streakYear_;
    QLabel* streakAll_;
    QLabel* daysWithout_;
    QChart* pagesChart_;
    QChart* charactersChart_;
    QTableWidget* months_;
};
