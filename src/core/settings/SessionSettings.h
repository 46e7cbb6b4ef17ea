#pragma once

#include "core/settings/ProgramVersion.h"

#include <QString>

class SettingsStore;
class SettingsView;
class Prompter;
struct AppSettings;

// Loading the settings at start-up and saving them at shut-down.
class SessionSettings
{
public:
    static QString ProgramVersion() { return ::ProgramVersion::Text(); }
    // The online panel's page, a fixed address of our own.
    static QString ZnPageAddress() { return QStringLiteral("https://sorafumi.example.jp/zn/"); }

    // A stored value that cannot be converted counts as its key's default;
    // the keys after it load as usual.
    static void LoadSettings(const SettingsStore& store, AppSettings& app, SettingsView& window, Prompter& prompter);
    // A save that does not reach the disk is reported once.
    static void SaveSettings(SettingsStore& store, AppSettings& app, const SettingsView& window, Prompter& prompter);

    static bool TipsAtStartup(const SettingsStore& store);
};
