#pragma once

#include <QString>

class Prompter;
class ProgramFolder;
class BrowserWindow;

// Opens the help, mail and update pages, and the web site, each in a new
// browser window of the program's own.
class HelpPages
{
public:
    static QString SiteAddress() { return QStringLiteral("https://sorafumi.example.jp/"); }
    static QString SearchAddress() { return QStringLiteral("https://sorafumi.example.jp/search/"); }

    // The page a selector stands for; empty for a selector that opens nothing.
    static QString Address(int selector, const ProgramFolder& folder);

    // Makes the program folder the current folder, then shows the page in a
    // new browser window; the window, or nothing.
    static BrowserWindow* OpenHelpPage(int selector, const ProgramFolder& folder, Prompter& prompter);
};
