#include "BenchDiaries.h"
#include "ui/platform/JapaneseDesktop.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

void RegisterDiaryBenchmarks();

int main(int argc, char** argv)
{
    // The windows are real but never reach a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine refuses to run as root inside its sandbox.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    // Five repetitions unless told otherwise: the medians are the figures.
    std::vector<char*> arguments(argv, argv + argc);
    const bool repetitionsGiven = std::any_of(arguments.begin(), arguments.end(), [](const char* argument) {
        return std::strncmp(argument, "--benchmark_repetitions", 23) == 0;
    });
    char repetitions[] = "--benchmark_repetitions=5";
    if (!repetitionsGiven)
        arguments.insert(arguments.begin() + 1, repetitions);
    argc = int(arguments.size());
    arguments.push_back(nullptr);
    argv = arguments.data();

    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    JapaneseDesktop::Install(application);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    BenchDiaries diaries;
    if (!diaries.IsValid()) {
        std::fprintf(stderr, "no temporary folder under %s\n", qPrintable(QDir::tempPath()));
        return 1;
    }
    // What the program keeps about the run's diaries goes with the run, not
    // into the user's own state folder.
    qputenv("XDG_STATE_HOME", QFile::encodeName(diaries.Folder() + QStringLiteral("/state")));
    benchmark::AddCustomContext("diary_folder", diaries.Folder().toStdString());
    benchmark::AddCustomContext("page_cache", "warm: every diary was just written or read");
    RegisterDiaryBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
