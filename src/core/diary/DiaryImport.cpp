#include "core/diary/DiaryImport.h"

#include "core/diary/DateField.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
    struct Found
    {
        ImportedPage page;
        int nth;
    };
    std::vector<Found> found;
    for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            plan.refused << name + QStringLiteral(": 読み込めません");
            continue;
        }
        ImportedPage page{name, {}, {}};
        QString refusal;
        if (ToRecord(file.readAll(), encoding, page, plan.cut, refusal))
            found.push_back({page, NthOfDay(name)});
        else
            plan.refused << name + QStringLiteral(": ") + refusal;
    }
    // Pages of one day keep the order of their numbers; pages without a date go last.
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.page.date.isValid() != b.page.date.isValid())
            return a.page.date.isValid();
        return a.page.date != b.page.date ? a.page.date < b.page.date : a.nth < b.nth;
    });
    for (Found& entry : found) {
        if (entry.page.date.isValid()) {
            plan.first = plan.first.isValid() ? std::min(plan.first, entry.page.date) : entry.page.date;
            plan.last = plan.last.isValid() ? std::max(plan.last, entry.page.date) : entry.page.date;
        }
        plan.pages.push_back(std::move(entry.page));
    }
    return {};
}
