#include "ui/dialogs/stats/StatsWritingTab.h"

#include "core/stats/DiaryTotals.h"
#include "core/stats/YearFigures.h"
#include "ui/dialogs/stats/StatsCharts.h"
#include "ui/dialogs/stats/StatsTables.h"
#include "ui/platform/Named.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A month table's rows: the twelve months and their total.
constexpr int MonthRows = 13;

} // namespace

StatsWritingTab::StatsWritingTab(QWidget* parent) : StatsTab(parent)
{
    streakYear_ = Named(new QLabel(this), "lblStreakYear");
    streakAll_ = Named(new QLabel(this), "lblStreakAll");
    daysWithout_ = Named(new QLabel(this), "lblDaysWithout");
    // Pages and characters each on a chart of their own: one scale a chart.
    QChartView* pagesView = StatsCharts::NewView("chtMonthPages", QStringLiteral("月ごとのページ"),
                                                 StatsCharts::BarsOf(QStringLiteral("選んだ年の月ごとのページ数")),
                                                 StatsCharts::MonthBarTip(), this);
    pagesChart_ = pagesView->chart();
    QChartView* view = StatsCharts::NewView("chtMonthWriting", QStringLiteral("月ごとの文字数"),
                                            StatsCharts::BarsOf(QStringLiteral("選んだ年の月ごとの文字数")),
                                            StatsCharts::MonthBarTip(), this);
    charactersChart_ = view->chart();
    months_ = StatsTables::NewTable("grdMonthWriting", QStringLiteral("月ごとの書いた量"),
                                    {QStringLiteral("月"), QStringLiteral("ページ"), QStringLiteral("文字数")}, this);
    StatsTables::ShowRowsWhole(*months_, MonthRows);
    ChooseMonthsBy(*months_);

    auto* days = new QHBoxLayout;
    days->addWidget(streakYear_);
    days->addSpacing(24);
    days->addWidget(streakAll_);
    days->addSpacing(24);
    days->addWidget(daysWithout_);
    days->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(days);
    auto* charts = new QVBoxLayout;
    charts->addWidget(pagesView, 2);
    charts->addWidget(view, 3);
    auto* figures = new QHBoxLayout;
    figures->addLayout(charts, 1);
    figures->addWidget(months_);
    layout->addLayout(figures, 1);
    layout->addWidget(new QLabel(
        QStringLiteral("文字数は本文の文字の数です（空白と改行は数えません）。") + StatsCharts::MonthBarTip(), this));
}

void StatsWritingTab::Show(const YearFigures& year, const WritingTotals& writing, QDate today)
{
    QList<qreal> characters;
    QList<qreal> pages;
    QList<QStringList> rows;
    for (const MonthFigures& month : year.months) {
        characters << qreal(month.characters);
        pages << qreal(month.pages);
        rows << QStringList{StatsTables::MonthName(int(rows.size()) + 1), StatsTables::Count(month.pages),
                            StatsTables::Count(month.characters)};
    }
    rows << QStringList{QStringLiteral("合計"), StatsTables::Count(year.total.pages),
                        StatsTables::Count(year.total.characters)};
    StatsTables::Fill(*months_, rows);

    const QStringList names = StatsCharts::MonthNames();
    for (QBarSet* set :
         {StatsCharts::ShowBars(*pagesChart_, names, pages, QStringLiteral("ページ"), QStringLiteral("@value")),
          StatsCharts::ShowBars(*charactersChart_, names, characters, QStringLiteral("文字数"),
                                QStringLiteral("@value"))})
        ChooseMonthsBy(set);
    StatsCharts::SetTitle(*pagesChart_, QStringLiteral("%1年の月ごとのページ").arg(year.year));
    StatsCharts::SetTitle(*charactersChart_, QStringLiteral("%1年の月ごとの文字数").arg(year.year));
    ShowDays(year.year, writing, today);
}

void StatsWritingTab::ShowDays(int year, const WritingTotals& writing, QDate today)
{
    streakYear_->setText(QStringLiteral("%1年の最長連続: %2日").arg(year).arg(writing.LongestStreak(year)));
    streakAll_->setText(QStringLiteral("日記全体の最長連続: %1日").arg(writing.LongestStreak()));
    daysWithout_->setText(QStringLiteral("%1年のページのない日: %2日%3")
                              .arg(year)
                              .arg(writing.DaysWithoutPage(year, today))
                              .arg(year == today.year() ? QStringLiteral("（今日まで）") : QString()));
}

void StatsWritingTab::Clear()
{
    for (QChart* chart : {pagesChart_, charactersChart_})
        StatsCharts::Clear(*chart);
    months_->setRowCount(0);
    for (QLabel* label : {streakYear_, streakAll_, daysWithout_})
        label->clear();
}
