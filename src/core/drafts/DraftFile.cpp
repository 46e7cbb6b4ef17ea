#include "core/drafts/DraftFile.h"

#include "core/platform/RecordSeal.h"
#include "core/platform/RegularFileRead.h"
#include "core/platform/SafeFile.h"
#include "core/platform/StateFolder.h"

#include <QFileInfo>
#include <cerrno>

namespace {

const QByteArray SealedMagic = QByteArrayLiteral("SFDRAFTS");
// Seven fields of a page, even written in the longest characters, stay far
// below this: a larger file is damaged, not read.
constexpr qint64 LargestDraft = 1024 * 1024;

// The draft being written, before it takes the draft's name.
QString NewEnding()
{
    return QStringLiteral(".new");
}

} // namespace

QString DraftFile::PathFor(const QString& diaryPath)
{
    return StateFolder::FileFor(QStringLiteral("draft-"), diaryPath);
}

QByteArray DraftFile::Stored(const PageDraft& draft, const RecordSeal* seal)
{
    const QByteArray bytes = draft.Encode();
    return seal ? SealedMagic + seal->Seal(SealedNumber, bytes) : bytes;
}

FileError DraftFile::Write(const QString& path, const QByteArray& stored)
{
    errno = 0;
    if (!StateFolder::Make())
        return FileError::FromErrno(errno ? errno : EACCES);
    return SafeFile::Replace(path, QFileInfo(path).fileName() + NewEnding(), stored, 0600);
}

DraftFile::Found DraftFile::Read(const QString& diaryPath, const RecordSeal* seal)
{
    const QString path = PathFor(diaryPath);
    if (SafeFile::IsForeign(path))
        return {Found::Outcome::Damaged, {}, {}};
    const RegularFileRead read = ReadRegularFile(path, LargestDraft);
    if (read.outcome == RegularFileRead::Outcome::Failed)
        return read.error.systemError == ENOENT ? Found{} : Found{Found::Outcome::Unreadable, {}, read.error};
    if (read.outcome != RegularFileRead::Outcome::Read)
        return {Found::Outcome::Damaged, {}, {}};
    QByteArray bytes = read.bytes;
    if (seal) {
        const qint64 length = bytes.size() - SealedMagic.size() - seal->StoredLength(0);
        if (!bytes.startsWith(SealedMagic) || length <= 0)
            return {Found::Outcome::Damaged, {}, {}};
        QByteArray opened(length, Qt::Uninitialized);
        if (!seal->Open(SealedNumber, bytes.constData() + SealedMagic.size(), int(length), opened.data()))
            return {Found::Outcome::Damaged, {}, {}};
        bytes = opened;
    }
    const std::optional<PageDraft> draft = PageDraft::Decode(bytes);
    if (!draft)
        return {Found::Outcome::Damaged, {}, {}};
    return {Found::Outcome::Draft, *draft, {}};
}

bool DraftFile::Remove(const QString& diaryPath)
{
    const QString path = PathFor(diaryPath);
    // A write cut short leaves its new file, which may hold newer words.
    SafeFile::RemoveOwn(path + NewEnding());
    if (!SafeFile::RemoveOwn(path))
        return false;
    // A removal the folder forgets in a power cut brings the draft back,
    // to be offered as one again.
    SafeFile::FlushFolder(QFileInfo(path).absolutePath());
    return true;
}

FileError DraftFile::WriteCopy(const QString& target, const PageDraft& draft, const RecordSeal* seal)
{
    const QByteArray bytes = seal ? Stored(draft, seal) : draft.Text().toUtf8();
    return SafeFile::WriteNew(target, bytes, SafeFile::Durability::Flushed);
}

QString DraftFile::CopyEnding(bool sealed)
{
    return sealed ? QStringLiteral("-draft.sealed") : QStringLiteral("-draft.txt");
}
