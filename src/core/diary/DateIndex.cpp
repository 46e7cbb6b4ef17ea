#include "core/diary/DateIndex.h"

#include "core/diary/DateField.h"
#include "core/diary/DateScan.h"
#include "core/diary/DiaryPage.h"

#include <QtEndian>
#include <algorithm>

namespace {

// Year, month and day in fields of their own: a month's pages or a day of
// every year are found by comparing bits. Years run from 1 to 9999, as a
// date field can name them, and no date packs to 0.
constexpr int DayBits = 5;
constexpr int MonthBits = 4;
constexpr quint32 DayMask = (1u << DayBits) - 1;
constexpr quint32 MonthDayMask = (1u << (DayBits + MonthBits)) - 1;

} // namespace

quint32 DateIndex::Pack(QDate date)
{
    if (!date.isValid() || date.year() < 1)
        return 0;
    return quint32(date.year()) << (DayBits + MonthBits) | quint32(date.month()) << DayBits | quint32(date.day());
}

QDate DateIndex::Unpack(quint32 day)
{
    return QDate(int(day >> (DayBits + MonthBits)), int(day >> DayBits & ((1u << MonthBits) - 1)), int(day & DayMask));
}

quint32 DateIndex::DayOfRecord(const char* record)
{
    const DiaryPage::Layout& field = DiaryPage::Fields[DiaryPage::PageDate];
    return Pack(DateField::FromBytes(record + field.offset, field.length));
}

FileError DateIndex::Build(const RecordFile& file, qint32 pageCount)
{
    Forget();
    days_.reserve(size_t(pageCount));
    const FileError error = DateScan::Each(file, pageCount, [this](qint32, QDate date) {
        days_.push_back(Pack(date));
        return true;
    });
    if (error) {
        Forget();
        return error;
    }
    built_ = true;
    return {};
}

void DateIndex::Forget()
{
    built_ = false;
    std::vector<quint32>().swap(days_);
}

QByteArray DateIndex::Days() const
{
    QByteArray bytes(qsizetype(days_.size() * sizeof(quint32)), Qt::Uninitialized);
    qToLittleEndian<quint32>(days_.data(), qsizetype(days_.size()), bytes.data());
    return bytes;
}

bool DateIndex::TakeDays(const QByteArray& days, qint32 pageCount)
{
    Forget();
    if (pageCount < 0 || days.size() != qsizetype(pageCount) * qsizetype(sizeof(quint32)))
        return false;
    days_.resize(size_t(pageCount));
    qFromLittleEndian<quint32>(days.constData(), pageCount, days_.data());
    built_ = true;
    return true;
}

void DateIndex::PageWritten(qint32 page, const QByteArray& record)
{
    if (!built_)
        return;
    if (page >= 1 && page <= qint32(days_.size()))
        days_[size_t(page - 1)] = DayOfRecord(record.constData());
    else if (page == qint32(days_.size()) + 1)
        days_.push_back(DayOfRecord(record.constData()));
    else
        Forget();
}

void DateIndex::Rewritten(qint32 keep, qint32 drop, const QByteArray& appended)
{
    if (!built_)
        return;
    if (keep > qint32(days_.size())) {
        Forget();
        return;
    }
    days_.resize(size_t(keep));
    if (drop >= 1 && drop <= keep)
        days_.erase(days_.begin() + (drop - 1));
    for (qsizetype at = 0; at + DiaryPage::RecordLength <= appended.size(); at += DiaryPage::RecordLength)
        days_.push_back(DayOfRecord(appended.constData() + at));
}

qint32 DateIndex::FirstPageOf(QDate date) const
{
    const quint32 wanted = Pack(date);
    if (wanted == 0)
        return 0;
    const auto found = std::find(days_.begin(), days_.end(), wanted);
    return found == days_.end() ? 0 : qint32(found - days_.begin()) + 1;
}

QList<qint32> DateIndex::PagesOf(QDate date) const
{
    QList<qint32> pages;
    const quint32 wanted = Pack(date);
    for (size_t index = 0; wanted != 0 && index < days_.size(); ++index)
        if (days_[index] == wanted)
            pages << qint32(index) + 1;
    return pages;
}

QList<int> DateIndex::DaysOf(int year, int month) const
{
    const quint32 wanted = Pack(QDate(year, month, 1)) >> DayBits;
    quint32 found = 0; // bit N: day N has a page
    if (wanted != 0)
        for (const quint32 day : days_)
            if (day >> DayBits == wanted)
                found |= 1u << (day & DayMask);
    QList<int> days;
    for (int day = 1; day <= 31; ++day)
        if (found & 1u << day)
            days.append(day);
    return days;
}

std::vector<SameDayPage> DateIndex::SameDayAs(QDate shown) const
{
    std::vector<SameDayPage> pages;
    const quint32 wanted = Pack(shown);
    if (wanted == 0)
        return pages;
    for (size_t at = 0; at < days_.size(); ++at)
        if ((days_[at] & MonthDayMask) == (wanted & MonthDayMask) && days_[at] != wanted)
            pages.push_back({qint32(at) + 1, Unpack(days_[at]), {}, {}, {}, {}});
    return pages;
}
