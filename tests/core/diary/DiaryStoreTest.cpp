#include "core/diary/DiaryStore.h"
#include "DiaryBuilder.h"
#include "ScratchStoreTest.h"
#include "TestRegistry.h"

#include "WriteProtection.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace StoreFixture;

namespace {

constexpr int RecordLength = 10090;
const QString Diary = QStringLiteral("DIARY.DAT");

const QString FirstStartPrompt =
    QStringLiteral("ファイル名を１２０文字以内で決めて下さい。\r"
                   "以後このファイル名で日記の内容はデータベースとして\r"
                   "構築されていきます。\r"
                   "\r"
                   "■ヒント！\r"
                   "以前の日記帳Sorafumiのファイルを引き継ぐことができます。\r"
                   "以前のファイル名をを入力してください。\r"
                   "標準では\u3000/home/空野/.local/share/日記帳Sorafumi/\u3000にあるあなたが設定したファイル名です。");

QString AskLine()
{
    return Input(FirstStartPrompt, QStringLiteral("ファイル名の入力"));
}

QString CreationLine(const QString& name)
{
    return Message(name + QStringLiteral("という名前でファイルを作成します。\rこの名前でファイルを作成しますか？"),
                   QStringLiteral("ファイル名確認"), Prompter::Buttons::OkCancel, Prompter::Icon::Information);
}

QString EndLine()
{
    return Message(QStringLiteral("ファイル名を指定しなかったので終了します。"), QStringLiteral("日記帳Sorafumi"),
                   Prompter::Buttons::Ok, Prompter::Icon::None);
}

QString DeleteLine()
{
    return Message(
        QStringLiteral("現在表示している日付のページが削除されます。\r削除すると二度と復元できなくなります。\r"
                       "このページを削除しますか？"),
        QStringLiteral("ページ削除の問い合わせ"), Prompter::Buttons::YesNo, Prompter::Icon::Exclamation,
        Prompter::Answer::No);
}

QString DeleteFileLine()
{
    return Message(QStringLiteral("削除しようとしているページは日記ファイルの最後のページです。\r"
                                  "最後のページを削除した場合は、日記ファイル自体が削除され、\r"
                                  "同時に日記帳も終了します。\r"),
                   QStringLiteral("ファイル削除"), Prompter::Buttons::YesNo, Prompter::Icon::Information);
}

QString InfoLine(const QString& text)
{
    return Message(text, QStringLiteral("ファイルに関する情報"), Prompter::Buttons::Ok, Prompter::Icon::Information);
}

const QString AccessDenied = QStringLiteral("ﾌｧｲﾙにｱｸｾｽできません。\rｱｸｾｽが拒否されました。");

// 1 December 2026 was a Tuesday.
QString Weekday(int day)
{
    static const QStringList names = {QStringLiteral("火曜日"), QStringLiteral("水曜日"), QStringLiteral("木曜日"),
                                      QStringLiteral("金曜日"), QStringLiteral("土曜日"), QStringLiteral("日曜日"),
                                      QStringLiteral("月曜日")};
    return names[(day - 1) % 7];
}

// The page of day n of December 2026, as this program writes it.
DiaryBuilder::Fields Day(int day)
{
    static const QStringList weathers = {QStringLiteral("晴れ"), QStringLiteral("曇り"), QStringLiteral("雨")};
    return {QStringLiteral("2026年12月%1日").arg(day),
            Weekday(day),
            QString::number(day * 100),
            QStringLiteral("山田太郎"),
            QStringLiteral("午後 9:00:00"),
            weathers[day % 3],
            QStringLiteral("%1日の日記。\r\n二行目。").arg(day)};
}

// The entry fields showing day n: date, time, weekday, weather, expense,
// signature, body.
QStringList ShownDay(int day)
{
    const DiaryBuilder::Fields page = Day(day);
    const int amount = day * 100;
    const QString expense =
        amount < 1000 ? u'\\' + QString::number(amount)
                      : QStringLiteral("\\%1,%2").arg(amount / 1000).arg(amount % 1000, 3, 10, QLatin1Char('0'));
    return {page.date, page.time, page.weekday, page.weather, expense, page.signature, page.body};
}

// The page AddPage writes on Monday 7 December 2026 at 9:30.
DiaryBuilder::Fields Today()
{
    return {QStringLiteral("2026年12月7日"),
            QStringLiteral("月曜日"),
            QStringLiteral("0"),
            QStringLiteral("山田太郎"),
            QStringLiteral("午前 9:30:00"),
            {},
            {}};
}

QStringList ShownToday()
{
    return {QStringLiteral("2026年12月7日"),
            QStringLiteral("午前 9:30:00"),
            QStringLiteral("月曜日"),
            {},
            {},
            QStringLiteral("山田太郎"),
            {}};
}

QByteArray Bytes(const DiaryBuilder::Fields& fields)
{
    return DiaryBuilder::Page(fields).ToBytes();
}

QByteArray Days(const QList<int>& days)
{
    QByteArray bytes;
    for (const int day : days)
        bytes += Bytes(Day(day));
    return bytes;
}

QList<int> Range(int first, int last)
{
    QList<int> days;
    for (int day = first; day <= last; ++day)
        days << day;
    return days;
}

// A record written by something else: bytes that are no cp932 text.
QByteArray GarbageRecord()
{
    QByteArray record(RecordLength, '\0');
    for (int i = 0; i < RecordLength; ++i)
        record[i] = char(0x80 + (i * 37) % 128);
    return record;
}

// What a write left in a folder. The test's own state folder stands in the
// scratch folder, and the merge base kept there is meant to stay.
QStringList Entries(const QString& folder)
{
    QStringList entries = QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name);
    entries.removeAll(QStringLiteral("state"));
    entries.removeIf([](const QString& name) { return name.startsWith(QStringLiteral("merge-base-")); });
    return entries;
}

} // namespace

class DiaryStoreTest : public ScratchStoreTest
{
    Q_OBJECT
private Q_SLOTS:
    // --- choosing the diary ------------------------------------------------

    void FirstPageOfANewDiary_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<bool>("emptyFileExists");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("name typed at the first start") << QString() << false << QStringLiteral("diary.dat") << Diary
                                                       << QStringList{AskLine(), CreationLine(Diary)};
        QTest::newRow("name typed with a folder")
            << QString() << false << QStringLiteral("  sub/diary.dat ") << QStringLiteral("sub/DIARY.DAT")
            << QStringList{AskLine(), CreationLine(QStringLiteral("sub/DIARY.DAT"))};
        QTest::newRow("configured file of 0 bytes") << Diary << true << QString() << Diary << QStringList();
        QTest::newRow("configured file missing")
            << Diary << false << QString() << Diary << QStringList{CreationLine(Diary)};
    }
    void FirstPageOfANewDiary()
    {
        QFETCH(QString, configured);
        QFETCH(bool, emptyFileExists);
        QFETCH(QString, typed);
        QFETCH(QString, file);
        QFETCH(QStringList, lines);
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("sub")));
        if (emptyFileExists)
            QVERIFY(WriteBytes(file, {}));
        if (!typed.isEmpty())
            h_->prompter.AnswerInput(typed);
        if (lines.contains(CreationLine(file)))
            h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->store.MarkChanged();

        h_->Start(configured);

        QCOMPARE(Shown(h_->prompter), lines);
        QVERIFY(ReadBytes(file) == Bytes(Today()));
        if (!emptyFileExists)
            QCOMPARE(StampOf(file).mode & 0077, mode_t(0));
        QCOMPARE(h_->app.UserDataFile, file);
        QCOMPARE(h_->Fields(), ShownToday());
        QCOMPARE(h_->view.status, QStringLiteral("全データ数： 1ページ  （現在： 1 ページ目を参照中）"));
        QCOMPARE(h_->view.sliderMaximum, 1);
        QCOMPARE(h_->view.sliderPosition, 1);
        QCOMPARE(h_->view.calendarDate, QDate(2026, 12, 7));
        QVERIFY(!h_->store.PageChanged());
        QCOMPARE(h_->ended, 0);
    }

    // A diary brought from Windows keeps its small letters: typed as it is
    // named, it opens with its pages instead of a new, empty one.
    void DiaryFromWindowsOpensUnderItsOwnName()
    {
        const QString path = scratch_->FilePath(QStringLiteral("old.dat"));
        QVERIFY(WriteBytes(path, Days({1, 2})));
        h_->prompter.AnswerInput(path);
        h_->Start(QString());
        QCOMPARE(Shown(h_->prompter), QStringList{AskLine()});
        QCOMPARE(h_->app.UserDataFile, path);
        QVERIFY(ReadBytes(path) == Days({1, 2}));
        QCOMPARE(h_->view.status, StatusLine(2, 2));
    }

    void FirstStartAsksUntilItHasAName_data()
    {
        // Answers in order: "?text" types text into the input box, "?" alone
        // cancels it, anything else presses that button of a message box.
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("created");
        QTest::newRow("an inner space is refused and the name asked again")
            << QStringList{QStringLiteral("?my diary.dat"), QStringLiteral("OK"), QStringLiteral("?diary.dat"),
                           QStringLiteral("OK")}
            << QStringList{AskLine(), FileErrorBox(QStringLiteral("ﾌｧｲﾙ名が正しくありません。")), AskLine(),
                           CreationLine(Diary)}
            << true;
        QTest::newRow("a missing folder is named and the name asked again")
            << QStringList{QStringLiteral("?nowhere/diary.dat"), QStringLiteral("OK"), QStringLiteral("OK"),
                           QStringLiteral("?diary.dat"), QStringLiteral("OK")}
            << QStringList{AskLine(), CreationLine(QStringLiteral("nowhere/DIARY.DAT")),
                           FileErrorBox(QStringLiteral("指定されたﾊﾟｽが存在しません。")), AskLine(),
                           CreationLine(Diary)}
            << true;
        QTest::newRow("Cancel ends the program")
            << QStringList{QStringLiteral("?"), QStringLiteral("OK")} << QStringList{AskLine(), EndLine()} << false;
        QTest::newRow("only spaces end the program")
            << QStringList{QStringLiteral("?   "), QStringLiteral("OK")} << QStringList{AskLine(), EndLine()} << false;
        QTest::newRow("creation declined, then Cancel")
            << QStringList{QStringLiteral("?diary.dat"), QStringLiteral("Cancel"), QStringLiteral("?"),
                           QStringLiteral("OK")}
            << QStringList{AskLine(), CreationLine(Diary), AskLine(), EndLine()} << false;
    }
    void FirstStartAsksUntilItHasAName()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, lines);
        QFETCH(bool, created);
        for (const QString& answer : answers) {
            if (answer == QStringLiteral("?"))
                h_->prompter.AnswerInput(std::nullopt);
            else if (answer.startsWith(u'?'))
                h_->prompter.AnswerInput(answer.mid(1));
            else
                h_->prompter.AnswerMessage(answer == QStringLiteral("OK") ? Prompter::Answer::Ok
                                                                          : Prompter::Answer::Cancel);
        }
        h_->store.SelectDiaryFile(UserFolder());

        QCOMPARE(Shown(h_->prompter), lines);
        QCOMPARE(h_->ended, created ? 0 : 1);
        QCOMPARE(Entries(scratch_->Path()), created ? QStringList{Diary} : QStringList());
        QCOMPARE(h_->app.UserDataFile, created ? Diary : QString());
        if (created) {
            QVERIFY(ReadBytes(Diary) == Bytes(Today()));
            QCOMPARE(h_->Fields(), ShownToday());
        } else {
            // Ended before anything was shown or stored.
            QCOMPARE(h_->Fields(), QStringList(7, QString()));
            QVERIFY(!h_->store.IsOpen());
        }
    }

    void ConfiguredDiaryOpensAtItsFirstPage_data()
    {
        QTest::addColumn<bool>("absolute");
        QTest::newRow("name in the current folder") << false;
        QTest::newRow("name with its folder") << true;
    }
    void ConfiguredDiaryOpensAtItsFirstPage()
    {
        QFETCH(bool, absolute);
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("sub")));
        const QString path = absolute ? scratch_->FilePath(QStringLiteral("sub/") + Diary) : Diary;
        // Three pages and a tail that is not a page.
        const QByteArray bytes = Days({1, 2, 3}) + QByteArray(100, '#');
        QVERIFY(WriteBytes(path, bytes));
        QVERIFY(BackDate(path));
        const Stamp before = StampOf(path);
        h_->app.UserDataFile = path;
        h_->store.MarkChanged();

        h_->store.SelectDiaryFile(UserFolder());

        QCOMPARE(Shown(h_->prompter), QStringList());
        QCOMPARE(h_->store.PageCount(), 3);
        QCOMPARE(h_->Fields(), ShownDay(1));
        QCOMPARE(h_->view.status, QStringLiteral("全データ数： 3ページ  （現在： 1 ページ目を参照中）"));
        QCOMPARE(h_->view.calendarDate, QDate(2026, 12, 1));
        QVERIFY(!h_->store.PageChanged());
        QCOMPARE(StampOf(path), before);
        QVERIFY(ReadBytes(path) == bytes);
    }

    void CancelledCreationLeavesNoDiary()
    {
        h_->prompter.AnswerMessage(Prompter::Answer::Cancel);
        h_->Start(Diary);
        QCOMPARE(Shown(h_->prompter), QStringList{CreationLine(Diary)});
        QVERIFY(!h_->store.IsOpen());
        QCOMPARE(h_->store.PageCount(), 0);
        // The next start tries the same name again.
        QCOMPARE(h_->app.UserDataFile, Diary);
        QCOMPARE(h_->ended, 0);

        // Nothing can be loaded, stored, added, deleted or compacted.
        const QStringList typed{
            QStringLiteral("2026年12月7日"), {}, {}, QStringLiteral("晴れ"), QStringLiteral("500"), {},
            QStringLiteral("本文")};
        for (int i = 0; i < typed.size(); ++i)
            h_->view.SetFieldText(EntryField(i), typed[i]);
        h_->store.LoadPage();
        QVERIFY(h_->store.StorePage());
        h_->store.AddPage();
        h_->store.DeletePage();
        QVERIFY(h_->store.CompactDiary());
        QCOMPARE(h_->store.FindDatePage(QDate(2026, 12, 7)), std::optional<qint32>(0));
        // The page-number test still runs.
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->store.NextPage();

        QCOMPARE(Shown(h_->prompter),
                 (QStringList{CreationLine(Diary), InfoLine(QStringLiteral(" 0より大きいページはありません。"))}));
        QCOMPARE(h_->Fields(), typed);
        QCOMPARE(h_->view.status, QString());
        QCOMPARE(Entries(scratch_->Path()), QStringList());
        h_->store.CloseDiary();
        QCOMPARE(h_->view.closed, 1);
        QCOMPARE(Entries(scratch_->Path()), QStringList());
    }

    // --- loading and storing -----------------------------------------------

    void ViewingWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("expense");
        QTest::addColumn<QString>("body");
        DiaryBuilder::Fields fraction = Day(2);
        fraction.expense = QStringLiteral("1500.5");
        DiaryBuilder::Fields words = Day(2);
        words.expense = QStringLiteral("たくさん");
        DiaryBuilder::Fields negative = Day(2);
        negative.expense = QStringLiteral("-500");
        DiaryBuilder::Fields indented = Day(2);
        indented.body = QStringLiteral("  \u3000字下げした段落。  ");
        QTest::newRow("an ordinary page") << Bytes(Day(2)) << QStringLiteral("\\200") << Day(2).body;
        QTest::newRow("a stored fraction shows rounded")
            << Bytes(fraction) << QStringLiteral("\\1,501") << fraction.body;
        QTest::newRow("an expense of words shows empty") << Bytes(words) << QString() << words.body;
        QTest::newRow("a negative expense shows as typed")
            << Bytes(negative) << QStringLiteral("(\\500)") << negative.body;
        QTest::newRow("a body with spaces around it")
            << Bytes(indented) << QStringLiteral("\\200") << QStringLiteral("\u3000字下げした段落。");
        QTest::newRow("bytes that are no text") << GarbageRecord() << QString() << QString();
        QTest::newRow("a record of zero bytes") << QByteArray(RecordLength, '\0') << QString() << QString();
    }
    void ViewingWritesNothing()
    {
        QFETCH(QByteArray, record);
        QFETCH(QString, expense);
        QFETCH(QString, body);
        const QByteArray bytes = Bytes(Day(1)) + record + Bytes(Day(3));
        QVERIFY(WriteBytes(Diary, bytes));
        QVERIFY(BackDate(Diary));
        const Stamp before = StampOf(Diary);
        h_->app.UserDataFile = Diary;
        h_->store.SelectDiaryFile(UserFolder());

        h_->Show(2);
        QCOMPARE(h_->view.fields[4], expense);
        if (!body.isEmpty())
            QCOMPARE(h_->view.fields[6], body);
        QVERIFY(h_->store.StorePage());
        h_->store.NextPage();
        QCOMPARE(h_->view.fields[0], Day(3).date);
        h_->store.PreviousPage();
        h_->store.PreviousPage();
        QCOMPARE(h_->view.fields[0], Day(1).date);
        h_->store.NextPage();
        QVERIFY(h_->store.StorePage());
        QVERIFY(h_->store.CompactDiary());

        QCOMPARE(Shown(h_->prompter), QStringList());
        QCOMPARE(StampOf(Diary), before);
        QVERIFY(ReadBytes(Diary) == bytes);
    }

    void AnEditIsWrittenToItsPageOnly_data()
    {
        QTest::addColumn<QString>("storedExpense");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("page");
        const auto with = [](void (*change)(DiaryBuilder::Fields&)) {
            DiaryBuilder::Fields fields = Day(2);
            change(fields);
            return Bytes(fields);
        };
        QTest::newRow("weather") << QStringLiteral("200") << 3 << QStringLiteral("雨のち晴れ")
                                 << with([](DiaryBuilder::Fields& f) { f.weather = QStringLiteral("雨のち晴れ"); });
        QTest::newRow("body with line breaks")
            << QStringLiteral("200") << 6 << QStringLiteral("一行目\r\n\r\n三行目")
            << with([](DiaryBuilder::Fields& f) { f.body = QStringLiteral("一行目\r\n\r\n三行目"); });
        QTest::newRow("expense typed with a separator")
            << QStringLiteral("200") << 4 << QStringLiteral("1,500")
            << with([](DiaryBuilder::Fields& f) { f.expense = QStringLiteral("1500"); });
        QTest::newRow("expense in its shown form")
            << QStringLiteral("200") << 4 << QStringLiteral("\\2,500")
            << with([](DiaryBuilder::Fields& f) { f.expense = QStringLiteral("2500"); });
        QTest::newRow("expense of words") << QStringLiteral("200") << 4 << QStringLiteral("abc")
                                          << with([](DiaryBuilder::Fields& f) { f.expense = QStringLiteral("0"); });
        QTest::newRow("expense emptied") << QStringLiteral("200") << 4 << QString()
                                         << with([](DiaryBuilder::Fields& f) { f.expense = QStringLiteral("0"); });
        QTest::newRow("date longer than its field")
            << QStringLiteral("200") << 0 << QStringLiteral("2026年12月2日（水）晴れ時々曇り")
            << Bytes({QStringLiteral("2026年12月2日（"), Day(2).weekday, Day(2).expense, Day(2).signature, Day(2).time,
                      Day(2).weather, Day(2).body});
        QTest::newRow("a fraction is stored as the whole amount shown")
            << QStringLiteral("1500.5") << 3 << QStringLiteral("雪") << with([](DiaryBuilder::Fields& f) {
                   f.expense = QStringLiteral("1501");
                   f.weather = QStringLiteral("雪");
               });
    }
    void AnEditIsWrittenToItsPageOnly()
    {
        QFETCH(QString, storedExpense);
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QByteArray, page);
        DiaryBuilder::Fields second = Day(2);
        second.expense = storedExpense;
        QVERIFY(WriteBytes(Diary, Bytes(Day(1)) + Bytes(second) + Bytes(Day(3))));
        h_->app.UserDataFile = Diary;
        h_->store.SelectDiaryFile(UserFolder());
        h_->Show(2);

        h_->view.SetFieldText(EntryField(index), typed);
        QVERIFY(h_->store.StorePage());

        const QByteArray expected = Bytes(Day(1)) + page + Bytes(Day(3));
        const QByteArray disk = ReadBytes(Diary);
        QCOMPARE(disk.size(), expected.size());
        QCOMPARE(disk.mid(RecordLength, RecordLength).toHex(), page.toHex());
        QVERIFY(disk == expected);
        // The fields keep what was typed.
        QCOMPARE(h_->view.fields[index], typed);
        QCOMPARE(Shown(h_->prompter), QStringList());
    }

    // --- adding ------------------------------------------------------------

    void AddPageAppendsToday_data()
    {
        QTest::addColumn<QList<int>>("days");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("weather");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QByteArray>("added");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("after three pages")
            << QList<int>{1, 2, 3} << 2 << QString() << Now() << Bytes(Today()) << ShownToday();
        QTest::newRow("today already has a page")
            << QList<int>{1, 2, 7} << 3 << QString() << Now() << Bytes(Today()) << ShownToday();
        QTest::newRow("the shown page is stored first")
            << QList<int>{1, 2, 3} << 2 << QStringLiteral("雪") << Now() << Bytes(Today()) << ShownToday();
        QTest::newRow("in the afternoon")
            << QList<int>{1, 2, 3} << 1 << QString() << QDateTime(QDate(2026, 12, 8), QTime(15, 5, 9))
            << Bytes({QStringLiteral("2026年12月8日"),
                      QStringLiteral("火曜日"),
                      QStringLiteral("0"),
                      QStringLiteral("山田太郎"),
                      QStringLiteral("午後 3:05:09"),
                      {},
                      {}})
            << QStringList{QStringLiteral("2026年12月8日"),
                           QStringLiteral("午後 3:05:09"),
                           QStringLiteral("火曜日"),
                           {},
                           {},
                           QStringLiteral("山田太郎"),
                           {}};
        QTest::newRow("at midnight") << QList<int>{1, 2, 3} << 3 << QString()
                                     << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0))
                                     << Bytes({QStringLiteral("2027年1月1日"),
                                               QStringLiteral("金曜日"),
                                               QStringLiteral("0"),
                                               QStringLiteral("山田太郎"),
                                               QStringLiteral("午前 12:00:00"),
                                               {},
                                               {}})
                                     << QStringList{QStringLiteral("2027年1月1日"),
                                                    QStringLiteral("午前 12:00:00"),
                                                    QStringLiteral("金曜日"),
                                                    {},
                                                    {},
                                                    QStringLiteral("山田太郎"),
                                                    {}};
    }
    void AddPageAppendsToday()
    {
        QFETCH(QList<int>, days);
        QFETCH(int, shown);
        QFETCH(QString, weather);
        QFETCH(QDateTime, now);
        QFETCH(QByteArray, added);
        QFETCH(QStringList, fields);
        QVERIFY(WriteBytes(Diary, Days(days)));
        h_->clock.Set(now);
        h_->Start(Diary);
        h_->Show(shown);
        QByteArray expected = Days(days);
        if (!weather.isEmpty()) {
            h_->view.SetFieldText(EntryField::Weather, weather);
            DiaryBuilder::Fields edited = Day(days[shown - 1]);
            edited.weather = weather;
            expected.replace((shown - 1) * RecordLength, RecordLength, Bytes(edited));
        }

        h_->store.AddPage();

        QVERIFY(ReadBytes(Diary) == expected + added);
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, QStringLiteral("全データ数： 4ページ  （現在： 4 ページ目を参照中）"));
        QCOMPARE(h_->view.sliderMaximum, 4);
        QCOMPARE(h_->view.sliderPosition, 4);
        QCOMPARE(h_->view.calendarDate, now.date());
        QCOMPARE(h_->store.CurrentPage(), 4);
        QCOMPARE(Shown(h_->prompter), QStringList());
    }

    // --- deleting ----------------------------------------------------------

    void DeleteAnsweredNoChangesNothing()
    {
        QVERIFY(WriteBytes(Diary, Days(Range(1, 5))));
        QVERIFY(BackDate(Diary));
        const Stamp before = StampOf(Diary);
        h_->Start(Diary);
        h_->Show(3);
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        QStringList fields = ShownDay(3);
        fields[3] = QStringLiteral("雪");

        h_->prompter.AnswerMessage(Prompter::Answer::No);
        h_->store.DeletePage();

        QCOMPARE(Shown(h_->prompter), QStringList{DeleteLine()});
        QCOMPARE(h_->prompter.beeps, 1);
        QCOMPARE(StampOf(Diary), before);
        QVERIFY(ReadBytes(Diary) == Days(Range(1, 5)));
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, StatusLine(5, 3));
    }

    void DeletePage_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("tail");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("left");
        QTest::addColumn<int>("shownPage");
        QTest::addColumn<QString>("status");
        QTest::newRow("page 3 of 5") << 5 << false << 3 << QList<int>{1, 2, 4, 5} << 3
                                     << QStringLiteral("全データ数： 4ページ  （現在： 3 ページ目を参照中）");
        QTest::newRow("page 5 of 5") << 5 << false << 5 << QList<int>{1, 2, 3, 4} << 4
                                     << QStringLiteral("全データ数： 4ページ  （現在： 4 ページ目を参照中）");
        QTest::newRow("page 1 of 5") << 5 << false << 1 << QList<int>{2, 3, 4, 5} << 1 << StatusLine(4, 1);
        QTest::newRow("page 2 of 2 with a trailing part") << 2 << true << 2 << QList<int>{1} << 1 << StatusLine(1, 1);
    }
    void DeletePage()
    {
        QFETCH(int, pages);
        QFETCH(bool, tail);
        QFETCH(int, current);
        QFETCH(QList<int>, left);
        QFETCH(int, shownPage);
        QFETCH(QString, status);
        QVERIFY(WriteBytes(Diary, Days(Range(1, pages)) + QByteArray(tail ? 500 : 0, '#')));
        QVERIFY(WriteBytes(TempName, QByteArray(3 * RecordLength, 'Z')));
        h_->Start(Diary);
        h_->Show(current);
        // Edits not yet stored go with the page.
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));

        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->store.DeletePage();

        QCOMPARE(Shown(h_->prompter), QStringList{DeleteLine()});
        QCOMPARE(h_->prompter.beeps, 0);
        QVERIFY(ReadBytes(Diary) == Days(left));
        QCOMPARE(Entries(scratch_->Path()), QStringList{Diary});
        QCOMPARE(h_->Fields(), ShownDay(left[shownPage - 1]));
        QCOMPARE(h_->view.status, status);
        QCOMPARE(h_->view.sliderMaximum, left.size());
        QCOMPARE(h_->view.sliderPosition, shownPage);
        QCOMPARE(h_->store.PageCount(), left.size());
        QCOMPARE(h_->store.CurrentPage(), shownPage);
    }

    // The calendar and the other views beside the page follow the diary:
    // told of a new date and a removal, not of viewing or of a text stored.
    void ViewsHearOfWritesNotOfViewing()
    {
        QVERIFY(WriteBytes(Diary, Days(Range(1, 3))));
        h_->Start(Diary);
        const QSignalSpy shown(&h_->store, &DiaryStore::pageShown);
        const QSignalSpy changed(&h_->store, &DiaryStore::pagesChanged);

        h_->Show(2);
        h_->store.NextPage();
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        QVERIFY(h_->store.StorePage());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(shown.count(), 2);
        h_->view.SetFieldText(EntryField::Date, Day(9).date);
        QVERIFY(h_->store.StorePage());
        QCOMPARE(changed.count(), 1);
        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->store.DeletePage();
        QCOMPARE(changed.count(), 2);
        QCOMPARE(shown.count(), 3);
    }

    void DeletingTheOnlyPage_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps everything") << false;
        QTest::newRow("Yes deletes the diary and ends") << true;
    }
    void DeletingTheOnlyPage()
    {
        QFETCH(bool, yes);
        QVERIFY(WriteBytes(Diary, Days({6})));
        QVERIFY(BackDate(Diary));
        const Stamp before = StampOf(Diary);
        h_->Start(Diary);

        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->prompter.AnswerMessage(yes ? Prompter::Answer::Yes : Prompter::Answer::No);
        h_->store.DeletePage();

        QCOMPARE(Shown(h_->prompter), (QStringList{DeleteLine(), DeleteFileLine()}));
        QCOMPARE(h_->prompter.beeps, 0);
        QCOMPARE(h_->view.closed, yes ? 1 : 0);
        QCOMPARE(h_->app.UserDataFile, yes ? QString() : Diary);
        QCOMPARE(Entries(scratch_->Path()), yes ? QStringList() : QStringList{Diary});
        if (!yes) {
            QCOMPARE(StampOf(Diary), before);
            QCOMPARE(h_->Fields(), ShownDay(6));
        }
    }
    void AnOnlyPageThatCannotGoIsTold()
    {
        QVERIFY(WriteBytes(Diary, Days({6})));
        h_->Start(Diary);
        // Only root's immutable file can be neither removed nor cut once open.
        const WriteProtection protection(Diary);
        if (::geteuid() != 0 || !protection.IsOn())
            QSKIP(qPrintable(WriteProtection::WhyNot()));
        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->prompter.AnswerMessage(Prompter::Answer::Yes);
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->store.DeletePage();
        QCOMPARE(Shown(h_->prompter), (QStringList{DeleteLine(), DeleteFileLine(), FileErrorBox(AccessDenied)}));
        QCOMPARE(h_->view.closed, 0);
        QCOMPARE(h_->app.UserDataFile, Diary);
        QCOMPARE(ReadBytes(Diary), Days({6}));
    }

    // --- stepping ----------------------------------------------------------

    void NoPageBeyondTheEnds_data()
    {
        QTest::addColumn<bool>("next");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::newRow("before page 1") << false << 1 << QStringLiteral("1 より小さいページはありません。");
        QTest::newRow("after the last of 12") << true << 12 << QStringLiteral(" 12より大きいページはありません。");
    }
    void NoPageBeyondTheEnds()
    {
        QFETCH(bool, next);
        QFETCH(int, page);
        QFETCH(QString, text);
        QVERIFY(WriteBytes(Diary, Days(Range(1, 12))));
        h_->Start(Diary);
        h_->Show(page);
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        h_->store.MarkChanged();

        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        if (next)
            h_->store.NextPage();
        else
            h_->store.PreviousPage();

        QCOMPARE(Shown(h_->prompter), QStringList{InfoLine(text)});
        // Stored first, then the same page loaded again.
        DiaryBuilder::Fields edited = Day(page);
        edited.weather = QStringLiteral("雪");
        QByteArray expected = Days(Range(1, 12));
        expected.replace((page - 1) * RecordLength, RecordLength, Bytes(edited));
        QVERIFY(ReadBytes(Diary) == expected);
        QStringList fields = ShownDay(page);
        fields[3] = QStringLiteral("雪");
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, StatusLine(12, page));
        QCOMPARE(h_->view.sliderPosition, page);
        if (next)
            QVERIFY(!h_->store.PageChanged());
    }

    void SteppingStoresTheEditFirst_data()
    {
        QTest::addColumn<bool>("next");
        QTest::addColumn<int>("to");
        QTest::newRow("next page") << true << 3;
        QTest::newRow("previous page") << false << 1;
    }
    void SteppingStoresTheEditFirst()
    {
        QFETCH(bool, next);
        QFETCH(int, to);
        QVERIFY(WriteBytes(Diary, Days({1, 2, 3})));
        h_->Start(Diary);
        h_->Show(2);
        h_->view.SetFieldText(EntryField::Body, QStringLiteral("書き直した。"));
        h_->store.MarkChanged();

        if (next)
            h_->store.NextPage();
        else
            h_->store.PreviousPage();

        DiaryBuilder::Fields edited = Day(2);
        edited.body = QStringLiteral("書き直した。");
        QVERIFY(ReadBytes(Diary) == Bytes(Day(1)) + Bytes(edited) + Bytes(Day(3)));
        QCOMPARE(h_->Fields(), ShownDay(to));
        QCOMPARE(h_->view.status, StatusLine(3, to));
        QCOMPARE(Shown(h_->prompter), QStringList());
        if (next)
            QVERIFY(!h_->store.PageChanged());
    }

    // A search or a calendar click stores what was typed on the shown page,
    // text still being converted with it, as stepping does; a page that
    // cannot be stored stays, with its text.
    void ShowingAnotherPageStoresTheShownOneFirst_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("sealed");
        QTest::addColumn<int>("to");
        QTest::newRow("search") << QStringLiteral("search") << false << 1;
        QTest::newRow("calendar, a day of page 1") << QStringLiteral("day") << false << 1;
        QTest::newRow("calendar, a day without a page") << QStringLiteral("no page") << false << 3;
        QTest::newRow("next page") << QStringLiteral("next") << false << 3;
        QTest::newRow("search, the diary cannot be written") << QStringLiteral("search") << true << 2;
    }
    void ShowingAnotherPageStoresTheShownOneFirst()
    {
        QFETCH(QString, way);
        QFETCH(bool, sealed);
        QFETCH(int, to);
        QVERIFY(WriteBytes(Diary, Days({1, 2, 3})));
        h_->Start(Diary);
        h_->Show(2);
        h_->view.SetFieldText(EntryField::Body, QStringLiteral("書き直した。"));
        h_->view.composing = QStringLiteral("くもり");
        if (sealed && !scratch_->Seal(scratch_->FilePath(Diary)))
            QSKIP("the file system cannot make a file immutable");
        QStringList boxes;
        if (sealed) {
            h_->prompter.AnswerMessage(Prompter::Answer::Ok);
            boxes << FileErrorBox(AccessDenied);
        }

        if (way == QStringLiteral("search")) {
            h_->store.FindAndShow(QStringLiteral("1日の日記"), 1);
        } else if (way == QStringLiteral("day")) {
            h_->store.ShowDay(QDate(2026, 12, 1));
        } else if (way == QStringLiteral("no page")) {
            h_->prompter.AnswerMessage(Prompter::Answer::No);
            h_->store.ShowDay(QDate(2026, 12, 20));
            boxes << Message(QStringLiteral("2026/12/20 の日記はありませんでした。この日の日記をつけますか？"),
                             QStringLiteral("日記帳Sorafumi"), Prompter::Buttons::YesNo, Prompter::Icon::Question);
        } else {
            h_->store.NextPage();
        }

        QCOMPARE(Shown(h_->prompter), boxes);
        DiaryBuilder::Fields edited = Day(2);
        edited.body = QStringLiteral("書き直した。くもり");
        QVERIFY(ReadBytes(Diary) == (sealed ? Days({1, 2, 3}) : Bytes(Day(1)) + Bytes(edited) + Bytes(Day(3))));
        QCOMPARE(h_->store.CurrentPage(), to);
        if (sealed)
            QCOMPARE(h_->view.fields[Slot(EntryField::Body)], edited.body);
        else
            QCOMPARE(h_->Fields(), ShownDay(to));
    }

    // --- rewriting the whole file -------------------------------------------

    void CompactDropsTheTailAndTheLeftover_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::newRow("diary in the current folder") << false;
        QTest::newRow("diary in a folder of its own") << true;
    }
    void CompactDropsTheTailAndTheLeftover()
    {
        QFETCH(bool, elsewhere);
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("sub")));
        const QString folder = elsewhere ? scratch_->FilePath(QStringLiteral("sub")) : scratch_->Path();
        const QString path = elsewhere ? folder + u'/' + Diary : Diary;
        QVERIFY(WriteBytes(path, Days({1, 2, 3}) + QByteArray(100, '#')));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        // A leftover of a run that never finished, longer than the diary.
        QVERIFY(WriteBytes(folder + u'/' + TempName, QByteArray(5 * RecordLength, 'Z')));
        h_->Start(path);
        h_->Show(2);
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        const QStringList fields = h_->Fields();

        QVERIFY(h_->store.CompactDiary());

        QVERIFY(ReadBytes(path) == Days({1, 2, 3}));
        QVERIFY(!QFile::exists(folder + u'/' + TempName));
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, StatusLine(3, 2));
        QCOMPARE(Shown(h_->prompter), QStringList());
        // The rewritten file may be read by whom the diary could be read.
        QCOMPARE(StampOf(path).mode, mode_t(0640));

        // The rewritten file is the one that stays open.
        QVERIFY(h_->store.StorePage());
        DiaryBuilder::Fields edited = Day(2);
        edited.weather = QStringLiteral("雪");
        QVERIFY(ReadBytes(path) == Bytes(Day(1)) + Bytes(edited) + Bytes(Day(3)));
    }

    void CompactLeavesAnExactDiaryAlone()
    {
        QVERIFY(WriteBytes(Diary, Days({1, 2, 3})));
        QVERIFY(BackDate(Diary));
        const Stamp before = StampOf(Diary);
        h_->Start(Diary);
        QVERIFY(h_->store.CompactDiary());
        QCOMPARE(StampOf(Diary), before);
        QVERIFY(ReadBytes(Diary) == Days({1, 2, 3}));
    }

    void CloseDiary_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::newRow("a changed page is stored") << true;
        QTest::newRow("an unchanged page is not") << false;
    }
    void CloseDiary()
    {
        QFETCH(bool, changed);
        QVERIFY(WriteBytes(Diary, Days({1, 2}) + QByteArray(77, '#')));
        h_->Start(Diary);
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        if (changed)
            h_->store.MarkChanged();

        h_->store.CloseDiary();

        DiaryBuilder::Fields edited = Day(2);
        edited.weather = QStringLiteral("雪");
        QVERIFY(ReadBytes(Diary) == Bytes(Day(1)) + (changed ? Bytes(edited) : Bytes(Day(2))));
        QCOMPARE(h_->view.closed, 1);
        QCOMPARE(Shown(h_->prompter), QStringList());
    }

    // --- finding a date -----------------------------------------------------

    void FindDatePage_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("page");
        QTest::newRow("the first of two pages of one date") << QDate(2026, 12, 7) << 2;
        QTest::newRow("the first page") << QDate(2026, 12, 1) << 1;
        QTest::newRow("a date written with slashes") << QDate(2026, 12, 8) << 5;
        QTest::newRow("free text that mentions the date") << QDate(2026, 12, 9) << 0;
        QTest::newRow("a date with no page") << QDate(2026, 12, 24) << 0;
    }
    void FindDatePage()
    {
        QFETCH(QDate, date);
        QFETCH(int, page);
        DiaryBuilder::Fields loose = Day(9);
        loose.date = QStringLiteral("12月9日ごろ");
        DiaryBuilder::Fields slashes = Day(8);
        slashes.date = QStringLiteral("2026/12/08");
        DiaryBuilder::Fields second = Day(7);
        second.weather = QStringLiteral("二枚目");
        DiaryBuilder builder;
        builder.Add(Day(1)).Add(Day(7)).Add(loose).Add(second).Add(slashes);
        QVERIFY(builder.WriteTo(Diary));
        h_->Start(Diary);
        h_->Show(3);
        const QStringList fields = h_->Fields();

        QCOMPARE(h_->store.FindDatePage(date), std::optional<qint32>(page));
        // Only the dates are read: the page shown stays as it was.
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, StatusLine(5, 3));
    }

    // Another program cut the file short behind the diary's back: the pages it
    // lost cannot be read, and that is said, not taken for a day without a
    // page or a text found nowhere.
    void UnreadablePagesAreNotMissingPages_data()
    {
        QTest::addColumn<bool>("dates");
        QTest::newRow("the calendar's look-up") << true;
        QTest::newRow("the search") << false;
    }
    void UnreadablePagesAreNotMissingPages()
    {
        QFETCH(bool, dates);
        DiaryBuilder builder;
        for (int day = 1; day <= 5; ++day)
            builder.Add(Day(day));
        QVERIFY(builder.WriteTo(Diary));
        h_->Start(Diary);
        QVERIFY(QFile::resize(Diary, qint64(3) * DiaryPage::RecordLength));
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);

        const std::optional<qint32> found = dates ? h_->store.FindDatePage(QDate(2026, 12, 24))
                                                  : h_->store.FindInBodies(QStringLiteral("どこにもない"), 1);

        QVERIFY(!found);
        QCOMPARE(Shown(h_->prompter),
                 QStringList{FileErrorBox(QStringLiteral("このﾌｧｲﾙの EOF 記号が標準と異なります。"
                                                         "または EOF 記号を越えてﾃﾞｰﾀを読み込もうとしました。"))});
    }

    // A page that cannot be read shows empty: the page shown before is not
    // left in the fields to be stored in its place, nor empty fields over it.
    void APageThatCannotBeReadShowsEmpty()
    {
        QVERIFY(WriteBytes(Diary, Days(Range(1, 5))));
        h_->Start(Diary);
        h_->Show(2);
        QVERIFY(QFile::resize(Diary, qint64(3) * RecordLength));
        h_->prompter.AnswerMessage(Prompter::Answer::Ok);

        h_->Show(5);

        QCOMPARE(Shown(h_->prompter).size(), 1);
        QCOMPARE(h_->Fields(), QStringList(EntryFieldCount));
        QCOMPARE(h_->view.status, StatusLine(5, 5));
        h_->store.StepToPage(1);
        QVERIFY(ReadBytes(Diary) == Days(Range(1, 3)));
        QCOMPARE(h_->Fields(), ShownDay(1));
    }

    // --- failing disks (root only: a small disk of its own) -------------------

    void FullDiskDuringARewrite_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("compacting") << false;
        QTest::newRow("deleting page 2 of 4") << true;
    }
    void FullDiskDuringARewrite()
    {
        QFETCH(bool, deleting);
        if (const QString why = scratch_->MountSmallDisk(64); !why.isEmpty())
            QSKIP(qPrintable(why));
        // The diary takes 10 of the 16 pages of memory of the disk: no room for
        // a second copy.
        const QString path = scratch_->Disk().FilePath(Diary);
        const QByteArray bytes = Days({1, 2, 3, 4}) + QByteArray(100, '#');
        QVERIFY(WriteBytes(path, bytes));
        h_->Start(path);
        h_->Show(2);
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        QStringList fields = ShownDay(2);
        fields[3] = QStringLiteral("雪");

        if (deleting) {
            h_->prompter.AnswerMessage(Prompter::Answer::Yes);
            h_->prompter.AnswerMessage(Prompter::Answer::Ok);
            h_->store.DeletePage();
        } else {
            h_->prompter.AnswerMessage(Prompter::Answer::Ok);
            QVERIFY(!h_->store.CompactDiary());
        }

        QCOMPARE(Shown(h_->prompter),
                 (deleting ? QStringList{DeleteLine(), FileErrorBox(DiskFull)} : QStringList{FileErrorBox(DiskFull)}));
        QVERIFY(ReadBytes(path) == bytes);
        QCOMPARE(Entries(scratch_->Disk().Path()), QStringList{Diary});
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, StatusLine(4, 2));
        QCOMPARE(h_->store.PageCount(), 4);
        QCOMPARE(h_->store.CurrentPage(), 2);

        // The diary is still open and the edit can still be saved.
        QVERIFY(h_->store.StorePage());
        DiaryBuilder::Fields edited = Day(2);
        edited.weather = QStringLiteral("雪");
        QVERIFY(ReadBytes(path) == Bytes(Day(1)) + Bytes(edited) + Days({3, 4}) + QByteArray(100, '#'));
    }

    void FullDiskWhenAdding()
    {
        if (const QString why = scratch_->MountSmallDisk(64); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QString path = scratch_->Disk().FilePath(Diary);
        QVERIFY(WriteBytes(path, Days({1, 2, 3, 4})));
        h_->Start(path);
        h_->Show(2);
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        QVERIFY(scratch_->Disk().Fill());

        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->store.AddPage();

        QCOMPARE(Shown(h_->prompter), QStringList{FileErrorBox(DiskFull)});
        // The edit went into its own page's place; nothing was added, not even
        // part of a page.
        DiaryBuilder::Fields edited = Day(2);
        edited.weather = QStringLiteral("雪");
        const QByteArray stored = Bytes(Day(1)) + Bytes(edited) + Days({3, 4});
        QVERIFY(ReadBytes(path) == stored);
        QStringList fields = ShownDay(2);
        fields[3] = QStringLiteral("雪");
        QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, StatusLine(4, 2));
        QCOMPARE(h_->store.PageCount(), 4);

        // With room again the same command works.
        QVERIFY(scratch_->Disk().MakeRoom());
        h_->store.AddPage();
        QVERIFY(ReadBytes(path) == stored + Bytes(Today()));
        QCOMPARE(h_->view.status, StatusLine(5, 5));
        QCOMPARE(Shown(h_->prompter), QStringList{FileErrorBox(DiskFull)});
    }

    void FullDiskWhenStoring()
    {
        if (const QString why = scratch_->MountSmallDisk(64); !why.isEmpty())
            QSKIP(qPrintable(why));
        // Page 2 was never given room of its own on the disk (the file has a
        // hole there), so writing it needs room that the full disk lacks.
        const QString path = scratch_->Disk().FilePath(Diary);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(Bytes(Day(1))), qint64(RecordLength));
            QVERIFY(file.seek(2 * RecordLength));
            QCOMPARE(file.write(Bytes(Day(3))), qint64(RecordLength));
        }
        const QByteArray bytes = ReadBytes(path);
        QCOMPARE(bytes.size(), 3 * RecordLength);
        h_->Start(path);
        h_->Show(2);
        QVERIFY(scratch_->Disk().Fill());
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雨"));
        const QStringList fields = h_->Fields();

        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        QVERIFY(!h_->store.StorePage());

        QCOMPARE(Shown(h_->prompter), QStringList{FileErrorBox(DiskFull)});
        QVERIFY(ReadBytes(path) == bytes);
        QCOMPARE(h_->Fields(), fields);

        // The edit is still waiting and is written once there is room.
        QVERIFY(scratch_->Disk().MakeRoom());
        QVERIFY(h_->store.StorePage());
        const QByteArray disk = ReadBytes(path);
        QVERIFY(disk.left(RecordLength) == Bytes(Day(1)));
        DiaryBuilder::Fields rain;
        rain.weather = QStringLiteral("雨");
        QVERIFY(disk.mid(RecordLength + 75, 15) == Bytes(rain).mid(75, 15));
        QVERIFY(disk.mid(2 * RecordLength) == Bytes(Day(3)));
    }

    void FullDiskOnTheFirstPage()
    {
        if (const QString why = scratch_->MountSmallDisk(64); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QString path = scratch_->Disk().FilePath(Diary);
        QVERIFY(WriteBytes(path, {}));
        QVERIFY(scratch_->Disk().Fill());

        h_->prompter.AnswerMessage(Prompter::Answer::Ok);
        h_->Start(path);

        QCOMPARE(Shown(h_->prompter), QStringList{FileErrorBox(DiskFull)});
        QCOMPARE(StampOf(path).size, qint64(0));
        QCOMPARE(h_->store.PageCount(), 0);
        // No page to show, and none half made.
        QCOMPARE(h_->Fields(), QStringList(7, QString()));
        QCOMPARE(h_->store.FindDatePage(QDate(2026, 12, 7)), std::optional<qint32>(0));

        QVERIFY(scratch_->Disk().MakeRoom());
        h_->store.AddPage();
        QVERIFY(ReadBytes(path) == Bytes(Today()));
        QCOMPARE(h_->Fields(), ShownToday());
        QCOMPARE(h_->view.status, StatusLine(1, 1));
    }

    // A diary the user may write in a folder that takes no new file: pages
    // are stored (their journal kept in the user's state folder) and the
    // file's end is cut in place; only a deletion that would move pages
    // within the diary is refused, with the page kept.
    void ProtectedDiary_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("lockFolder");
        QTest::addColumn<bool>("done");
        QTest::newRow("storing into an immutable file") << QStringLiteral("store") << false << false;
        QTest::newRow("storing in an immutable folder") << QStringLiteral("store") << true << true;
        QTest::newRow("compacting in an immutable folder") << QStringLiteral("compact") << true << true;
        QTest::newRow("deleting the last page in an immutable folder") << QStringLiteral("delete-last") << true << true;
        QTest::newRow("deleting a middle page in an immutable folder") << QStringLiteral("delete") << true << false;
    }
    void ProtectedDiary()
    {
        QFETCH(QString, operation);
        QFETCH(bool, lockFolder);
        QFETCH(bool, done);
        if (::geteuid() != 0)
            QSKIP("only root can protect a file from root");
        QVERIFY(QDir(scratch_->Path()).mkdir(QStringLiteral("locked")));
        const QString folder = scratch_->FilePath(QStringLiteral("locked"));
        const QString path = folder + u'/' + Diary;
        const QByteArray bytes = Days({1, 2, 3}) + QByteArray(100, '#');
        QVERIFY(WriteBytes(path, bytes));
        h_->Start(path);
        h_->Show(operation == QStringLiteral("delete-last") ? 3 : 2);
        h_->view.SetFieldText(EntryField::Weather, QStringLiteral("雪"));
        const QStringList fields = h_->Fields();
        if (!scratch_->Seal(lockFolder ? folder : path))
            QSKIP("the file system cannot make a file immutable");

        QByteArray after = bytes;
        const QString deletionRefused =
            Message(QStringLiteral("日記ファイルのあるフォルダに書き込めないため、このページは削除できません。\r"
                                   "ページはそのまま残っています。\r") +
                        folder,
                    QStringLiteral("ﾌｧｲﾙ ｴﾗｰ"), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        QStringList boxes;
        if (operation == QStringLiteral("store")) {
            if (!done)
                h_->prompter.AnswerMessage(Prompter::Answer::Ok);
            QCOMPARE(h_->store.StorePage(), done);
            boxes = done ? QStringList() : QStringList{FileErrorBox(AccessDenied)};
            DiaryBuilder::Fields snowy = Day(2);
            snowy.weather = QStringLiteral("雪");
            if (done)
                after = Days({1}) + Bytes(snowy) + Days({3}) + QByteArray(100, '#');
        } else if (operation == QStringLiteral("compact")) {
            QVERIFY(h_->store.CompactDiary());
            after = Days({1, 2, 3});
        } else {
            h_->prompter.AnswerMessage(Prompter::Answer::Yes);
            if (!done)
                h_->prompter.AnswerMessage(Prompter::Answer::Ok);
            h_->store.DeletePage();
            boxes = done ? QStringList{DeleteLine()} : QStringList{DeleteLine(), deletionRefused};
            if (done)
                after = Days({1, 2});
        }

        QCOMPARE(Shown(h_->prompter), boxes);
        QVERIFY(ReadBytes(path) == after);
        QCOMPARE(Entries(folder), QStringList{Diary});
        QCOMPARE(Entries(scratch_->FilePath(QStringLiteral("state/日記帳Sorafumi"))), QStringList());
        if (operation != QStringLiteral("delete-last"))
            QCOMPARE(h_->Fields(), fields);
        QCOMPARE(h_->view.status, operation == QStringLiteral("delete-last") ? StatusLine(2, 2) : StatusLine(3, 2));
    }
};

SORAFUMI_TEST(DiaryStoreTest)
#include "DiaryStoreTest.moc"
