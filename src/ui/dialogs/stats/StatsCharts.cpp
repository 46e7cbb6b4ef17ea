#include "ui/dialogs/stats/StatsCharts.h"

#include "core/platform/JapaneseLocale.h"
#include "ui/platform/Contrast.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>
#include <algorithm>

namespace {

// A value axis from 0 with round steps; an empty year still shows an axis.
// Its numbers are grouped as the tables show them ("60,000"); what it counts
// is in the chart's title, as a turned axis title is hard to read in
// Japanese.
QValueAxis* ValueAxis(const QList<qreal>& values)
{
    auto* axis = new QValueAxis;
    const qreal top = values.isEmpty() ? 0 : *std::max_element(values.cbegin(), values.cend());
    const qreal bottom = values.isEmpty() ? 0 : std::min<qreal>(0, *std::min_element(values.cbegin(), values.cend()));
    // Room above the highest bar for its amount; a few pages still get
    // whole-numbered steps.
    axis->setRange(bottom, qMax<qreal>(top * 1.15, 5));
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

QColor Between(const QColor& one, const QColor& other)
{
    return QColor::fromRgbF((one.redF() + other.redF()) / 2, (one.greenF() + other.greenF()) / 2,
                            (one.blueF() + other.blueF()) / 2);
}

// The chart in the desktop's colours, light or dark: the base of lists and
// tables behind it, its texts in the text on them.
void Paint(QChart& chart)
{
    const QPalette palette = chart.palette();
    chart.setBackgroundBrush(palette.color(QPalette::Base));
    chart.setBackgroundPen(Qt::NoPen);
    chart.setTitleBrush(Contrast::ReadableOn(palette.color(QPalette::Text), palette.color(QPalette::Base)));
}

// Labels in the chart's text colour, the axis line a little fainter and the
// grid faint, halfway between the line and the background.
void Paint(QAbstractAxis& axis, const QChart& chart)
{
    const QColor background = chart.backgroundBrush().color();
    const QColor text = chart.titleBrush().color();
    const QColor line = Between(text, background);
    axis.setLabelsBrush(text);
    axis.setTitleBrush(text);
    axis.setLinePenColor(line);
    axis.setGridLineColor(Between(line, background));
}

} // namespace

QChartView* StatsCharts::NewView(const char* name, const QString& spokenName, const QString& shows, const QString& tip,
                                 QWidget* parent)
{
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->setLocale(JapaneseLocale::Locale());
    chart->setLocalizeNumbers(true);
    Paint(*chart);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setToolTip(tip);
    view->setAccessibleName(spokenName);
    view->setAccessibleDescription(shows + tip);
    // No Tab stop: the keys reach a month's bar through the table beside it.
    view->setFocusPolicy(Qt::NoFocus);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 170);
    return view;
}

void StatsCharts::SetTitle(QChart& chart, const QString& title)
{
    chart.setTitle(title);
    if (chart.scene())
        for (QGraphicsView* view : chart.scene()->views())
            view->setAccessibleName(title);
}

void StatsCharts::Clear(QChart& chart)
{
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

QBarSet* StatsCharts::ShowBars(QChart& chart, const QStringList& categories, const QList<qreal>& values,
                               const QString& name, const QString& labelFormat)
{
    Clear(chart);
    // The desktop's colours may have changed since the chart was made.
    Paint(chart);
    auto* set = new QBarSet(name);
    set->append(values);
    // Above the bar, on the chart's background.
    set->setLabelColor(chart.titleBrush().color());
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(labelFormat);
    series->setLabelsPrecision(15);
    chart.addSeries(series);

    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    // "10月" fits under its bar in a narrow window, where Qt would cut it to
    // "10..." on a guess of the room it needs.
    categoryAxis->setTruncateLabels(false);
    chart.addAxis(categoryAxis, Qt::AlignBottom);
    Paint(*categoryAxis, chart);
    series->attachAxis(categoryAxis);
    QValueAxis* valueAxis = ValueAxis(values);
    chart.addAxis(valueAxis, Qt::AlignLeft);
    Paint(*valueAxis, chart);
    series->attachAxis(valueAxis);
    return set;
}

QStringList StatsCharts::MonthNames()
{
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names << QStringLiteral("%1月").arg(month);
    return names;
}

QString StatsCharts::MonthBarTip()
{
    return QStringLiteral("棒をクリックすると、その月をカレンダーに表示します。");
}

QString StatsCharts::BarsOf(const QString& figures)
{
    return QStringLiteral("%1の棒グラフ。同じ数字を右の表で読めます。").arg(figures);
}
