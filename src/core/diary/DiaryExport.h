#pragma once

#include "core/platform/FileError.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class RecordFile;

// What to write out of the diary, and where.
struct ExportRequest
{
    enum class Format { Text, Html };
    enum class Encoding { Utf8, Cp932 };
    QDate from; // invalid: from the first page on
    QDate to;   // invalid: to the last page
    Format format = Format::Text;
    Encoding encoding = Encoding::Utf8;
    QString folder;
};

// A page whose bytes hold something that is not a character: the export
// would have to write a replacement for it.
struct ExportFlaw
{
    qint32 page = 0;
    QString date;
};

// Writes pages of the diary out as text files, one a page, or as one HTML
// file, reading the pages straight from the file and never writing to it.
// Everything is written under a temporary folder in the target folder, flushed,
// and only then moved to its final name, so a failure or a cancel leaves no
// half-written file under a final name.
class DiaryExport
{
public:
    struct Hooks
    {
        // Given the pages done and the pages in all; false cancels.
        std::function<bool(qint32 done, qint32 total)> progress;
        // Given the files that exist already; true lets them be replaced.
        std::function<bool(const QStringList& existing)> replace;
        // Given the pages that cannot be written exactly; true writes them anyway.
        std::function<bool(const std::vector<ExportFlaw>& flaws)> writeFlawed;
    };
    enum class Outcome { Written, NothingToWrite, Cancelled, Failed };
    struct Result
    {
        Outcome outcome = Outcome::Written;
        FileError error;
        // The final names written, without their folder: on a failure, those
        // already in place when it came.
        QStringList files;
    };

    static QString TempFolderName() { return QStringLiteral("~~Export~~.Tmp"); }
    static Result Run(const RecordFile& diary, qint32 pageCount, const ExportRequest& request, const Hooks& hooks);

    // The text file of one page record, as its encoding's bytes, and whether
    // every byte of the record was a character.
    static QByteArray PageText(const QByteArray& record, ExportRequest::Encoding encoding, bool& exact);
    // The name of a page's text file: the second page of a day gets "-2".
    static QString TextFileName(QDate date, int nthOfDay, qint32 page);
};
