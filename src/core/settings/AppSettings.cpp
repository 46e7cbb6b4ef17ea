#include "core/settings/AppSettings.h"

#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"

namespace {

// A colour that is not a number keeps its default.
qint32 ReadColour(const SettingsStore& store, SettingKey key)
{
    return SettingValue::ToInt32(store.ReadSetting(key)).value_or(qint32(SettingKeys::DefaultNumber(key)));
}

} // namespace

void AppSettings::ReadOwnerAndColours(const SettingsStore& store)
{
    UserName = store.ReadSetting(SettingKey::UserName);
    UserPWS = store.ReadSetting(SettingKey::UserPWS);
    ActiveFontColor = ReadColour(store, SettingKey::ActiveFontColor);
    ActiveCtrlColor = ReadColour(store, SettingKey::ActiveCtrlColor);
    VersionPicture = store.ReadSetting(SettingKey::VersionPicture);
}
