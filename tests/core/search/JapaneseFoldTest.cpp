#include "core/search/JapaneseFold.h"
#include "TestRegistry.h"
#include "core/platform/Cp932.h"
#include "core/search/Cp932Fold.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QString FoldBytes(const QByteArray& bytes)
{
    std::u16string folded;
    Cp932Fold::Table().Append(bytes.constData(), int(bytes.size()), folded);
    return QString::fromStdU16String(folded);
}

} // namespace

class JapaneseFoldTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void Fold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::newRow("katakana") << QStringLiteral("カメラ") << QStringLiteral("かめら");
        QTest::newRow("half-width katakana") << QStringLiteral("ｶﾒﾗ") << QStringLiteral("かめら");
        // Width before kana: else ｶﾞ would end as the katakana ガ.
        QTest::newRow("half-width voiced kana") << QStringLiteral("ｶﾞｽ") << QStringLiteral("がす");
        QTest::newRow("half-width semi-voiced") << QStringLiteral("ﾊﾟｽﾀ") << QStringLiteral("ぱすた");
        QTest::newRow("combining voiced mark") << QStringLiteral("か\u3099") << QStringLiteral("が");
        QTest::newRow("full-width letters") << QStringLiteral("ＵＳＢ") << QStringLiteral("usb");
        QTest::newRow("case") << QStringLiteral("Abc") << QStringLiteral("abc");
        QTest::newRow("small ヵ, ヴ, ヽ") << QStringLiteral("ヵヴヽ") << QStringLiteral("ゕゔゝ");
        QTest::newRow("long vowel mark stays") << QStringLiteral("ｰー") << QStringLiteral("ーー");
        QTest::newRow("enclosed signs") << QStringLiteral("㈱①") << QStringLiteral("(株)1");
        QTest::newRow("kanji stay") << QStringLiteral("日記") << QStringLiteral("日記");
    }
    void Fold()
    {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QCOMPARE(JapaneseFold::Fold(text), folded);
    }

    // The hit covers the original characters its folded form came from.
    void FindCoversTheOriginalCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("voiced half-width kana") << QStringLiteral("今日はｶﾞｽ代") << QStringLiteral("ガス") << 3 << 3;
        QTest::newRow("the voiced mark alone is no hit") << QStringLiteral("ﾊﾟﾊﾟ") << QStringLiteral("は") << -1 << 0;
        QTest::newRow("part of an enclosed sign") << QStringLiteral("㈱日記") << QStringLiteral("株") << 0 << 1;
        QTest::newRow("after a character outside the BMP")
            << QStringLiteral("😀ｶﾒﾗ") << QStringLiteral("かめら") << 2 << 3;
        QTest::newRow("none") << QStringLiteral("カメラ") << QStringLiteral("がめら") << -1 << 0;
    }
    void FindCoversTheOriginalCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(int, start);
        QFETCH(int, length);
        const std::optional<JapaneseFold::Span> hit = JapaneseFold::Find(text, JapaneseFold::Fold(typed));
        QCOMPARE(hit.has_value(), start >= 0);
        if (hit) {
            QCOMPARE(int(hit->start), start);
            QCOMPARE(int(hit->length), length);
        }
    }

    // The stored bytes fold as their decoded text does: every character of
    // the code page, every byte alone, and runs with voiced marks between.
    void StoredBytesFoldAsTheirText()
    {
        for (int lead = 0; lead <= 0xFF; ++lead) {
            const QByteArray single(1, char(lead));
            QCOMPARE(FoldBytes(single), JapaneseFold::Fold(Cp932::Decode(single)));
            // ASCII folds to ASCII, so a page of it need not be folded at all.
            if (lead < 0x80)
                QVERIFY(FoldBytes(single).front().unicode() < 0x80);
            if (!Cp932::IsLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0; trail <= 0xFF; ++trail) {
                const QByteArray pair = single + char(trail);
                QCOMPARE(FoldBytes(pair), JapaneseFold::Fold(Cp932::Decode(pair)));
            }
        }
        const QList<QByteArray> pieces = {"\xb6", "\xde", "\xdf",     "\xca",     "\x83\x4a", "\x82\xa9",
                                          "\x81", "a",    "\x87\x8a", "\xfa\x58", " ",        "\r\n"};
        QRandomGenerator random(20261208);
        for (int round = 0; round < 2000; ++round) {
            QByteArray bytes;
            for (int n = int(random.bounded(8)); n > 0; --n)
                bytes += pieces[random.bounded(int(pieces.size()))];
            QCOMPARE(FoldBytes(bytes), JapaneseFold::Fold(Cp932::Decode(bytes)));
        }
    }
};

SORAFUMI_TEST(JapaneseFoldTest)
#include "JapaneseFoldTest.moc"
