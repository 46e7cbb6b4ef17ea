#include "core/diary/DateField.h"

#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"

namespace {

// Digits, then the two bytes of a kanji; false when the bytes are not so.
bool TakeNumber(const char*& at, const char* end, int maxDigits, char kanji1, char kanji2, int& number)
{
    number = 0;
    int digits = 0;
    while (at < end && *at >= '0' && *at <= '9' && digits < maxDigits) {
        number = number * 10 + (*at - '0');
        ++at;
        ++digits;
    }
    if (digits == 0 || end - at < 2 || at[0] != kanji1 || at[1] != kanji2)
        return false;
    at += 2;
    return true;
}

} // namespace

QDate DateField::FromBytes(const char* bytes, int length)
{
    const char* at = bytes;
    const char* end = bytes + length;
    int year = 0;
    int month = 0;
    int day = 0;
    // 年 is 94 4E, 月 8C 8E and 日 93 FA in the diary's code page.
    if (TakeNumber(at, end, 4, '\x94', '\x4E', year) && TakeNumber(at, end, 2, '\x8C', '\x8E', month) &&
        TakeNumber(at, end, 2, '\x93', '\xFA', day)) {
        while (at < end && *at == ' ')
            ++at;
        if (at == end)
            return QDate(year, month, day);
    }
    return JapaneseLocale::ParseDate(PageFields::TrimSpaces(Cp932::Decode(bytes, length)));
}
