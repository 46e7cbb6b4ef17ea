#include "core/platform/JapaneseLocale.h"
#include "TestRegistry.h"

#include <QTest>

// Every text here is written into pages, so it must not follow the desktop's
// own locale: the tests run under one with other digits and other names.
class JapaneseLocaleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        saved_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    }
    void cleanupTestCase() { QLocale::setDefault(saved_); }

    void FormatDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("month and day without leading zero") << QDate(2001, 5, 14) << QStringLiteral("2001年5月14日");
        QTest::newRow("two-digit month and day") << QDate(2002, 12, 31) << QStringLiteral("2002年12月31日");
        QTest::newRow("first day") << QDate(2010, 1, 1) << QStringLiteral("2010年1月1日");
    }
    void FormatDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(JapaneseLocale::FormatDate(date), text);
    }

    void FormatWeekday_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("Sunday") << QDate(2001, 5, 13) << QStringLiteral("日曜日");
        QTest::newRow("Monday") << QDate(2001, 5, 14) << QStringLiteral("月曜日");
        QTest::newRow("Tuesday") << QDate(2001, 5, 15) << QStringLiteral("火曜日");
        QTest::newRow("Wednesday") << QDate(2001, 5, 16) << QStringLiteral("水曜日");
        QTest::newRow("Thursday") << QDate(2001, 5, 17) << QStringLiteral("木曜日");
        QTest::newRow("Friday") << QDate(2001, 5, 18) << QStringLiteral("金曜日");
        QTest::newRow("Saturday") << QDate(2001, 5, 19) << QStringLiteral("土曜日");
        QTest::newRow("leap day") << QDate(2000, 2, 29) << QStringLiteral("火曜日");
    }
    void FormatWeekday()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(JapaneseLocale::FormatWeekday(date), text);
    }

    void FormatTime_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("midnight") << QTime(0, 0, 0) << QStringLiteral("午前 12:00:00");
        QTest::newRow("just after midnight") << QTime(0, 0, 1) << QStringLiteral("午前 12:00:01");
        QTest::newRow("morning") << QTime(9, 0, 0) << QStringLiteral("午前 9:00:00");
        QTest::newRow("before noon") << QTime(11, 59, 59) << QStringLiteral("午前 11:59:59");
        QTest::newRow("noon") << QTime(12, 0, 0) << QStringLiteral("午後 12:00:00");
        QTest::newRow("afternoon, two-digit minutes and seconds") << QTime(15, 5, 9) << QStringLiteral("午後 3:05:09");
        QTest::newRow("last second") << QTime(23, 59, 59) << QStringLiteral("午後 11:59:59");
    }
    void FormatTime()
    {
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QCOMPARE(JapaneseLocale::FormatTime(time), text);
    }

    void FormatShortDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("leading zeros") << QDate(2001, 5, 14) << QStringLiteral("2001/05/14");
        QTest::newRow("two-digit month") << QDate(2002, 12, 31) << QStringLiteral("2002/12/31");
    }
    void FormatShortDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(JapaneseLocale::FormatShortDate(date), text);
    }

    void ParseDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // invalid: not a date
        QTest::newRow("written form") << QStringLiteral("2001年5月14日") << QDate(2001, 5, 14);
        QTest::newRow("written form, two-digit month") << QStringLiteral("2002年12月31日") << QDate(2002, 12, 31);
        QTest::newRow("written form with leading zeros") << QStringLiteral("2001年05月04日") << QDate(2001, 5, 4);
        QTest::newRow("slashes") << QStringLiteral("2001/5/14") << QDate(2001, 5, 14);
        QTest::newRow("short date form") << QStringLiteral("2001/05/14") << QDate(2001, 5, 14);
        QTest::newRow("hyphens") << QStringLiteral("2001-05-14") << QDate(2001, 5, 14);
        QTest::newRow("surrounding spaces") << QStringLiteral(" 2001年5月14日 ") << QDate(2001, 5, 14);
        QTest::newRow("leap day") << QStringLiteral("2000年2月29日") << QDate(2000, 2, 29);
        QTest::newRow("no such day") << QStringLiteral("2001年2月30日") << QDate();
        QTest::newRow("no leap day in 1900") << QStringLiteral("1900年2月29日") << QDate();
        QTest::newRow("no such month") << QStringLiteral("2001年13月1日") << QDate();
        QTest::newRow("free text") << QStringLiteral("今日は晴れ") << QDate();
        QTest::newRow("empty") << QString() << QDate();
        QTest::newRow("no day") << QStringLiteral("2001年5月") << QDate();
        QTest::newRow("text after the date") << QStringLiteral("2001年5月14日の日記") << QDate();
    }
    void ParseDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        const QDate parsed = JapaneseLocale::ParseDate(text);
        QCOMPARE(parsed.isValid(), date.isValid());
        if (date.isValid())
            QCOMPARE(parsed, date);
    }

private:
    QLocale saved_;
};

SORAFUMI_TEST(JapaneseLocaleTest)
#include "JapaneseLocaleTest.moc"
