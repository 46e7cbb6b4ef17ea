#include "core/diary/SameDayReader.h"

#include "core/diary/DiaryPage.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/RecordFile.h"

#include <algorithm>

namespace {

// The body is read in pieces until its first line ends: most first lines are
// short, and the rest of a body of 10000 bytes is not needed.
constexpr int BodyPiece = 512;

const DiaryPage::Layout& Field(DiaryPage::Field field)
{
    return DiaryPage::Fields[field];
}

// The fields from the weekday to the weather lie back to back: one read.
constexpr int HeadOffset = DiaryPage::Fields[DiaryPage::PageWeekday].offset;
constexpr int HeadLength = DiaryPage::Fields[DiaryPage::PageBody].offset - HeadOffset;

QString HeadField(const QByteArray& head, DiaryPage::Field field)
{
    return Cp932::Decode(head.constData() + Field(field).offset - HeadOffset, Field(field).length);
}

// A line break byte is never the second byte of a double-byte character, so
// the bytes can be searched before they are decoded.
FileError ReadFirstLine(const RecordFile& file, qint32 page, QString& line)
{
    const DiaryPage::Layout& body = Field(DiaryPage::PageBody);
    QByteArray bytes;
    QByteArray piece;
    qsizetype end = -1;
    while (end < 0 && bytes.size() < body.length) {
        const int length = std::min(BodyPiece, body.length - int(bytes.size()));
        if (const FileError error = file.ReadPart(page, body.offset + int(bytes.size()), length, piece))
            return error;
        const qsizetype searched = bytes.size();
        bytes += piece;
        for (qsizetype i = searched; i < bytes.size() && end < 0; ++i)
            if (bytes[i] == '\r' || bytes[i] == '\n')
                end = i;
    }
    line = PageFields::TrimSpaces(Cp932::Decode(bytes.constData(), int(end < 0 ? bytes.size() : end)));
    return {};
}

FileError ReadShownFields(const RecordFile& file, SameDayPage& entry)
{
    QByteArray head;
    if (const FileError error = file.ReadPart(entry.page, HeadOffset, HeadLength, head))
        return error;
    entry.weekday = PageFields::TrimSpaces(HeadField(head, DiaryPage::PageWeekday));
    entry.weather = PageFields::TrimSpaces(HeadField(head, DiaryPage::PageWeather));
    entry.expense = PageFields::ShownExpense(HeadField(head, DiaryPage::PageExpense));
    return ReadFirstLine(file, entry.page, entry.firstLine);
}

} // namespace

bool SameDayReader::IsSameDay(QDate date, QDate shown)
{
    return date.isValid() && shown.isValid() && date.month() == shown.month() && date.day() == shown.day() &&
           date.year() != shown.year();
}

FileError SameDayReader::Read(const RecordFile& file, std::vector<SameDayPage>& pages)
{
    FileError error;
    for (auto entry = pages.begin(); !error && entry != pages.end(); ++entry)
        error = ReadShownFields(file, *entry);
    if (error) {
        pages.clear();
        return error;
    }
    std::stable_sort(pages.begin(), pages.end(),
                     [](const SameDayPage& a, const SameDayPage& b) { return a.date > b.date; });
    return {};
}
