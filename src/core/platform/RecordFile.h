#pragma once

#include "core/platform/FileDescriptor.h"
#include "core/platform/FileError.h"
#include "core/platform/RecordSeal.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <set>

// A file of fixed-length records, numbered from 1, read and written whole at
// their computed place. Nothing is cached.
//
// A file given a seal keeps its records sealed after a header of its own (an
// encrypted diary); reading and writing take and give plain records all the
// same. A sealed record that does not open reads as zeros and joins
// DamagedRecords(): ReadRecord of it fails with DamagedPage, while reads of
// parts and stretches go on with the others, so that one damaged page leaves
// the rest of the diary readable.
class RecordFile
{
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    enum class IfMissing { Create, Fail };
    // Opens for reading and writing; a missing file is created empty, readable
    // by its owner only, unless told to fail. A sealed file is never created
    // here, and opens only when its header fits the seal (OtherKey).
    FileError Open(const QString& path, int recordLength, IfMissing ifMissing = IfMissing::Create);
    void Close();
    // The seal the next Open and every record after it go through; it stays
    // over a close. None: records are stored as they are.
    void SetSeal(std::shared_ptr<const RecordSeal> seal) { seal_ = std::move(seal); }
    const std::shared_ptr<const RecordSeal>& Seal() const { return seal_; }
    bool IsSealed() const { return seal_ != nullptr; }
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

    // The bytes on the disk, a header and a trailing part included.
    qint64 Length() const;
    // Whole records only: a trailing part shorter than a record is not one.
    qint32 RecordCount() const;
    // The length a file holding exactly `records` records has on the disk.
    qint64 LengthOf(qint32 records) const { return Offset(records + 1); }
    // A record's length on the disk: RecordLength(), or longer when sealed.
    int StoredLength() const;

    FileError ReadRecord(qint32 number, QByteArray& record) const;
    // count records from number on, back to back.
    FileError ReadRecords(qint32 number, qint32 count, QByteArray& records) const;
    // Hands every record from `number` on, `count` of them, to each(number,
    // record). A sealed file's records are shared out among the processor's
    // cores, and each is handed on by the core that opened it, while it is
    // still in that core's cache: `each` is called from several threads at
    // once then, and must be safe so. Called with zeros for a record that
    // does not open, as ReadRecords reads it.
    using Each = std::function<void(qint32 number, const char* record)>;
    FileError ScanRecords(qint32 number, qint32 count, const Each& each) const;
    // Part of a record: length bytes from offset within it.
    FileError ReadPart(qint32 number, int offset, int length, QByteArray& part) const;
    // Short writes are continued until the record is whole.
    FileError WriteRecord(qint32 number, const QByteArray& record);
    // Makes what was written survive a power cut.
    FileError Flush();

    // A record as the disk holds it, and put back so: for a journal, which
    // must keep no plain record of a sealed file.
    FileError ReadStored(qint32 number, QByteArray& stored) const;
    FileError WriteStored(qint32 number, const QByteArray& stored);
    // The stored form of whole records that are to stand from `number` on.
    QByteArray Stored(qint32 number, const QByteArray& records) const;
    // The bytes before the first record: empty unless sealed.
    FileError ReadHeader(QByteArray& header) const;
    // The sealed records that did not open since the file was opened.
    QList<qint32> DamagedRecords() const { return {damaged_.begin(), damaged_.end()}; }

    // Cuts the file to exactly this many records.
    FileError Truncate(qint32 records);

private:
    qint64 Offset(qint32 number) const;
    FileError ReadAt(qint64 position, qint64 length, char* into) const;
    // Reads and opens sealed records, into `into` back to back, or one by one
    // into a page of each thread's own that is handed to `each`; a damaged
    // one is zeros and noted.
    FileError OpenSealed(qint32 number, qint32 count, char* into, const Each* each) const;
    // A thread starts in tens of microseconds; a record opens in about ten.
    static constexpr qint32 MinRecordsPerThread = 16;
    // Plain records are scanned in runs of about a megabyte.
    static constexpr qint32 PlainRun = 100;
    static int MaxThreads();
    FileError CheckHeader() const;

    FileDescriptor fd_;
    bool locked_ = false;
    int recordLength_ = 0;
    QString path_;
    std::shared_ptr<const RecordSeal> seal_;
    mutable std::set<qint32> damaged_;
};
