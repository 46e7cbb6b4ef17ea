#pragma once

#include "core/diary/SameDayReader.h"
#include "core/platform/FileError.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <vector>

class RecordFile;

// Every page's date, in page order, held in memory so that the calendar's
// look-ups and marks and the same day in other years read no file. A date
// takes four bytes: a diary of a hundred years holds about 150 KB. The store
// keeps it as the file is, page for page; a page whose date field reads as no
// date is counted and never found.
class DateIndex
{
public:
    // Reads the date field of every page once. An error when a page could
    // not be read, and then the index holds nothing.
    FileError Build(const RecordFile& file, qint32 pageCount);
    // To be built again before it is asked.
    void Forget();
    // Built, and for exactly that many pages.
    bool Holds(qint32 pageCount) const { return built_ && qint32(days_.size()) == pageCount; }

    // The index as bytes to keep between runs (DateIndexFile), and taken back
    // from them: false, and nothing held, unless they hold that many pages.
    QByteArray Days() const;
    bool TakeDays(const QByteArray& days, qint32 pageCount);

    // A page (from 1) was written with this record; one past the last adds it.
    void PageWritten(qint32 page, const QByteArray& record);
    // The file was rewritten as RecordFileRewriter::Rewrite does: records 1
    // to keep, without drop (0 for none), then the appended records.
    void Rewritten(qint32 keep, qint32 drop, const QByteArray& appended);

    // The first page of the date; 0 when none is.
    qint32 FirstPageOf(QDate date) const;
    // Every page of the date, in order.
    QList<qint32> PagesOf(QDate date) const;
    // The days (1 to 31) of the month that at least one page's date names, in order.
    QList<int> DaysOf(int year, int month) const;
    // The pages of the same month and day as `shown` in other years, as
    // SameDayReader::IsSameDay tells them, in page order: their numbers and
    // dates alone.
    std::vector<SameDayPage> SameDayAs(QDate shown) const;

private:
    static quint32 Pack(QDate date);
    static QDate Unpack(quint32 day);
    static quint32 DayOfRecord(const char* record);

    std::vector<quint32> days_; // page N at N-1; 0 for no date
    bool built_ = false;
};
