#include "core/transfer/DiaryExport.h"

#include "core/diary/DateScan.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"
#include "core/platform/RecordFile.h"
#include "core/platform/SafeFile.h"
#include "core/transfer/RoundTripCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <cstdio>

namespace {

struct Selected
{
    qint32 page;
    QDate date;
    QString name; // the text file's name; empty for HTML
};

// The progress is told this often: often enough to move, rarely enough to cost nothing.
constexpr qint32 ProgressStep = 64;
// The HTML is written in pieces of about this size.
constexpr qsizetype HtmlPiece = 1 << 20;

// The header lines of a text file, in the order a reader expects them.
struct HeaderLine
{
    const char* label;
    DiaryPage::Field field;
};
constexpr HeaderLine Header[] = {
    {"日付:", DiaryPage::PageDate},    {"曜日:", DiaryPage::PageWeekday}, {"時間:", DiaryPage::PageTime},
    {"天候:", DiaryPage::PageWeather}, {"出費:", DiaryPage::PageExpense}, {"署名:", DiaryPage::PageSignature},
};

// A field's stored bytes without the spaces that pad it. A space byte is
// never the second byte of a double-byte character, so this never splits one.
QByteArray StoredBytes(const QByteArray& record, DiaryPage::Field field)
{
    const DiaryPage::Layout& layout = DiaryPage::Fields[field];
    int length = layout.length;
    while (length > 0 && record[layout.offset + length - 1] == ' ')
        --length;
    return record.mid(layout.offset, length);
}

// A field's bytes in the export's encoding, checked on the way.
QByteArray Encoded(const QByteArray& stored, ExportRequest::Encoding encoding, RoundTripCheck& check, bool body)
{
    const QString text = Cp932::Decode(stored);
    if (body)
        check.Body(stored, text);
    else
        check.Header(stored, text);
    // The diary's own bytes are already code page 932, and copied as they are.
    return encoding == ExportRequest::Encoding::Cp932 ? stored : text.toUtf8();
}

void Note(ExportFlaw& flaw, const RoundTripCheck& check)
{
    flaw.reasons |= check.Reasons();
    flaw.changed += check.Changed();
}

QByteArray Label(const char* utf8, ExportRequest::Encoding encoding)
{
    return encoding == ExportRequest::Encoding::Cp932 ? Cp932::Encode(QString::fromUtf8(utf8)) : QByteArray(utf8);
}

// Every character HTML reads as markup. In both encodings these bytes are
// never part of a double-byte character, so the bytes are escaped as they are.
QByteArray Escaped(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

const char HtmlStyle[] =
    "body{font-family:\"Noto Serif CJK JP\",\"Yu Mincho\",\"Hiragino Mincho ProN\",serif;line-height:1.8;"
    "color:#222;background:#fdfcf8;max-width:42em;margin:2em auto;padding:0 1em}\n"
    "article{border-bottom:1px solid #ddd;padding:1.2em 0}\n"
    "h2{font-size:1.25em;margin:0 0 .2em}\n"
    ".meta{color:#666;font-size:.9em;margin:0 0 .8em}\n"
    ".meta span{margin-right:1.5em}\n"
    ".body{white-space:pre-wrap;overflow-wrap:anywhere}\n"
    "@media print{body{background:none;max-width:none;margin:0}"
    "article{border:none;break-after:page;page-break-after:always}"
    "article:last-child{break-after:auto;page-break-after:auto}}\n";

QByteArray HtmlStart(ExportRequest::Encoding encoding)
{
    const QByteArray charset = encoding == ExportRequest::Encoding::Cp932 ? "Shift_JIS" : "UTF-8";
    return "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"" + charset + "\">\n<title>" +
           Label("日記帳", encoding) + "</title>\n<style>\n" + HtmlStyle + "</style>\n</head>\n<body>\n";
}

QByteArray HtmlPage(const QByteArray& record, ExportRequest::Encoding encoding, ExportFlaw& flaw)
{
    // The HTML is read by people, not by the import: only what is no character is named.
    RoundTripCheck check(encoding, false);
    const auto field = [&](DiaryPage::Field f) {
        return Escaped(Encoded(StoredBytes(record, f), encoding, check, f == DiaryPage::PageBody));
    };
    QByteArray out = "<article>\n<h2>" + field(DiaryPage::PageDate) + ' ' + field(DiaryPage::PageWeekday) +
                     "</h2>\n<p class=\"meta\">";
    for (const HeaderLine& line : Header) {
        if (line.field == DiaryPage::PageDate || line.field == DiaryPage::PageWeekday)
            continue;
        out += "<span>" + Label(line.label, encoding) + field(line.field) + "</span>";
    }
    out += "</p>\n<div class=\"body\">" + field(DiaryPage::PageBody) + "</div>\n</article>\n";
    Note(flaw, check);
    return out;
}

// The temporary folder is flushed at once when every file is in it.
FileError WriteNewFile(const QString& path, const QByteArray& bytes)
{
    return SafeFile::WriteNew(path, bytes, SafeFile::Durability::FlushLater);
}

QString Day(QDate date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

// The pages in the range, in file order, each with its text file's name.
FileError Select(const RecordFile& diary, qint32 pageCount, const ExportRequest& request, std::vector<Selected>& pages)
{
    const bool whole = !request.from.isValid() && !request.to.isValid();
    QHash<QDate, int> perDay;
    return DateScan::Each(diary, pageCount, [&](qint32 page, QDate date) {
        const bool inRange = date.isValid() && (!request.from.isValid() || date >= request.from) &&
                             (!request.to.isValid() || date <= request.to);
        if (whole || inRange) {
            const int nth = date.isValid() ? ++perDay[date] : 1;
            pages.push_back({page, date, DiaryExport::TextFileName(date, nth, page)});
        }
        return true;
    });
}

QString HtmlFileName(const std::vector<Selected>& pages)
{
    QDate first;
    QDate last;
    for (const Selected& page : pages) {
        if (!page.date.isValid())
            continue;
        if (!first.isValid() || page.date < first)
            first = page.date;
        if (!last.isValid() || page.date > last)
            last = page.date;
    }
    if (!first.isValid())
        return QStringLiteral("diary.html");
    return Day(first) + QLatin1Char('_') + Day(last) + QStringLiteral(".html");
}

// The text files' names in the diary's order, one a line: the import keeps it.
QByteArray OrderList(const std::vector<Selected>& pages)
{
    QByteArray list;
    for (const Selected& page : pages)
        list += page.name.toUtf8() + "\r\n";
    return list;
}

} // namespace

QString DiaryExport::TextFileName(QDate date, int nthOfDay, qint32 page)
{
    if (!date.isValid())
        return QStringLiteral("page-%1.txt").arg(page, 5, 10, QLatin1Char('0'));
    return Day(date) + (nthOfDay > 1 ? QStringLiteral("-%1").arg(nthOfDay) : QString()) + QStringLiteral(".txt");
}

QByteArray DiaryExport::PageText(const QByteArray& record, ExportRequest::Encoding encoding, ExportFlaw& flaw)
{
    RoundTripCheck check(encoding, true);
    QByteArray out;
    out.reserve(DiaryPage::RecordLength);
    for (const HeaderLine& line : Header)
        out += Label(line.label, encoding) + Encoded(StoredBytes(record, line.field), encoding, check, false) + "\r\n";
    out += "\r\n" + Encoded(StoredBytes(record, DiaryPage::PageBody), encoding, check, true);
    Note(flaw, check);
    return out;
}

DiaryExport::Result DiaryExport::Run(const RecordFile& diary, qint32 pageCount, const ExportRequest& request,
                                     const Hooks& hooks)
{
    std::vector<Selected> pages;
    if (const FileError error = Select(diary, pageCount, request, pages))
        return {Outcome::Failed, error, {}};
    if (pages.empty())
        return {Outcome::NothingToWrite, {}, {}};

    const bool html = request.format == ExportRequest::Format::Html;
    QStringList names;
    if (html)
        names << HtmlFileName(pages);
    else
        for (const Selected& page : pages)
            names << page.name;
    const QDir folder(request.folder);
    if (!folder.exists())
        return {Outcome::Failed, {FileError::PathNotFound, ENOENT}, {}};
    // The order file is the export's own, rewritten by each: it is not asked about.
    QStringList existing;
    for (const QString& name : names)
        if (QFileInfo::exists(folder.filePath(name)))
            existing << name;
    if (!existing.isEmpty() && !(hooks.replace && hooks.replace(existing)))
        return {Outcome::Cancelled, {}, {}};

    // The user's own folder: what another user left under its name, a link
    // to a folder of theirs above all, is left alone.
    QString made;
    if (const FileError error = SafeFile::MakeFolder(folder.filePath(TempFolderName()), made))
        return {Outcome::Failed, error, {}};
    const QDir temp(made);
    const auto fail = [&temp](Outcome outcome, FileError error) {
        SafeFile::RemoveOwn(temp.path());
        return Result{outcome, error, {}};
    };

    std::vector<ExportFlaw> flaws;
    QByteArray record;
    QByteArray htmlBytes = html ? HtmlStart(request.encoding) : QByteArray();
    SafeFile htmlFile;
    if (html)
        if (const FileError error = htmlFile.Create(temp.filePath(names.first()), SafeFile::IfTaken::Fail))
            return fail(Outcome::Failed, error);
    const qint32 total = qint32(pages.size());
    for (qint32 i = 0; i < total; ++i) {
        if (i % ProgressStep == 0 && hooks.progress && !hooks.progress(i, total)) {
            htmlFile.Close();
            return fail(Outcome::Cancelled, {});
        }
        const Selected& page = pages[size_t(i)];
        FileError error = diary.ReadRecord(page.page, record);
        ExportFlaw flaw{page.page, {}, 0, {}};
        if (!error && html) {
            htmlBytes += HtmlPage(record, request.encoding, flaw);
            if (htmlBytes.size() >= HtmlPiece) {
                error = htmlFile.Write(htmlBytes);
                htmlBytes.clear();
            }
        } else if (!error) {
            error = WriteNewFile(temp.filePath(page.name), PageText(record, request.encoding, flaw));
        }
        if (error) {
            htmlFile.Close();
            return fail(Outcome::Failed, error);
        }
        if (flaw.reasons) {
            flaw.date = Cp932::Decode(StoredBytes(record, DiaryPage::PageDate));
            flaws.push_back(flaw);
        }
    }
    if (html) {
        htmlBytes += "</body>\n</html>\n";
        FileError error = htmlFile.Write(htmlBytes);
        if (const FileError closed = htmlFile.Close(); !error)
            error = closed;
        if (error)
            return fail(Outcome::Failed, error);
    }
    QStringList toMove = names;
    if (!html) {
        // Named last, so that an order file in place means every page before it is.
        toMove << OrderFileName();
        if (const FileError error = WriteNewFile(temp.filePath(OrderFileName()), OrderList(pages)))
            return fail(Outcome::Failed, error);
    }
    if (hooks.progress && !hooks.progress(total, total))
        return fail(Outcome::Cancelled, {});
    if (!flaws.empty() && !(hooks.writeFlawed && hooks.writeFlawed(flaws)))
        return fail(Outcome::Cancelled, {});
    if (const FileError error = SafeFile::FlushFileSystemOf(temp.path()))
        return fail(Outcome::Failed, error);

    QStringList moved;
    for (const QString& name : toMove) {
        const QByteArray from = QFile::encodeName(temp.filePath(name));
        const QByteArray to = QFile::encodeName(folder.filePath(name));
        if (::rename(from.constData(), to.constData()) != 0) {
            // The files moved already are whole: they stay, and are named.
            Result result = fail(Outcome::Failed, FileError::FromErrno(errno));
            SafeFile::FlushFolder(folder.path());
            result.files = moved;
            return result;
        }
        if (name != OrderFileName())
            moved << name;
    }
    SafeFile::RemoveOwn(temp.path());
    // Whole, but not yet sure to stay in the folder after a power cut.
    if (const FileError error = SafeFile::FlushFolder(folder.path()))
        return {Outcome::Failed, error, moved};
    return {Outcome::Written, {}, names};
}
