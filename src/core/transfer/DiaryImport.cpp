#include "core/transfer/DiaryImport.h"

#include "core/diary/DateField.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"
#include "core/platform/RegularFileRead.h"
#include "core/transfer/DiaryExport.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>

namespace {

struct HeaderLine
{
    const char* label;
    const char* name; // as a list of cut fields names it
    DiaryPage::Field field;
};
constexpr HeaderLine Header[] = {
    {"日付:", "日付", DiaryPage::PageDate},    {"曜日:", "曜日", DiaryPage::PageWeekday},
    {"時間:", "時間", DiaryPage::PageTime},    {"天候:", "天候", DiaryPage::PageWeather},
    {"出費:", "出費", DiaryPage::PageExpense}, {"署名:", "署名", DiaryPage::PageSignature},
};

bool IsUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// The file's text as the diary's bytes; false when a character has no such form.
bool DiaryBytes(const QByteArray& text, DiaryImport::Encoding encoding, QByteArray& bytes)
{
    if (encoding == DiaryImport::Encoding::Cp932 || (encoding == DiaryImport::Encoding::Detect && !IsUtf8(text))) {
        bytes = text;
        return true;
    }
    const QString decoded = QString::fromUtf8(text);
    bytes = Cp932::Encode(decoded);
    return Cp932::Decode(bytes) == decoded;
}

// The length of the longest start of `bytes` within `limit` that ends on a
// character's boundary.
int FittingLength(const QByteArray& bytes, int limit)
{
    int at = 0;
    while (at < bytes.size()) {
        const int width = Cp932::IsLeadByte(uchar(bytes[at])) ? 2 : 1;
        if (at + width > limit)
            break;
        at += width;
    }
    return at;
}

// Line breaks of other programs' files become the diary's CR LF.
QByteArray DiaryLineBreaks(const QByteArray& body)
{
    QByteArray out;
    out.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] == '\n' && (i == 0 || body[i - 1] != '\r'))
            out += '\r';
        out += body[i];
    }
    return out;
}

// The page of the day a file's name counts: 2 for YYYY-MM-DD-2.txt.
int NthOfDay(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}-(\\d+)\\.txt$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 1;
}

struct Found
{
    ImportedPage page;
    int nth;
};

// The largest text file the export writes for a page: six header lines
// (label, 15 stored bytes, CR LF), the empty line and the 10000-byte text,
// each stored byte taking at most three in UTF-8 (a half-width kana, or the
// replacement of a byte that is no character). Twice that leaves room for a
// file made by hand; anything larger is no page and is not read.
constexpr qint64 LargestExportedPage = 6 * (7 + 3 * 15 + 2) + 2 + 3 * 10000;
constexpr qint64 LargestPageFile = 2 * LargestExportedPage;
// An order file names each page in about 20 bytes: this holds a diary of
// hundreds of thousands of pages.
constexpr qint64 LargestOrderFile = 16 << 20;

QString Unread(const RegularFileRead& read)
{
    switch (read.outcome) {
    case RegularFileRead::Outcome::Link:
        return QStringLiteral("ｼﾝﾎﾞﾘｯｸﾘﾝｸは読みません");
    case RegularFileRead::Outcome::NotRegular:
        return QStringLiteral("通常のﾌｧｲﾙではないので読みません");
    case RegularFileRead::Outcome::TooLarge:
        return QStringLiteral("%1 ﾊﾞｲﾄあり、ﾍﾟｰｼﾞには大きすぎるので読みません").arg(read.size);
    default:
        return QStringLiteral("読み込めません");
    }
}

bool ReadPage(const QString& path, DiaryImport::Encoding encoding, ImportedPage& page, QStringList& cut,
              QString& refusal)
{
    const RegularFileRead read = ReadRegularFile(path, LargestPageFile);
    if (read.outcome != RegularFileRead::Outcome::Read) {
        refusal = Unread(read);
        return false;
    }
    return DiaryImport::ToRecord(read.bytes, encoding, page, cut, refusal);
}

// Pages of one day keep the order of their numbers; pages without a date go last.
void SortByDate(std::vector<Found>& found)
{
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.page.date.isValid() != b.page.date.isValid())
            return a.page.date.isValid();
        return a.page.date != b.page.date ? a.page.date < b.page.date : a.nth < b.nth;
    });
}

// The file names an order file lists, each once, in its order.
QStringList Listed(const QByteArray& bytes)
{
    QStringList names;
    QSet<QString> seen;
    for (const QByteArray& line : bytes.split('\n')) {
        const QString name = QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
        if (!name.isEmpty() && !seen.contains(name)) {
            seen.insert(name);
            names << name;
        }
    }
    return names;
}

// A folder the export wrote keeps the diary's order through its order file,
// when that names every page read; any other folder is put in date order.
void PutInOrder(const QDir& dir, const QStringList& names, std::vector<Found>& found, ImportPlan& plan)
{
    SortByDate(found);
    const QString orderName = DiaryExport::OrderFileName();
    const RegularFileRead read = ReadRegularFile(dir.filePath(orderName), LargestOrderFile);
    if (read.outcome == RegularFileRead::Outcome::Failed && read.error.systemError == ENOENT)
        return;
    plan.order = ImportPlan::Order::ByDateListUnusable;
    if (read.outcome != RegularFileRead::Outcome::Read) {
        plan.refused << orderName + QStringLiteral(": ") + Unread(read);
        return;
    }
    const QStringList listed = Listed(read.bytes);
    QHash<QString, qsizetype> position;
    for (const QString& name : listed)
        position.insert(name, position.size());
    for (const Found& entry : found)
        if (!position.contains(entry.page.file))
            plan.unlisted << entry.page.file;
    if (!plan.unlisted.isEmpty())
        return;
    std::stable_sort(found.begin(), found.end(), [&position](const Found& a, const Found& b) {
        return position.value(a.page.file) < position.value(b.page.file);
    });
    const QSet<QString> present(names.begin(), names.end());
    for (const QString& name : listed)
        if (!present.contains(name))
            plan.refused << name + QStringLiteral(": ") + orderName + QStringLiteral(" にありますが、見つかりません");
    plan.order = ImportPlan::Order::AsExported;
}

} // namespace

bool DiaryImport::ToRecord(const QByteArray& text, Encoding encoding, ImportedPage& page, QStringList& cut,
                           QString& refusal)
{
    QByteArray bytes;
    if (!DiaryBytes(text, encoding, bytes)) {
        refusal = QStringLiteral("日記に書けない文字があります");
        return false;
    }
    QByteArray record(DiaryPage::RecordLength, ' ');
    qsizetype at = 0;
    for (;;) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0) {
            refusal = QStringLiteral("見出しの後の空行がありません");
            return false;
        }
        const QByteArray line = bytes.mid(at, end - at).chopped(end > at && bytes[end - 1] == '\r' ? 1 : 0);
        at = end + 1;
        if (line.isEmpty())
            break;
        const HeaderLine* header = nullptr;
        for (const HeaderLine& known : Header)
            if (line.startsWith(Cp932::Encode(QString::fromUtf8(known.label))))
                header = &known;
        if (!header) {
            refusal = QStringLiteral("見出しの行が読めません: ") + Cp932::Decode(line);
            return false;
        }
        const DiaryPage::Layout& layout = DiaryPage::Fields[header->field];
        const QByteArray value = line.mid(Cp932::Encode(QString::fromUtf8(header->label)).size());
        const int length = FittingLength(value, layout.length);
        if (length < value.size())
            cut << page.file + QStringLiteral(": ") + QString::fromUtf8(header->name);
        record.replace(layout.offset, length, value.left(length));
    }
    const QByteArray body = DiaryLineBreaks(bytes.mid(at));
    const DiaryPage::Layout& layout = DiaryPage::Fields[DiaryPage::PageBody];
    if (body.size() > layout.length) {
        refusal = QStringLiteral("本文が %1 ﾊﾞｲﾄを超えています").arg(layout.length);
        return false;
    }
    record.replace(layout.offset, body.size(), body);
    const DiaryPage::Layout& date = DiaryPage::Fields[DiaryPage::PageDate];
    page.date = DateField::FromBytes(record.constData() + date.offset, date.length);
    page.record = record;
    return true;
}

FileError DiaryImport::Read(const QString& folder, Encoding encoding, ImportPlan& plan)
{
    plan = {};
    const QDir dir(folder);
    if (!dir.exists())
        return {FileError::PathNotFound, ENOENT};
    std::vector<Found> found;
    // System entries too: a pipe or a device under a page's name is listed as refused, not passed over.
    const QStringList names = dir.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::System, QDir::Name);
    for (const QString& name : names) {
        ImportedPage page{name, {}, {}};
        QString refusal;
        if (ReadPage(dir.filePath(name), encoding, page, plan.cut, refusal))
            found.push_back({page, NthOfDay(name)});
        else
            plan.refused << name + QStringLiteral(": ") + refusal;
    }
    PutInOrder(dir, names, found, plan);
    for (Found& entry : found) {
        if (entry.page.date.isValid()) {
            plan.first = plan.first.isValid() ? std::min(plan.first, entry.page.date) : entry.page.date;
            plan.last = plan.last.isValid() ? std::max(plan.last, entry.page.date) : entry.page.date;
        }
        plan.pages.push_back(std::move(entry.page));
    }
    return {};
}
