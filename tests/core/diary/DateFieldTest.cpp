#include "core/diary/DateField.h"
#include "TestRegistry.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/platform/JapaneseLocale.h"

#include <QTest>

// The date of a page read from its bytes is the date the date box would read.
class DateFieldTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void SameAsTheDateBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("written form") << QStringLiteral("2001年5月14日");
        QTest::newRow("two-digit month and day") << QStringLiteral("2026年12月31日");
        QTest::newRow("leading spaces") << QStringLiteral("  2001年5月14日");
        QTest::newRow("slashes") << QStringLiteral("2001/5/14");
        QTest::newRow("not a date") << QStringLiteral("2001年2月30日");
        QTest::newRow("free text") << QStringLiteral("晴れた日");
        QTest::newRow("empty") << QString();
        QTest::newRow("full-width digits") << QStringLiteral("２００１年５月１４日");
        QTest::newRow("text after the date") << QStringLiteral("2001年5月14日朝");
        QTest::newRow("five-digit year") << QStringLiteral("12001年5月1日");
        QTest::newRow("no day") << QStringLiteral("2001年5月");
    }
    void SameAsTheDateBox()
    {
        QFETCH(QString, text);
        const QByteArray field = Cp932::EncodeField(text, 15);
        const QDate expected = JapaneseLocale::ParseDate(PageFields::TrimSpaces(Cp932::Decode(field)));
        QCOMPARE(DateField::FromBytes(field.constData(), int(field.size())), expected);
    }

    void WrittenFormReadsAsItsDate()
    {
        const QByteArray field = Cp932::EncodeField(QStringLiteral("2001年5月14日"), 15);
        QCOMPARE(DateField::FromBytes(field.constData(), 15), QDate(2001, 5, 14));
    }
};

SORAFUMI_TEST(DateFieldTest)
#include "DateFieldTest.moc"
