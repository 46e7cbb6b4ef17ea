#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "core/diary/DiaryPage.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/mainwindow/UpDown.h"
#include "ui/platform/Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int RecordLength = DiaryPage::RecordLength;
constexpr int Weather = 3;
constexpr int Expense = 4;
constexpr int Signature = 5;
constexpr int Body = 6;

const QString Owner = QStringLiteral("空野太郎");

DiaryBuilder::Fields Day(int day, const QString& expense = QString())
{
    return {QStringLiteral("2026年12月%1日").arg(day),
            QStringLiteral("月曜日"),
            expense,
            Owner,
            QStringLiteral("午後 8:00:00"),
            QStringLiteral("霧"),
            QStringLiteral("本文%1").arg(day)};
}

// Five pages, December 1st to 5th; the weather of each is a word the spinner
// does not know.
DiaryBuilder FiveDays()
{
    DiaryBuilder diary;
    for (int day = 1; day <= 5; ++day)
        diary.Add(Day(day));
    return diary;
}

QLineEdit* Line(const MainWindow& form, int index)
{
    return qobject_cast<QLineEdit*>(EntryBox(form, index));
}

QPlainTextEdit* Contents(const MainWindow& form)
{
    return qobject_cast<QPlainTextEdit*>(EntryBox(form, Body));
}

// The last page shown afresh the way "１つ後のページ" shows it: not marked as changed.
void ShowLastPageUnchanged(MainWindow& form)
{
    form.Store().ShowPage(form.Store().PageCount() - 1);
    form.Store().NextPage();
}

QSlider* Slider(const MainWindow& form)
{
    return form.findChild<QSlider*>(QStringLiteral("Slider1"));
}

QToolButton* Arrow(const MainWindow& form, const QString& spinner, Qt::ArrowType arrow)
{
    for (QToolButton* button : form.findChild<UpDown*>(spinner)->findChildren<QToolButton*>())
        if (button->arrowType() == arrow)
            return button;
    return nullptr;
}

bool Activate(MainWindow& form)
{
    QApplication::setActiveWindow(&form);
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}

// Moves the focus with the mouse, as a click into the box does, and lets the
// selection that follows the click happen.
void ClickInto(QWidget* box)
{
    QWidget* target = box;
    if (auto* text = qobject_cast<QPlainTextEdit*>(box))
        target = text->viewport();
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, 4));
    QCoreApplication::processEvents();
}

// What an input method hands over when the user confirms a text; it carries
// any character, where key presses carry only Latin-1.
void Type(QWidget* box, const QString& text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(box, &commit);
}

void Press(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace

class EntryEditingTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void ExpenseShownAndEdited_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("edited");
        QTest::newRow("1234567") << QStringLiteral("1234567") << QStringLiteral("\\1,234,567")
                                 << QStringLiteral("1234567");
        QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("\\0") << QStringLiteral("0");
        QTest::newRow("negative") << QStringLiteral("-500") << QStringLiteral("(\\500)") << QStringLiteral("-500");
        QTest::newRow("half rounds away from zero")
            << QStringLiteral("12.5") << QStringLiteral("\\13") << QStringLiteral("13");
        QTest::newRow("typed with commas")
            << QStringLiteral("1,500") << QStringLiteral("\\1,500") << QStringLiteral("1500");
        QTest::newRow("typed in the shown form")
            << QStringLiteral("\\2,000") << QStringLiteral("\\2,000") << QStringLiteral("2000");
        QTest::newRow("negative in the shown form")
            << QStringLiteral("(\\300)") << QStringLiteral("(\\300)") << QStringLiteral("-300");
        QTest::newRow("full-width yen sign")
            << QStringLiteral("￥800") << QStringLiteral("\\800") << QStringLiteral("800");
        QTest::newRow("words") << QStringLiteral("五百円") << QStringLiteral("五百円") << QStringLiteral("五百円");
        QTest::newRow("number then words")
            << QStringLiteral("500円") << QStringLiteral("500円") << QStringLiteral("500円");
        QTest::newRow("empty") << QString() << QString() << QString();
    }
    void ExpenseShownAndEdited()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, edited);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        QLineEdit* expense = Line(*form, Expense);
        QCOMPARE(expense->text(), QString());

        ClickInto(expense);
        QCOMPARE(QApplication::focusWidget(), expense);
        Type(expense, typed);
        QCOMPARE(expense->text(), typed);

        ClickInto(Line(*form, Signature));
        QCOMPARE(QApplication::focusWidget(), Line(*form, Signature));
        QCOMPARE(expense->text(), shown);

        ClickInto(expense);
        QCOMPARE(expense->text(), edited);

        ClickInto(Contents(*form));
        QCOMPARE(QApplication::focusWidget(), Contents(*form));
        QCOMPARE(expense->text(), shown);
    }

    // Only a rewrite that alters the text counts as a change, and going in and
    // out of the expense field never rewrites the page on disk.
    void ExpenseRewriteOnFocus_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<bool>("changed");
        QTest::newRow("1500") << QStringLiteral("1500") << QStringLiteral("\\1,500") << QStringLiteral("1500") << true;
        QTest::newRow("a fraction") << QStringLiteral("1500.5") << QStringLiteral("\\1,501") << QStringLiteral("1501")
                                    << true;
        QTest::newRow("nothing spent") << QStringLiteral("0") << QString() << QString() << false;
    }
    void ExpenseRewriteOnFocus()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, edited);
        QFETCH(bool, changed);
        TestApp test;
        DiaryBuilder diary = FiveDays();
        diary.Add(Day(6, stored));
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        QLineEdit* expense = Line(*form, Expense);
        QCOMPARE(expense->text(), shown);
        ShowLastPageUnchanged(*form);

        ClickInto(expense);
        QCOMPARE(expense->text(), edited);
        QCOMPARE(form->Store().PageChanged(), changed);
        ClickInto(Line(*form, Signature));
        QCOMPARE(expense->text(), shown);

        QVERIFY(form->Store().StorePage());
        QCOMPARE(test.DiaryBytes(), diary.Bytes());
    }

    // A click into a one-line field selects all of it; the contents keep the
    // cursor where the click put it.
    void FocusSelectsTheWholeField_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("selected");
        QTest::newRow("date") << 0 << QStringLiteral("2026年12月5日");
        QTest::newRow("time") << 1 << QStringLiteral("午後 8:00:00");
        QTest::newRow("weekday") << 2 << QStringLiteral("月曜日");
        QTest::newRow("weather") << 3 << QStringLiteral("霧");
        QTest::newRow("signature") << 5 << Owner;
        QTest::newRow("contents") << 6 << QString();
    }
    void FocusSelectsTheWholeField()
    {
        QFETCH(int, index);
        QFETCH(QString, selected);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        QWidget* box = EntryBox(*form, index);

        ClickInto(box);

        QCOMPARE(QApplication::focusWidget(), box);
        if (QLineEdit* line = qobject_cast<QLineEdit*>(box))
            QCOMPARE(line->selectedText(), selected);
        else
            QCOMPARE(Contents(*form)->textCursor().selectedText(), selected);
    }

    // Coming back from another window is not a new visit to the field: the
    // text is not selected, so the next key does not wipe it.
    void ReturningToTheWindowKeepsTheCursor()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        QLineEdit* signature = Line(*form, Signature);
        ClickInto(signature);
        QCOMPARE(signature->selectedText(), Owner);
        QTest::keyClick(signature, Qt::Key_End);
        QCOMPARE(signature->selectedText(), QString());

        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(Activate(*form));
        QCoreApplication::processEvents();

        QCOMPARE(QApplication::focusWidget(), signature);
        QCOMPARE(signature->selectedText(), QString());
        Type(signature, QStringLiteral("様"));
        QCOMPARE(form->FieldText(EntryField::Signature), Owner + QStringLiteral("様"));
    }

    void EnterMovesToTheNextField_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Enter of the number pad") << int(Qt::Key_Enter);
    }
    void EnterMovesToTheNextField()
    {
        QFETCH(int, key);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        ClickInto(EntryBox(*form, 0));
        QCOMPARE(QApplication::focusWidget(), EntryBox(*form, 0));

        for (int next = 1; next <= Body; ++next) {
            Press(Qt::Key(key));
            QCOMPARE(QApplication::focusWidget(), EntryBox(*form, next));
        }
        // Enter never rewrites a one-line field it leaves.
        QCOMPARE(form->FieldText(EntryField::Date), QStringLiteral("2026年12月5日"));
        QCOMPARE(form->FieldText(EntryField::Signature), Owner);

        // In the contents it starts a new line and the focus stays.
        QPlainTextEdit* contents = Contents(*form);
        contents->moveCursor(QTextCursor::End);
        Press(Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), contents);
        QCOMPARE(contents->toPlainText(), QStringLiteral("本文5\n"));
        QCOMPARE(form->FieldText(EntryField::Body), QStringLiteral("本文5\r\n"));
    }

    // The spinner starts at 0 and keeps its place whatever word the field
    // holds; U and D are the arrow keys pressed in the field.
    void ArrowKeysStepTheWeather_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("all nine words, the ninth press refused")
            << Weather << QStringLiteral("UUUUUUUUU")
            << QStringList{QStringLiteral("くもり"), QStringLiteral("雨"),     QStringLiteral("雪"),
                           QStringLiteral("台風"),   QStringLiteral("あられ"), QStringLiteral("ヤリ"),
                           QStringLiteral("隕石"),   QStringLiteral("？"),     QStringLiteral("？")};
        QTest::newRow("down at 0 refused")
            << Weather << QStringLiteral("DU") << QStringList{QStringLiteral("霧"), QStringLiteral("くもり")};
        QTest::newRow("up and back down") << Weather << QStringLiteral("UUDD")
                                          << QStringList{QStringLiteral("くもり"), QStringLiteral("雨"),
                                                         QStringLiteral("くもり"), QStringLiteral("晴れ")};
        QTest::newRow("in the signature field")
            << Signature << QStringLiteral("UUD")
            << QStringList{QStringLiteral("霧"), QStringLiteral("霧"), QStringLiteral("霧")};
        QTest::newRow("in the contents") << Body << QStringLiteral("U") << QStringList{QStringLiteral("霧")};
    }
    void ArrowKeysStepTheWeather()
    {
        QFETCH(int, field);
        QFETCH(QString, keys);
        QFETCH(QStringList, words);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        ClickInto(EntryBox(*form, field));
        QCOMPARE(QApplication::focusWidget(), EntryBox(*form, field));

        for (qsizetype i = 0; i < keys.size(); ++i) {
            Press(keys[i] == u'U' ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(form->FieldText(EntryField::Weather), words[i]);
        }
        QCOMPARE(form->FieldText(EntryField::Signature), Owner);
        QCOMPARE(form->FieldText(EntryField::Body), QStringLiteral("本文5"));
    }

    // Loading a page shows its own word and leaves the spinner where it was.
    void WeatherSpinnerKeepsItsPlaceAcrossPages()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        ClickInto(Line(*form, Weather));
        Press(Qt::Key_Up);
        Press(Qt::Key_Up);
        QCOMPARE(form->FieldText(EntryField::Weather), QStringLiteral("雨"));

        Slider(*form)->setValue(2);
        QCOMPARE(form->FieldText(EntryField::Weather), QStringLiteral("霧"));
        ClickInto(Line(*form, Weather));
        Press(Qt::Key_Up);
        QCOMPARE(form->FieldText(EntryField::Weather), QStringLiteral("雪"));

        // The spinner's own buttons step the same value.
        QTest::mouseClick(Arrow(*form, QStringLiteral("UpDown1"), Qt::DownArrow), Qt::LeftButton);
        QCOMPARE(form->FieldText(EntryField::Weather), QStringLiteral("雨"));
    }

    // A box takes what its field keeps, in cp932 bytes with a line break as
    // CR LF: a key too many beeps; a longer paste is cut at a character and
    // the user is told how much was left out. Key 0 is a paste.
    void BoxesTakeWhatTheirFieldKeeps_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("told");
        const auto cut = [](const char* field, int size, int characters, int bytes) {
            return QStringLiteral(
                       "「%1」に入るのは %2バイトまでです。\r入りきらない %3文字（ %4バイト）は入力しませんでした。")
                .arg(QString::fromUtf8(field))
                .arg(size)
                .arg(characters)
                .arg(bytes);
        };
        const QString full = Owner + QStringLiteral("ABCDEFG");
        QTest::newRow("signature filled exactly")
            << Signature << Owner << 0 << QStringLiteral("ABCDEFG") << full << QString();
        QTest::newRow("signature cut before a double-byte character")
            << Signature << Owner << 0 << QStringLiteral("ABCDEF様") << Owner + QStringLiteral("ABCDEF")
            << cut("署名", 15, 1, 2);
        QTest::newRow("signature full, a key")
            << Signature << full << int(Qt::Key_A) << QString() << full << QStringLiteral("beep");
        QTest::newRow("expense of twenty digits") << Expense << QString() << 0 << QStringLiteral("12345678901234567890")
                                                  << QStringLiteral("123456789012345") << cut("出費", 15, 5, 5);
        const QString written = QStringLiteral("本文5");
        QTest::newRow("11004 bytes of Japanese")
            << Body << written << 0 << QString(5502, u'あ') << written + QString(4997, u'あ')
            << cut("日記の内容", 10000, 505, 1010);
        QTest::newRow("line breaks count as CR LF")
            << Body << written << 0 << QStringLiteral("ab\n").repeated(4000)
            << written + QStringLiteral("ab\n").repeated(2498) + QStringLiteral("ab")
            << cut("日記の内容", 10000, 4504, 6006);
        const QString nearlyFull = written + QString(4997, u'あ');
        QTest::newRow("Enter with one byte left")
            << Body << nearlyFull << int(Qt::Key_Return) << QString() << nearlyFull << QStringLiteral("beep");
    }
    void BoxesTakeWhatTheirFieldKeeps()
    {
        QFETCH(int, index);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        QFETCH(QString, told);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        form->SetFieldText(EntryField(index), QString(before).replace(u'\n', QStringLiteral("\r\n")));
        QWidget* box = EntryBox(*form, index);
        ClickInto(box);
        QLineEdit* line = Line(*form, index);
        line ? line->end(false) : Contents(*form)->moveCursor(QTextCursor::End);
        if (told != QStringLiteral("beep") && !told.isEmpty())
            test.prompter.AnswerMessage(Prompter::Answer::Ok);

        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(box, key ? Qt::Key(key) : Qt::Key_V, key ? Qt::NoModifier : Qt::ControlModifier);

        QCOMPARE(line ? line->text() : Contents(*form)->toPlainText(), after);
        QCOMPARE(test.prompter.beeps, told == QStringLiteral("beep") ? 1 : 0);
        QVERIFY(test.prompter.AllAnswered());
        if (test.prompter.beeps == 0 && !told.isEmpty()) {
            QCOMPARE(test.prompter.LastMessage().text, told);
            QCOMPARE(test.prompter.LastMessage().icon, Prompter::Icon::Exclamation);
        }
    }

    // Only confirmed text counts: a composition goes on at the limit.
    void CompositionAtTheLimit()
    {
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        const QString full = Owner + QStringLiteral("ABCDEFG");
        form->SetFieldText(EntryField::Signature, full);
        QLineEdit* signature = Line(*form, Signature);
        signature->setFocus();
        signature->end(false);
        QInputMethodEvent composing(QStringLiteral("さま"), {});
        QCoreApplication::sendEvent(signature, &composing);
        QCOMPARE(test.prompter.beeps, 0);
        Type(signature, QStringLiteral("X"));
        QCOMPARE(signature->text(), full);
        QCOMPARE(test.prompter.beeps, 1);
    }

    // An amount the page cannot keep is refused as the box is left, and the
    // page is not stored with nothing in its place.
    void ExpenseTooLargeIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("the largest amount") << QStringLiteral("922337203685477") << false;
        QTest::newRow("past the largest") << QStringLiteral("999999999999999") << true;
        QTest::newRow("stored form past 15 bytes") << QStringLiteral("-9.9999999E+14") << true;
        QTest::newRow("words stay as typed") << QStringLiteral("五百円") << false;
    }
    void ExpenseTooLargeIsRefused()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        QLineEdit* expense = Line(*form, Expense);
        ClickInto(expense);
        Type(expense, typed);
        if (refused)
            test.prompter.AnswerMessage(Prompter::Answer::Ok);

        ClickInto(Line(*form, Signature));

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(QApplication::focusWidget(), refused ? expense : Line(*form, Signature));
        if (!refused)
            return;
        QCOMPARE(
            test.prompter.LastMessage().text,
            QStringLiteral("「%1」は金額が大きすぎるため、出費に記録できません。\r金額を直してください。").arg(typed));
        Slider(*form)->setValue(2);
        QCOMPARE(form->Store().CurrentPage(), 5);
        QCOMPARE(test.DiaryBytes(), FiveDays().Bytes());
    }

    void FontSizeOfTheContents_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("points");
        QTest::newRow("20") << QStringLiteral("20") << 20;
        QTest::newRow("8") << QStringLiteral("8") << 8;
        QTest::newRow("letters leave the size") << QStringLiteral("ab") << 12;
        QTest::newRow("empty leaves the size") << QString() << 12;
        QTest::newRow("zero leaves the size") << QStringLiteral("0") << 12;
    }
    void FontSizeOfTheContents()
    {
        QFETCH(QString, typed);
        QFETCH(int, points);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        auto* box = form->findChild<QLineEdit*>(QStringLiteral("FontSizeSetText"));
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(Contents(*form)->font().pointSize(), 12);

        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, typed);

        QCOMPARE(box->text(), typed);
        QCOMPARE(Contents(*form)->font().pointSize(), points);
        QCOMPARE(form->FontSizeText(), typed);
    }

    // The spinner beside the font-size box steps from the number in the box,
    // also from the one the box was given at start.
    void FontSizeSpinner_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("arrow");
        QTest::addColumn<int>("points");
        QTest::newRow("up from the default") << QString() << QString() << int(Qt::UpArrow) << 13;
        QTest::newRow("down from the default") << QString() << QString() << int(Qt::DownArrow) << 11;
        QTest::newRow("up from a stored size") << QStringLiteral("20") << QString() << int(Qt::UpArrow) << 21;
        QTest::newRow("down from a typed size") << QString() << QStringLiteral("30") << int(Qt::DownArrow) << 29;
    }
    void FontSizeSpinner()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(int, arrow);
        QFETCH(int, points);
        TestApp test;
        if (!stored.isEmpty())
            test.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFontSize"), stored);
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        auto* box = form->findChild<QLineEdit*>(QStringLiteral("FontSizeSetText"));
        if (!typed.isEmpty()) {
            box->selectAll();
            QTest::keyClicks(box, typed);
        }

        QTest::mouseClick(Arrow(*form, QStringLiteral("UpDown2"), Qt::ArrowType(arrow)), Qt::LeftButton);

        QCOMPARE(box->text(), QString::number(points));
        QCOMPARE(Contents(*form)->font().pointSize(), points);
    }

    // The shown page is stored before the slider's page is loaded.
    void SliderStoresAndShows_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("page");
        QTest::newRow("to page 3") << QStringLiteral("3") << 3;
        QTest::newRow("to 0: the first page") << QStringLiteral("0") << 1;
        QTest::newRow("one step right") << QStringLiteral("Right") << 2;
        QTest::newRow("End key") << QStringLiteral("End") << 5;
        QTest::newRow("Home key: 0, the first page") << QStringLiteral("Home") << 1;
    }
    void SliderStoresAndShows()
    {
        QFETCH(QString, move);
        QFETCH(int, page);
        TestApp test;
        const DiaryBuilder diary = FiveDays();
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(diary.Bytes());
        QVERIFY(form);
        QSlider* slider = Slider(*form);
        slider->setValue(1);
        QCOMPARE(PageStatus(*form), QStringLiteral("全データ数： 5ページ  （現在： 1 ページ目を参照中）"));
        QCOMPARE(test.DiaryBytes(), diary.Bytes());
        Contents(*form)->moveCursor(QTextCursor::End);
        Type(Contents(*form), QStringLiteral("。夕方に雨"));
        Line(*form, Weather)->setText(QStringLiteral("雨"));

        if (move == QStringLiteral("Right"))
            QTest::keyClick(slider, Qt::Key_Right);
        else if (move == QStringLiteral("End"))
            QTest::keyClick(slider, Qt::Key_End);
        else if (move == QStringLiteral("Home"))
            QTest::keyClick(slider, Qt::Key_Home);
        else
            slider->setValue(move.toInt());

        QCOMPARE(test.prompter.shown.size(), size_t(0));
        DiaryBuilder::Fields edited = Day(1, QStringLiteral("0"));
        edited.weather = QStringLiteral("雨");
        edited.body = QStringLiteral("本文1。夕方に雨");
        const QByteArray file = test.DiaryBytes();
        QCOMPARE(file.size(), 5 * RecordLength);
        QCOMPARE(DiaryBuilder::RecordOf(file, 1), DiaryBuilder::Page(edited).ToBytes());
        QCOMPARE(file.mid(RecordLength), diary.Bytes().mid(RecordLength));

        QCOMPARE(form->Store().CurrentPage(), page);
        QCOMPARE(form->FieldText(EntryField::Body), page == 1 ? edited.body : QStringLiteral("本文%1").arg(page));
        QCOMPARE(PageStatus(*form), QStringLiteral("全データ数： 5ページ  （現在： %1 ページ目を参照中）").arg(page));
        QCOMPARE(slider->value(), page);
    }

    void EveryTextChangeMarksThePage_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("changed");
        for (int index = 0; index <= Body; ++index)
            QTest::addRow("typing in field %d", index) << index << QStringLiteral("x") << true;
        QTest::newRow("a click alone") << int(Signature) << QString() << false;
    }
    void EveryTextChangeMarksThePage()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(bool, changed);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(FiveDays().Bytes());
        QVERIFY(form);
        QVERIFY(Activate(*form));
        ShowLastPageUnchanged(*form);

        ClickInto(EntryBox(*form, index));
        QTest::keyClicks(EntryBox(*form, index), typed);

        QCOMPARE(form->Store().PageChanged(), changed);
    }
};

SORAFUMI_TEST(EntryEditingTest)
#include "EntryEditingTest.moc"
