#include "core/settings/SessionSettings.h"

#include "core/settings/AppSettings.h"
#include "core/settings/SettingValue.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SettingsView.h"
#include "core/settings/UnsavedSettings.h"
#include "core/platform/Prompter.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

const QString Settings = QStringLiteral("Settings");
const QString User = QStringLiteral("User");

struct GeometryKey
{
    QString key;
    int fallback;
    void (SettingsView::*apply)(double);
};

QString Decimal(double twips)
{
    return QString::number(std::lround(twips));
}

// Places and sizes are single-precision numbers: a text that is not one, or
// lies beyond their range, stands for the key's default.
double Twips(const SettingsStore& store, const QString& key, int fallback)
{
    const std::optional<double> twips = SettingValue::ToNumber(store.ReadSetting(Settings, key, fallback));
    if (!twips || std::abs(*twips) > double(std::numeric_limits<float>::max()))
        return fallback;
    return *twips;
}

const int DefaultFontSize = 12;

// A font-size box left empty or holding a word keeps the default size, so
// that one stray text is never stored for good.
QString FontSizeOrDefault(const QString& text)
{
    return SettingValue::ToNumber(text) ? text : QString::number(DefaultFontSize);
}

} // namespace

void SessionSettings::LoadSettings(const SettingsStore& store, AppSettings& app, SettingsView& window, Prompter& prompter)
{
    const QString running = ProgramVersion();

    const GeometryKey geometry[] = {
        {QStringLiteral("MainLeft"), 0, &SettingsView::SetLeft},
        {QStringLiteral("MainTop"), 0, &SettingsView::SetTop},
        {QStringLiteral("MainWidth"), 7800, &SettingsView::SetWidth},
        {QStringLiteral("MainHeight"), 6500, &SettingsView::SetHeight},
    };
    for (const GeometryKey& entry : geometry)
        std::invoke(entry.apply, window, Twips(store, entry.key, entry.fallback));

    app.SavedVersion = store.ReadSetting(QStringLiteral("Version"), QStringLiteral("Version"), running);
    if (app.SavedVersion != running)
        prompter.Message({QStringLiteral("以前起動した日記帳とバージョン情報が異なります。バージョンアップしたと見なします。"),
                          QStringLiteral("バージョン管理"), Prompter::Buttons::Ok, Prompter::Icon::Information, {}});

    app.UserDataFile = store.ReadSetting(User, QStringLiteral("UserDataFile"));
    app.UserDataFontSize =
        FontSizeOrDefault(store.ReadSetting(User, QStringLiteral("UserDataFontSize"), DefaultFontSize));
    app.ZnURL = ZnPageAddress();
    app.ZnMSG = SettingValue::ToBoolean(store.ReadSetting(User, QStringLiteral("ZnMSG"), false)).value_or(false);
}

void SessionSettings::SaveSettings(SettingsStore& store, AppSettings& app, const SettingsView& window, Prompter& prompter)
{
    std::vector<SettingsStore::Setting> values;
    if (!window.IsMinimized()) {
        const QRectF bounds = window.BoundsInTwips();
        values.push_back({Settings, QStringLiteral("MainLeft"), Decimal(bounds.left())});
        values.push_back({Settings, QStringLiteral("MainTop"), Decimal(bounds.top())});
        values.push_back({Settings, QStringLiteral("MainWidth"), Decimal(bounds.width())});
        values.push_back({Settings, QStringLiteral("MainHeight"), Decimal(bounds.height())});
    }
    values.push_back({QStringLiteral("Version"), QStringLiteral("Version"), ProgramVersion()});
    values.push_back({User, QStringLiteral("UserDataFile"), app.UserDataFile});
    app.UserDataFontSize = FontSizeOrDefault(window.FontSizeText());
    values.push_back({User, QStringLiteral("UserDataFontSize"), app.UserDataFontSize});
    values.push_back({User, QStringLiteral("ZnURL"), app.ZnURL});
    values.push_back({User, QStringLiteral("ZnMSG"), SettingValue::FromBoolean(app.ZnMSG)});
    if (!store.WriteSettings(values))
        UnsavedSettings::ReportShutDown(prompter, store.FileName());
}

bool SessionSettings::TipsAtStartup(const SettingsStore& store)
{
    // Only the value 1 switches the tip on; a text that is not a number counts
    // as the default, which is 1.
    const QString text = store.ReadSetting(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), 1);
    return SettingValue::ToNumber(text).value_or(1.0) == 1.0;
}

