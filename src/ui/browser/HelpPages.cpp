#include "ui/browser/HelpPages.h"

#include "core/platform/ProgramFolder.h"
#include "core/platform/Prompter.h"
#include "ui/browser/BrowserWindow.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <unistd.h>

QString HelpPages::Address(int selector, const ProgramFolder& folder)
{
    switch (selector) {
    case 0:
        return folder.File(QStringLiteral("index.htm"));
    case 2:
        return SiteAddress();
    case 3:
        return folder.File(QStringLiteral("mail.htm"));
    case 4:
        return folder.File(QStringLiteral("02.htm"));
    case 5:
        return folder.File(QStringLiteral("05.htm"));
    default:
        return {};
    }
}

BrowserWindow* HelpPages::OpenHelpPage(int selector, const ProgramFolder& folder, Prompter& prompter)
{
    if (!folder.MakeCurrent()) {
        const int error = errno;
        prompter.Message({QStringLiteral("エラー番号：") + QString::number(error) + QStringLiteral("\r\n") +
                              QString::fromLocal8Bit(std::strerror(error)),
                          Prompter::ProgramTitle(), Prompter::Buttons::Ok, Prompter::Icon::Critical, {}});
        return nullptr;
    }
    const QString address = Address(selector, folder);
    if (address.isEmpty())
        return nullptr;
    auto* window = new BrowserWindow;
    window->StartingAddress = address;
    window->HomeAddress = Address(0, folder);
    window->AnimationFile = folder.File(QStringLiteral("ie.dat"));
    window->show();
    return window;
}
