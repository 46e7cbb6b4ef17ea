// Any 10090 bytes read as a page: both field conversions keep every field its
// declared size, a page saved unchanged shows the same texts again, and the
// quick date reading agrees with the date box.

#include "FakeDiaryView.h"
#include "FuzzCheck.h"
#include "core/diary/DateField.h"
#include "core/diary/DiaryPage.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"

namespace {

QByteArray AsRecord(const uint8_t* data, size_t size)
{
    QByteArray record = FuzzBytes(data, qMin<size_t>(size, DiaryPage::RecordLength));
    record.append(DiaryPage::RecordLength - record.size(), ' ');
    return record;
}

void CheckSizes(const DiaryPage& page)
{
    for (const DiaryPage::Layout& layout : DiaryPage::Fields)
        FUZZ_CHECK(page.Text(layout.field).size() == layout.length);
    FUZZ_CHECK(page.ToBytes().size() == DiaryPage::RecordLength);
}

// Shown, saved and read back, as a page opened and saved without a change.
FakeDiaryView ShowSaveAndShow(const DiaryPage& page, DiaryPage& saved)
{
    FakeDiaryView first;
    PageFields::RecordToFields(page, first);
    PageFields::FieldsToRecord(first, saved);
    FakeDiaryView second;
    PageFields::RecordToFields(DiaryPage::FromBytes(saved.ToBytes()), second);
    return second;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray record = AsRecord(data, size);
    const DiaryPage page = DiaryPage::FromBytes(record);
    CheckSizes(page);

    DiaryPage saved;
    const FakeDiaryView once = ShowSaveAndShow(page, saved);
    CheckSizes(saved);
    DiaryPage savedAgain;
    const FakeDiaryView twice = ShowSaveAndShow(DiaryPage::FromBytes(saved.ToBytes()), savedAgain);
    // Whatever the first save made of odd bytes, saving again changes nothing.
    FUZZ_CHECK(once.fields == twice.fields);
    FUZZ_CHECK(saved.ToBytes() == savedAgain.ToBytes());

    const DiaryPage::Layout& date = DiaryPage::Fields[DiaryPage::PageDate];
    const QString dateText = PageFields::TrimSpaces(DiaryPage::FieldFromBytes(record, DiaryPage::PageDate));
    FUZZ_CHECK(DateField::FromBytes(record.constData() + date.offset, date.length) ==
               JapaneseLocale::ParseDate(dateText));
    return 0;
}
