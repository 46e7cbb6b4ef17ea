#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QBarSet;
class QChart;
class QChartView;
class QWidget;

// The bar charts of the statistics window, drawn by Qt Charts: a chart is
// emptied and filled anew with each reading of the diary.
class StatsCharts
{
public:
    // A chart without a legend in a view that fits its parent, read by a
    // screen reader as `spokenName` until it has a title and described as
    // `shows` followed by `tip`, which is also its tool tip. objectName: the
    // view's name.
    static QChartView* NewView(const char* name, const QString& spokenName, const QString& shows, const QString& tip,
                               QWidget* parent);
    // One bar a category, its value written above it in labelFormat, where
    // "@value" stands for the number grouped as the program writes numbers.
    // The bar set, for its clicks.
    static QBarSet* ShowBars(QChart& chart, const QStringList& categories, const QList<qreal>& values,
                             const QString& name, const QString& labelFormat);
    // The chart's title, which a screen reader reads as the view's name.
    static void SetTitle(QChart& chart, const QString& title);
    // No series and no axes.
    static void Clear(QChart& chart);
    // The categories of a chart of months.
    static QStringList MonthNames();
    // The tip of a chart whose bars turn the main window's calendar.
    static QString MonthBarTip();
    // What a chart shows, for a screen reader: the same figures are in the
    // table beside it.
    static QString BarsOf(const QString& figures);
};
