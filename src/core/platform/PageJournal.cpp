#include "core/platform/PageJournal.h"

#include "core/platform/FullTransfer.h"
#include "core/platform/RecordFile.h"
#include "core/platform/SafeFile.h"
#include "core/platform/StateFolder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr char Magic[] = "SFJRNL01";
constexpr int MagicLength = 8;
constexpr int HeaderLength = MagicLength + 8;

QByteArray NativeName(const QString& path)
{
    return QFile::encodeName(path);
}

FileError Remove(const QString& path)
{
    if (::unlink(NativeName(path).constData()) != 0 && errno != ENOENT)
        return FileError::FromErrno(errno);
    return {};
}

FileError FlushFolderOf(const QString& path)
{
    return SafeFile::FlushFolder(QFileInfo(path).absolutePath());
}

// Made new: a journal another user left under the name, or a link planted
// there, is never written through.
FileError WriteJournal(const QString& path, const QByteArray& journal)
{
    return SafeFile::WriteNew(path, journal, SafeFile::Durability::Flushed);
}

} // namespace

quint32 PageJournal::Crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> entries{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[i] = c;
        }
        return entries;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray PageJournal::Encode(qint32 number, const QByteArray& record)
{
    QByteArray journal(Magic, MagicLength);
    char field[4];
    qToLittleEndian<qint32>(number, field);
    journal.append(field, 4);
    qToLittleEndian<qint32>(qint32(record.size()), field);
    journal.append(field, 4);
    journal.append(record);
    qToLittleEndian<quint32>(Crc32(journal), field);
    journal.append(field, 4);
    return journal;
}

qint32 PageJournal::Decode(const QByteArray& journal, int recordLength, QByteArray& record)
{
    if (journal.size() < HeaderLength + 4 || !journal.startsWith(QByteArray(Magic, MagicLength)))
        return 0;
    const qint32 number = qFromLittleEndian<qint32>(journal.constData() + MagicLength);
    const qint32 length = qFromLittleEndian<qint32>(journal.constData() + MagicLength + 4);
    if (number < 1 || (length != recordLength && length != 0) || journal.size() != HeaderLength + length + 4)
        return 0;
    const quint32 crc = qFromLittleEndian<quint32>(journal.constData() + journal.size() - 4);
    if (crc != Crc32(journal.left(journal.size() - 4)))
        return 0;
    record = journal.mid(HeaderLength, length);
    return number;
}

QString PageJournal::ForeignBeside(const QString& file)
{
    return SafeFile::IsForeign(PathFor(file)) ? PathFor(file) : QString();
}

QString PageJournal::StatePathFor(const QString& file)
{
    // The name says which diary it guards; the hash keeps two diaries of the
    // same name in different folders apart.
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(file), QCryptographicHash::Sha1).toHex();
    return StateFolder::Path() + u'/' + QFileInfo(file).fileName() + u'-' + QString::fromLatin1(hash.left(16)) +
           QStringLiteral("-journal");
}

FileError PageJournal::Begin(const RecordFile& file, qint32 number, QString& journal)
{
    // An appended record has no old bytes to keep. A sealed record is kept
    // sealed: the journal holds no page as plain text.
    QByteArray old;
    if (number <= file.RecordCount())
        if (const FileError error = file.ReadStored(number, old))
            return error;
    const QByteArray bytes = Encode(number, old);
    journal = PathFor(file.Path());
    FileError error = WriteJournal(journal, bytes);
    // A name another user took is no place for a page of this diary either.
    if (error && (SafeFile::FolderRefused(error) || error.systemError == EEXIST)) {
        journal = StatePathFor(file.Path());
        if (!StateFolder::Make())
            return error;
        error = WriteJournal(journal, bytes);
    }
    if (error)
        return error;
    // A journal the folder may lose in a power cut guards nothing.
    if (const FileError flushed = FlushFolderOf(journal)) {
        Remove(journal);
        return flushed;
    }
    return {};
}

FileError PageJournal::End(const QString& journal)
{
    if (const FileError error = Remove(journal))
        return error;
    // Gone for good: a journal that came back after a power cut would put the
    // old page over the one just saved. The page is on the disk by now and
    // the old one is gone with the journal, so a folder that fails its flush
    // cannot make the save undone: the user is not told it failed.
    FlushFolderOf(journal);
    return {};
}

FileError PageJournal::Recover(RecordFile& file)
{
    if (const FileError error = RecoverFrom(file, PathFor(file.Path())))
        return error;
    return RecoverFrom(file, StatePathFor(file.Path()));
}

FileError PageJournal::RecoverFrom(RecordFile& file, const QString& path)
{
    // Most of the time there is none, and nothing needs opening.
    const QFileInfo found(path);
    if (!found.exists() && !found.isSymLink())
        return {};
    SafeFile opened;
    const FileError opening = opened.OpenToRead(path, true);
    // Only the user's own journal is played back: one another user put there
    // could cut the diary or put their own page in it. It is left alone.
    if (opening.systemError == ENOENT || opening.systemError == SafeFile::NotOwn)
        return {};
    if (opening)
        return opening;
    QFile journal;
    journal.open(opened.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
    // One byte past the longest journal is enough to tell it is none.
    QByteArray old;
    const qint32 number = Decode(journal.read(HeaderLength + file.StoredLength() + 5), file.StoredLength(), old);
    journal.close();
    // A journal cut short by a crash while it was written: the record itself
    // was not touched yet.
    if (number != 0 && old.isEmpty()) {
        // An append: the file goes back to the records before it, with no
        // part of the new one.
        if (file.Length() > file.LengthOf(number - 1)) {
            if (const FileError error = file.Truncate(number - 1))
                return error;
            if (const FileError error = file.Flush())
                return error;
        }
    } else if (number != 0 && number <= file.RecordCount()) {
        if (const FileError error = file.WriteStored(number, old))
            return error;
        if (const FileError error = file.Flush())
            return error;
    }
    return End(path);
}
