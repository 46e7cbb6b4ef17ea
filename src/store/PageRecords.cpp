#include "PageRecords.h"

#include "platform/PageJournal.h"
#include <cerrno>
#include "platform/RecordFile.h"

namespace {

bool IsDiskFull(const FileError& error)
{
    return error.systemError == ENOSPC || error.systemError == EDQUOT;
}

bool NothingWritten(const FileError& error)
{
    return IsDiskFull(error) || error.systemError == EFBIG || error.systemError == EPERM ||
           error.systemError == EACCES || error.systemError == EROFS || error.systemError == EBADF;
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
    // A page written over an existing one is journalled first, so that a crash
    // in the middle of its write never leaves it torn. An appended page needs
    // none: a part of a page at the end of the file is not a page.
    // On a full disk there is no room for the journal; the page's own room
    // is there, and keeping the user's words beats guarding against a crash
    // in that very moment.
    bool journalled = false;
    if (page <= file.RecordCount()) {
        const FileError error = PageJournal::Begin(file, page);
        if (error && !IsDiskFull(error))
            return error;
        journalled = !error;
    }
    FileError error = file.WriteRecord(page, record.ToBytes());
    if (!error)
        error = file.Flush();
    // A write refused before it began changed nothing; after any other
    // failure the journal stays to put the old page back at the next opening.
    if (journalled && (!error || NothingWritten(error)))
        PageJournal::End(file);
    return error;
}
