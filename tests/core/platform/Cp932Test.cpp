#include "core/platform/Cp932.h"
#include "TestRegistry.h"

#include <QTest>

class Cp932Test : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void Encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Abc 123") << QByteArray("Abc 123");
        QTest::newRow("trail byte 0x5C") << QStringLiteral("表ソ能予") << QByteArray::fromHex("955c835c945c975c");
        QTest::newRow("half-width kana") << QStringLiteral("ｱｲｳﾞ") << QByteArray::fromHex("b1b2b3de");
        QTest::newRow("NEC extension") << QStringLiteral("①㈱") << QByteArray::fromHex("8740878a");
        QTest::newRow("IBM extension") << QStringLiteral("ⅰ髙") << QByteArray::fromHex("fa40fbfc");
        QTest::newRow("wave dash and fullwidth tilde") << QStringLiteral("〜～") << QByteArray::fromHex("81608160");
        QTest::newRow("minus sign") << QStringLiteral("−") << QByteArray::fromHex("817c");
        QTest::newRow("yen sign") << QStringLiteral("¥") << QByteArray("\\");
        QTest::newRow("no cp932 form") << QStringLiteral("a한😀b") << QByteArray("a??b");
        QTest::newRow("CR LF kept") << QStringLiteral("朝\r\n夜") << QByteArray::fromHex("92a90d0a96e9");
    }
    void Encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Cp932::Encode(text).toHex(), bytes.toHex());
    }

    void EncodeField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("padded") << QStringLiteral("晴れ") << QByteArray::fromHex("90b082ea") + QByteArray(11, ' ');
        QTest::newRow("8 double-byte characters keep 7")
            << QStringLiteral("あいうえおかきく") << QByteArray::fromHex("82a082a282a482a682a882a982ab") + ' ';
        QTest::newRow("double-byte at the end is not split")
            << QStringLiteral("abcdefghijklmn表") << QByteArray("abcdefghijklmn ");
        QTest::newRow("trail 0x5C fits exactly")
            << QStringLiteral("abcdefghijklm表") << QByteArray("abcdefghijklm") + QByteArray::fromHex("955c");
        QTest::newRow("longer single-byte text cut")
            << QStringLiteral("2001年5月14日 月曜日")
            << QByteArray("2001") + QByteArray::fromHex("944e358c8e313493fa") + "  ";
    }
    void EncodeField()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const QByteArray field = Cp932::EncodeField(text, 15);
        QCOMPARE(field.size(), 15);
        QCOMPARE(field.toHex(), bytes.toHex());
    }

    void Decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("trail byte 0x5C") << QByteArray::fromHex("955c835c945c975c") << QStringLiteral("表ソ能予");
        QTest::newRow("half-width kana") << QByteArray::fromHex("b1b2b3de") << QStringLiteral("ｱｲｳﾞ");
        QTest::newRow("NEC-selected IBM extension") << QByteArray::fromHex("eeef") << QStringLiteral("ⅰ");
        QTest::newRow("0x8160 reads as fullwidth tilde") << QByteArray::fromHex("8160") << QStringLiteral("～");
        QTest::newRow("undefined single bytes") << QByteArray::fromHex("41804283") << QStringLiteral("A\uFFFDB\uFFFD");
        QTest::newRow("lead byte cut at the end") << QByteArray::fromHex("616295") << QStringLiteral("ab\uFFFD");
        QTest::newRow("undefined double-byte") << QByteArray::fromHex("8540") << QStringLiteral("\uFFFD@");
        QTest::newRow("user-defined area") << QByteArray::fromHex("f040") << QStringLiteral("\uE000");
    }
    void Decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Cp932::Decode(bytes), text);
    }
};

SORAFUMI_TEST(Cp932Test)
#include "Cp932Test.moc"
