#include "ui/dialogs/stats/StatsExpenseTab.h"

#include "core/platform/JapaneseLocale.h"
#include "core/platform/Money.h"
#include "core/stats/DiaryTotals.h"
#include "core/stats/YearFigures.h"
#include "ui/dialogs/stats/StatsCharts.h"
#include "ui/dialogs/stats/StatsTables.h"
#include "ui/platform/Named.h"
#include "ui/platform/SpokenText.h"

#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The page number a row of the unreadable amounts shows.
constexpr int PageRole = Qt::UserRole;
// A month table's rows: the twelve months and their total.
constexpr int MonthRows = 13;

// The amount as a bar stands: whole yen, rounded as the table shows it.
qreal Bar(Money::Sum amount)
{
    return qreal(Money::RoundToWhole(amount));
}

// A bar's amount in the money form: "\\" before the grouped number.
QString MoneyLabel()
{
    return QStringLiteral("\\@value");
}

// A label of figures with an amount in it, read in yen.
void ShowAmount(QLabel& label, const QString& caption, Money::Sum amount)
{
    const QString shown = Money::FormatShown(amount);
    label.setText(caption + shown);
    label.setAccessibleName(caption + SpokenText::Amount(shown));
}

QHBoxLayout* Beside(QWidget* chart, QWidget* table)
{
    auto* row = new QHBoxLayout;
    row->addWidget(chart, 1);
    row->addWidget(table);
    return row;
}

} // namespace

StatsExpenseTab::StatsExpenseTab(QWidget* parent) : StatsTab(parent)
{
    total_ = Named(new QLabel(this), "lblExpenseTotal");
    average_ = Named(new QLabel(this), "lblExpenseAverage");
    QChartView* monthView = StatsCharts::NewView("chtMonthExpense", QStringLiteral("月ごとの出費"),
                                                 StatsCharts::BarsOf(QStringLiteral("選んだ年の月ごとの出費")),
                                                 StatsCharts::MonthBarTip(), this);
    monthChart_ = monthView->chart();
    months_ = StatsTables::NewTable("grdMonthExpense", QStringLiteral("月ごとの出費"),
                                    {QStringLiteral("月"), QStringLiteral("出費"), QStringLiteral("ページ")}, this);
    StatsTables::ShowRowsWhole(*months_, MonthRows);
    ChooseMonthsBy(*months_);
    QChartView* yearView = StatsCharts::NewView(
        "chtYearExpense", QStringLiteral("年ごとの出費"), StatsCharts::BarsOf(QStringLiteral("年ごとの出費")),
        QStringLiteral("棒をクリックすると、その年の月ごとの数字を表示します。"), this);
    yearChart_ = yearView->chart();
    years_ = StatsTables::NewTable("grdYearExpense", QStringLiteral("年ごとの出費"),
                                   {QStringLiteral("年"), QStringLiteral("出費")}, this);
    // Enter on a year's row does what the year's bar does.
    connect(years_, &QTableWidget::activated, this, [this](const QModelIndex& row) { ChooseYearOfRow(row.row()); });

    unreadableCount_ = Named(new QLabel(this), "lblUnreadable");
    unreadable_ = Named(new QListWidget(this), "lstUnreadable");
    unreadable_->setAccessibleName(QStringLiteral("読めない金額"));
    unreadable_->setFixedWidth(
        unreadable_->fontMetrics().horizontalAdvance(QStringLiteral("99999ページ目　2026/12/31　出費「千円くらい」")));
    unreadable_->setToolTip(QStringLiteral("ダブルクリックでそのページを表示します"));
    connect(unreadable_, &QListWidget::itemActivated, this, &StatsExpenseTab::ChoosePageOf);
    undated_ = Named(new QLabel(this), "lblUndated");
    undated_->setWordWrap(true);
    undated_->setFixedWidth(unreadable_->width());

    auto* sums = new QHBoxLayout;
    sums->addWidget(total_);
    sums->addSpacing(24);
    sums->addWidget(average_);
    sums->addStretch(1);
    // The pages left out stand beside the years, where the charts leave room.
    auto* leftOut = new QVBoxLayout;
    leftOut->addWidget(unreadableCount_);
    leftOut->addWidget(unreadable_, 1);
    leftOut->addWidget(undated_);
    leftOut->addStretch(0);
    QHBoxLayout* years = Beside(yearView, years_);
    years->addLayout(leftOut);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sums);
    layout->addLayout(Beside(monthView, months_), 3);
    layout->addLayout(years, 2);
}

void StatsExpenseTab::Show(const YearFigures& year, const ExpenseTotals& expenses, qint32 undatedPages)
{
    ShowMonths(year);
    ShowYears(expenses);
    ShowUnreadable(expenses, undatedPages);
}

void StatsExpenseTab::Clear()
{
    for (QChart* chart : {monthChart_, yearChart_})
        StatsCharts::Clear(*chart);
    for (QTableWidget* table : {months_, years_})
        table->setRowCount(0);
    yearsShown_.clear();
    for (QLabel* label : {total_, average_, unreadableCount_, undated_})
        label->clear();
    unreadable_->clear();
    unreadable_->hide();
}

void StatsExpenseTab::ShowMonths(const YearFigures& year)
{
    QList<qreal> bars;
    QList<QStringList> rows;
    for (int month = 0; month < 12; ++month) {
        const MonthFigures& figures = year.months[size_t(month)];
        bars << Bar(figures.spent);
        rows << QStringList{StatsTables::MonthName(month + 1), Money::FormatShown(figures.spent),
                            StatsTables::Count(figures.pages)};
    }
    rows << QStringList{QStringLiteral("合計"), Money::FormatShown(year.total.spent),
                        StatsTables::Count(year.total.pages)};
    StatsTables::Fill(*months_, rows);
    StatsTables::ReadAmountsInYen(*months_, 1);
    ShowAmount(*total_, QStringLiteral("%1年の合計: ").arg(year.year), year.total.spent);
    ShowAmount(*average_, QStringLiteral("月平均: "), year.monthlyAverage);

    QBarSet* set =
        StatsCharts::ShowBars(*monthChart_, StatsCharts::MonthNames(), bars, QStringLiteral("出費"), MoneyLabel());
    StatsCharts::SetTitle(*monthChart_, QStringLiteral("%1年の月ごとの出費（円）").arg(year.year));
    ChooseMonthsBy(set);
}

void StatsExpenseTab::ShowYears(const ExpenseTotals& expenses)
{
    QStringList names;
    QList<qreal> bars;
    QList<QStringList> rows;
    yearsShown_ = expenses.Years();
    for (const int year : std::as_const(yearsShown_)) {
        const Money::Sum total = expenses.YearTotal(year);
        names << QString::number(year);
        bars << Bar(total);
        rows << QStringList{QStringLiteral("%1年").arg(year), Money::FormatShown(total)};
    }
    StatsTables::Fill(*years_, rows);
    StatsTables::ReadAmountsInYen(*years_, 1);
    QBarSet* set = StatsCharts::ShowBars(*yearChart_, names, bars, QStringLiteral("出費"), MoneyLabel());
    StatsCharts::SetTitle(*yearChart_, QStringLiteral("年ごとの出費（円）"));
    // A year's bar shows that year's months; the bars stand in the table's order.
    connect(set, &QBarSet::clicked, this, &StatsExpenseTab::ChooseYearOfRow);
}

void StatsExpenseTab::ShowUnreadable(const ExpenseTotals& expenses, qint32 undatedPages)
{
    unreadableCount_->setText(QStringLiteral("読めない金額: %1ページ").arg(expenses.unreadable.size()));
    unreadable_->clear();
    for (const UnreadableExpense& page : expenses.unreadable) {
        const QString date =
            page.date.isValid() ? JapaneseLocale::FormatShortDate(page.date) : QStringLiteral("日付なし");
        auto* row = new QListWidgetItem(
            QStringLiteral("%1ページ目　%2　出費「%3」").arg(page.page).arg(date, page.text), unreadable_);
        row->setData(PageRole, page.page);
    }
    unreadable_->setVisible(!expenses.unreadable.isEmpty());
    undated_->setText(
        undatedPages > 0
            ? QStringLiteral("日付の読めないページ: %1ページ（どの月にも数えていません）").arg(undatedPages)
            : QString());
    undated_->setVisible(undatedPages > 0);
}

void StatsExpenseTab::ChooseYearOfRow(int row)
{
    if (row >= 0 && row < yearsShown_.size())
        Q_EMIT yearChosen(yearsShown_[row]);
}

void StatsExpenseTab::ChoosePageOf(QListWidgetItem* row)
{
    if (row)
        Q_EMIT pageChosen(row->data(PageRole).toInt());
}
