#pragma once

#include <QUrl>

class Prompter;
class ProgramFolder;
class QWidget;

// What the main window asks of the web engine, which lives in the module
// sorafumi-web loaded at the first web view (see ModuleLibrary).
class WebModule
{
public:
    // The module, loaded at the first call, with the OpenGL context the
    // engine shares its pictures through; nothing, after telling the user,
    // when it cannot be loaded.
    static WebModule* Load(Prompter& prompter);

    // A web view that keeps the owner's files from the network (SafeWebView).
    virtual QWidget* MakeView(QWidget* parent) = 0;
    virtual void ShowPage(QWidget& view, const QUrl& address) = 0;
    // HelpPages::OpenHelpPage.
    virtual void OpenHelpPage(int selector, const ProgramFolder& folder, Prompter& prompter) = 0;

protected:
    ~WebModule() = default;
};
