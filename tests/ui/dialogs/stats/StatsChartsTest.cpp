#include "ui/dialogs/stats/StatsCharts.h"
#include "DesktopPalettes.h"
#include "TestRegistry.h"
#include "ui/platform/Contrast.h"

#include <QAbstractAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>

namespace {

void CheckReads(const char* what, const QColor& text, const QColor& background)
{
    QVERIFY2(Contrast::Ratio(text, background) >= Contrast::Readable,
             qPrintable(QStringLiteral("%1: %2 on %3, %4")
                            .arg(QString::fromLatin1(what), text.name(), background.name(),
                                 QString::number(Contrast::Ratio(text, background), 'f', 2))));
}

} // namespace

class StatsChartsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The amounts above the bars, the title and the axes' numbers and months
    // read on the chart; the grid shows.
    void EveryTextReads_data() { AddPaletteRows(); }
    void EveryTextReads()
    {
        QFETCH(QPalette, palette);
        const PaletteForTest colours(palette);
        const std::unique_ptr<QChartView> view(StatsCharts::NewView("chart", {}, {}, {}, nullptr));
        QChart& chart = *view->chart();
        QBarSet* set = StatsCharts::ShowBars(chart, {QStringLiteral("1月"), QStringLiteral("2月")}, {1200, 800},
                                             QStringLiteral("出費"), QStringLiteral("\\@value"));
        chart.setTitle(QStringLiteral("2026年の月ごとの出費（円）"));
        const QColor background = chart.backgroundBrush().color();
        QCOMPARE(background, palette.color(QPalette::Base));
        CheckReads("amounts", set->labelColor(), background);
        CheckReads("title", chart.titleBrush().color(), background);
        for (QAbstractAxis* axis : chart.axes()) {
            CheckReads("axis", axis->labelsBrush().color(), background);
            QVERIFY(Contrast::Ratio(axis->gridLineColor(), background) > 1.2);
        }
    }
};

SORAFUMI_TEST(StatsChartsTest)
#include "StatsChartsTest.moc"
