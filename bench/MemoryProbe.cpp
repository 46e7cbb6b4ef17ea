// Drives the program through what the memory and start-up figures are about:
// start on a diary (offscreen), a click on a day no page holds, a search for a
// text no body holds, then the end. Also writes the diaries for them.
//
//   sorafumi_memory_probe generate PAGES PATH
//   sorafumi_memory_probe run DIARY [PROGRAM_FOLDER] [--startup-only]
//   sorafumi_memory_probe settings INI_FILE DIARY
//
// "settings" writes the settings of a registered owner without login and
// without the tip of the day, keeping the diary DIARY, for the real program.
//
// "run" prints shown_at_ns (the wall clock when the main window was shown and
// its first events were handled), startup_ms (from the start of main to then)
// and peak_rss_kb as the process itself sees it.

#include "BenchProgram.h"
#include "DiaryGenerator.h"
#include "ui/dialogs/SearchWindow.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/platform/JapaneseDesktop.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

qint64 WallClockNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QByteArray PeakResident()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed();
    return "?";
}

int Usage()
{
    std::fprintf(stderr, "usage: sorafumi_memory_probe generate PAGES PATH\n"
                         "       sorafumi_memory_probe run DIARY [PROGRAM_FOLDER] [--startup-only]\n"
                         "       sorafumi_memory_probe settings INI_FILE DIARY\n");
    return 2;
}

int Run(const QString& diary, const QString& programFolder, bool startupOnly, qint64 startedNs)
{
    BenchProgram program(diary, programFolder);
    std::unique_ptr<MainWindow> form = program.Start();
    const qint64 shownNs = WallClockNs();
    if (!form) {
        std::fprintf(stderr, "the program did not start: %s\n", qPrintable(program.prompter.lastText));
        return 1;
    }
    std::printf("shown_at_ns=%lld\nstartup_ms=%.2f\n", static_cast<long long>(shownNs),
                double(shownNs - startedNs) / 1e6);
    const qint32 pages = form->Store().PageCount();
    if (!startupOnly) {
        program.prompter.yesNo = Prompter::Answer::No;
        form->Store().ShowDay(DiaryGenerator::MissingDate());
        QCoreApplication::processEvents();
        form->Commands().ShowSearchWindow();
        SearchWindow* window = form->Commands().OpenSearchWindow();
        auto* text = window ? window->findChild<QComboBox*>(QStringLiteral("cmb")) : nullptr;
        if (!text) {
            std::fprintf(stderr, "no search window\n");
            return 1;
        }
        text->setEditText(DiaryGenerator::AbsentText());
        window->Search();
        QCoreApplication::processEvents();
        if (program.prompter.messages != 1 || form->Store().CurrentPage() != pages) {
            std::fprintf(stderr, "the click or the search went astray\n");
            return 1;
        }
    }
    std::printf("pages=%d\npeak_rss_kb=%s\n", pages, PeakResident().constData());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const qint64 startedNs = WallClockNs();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication application(argc, argv);
    JapaneseDesktop::Install(application);

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QStringLiteral("generate")) {
        bool number = false;
        const int pages = arguments[2].toInt(&number);
        if (!number || pages < 1)
            return Usage();
        const QString error = DiaryGenerator::Check(pages);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        return DiaryGenerator::Write(arguments[3], pages) ? 0 : 1;
    }
    if (arguments.size() == 4 && arguments[1] == QStringLiteral("settings")) {
        SettingsStore settings(arguments[2]);
        const QString user = QStringLiteral("User");
        settings.WriteSetting(user, QStringLiteral("UserName"), DiaryGenerator::Owner());
        settings.WriteSetting(user, QStringLiteral("LoginOnOff"), QStringLiteral("0"));
        settings.WriteSetting(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
        settings.WriteSetting(user, QStringLiteral("UserDataFile"), QFileInfo(arguments[3]).absoluteFilePath());
        return settings.Healthy() ? 0 : 1;
    }
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("run")) {
        QStringList rest = arguments.mid(2);
        const bool startupOnly = rest.removeAll(QStringLiteral("--startup-only")) > 0;
        if (rest.isEmpty() || rest.size() > 2)
            return Usage();
        return Run(rest[0], rest.value(1), startupOnly, startedNs);
    }
    return Usage();
}
