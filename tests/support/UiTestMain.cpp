#include "TestRegistry.h"
#include "ui/platform/JapaneseDesktop.h"

#include <QApplication>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (TestRegistry::ListingAsked(argc, argv))
        return TestRegistry::ListClasses();
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication application(argc, argv);
    JapaneseDesktop::Install(application);
    return TestRegistry::RunAll(argc, argv);
}
