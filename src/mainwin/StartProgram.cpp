#include "StartProgram.h"

#include "AppContext.h"
#include "MainForm.h"
#include "settings/Module1.h"

#include <QCoreApplication>

std::unique_ptr<MainForm> StartProgram(AppContext& context)
{
    context.app.ReadOwnerAndColours(context.settings);

    auto form = std::make_unique<MainForm>(context);
    if (!form->Form_Load())
        return nullptr;
    form->show();
    QCoreApplication::processEvents();

    if (Module1::TipsAtStartup(context.settings))
        form->ShowTipWindow();
    if (context.Ended())
        return nullptr;
    return form;
}
