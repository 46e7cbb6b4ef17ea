#include "core/settings/SettingKeys.h"

#include "core/settings/AppSettings.h"
#include "core/settings/ProgramVersion.h"

#include <cstddef>

using Form = SettingKeys::Form;

const std::vector<SettingKeys::Row>& SettingKeys::All()
{
    const QString settings = QStringLiteral("Settings");
    const QString user = QStringLiteral("User");
    const QString options = QStringLiteral("Options");
    const QString tools = QStringLiteral("Tools");
    // One row for each key, in the order of SettingKey. The window's default
    // size, 7800 × 6500 twips, is 520 × about 433 pixels.
    static const std::vector<Row> rows = {
        {SettingKey::MainLeft, settings, QStringLiteral("MainLeft"), 0, Form::Number},
        {SettingKey::MainTop, settings, QStringLiteral("MainTop"), 0, Form::Number},
        {SettingKey::MainWidth, settings, QStringLiteral("MainWidth"), 7800, Form::Number},
        {SettingKey::MainHeight, settings, QStringLiteral("MainHeight"), 6500, Form::Number},
        // The version of the program that last ran; a first start counts as
        // this version, so that it brings no notice.
        {SettingKey::Version, QStringLiteral("Version"), QStringLiteral("Version"), ProgramVersion::Text(), Form::Text},
        {SettingKey::UserName, user, QStringLiteral("UserName"), QString(), Form::Text},
        // The password is kept as typed: the file is readable by its owner only.
        {SettingKey::UserPWS, user, QStringLiteral("UserPWS"), QString(), Form::Text},
        {SettingKey::LoginOnOff, user, QStringLiteral("LoginOnOff"), 1, Form::Switch},
        // The name says "off": 1 means no background picture.
        {SettingKey::BackMapOoOff, user, QStringLiteral("BackMapOoOff"), 0, Form::Switch},
        {SettingKey::BackMapPath, user, QStringLiteral("BackMapPath"), QStringLiteral("BackMap.gif"), Form::Text},
        {SettingKey::UserDataFile, user, QStringLiteral("UserDataFile"), QString(), Form::Text},
        {SettingKey::UserDataFontSize, user, QStringLiteral("UserDataFontSize"), 12, Form::Number},
        // Written at every save and never read back: the address is fixed.
        {SettingKey::ZnURL, user, QStringLiteral("ZnURL"), QString(), Form::Text},
        {SettingKey::ZnMSG, user, QStringLiteral("ZnMSG"), false, Form::Boolean},
        {SettingKey::ActiveFontColor, options, QStringLiteral("ActiveFontColor"), AppSettings::SystemWindowText,
         Form::Colour},
        {SettingKey::ActiveCtrlColor, options, QStringLiteral("ActiveCtrlColor"), AppSettings::SystemWindowBackground,
         Form::Colour},
        {SettingKey::VersionPicture, options, QStringLiteral("VersionPicture"), QString(), Form::Text},
        {SettingKey::ShowTipsAtStartup, options, QStringLiteral("Show Tips at Startup"), 1, Form::Switch},
        // The search window's あいまい検索 check box.
        {SettingKey::FuzzySearch, tools, QStringLiteral("FuzzySearch"), 0, Form::Switch},
        // The daily copies of the diary: their folder (empty for the one in
        // the user's data folder) and how many days and weeks stay.
        {SettingKey::BackupFolder, tools, QStringLiteral("BackupFolder"), QString(), Form::Text},
        {SettingKey::BackupDaily, tools, QStringLiteral("BackupDaily"), 7, Form::Number},
        {SettingKey::BackupWeekly, tools, QStringLiteral("BackupWeekly"), 4, Form::Number},
        {SettingKey::ExportFolder, tools, QStringLiteral("ExportFolder"), QString(), Form::Text},
        {SettingKey::ImportFolder, tools, QStringLiteral("ImportFolder"), QString(), Form::Text},
    };
    return rows;
}

const SettingKeys::Row& SettingKeys::Of(SettingKey key)
{
    // The rows are in the order of the keys, one for each; the table's test
    // holds them to that.
    return All()[std::size_t(key)];
}
