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

// A page that would not come back as it is from its exported file, or that
// holds bytes another program cannot read, and why.
struct ExportFlaw
{
    enum Reason {
        NotACharacter = 1,   // bytes that are no character: replaced in UTF-8, unreadable elsewhere in CP932
        OtherCode = 2,       // a character with two codes in CP932 comes back from UTF-8 with the other
        BareLineFeed = 4,    // an LF without a CR in the text comes back as CR LF
        HeaderLineBreak = 8, // a line break in a header field ends its line early
    };
    qint32 page = 0;
    QString date;
    int reasons = 0; // Reason flags
    QString changed; // the characters that come back with another code, each once
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
        // Given the pages that would not come back exactly; true writes them anyway.
        std::function<bool(const std::vector<ExportFlaw>& flaws)> writeFlawed;
    };
    enum class Outcome { Written, NothingToWrite, Cancelled, Failed };
    struct Result
    {
        Outcome outcome = Outcome::Written;
        FileError error;
        // The final names of the pages' files written, without their folder:
        // on a failure, those already in place when it came.
        QStringList files;
    };

    static QString TempFolderName() { return QStringLiteral("~~Export~~.Tmp"); }
    // Written beside the text files: their names in the diary's order, which
    // is not always the order of their dates. Not a date, so never a page.
    static QString OrderFileName() { return QStringLiteral("page-order.lst"); }
    static Result Run(const RecordFile& diary, qint32 pageCount, const ExportRequest& request, const Hooks& hooks);

    // The text file of one page record, as its encoding's bytes, with what
    // would not come back as it is flagged in `flaw`.
    static QByteArray PageText(const QByteArray& record, ExportRequest::Encoding encoding, ExportFlaw& flaw);
    // The name of a page's text file: the second page of a day gets "-2".
    static QString TextFileName(QDate date, int nthOfDay, qint32 page);
};
