#pragma once

#include "core/search/BodySearch.h"
#include "core/search/SearchHit.h"

#include <vector>

// Lists every page whose body holds a text, newest first, a run of pages at a
// time: the caller shows the hits of one run while the next is read, and may
// stop between runs. It only reads the diary.
class AllHitsSearch
{
public:
    // Characters the list shows before and after the hit on a long line.
    static constexpr int Before = 16;
    static constexpr int After = 40;

    // Over pages 1 to pageCount of the file as it is now.
    AllHitsSearch(const RecordFile& file, const QString& typed, qint32 pageCount, BodySearch::Match match);

    // Reads up to `pages` more pages, going back from the newest not yet
    // read, and appends the hits among them. An error when they could not be
    // read; the search is then done.
    FileError Step(qint32 pages, std::vector<SearchHit>& hits);
    bool Done() const { return next_ < 1; }
    // The text as it is looked for in the bodies.
    const QString& Wanted() const { return wanted_; }

private:
    SearchHit HitOn(qint32 page, const char* record) const;

    const RecordFile& file_;
    QString wanted_;
    QString foldedWanted_;
    BodySearch::Match match_;
    qint32 next_; // the newest page not yet read; 0 when every page was
};
