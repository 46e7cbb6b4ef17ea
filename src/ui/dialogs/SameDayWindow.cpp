#include "ui/dialogs/SameDayWindow.h"

#include "core/diary/DiaryStore.h"
#include "core/platform/JapaneseLocale.h"
#include "ui/dialogs/SearchWindow.h"
#include "ui/platform/SpokenText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { YearColumn, WeekdayColumn, WeatherColumn, ExpenseColumn, FirstLineColumn };

// The page number a row shows, beside its year.
constexpr int PageRole = Qt::UserRole;

QLabel* Label(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QTreeWidgetItem* Row(const SameDayPage& page)
{
    auto* row = new QTreeWidgetItem(
        {QStringLiteral("%1年").arg(page.date.year()), page.weekday, page.weather, page.expense, page.firstLine});
    row->setData(YearColumn, PageRole, page.page);
    row->setTextAlignment(ExpenseColumn, Qt::AlignRight | Qt::AlignVCenter);
    row->setData(ExpenseColumn, Qt::AccessibleTextRole, SpokenText::Amount(page.expense));
    return row;
}

} // namespace

SameDayWindow::SameDayWindow(DiaryStore& store, QWidget* parent) : QDialog(parent), store_(store)
{
    setObjectName(QStringLiteral("frmSameDay"));
    setWindowTitle(QStringLiteral("過去の同じ日"));
    setModal(false);

    heading_ = Label("lblSameDay", this);
    leapDayNote_ = Label("lblLeapDay", this);
    leapDayNote_->setText(QStringLiteral("2月29日のページには、ほかの年の2月29日だけを並べています。"));
    leapDayNote_->hide();
    count_ = Label("lblSameDayCount", this);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstSameDay"));
    list_->setAccessibleName(QStringLiteral("ほかの年の同じ日のページ"));
    list_->setHeaderLabels({QStringLiteral("年"), QStringLiteral("曜日"), QStringLiteral("天気"),
                            QStringLiteral("出費"), QStringLiteral("本文の1行目")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(560, 200);
    connect(list_, &QTreeWidget::itemActivated, this, &SameDayWindow::ShowPageOf);

    auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    // Enter belongs to the list: it shows the page of the row.
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_, 1);
    bottom->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(leapDayNote_);
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);

    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(0);
    connect(&refreshTimer_, &QTimer::timeout, this, &SameDayWindow::Refresh);
    // The store may outlive the window: the connections go with it.
    connect(&store_, &DiaryStore::pageShown, this, &SameDayWindow::RefreshSoon);
    connect(&store_, &DiaryStore::pagesChanged, this, &SameDayWindow::RefreshSoon);
}

void SameDayWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Refresh();
}

void SameDayWindow::RefreshSoon()
{
    // A closed window reads nothing; it reads anew when it opens.
    if (isVisible())
        refreshTimer_.start();
}

void SameDayWindow::Refresh()
{
    refreshTimer_.stop();
    const QDate shown = store_.ShownDate();
    SetHeading(shown);
    list_->clear();
    if (!shown.isValid()) {
        count_->setText(QStringLiteral("表示中のページの日付が読み取れないため、並べられません。"));
        return;
    }
    const std::optional<std::vector<SameDayPage>> pages = store_.SameDayPages(shown);
    if (!pages) {
        count_->setText(QStringLiteral("日記ファイルを読めなかったため、並べられません。"));
        return;
    }
    for (const SameDayPage& page : *pages)
        list_->addTopLevelItem(Row(page));
    list_->setCurrentItem(list_->topLevelItem(0));
    count_->setText(pages->empty() ? QStringLiteral("ほかの年の同じ日のページはありません。")
                                   : QStringLiteral("%1 ページ").arg(pages->size()));
    for (int column = YearColumn; column < FirstLineColumn; ++column)
        list_->resizeColumnToContents(column);
}

void SameDayWindow::SetHeading(QDate shown)
{
    heading_->setText(
        shown.isValid()
            ? QStringLiteral("%1月%2日（表示中のページの日）の、ほかの年のページ").arg(shown.month()).arg(shown.day())
            : QString());
    leapDayNote_->setVisible(shown.month() == 2 && shown.day() == 29);
}

void SameDayWindow::ShowPageOf(QTreeWidgetItem* row)
{
    if (!row)
        return;
    // The list is read anew once the page is shown: the row goes after the
    // view is done with it.
    const qint32 page = row->data(YearColumn, PageRole).toInt();
    QTimer::singleShot(0, this, [this, page] { store_.StepToPage(page); });
}
