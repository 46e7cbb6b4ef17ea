// Any text in the date box: a date read from it is written back in both of
// the program's forms and read again as the same day, and the quick reading
// of a page's date bytes agrees with the box.

#include "FuzzCheck.h"
#include "core/diary/DateField.h"
#include "core/diary/DiaryPage.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(FuzzBytes(data, size));
    const QDate date = JapaneseLocale::ParseDate(text);
    if (date.isValid()) {
        FUZZ_CHECK(JapaneseLocale::ParseDate(JapaneseLocale::FormatDate(date)) == date);
        FUZZ_CHECK(JapaneseLocale::ParseDate(JapaneseLocale::FormatShortDate(date)) == date);
    }

    const int length = DiaryPage::Fields[DiaryPage::PageDate].length;
    const QByteArray field = Cp932::EncodeField(text, length);
    FUZZ_CHECK(field.size() == length);
    FUZZ_CHECK(DateField::FromBytes(field.constData(), length) ==
               JapaneseLocale::ParseDate(PageFields::TrimSpaces(Cp932::Decode(field))));
    return 0;
}
