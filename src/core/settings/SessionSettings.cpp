#include "core/settings/SessionSettings.h"

#include "core/platform/Prompter.h"
#include "core/settings/AppSettings.h"
#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SettingsView.h"
#include "core/settings/UnsavedSettings.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

struct GeometryKey
{
    SettingKey key;
    void (SettingsView::*apply)(double);
};

const GeometryKey Geometry[] = {
    {SettingKey::MainLeft, &SettingsView::SetLeft},
    {SettingKey::MainTop, &SettingsView::SetTop},
    {SettingKey::MainWidth, &SettingsView::SetWidth},
    {SettingKey::MainHeight, &SettingsView::SetHeight},
};

QString Decimal(double twips)
{
    return QString::number(std::lround(twips));
}

// Places and sizes are single-precision numbers: a text that is not one, or
// lies beyond their range, stands for the key's default.
double Twips(const SettingsStore& store, SettingKey key)
{
    const std::optional<double> twips = SettingValue::ToNumber(store.ReadSetting(key));
    if (!twips || std::abs(*twips) > double(std::numeric_limits<float>::max()))
        return SettingKeys::DefaultNumber(key);
    return *twips;
}

// A font-size box left empty or holding a word keeps the default size, so
// that one stray text is never stored for good.
QString FontSizeOrDefault(const QString& text)
{
    return SettingValue::ToNumber(text) ? text : SettingKeys::DefaultText(SettingKey::UserDataFontSize);
}

// How many copies of the diary stay: a whole number from 0 up; any other
// text keeps the default.
qint32 Generations(const SettingsStore& store, SettingKey key)
{
    const std::optional<double> number = SettingValue::ToNumber(store.ReadSetting(key));
    if (!number || *number < 0 || *number > 9999 || *number != std::floor(*number))
        return qint32(SettingKeys::DefaultNumber(key));
    return qint32(*number);
}

} // namespace

void SessionSettings::LoadSettings(const SettingsStore& store, AppSettings& app, SettingsView& window, Prompter& prompter)
{
    for (const GeometryKey& entry : Geometry)
        std::invoke(entry.apply, window, Twips(store, entry.key));

    // A first start reads the running version and brings no notice.
    app.SavedVersion = store.ReadSetting(SettingKey::Version);
    if (app.SavedVersion != ProgramVersion())
        prompter.Message({QStringLiteral("以前起動した日記帳とバージョン情報が異なります。バージョンアップしたと見なします。"),
                          QStringLiteral("バージョン管理"), Prompter::Buttons::Ok, Prompter::Icon::Information, {}});

    app.UserDataFile = store.ReadSetting(SettingKey::UserDataFile);
    app.UserDataFontSize = FontSizeOrDefault(store.ReadSetting(SettingKey::UserDataFontSize));
    app.ZnURL = ZnPageAddress();
    app.ZnMSG = SettingValue::ToBoolean(store.ReadSetting(SettingKey::ZnMSG))
                    .value_or(SettingKeys::Of(SettingKey::ZnMSG).defaultValue.toBool());
    app.BackupFolder = store.ReadSetting(SettingKey::BackupFolder);
    app.BackupDaily = Generations(store, SettingKey::BackupDaily);
    app.BackupWeekly = Generations(store, SettingKey::BackupWeekly);
    app.ExportFolder = store.ReadSetting(SettingKey::ExportFolder);
    app.ImportFolder = store.ReadSetting(SettingKey::ImportFolder);
}

void SessionSettings::SaveSettings(SettingsStore& store, AppSettings& app, const SettingsView& window, Prompter& prompter)
{
    std::vector<SettingsStore::Setting> values;
    if (!window.IsMinimized()) {
        const QRectF bounds = window.BoundsInTwips();
        // A place not known keeps the one last stored, for the next start
        // where it counts.
        if (window.KnowsPlace()) {
            values.push_back({SettingKey::MainLeft, Decimal(bounds.left())});
            values.push_back({SettingKey::MainTop, Decimal(bounds.top())});
        }
        values.push_back({SettingKey::MainWidth, Decimal(bounds.width())});
        values.push_back({SettingKey::MainHeight, Decimal(bounds.height())});
    }
    values.push_back({SettingKey::Version, ProgramVersion()});
    values.push_back({SettingKey::UserDataFile, app.UserDataFile});
    app.UserDataFontSize = FontSizeOrDefault(window.FontSizeText());
    values.push_back({SettingKey::UserDataFontSize, app.UserDataFontSize});
    values.push_back({SettingKey::ZnURL, app.ZnURL});
    values.push_back({SettingKey::ZnMSG, SettingValue::FromBoolean(app.ZnMSG)});
    // Kept only once an export or an import chose a folder, so that a settings
    // file gains no keys from a run that used neither.
    if (!app.ExportFolder.isEmpty())
        values.push_back({SettingKey::ExportFolder, app.ExportFolder});
    if (!app.ImportFolder.isEmpty())
        values.push_back({SettingKey::ImportFolder, app.ImportFolder});
    if (!store.WriteSettings(values))
        UnsavedSettings::ReportShutDown(prompter, store.FileName());
}

bool SessionSettings::TipsAtStartup(const SettingsStore& store)
{
    // Only the value 1 switches the tip on; a text that is not a number counts
    // as the default, which is 1.
    const SettingKey key = SettingKey::ShowTipsAtStartup;
    return SettingValue::ToNumber(store.ReadSetting(key)).value_or(SettingKeys::DefaultNumber(key)) == 1.0;
}

