#include "core/stats/DiaryTotals.h"

#include "core/diary/DateField.h"
#include "core/diary/DiaryPage.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/Money.h"
#include "core/platform/RecordFile.h"
#include "core/stats/CharacterCount.h"

#include <QHash>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

const DiaryPage::Layout& Field(DiaryPage::Field field)
{
    return DiaryPage::Fields[field];
}

// The date, weekday and expense fields lie back to back: one read of them.
constexpr int HeadOffset = DiaryPage::Fields[DiaryPage::PageDate].offset;
constexpr int HeadLength =
    DiaryPage::Fields[DiaryPage::PageExpense].offset + DiaryPage::Fields[DiaryPage::PageExpense].length - HeadOffset;

// The writing figures read whole pages in runs of about a megabyte.
constexpr qint32 PagesPerRead = 100;

// Money::Parse on the decoded field; a diary holds few distinct amounts, so
// each stored text is parsed once.
class ExpenseReader
{
public:
    struct Amount
    {
        std::optional<qint64> value; // nothing when the text does not read as an amount
        QString text;                // without its padding
    };

    const Amount& Read(const char* field, int length)
    {
        const QByteArray key = QByteArray::fromRawData(field, length);
        auto found = parsed_.constFind(key);
        if (found == parsed_.constEnd()) {
            const QString text = PageFields::TrimSpaces(Cp932::Decode(field, length));
            // An empty field is nothing spent, not an unreadable amount.
            found = parsed_.insert(QByteArray(field, length),
                                   {text.isEmpty() ? std::optional<qint64>(0) : Money::Parse(text), text});
        }
        return *found;
    }

private:
    QHash<QByteArray, Amount> parsed_;
};

// The figure of the date's month, made where the year has none yet.
template <typename Value> Value& MonthOf(QMap<int, std::array<Value, 12>>& years, QDate date)
{
    int year = 0;
    int month = 0;
    date.getDate(&year, &month, nullptr);
    auto found = years.find(year);
    if (found == years.end())
        found = years.insert(year, std::array<Value, 12>{});
    return (*found)[size_t(month - 1)];
}

// Half away from zero, as money is rounded everywhere.
Money::Sum DivideRounded(Money::Sum amount, Money::Sum divisor)
{
    const Money::Sum whole = amount / divisor;
    const Money::Sum rest = amount % divisor;
    if (2 * (rest < 0 ? -rest : rest) >= divisor)
        return whole + (amount < 0 ? -1 : 1);
    return whole;
}

// The most days in a row among `days` (in order, each once) that `counts`.
template <typename Counts> int LongestRun(const QList<QDate>& days, Counts counts)
{
    int longest = 0;
    int run = 0;
    qint64 previous = 0;
    for (const QDate& day : days) {
        if (!counts(day))
            continue;
        run = run > 0 && day.toJulianDay() == previous + 1 ? run + 1 : 1;
        previous = day.toJulianDay();
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

QList<int> ExpenseTotals::Years() const
{
    return months.keys();
}

Money::Sum ExpenseTotals::YearTotal(int year) const
{
    const std::array<qint64, 12> sums = months.value(year);
    return std::accumulate(sums.begin(), sums.end(), Money::Sum(0));
}

Money::Sum ExpenseTotals::MonthlyAverage(int year) const
{
    const std::array<qint32, 12> counts = pages.value(year);
    const auto withPages = std::count_if(counts.begin(), counts.end(), [](qint32 count) { return count > 0; });
    return withPages == 0 ? 0 : DivideRounded(YearTotal(year), withPages);
}

int WritingTotals::LongestStreak(int year) const
{
    return LongestRun(days, [year](QDate day) { return day.year() == year; });
}

int WritingTotals::LongestStreak() const
{
    return LongestRun(days, [](QDate) { return true; });
}

int WritingTotals::DaysWithoutPage(int year, QDate today) const
{
    if (year > today.year())
        return 0;
    const QDate first(year, 1, 1);
    const QDate last = year == today.year() ? today : QDate(year, 12, 31);
    const auto withPage =
        std::count_if(days.begin(), days.end(), [&](QDate day) { return day >= first && day <= last; });
    return int(first.daysTo(last) + 1 - withPage);
}

FileError DiaryTotals::ReadExpenses(const RecordFile& file, qint32 pageCount, ExpenseTotals& totals)
{
    totals = {};
    const DiaryPage::Layout& date = Field(DiaryPage::PageDate);
    const DiaryPage::Layout& expense = Field(DiaryPage::PageExpense);
    ExpenseReader reader;
    QByteArray head;
    for (qint32 page = 1; page <= pageCount; ++page) {
        if (const FileError error = file.ReadPart(page, HeadOffset, HeadLength, head))
            return error;
        const QDate day = DateField::FromBytes(head.constData() + date.offset - HeadOffset, date.length);
        const ExpenseReader::Amount& amount =
            reader.Read(head.constData() + expense.offset - HeadOffset, expense.length);
        if (!day.isValid()) {
            if (!amount.value)
                totals.unreadable.append({page, day, amount.text});
            ++totals.undatedPages;
            continue;
        }
        // An amount the month's sum cannot hold, a slip of many digits, is
        // listed with the amounts that do not read rather than turn the sum
        // around.
        qint64& month = MonthOf(totals.months, day);
        qint64 sum = 0;
        if (!amount.value || __builtin_add_overflow(month, *amount.value, &sum))
            totals.unreadable.append({page, day, amount.text});
        else
            month = sum;
        ++MonthOf(totals.pages, day);
    }
    return {};
}

FileError DiaryTotals::ReadWriting(const RecordFile& file, qint32 pageCount, WritingTotals& totals)
{
    totals = {};
    const DiaryPage::Layout& date = Field(DiaryPage::PageDate);
    const DiaryPage::Layout& body = Field(DiaryPage::PageBody);
    std::vector<qint64> days;
    QByteArray pages;
    for (qint32 first = 1; first <= pageCount; first += PagesPerRead) {
        const qint32 count = std::min(PagesPerRead, pageCount - first + 1);
        if (const FileError error = file.ReadRecords(first, count, pages))
            return error;
        for (qint32 i = 0; i < count; ++i) {
            const char* record = pages.constData() + qint64(i) * DiaryPage::RecordLength;
            const QDate day = DateField::FromBytes(record + date.offset, date.length);
            if (!day.isValid()) {
                ++totals.undatedPages;
                continue;
            }
            MonthWriting& month = MonthOf(totals.months, day);
            ++month.pages;
            month.characters += CharacterCount::OfBytes(record + body.offset, body.length);
            days.push_back(day.toJulianDay());
        }
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    totals.days.reserve(qsizetype(days.size()));
    for (const qint64 day : days)
        totals.days.append(QDate::fromJulianDay(day));
    return {};
}
