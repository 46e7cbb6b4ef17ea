#include "core/platform/FileSizeLimit.h"
#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"
#include "ui/platform/DesktopLauncher.h"
#include "ui/platform/JapaneseDesktop.h"
#include "ui/platform/QtPrompter.h"
#include "ui/platform/TerminationSignal.h"

#include <QApplication>
#include <unistd.h>

int main(int argc, char* argv[])
{
    FileSizeLimit::FailWritesInsteadOfEnding();
    // The browser engine refuses to run as root inside its sandbox.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // No Qt::AA_ShareOpenGLContexts: the context the web engine shares is
    // made when the web engine is first loaded (WebModule), not at every start.
    QApplication application(argc, argv);
    QApplication::setApplicationName(SettingsStore::ApplicationName());
    QApplication::setOrganizationName(SettingsStore::ApplicationName());
    JapaneseDesktop::Install(application);

    QtPrompter prompter;
    SystemClock clock;
    SettingsStore settings;
    DesktopLauncher launcher;
    AppContext context{prompter, clock, ProgramFolder::OfRunningProgram(), settings, launcher};

    const std::unique_ptr<MainWindow> mainWindow = StartProgram(context);
    if (!mainWindow)
        return 0;
    MainWindow& window = *mainWindow;
    TerminationSignal::OnSignal(window, [&window] { window.Exiting().EndForSession(); });
    return QApplication::exec();
}
