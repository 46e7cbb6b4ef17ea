#include "ui/dialogs/stats/StatsWindow.h"

#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompter.h"
#include "core/stats/TotalsCsv.h"
#include "core/stats/YearFigures.h"
#include "ui/dialogs/crypt/PlainCopyWarning.h"
#include "ui/dialogs/stats/StatsExpenseTab.h"
#include "ui/dialogs/stats/StatsWritingTab.h"
#include "ui/platform/Named.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

// The narrowest the window gets to stand beside the main window.
constexpr int MinimumBesideWidth = 720;

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
    expenseTab_ = new StatsExpenseTab(this);
    writingTab_ = new StatsWritingTab(this);
    tabs_->addTab(expenseTab_, QStringLiteral("出費"));
    tabs_->addTab(writingTab_, QStringLiteral("書いた量"));
    for (StatsTab* tab : Tabs())
        connect(tab, &StatsTab::monthChosen, this, &StatsWindow::ShowMonthInCalendar);
    connect(expenseTab_, &StatsExpenseTab::yearChosen, this, &StatsWindow::ChooseYear);
    connect(expenseTab_, &StatsExpenseTab::pageChosen, this, &StatsWindow::ShowPage);

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
    // The store may outlive the window: the connections go with it.
    connect(&store_, &DiaryStore::pagesChanged, this, &StatsWindow::RefreshSoon);
    connect(&store_, &DiaryStore::pageStored, this, &StatsWindow::RefreshSoon);
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
    const YearFigures figures = YearFigures::Of(ChosenYear(), *expense_, *writing_);
    status_->clear();
    saveCsv_->setEnabled(true);
    expenseTab_->Show(figures, *expense_, qMax(expense_->undatedPages, writing_->undatedPages));
    writingTab_->Show(figures, *writing_, clock_.Now().date());
}

void StatsWindow::ShowNoFigures(const QString& why)
{
    status_->setText(why);
    saveCsv_->setEnabled(false);
    {
        const QSignalBlocker quiet(year_);
        year_->clear();
    }
    for (StatsTab* tab : Tabs())
        tab->Clear();
}

std::array<StatsTab*, 2> StatsWindow::Tabs() const
{
    return {expenseTab_, writingTab_};
}

void StatsWindow::ShowMonthInCalendar(int month)
{
    // Only the month the calendar shows turns: the page shown stays.
    if (calendar_)
        calendar_->setCurrentPage(ChosenYear(), month);
}

void StatsWindow::ChooseYear(int year)
{
    const int index = year_->findData(year);
    if (index >= 0)
        year_->setCurrentIndex(index);
}

void StatsWindow::ShowPage(qint32 page)
{
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
    if (!PlainCopyWarning::Confirm(prompter_, lock_, QStringLiteral("CSV に保存")))
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
