#include "core/sync/ConflictCopies.h"

#include "core/platform/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace {

struct NamePattern
{
    ConflictCopy::Tool tool;
    QString pattern; // %1 the name, %2 the ending with its dot; the date and time captured
    QString dateFormat;
};

const NamePattern Patterns[] = {
    {ConflictCopy::Tool::Syncthing, QStringLiteral("%1\\.sync-conflict-(\\d{8}-\\d{6})-[A-Z0-9]+%2"),
     QStringLiteral("yyyyMMdd-HHmmss")},
    {ConflictCopy::Tool::Nextcloud, QStringLiteral("%1 \\(conflicted copy (\\d{4}-\\d{2}-\\d{2} \\d{6})\\)%2"),
     QStringLiteral("yyyy-MM-dd HHmmss")},
    // Dropbox names the computer or the user before; a second copy of the
    // same day gets a number after.
    {ConflictCopy::Tool::Dropbox,
     QStringLiteral("%1 \\(.+ conflicted copy (\\d{4}-\\d{2}-\\d{2})(?: \\(\\d+\\))?\\)%2"),
     QStringLiteral("yyyy-MM-dd")},
};

// The diary's name split as the sync tools split it: at the last dot.
struct NameParts
{
    QString name;
    QString ending; // with its dot; empty for a name without one
};

NameParts Split(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return {fileName, QString()};
    return {fileName.left(dot), fileName.mid(dot)};
}

std::optional<ConflictCopy> Recognise(const NameParts& diary, const QString& fileName)
{
    for (const NamePattern& pattern : Patterns) {
        const QRegularExpression expression(QRegularExpression::anchoredPattern(
            pattern.pattern.arg(QRegularExpression::escape(diary.name), QRegularExpression::escape(diary.ending))));
        const QRegularExpressionMatch match = expression.match(fileName);
        if (!match.hasMatch())
            continue;
        const QDateTime written = QDateTime::fromString(match.captured(1), pattern.dateFormat);
        // A name with a day that never was is no sync tool's.
        if (written.isValid())
            return ConflictCopy{QString(), pattern.tool, written};
    }
    return std::nullopt;
}

} // namespace

std::vector<ConflictCopy> ConflictCopies::Beside(const QString& diaryPath)
{
    const QFileInfo diary(diaryPath);
    const NameParts parts = Split(diary.fileName());
    const QDir folder = diary.absoluteDir();
    std::vector<ConflictCopy> copies;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        std::optional<ConflictCopy> copy = Recognise(parts, name);
        if (!copy)
            continue;
        copy->path = folder.filePath(name);
        // Another user's file, or one that is no longer a plain file of the
        // user's own, is never read.
        if (!QFileInfo(copy->path).isFile() || SafeFile::IsForeign(copy->path))
            continue;
        copies.push_back(*copy);
    }
    std::sort(copies.begin(), copies.end(), [](const ConflictCopy& a, const ConflictCopy& b) {
        return a.written != b.written ? a.written < b.written : a.path < b.path;
    });
    return copies;
}
