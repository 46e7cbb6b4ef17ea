#include "core/search/BodySearch.h"
#include "DiaryBuilder.h"
#include "FakeDiaryView.h"
#include "TestRegistry.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/RecordFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Bodies = QList<QByteArray>;

constexpr int BodyOffset = 90;
constexpr int BodyLength = 10000;

QByteArray Stored(const QString& text)
{
    return Cp932::Encode(text);
}

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// A page dated and signed as usual, whose body holds exactly these bytes
// before its padding.
QByteArray Record(const QByteArray& body, const QString& signature = QStringLiteral("空野太郎"),
                  const QString& weather = QStringLiteral("晴れ"))
{
    QByteArray record =
        DiaryBuilder::Page({QStringLiteral("2026年12月7日"), QStringLiteral("月曜日"), QStringLiteral("0"), signature,
                            QStringLiteral("午前 9:30:00"), weather, QString()})
            .ToBytes();
    record.replace(BodyOffset, int(body.size()), body);
    return record;
}

// Ten pages of everyday text; the word is written on the given pages only.
Bodies TenPages(const QString& word, std::initializer_list<int> pages)
{
    Bodies bodies;
    for (int page = 1; page <= 10; ++page)
        bodies << Stored(QStringLiteral("%1日目。今日も一日よく働いた。").arg(page));
    for (int page : pages)
        bodies[page - 1] += Stored(QStringLiteral("夜は") + word + QStringLiteral("の話をした。"));
    return bodies;
}

// What the main window shows on each page, searched one page after another:
// the outcome the search must match.
qint32 ShownPageHolding(const QByteArray& diary, const QString& text, qint32 from)
{
    const qint32 pages = qint32(diary.size() / DiaryPage::RecordLength);
    for (qint32 page = qMax(from, 1); page <= pages; ++page) {
        FakeDiaryView view;
        PageFields::RecordToFields(
            DiaryPage::FromBytes(diary.mid(qsizetype(page - 1) * DiaryPage::RecordLength, DiaryPage::RecordLength)),
            view);
        // An empty text is held by every body but an empty one.
        const QString body = view.FieldText(EntryField::Body);
        if (text.isEmpty() ? !body.isEmpty() : body.contains(text))
            return page;
    }
    return 0;
}

} // namespace

class BodySearchTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    int diaries_ = 0;

    // Writes the diary to a file of its own and opens it as the store does.
    bool Open(const QByteArray& diary, RecordFile& file)
    {
        const QString path = dir_.filePath(QStringLiteral("DIARY%1.DAT").arg(++diaries_));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(diary) != diary.size())
            return false;
        out.close();
        return !file.Open(path, DiaryPage::RecordLength);
    }

    // Searches as the search window does, for the text as it was typed.
    static qint32 Search(const RecordFile& file, const QString& typed, qint32 from,
                         BodySearch::Match match = BodySearch::Match::Exact)
    {
        qint32 found = -1;
        const FileError error =
            BodySearch::Find(file, BodySearch::StoredForm(typed), from, file.RecordCount(), found, match);
        return error ? -1 : found;
    }

    qint32 Find(const QByteArray& diary, const QString& typed, qint32 from,
                BodySearch::Match match = BodySearch::Match::Exact)
    {
        RecordFile file;
        return Open(diary, file) ? Search(file, typed, from, match) : -1;
    }

    static QByteArray Diary(const Bodies& bodies)
    {
        DiaryBuilder diary;
        for (const QByteArray& body : bodies)
            diary.AddRaw(Record(body));
        return diary.Bytes();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void FindsTheFirstPageWhoseBodyHoldsTheText_data()
    {
        QTest::addColumn<Bodies>("bodies");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("found");

        const QString word = QStringLiteral("紅葉狩り");
        QTest::newRow("only on page 7 of 10") << TenPages(word, {7}) << word << 1 << 7;
        QTest::newRow("from page 8, the next page holding it") << TenPages(word, {7, 9}) << word << 8 << 9;
        QTest::newRow("from page 8, none after") << TenPages(word, {7}) << word << 8 << 0;
        QTest::newRow("from the page that holds it") << TenPages(word, {7}) << word << 7 << 7;
        QTest::newRow("on the last page") << TenPages(word, {10}) << word << 1 << 10;
        QTest::newRow("on every page, the first wins") << TenPages(word, {2, 3, 4}) << word << 1 << 2;
        QTest::newRow("on no page") << TenPages(word, {}) << word << 1 << 0;
        QTest::newRow("a diary of one page") << Bodies{Stored(word)} << word << 1 << 1;

        QTest::newRow("Abc does not find abc")
            << Bodies{Stored(QStringLiteral("abc"))} << QStringLiteral("Abc") << 1 << 0;
        QTest::newRow("abc finds abc") << Bodies{Stored(QStringLiteral("xabcx"))} << QStringLiteral("abc") << 1 << 1;
        QTest::newRow("A does not find full-width Ａ")
            << Bodies{Stored(QStringLiteral("Ａ"))} << QStringLiteral("A") << 1 << 0;
        QTest::newRow("Ａ does not find A") << Bodies{Stored(QStringLiteral("A"))} << QStringLiteral("Ａ") << 1 << 0;
        QTest::newRow("katakana does not find hiragana")
            << Bodies{Stored(QStringLiteral("ひらがな"))} << QStringLiteral("ヒラガナ") << 1 << 0;
        QTest::newRow("half-width kana does not find full-width")
            << Bodies{Stored(QStringLiteral("カナ"))} << QStringLiteral("ｶﾅ") << 1 << 0;

        // Trail bytes that look like other characters.
        QTest::newRow("backslash inside 表示")
            << Bodies{Stored(QStringLiteral("表示"))} << QStringLiteral("\\") << 1 << 0;
        QTest::newRow("two backslashes inside 表\\")
            << Bodies{Stored(QStringLiteral("表\\"))} << QStringLiteral("\\\\") << 1 << 0;
        QTest::newRow("a real backslash after 表")
            << Bodies{Stored(QStringLiteral("表示")), Stored(QStringLiteral("表\\"))} << QStringLiteral("\\") << 1 << 2;
        QTest::newRow("ソ across ｃ and a backslash")
            << Bodies{Stored(QStringLiteral("ｃ\\")), Stored(QStringLiteral("ｃ\\ソ"))} << QStringLiteral("ソ") << 1
            << 2;
        QTest::newRow("backslash inside ソ")
            << Bodies{Stored(QStringLiteral("ソフト"))} << QStringLiteral("\\") << 1 << 0;
        QTest::newRow("A inside ア") << Bodies{Stored(QStringLiteral("アイ")), Stored(QStringLiteral("Aア"))}
                                     << QStringLiteral("A") << 1 << 2;
        QTest::newRow("ideographic space across メ and @")
            << Bodies{Stored(QStringLiteral("メ@"))} << QStringLiteral("　") << 1 << 0;
        QTest::newRow("a word starting on a trail byte")
            << Bodies{Stored(QStringLiteral("表示"))} << QStringLiteral("\\示") << 1 << 0;
        QTest::newRow("half-width kana next to a lead byte")
            << Bodies{Stored(QStringLiteral("ｱ表ｲ"))} << QStringLiteral("表ｲ") << 1 << 1;

        // Characters stored in more than one form.
        QTest::newRow("ⅰ in its NEC-selected form") << Bodies{Hex("eeef")} << QStringLiteral("ⅰ") << 1 << 1;
        QTest::newRow("ⅰ in its IBM form") << Bodies{Hex("fa40")} << QStringLiteral("ⅰ") << 1 << 1;
        QTest::newRow("∵ in its NEC form") << Bodies{Hex("879a")} << QStringLiteral("∵") << 1 << 1;
        QTest::newRow("∵ in its IBM form") << Bodies{Hex("fa5b")} << QStringLiteral("∵") << 1 << 1;
        QTest::newRow("≒ in its NEC form") << Bodies{Hex("8790")} << QStringLiteral("≒") << 1 << 1;
        QTest::newRow("¬ in its IBM form") << Bodies{Hex("fa54")} << QStringLiteral("¬") << 1 << 1;
        QTest::newRow("㈱ in its IBM form") << Bodies{Hex("fa58")} << QStringLiteral("㈱") << 1 << 1;
        QTest::newRow("№ in its IBM form") << Bodies{Hex("fa59")} << QStringLiteral("№") << 1 << 1;
        QTest::newRow("a word around ∵ in its NEC form")
            << Bodies{Stored(QStringLiteral("A∴B")), Hex("41879a42")} << QStringLiteral("A∵B") << 1 << 2;
        QTest::newRow("case counts around ∵ too") << Bodies{Hex("41879a42")} << QStringLiteral("a∵b") << 1 << 0;
        QTest::newRow("∵ on no page") << Bodies{Stored(QStringLiteral("∴≠"))} << QStringLiteral("∵") << 1 << 0;
        QTest::newRow("∵ after the page that holds it")
            << Bodies{Hex("879a"), Hex("4142")} << QStringLiteral("∵") << 2 << 0;
        QTest::newRow("∵ with spaces that are trimmed away")
            << Bodies{Hex("2020879a")} << QStringLiteral(" ∵") << 1 << 0;

        // The body as the window shows it: without the spaces at either end.
        QTest::newRow("empty text, first body not all spaces")
            << Bodies{QByteArray(), QByteArray("    "), Stored(QStringLiteral("　")), QByteArray("x")} << QString() << 1
            << 3;
        QTest::newRow("empty text, all bodies empty") << Bodies{QByteArray(), QByteArray("  ")} << QString() << 1 << 0;
        QTest::newRow("empty text from page 2")
            << Bodies{QByteArray("a"), QByteArray(), QByteArray("b")} << QString() << 2 << 3;
        QTest::newRow("leading space trimmed away") << Bodies{QByteArray("  abc")} << QStringLiteral(" abc") << 1 << 0;
        QTest::newRow("the trimmed body still holds the word")
            << Bodies{QByteArray("  abc")} << QStringLiteral("abc") << 1 << 1;
        QTest::newRow("trailing space trimmed away") << Bodies{QByteArray("abc  ")} << QStringLiteral("c ") << 1 << 0;
        QTest::newRow("spaces inside stay") << Bodies{QByteArray("  a  b  ")} << QStringLiteral("a  b") << 1 << 1;
        QTest::newRow("a space alone") << Bodies{QByteArray("  abc  "), QByteArray("a b")} << QStringLiteral(" ") << 1
                                       << 2;
        QTest::newRow("line breaks are CR LF")
            << Bodies{Stored(QStringLiteral("朝\r\n夜"))} << QStringLiteral("朝\r\n夜") << 1 << 1;

        // The very ends of a full body.
        QTest::newRow("word in the last bytes of a full body")
            << Bodies{QByteArray(BodyLength - 6, 'x') + Stored(QStringLiteral("終わり"))} << QStringLiteral("終わり")
            << 1 << 1;
        QTest::newRow("word in the first bytes of a full body")
            << Bodies{Stored(QStringLiteral("始め")) + QByteArray(BodyLength - 4, 'x')} << QStringLiteral("始め") << 1
            << 1;
        QTest::newRow("word cut off by the end of the body")
            << Bodies{QByteArray(BodyLength - 4, 'x') + Stored(QStringLiteral("終わ")),
                      Stored(QStringLiteral("終わり"))}
            << QStringLiteral("終わり") << 1 << 2;

        // Typed in another form than the diary keeps.
        QTest::newRow("typed wave dash finds the stored one")
            << Bodies{QByteArray("a"), Stored(QStringLiteral("〜"))} << QStringLiteral("〜") << 1 << 2;
        QTest::newRow("typed wave dash finds a full-width tilde")
            << Bodies{Stored(QStringLiteral("～"))} << QStringLiteral("〜") << 1 << 1;
        QTest::newRow("typed minus sign") << Bodies{Stored(QStringLiteral("10−2"))} << QStringLiteral("10−2") << 1 << 1;
        QTest::newRow("yen sign finds the backslash it is stored as")
            << Bodies{Stored(QStringLiteral("表")), Stored(QStringLiteral("¥100"))} << QStringLiteral("¥100") << 1 << 2;

        // Characters the diary cannot hold are never found, not even as the
        // question mark they were stored as.
        QTest::newRow("emoji") << Bodies{Stored(QStringLiteral("😀")), QByteArray("?")} << QStringLiteral("😀") << 1 << 0;
        QTest::newRow("hangul") << Bodies{Stored(QStringLiteral("한국")), QByteArray("a?b")} << QStringLiteral("a한b")
                                << 1 << 0;
        QTest::newRow("a question mark is found")
            << Bodies{QByteArray("ab"), QByteArray("a?b")} << QStringLiteral("a?b") << 1 << 2;

        // Bytes no character is written as: they show as one replacement
        // character each, and what follows them is found as shown.
        QTest::newRow("@ after an unassigned lead byte") << Bodies{Hex("8540")} << QStringLiteral("@") << 1 << 1;
        QTest::newRow("ideographic space after an unassigned lead byte")
            << Bodies{Hex("858140")} << QStringLiteral("　") << 1 << 1;
        QTest::newRow("space after a lead byte") << Bodies{Hex("812061")} << QStringLiteral(" a") << 1 << 1;
        QTest::newRow("a lead byte cut off at the end") << Bodies{Hex("6181")} << QStringLiteral("a") << 1 << 1;
        QTest::newRow("replacement character")
            << Bodies{QByteArray("?"), Hex("ff")} << QStringLiteral("\uFFFD") << 1 << 2;
    }
    void FindsTheFirstPageWhoseBodyHoldsTheText()
    {
        QFETCH(Bodies, bodies);
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, found);
        const QByteArray diary = Diary(bodies);
        // The expectation is what showing the pages one by one would find.
        QCOMPARE(ShownPageHolding(diary, BodySearch::StoredForm(text), from), found);
        QCOMPARE(Find(diary, text, from), found);
    }

    void OnlyTheBodyIsSearched_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("signature") << QStringLiteral("空野太郎");
        QTest::newRow("weather") << QStringLiteral("晴れ");
        QTest::newRow("date") << QStringLiteral("2026年12月7日");
        QTest::newRow("weekday") << QStringLiteral("月曜日");
        QTest::newRow("time") << QStringLiteral("9:30");
    }
    void OnlyTheBodyIsSearched()
    {
        QFETCH(QString, text);
        const QByteArray diary = Diary(TenPages(QStringLiteral("散歩"), {3}));
        QCOMPARE(Find(diary, text, 1), 0);
        // The page after holds it in its body.
        QCOMPARE(Find(diary + Record(Stored(text)), text, 1), 11);
    }

    void SignatureAndWeatherOfOnePageOnly()
    {
        DiaryBuilder diary;
        diary.AddRaw(Record(Stored(QStringLiteral("普通の日")), QStringLiteral("山田"), QStringLiteral("雪")));
        diary.AddRaw(Record(Stored(QStringLiteral("雪が降った")), QStringLiteral("山田"), QStringLiteral("晴れ")));
        QCOMPARE(Find(diary.Bytes(), QStringLiteral("山田"), 1), 0);
        QCOMPARE(Find(diary.Bytes(), QStringLiteral("雪"), 1), 2);
    }

    void LongDiary_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("found");
        QTest::newRow("page 250 of 300") << 250 << 1 << 250;
        QTest::newRow("page 250 from page 200") << 250 << 200 << 250;
        QTest::newRow("page 250 from page 251") << 250 << 251 << 0;
        QTest::newRow("page 100, the end of a read") << 100 << 1 << 100;
        QTest::newRow("page 101, the start of a read") << 101 << 1 << 101;
        QTest::newRow("page 300, the last") << 300 << 1 << 300;
        QTest::newRow("from page 300") << 300 << 300 << 300;
        QTest::newRow("from beyond the last page") << 300 << 301 << 0;
    }
    void LongDiary()
    {
        QFETCH(int, page);
        QFETCH(int, from);
        QFETCH(int, found);
        Bodies bodies;
        for (int i = 1; i <= 300; ++i)
            bodies << Stored(QStringLiteral("%1ページ目。").arg(i) + QString(2000, u'あ'));
        bodies[page - 1] = Stored(QString(3000, u'い') + QStringLiteral("初雪"));
        QCOMPARE(Find(Diary(bodies), QStringLiteral("初雪"), from), found);
    }

    // A locked diary is looked through on several threads at once: the same
    // pages are found, the first from where the search starts and every one
    // newest first, exact or folded, and a page that does not open is passed.
    void LockedDiaryOnSeveralThreads()
    {
        Bodies bodies;
        for (int i = 1; i <= 300; ++i)
            bodies << Stored(QStringLiteral("%1ページ目。").arg(i));
        for (const int page : {3, 150, 151, 298})
            bodies[page - 1] += Stored(QStringLiteral("初雪"));
        bodies[200] += Stored(QStringLiteral("ＳＮＯＷ"));
        const QString path = dir_.filePath(QStringLiteral("LOCKED.sfk"));
        EncryptedRecordFile file;
        QString code;
        QVERIFY(!file.Create(path, QStringLiteral("合言葉"), code, DiaryPage::RecordLength));
        for (const QByteArray& body : bodies)
            QVERIFY(!file.WriteRecord(file.RecordCount() + 1, Record(body)));
        QFile damage(path);
        QVERIFY(damage.open(QIODevice::ReadWrite) &&
                damage.seek(EncryptedRecordFile::Offset(150, DiaryPage::RecordLength) + 100) && damage.write("?") == 1);
        damage.close();

        QCOMPARE(Search(file, QStringLiteral("初雪"), 1), 3);
        QCOMPARE(Search(file, QStringLiteral("初雪"), 4), 151);
        QCOMPARE(Search(file, QStringLiteral("snow"), 1, BodySearch::Match::Folded), 201);
        QList<qint32> newestFirst;
        QVERIFY(!BodySearch::Each(file, QStringLiteral("初雪"), 1, 300, BodySearch::Match::Exact,
                                  BodySearch::Order::NewestFirst, [&newestFirst](qint32 page, const char*) {
                                      newestFirst << page;
                                      return true;
                                  }));
        QCOMPARE(newestFirst, (QList<qint32>{298, 151, 3}));
        QCOMPARE(file.DamagedRecords(), QList<qint32>{150});
    }

    void StoredForm_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain text") << QStringLiteral("日記abc") << QStringLiteral("日記abc");
        QTest::newRow("wave dash") << QStringLiteral("〜") << QStringLiteral("～");
        QTest::newRow("wave dash in a word") << QStringLiteral("3〜5時") << QStringLiteral("3～5時");
        QTest::newRow("minus sign") << QStringLiteral("−") << QStringLiteral("－");
        QTest::newRow("yen sign") << QStringLiteral("¥") << QStringLiteral("\\");
        QTest::newRow("NEC form stays") << QStringLiteral("∵ⅰ") << QStringLiteral("∵ⅰ");
        QTest::newRow("question mark") << QStringLiteral("?") << QStringLiteral("?");
        QTest::newRow("emoji is kept") << QStringLiteral("😀") << QStringLiteral("😀");
        QTest::newRow("hangul is kept") << QStringLiteral("〜한") << QStringLiteral("〜한");
        QTest::newRow("empty") << QString() << QString();
    }
    void StoredForm()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(BodySearch::StoredForm(typed), stored);
    }

    // Pages built from the pieces that trip a search over bytes, searched for
    // texts built from the same pieces: always the page showing them in turn
    // would find.
    void AgreesWithThePagesAsShown()
    {
        const Bodies pieces = {Stored(QStringLiteral("表")),
                               Stored(QStringLiteral("示")),
                               Stored(QStringLiteral("ソ")),
                               QByteArray("\\"),
                               Stored(QStringLiteral("ｃ")),
                               Stored(QStringLiteral("メ")),
                               QByteArray("@"),
                               QByteArray("A"),
                               QByteArray("a"),
                               QByteArray(" "),
                               Hex("879a"),
                               Hex("81e6"),
                               Hex("fa5b"),
                               Hex("eeef"),
                               Hex("fa40"),
                               Hex("8540"),
                               Stored(QStringLiteral("ｱ")),
                               QByteArray("\r\n"),
                               Hex("8160"),
                               QByteArray("~"),
                               Stored(QStringLiteral("　"))};
        QRandomGenerator random(20261207);
        const auto pick = [&](int most) {
            QByteArray bytes;
            for (int n = int(random.bounded(most + 1)); n > 0; --n)
                bytes += pieces[random.bounded(int(pieces.size()))];
            return bytes;
        };
        Bodies bodies;
        for (int page = 0; page < 40; ++page)
            bodies << pick(6);
        const QByteArray diary = Diary(bodies);
        RecordFile file;
        QVERIFY(Open(diary, file));
        int hits = 0;
        for (int round = 0; round < 300; ++round) {
            const QString text = Cp932::Decode(pick(3));
            const int from = int(random.bounded(1, 41));
            const int shown = ShownPageHolding(diary, BodySearch::StoredForm(text), from);
            QCOMPARE(Search(file, text, from), shown);
            hits += shown != 0;
        }
        // Both outcomes were tried often.
        QVERIFY(hits > 50);
        QVERIFY(hits < 250);
    }

    // あいまい検索: width, kana and case do not count.
    void FoldedSearch_data()
    {
        QTest::addColumn<Bodies>("bodies");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("found");
        QTest::newRow("ASCII page, full-width text")
            << Bodies{QByteArray("my USB stick")} << QStringLiteral("ｕｓｂ") << 1 << 1;
        QTest::newRow("ASCII page passed over for kana")
            << Bodies{QByteArray("kamera"), Stored(QStringLiteral("カメラ"))} << QStringLiteral("かめら") << 1 << 2;
        QTest::newRow("typed wave dash") << Bodies{Stored(QStringLiteral("3～5時"))} << QStringLiteral("3〜5") << 1
                                         << 1;
        QTest::newRow("empty text") << Bodies{QByteArray("  "), QByteArray("x")} << QString() << 1 << 2;
    }
    void FoldedSearch()
    {
        QFETCH(Bodies, bodies);
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, found);
        QCOMPARE(Find(Diary(bodies), text, from, BodySearch::Match::Folded), found);
    }
};

SORAFUMI_TEST(BodySearchTest)
#include "BodySearchTest.moc"
