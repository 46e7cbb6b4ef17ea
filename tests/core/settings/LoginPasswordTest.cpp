#include "core/settings/LoginPassword.h"
#include "TestRegistry.h"
#include "core/settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

class LoginPasswordTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A password kept as typed before is hashed at the next start, and opens
    // as before; the settings file no longer holds its text.
    void PlainPasswordIsHashedAndStillMatches()
    {
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath(QStringLiteral("s.ini")));
        QVERIFY(settings.WriteSettings({{SettingKey::UserPWS, QStringLiteral("そらふみ")}}));
        QVERIFY(LoginPassword::ConvertStored(settings));
        const QString stored = settings.ReadSetting(SettingKey::UserPWS);
        QVERIFY(LoginPassword::IsHash(stored));
        QVERIFY(!stored.contains(QStringLiteral("そらふみ")));
        QVERIFY(LoginPassword::Matches(QStringLiteral("そらふみ"), stored));
        QVERIFY(!LoginPassword::Matches(QStringLiteral("そらふみ "), stored));
        QVERIFY(!LoginPassword::Matches(stored, stored));
        QVERIFY(LoginPassword::ConvertStored(settings));
        QCOMPARE(settings.ReadSetting(SettingKey::UserPWS), stored);
    }
};

SORAFUMI_TEST(LoginPasswordTest)
#include "LoginPasswordTest.moc"
