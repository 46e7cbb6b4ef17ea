#include "ui/mainwindow/StartProgram.h"

#include "core/settings/SessionSettings.h"
#include "ui/mainwindow/AppContext.h"
#include "ui/mainwindow/MainMenus.h"
#include "ui/mainwindow/MainWindow.h"

#include <QCoreApplication>

std::unique_ptr<MainWindow> StartProgram(AppContext& context)
{
    context.app.ReadOwnerAndColours(context.settings);

    auto form = std::make_unique<MainWindow>(context);
    if (!form->Open())
        return nullptr;
    form->show();
    QCoreApplication::processEvents();

    if (SessionSettings::TipsAtStartup(context.settings))
        form->Commands().ShowTipWindow();
    if (context.Ended())
        return nullptr;
    return form;
}
