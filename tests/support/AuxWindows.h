#pragma once

#include "ui/browser/BrowserWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

// Helpers shared by the tests of the auxiliary windows.
namespace AuxWindows {

// The help pages move the whole process into the program folder; every test
// puts it back where it was, as the temp folders vanish afterwards.
class CurrentFolderGuard
{
public:
    CurrentFolderGuard() : saved_(QDir::currentPath()) {}
    ~CurrentFolderGuard() { QDir::setCurrent(saved_); }
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    QString saved_;
};

// An environment variable of the test's choosing for as long as the guard
// lives (PATH for the programs found, XDG_DATA_HOME for the user's folder).
class EnvironmentGuard
{
public:
    EnvironmentGuard(const char* name, const QString& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), saved_(qgetenv(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    ~EnvironmentGuard()
    {
        if (had_)
            qputenv(name_, saved_);
        else
            qunsetenv(name_);
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray saved_;
};

inline QString Canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

inline QList<BrowserWindow*> BrowserWindows()
{
    QList<BrowserWindow*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* browser = qobject_cast<BrowserWindow*>(window))
            windows << browser;
    return windows;
}

// Browser windows live until the user closes them; a test closes its own.
inline void CloseBrowserWindows()
{
    for (BrowserWindow* window : BrowserWindows())
        delete window;
}

// A small page of our own with a title, in UTF-8.
inline QByteArray Page(const QString& title, const QString& body = QStringLiteral("本文"))
{
    return (QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>") + title +
            QStringLiteral("</title></head><body><p>") + body + QStringLiteral("</p></body></html>"))
        .toUtf8();
}

} // namespace AuxWindows
