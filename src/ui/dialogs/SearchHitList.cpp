#include "ui/dialogs/SearchHitList.h"

#include "core/diary/DiaryFiles.h"
#include "core/diary/DiaryStore.h"
#include "ui/platform/SpokenNotice.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { DateColumn, LineColumn };

constexpr int PageRole = Qt::UserRole;

// One read of the file: about a megabyte.
constexpr qint32 PagesPerStep = 100;
// Long enough to read a few megabytes, short enough that keys and 中止 are
// answered between slices.
constexpr qint64 SliceMs = 20;

} // namespace

SearchHitList::SearchHitList(DiaryStore& store, Prompter& prompter, QWidget* parent)
    : QWidget(parent), store_(store), prompter_(prompter)
{
    rows_ = new QTreeWidget(this);
    rows_->setObjectName(QStringLiteral("lstHits"));
    rows_->setAccessibleName(QStringLiteral("検索文字のあるページ（新しい順）"));
    rows_->setHeaderLabels({QStringLiteral("日付"), QStringLiteral("内容")});
    rows_->setRootIsDecorated(false);
    rows_->setUniformRowHeights(true);
    rows_->setAllColumnsShowFocus(true);
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    rows_->header()->setStretchLastSection(true);
    rows_->setColumnWidth(DateColumn, rows_->fontMetrics().horizontalAdvance(QStringLiteral("0000年00月00日")) + 16);
    rows_->setMinimumSize(480, 200);
    // Enter shows the row's page; the window's default button must not search again.
    rows_->installEventFilter(this);
    connect(rows_, &QTreeWidget::itemActivated, this, &SearchHitList::ShowPageOf);

    stop_ = new QPushButton(QStringLiteral("中止"), this);
    stop_->setObjectName(QStringLiteral("cmdStop"));
    stop_->setAutoDefault(false);
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, &SearchHitList::Stop);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lblHitCount"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_, 1);
    bottom->addWidget(stop_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rows_, 1);
    layout->addLayout(bottom);

    nextSlice_.setSingleShot(true);
    nextSlice_.setInterval(0);
    connect(&nextSlice_, &QTimer::timeout, this, &SearchHitList::ContinueListing);
    connect(&store_, &DiaryStore::pagesChanged, this, &SearchHitList::FollowDiary);
}

void SearchHitList::List(const QString& text, BodySearch::Match match)
{
    listing_.reset();
    nextSlice_.stop();
    rows_->clear();
    text_ = text;
    match_ = match;
    listedPages_ = -1;
    if (text.isEmpty()) {
        Finish(QStringLiteral("検索文字を入力してください。"));
        return;
    }
    // The pages are read from the file: what was typed on the shown page goes there first.
    if (!store_.IsOpen() || !store_.StorePage()) {
        Finish(QStringLiteral("日記ファイルが開かれていないため、探せません。"));
        return;
    }
    listedPages_ = store_.PageCount();
    listing_.emplace(store_.DiaryFile(), text, listedPages_, match);
    stop_->setEnabled(true);
    // The first slice runs now: the first rows show before the window waits again.
    ContinueListing();
}

void SearchHitList::ContinueListing()
{
    if (!listing_)
        return;
    if (store_.PageCount() != listedPages_) {
        List(text_, match_);
        return;
    }
    const bool firstRows = rows_->topLevelItemCount() == 0;
    std::vector<SearchHit> hits;
    QElapsedTimer slice;
    slice.start();
    FileError error;
    while (!error && !listing_->Done() && slice.elapsed() < SliceMs && !(firstRows && !hits.empty()))
        error = listing_->Step(PagesPerStep, hits);
    QList<QTreeWidgetItem*> added;
    for (const SearchHit& hit : hits) {
        auto* row = new QTreeWidgetItem({hit.date, hit.line});
        row->setData(DateColumn, PageRole, hit.page);
        added << row;
    }
    rows_->addTopLevelItems(added);
    if (firstRows && !added.isEmpty())
        rows_->setCurrentItem(added.first());
    if (error) {
        DiaryFiles::ReportFileError(prompter_, error);
        Finish(QStringLiteral("日記ファイルを読めなかったため、途中までの一覧です。") + CountText());
    } else if (listing_->Done()) {
        Finish(rows_->topLevelItemCount() == 0 ? QStringLiteral("見つかりませんでした。") : CountText());
    } else {
        count_->setText(QStringLiteral("検索中… ") + CountText());
        nextSlice_.start();
    }
}

void SearchHitList::Stop()
{
    if (listing_)
        Finish(QStringLiteral("中止しました。") + CountText());
}

void SearchHitList::Finish(const QString& outcome)
{
    listing_.reset();
    nextSlice_.stop();
    stop_->setEnabled(false);
    count_->setText(outcome);
    SpokenNotice::Say(*this, outcome);
}

QString SearchHitList::CountText() const
{
    return QStringLiteral("%1 ページ").arg(rows_->topLevelItemCount());
}

void SearchHitList::FollowDiary()
{
    // Not while the store is still at its change: the list is read after it.
    QTimer::singleShot(0, this, [this] {
        if (listedPages_ >= 0 && store_.PageCount() != listedPages_)
            List(text_, match_);
    });
}

bool SearchHitList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == rows_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ShowPageOf(rows_->currentItem());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchHitList::ShowPageOf(QTreeWidgetItem* row)
{
    if (!row)
        return;
    const qint32 page = row->data(DateColumn, PageRole).toInt();
    // Storing the shown page may take in a changed diary and list it anew:
    // the row goes after the view is done with it.
    QTimer::singleShot(0, this, [this, page] {
        if (!store_.ShowFoundPage(page, text_, match_) && store_.CurrentPage() == page)
            count_->setText(QStringLiteral("このページには、もう検索文字がありません。"));
    });
}
