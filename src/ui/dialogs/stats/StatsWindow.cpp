#include "ui/dialogs/stats/StatsWindow.h"

#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "core/stats/TotalsCsv.h"
#include "core/platform/Clock.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/Money.h"
#include "core/platform/Prompter.h"
#include "ui/platform/SpokenText.h"
#include "ui/dialogs/stats/StatsCharts.h"
#include "ui/dialogs/stats/StatsTables.h"

#include <QBarSet>
#include <QCalendarWidget>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

// The page number a row of the unreadable amounts shows.
constexpr int PageRole = Qt::UserRole;
// The narrowest the window gets to stand beside the main window.
constexpr int MinimumBesideWidth = 720;
// A month table's rows: the twelve months and their total.
constexpr int MonthRows = 13;

template <typename Widget> Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString Count(qint64 number)
{
    return JapaneseLocale::Locale().toString(number);
}

QString MonthName(int month)
{
    return QStringLiteral("%1月").arg(month);
}

QStringList MonthNames()
{
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names << MonthName(month);
    return names;
}

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

QString MonthBarTip()
{
    return QStringLiteral("棒をクリックすると、その月をカレンダーに表示します。");
}

// What a chart shows, for a screen reader: the same figures are in the table
// beside it.
QString BarsOf(const QString& figures)
{
    return QStringLiteral("%1の棒グラフ。同じ数字を右の表で読めます。").arg(figures);
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

StatsWindow::StatsWindow(DiaryStore& store, Prompter& prompter, const Clock& clock, QCalendarWidget* calendar,
                         QWidget* parent)
    : QDialog(parent), store_(store), prompter_(prompter), clock_(clock), calendar_(calendar)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("統計"));
    setModal(false);

    year_ = Named(new QComboBox(this), "cboYear");
    year_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(year_, &QComboBox::currentIndexChanged, this, &StatsWindow::ShowYear);
    auto* yearLabel = new QLabel(QStringLiteral("年(&Y):"), this);
    yearLabel->setBuddy(year_);
    status_ = Named(new QLabel(this), "lblStatus");
    // A long file name in it must not widen the window.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    csvEncoding_ = Named(new QComboBox(this), "cboCsvEncoding");
    csvEncoding_->addItems({QStringLiteral("UTF-8 (BOM付き)"), QStringLiteral("シフトJIS (CP932)")});
    csvEncoding_->setToolTip(QStringLiteral("CSV ファイルの文字コード"));
    saveCsv_ = Named(new QPushButton(QStringLiteral("CSV に保存"), this), "cmdSaveCsv");
    saveCsv_->setAutoDefault(false);
    connect(saveCsv_, &QPushButton::clicked, this, &StatsWindow::SaveCsv);

    tabs_ = Named(new QTabWidget(this), "tabStats");
    tabs_->addTab(BuildExpenseTab(), QStringLiteral("出費"));
    tabs_->addTab(BuildWritingTab(), QStringLiteral("書いた量"));

    auto* closeButton = Named(new QPushButton(QStringLiteral("閉じる"), this), "cmdClose");
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(yearLabel);
    top->addWidget(year_);
    top->addSpacing(12);
    top->addWidget(status_, 1);
    top->addWidget(csvEncoding_);
    top->addWidget(saveCsv_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);

    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(0);
    connect(&refreshTimer_, &QTimer::timeout, this, &StatsWindow::Refresh);
    // The store may outlive the window: a listener of a closed program
    // finds it gone.
    const auto follow = [window = QPointer<StatsWindow>(this)] {
        if (window)
            window->RefreshSoon();
    };
    store_.OnPagesChanged(follow);
    store_.OnPageStored(follow);
}

QWidget* StatsWindow::BuildExpenseTab()
{
    auto* tab = new QWidget(this);
    expenseTotal_ = Named(new QLabel(tab), "lblExpenseTotal");
    expenseAverage_ = Named(new QLabel(tab), "lblExpenseAverage");
    QChartView* monthView = StatsCharts::NewView("chtMonthExpense", QStringLiteral("月ごとの出費"),
                                                 BarsOf(QStringLiteral("選んだ年の月ごとの出費")), MonthBarTip(), tab);
    monthExpenseChart_ = monthView->chart();
    monthExpense_ =
        StatsTables::NewTable("grdMonthExpense", QStringLiteral("月ごとの出費"),
                              {QStringLiteral("月"), QStringLiteral("出費"), QStringLiteral("ページ")}, tab);
    StatsTables::ShowRowsWhole(*monthExpense_, MonthRows);
    TurnCalendarFromRows(*monthExpense_);
    QChartView* yearView =
        StatsCharts::NewView("chtYearExpense", QStringLiteral("年ごとの出費"), BarsOf(QStringLiteral("年ごとの出費")),
                             QStringLiteral("棒をクリックすると、その年の月ごとの数字を表示します。"), tab);
    yearExpenseChart_ = yearView->chart();
    yearExpense_ = StatsTables::NewTable("grdYearExpense", QStringLiteral("年ごとの出費"),
                                         {QStringLiteral("年"), QStringLiteral("出費")}, tab);
    // Enter on a year's row does what the year's bar does.
    connect(yearExpense_, &QTableWidget::activated, this, [this](const QModelIndex& row) { ShowYearOfRow(row.row()); });

    unreadableCount_ = Named(new QLabel(tab), "lblUnreadable");
    unreadable_ = Named(new QListWidget(tab), "lstUnreadable");
    unreadable_->setAccessibleName(QStringLiteral("読めない金額"));
    unreadable_->setFixedWidth(
        unreadable_->fontMetrics().horizontalAdvance(QStringLiteral("99999ページ目　2026/12/31　出費「千円くらい」")));
    unreadable_->setToolTip(QStringLiteral("ダブルクリックでそのページを表示します"));
    connect(unreadable_, &QListWidget::itemActivated, this, &StatsWindow::ShowPageOf);
    undated_ = Named(new QLabel(tab), "lblUndated");
    undated_->setWordWrap(true);
    undated_->setFixedWidth(unreadable_->width());

    auto* sums = new QHBoxLayout;
    sums->addWidget(expenseTotal_);
    sums->addSpacing(24);
    sums->addWidget(expenseAverage_);
    sums->addStretch(1);
    // The pages left out stand beside the years, where the charts leave room.
    auto* leftOut = new QVBoxLayout;
    leftOut->addWidget(unreadableCount_);
    leftOut->addWidget(unreadable_, 1);
    leftOut->addWidget(undated_);
    leftOut->addStretch(0);
    QHBoxLayout* years = Beside(yearView, yearExpense_);
    years->addLayout(leftOut);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(sums);
    layout->addLayout(Beside(monthView, monthExpense_), 3);
    layout->addLayout(years, 2);
    return tab;
}

QWidget* StatsWindow::BuildWritingTab()
{
    auto* tab = new QWidget(this);
    streakYear_ = Named(new QLabel(tab), "lblStreakYear");
    streakAll_ = Named(new QLabel(tab), "lblStreakAll");
    daysWithout_ = Named(new QLabel(tab), "lblDaysWithout");
    // Pages and characters each on a chart of their own: one scale a chart.
    QChartView* pagesView =
        StatsCharts::NewView("chtMonthPages", QStringLiteral("月ごとのページ"),
                             BarsOf(QStringLiteral("選んだ年の月ごとのページ数")), MonthBarTip(), tab);
    monthPagesChart_ = pagesView->chart();
    QChartView* view = StatsCharts::NewView("chtMonthWriting", QStringLiteral("月ごとの文字数"),
                                            BarsOf(QStringLiteral("選んだ年の月ごとの文字数")), MonthBarTip(), tab);
    monthWritingChart_ = view->chart();
    monthWriting_ =
        StatsTables::NewTable("grdMonthWriting", QStringLiteral("月ごとの書いた量"),
                              {QStringLiteral("月"), QStringLiteral("ページ"), QStringLiteral("文字数")}, tab);
    StatsTables::ShowRowsWhole(*monthWriting_, MonthRows);
    TurnCalendarFromRows(*monthWriting_);

    auto* days = new QHBoxLayout;
    days->addWidget(streakYear_);
    days->addSpacing(24);
    days->addWidget(streakAll_);
    days->addSpacing(24);
    days->addWidget(daysWithout_);
    days->addStretch(1);
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(days);
    auto* charts = new QVBoxLayout;
    charts->addWidget(pagesView, 2);
    charts->addWidget(view, 3);
    auto* figures = new QHBoxLayout;
    figures->addLayout(charts, 1);
    figures->addWidget(monthWriting_);
    layout->addLayout(figures, 1);
    layout->addWidget(
        new QLabel(QStringLiteral("文字数は本文の文字の数です（空白と改行は数えません）。") + MonthBarTip(), tab));
    return tab;
}

QSize StatsWindow::sizeHint() const
{
    // Roomy where the screen allows, and never larger than a small screen.
    // Where the room beside the main window is enough for the charts, it is
    // as wide as that room, so that the calendar its bars turn stays in sight.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QSize size = QSize(980, 700).boundedTo(available.size() - QSize(40, 80));
    if (const QWidget* main = parentWidget()) {
        const QRect frame = main->frameGeometry();
        const int beside = qMax(available.right() - frame.right(), frame.left() - available.left()) - 16;
        if (beside >= MinimumBesideWidth)
            size.setWidth(qMin(size.width(), beside));
    }
    return size.expandedTo(minimumSizeHint());
}

void StatsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Refresh();
}

void StatsWindow::hideEvent(QHideEvent* event)
{
    // Nothing read is kept for the next opening: it reads the diary anew,
    // and chooses the year of the page shown then.
    refreshTimer_.stop();
    expense_.reset();
    writing_.reset();
    const QSignalBlocker quiet(year_);
    year_->clear();
    QDialog::hideEvent(event);
}

void StatsWindow::RefreshSoon()
{
    // A closed window reads nothing; it reads anew when it opens.
    if (isVisible())
        refreshTimer_.start();
}

void StatsWindow::Refresh()
{
    refreshTimer_.stop();
    if (!ReadFigures())
        return;
    FillYears();
    ShowYear();
}

bool StatsWindow::ReadFigures()
{
    expense_.reset();
    writing_.reset();
    if (!store_.IsOpen()) {
        ShowNoFigures(QStringLiteral("日記帳が開かれていないため、集計できません。"));
        return false;
    }
    ExpenseTotals expense;
    WritingTotals writing;
    FileError error = DiaryTotals::ReadExpenses(store_.DiaryFile(), store_.PageCount(), expense);
    if (!error)
        error = DiaryTotals::ReadWriting(store_.DiaryFile(), store_.PageCount(), writing);
    if (error) {
        // Figures of part of the diary would be wrong ones: none are shown.
        ShowNoFigures(QStringLiteral("日記ファイルを読めなかったため、集計できません。"));
        DiaryFiles::ReportFileError(prompter_, error);
        return false;
    }
    expense_ = std::move(expense);
    writing_ = std::move(writing);
    return true;
}

int StatsWindow::ChosenYear() const
{
    return year_->currentData().toInt();
}

void StatsWindow::FillYears()
{
    const int chosen = ChosenYear();
    QList<int> years = expense_->Years();
    for (auto it = writing_->months.cbegin(); it != writing_->months.cend(); ++it)
        if (!years.contains(it.key()))
            years << it.key();
    // A diary without a dated page still shows the year of today, empty.
    const QDate shown = store_.ShownDate();
    if (years.isEmpty())
        years << (shown.isValid() ? shown.year() : clock_.Now().date().year());
    std::sort(years.begin(), years.end(), std::greater<int>());

    const QSignalBlocker quiet(year_);
    year_->clear();
    for (const int year : years)
        year_->addItem(QStringLiteral("%1年").arg(year), year);
    // A fresh opening shows the year of the page shown; a reading while open
    // keeps the year the user chose.
    int index = year_->findData(chosen);
    if (index < 0 && shown.isValid())
        index = year_->findData(shown.year());
    year_->setCurrentIndex(qMax(0, index));
}

void StatsWindow::ShowYear()
{
    if (!expense_ || !writing_ || year_->count() == 0)
        return;
    const int year = ChosenYear();
    status_->clear();
    saveCsv_->setEnabled(true);
    ShowExpense(year);
    ShowYearsExpense();
    ShowUnreadable();
    ShowWriting(year);
}

void StatsWindow::ShowNoFigures(const QString& why)
{
    status_->setText(why);
    saveCsv_->setEnabled(false);
    {
        const QSignalBlocker quiet(year_);
        year_->clear();
    }
    for (QChart* chart : {monthExpenseChart_, yearExpenseChart_, monthPagesChart_, monthWritingChart_})
        StatsCharts::Clear(*chart);
    for (QTableWidget* table : {monthExpense_, yearExpense_, monthWriting_})
        table->setRowCount(0);
    for (QLabel* label :
         {expenseTotal_, expenseAverage_, unreadableCount_, undated_, streakYear_, streakAll_, daysWithout_})
        label->clear();
    unreadable_->clear();
    unreadable_->hide();
}

void StatsWindow::ShowExpense(int year)
{
    const std::array<qint64, 12> months = expense_->months.value(year, {});
    const std::array<qint32, 12> pages = expense_->pages.value(year, {});
    QList<qreal> bars;
    QList<QStringList> rows;
    qint64 pageTotal = 0;
    for (int month = 0; month < 12; ++month) {
        bars << Bar(months[month]);
        rows << QStringList{MonthName(month + 1), Money::FormatShown(months[month]), Count(pages[month])};
        pageTotal += pages[month];
    }
    const Money::Sum total = expense_->YearTotal(year);
    rows << QStringList{QStringLiteral("合計"), Money::FormatShown(total), Count(pageTotal)};
    StatsTables::Fill(*monthExpense_, rows);
    StatsTables::ReadAmountsInYen(*monthExpense_, 1);
    ShowAmount(*expenseTotal_, QStringLiteral("%1年の合計: ").arg(year), total);
    ShowAmount(*expenseAverage_, QStringLiteral("月平均: "), expense_->MonthlyAverage(year));

    QBarSet* set = StatsCharts::ShowBars(*monthExpenseChart_, MonthNames(), bars, QStringLiteral("出費"), MoneyLabel());
    StatsCharts::SetTitle(*monthExpenseChart_, QStringLiteral("%1年の月ごとの出費（円）").arg(year));
    connect(set, &QBarSet::clicked, this, [this](int index) { ShowMonthInCalendar(index + 1); });
}

void StatsWindow::ShowYearsExpense()
{
    QStringList names;
    QList<qreal> bars;
    QList<QStringList> rows;
    const QList<int> years = expense_->Years();
    for (const int year : years) {
        const Money::Sum total = expense_->YearTotal(year);
        names << QString::number(year);
        bars << Bar(total);
        rows << QStringList{QStringLiteral("%1年").arg(year), Money::FormatShown(total)};
    }
    StatsTables::Fill(*yearExpense_, rows);
    StatsTables::ReadAmountsInYen(*yearExpense_, 1);
    QBarSet* set = StatsCharts::ShowBars(*yearExpenseChart_, names, bars, QStringLiteral("出費"), MoneyLabel());
    StatsCharts::SetTitle(*yearExpenseChart_, QStringLiteral("年ごとの出費（円）"));
    // A year's bar shows that year's months; the bars stand in the table's order.
    connect(set, &QBarSet::clicked, this, &StatsWindow::ShowYearOfRow);
}

void StatsWindow::ShowUnreadable()
{
    unreadableCount_->setText(QStringLiteral("読めない金額: %1ページ").arg(expense_->unreadable.size()));
    unreadable_->clear();
    for (const UnreadableExpense& page : expense_->unreadable) {
        const QString date =
            page.date.isValid() ? JapaneseLocale::FormatShortDate(page.date) : QStringLiteral("日付なし");
        auto* row = new QListWidgetItem(
            QStringLiteral("%1ページ目　%2　出費「%3」").arg(page.page).arg(date, page.text), unreadable_);
        row->setData(PageRole, page.page);
    }
    unreadable_->setVisible(!expense_->unreadable.isEmpty());
    const qint32 undated = qMax(expense_->undatedPages, writing_->undatedPages);
    undated_->setText(undated > 0
                          ? QStringLiteral("日付の読めないページ: %1ページ（どの月にも数えていません）").arg(undated)
                          : QString());
    undated_->setVisible(undated > 0);
}

void StatsWindow::ShowWriting(int year)
{
    const std::array<MonthWriting, 12> months = writing_->months.value(year, {});
    QList<qreal> characters;
    QList<qreal> pages;
    QList<QStringList> rows;
    MonthWriting total;
    for (int month = 0; month < 12; ++month) {
        characters << qreal(months[month].characters);
        pages << qreal(months[month].pages);
        rows << QStringList{MonthName(month + 1), Count(months[month].pages), Count(months[month].characters)};
        total.pages += months[month].pages;
        total.characters += months[month].characters;
    }
    rows << QStringList{QStringLiteral("合計"), Count(total.pages), Count(total.characters)};
    StatsTables::Fill(*monthWriting_, rows);

    for (QBarSet* set : {StatsCharts::ShowBars(*monthPagesChart_, MonthNames(), pages, QStringLiteral("ページ"),
                                               QStringLiteral("@value")),
                         StatsCharts::ShowBars(*monthWritingChart_, MonthNames(), characters, QStringLiteral("文字数"),
                                               QStringLiteral("@value"))})
        connect(set, &QBarSet::clicked, this, [this](int index) { ShowMonthInCalendar(index + 1); });
    StatsCharts::SetTitle(*monthPagesChart_, QStringLiteral("%1年の月ごとのページ").arg(year));
    StatsCharts::SetTitle(*monthWritingChart_, QStringLiteral("%1年の月ごとの文字数").arg(year));

    const QDate today = clock_.Now().date();
    streakYear_->setText(QStringLiteral("%1年の最長連続: %2日").arg(year).arg(writing_->LongestStreak(year)));
    streakAll_->setText(QStringLiteral("日記全体の最長連続: %1日").arg(writing_->LongestStreak()));
    daysWithout_->setText(QStringLiteral("%1年のページのない日: %2日%3")
                              .arg(year)
                              .arg(writing_->DaysWithoutPage(year, today))
                              .arg(year == today.year() ? QStringLiteral("（今日まで）") : QString()));
}

void StatsWindow::ShowMonthInCalendar(int month)
{
    // Only the month the calendar shows turns: the page shown stays.
    if (calendar_)
        calendar_->setCurrentPage(ChosenYear(), month);
}

void StatsWindow::ShowYearOfRow(int row)
{
    if (!expense_)
        return;
    const int index = year_->findData(expense_->Years().value(row, -1));
    if (index >= 0)
        year_->setCurrentIndex(index);
}

// Enter on a month's row turns the calendar as the month's bar does, for the
// keyboard; the total row below the months turns nothing.
void StatsWindow::TurnCalendarFromRows(QTableWidget& table)
{
    connect(&table, &QTableWidget::activated, this, [this](const QModelIndex& row) {
        if (row.row() < 12)
            ShowMonthInCalendar(row.row() + 1);
    });
}

void StatsWindow::ShowPageOf(QListWidgetItem* row)
{
    if (!row)
        return;
    const qint32 page = row->data(PageRole).toInt();
    QTimer::singleShot(0, this, [this, page] { store_.StepToPage(page); });
}

void StatsWindow::SaveCsv()
{
    // The figures saved hold the page being written, as it stands: a page
    // stored now has asked for a new reading, which comes before the save.
    if (!store_.StorePage())
        return;
    if (refreshTimer_.isActive())
        Refresh();
    if (!expense_ || !writing_)
        return;
    const int year = ChosenYear();
    const std::optional<QString> path = prompter_.ChooseSaveFile(
        QStringLiteral("CSV に保存"), QDir::home().filePath(QStringLiteral("日記帳統計-%1.csv").arg(year)),
        {QStringLiteral("CSV ﾌｧｲﾙ (*.csv)"), QStringLiteral("すべてのﾌｧｲﾙ (*)")});
    if (!path || !AskReplace(*path))
        return;
    const auto encoding = csvEncoding_->currentIndex() == 1 ? TotalsCsv::Encoding::Cp932 : TotalsCsv::Encoding::Utf8Bom;
    if (const FileError error = TotalsCsv::Write(*path, year, *expense_, *writing_, encoding)) {
        status_->setText(QStringLiteral("CSV ファイルを保存できませんでした。"));
        DiaryFiles::ReportFileError(prompter_, error);
        return;
    }
    status_->setText(QStringLiteral("%1 に保存しました。").arg(QDir::toNativeSeparators(*path)));
    status_->setToolTip(status_->text());
}

bool StatsWindow::AskReplace(const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    return prompter_.Message({QStringLiteral("同じ名前のﾌｧｲﾙがあります。\r%1\r\r上書きしますか？").arg(path),
                              QStringLiteral("統計"), Prompter::Buttons::YesNo, Prompter::Icon::Question,
                              Prompter::Answer::No}) == Prompter::Answer::Yes;
}
