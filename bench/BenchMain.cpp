#include "BenchDiaries.h"
#include "platform/JapaneseDesktop.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

void RegisterDiaryBenchmarks();

int main(int argc, char** argv)
{
    // The windows are real but never reach a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine refuses to run as root inside its sandbox.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

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
    benchmark::AddCustomContext("diary_folder", diaries.Folder().toStdString());
    benchmark::AddCustomContext("page_cache", "warm: every diary was just written or read");
    RegisterDiaryBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
