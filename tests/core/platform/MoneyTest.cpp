#include "core/platform/Money.h"
#include "TestRegistry.h"

#include <QTest>
#include <limits>

namespace {

constexpr qint64 Max = std::numeric_limits<qint64>::max();

} // namespace

class MoneyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void Parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("amount"); // ten-thousandths

        QTest::newRow("plain") << QStringLiteral("1500") << true << qint64(15000000);
        QTest::newRow("group comma") << QStringLiteral("1,500") << true << qint64(15000000);
        QTest::newRow("backslash sign") << QStringLiteral("\\1,500") << true << qint64(15000000);
        QTest::newRow("full-width yen sign") << QStringLiteral("￥1,500") << true << qint64(15000000);
        QTest::newRow("yen sign") << QStringLiteral("¥1,500") << true << qint64(15000000);
        QTest::newRow("parentheses are negative") << QStringLiteral("(\\500)") << true << qint64(-5000000);
        QTest::newRow("minus") << QStringLiteral("-500") << true << qint64(-5000000);
        QTest::newRow("fraction") << QStringLiteral("1500.5") << true << qint64(15005000);
        QTest::newRow("exponent") << QStringLiteral("1.5E+3") << true << qint64(15000000);
        QTest::newRow("full-width digits") << QStringLiteral("１５００") << true << qint64(15000000);
        QTest::newRow("full-width digits and comma") << QStringLiteral("１，５００") << true << qint64(15000000);
        QTest::newRow("surrounding spaces") << QStringLiteral(" 12 ") << true << qint64(120000);
        QTest::newRow("shown million") << QStringLiteral("\\1,234,567") << true << qint64(12345670000);
        QTest::newRow("zero shown") << QStringLiteral("\\0") << true << qint64(0);
        QTest::newRow("fifth decimal 5 rounds up") << QStringLiteral("0.00005") << true << qint64(1);
        QTest::newRow("fifth decimal 5 rounds away from zero") << QStringLiteral("-0.00005") << true << qint64(-1);
        QTest::newRow("fifth decimal 4 is dropped") << QStringLiteral("0.00004") << true << qint64(0);
        QTest::newRow("maximum") << QStringLiteral("922337203685477.5807") << true << Max;
        QTest::newRow("one above the maximum") << QStringLiteral("922337203685477.5808") << false << qint64(0);
        QTest::newRow("huge exponent") << QStringLiteral("1E+300") << false << qint64(0);
        QTest::newRow("words") << QStringLiteral("abc") << false << qint64(0);
        QTest::newRow("empty") << QString() << false << qint64(0);
        QTest::newRow("only spaces") << QStringLiteral("   ") << false << qint64(0);
        QTest::newRow("yen word after the number") << QStringLiteral("1,500円") << false << qint64(0);
        QTest::newRow("sign without digits") << QStringLiteral("\\") << false << qint64(0);
        QTest::newRow("two decimal points") << QStringLiteral("1.5.5") << false << qint64(0);
        QTest::newRow("unclosed parenthesis") << QStringLiteral("(\\500") << false << qint64(0);
    }
    void Parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, amount);
        const std::optional<qint64> parsed = Money::Parse(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, amount);
    }

    void FormatShown_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("million") << qint64(12345670000) << QStringLiteral("\\1,234,567");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("\\0");
        QTest::newRow("three digits have no comma") << qint64(1000000) << QStringLiteral("\\100");
        QTest::newRow("four digits") << qint64(10000000) << QStringLiteral("\\1,000");
        QTest::newRow("negative in parentheses") << qint64(-5000000) << QStringLiteral("(\\500)");
        QTest::newRow("negative million") << qint64(-12345670000) << QStringLiteral("(\\1,234,567)");
        QTest::newRow("half rounds up") << qint64(15005000) << QStringLiteral("\\1,501");
        QTest::newRow("rounding adds a group") << qint64(9995000) << QStringLiteral("\\1,000");
        QTest::newRow("tenths round") << qint64(123456000) << QStringLiteral("\\12,346");
        QTest::newRow("below a half rounds down") << qint64(4999) << QStringLiteral("\\0");
        QTest::newRow("negative half rounds away from zero") << qint64(-15005000) << QStringLiteral("(\\1,501)");
        QTest::newRow("maximum") << Max << QStringLiteral("\\922,337,203,685,478");
    }
    void FormatShown()
    {
        QFETCH(qint64, amount);
        QFETCH(QString, text);
        QCOMPARE(Money::FormatShown(amount), text);
    }

    void FormatEditing_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("million without commas") << qint64(12345670000) << QStringLiteral("1234567");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("0");
        QTest::newRow("negative with minus") << qint64(-5000000) << QStringLiteral("-500");
        QTest::newRow("half rounds up") << qint64(15005000) << QStringLiteral("1501");
        QTest::newRow("negative half rounds away from zero") << qint64(-15005000) << QStringLiteral("-1501");
        QTest::newRow("small negative is zero") << qint64(-4999) << QStringLiteral("0");
    }
    void FormatEditing()
    {
        QFETCH(qint64, amount);
        QFETCH(QString, text);
        QCOMPARE(Money::FormatEditing(amount), text);
    }

    void FormatStored_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << qint64(15000000) << QStringLiteral("1500");
        QTest::newRow("fraction") << qint64(15005000) << QStringLiteral("1500.5");
        QTest::newRow("four decimals") << qint64(123456789) << QStringLiteral("12345.6789");
        QTest::newRow("smallest amount") << qint64(1) << QStringLiteral("0.0001");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("0");
        QTest::newRow("negative") << qint64(-5000000) << QStringLiteral("-500");
        QTest::newRow("15 digits stay plain") << qint64(1234567890123450000) << QStringLiteral("123456789012345");
        // Fifteen digits before the point still fit the plain form.
        QTest::newRow("maximum") << Max << QStringLiteral("922337203685478");
    }
    void FormatStored()
    {
        QFETCH(qint64, amount);
        QFETCH(QString, text);
        QCOMPARE(Money::FormatStored(amount), text);
    }

    // What the expense field shows or is edited as must read back as the amount
    // the user sees, or leaving the field would change the page.
    void ShownFormsParseBack_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<qint64>("seen");
        QTest::newRow("million") << qint64(12345670000) << qint64(12345670000);
        QTest::newRow("fraction rounds") << qint64(15005000) << qint64(15010000);
        QTest::newRow("negative fraction rounds") << qint64(-15005000) << qint64(-15010000);
        QTest::newRow("zero") << qint64(0) << qint64(0);
        QTest::newRow("below a half") << qint64(4999) << qint64(0);
        QTest::newRow("negative") << qint64(-5000000) << qint64(-5000000);
        QTest::newRow("largest whole amount") << qint64(9223372036854770000) << qint64(9223372036854770000);
    }
    void ShownFormsParseBack()
    {
        QFETCH(qint64, amount);
        QFETCH(qint64, seen);
        const std::optional<qint64> shown = Money::Parse(Money::FormatShown(amount));
        QVERIFY(shown.has_value());
        QCOMPARE(*shown, seen);
        const std::optional<qint64> editing = Money::Parse(Money::FormatEditing(amount));
        QVERIFY(editing.has_value());
        QCOMPARE(*editing, seen);
    }

    // A stored expense is read back as the amount that was written.
    void StoredFormParsesBack_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::newRow("fraction") << qint64(15005000);
        QTest::newRow("four decimals") << qint64(123456789);
        QTest::newRow("smallest amount") << qint64(1);
        QTest::newRow("negative") << qint64(-5000000);
        QTest::newRow("largest whole amount") << qint64(9223372036854770000);
    }
    void StoredFormParsesBack()
    {
        QFETCH(qint64, amount);
        const std::optional<qint64> parsed = Money::Parse(Money::FormatStored(amount));
        QVERIFY(parsed.has_value());
        QCOMPARE(*parsed, amount);
    }
};

SORAFUMI_TEST(MoneyTest)
#include "MoneyTest.moc"
