#include "core/settings/SessionSettings.h"
#include "FakeSettingsView.h"
#include "ScriptedPrompter.h"
#include "TempProfile.h"
#include "TestRegistry.h"
#include "core/settings/AppSettings.h"
#include "core/settings/ProgramVersion.h"
#include "core/settings/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTest>
#include <QVersionNumber>

using namespace Qt::StringLiterals;

namespace {

const QString Settings = QStringLiteral("Settings");
const QString Version = QStringLiteral("Version");
const QString User = QStringLiteral("User");
const QString Options = QStringLiteral("Options");

const QString VersionNotice =
    QStringLiteral("以前起動した日記帳とバージョン情報が異なります。バージョンアップしたと見なします。");

// Stored values as "Section/Key=value" lines, written the way the program
// writes them.
void Store(SettingsStore& store, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const qsizetype slash = entry.indexOf(u'/');
        const qsizetype equals = entry.indexOf(u'=');
        store.WriteSetting(entry.left(slash), entry.mid(slash + 1, equals - slash - 1), entry.mid(equals + 1));
    }
}

// Saves as the program does at shut-down; a box would fail the test.
void Save(SettingsStore& store, AppSettings& app, const FakeSettingsView& window)
{
    ScriptedPrompter none;
    SessionSettings::SaveSettings(store, app, window, none);
}

// What the next run of the program finds in the file. The file is copied
// first, so that nothing this process still holds in memory can stand in for
// what reached the disk.
class NextRun
{
public:
    explicit NextRun(const QString& fileName) : copy_(fileName + QStringLiteral(".next.ini"))
    {
        QFile::remove(copy_);
        QFile::copy(fileName, copy_);
    }
    ~NextRun() { QFile::remove(copy_); }
    NextRun(const NextRun&) = delete;
    NextRun& operator=(const NextRun&) = delete;

    QString Read(const QString& section, const QString& key) const
    {
        return SettingsStore(copy_).ReadSetting(section, key, QStringLiteral("(absent)"));
    }
    // Every "Section/Key" in the file, sorted.
    QStringList Keys() const
    {
        QStringList keys = QSettings(copy_, QSettings::IniFormat).allKeys();
        keys.sort();
        return keys;
    }

private:
    QString copy_;
};

} // namespace

class SessionSettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void FirstStartUsesDefaults()
    {
        TempProfile profile;
        const SettingsStore store(profile.SettingsFile());
        AppSettings app;
        FakeSettingsView window;
        ScriptedPrompter prompter;

        SessionSettings::LoadSettings(store, app, window, prompter);

        QCOMPARE(window.calls, (QStringList{QStringLiteral("left 0"), QStringLiteral("top 0"),
                                            QStringLiteral("width 7800"), QStringLiteral("height 6500")}));
        QVERIFY(prompter.shown.empty());
        QCOMPARE(app.SavedVersion, ProgramVersion::Text());
        QCOMPARE(app.UserDataFile, QString());
        QCOMPARE(app.UserDataFontSize, QStringLiteral("12"));
        QCOMPARE(app.ZnURL, SessionSettings::ZnPageAddress());
        QCOMPARE(app.ZnMSG, false);
        // Loading writes nothing.
        QVERIFY(!QFile::exists(profile.SettingsFile()));
    }

    void StoredValuesAreLoaded()
    {
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        Store(store,
              {QStringLiteral("Settings/MainLeft=1500"), QStringLiteral("Settings/MainTop=-750"),
               QStringLiteral("Settings/MainWidth=12000"), QStringLiteral("Settings/MainHeight=9015"),
               QStringLiteral("Version/Version=") + ProgramVersion::Text(),
               QStringLiteral("User/UserDataFile=C:\\日記\\nikki.dat"), QStringLiteral("User/UserDataFontSize=14"),
               QStringLiteral("User/ZnURL=http://old.example/"), QStringLiteral("User/ZnMSG=True")});
        AppSettings app;
        FakeSettingsView window;
        ScriptedPrompter prompter;

        SessionSettings::LoadSettings(store, app, window, prompter);

        QCOMPARE(window.calls, (QStringList{QStringLiteral("left 1500"), QStringLiteral("top -750"),
                                            QStringLiteral("width 12000"), QStringLiteral("height 9015")}));
        QVERIFY(prompter.shown.empty());
        QCOMPARE(app.SavedVersion, ProgramVersion::Text());
        QCOMPARE(app.UserDataFile, QStringLiteral("C:\\日記\\nikki.dat"));
        QCOMPARE(app.UserDataFontSize, QStringLiteral("14"));
        // The panel's address is our own, whatever the file says.
        QCOMPARE(app.ZnURL, SessionSettings::ZnPageAddress());
        QCOMPARE(app.ZnMSG, true);
    }

    void VersionNoticeOnChange_data()
    {
        QTest::addColumn<QString>("stored"); // a null text: no version stored
        QTest::addColumn<bool>("notice");
        QTest::newRow("first start") << QString() << false;
        const QString running = ProgramVersion::Text();
        const QVersionNumber parts = QVersionNumber::fromString(running);
        QTest::newRow("same version") << running << false;
        QTest::newRow("older version") << QStringLiteral("1.0.0") << true;
        QTest::newRow("newer version") << QVersionNumber(parts.majorVersion(), parts.minorVersion() + 1, 0).toString()
                                       << true;
        QTest::newRow("revision shorter") << running.chopped(1) << true;
        QTest::newRow("leading zero")
            << QStringLiteral("%1.0%2.%3").arg(parts.majorVersion()).arg(parts.minorVersion()).arg(parts.microVersion())
            << true;
        QTest::newRow("stored empty") << QStringLiteral("") << true;
    }
    void VersionNoticeOnChange()
    {
        QFETCH(QString, stored);
        QFETCH(bool, notice);
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        if (!stored.isNull())
            store.WriteSetting(Version, Version, stored);
        store.WriteSetting(User, QStringLiteral("UserDataFile"), QStringLiteral("nikki.dat"));
        AppSettings app;
        FakeSettingsView window;
        ScriptedPrompter prompter;
        if (notice)
            prompter.AnswerMessage(Prompter::Answer::Ok);

        SessionSettings::LoadSettings(store, app, window, prompter);

        QVERIFY(prompter.AllAnswered());
        QCOMPARE(prompter.shown.size(), size_t(notice ? 1 : 0));
        if (notice) {
            const Prompter::Box& box = prompter.LastMessage();
            QCOMPARE(box.text, VersionNotice);
            QCOMPARE(box.title, QStringLiteral("バージョン管理"));
            QCOMPARE(box.buttons, Prompter::Buttons::Ok);
            QCOMPARE(box.icon, Prompter::Icon::Information);
        }
        QCOMPARE(app.SavedVersion, stored.isNull() ? ProgramVersion::Text() : stored);
        // The notice only informs: loading goes on after it.
        QCOMPARE(app.UserDataFile, QStringLiteral("nikki.dat"));
        QCOMPARE(app.UserDataFontSize, QStringLiteral("12"));
        QCOMPARE(app.ZnURL, SessionSettings::ZnPageAddress());
        // Loading does not store the new version; the notice comes again next time.
        QCOMPARE(NextRun(profile.SettingsFile()).Read(Version, Version),
                 stored.isNull() ? QStringLiteral("(absent)") : stored);
    }

    // A stored value that cannot be converted counts as that key's default;
    // every other key loads as stored.
    void UnconvertibleValueTakesItsDefault_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("fontSize");
        QTest::addColumn<bool>("znMSG");
        const QString left = QStringLiteral("left 1500");
        const QString top = QStringLiteral("top 750");
        const QString width = QStringLiteral("width 9000");
        const QString height = QStringLiteral("height 7200");
        QTest::newRow("MainLeft letters") << QStringLiteral("Settings/MainLeft=abc")
                                          << QStringList{u"left 0"_s, top, width, height} << u"14"_s << true;
        QTest::newRow("MainLeft empty") << QStringLiteral("Settings/MainLeft=")
                                        << QStringList{u"left 0"_s, top, width, height} << u"14"_s << true;
        QTest::newRow("MainTop letters") << QStringLiteral("Settings/MainTop=abc")
                                         << QStringList{left, u"top 0"_s, width, height} << u"14"_s << true;
        QTest::newRow("MainWidth letters") << QStringLiteral("Settings/MainWidth=abc")
                                           << QStringList{left, top, u"width 7800"_s, height} << u"14"_s << true;
        QTest::newRow("MainHeight with a unit") << QStringLiteral("Settings/MainHeight=7200twips")
                                                << QStringList{left, top, width, u"height 6500"_s} << u"14"_s << true;
        QTest::newRow("MainWidth beyond a single")
            << QStringLiteral("Settings/MainWidth=1e39") << QStringList{left, top, u"width 7800"_s, height} << u"14"_s
            << true;
        QTest::newRow("UserDataFontSize a word")
            << QStringLiteral("User/UserDataFontSize=big") << QStringList{left, top, width, height} << u"12"_s << true;
        QTest::newRow("UserDataFontSize empty")
            << QStringLiteral("User/UserDataFontSize=") << QStringList{left, top, width, height} << u"12"_s << true;
        QTest::newRow("ZnMSG neither word nor number")
            << QStringLiteral("User/ZnMSG=maybe") << QStringList{left, top, width, height} << u"14"_s << false;
    }
    void UnconvertibleValueTakesItsDefault()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, calls);
        QFETCH(QString, fontSize);
        QFETCH(bool, znMSG);
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        Store(store, {QStringLiteral("Settings/MainLeft=1500"), QStringLiteral("Settings/MainTop=750"),
                      QStringLiteral("Settings/MainWidth=9000"), QStringLiteral("Settings/MainHeight=7200"),
                      QStringLiteral("Version/Version=1.0.0"), QStringLiteral("User/UserDataFile=nikki.dat"),
                      QStringLiteral("User/UserDataFontSize=14"), QStringLiteral("User/ZnMSG=True"), entry});
        AppSettings app;
        FakeSettingsView window;
        ScriptedPrompter prompter;
        prompter.AnswerMessage(Prompter::Answer::Ok);

        SessionSettings::LoadSettings(store, app, window, prompter);

        QCOMPARE(window.calls, calls);
        QCOMPARE(prompter.MessageTexts(), QStringList{VersionNotice});
        QCOMPARE(app.UserDataFile, QStringLiteral("nikki.dat"));
        QCOMPARE(app.UserDataFontSize, fontSize);
        QCOMPARE(app.ZnURL, SessionSettings::ZnPageAddress());
        QCOMPARE(app.ZnMSG, znMSG);
    }

    void SaveWritesEveryValue_data()
    {
        QTest::addColumn<QRectF>("bounds");
        QTest::addColumn<QString>("dataFile");
        QTest::addColumn<bool>("znMSG");
        QTest::addColumn<QStringList>("geometry");
        QTest::addColumn<QString>("sizeBox");
        QTest::addColumn<QString>("sizeStored");
        QTest::newRow("normal window") << QRectF(1500, 750, 9000, 7200) << QStringLiteral("/home/taro/日記/nikki.dat")
                                       << true << QStringList{u"1500"_s, u"750"_s, u"9000"_s, u"7200"_s} << u"16"_s
                                       << u"16"_s;
        QTest::newRow("left of the main screen, no group commas")
            << QRectF(-15360, 0, 23040, 16200) << QStringLiteral("nikki.dat") << false
            << QStringList{u"-15360"_s, u"0"_s, u"23040"_s, u"16200"_s} << u"16"_s << u"16"_s;
        QTest::newRow("whole twips") << QRectF(1499.6, 750.4, 9000, 7200) << QStringLiteral("nikki.dat") << false
                                     << QStringList{u"1500"_s, u"750"_s, u"9000"_s, u"7200"_s} << u"16"_s << u"16"_s;
        // Deleting the last page empties the name, so the next start asks.
        QTest::newRow("emptied diary name") << QRectF(0, 0, 7800, 6500) << QString() << false
                                            << QStringList{u"0"_s, u"0"_s, u"7800"_s, u"6500"_s} << u"16"_s << u"16"_s;
        QTest::newRow("font size box left empty")
            << QRectF(0, 0, 7800, 6500) << QStringLiteral("nikki.dat") << false
            << QStringList{u"0"_s, u"0"_s, u"7800"_s, u"6500"_s} << QString() << u"12"_s;
        QTest::newRow("font size box holding a word")
            << QRectF(0, 0, 7800, 6500) << QStringLiteral("nikki.dat") << false
            << QStringList{u"0"_s, u"0"_s, u"7800"_s, u"6500"_s} << u"大"_s << u"12"_s;
    }
    void SaveWritesEveryValue()
    {
        QFETCH(QRectF, bounds);
        QFETCH(QString, dataFile);
        QFETCH(bool, znMSG);
        QFETCH(QStringList, geometry);
        QFETCH(QString, sizeBox);
        QFETCH(QString, sizeStored);
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        Store(store, {QStringLiteral("Version/Version=1.0.0"), QStringLiteral("User/UserDataFile=old.dat"),
                      QStringLiteral("User/ZnURL=http://old.example/"), QStringLiteral("User/ZnMSG=True"),
                      QStringLiteral("User/UserDataFontSize=12")});
        AppSettings app;
        app.UserDataFile = dataFile;
        app.UserDataFontSize = QStringLiteral("12");
        app.ZnURL = SessionSettings::ZnPageAddress();
        app.ZnMSG = znMSG;
        FakeSettingsView window;
        window.bounds = bounds;
        window.fontSizeText = sizeBox;

        Save(store, app, window);

        QCOMPARE(app.UserDataFontSize, sizeStored);
        const NextRun next(profile.SettingsFile());
        QCOMPARE(next.Keys(), (QStringList{u"Settings/MainHeight"_s, u"Settings/MainLeft"_s, u"Settings/MainTop"_s,
                                           u"Settings/MainWidth"_s, u"User/UserDataFile"_s, u"User/UserDataFontSize"_s,
                                           u"User/ZnMSG"_s, u"User/ZnURL"_s, u"Version/Version"_s}));
        QCOMPARE(next.Read(Settings, QStringLiteral("MainLeft")), geometry.value(0));
        QCOMPARE(next.Read(Settings, QStringLiteral("MainTop")), geometry.value(1));
        QCOMPARE(next.Read(Settings, QStringLiteral("MainWidth")), geometry.value(2));
        QCOMPARE(next.Read(Settings, QStringLiteral("MainHeight")), geometry.value(3));
        QCOMPARE(next.Read(Version, Version), ProgramVersion::Text());
        QCOMPARE(next.Read(User, QStringLiteral("UserDataFile")), dataFile);
        QCOMPARE(next.Read(User, QStringLiteral("UserDataFontSize")), sizeStored);
        QCOMPARE(next.Read(User, QStringLiteral("ZnURL")), SessionSettings::ZnPageAddress());
        QCOMPARE(next.Read(User, QStringLiteral("ZnMSG")), znMSG ? QStringLiteral("True") : QStringLiteral("False"));
    }

    // A minimised window keeps the stored place and size; one on Wayland, which
    // cannot know its place, keeps the place and saves its size.
    void WindowKeepsStoredGeometry_data()
    {
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<bool>("knowsPlace");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::newRow("minimised") << true << true << u"9000"_s << u"7200"_s;
        QTest::newRow("place unknown") << false << false << u"2400"_s << u"450"_s;
    }
    void WindowKeepsStoredGeometry()
    {
        QFETCH(bool, minimized);
        QFETCH(bool, knowsPlace);
        QFETCH(QString, width);
        QFETCH(QString, height);
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        Store(store, {QStringLiteral("Settings/MainLeft=1500"), QStringLiteral("Settings/MainTop=750"),
                      QStringLiteral("Settings/MainWidth=9000"), QStringLiteral("Settings/MainHeight=7200")});
        AppSettings app;
        app.ZnURL = SessionSettings::ZnPageAddress();
        FakeSettingsView window;
        window.minimized = minimized;
        window.knowsPlace = knowsPlace;
        window.bounds = QRectF(-675, -6750, 2400, 450);
        window.fontSizeText = QStringLiteral("10");

        Save(store, app, window);

        const NextRun next(profile.SettingsFile());
        QCOMPARE(next.Read(Settings, QStringLiteral("MainLeft")), QStringLiteral("1500"));
        QCOMPARE(next.Read(Settings, QStringLiteral("MainTop")), QStringLiteral("750"));
        QCOMPARE(next.Read(Settings, QStringLiteral("MainWidth")), width);
        QCOMPARE(next.Read(Settings, QStringLiteral("MainHeight")), height);
        // Everything else is saved as usual.
        QCOMPARE(next.Read(Version, Version), ProgramVersion::Text());
        QCOMPARE(next.Read(User, QStringLiteral("UserDataFontSize")), QStringLiteral("10"));
        QCOMPARE(next.Read(User, QStringLiteral("ZnMSG")), QStringLiteral("False"));
    }

    void MinimisedFirstRunWritesNoGeometry()
    {
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        AppSettings app;
        FakeSettingsView window;
        window.minimized = true;
        window.fontSizeText = QStringLiteral("12");

        Save(store, app, window);

        const NextRun next(profile.SettingsFile());
        QCOMPARE(next.Read(Settings, QStringLiteral("MainWidth")), QStringLiteral("(absent)"));
        FakeSettingsView nextWindow;
        ScriptedPrompter prompter;
        AppSettings nextApp;
        SessionSettings::LoadSettings(SettingsStore(profile.SettingsFile()), nextApp, nextWindow, prompter);
        QCOMPARE(nextWindow.calls, (QStringList{QStringLiteral("left 0"), QStringLiteral("top 0"),
                                                QStringLiteral("width 7800"), QStringLiteral("height 6500")}));
    }

    // What one run saves, the next run loads, without the version notice.
    void SavedSettingsLoadAtTheNextStart()
    {
        TempProfile profile;
        {
            SettingsStore store(profile.SettingsFile());
            store.WriteSetting(Version, Version, QStringLiteral("1.0.0"));
            AppSettings app;
            app.UserDataFile = QStringLiteral("日記,2001.dat");
            app.ZnURL = SessionSettings::ZnPageAddress();
            app.ZnMSG = true;
            FakeSettingsView window;
            window.bounds = QRectF(300, 450, 10500, 8000);
            window.fontSizeText = QStringLiteral("18");
            Save(store, app, window);
        }
        const SettingsStore store(profile.SettingsFile());
        AppSettings app;
        FakeSettingsView window;
        ScriptedPrompter prompter;

        SessionSettings::LoadSettings(store, app, window, prompter);

        QVERIFY(prompter.shown.empty());
        QCOMPARE(window.calls, (QStringList{QStringLiteral("left 300"), QStringLiteral("top 450"),
                                            QStringLiteral("width 10500"), QStringLiteral("height 8000")}));
        QCOMPARE(app.UserDataFile, QStringLiteral("日記,2001.dat"));
        QCOMPARE(app.UserDataFontSize, QStringLiteral("18"));
        QCOMPARE(app.ZnMSG, true);
    }

    void TipsAtStartup_data()
    {
        QTest::addColumn<QString>("stored"); // a null text: nothing stored
        QTest::addColumn<bool>("shown");
        QTest::newRow("not stored") << QString() << true;
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("2") << QStringLiteral("2") << false;
        QTest::newRow("-1") << QStringLiteral("-1") << false;
        QTest::newRow("1.0") << QStringLiteral("1.0") << true;
        QTest::newRow("letters fall back to 1") << QStringLiteral("abc") << true;
        QTest::newRow("empty falls back to 1") << QStringLiteral("") << true;
        QTest::newRow("word True") << QStringLiteral("True") << true;
    }
    void TipsAtStartup()
    {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        if (!stored.isNull())
            store.WriteSetting(Options, QStringLiteral("Show Tips at Startup"), stored);
        QCOMPARE(SessionSettings::TipsAtStartup(store), shown);
    }

    void OwnerAndColours_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("userName");
        QTest::addColumn<QString>("userPWS");
        QTest::addColumn<int>("fontColor");
        QTest::addColumn<int>("ctrlColor");
        QTest::addColumn<QString>("versionPicture");
        const int windowText = -2147483640;
        const int windowBackground = -2147483643;
        QTest::newRow("empty store") << QStringList{} << QString() << QString() << windowText << windowBackground
                                     << QString();
        QTest::newRow("everything stored")
            << QStringList{u"User/UserName=山田太郎"_s, u"User/UserPWS= pass word "_s, u"Options/ActiveFontColor=255"_s,
                           u"Options/ActiveCtrlColor=16777215"_s, u"Options/VersionPicture=C:\\画像\\sora.jpg"_s}
            << QStringLiteral("山田太郎") << QStringLiteral(" pass word ") << 255 << 16777215
            << QStringLiteral("C:\\画像\\sora.jpg");
        QTest::newRow("system colours as written")
            << QStringList{u"Options/ActiveFontColor=-2147483643"_s, u"Options/ActiveCtrlColor=-2147483640"_s}
            << QString() << QString() << windowBackground << windowText << QString();
        QTest::newRow("colour names fall back")
            << QStringList{u"Options/ActiveFontColor=red"_s, u"Options/ActiveCtrlColor=white"_s} << QString()
            << QString() << windowText << windowBackground << QString();
        QTest::newRow("colours beyond 32 bits fall back")
            << QStringList{u"Options/ActiveFontColor=4294967296"_s, u"Options/ActiveCtrlColor=2147483648"_s}
            << QString() << QString() << windowText << windowBackground << QString();
        QTest::newRow("empty colours fall back")
            << QStringList{u"Options/ActiveFontColor="_s, u"Options/ActiveCtrlColor="_s} << QString() << QString()
            << windowText << windowBackground << QString();
    }
    void OwnerAndColours()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, userName);
        QFETCH(QString, userPWS);
        QFETCH(int, fontColor);
        QFETCH(int, ctrlColor);
        QFETCH(QString, versionPicture);
        TempProfile profile;
        SettingsStore store(profile.SettingsFile());
        Store(store, entries);
        AppSettings app;
        app.ActiveFontColor = 1;
        app.ActiveCtrlColor = 2;

        app.ReadOwnerAndColours(store);

        QCOMPARE(app.UserName, userName);
        QCOMPARE(app.UserPWS, userPWS);
        QCOMPARE(app.ActiveFontColor, fontColor);
        QCOMPARE(app.ActiveCtrlColor, ctrlColor);
        QCOMPARE(app.VersionPicture, versionPicture);
    }
};

SORAFUMI_TEST(SessionSettingsTest)
#include "SessionSettingsTest.moc"
