#include "ui/platform/ModuleLibrary.h"

#include "core/platform/Prompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <dlfcn.h>

namespace {

// Installed, the modules lie beside the program; a test program of a build
// runs from a folder of its own and finds them in the build folder.
QStringList Folders()
{
    QStringList folders{QCoreApplication::applicationDirPath()};
#ifdef SORAFUMI_MODULE_BUILD_FOLDER
    folders << QStringLiteral(SORAFUMI_MODULE_BUILD_FOLDER);
#endif
    return folders;
}

void ReportMissing(Prompter& prompter, const QString& file, const QString& reason)
{
    prompter.Message({QStringLiteral("部品 ") + file + QStringLiteral(" を読み込めません。\r") + reason +
                          QStringLiteral("\rﾌﾟﾛｸﾞﾗﾑをｲﾝｽﾄｰﾙし直して下さい。"),
                      Prompter::ProgramTitle(), Prompter::Buttons::Ok, Prompter::Icon::Critical, {}});
}

} // namespace

QFunctionPointer ModuleLibrary::Entry(const QString& name, const char* entry, Prompter& prompter)
{
    // A test program that links the module's windows has its entry too, and
    // a module loaded beside them would bring a second copy of each.
    if (const auto own = reinterpret_cast<QFunctionPointer>(dlsym(RTLD_DEFAULT, entry)))
        return own;
    const QString file = name + QStringLiteral(".so");
    for (const QString& folder : Folders()) {
        const QString path = folder + u'/' + file;
        if (!QFileInfo::exists(path))
            continue;
        // The library stays loaded for the rest of the run: the windows it
        // made live on after this object.
        QLibrary library(path);
        if (const QFunctionPointer function = library.resolve(entry))
            return function;
        ReportMissing(prompter, file, library.errorString());
        return nullptr;
    }
    ReportMissing(prompter, file, QStringLiteral("ﾌｧｲﾙが見つかりません。"));
    return nullptr;
}
