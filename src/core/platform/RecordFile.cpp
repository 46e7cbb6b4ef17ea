#include "core/platform/RecordFile.h"

#include "core/platform/FullTransfer.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

RecordFile::~RecordFile()
{
    Close();
}

FileError RecordFile::Open(const QString& path, int recordLength, IfMissing ifMissing)
{
    Close();
    if (recordLength <= 0)
        return {FileError::BadFileMode, 0};
    if (path.isEmpty())
        return {FileError::BadFileName, 0};
    const QByteArray native = QFile::encodeName(path);
    // A new file holds no header, so a sealed one is only ever opened.
    const int create = ifMissing == IfMissing::Create && !seal_ ? O_CREAT : 0;
    FileDescriptor opened(::open(native.constData(), O_RDWR | create | O_CLOEXEC, 0600));
    if (!opened.IsOpen())
        return FileError::FromErrno(errno);
    struct stat info
    {
    };
    const bool statFailed = ::fstat(opened.Get(), &info) != 0;
    if (statFailed || !S_ISREG(info.st_mode)) {
        // Only a regular file holds records. errno says nothing when fstat
        // worked, so a device or pipe is named as the wrong kind of name.
        return FileError::FromErrno(statFailed ? errno : S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    fd_ = std::move(opened);
    recordLength_ = recordLength;
    // Kept absolute: a later change of the current folder must not move the
    // file's rewrites elsewhere. A file reached through a symbolic link is
    // kept where the link points, so that a rewrite replaces that file and
    // leaves the link alone.
    const QFileInfo name(path);
    path_ = name.canonicalFilePath().isEmpty() ? name.absoluteFilePath() : name.canonicalFilePath();
    if (const FileError error = CheckHeader()) {
        Close();
        return error;
    }
    return {};
}

FileError RecordFile::CheckHeader() const
{
    if (!seal_)
        return {};
    QByteArray header;
    if (const FileError error = ReadHeader(header))
        return error.code == FileError::InputPastEnd ? FileError{FileError::OtherKey, EBADMSG} : error;
    return seal_->Fits(header) ? FileError{} : FileError{FileError::OtherKey, EBADMSG};
}

void RecordFile::Close()
{
    fd_.Reset();
    locked_ = false;
    damaged_.clear();
}

FileError RecordFile::Lock()
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    const FileError error = LockDescriptor(fd_.Get());
    locked_ = !error;
    return error;
}

FileError RecordFile::LockDescriptor(int fd)
{
    // A lock of the open file itself, not of the process: it holds against a
    // second opening in this process too, and needs no file beside the diary,
    // so a folder the user cannot write to does not matter.
    struct flock claim
    {
    };
    claim.l_type = F_WRLCK;
    claim.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &claim) == 0)
        return {};
    if (errno == EAGAIN || errno == EACCES)
        return {FileError::FileAlreadyOpen, EWOULDBLOCK};
    // A file system without such locks still lets the diary be written.
    return {};
}

void RecordFile::Adopt(int fd, bool locked)
{
    fd_.Reset(fd);
    locked_ = locked;
    damaged_.clear();
}

int RecordFile::Release()
{
    locked_ = false;
    return fd_.Release();
}

void RecordFile::CloseInBackground()
{
    if (!IsOpen())
        return;
    const int fd = fd_.Release();
    locked_ = false;
    try {
        std::thread([fd] { ::close(fd); }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the close costs its time here instead.
        ::close(fd);
    }
}

qint64 RecordFile::Length() const
{
    struct stat info
    {
    };
    if (!IsOpen() || ::fstat(fd_.Get(), &info) != 0)
        return 0;
    return qint64(info.st_size);
}

qint32 RecordFile::RecordCount() const
{
    if (recordLength_ <= 0)
        return 0;
    const qint64 header = seal_ ? seal_->HeaderLength() : 0;
    const qint64 count = qMax<qint64>(0, Length() - header) / StoredLength();
    return count > INT32_MAX ? INT32_MAX : qint32(count);
}

int RecordFile::StoredLength() const
{
    return seal_ ? seal_->StoredLength(recordLength_) : recordLength_;
}

qint64 RecordFile::Offset(qint32 number) const
{
    return (seal_ ? seal_->HeaderLength() : 0) + qint64(number - 1) * StoredLength();
}

FileError RecordFile::ReadRecord(qint32 number, QByteArray& record) const
{
    const FileError error = ReadPart(number, 0, recordLength_, record);
    // A page read to be shown is told damaged: the reads that go through
    // every page go on past it.
    if (!error && seal_ && damaged_.count(number))
        return {FileError::DamagedPage, EBADMSG};
    return error;
}

FileError RecordFile::ReadRecords(qint32 number, qint32 count, QByteArray& records) const
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1 || count < 0)
        return {FileError::BadRecordNumber, 0};
    const qint64 length = qint64(count) * recordLength_;
    records.resize(length);
    if (!seal_)
        return ReadAt(Offset(number), length, records.data());
    // A damaged record is zeros here, and named by the file: the others of
    // the stretch are read all the same.
    return OpenSealed(number, count, records.data(), nullptr);
}

FileError RecordFile::OpenSealed(qint32 number, qint32 count, char* into, const Each* each) const
{
    const int stored = StoredLength();
    // Opening costs far more than reading: a long stretch is shared out
    // among the processor's cores, each with a run of records of its own,
    // which it reads a few at a time into a small buffer it keeps. A buffer
    // as long as the stretch would be new memory each time, and having the
    // system hand out and clear its pages would cost as much as the opening.
    const qint32 parts = qBound(1, count / MinRecordsPerThread, MaxThreads());
    std::vector<std::vector<qint32>> damaged(static_cast<size_t>(parts));
    std::vector<FileError> errors(static_cast<size_t>(parts));
    const auto open = [&](qint32 part) {
        const std::unique_ptr<RecordSeal::Opener> opener = seal_->NewOpener();
        QByteArray sealed(qint64(MinRecordsPerThread) * stored, Qt::Uninitialized);
        QByteArray page(each ? recordLength_ : 0, Qt::Uninitialized);
        const qint32 end = count * (part + 1) / parts;
        for (qint32 first = count * part / parts; first < end; first += MinRecordsPerThread) {
            const qint32 records = std::min(MinRecordsPerThread, end - first);
            FileError& error = errors[size_t(part)];
            if ((error = ReadAt(Offset(number + first), qint64(records) * stored, sealed.data())))
                return;
            for (qint32 i = first; i < first + records; ++i) {
                char* record = each ? page.data() : into + qint64(i) * recordLength_;
                if (!opener->Open(number + i, sealed.constData() + qint64(i - first) * stored, recordLength_, record)) {
                    std::fill(record, record + recordLength_, '\0');
                    damaged[size_t(part)].push_back(number + i);
                }
                if (each)
                    (*each)(number + i, record);
            }
        }
    };
    std::vector<std::thread> helpers;
    for (qint32 part = 1; part < parts; ++part) {
        try {
            helpers.emplace_back(open, part);
        } catch (const std::system_error&) {
            // No thread to be had: this one opens that run too.
            open(part);
        }
    }
    open(0);
    for (std::thread& helper : helpers)
        helper.join();
    for (const std::vector<qint32>& numbers : damaged)
        damaged_.insert(numbers.begin(), numbers.end());
    for (const FileError& error : errors)
        if (error)
            return error;
    return {};
}

FileError RecordFile::ScanRecords(qint32 number, qint32 count, const Each& each) const
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1 || count < 0)
        return {FileError::BadRecordNumber, 0};
    if (seal_)
        return OpenSealed(number, count, nullptr, &each);
    QByteArray records;
    for (qint32 done = 0; done < count; done += PlainRun) {
        const qint32 run = std::min(PlainRun, count - done);
        records.resize(qint64(run) * recordLength_);
        if (const FileError error = ReadAt(Offset(number + done), records.size(), records.data()))
            return error;
        for (qint32 i = 0; i < run; ++i)
            each(number + done + i, records.constData() + qint64(i) * recordLength_);
    }
    return {};
}

int RecordFile::MaxThreads()
{
    static const int threads = int(qBound(1u, std::thread::hardware_concurrency(), 8u));
    return threads;
}

FileError RecordFile::ReadPart(qint32 number, int offset, int length, QByteArray& part) const
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1)
        return {FileError::BadRecordNumber, 0};
    if (offset < 0 || length < 0 || offset + length > recordLength_)
        return {FileError::BadFileMode, 0};
    if (seal_) {
        // Sealed, a record opens whole or not at all.
        QByteArray record(recordLength_, Qt::Uninitialized);
        if (const FileError error = OpenSealed(number, 1, record.data(), nullptr))
            return error;
        part = record.mid(offset, length);
        return {};
    }
    part.resize(length);
    return ReadAt(Offset(number) + offset, length, part.data());
}

FileError RecordFile::ReadAt(qint64 position, qint64 length, char* into) const
{
    return ReadFully(fd_.Get(), into, length, position);
}

FileError RecordFile::WriteRecord(qint32 number, const QByteArray& record)
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1)
        return {FileError::BadRecordNumber, 0};
    if (record.size() != recordLength_)
        return {FileError::BadFileMode, 0};
    // A sealed record is bound to its place: none is left unwritten before it.
    if (seal_ && number > RecordCount() + 1)
        return {FileError::BadRecordNumber, 0};
    if (const FileError error = WriteStored(number, seal_ ? seal_->Seal(number, record) : record))
        return error;
    damaged_.erase(number);
    return {};
}

FileError RecordFile::WriteStored(qint32 number, const QByteArray& stored)
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1)
        return {FileError::BadRecordNumber, 0};
    if (stored.size() != StoredLength())
        return {FileError::BadFileMode, 0};
    // Claim the room first: a disk that is full refuses the whole record here,
    // before a byte of it is written, instead of keeping half of it.
    if (::fallocate(fd_.Get(), FALLOC_FL_KEEP_SIZE, off_t(Offset(number)), off_t(stored.size())) != 0 &&
        (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
        return FileError::FromErrno(errno);
    return WriteFully(fd_.Get(), stored.constData(), stored.size(), Offset(number));
}

FileError RecordFile::ReadStored(qint32 number, QByteArray& stored) const
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (number < 1)
        return {FileError::BadRecordNumber, 0};
    stored.resize(StoredLength());
    return ReadAt(Offset(number), stored.size(), stored.data());
}

QByteArray RecordFile::Stored(qint32 number, const QByteArray& records) const
{
    if (!seal_)
        return records;
    QByteArray stored;
    stored.reserve(records.size() / recordLength_ * StoredLength());
    for (qint64 at = 0; at + recordLength_ <= records.size(); at += recordLength_)
        stored += seal_->Seal(number++, records.mid(at, recordLength_));
    return stored;
}

FileError RecordFile::ReadHeader(QByteArray& header) const
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    header.resize(seal_ ? seal_->HeaderLength() : 0);
    return ReadAt(0, header.size(), header.data());
}

FileError RecordFile::Flush()
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (::fdatasync(fd_.Get()) != 0)
        return FileError::FromErrno(errno);
    return {};
}

FileError RecordFile::Truncate(qint32 records)
{
    if (!IsOpen())
        return {FileError::BadFileNameOrNumber, EBADF};
    if (records < 0)
        return {FileError::BadRecordNumber, 0};
    if (::ftruncate(fd_.Get(), off_t(Offset(records + 1))) != 0)
        return FileError::FromErrno(errno);
    damaged_.erase(damaged_.upper_bound(records), damaged_.end());
    return {};
}
