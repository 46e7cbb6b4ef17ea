#include "DiaryBuilder.h"
#include "TestApp.h"
#include "TestRegistry.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/Twips.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <cstdlib>

namespace {

QByteArray OnePageDiary()
{
    DiaryBuilder diary;
    diary.Add({QStringLiteral("2026年12月6日"), QStringLiteral("日曜日"), QStringLiteral("0"),
               QStringLiteral("空野太郎"), QStringLiteral("午後 9:00:00"), QStringLiteral("雨"),
               QStringLiteral("朝から雨が降っていた。\r\n午後は図書館で本を読んだ。\r\n■■■■■■■■■■■■■■■■\r\n"
                              "夜は早めに寝る。")});
    return diary.Bytes();
}

// Gives the print command through the menu entry or the toolbar button.
bool Print(MainWindow& form, const QString& way)
{
    QAction* command = nullptr;
    if (way == QStringLiteral("menu")) {
        command = form.findChild<QAction*>(QStringLiteral("menuFile_Print"));
    } else {
        for (QAction* button : form.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions())
            if (button->text() == QStringLiteral("印刷"))
                command = button;
    }
    if (!command)
        return false;
    command->trigger();
    return true;
}

// The printer dialog confirmed (or not) with a PDF file as the printer.
ScriptedPrompter::PrinterScript PrintToFile(const QString& path, bool confirm, QPageLayout* layout = nullptr)
{
    return [path, confirm, layout](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (layout)
            *layout = printer.pageLayout();
        return confirm;
    };
}

bool Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool Whitish(QRgb pixel)
{
    return qRed(pixel) > 250 && qGreen(pixel) > 250 && qBlue(pixel) > 250;
}

// The smallest rectangle that holds every pixel that is not white.
QRect InkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!Whitish(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Mean difference of grey levels, per pixel, between two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum / (double(a.width()) * a.height());
}

} // namespace

class PrintTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void PrintsTheWindowOnOnePage_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("menu entry") << QStringLiteral("menu");
        QTest::newRow("toolbar button") << QStringLiteral("button");
    }
    void PrintsTheWindowOnOnePage()
    {
        QFETCH(QString, way);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePageDiary());
        QVERIFY(form);
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("diary.pdf"));
        QPageLayout layout;
        test.prompter.AnswerPrinter(PrintToFile(pdf, true, &layout));

        QVERIFY(Print(*form, way));

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.MessageTexts(), QStringList());
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1);
        QVERIFY(bytes.contains("/Subtype /Image"));

        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed: the printed picture was not looked at");

        // At 72 dots per inch one pixel of the picture is one point of the page.
        const QString prefix = out.filePath(QStringLiteral("page"));
        QVERIFY(Run(pdftoppm, {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                               QStringLiteral("-singlefile"), pdf, prefix}));
        const QImage page(prefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        const QRect paper = layout.fullRect(QPageLayout::Point).toRect();
        QVERIFY(qAbs(page.width() - paper.width()) <= 1 && qAbs(page.height() - paper.height()) <= 1);

        // The whole window fills the printable width, its proportions kept.
        QWidget& window = *form->centralWidget();
        const QRect printable = layout.paintRect(QPageLayout::Point).toRect();
        const QRect ink = InkBounds(page);
        QVERIFY2(!ink.isEmpty(), "the page is blank");
        QVERIFY2(qAbs(ink.left() - printable.left()) <= 2 && qAbs(ink.top() - printable.top()) <= 2,
                 qPrintable(QStringLiteral("printed from %1,%2").arg(ink.left()).arg(ink.top())));
        const double scale = double(printable.width()) / window.width();
        QVERIFY2(qAbs(ink.width() - printable.width()) <= 2,
                 qPrintable(QStringLiteral("%1 of %2 points wide").arg(ink.width()).arg(printable.width())));
        QVERIFY2(qAbs(ink.height() - window.height() * scale) <= 3,
                 qPrintable(QStringLiteral("%1 points high for %2").arg(ink.height()).arg(window.height() * scale)));

        // The body's text is on the paper: the body's place holds ink and paper both.
        auto* body = form->findChild<QPlainTextEdit*>(QStringLiteral("FieldBoxes"));
        QVERIFY(body);
        const QRect place = body->geometry().adjusted(4, 4, -24, -4);
        const QRect printedBody(ink.left() + int(place.left() * scale), ink.top() + int(place.top() * scale),
                                int(place.width() * scale), int(place.height() * scale));
        int dark = 0;
        int light = 0;
        for (int y = printedBody.top(); y <= printedBody.bottom(); ++y) {
            for (int x = printedBody.left(); x <= printedBody.right(); ++x) {
                const int grey = qGray(page.pixel(x, y));
                dark += grey < 100;
                light += grey > 200;
            }
        }
        QVERIFY2(dark > 50, qPrintable(QStringLiteral("%1 dark pixels in the body").arg(dark)));
        QVERIFY(light > dark);

        // And the print is what the window shows.
        const QImage printed = page.copy(ink).convertToFormat(QImage::Format_RGB32);
        const QImage shown = window.grab()
                                 .toImage()
                                 .scaled(printed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
        const double difference = MeanDifference(printed, shown);
        QVERIFY2(difference < 4.0, qPrintable(QStringLiteral("differs by %1 grey levels").arg(difference)));
    }

    // Nothing reaches the printer, and no box says so.
    void NothingPrinted_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("dialog cancelled from the menu")
            << QStringLiteral("menu") << QStringLiteral("diary.pdf") << false;
        QTest::newRow("dialog cancelled from the button")
            << QStringLiteral("button") << QStringLiteral("diary.pdf") << false;
        QTest::newRow("printer fails") << QStringLiteral("menu") << QStringLiteral("no such folder/diary.pdf") << true;
    }
    void NothingPrinted()
    {
        QFETCH(QString, way);
        QFETCH(QString, file);
        QFETCH(bool, confirm);
        TestApp test;
        const std::unique_ptr<MainWindow> form = test.StartOwnersDiary(OnePageDiary());
        QVERIFY(form);
        QTemporaryDir out;
        const QString pdf = out.filePath(file);
        test.prompter.AnswerPrinter(PrintToFile(pdf, confirm));

        QVERIFY(Print(*form, way));

        QVERIFY(test.prompter.AllAnswered());
        QCOMPARE(test.prompter.shown.size(), size_t(1));
        QCOMPARE(test.prompter.shown[0].kind, ScriptedPrompter::Shown::Kind::Printer);
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(test.DiaryBytes(), OnePageDiary());
        QVERIFY(!test.context.Ended());
    }
};

SORAFUMI_TEST(PrintTest)
#include "PrintTest.moc"
