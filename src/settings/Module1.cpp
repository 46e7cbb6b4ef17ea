#include "Module1.h"

#include "AppSettings.h"
#include "SettingValue.h"
#include "SettingsStore.h"
#include "SettingsView.h"
#include "platform/Prompter.h"

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

} // namespace

void Module1::LoadSettings(const SettingsStore& store, AppSettings& app, SettingsView& window, Prompter& prompter)
{
    const QString running = ProgramVersion();

    const GeometryKey geometry[] = {
        {QStringLiteral("MainLeft"), 0, &SettingsView::SetLeft},
        {QStringLiteral("MainTop"), 0, &SettingsView::SetTop},
        {QStringLiteral("MainWidth"), 7800, &SettingsView::SetWidth},
        {QStringLiteral("MainHeight"), 6500, &SettingsView::SetHeight},
    };
    for (const GeometryKey& entry : geometry) {
        const std::optional<double> twips = SettingValue::ToNumber(store.ReadSetting(Settings, entry.key, entry.fallback));
        // Places and sizes are single-precision numbers: beyond their range the
        // value does not convert.
        if (!twips || std::abs(*twips) > double(std::numeric_limits<float>::max()))
            return;
        std::invoke(entry.apply, window, *twips);
    }

    app.SavedVersion = store.ReadSetting(QStringLiteral("Version"), QStringLiteral("Version"), running);
    if (app.SavedVersion != running)
        prompter.Message({QStringLiteral("以前起動した日記帳とバージョン情報が異なります。バージョンアップしたと見なします。"),
                          QStringLiteral("バージョン管理"), Prompter::Buttons::Ok, Prompter::Icon::Information, {}});

    app.UserDataFile = store.ReadSetting(User, QStringLiteral("UserDataFile"));

    const QString fontSize = store.ReadSetting(User, QStringLiteral("UserDataFontSize"), 12);
    if (!SettingValue::ToNumber(fontSize))
        return;
    app.UserDataFontSize = fontSize;

    app.ZnURL = ZnPageAddress();

    const std::optional<bool> noticeOff = SettingValue::ToBoolean(store.ReadSetting(User, QStringLiteral("ZnMSG"), false));
    if (!noticeOff)
        return;
    app.ZnMSG = *noticeOff;
}

void Module1::SaveSettings(SettingsStore& store, AppSettings& app, const SettingsView& window)
{
    if (!window.IsMinimized()) {
        const QRectF bounds = window.BoundsInTwips();
        store.WriteSetting(Settings, QStringLiteral("MainLeft"), Decimal(bounds.left()));
        store.WriteSetting(Settings, QStringLiteral("MainTop"), Decimal(bounds.top()));
        store.WriteSetting(Settings, QStringLiteral("MainWidth"), Decimal(bounds.width()));
        store.WriteSetting(Settings, QStringLiteral("MainHeight"), Decimal(bounds.height()));
    }
    store.WriteSetting(QStringLiteral("Version"), QStringLiteral("Version"), ProgramVersion());
    store.WriteSetting(User, QStringLiteral("UserDataFile"), app.UserDataFile);
    app.UserDataFontSize = window.FontSizeText();
    store.WriteSetting(User, QStringLiteral("UserDataFontSize"), app.UserDataFontSize);
    store.WriteSetting(User, QStringLiteral("ZnURL"), app.ZnURL);
    store.WriteSetting(User, QStringLiteral("ZnMSG"), SettingValue::FromBoolean(app.ZnMSG));
}

bool Module1::TipsAtStartup(const SettingsStore& store)
{
    // Only the value 1 switches the tip on; a text that is not a number counts
    // as the default, which is 1.
    const QString text = store.ReadSetting(QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), 1);
    return SettingValue::ToNumber(text).value_or(1.0) == 1.0;
}

