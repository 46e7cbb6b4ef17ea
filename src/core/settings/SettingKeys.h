#pragma once

#include <QString>
#include <QVariant>
#include <vector>

// Every value the program keeps in the settings file.
enum class SettingKey {
    MainLeft,
    MainTop,
    MainWidth,
    MainHeight,
    Version,
    UserName,
    UserPWS,
    LoginOnOff,
    BackMapOoOff,
    BackMapPath,
    UserDataFile,
    UserDataFontSize,
    ZnURL,
    ZnMSG,
    ActiveFontColor,
    ActiveCtrlColor,
    VersionPicture,
    ShowTipsAtStartup,
    // The newer features keep theirs in the section Tools.
    FuzzySearch,
    BackupFolder,
    BackupDaily,
    BackupWeekly,
    ExportFolder,
    ImportFolder,
};

// The settings file's keys, one row each: the section and name it is stored
// under, what a read gives while it is absent, and the form of its text. The
// section and key names are the file format: files written by earlier versions
// must read the same.
class SettingKeys
{
public:
    enum class Form {
        Text,
        // A decimal number, such as a place in twips or a font size.
        Number,
        // A check box: "1" ticked, "0" clear.
        Switch,
        // The words True and False.
        Boolean,
        // A signed 32-bit colour value in decimal.
        Colour,
    };

    struct Row
    {
        SettingKey key;
        QString section;
        QString name;
        QVariant defaultValue;
        Form form;
    };

    static const std::vector<Row>& All();
    static const Row& Of(SettingKey key);
    // What a read of the key gives while the file does not hold it.
    static QString DefaultText(SettingKey key) { return Of(key).defaultValue.toString(); }
    // The same as a number, for the keys whose default is one; also what a
    // stored text that is no number stands for.
    static double DefaultNumber(SettingKey key) { return Of(key).defaultValue.toDouble(); }
};
