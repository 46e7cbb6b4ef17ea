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
    // spaces, an expense above zero in its shown form, otherwise empty.
    static void RecordToFields(const DiaryPage& record, DiaryView& view);

    // Removes half-width spaces at both ends. Full-width spaces stay: they
    // indent the first line of a Japanese paragraph.
    static QString TrimSpaces(const QString& text);
};
