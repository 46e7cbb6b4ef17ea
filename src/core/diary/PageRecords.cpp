#include "core/diary/PageRecords.h"

#include "core/platform/PageJournal.h"
#include "core/platform/RecordFile.h"

#include <cerrno>

namespace {

bool IsDiskFull(const FileError& error)
{
    return error.systemError == ENOSPC || error.systemError == EDQUOT;
}

// Refusals that come before a byte is written: the file is as it was.
bool Refused(const FileError& error)
{
    return error.systemError == EPERM || error.systemError == EACCES || error.systemError == EROFS ||
           error.systemError == EBADF;
}

} // namespace

FileError PageRecords::ReadRecord(const RecordFile& file, qint32 page, DiaryPage& record)
{
    QByteArray bytes;
    if (const FileError error = file.ReadRecord(page, bytes))
        return error;
    record = DiaryPage::FromBytes(bytes);
    return {};
}

FileError PageRecords::WriteRecord(RecordFile& file, qint32 page, const DiaryPage& record)
{
    // A journal that an earlier failed write could not take back is settled
    // first; the new one would otherwise take its place with the half-written
    // page as the "old" one.
    if (const FileError error = PageJournal::Recover(file))
        return error;
    // A page is journalled first, so that a crash in the middle of its write
    // never leaves it torn: one written over an existing page gets the old
    // page back, an appended one is cut off again.
    // On a full disk there is no room for the journal; the page's own room
    // is there, and keeping the user's words beats guarding against a crash
    // in that very moment.
    const qint32 count = file.RecordCount();
    QString journal;
    if (page <= count + 1) {
        const FileError error = PageJournal::Begin(file, page, journal);
        if (error && !IsDiskFull(error))
            return error;
        if (error)
            journal.clear();
    }
    const bool journalled = !journal.isEmpty();
    FileError error = file.WriteRecord(page, record.ToBytes());
    if (!error)
        error = file.Flush();
    if (!error && journalled)
        error = PageJournal::End(journal);
    // The user is told the page was not stored, so none of it may stay: the
    // journal puts the old page back, an appended one is cut off. Should even
    // that fail, the journal stays to do it at the next opening, unless the
    // file refused the write outright and so still holds the old page.
    if (error) {
        if (journalled) {
            if (PageJournal::Recover(file) && Refused(error))
                PageJournal::End(journal);
        } else if (page > count) {
            file.Truncate(count);
        }
    }
    return error;
}
