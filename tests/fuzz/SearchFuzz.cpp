// Any body and any search text: the search over the stored bytes finds a page
// exactly when the body the window would show holds the text, compared exactly
// or both folded.

#include "FakeDiaryView.h"
#include "FuzzCheck.h"
#include "core/diary/DiaryPage.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/RecordFile.h"
#include "core/search/BodySearch.h"
#include "core/search/JapaneseFold.h"

#include <QTemporaryDir>

namespace {

// The first byte tells how many of the next bytes are the search text, in the
// diary's code page; the rest is the body.
struct Input
{
    QString text;
    QByteArray record;
};

Input Split(const QByteArray& bytes)
{
    const int textLength = bytes.isEmpty() ? 0 : qMin<int>(uchar(bytes[0]) % 16, int(bytes.size()) - 1);
    Input input;
    input.text = Cp932::Decode(bytes.mid(1, textLength));
    const DiaryPage::Layout& body = DiaryPage::Fields[DiaryPage::PageBody];
    input.record = QByteArray(body.offset, ' ') + bytes.mid(1 + textLength, body.length);
    input.record.append(DiaryPage::RecordLength - input.record.size(), ' ');
    return input;
}

bool ShownBodyHolds(const QByteArray& record, const QString& text, BodySearch::Match match)
{
    FakeDiaryView view;
    PageFields::RecordToFields(DiaryPage::FromBytes(record), view);
    const QString body = view.FieldText(EntryField::Body);
    // An empty text is held by every body but an empty one.
    if (match == BodySearch::Match::Folded)
        return text.isEmpty() ? !body.isEmpty() : JapaneseFold::Fold(body).contains(JapaneseFold::Fold(text));
    return text.isEmpty() ? !body.isEmpty() : body.contains(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Input input = Split(FuzzBytes(data, size));
    // Bytes the code page does not know read as U+FFFD in the window; nobody
    // types that character to search for them.
    if (input.text.contains(QChar::ReplacementCharacter))
        return 0;

    static QTemporaryDir folder;
    static RecordFile file;
    if (!file.IsOpen())
        FUZZ_CHECK(!file.Open(folder.filePath(QStringLiteral("DIARY.DAT")), DiaryPage::RecordLength));
    FUZZ_CHECK(!file.WriteRecord(1, input.record));

    const QString wanted = BodySearch::StoredForm(input.text);
    for (const BodySearch::Match match : {BodySearch::Match::Exact, BodySearch::Match::Folded}) {
        qint32 found = -1;
        FUZZ_CHECK(!BodySearch::Find(file, wanted, 1, 1, found, match));
        FUZZ_CHECK((found == 1) == ShownBodyHolds(input.record, wanted, match));
    }
    return 0;
}
