#pragma once

#include <QString>

class SettingsStore;

// The loaded settings that every window shares, from the start of the program
// to its end.
struct AppSettings
{
    // System colours by index, with the top bit set: window text and window
    // background.
    static constexpr qint32 SystemWindowText = qint32(0x80000008u);
    static constexpr qint32 SystemWindowBackground = qint32(0x80000005u);

    QString UserName;
    QString UserPWS;
    // The owner's password is asked at start.
    bool LoginOnOff = true;
    qint32 ActiveFontColor = SystemWindowText;
    qint32 ActiveCtrlColor = SystemWindowBackground;
    QString VersionPicture;
    QString SavedVersion;
    QString UserDataFile;
    QString UserDataFontSize;
    QString ZnURL;
    bool ZnMSG = false;
    // The daily copies of the diary: empty for the default folder.
    QString BackupFolder;
    qint32 BackupDaily = 7;
    qint32 BackupWeekly = 4;
    // The folders of the last export and import: empty for the default.
    QString ExportFolder;
    QString ImportFolder;

    // The reads that come before any window: owner, colours, about-box picture.
    // A colour that is not a number keeps its default.
    void ReadOwnerAndColours(const SettingsStore& store);
};
