#include "TestApp.h"
#include "TestRegistry.h"
#include "core/settings/ProgramVersion.h"
#include "ui/mainwindow/DrawProgressBar.h"
#include "ui/mainwindow/LaunchProgress.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/PictureSurface.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/DesktopLauncher.h"
#include "ui/platform/Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTest>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Navy = qRgb(0, 0, 128);

int CountPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

} // namespace

class ProgressTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Twips::SetDotsPerInch(96); }

    void ProgressText_data()
    {
        QTest::addColumn<float>("fraction");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << 0.0f << QStringLiteral("0%");
        QTest::newRow("37") << 0.375f << QStringLiteral("37%");
        QTest::newRow("just below full") << 0.999f << QStringLiteral("99%");
        QTest::newRow("full") << 1.0f << QStringLiteral("100%");
    }
    void ProgressText()
    {
        QFETCH(float, fraction);
        QFETCH(QString, text);
        QCOMPARE(LaunchProgress::ProgressText(fraction), text);
    }

    // The text shows navy on white beside the bar and white where the bar
    // covers it.
    void BarInvertsTheText()
    {
        PictureSurface bar;
        bar.resize(200, 24);
        DrawProgressBar(bar, 0.5f, QStringLiteral("50%"), White, Navy);
        const QImage& image = bar.Canvas();
        QCOMPARE(image.pixel(2, 2), Navy);
        QCOMPARE(image.pixel(197, 2), White);
        const QRect leftOfMiddle(70, 0, 30, 24);
        const QRect rightOfMiddle(100, 0, 30, 24);
        QVERIFY(CountPixels(image, leftOfMiddle, White) > 0);
        QVERIFY(CountPixels(image, rightOfMiddle, Navy) > 0);
        QCOMPARE(CountPixels(image, QRect(0, 0, 200, 24), Navy) + CountPixels(image, QRect(0, 0, 200, 24), White),
                 200 * 24);
    }

    void FractionAboveOneIsFull()
    {
        PictureSurface bar;
        bar.resize(100, 10);
        DrawProgressBar(bar, 1.7f, QString(), White, Navy);
        QCOMPARE(CountPixels(bar.Canvas(), QRect(0, 0, 100, 10), Navy), 1000);
    }

    // The whole text shows, above the bar and inside the window, whatever the
    // size of the desktop's font.
    void WholeTextShows_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("9 point") << 9;
        QTest::newRow("12 point") << 12;
        QTest::newRow("16 point") << 16;
    }
    void WholeTextShows()
    {
        QFETCH(int, points);
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        const struct Desktop
        {
            QFont font = QApplication::font();
            ~Desktop() { QApplication::setFont(font); }
        } desktop;
        QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), points));
        const std::unique_ptr<LaunchProgress> window =
            std::make_unique<LaunchProgress>(test.context, form->Exiting(), *form);
        auto* label = window->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        QVERIFY(label->height() >= label->fontMetrics().height());
        QVERIFY(window->rect().contains(label->geometry()));
        const QRect bar = window->findChild<QWidget*>(QStringLiteral("Picture1"))->geometry();
        QVERIFY(window->rect().contains(bar));
        QVERIFY(!bar.intersects(label->geometry()));
    }

    void MissingToolIsReportedAndNothingStored()
    {
        TestApp test;
        test.RegisterOwner();
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        QPointer<LaunchProgress> window = new LaunchProgress(test.context, form->Exiting(), *form);
        window->show();
        test.prompter.AnswerMessage(Prompter::Answer::Ok);

        for (int tick = 0; tick < 99; ++tick)
            window->Step();
        QVERIFY(test.launcher.started.isEmpty());
        for (int tick = 0; tick < 3 && test.launcher.started.isEmpty(); ++tick)
            window->Step();

        QCOMPARE(test.launcher.started, QStringList{test.profile.ProgramFile(QStringLiteral("MentSorafumi.exe"))});
        QVERIFY(test.prompter.AllAnswered());
        const Prompter::Box& box = test.prompter.LastMessage();
        QCOMPARE(box.text,
                 QStringLiteral("メンテナンスSorafumiは見つかりませんでした。\r必要な方は別途入手してください。"));
        QCOMPARE(box.title, QStringLiteral("エラー"));
        QCOMPARE(box.icon, Prompter::Icon::Exclamation);
        QCOMPARE(box.buttons, Prompter::Buttons::Ok);
        QTRY_VERIFY(window.isNull());
        QVERIFY(!test.context.Ended());
        QVERIFY(!test.Stored(QStringLiteral("Version"), QStringLiteral("Version")));
    }

    void StartedToolEndsTheProgram()
    {
        TestApp test;
        test.RegisterOwner();
        test.launcher.succeeds = true;
        const std::unique_ptr<MainWindow> form = StartProgram(test.context);
        QVERIFY(form);
        auto* window = new LaunchProgress(test.context, form->Exiting(), *form);
        for (int tick = 0; tick < 102 && !test.context.Ended(); ++tick)
            window->Step();
        QVERIFY(test.context.Ended());
        QCOMPARE(test.launcher.started.size(), 1);
        QCOMPARE(test.Read(QStringLiteral("Version"), QStringLiteral("Version")), ProgramVersion::Text());
        QVERIFY(test.prompter.shown.empty());
    }

    // The desktop launcher starts a file that the system can execute, from the
    // current folder, and nothing else.
    void ProcessLauncherStartsOnlyExecutables()
    {
        TempProfile profile;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(profile.ProgramFolder()));
        DesktopLauncher launcher;
        QVERIFY(!launcher.Start(QStringLiteral("MentSorafumi.exe")));

        profile.WriteProgramFile(QStringLiteral("MentSorafumi.exe"), "#!/bin/sh\ntouch started\n");
        QVERIFY(!launcher.Start(QStringLiteral("MentSorafumi.exe")));

        QFile::setPermissions(profile.ProgramFile(QStringLiteral("MentSorafumi.exe")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(launcher.Start(QStringLiteral("MentSorafumi.exe")));
        QTRY_VERIFY(QFile::exists(profile.ProgramFile(QStringLiteral("started"))));
        QDir::setCurrent(previous);
    }
};

SORAFUMI_TEST(ProgressTest)
#include "ProgressTest.moc"
