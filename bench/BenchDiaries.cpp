#include "BenchDiaries.h"

#include "DiaryGenerator.h"
#include "core/crypt/DiaryEncryption.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/RecordFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

BenchDiaries* instance = nullptr;

QString SystemError(const QString& what)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// In-kernel copy, then flushed: the copy's write-back must not run underneath
// the measurement that follows.
bool CopyFile(const QString& from, const QString& to, QString& error)
{
    const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = SystemError(from);
        return false;
    }
    ::unlink(QFile::encodeName(to).constData());
    const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        error = SystemError(to);
        ::close(in);
        return false;
    }
    struct stat info
    {
    };
    bool ok = ::fstat(in, &info) == 0;
    off_t left = ok ? info.st_size : 0;
    while (ok && left > 0) {
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, size_t(left), 0);
        if (copied < 0 && errno == EINTR)
            continue;
        ok = copied > 0;
        left -= copied;
    }
    ok = ok && ::fdatasync(out) == 0;
    if (!ok)
        error = SystemError(to);
    ::close(in);
    ::close(out);
    return ok;
}

} // namespace

BenchDiaries::BenchDiaries() : dir_(QDir::tempPath() + QStringLiteral("/sorafumi-bench-XXXXXX"))
{
    instance = this;
}

BenchDiaries::~BenchDiaries()
{
    instance = nullptr;
}

BenchDiaries& BenchDiaries::Instance()
{
    return *instance;
}

QString BenchDiaries::Pristine(qint32 pages, QString& error)
{
    if (const auto known = pristine_.constFind(pages); known != pristine_.constEnd())
        return *known;
    for (const qint32 page : {1, 2, pages / 2, pages}) {
        error = DiaryGenerator::Check(qMax(1, page));
        if (!error.isEmpty())
            return {};
    }
    const QString path = dir_.filePath(QStringLiteral("DIARY%1.DAT").arg(pages));
    if (!DiaryGenerator::Write(path, pages)) {
        error = SystemError(path);
        return {};
    }
    pristine_.insert(pages, path);
    return path;
}

QString BenchDiaries::FreshCopy(qint32 pages, QString& error)
{
    const QString from = Pristine(pages, error);
    if (from.isEmpty())
        return {};
    const QString to = dir_.filePath(QStringLiteral("WORK%1.DAT").arg(pages));
    if (!CopyFile(from, to, error))
        return {};
    return to;
}

QString BenchDiaries::SharedCopy(qint32 pages, QString& error)
{
    return CopyOnce(shared_, pages, Pristine(pages, error), QStringLiteral("SHARED%1.DAT"), error);
}

QString BenchDiaries::CopyOnce(QHash<qint32, QString>& copies, qint32 pages, const QString& from, const QString& name,
                               QString& error)
{
    if (const auto known = copies.constFind(pages); known != copies.constEnd())
        return *known;
    if (from.isEmpty())
        return {};
    const QString to = dir_.filePath(name.arg(pages));
    if (!CopyFile(from, to, error))
        return {};
    copies.insert(pages, to);
    return to;
}

QString BenchDiaries::Encrypted(qint32 pages, QString& error)
{
    if (const auto known = encrypted_.constFind(pages); known != encrypted_.constEnd())
        return *known;
    const QString from = Pristine(pages, error);
    if (from.isEmpty())
        return {};
    const QString to = dir_.filePath(QStringLiteral("DIARY%1.sfk").arg(pages));
    RecordFile plain;
    QString recoveryCode;
    if (const FileError opened = plain.Open(from, DiaryPage::RecordLength)) {
        error = QStringLiteral("%1: error %2").arg(from).arg(opened.systemError);
        return {};
    }
    if (const CryptResult made = DiaryEncryption::Encrypt(plain, to, Password(), recoveryCode)) {
        error = QStringLiteral("%1: not encrypted (%2, error %3)").arg(to).arg(made.kind).arg(made.file.systemError);
        return {};
    }
    encrypted_.insert(pages, to);
    return to;
}

QString BenchDiaries::SharedEncryptedCopy(qint32 pages, QString& error)
{
    return CopyOnce(sharedEncrypted_, pages, Encrypted(pages, error), QStringLiteral("SHARED%1.sfk"), error);
}
