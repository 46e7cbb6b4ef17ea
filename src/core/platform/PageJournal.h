#pragma once

#include "core/platform/FileError.h"

#include <QByteArray>
#include <QString>

class RecordFile;

// A record written in place could be left half old, half new by a crash in
// the middle of its write. Before such a write the record's present bytes are
// kept in a small journal, flushed to disk with its folder; once the new
// record is on disk the journal goes. A journal found when the file is opened
// again puts its record back.
//
// The journal lives beside the file. A folder that takes no new file (one
// shared read-only, or another user's) still lets the file itself be written:
// its journal then lives in the user's own state folder, named after the
// file's full path, and is found there at the next opening.
//
// Only a journal that is a real file of the user's own is ever played back;
// where another user took the name beside the file, the journal goes to the
// state folder.
//
// A record appended at the end is journalled too, with no old record: after a
// power cut the file may have grown before the record's bytes reached it, and
// the journal cuts it back to the records before.
//
// The journal: "SFJRNL01", the record number and the record length (32-bit
// little-endian each; length 0 for an appended record), the old record, and a
// CRC-32 over all that. The record is as the disk held it: sealed in a
// sealed file, with its sealed length.
class PageJournal
{
public:
    // The journal beside the file.
    static QString PathFor(const QString& file) { return file + QStringLiteral("-journal"); }
    // The journal in $XDG_STATE_HOME/日記帳Sorafumi for a file whose folder
    // takes none.
    static QString StatePathFor(const QString& file);
    // A journal beside the file that is not the user's own (another user's,
    // a link, no file at all): never applied nor removed. Empty when there is
    // none.
    static QString ForeignBeside(const QString& file);

    // Writes the journal for record number; journal names where it went.
    static FileError Begin(const RecordFile& file, qint32 number, QString& journal);
    // Fails when the journal cannot be removed: it would put the old record
    // back at the next opening.
    static FileError End(const QString& journal);
    // Puts a valid journal's record back and removes the journal, from either
    // place; an invalid one is only removed. Fails when a journal stays.
    static FileError Recover(RecordFile& file);

    static quint32 Crc32(const QByteArray& bytes);
    static QByteArray Encode(qint32 number, const QByteArray& record);
    // The record number and old record of a journal; number 0 when invalid.
    // The old record is empty when the record was appended.
    static qint32 Decode(const QByteArray& journal, int recordLength, QByteArray& record);

private:
    static FileError RecoverFrom(RecordFile& file, const QString& journal);
};
