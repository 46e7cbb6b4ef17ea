#include "core/diary/PageFields.h"
#include "DiaryBuilder.h"
#include "FakeDiaryView.h"
#include "TestRegistry.h"
#include "core/diary/DiaryPage.h"

#include <QTest>

namespace {

// Entry fields by index: date, time, weekday, weather, expense, signature, body.
FakeDiaryView SampleView()
{
    FakeDiaryView view;
    view.fields = {QStringLiteral("2001年5月14日"),   QStringLiteral("午後 3:05:09"),
                   QStringLiteral("月曜日"),          QStringLiteral("晴れ"),
                   QStringLiteral("\\1,500"),         QStringLiteral("山田太郎"),
                   QStringLiteral("今日は\r\n晴れ。")};
    return view;
}

// What loading a page and taking its snapshot does: the fields are filled
// from the record and read straight back into it.
DiaryPage LoadAndNormalise(const DiaryPage& record, FakeDiaryView& view)
{
    PageFields::RecordToFields(record, view);
    DiaryPage normalised;
    PageFields::FieldsToRecord(view, normalised);
    return normalised;
}

} // namespace

class PageFieldsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The record keeps date, weekday, expense, signature, time, weather, body;
    // the entry fields are numbered date, time, weekday, weather, expense,
    // signature, body.
    void FieldsToRecordFollowsTheFileOrder()
    {
        const FakeDiaryView view = SampleView();
        DiaryPage record;
        PageFields::FieldsToRecord(view, record);
        const QByteArray expected = DiaryBuilder::Padded(QByteArray::fromHex("32303031944e358c8e313493fa"), 15) +
                                    DiaryBuilder::Padded(QByteArray::fromHex("8c8e976a93fa"), 15) +
                                    DiaryBuilder::Padded(QByteArray("1500"), 15) +
                                    DiaryBuilder::Padded(QByteArray::fromHex("8e52936391be9859"), 15) +
                                    DiaryBuilder::Padded(QByteArray::fromHex("8cdf8ce320333a30353a3039"), 15) +
                                    DiaryBuilder::Padded(QByteArray::fromHex("90b082ea"), 15) +
                                    DiaryBuilder::Padded(QByteArray::fromHex("8da193fa82cd0d0a90b082ea8142"), 10000);
        QCOMPARE(record.ToBytes().toHex(), expected.toHex());
    }

    void RecordToFieldsFollowsTheFileOrder()
    {
        DiaryPage record;
        record.Assign(DiaryPage::PageDate, QStringLiteral("2001年5月14日"));
        record.Assign(DiaryPage::PageWeekday, QStringLiteral("月曜日"));
        record.Assign(DiaryPage::PageExpense, QStringLiteral("1500"));
        record.Assign(DiaryPage::PageSignature, QStringLiteral("山田太郎"));
        record.Assign(DiaryPage::PageTime, QStringLiteral("午後 3:05:09"));
        record.Assign(DiaryPage::PageWeather, QStringLiteral("晴れ"));
        record.Assign(DiaryPage::PageBody, QStringLiteral("今日は\r\n晴れ。"));
        FakeDiaryView view;
        PageFields::RecordToFields(record, view);
        QCOMPARE(view.fields[0], QStringLiteral("2001年5月14日"));
        QCOMPARE(view.fields[1], QStringLiteral("午後 3:05:09"));
        QCOMPARE(view.fields[2], QStringLiteral("月曜日"));
        QCOMPARE(view.fields[3], QStringLiteral("晴れ"));
        QCOMPARE(view.fields[4], QStringLiteral("\\1,500"));
        QCOMPARE(view.fields[5], QStringLiteral("山田太郎"));
        QCOMPARE(view.fields[6], QStringLiteral("今日は\r\n晴れ。"));
    }

    void FieldsToRecordCutsLongTexts()
    {
        FakeDiaryView view = SampleView();
        view.fields[0] = QStringLiteral("2001/05/14 10:30 sun");
        view.fields[6] = QString(10001, u'x');
        DiaryPage record;
        PageFields::FieldsToRecord(view, record);
        QCOMPARE(record.Text(DiaryPage::PageDate), QStringLiteral("2001/05/14 10:3"));
        QCOMPARE(record.Text(DiaryPage::PageBody), QString(10000, u'x'));
    }

    void ExpenseIsStoredPlain_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("stored");
        QTest::newRow("group comma") << QStringLiteral("1,500") << QStringLiteral("1500");
        QTest::newRow("shown form") << QStringLiteral("\\1,500") << QStringLiteral("1500");
        QTest::newRow("full-width yen sign") << QStringLiteral("￥1,500") << QStringLiteral("1500");
        QTest::newRow("full-width digits") << QStringLiteral("１５００") << QStringLiteral("1500");
        QTest::newRow("plain") << QStringLiteral("1500") << QStringLiteral("1500");
        QTest::newRow("fraction") << QStringLiteral("1500.5") << QStringLiteral("1500.5");
        QTest::newRow("four decimals") << QStringLiteral("0.1234") << QStringLiteral("0.1234");
        QTest::newRow("fifth decimal is rounded") << QStringLiteral("0.00005") << QStringLiteral("0.0001");
        QTest::newRow("exponent") << QStringLiteral("1.5E+3") << QStringLiteral("1500");
        QTest::newRow("negative in parentheses") << QStringLiteral("(\\500)") << QStringLiteral("-500");
        QTest::newRow("negative with minus") << QStringLiteral("-500") << QStringLiteral("-500");
        QTest::newRow("zero shown") << QStringLiteral("\\0") << QStringLiteral("0");
        QTest::newRow("surrounding spaces") << QStringLiteral(" 12 ") << QStringLiteral("12");
        QTest::newRow("words") << QStringLiteral("abc") << QStringLiteral("0");
        QTest::newRow("empty") << QString() << QStringLiteral("0");
        QTest::newRow("yen word after the number") << QStringLiteral("1,500円") << QStringLiteral("0");
    }
    void ExpenseIsStoredPlain()
    {
        QFETCH(QString, entry);
        QFETCH(QString, stored);
        FakeDiaryView view = SampleView();
        view.fields[4] = entry;
        DiaryPage record;
        PageFields::FieldsToRecord(view, record);
        QCOMPARE(record.Text(DiaryPage::PageExpense), DiaryBuilder::Padded(stored, 15));
    }

    void ExpenseIsShown_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole") << QStringLiteral("1500") << QStringLiteral("\\1,500");
        QTest::newRow("million") << QStringLiteral("1234567") << QStringLiteral("\\1,234,567");
        QTest::newRow("half rounds up") << QStringLiteral("1500.5") << QStringLiteral("\\1,501");
        QTest::newRow("tenths") << QStringLiteral("12345.6") << QStringLiteral("\\12,346");
        QTest::newRow("above zero but below one half") << QStringLiteral("0.4") << QStringLiteral("\\0");
        QTest::newRow("zero") << QStringLiteral("0") << QString();
        QTest::newRow("negative") << QStringLiteral("-200") << QStringLiteral("(\\200)");
        QTest::newRow("blank") << QString() << QString();
        QTest::newRow("not a number") << QStringLiteral("zz") << QString();
        QTest::newRow("out of range") << QStringLiteral("1E+300") << QString();
        QTest::newRow("leading spaces") << QStringLiteral("   1500") << QStringLiteral("\\1,500");
    }
    void ExpenseIsShown()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        DiaryPage record;
        record.Assign(DiaryPage::PageExpense, stored);
        FakeDiaryView view = SampleView();
        PageFields::RecordToFields(record, view);
        QCOMPARE(view.fields[4], shown);
    }

    void TextsAreTrimmedOnLoad_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("date with leading spaces")
            << int(DiaryPage::PageDate) << 0 << QStringLiteral("  2001年5月14日") << QStringLiteral("2001年5月14日");
        QTest::newRow("inner space kept")
            << int(DiaryPage::PageSignature) << 5 << QStringLiteral(" 山田 太郎 ") << QStringLiteral("山田 太郎");
        QTest::newRow("full-width spaces kept")
            << int(DiaryPage::PageWeather) << 3 << QStringLiteral("　晴れ　") << QStringLiteral("　晴れ　");
        QTest::newRow("only spaces") << int(DiaryPage::PageTime) << 1 << QStringLiteral("   ") << QString();
        QTest::newRow("tab kept") << int(DiaryPage::PageWeekday) << 2 << QStringLiteral("\t月曜日")
                                  << QStringLiteral("\t月曜日");
        QTest::newRow("body with leading spaces")
            << int(DiaryPage::PageBody) << 6 << QStringLiteral("   今日は\r\n晴れ。")
            << QStringLiteral("今日は\r\n晴れ。");
        QTest::newRow("body keeps a closing line break")
            << int(DiaryPage::PageBody) << 6 << QStringLiteral("朝\r\n") << QStringLiteral("朝\r\n");
        QTest::newRow("body keeps a full-width indent")
            << int(DiaryPage::PageBody) << 6 << QStringLiteral("　今日は晴れ。") << QStringLiteral("　今日は晴れ。");
    }
    void TextsAreTrimmedOnLoad()
    {
        QFETCH(int, field);
        QFETCH(int, entry);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        DiaryPage record;
        record.Assign(DiaryPage::Field(field), stored);
        FakeDiaryView view;
        PageFields::RecordToFields(record, view);
        QCOMPARE(view.fields[size_t(entry)], shown);
    }

    // Loading a page takes its snapshot from the normalised record; the next
    // store normalises again and writes only when the two differ. Viewing a
    // page must therefore normalise it to a form that normalises to itself.
    void LoadingTwiceChangesNothing_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QByteArray>("bytes"); // the field as the file holds it
        QTest::addColumn<QString>("shown");    // in the entry field after loading
        QTest::addColumn<QString>("snapshot"); // the field in the normalised record

        QTest::newRow("expense with a fraction") << int(DiaryPage::PageExpense) << QByteArray("1500.5")
                                                 << QStringLiteral("\\1,501") << QStringLiteral("1501");
        QTest::newRow("expense below one half")
            << int(DiaryPage::PageExpense) << QByteArray("0.4") << QStringLiteral("\\0") << QStringLiteral("0");
        QTest::newRow("negative expense")
            << int(DiaryPage::PageExpense) << QByteArray("-5") << QStringLiteral("(\\5)") << QStringLiteral("-5");
        QTest::newRow("expense not a number")
            << int(DiaryPage::PageExpense) << QByteArray("zz") << QString() << QStringLiteral("0");
        QTest::newRow("expense out of range")
            << int(DiaryPage::PageExpense) << QByteArray("1E+300") << QString() << QStringLiteral("0");
        QTest::newRow("blank expense") << int(DiaryPage::PageExpense) << QByteArray() << QString()
                                       << QStringLiteral("0");
        QTest::newRow("expense written with a sign") << int(DiaryPage::PageExpense) << QByteArray("\\1,500")
                                                     << QStringLiteral("\\1,500") << QStringLiteral("1500");
        QTest::newRow("body with leading spaces")
            << int(DiaryPage::PageBody) << QByteArray::fromHex("20202092a90d0a96e9") << QStringLiteral("朝\r\n夜")
            << QStringLiteral("朝\r\n夜");
        QTest::newRow("full-width spaces") << int(DiaryPage::PageWeather) << QByteArray::fromHex("814090b082ea8140")
                                           << QStringLiteral("　晴れ　") << QStringLiteral("　晴れ　");
        QTest::newRow("bytes that are no character")
            << int(DiaryPage::PageSignature) << QByteArray::fromHex("41804285") << QStringLiteral("A\uFFFDB\uFFFD")
            << QStringLiteral("A\uFFFDB\uFFFD");
    }
    void LoadingTwiceChangesNothing()
    {
        QFETCH(int, field);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(QString, snapshot);
        const DiaryPage::Layout& layout = DiaryPage::Fields[size_t(field)];
        QByteArray file = SamplePageBytes();
        file.replace(layout.offset, layout.length, DiaryBuilder::Padded(bytes, layout.length));
        const DiaryPage read = DiaryPage::FromBytes(file);

        FakeDiaryView view;
        const DiaryPage first = LoadAndNormalise(read, view);
        QCOMPARE(view.fields[Slot(layout.entryField)], shown);
        QCOMPARE(first.Text(DiaryPage::Field(field)), DiaryBuilder::Padded(snapshot, layout.length));

        FakeDiaryView again;
        const DiaryPage second = LoadAndNormalise(first, again);
        QCOMPARE(second.ToBytes().toHex(), first.ToBytes().toHex());
        QVERIFY(second == first);
    }

private:
    // A page as the file holds it, with an expense of 1500.
    static QByteArray SamplePageBytes()
    {
        return DiaryBuilder::Padded(QByteArray::fromHex("32303031944e358c8e313493fa"), 15) +
               DiaryBuilder::Padded(QByteArray::fromHex("8c8e976a93fa"), 15) +
               DiaryBuilder::Padded(QByteArray("1500"), 15) +
               DiaryBuilder::Padded(QByteArray::fromHex("8e52936391be9859"), 15) +
               DiaryBuilder::Padded(QByteArray::fromHex("8cdf8ce320333a30353a3039"), 15) +
               DiaryBuilder::Padded(QByteArray::fromHex("90b082ea"), 15) +
               DiaryBuilder::Padded(QByteArray::fromHex("8da193fa82cd0d0a90b082ea8142"), 10000);
    }
};

SORAFUMI_TEST(PageFieldsTest)
#include "PageFieldsTest.moc"
