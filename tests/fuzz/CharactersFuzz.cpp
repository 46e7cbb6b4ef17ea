// Any body: the characters counted on its stored bytes are the characters of
// the text the bytes decode to.

#include "FuzzCheck.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/Cp932.h"
#include "core/stats/CharacterCount.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Padded with spaces to the body's length, as the file holds it.
    const int length = DiaryPage::Fields[DiaryPage::PageBody].length;
    QByteArray body = FuzzBytes(data, size).left(length);
    body.append(length - body.size(), ' ');
    FUZZ_CHECK(CharacterCount::OfBytes(body.constData(), length) == CharacterCount::OfText(Cp932::Decode(body)));
    return 0;
}
