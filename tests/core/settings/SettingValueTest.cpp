#include "core/settings/SettingValue.h"
#include "TestRegistry.h"

#include <QTest>
#include <type_traits>

namespace {

// Results as text, so that a failure shows both sides.
const QString Nothing = QStringLiteral("nothing");

template <typename T> QString Shown(const std::optional<T>& value)
{
    if (!value)
        return Nothing;
    if constexpr (std::is_same_v<T, bool>)
        return *value ? QStringLiteral("true") : QStringLiteral("false");
    else
        return QString::number(double(*value), 'g', 17);
}

} // namespace

// What the stored texts of the settings file mean to the program: window
// places, colours and switches, and which texts it cannot use at all.
class SettingValueTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ToNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::newRow("twips") << QStringLiteral("7800") << QStringLiteral("7800");
        QTest::newRow("negative, window on a left-hand screen") << QStringLiteral("-1500") << QStringLiteral("-1500");
        QTest::newRow("fraction") << QStringLiteral("12.5") << QStringLiteral("12.5");
        QTest::newRow("group comma") << QStringLiteral("1,200") << QStringLiteral("1200");
        QTest::newRow("spaces around") << QStringLiteral("  7 ") << QStringLiteral("7");
        QTest::newRow("full-width digits") << QStringLiteral("１２") << QStringLiteral("12");
        QTest::newRow("hexadecimal is signed 32-bit") << QStringLiteral("&H80000008") << QStringLiteral("-2147483640");
        QTest::newRow("hexadecimal, lower case") << QStringLiteral("&hff") << QStringLiteral("255");
        QTest::newRow("hexadecimal beyond 32 bits") << QStringLiteral("&H100000000") << Nothing;
        QTest::newRow("empty") << QString() << Nothing;
        QTest::newRow("letters") << QStringLiteral("abc") << Nothing;
        QTest::newRow("number then letters") << QStringLiteral("12pt") << Nothing;
        QTest::newRow("word True is no number") << QStringLiteral("True") << Nothing;
        QTest::newRow("sign alone") << QStringLiteral("-") << Nothing;
        QTest::newRow("too large for a double") << QStringLiteral("1e400") << Nothing;
    }
    void ToNumber()
    {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QCOMPARE(Shown(SettingValue::ToNumber(text)), number);
    }

    void ToInt32_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::newRow("red") << QStringLiteral("255") << QStringLiteral("255");
        QTest::newRow("white") << QStringLiteral("16777215") << QStringLiteral("16777215");
        QTest::newRow("system window text, decimal") << QStringLiteral("-2147483640") << QStringLiteral("-2147483640");
        QTest::newRow("system window text, hexadecimal")
            << QStringLiteral("&H80000008") << QStringLiteral("-2147483640");
        QTest::newRow("system window background, hexadecimal")
            << QStringLiteral("&H80000005") << QStringLiteral("-2147483643");
        QTest::newRow("smallest") << QStringLiteral("-2147483648") << QStringLiteral("-2147483648");
        QTest::newRow("largest") << QStringLiteral("2147483647") << QStringLiteral("2147483647");
        QTest::newRow("one above the largest") << QStringLiteral("2147483648") << Nothing;
        QTest::newRow("one below the smallest") << QStringLiteral("-2147483649") << Nothing;
        QTest::newRow("unsigned form of a system colour") << QStringLiteral("4294967296") << Nothing;
        QTest::newRow("group comma") << QStringLiteral("1,200") << QStringLiteral("1200");
        QTest::newRow("spaces around") << QStringLiteral("  7 ") << QStringLiteral("7");
        QTest::newRow("fraction rounds") << QStringLiteral("254.7") << QStringLiteral("255");
        QTest::newRow("colour name") << QStringLiteral("red") << Nothing;
        QTest::newRow("empty") << QString() << Nothing;
    }
    void ToInt32()
    {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QCOMPARE(Shown(SettingValue::ToInt32(text)), number);
    }

    void ToBoolean_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("True as written") << QStringLiteral("True") << QStringLiteral("true");
        QTest::newRow("False as written") << QStringLiteral("False") << QStringLiteral("false");
        QTest::newRow("lower case") << QStringLiteral("false") << QStringLiteral("false");
        QTest::newRow("upper case") << QStringLiteral("TRUE") << QStringLiteral("true");
        QTest::newRow("word with spaces") << QStringLiteral(" True ") << QStringLiteral("true");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("false");
        QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("true");
        QTest::newRow("2") << QStringLiteral("2") << QStringLiteral("true");
        QTest::newRow("-1") << QStringLiteral("-1") << QStringLiteral("true");
        QTest::newRow("0.0") << QStringLiteral("0.0") << QStringLiteral("false");
        QTest::newRow("other word") << QStringLiteral("maybe") << Nothing;
        QTest::newRow("abc") << QStringLiteral("abc") << Nothing;
        QTest::newRow("Yes is no switch word") << QStringLiteral("Yes") << Nothing;
        QTest::newRow("empty") << QString() << Nothing;
    }
    void ToBoolean()
    {
        QFETCH(QString, text);
        QFETCH(QString, value);
        QCOMPARE(Shown(SettingValue::ToBoolean(text)), value);
    }

    // A login switch that is no number keeps the login: the word False is not "0".
    void ToSwitch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("false");
        QTest::newRow("1") << QStringLiteral("1") << QStringLiteral("true");
        QTest::newRow("False") << QStringLiteral("False") << Nothing;
    }
    void ToSwitch()
    {
        QFETCH(QString, text);
        QFETCH(QString, value);
        QCOMPARE(Shown(SettingValue::ToSwitch(text)), value);
    }
};

SORAFUMI_TEST(SettingValueTest)
#include "SettingValueTest.moc"
