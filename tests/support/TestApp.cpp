#include "TestApp.h"

#include "ui/mainwindow/MainWindow.h"
#include "ui/mainwindow/StartProgram.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <memory>

QWidget* EntryBox(const QWidget& mainWindow, int index)
{
    for (QWidget* box : mainWindow.findChildren<QWidget*>(QStringLiteral("FieldBoxes")))
        if (box->property("index").toInt() == index)
            return box;
    return nullptr;
}

QPlainTextEdit* EntryBody(const QWidget& mainWindow)
{
    return qobject_cast<QPlainTextEdit*>(EntryBox(mainWindow, 6));
}

QString PageStatus(const QWidget& mainWindow)
{
    return mainWindow.findChild<QLabel*>(QStringLiteral("PageLabel"))->text();
}

ScriptedPrompter::ModalScript FillAndPress(std::vector<std::pair<QString, QString>> texts, QString button)
{
    return [texts = std::move(texts), button = std::move(button)](QDialog& window) {
        for (const auto& [name, text] : texts)
            if (auto* box = window.findChild<QLineEdit*>(name))
                box->setText(text);
        if (auto* press = window.findChild<QAbstractButton*>(button))
            press->click();
        return window.result();
    };
}

TestApp::TestApp()
    : clock(QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0))), settings(profile.SettingsFile()),
      context(prompter, clock, ProgramFolder(profile.ProgramFolder()), settings, launcher)
{
}

void TestApp::RegisterOwner(const QString& name)
{
    settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserName"), name);
    settings.WriteSetting(QStringLiteral("User"), QStringLiteral("LoginOnOff"), QStringLiteral("0"));
    settings.WriteSetting(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
    settings.WriteSetting(QStringLiteral("User"), QStringLiteral("UserDataFile"), DiaryName());
    if (!QFile::exists(DiaryPath()))
        profile.WriteProgramFile(DiaryName(), QByteArray());
}

void TestApp::Restart()
{
    prompter.shown.clear();
    // A new start is a new process: the program has not ended in it. It
    // runs from the same folders.
    ProgramFolder folder = context.folder;
    std::destroy_at(&context);
    std::construct_at(&context, prompter, clock, std::move(folder), settings, launcher);
}

bool TestApp::Stored(const QString& section, const QString& key) const
{
    const QSettings file(profile.SettingsFile(), QSettings::IniFormat);
    return file.contains(section + u'/' + key);
}

QString TestApp::Read(const QString& section, const QString& key) const
{
    const QSettings file(profile.SettingsFile(), QSettings::IniFormat);
    return file.value(section + u'/' + key).toString();
}

std::unique_ptr<MainWindow> TestApp::StartOwnersDiary(const QByteArray& diary)
{
    if (!diary.isEmpty()) {
        QFile file(DiaryPath());
        if (!file.open(QIODevice::WriteOnly) || file.write(diary) != diary.size())
            return nullptr;
    }
    RegisterOwner();
    return StartProgram(context);
}
