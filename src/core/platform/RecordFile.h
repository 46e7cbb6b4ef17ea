#pragma once

#include "core/platform/FileDescriptor.h"
#include "core/platform/FileError.h"

#include <QByteArray>
#include <QString>

// A file of fixed-length records, numbered from 1, read and written whole at
// their computed place. Nothing is cached.
class RecordFile
{
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    enum class IfMissing { Create, Fail };
    // Opens for reading and writing; a missing file is created empty, readable
    // by its owner only, unless told to fail.
    FileError Open(const QString& path, int recordLength, IfMissing ifMissing = IfMissing::Create);
    void Close();
    // Claims the file for this opening alone: while it is held, a claim from
    // any other opening (another copy of the program) fails with
    // FileAlreadyOpen. The claim ends with the close.
    FileError Lock();
    bool IsLocked() const { return locked_; }
    // Claims a descriptor the same way.
    static FileError LockDescriptor(int fd);
    // Takes over the open descriptor of a file that has just replaced this
    // one, with the claim it holds.
    void Adopt(int fd, bool locked);
    // For a file that has just been replaced: its last close frees all its
    // blocks, which takes the file system a while for a large file, so the
    // close happens on a thread of its own and nobody waits for it.
    void CloseInBackground();
    // Gives up the descriptor, and the claim with it, to another RecordFile
    // (Adopt) that takes this file's place.
    int Release();
    // For a stat of the file itself, whatever its path names now.
    int Descriptor() const { return fd_.Get(); }
    bool IsOpen() const { return fd_.IsOpen(); }
    // The file's absolute name.
    const QString& Path() const { return path_; }
    int RecordLength() const { return recordLength_; }

    // Whole records only: a trailing part shorter than a record is not one.
    qint64 Length() const;
    qint32 RecordCount() const;

    FileError ReadRecord(qint32 number, QByteArray& record) const;
    // count records from number on, back to back.
    FileError ReadRecords(qint32 number, qint32 count, QByteArray& records) const;
    // Part of a record: length bytes from offset within it.
    FileError ReadPart(qint32 number, int offset, int length, QByteArray& part) const;
    // Short writes are continued until the record is whole.
    FileError WriteRecord(qint32 number, const QByteArray& record);
    // Makes what was written survive a power cut.
    FileError Flush();

    // Cuts the file to exactly this many records.
    FileError Truncate(qint32 records);

private:
    qint64 Offset(qint32 number) const { return qint64(number - 1) * recordLength_; }
    FileError ReadAt(qint64 position, qint64 length, char* into) const;

    FileDescriptor fd_;
    bool locked_ = false;
    int recordLength_ = 0;
    QString path_;
};
