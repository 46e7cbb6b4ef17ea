#pragma once

#include "core/search/AllHitsSearch.h"

#include <QTimer>
#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class DiaryStore;
class Prompter;

// The search window's list of every page whose body holds the text, newest
// first, with the page's date and the line around the hit. The pages are read
// a slice at a time from the event loop, so the first rows show at once, the
// window answers while the rest are read, and 中止 stops between slices. A
// row activated (Enter or a double-click) shows its page with the hit
// selected, after the shown page was stored. Only the main thread touches the
// diary file, so no store can come between the bytes of one read.
// objectNames: lstHits, cmdStop, lblHitCount.
class SearchHitList : public QWidget
{
    Q_OBJECT
public:
    SearchHitList(DiaryStore& store, Prompter& prompter, QWidget* parent = nullptr);

    // Lists the pages anew for this text, stopping a listing under way.
    void List(const QString& text, BodySearch::Match match);
    void Stop();
    bool IsListing() const { return listing_.has_value(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ContinueListing();
    void Finish(const QString& outcome);
    void ShowPageOf(QTreeWidgetItem* row);
    // A diary that gained or lost pages is listed again: the rows name pages by place.
    void FollowDiary();
    QString CountText() const;

    DiaryStore& store_;
    Prompter& prompter_;
    QTreeWidget* rows_;
    QPushButton* stop_;
    QLabel* count_;
    QTimer nextSlice_;
    std::optional<AllHitsSearch> listing_;
    QString text_;
    BodySearch::Match match_ = BodySearch::Match::Exact;
    qint32 listedPages_ = -1; // the page count of the diary listed; -1 when nothing was
};
