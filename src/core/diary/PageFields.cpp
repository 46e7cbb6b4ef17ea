#include "core/diary/PageFields.h"

#include "core/diary/DiaryView.h"
#include "core/platform/Money.h"

namespace {

QString StoredExpense(const QString& entry)
{
    const std::optional<qint64> amount = Money::Parse(entry);
    return amount ? Money::FormatStored(*amount) : QStringLiteral("0");
}

} // namespace

QString PageFields::ShownExpense(const QString& stored)
{
    // A stored text that is not a number or does not fit cannot come from this
    // program; it shows as an empty field like an amount of zero. A negative
    // amount shows as it did when it was typed: shown empty, it would be
    // stored as 0 with the page's next change.
    const std::optional<qint64> amount = Money::Parse(stored);
    return amount && *amount != 0 ? Money::FormatShown(*amount) : QString();
}

QString PageFields::TrimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

void PageFields::FieldsToRecord(const DiaryView& view, DiaryPage& record)
{
    for (const DiaryPage::Layout& layout : DiaryPage::Fields)
        record.Assign(layout.field, view.FieldText(layout.entryField));
    record.Assign(DiaryPage::PageExpense, StoredExpense(view.FieldText(EntryField::Expense)));
}

void PageFields::RecordToFields(const DiaryPage& record, DiaryView& view)
{
    for (const DiaryPage::Layout& layout : DiaryPage::Fields) {
        const QString& text = record.Text(layout.field);
        view.SetFieldText(layout.entryField,
                          layout.field == DiaryPage::PageExpense ? ShownExpense(text) : TrimSpaces(text));
    }
}
