#pragma once

#include "core/diary/DiaryPage.h"

class DiaryView;

// The two conversions between a page record and the seven entry fields.
class PageFields
{
public:
    // Copies the entry fields into the record; the expense is normalised to
    // its stored form, "0" when the field does not hold a number.
    static void FieldsToRecord(const DiaryView& view, DiaryPage& record);
    // Fills the entry fields from the record: texts without surrounding
    // spaces, the expense as ShownExpense gives it.
    static void RecordToFields(const DiaryPage& record, DiaryView& view);
    // A stored expense in its shown form, "\1,500" or "(\200)"; empty for
    // zero and for a text that is no amount.
    static QString ShownExpense(const QString& stored);

    // Removes half-width spaces at both ends. Full-width spaces stay: they
    // indent the first line of a Japanese paragraph.
    static QString TrimSpaces(const QString& text);
};
