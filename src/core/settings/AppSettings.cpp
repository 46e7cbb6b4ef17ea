#include "core/settings/AppSettings.h"

#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"

namespace {

qint32 ReadColour(const SettingsStore& store, const QString& key, qint32 fallback)
{
    return SettingValue::ToInt32(store.ReadSetting(QStringLiteral("Options"), key, fallback)).value_or(fallback);
}

} // namespace

void AppSettings::ReadOwnerAndColours(const SettingsStore& store)
{
    UserName = store.ReadSetting(QStringLiteral("User"), QStringLiteral("UserName"));
    UserPWS = store.ReadSetting(QStringLiteral("User"), QStringLiteral("UserPWS"));
    ActiveFontColor = ReadColour(store, QStringLiteral("ActiveFontColor"), SystemWindowText);
    ActiveCtrlColor = ReadColour(store, QStringLiteral("ActiveCtrlColor"), SystemWindowBackground);
    VersionPicture = store.ReadSetting(QStringLiteral("Options"), QStringLiteral("VersionPicture"));
}
