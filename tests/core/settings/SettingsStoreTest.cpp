#include "core/settings/SettingsStore.h"
#include "TempProfile.h"
#include "TestRegistry.h"
#include "WriteProtection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

// The access bits of a file as "600" and the like, or "missing".
QString Mode(const QString& fileName)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return QStringLiteral("missing");
    return QString::number(info.st_mode & 07777, 8);
}

// Reads one value as the next run of the program would: from a copy of the
// file, so that nothing this process still holds in memory can stand in for
// what reached the disk.
QString ReadFromDisk(const QString& fileName, const QString& section, const QString& key)
{
    static int copies = 0;
    const QString copy = fileName + QStringLiteral(".copy%1.ini").arg(++copies);
    if (!QFile::copy(fileName, copy))
        return QStringLiteral("(no file)");
    const QString value = SettingsStore(copy).ReadSetting(section, key, QStringLiteral("(absent)"));
    QFile::remove(copy);
    return value;
}

void WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class SettingsStoreTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The user's store is found through XDG_CONFIG_HOME once per process, so
    // it is pointed at the temp profile before anything else here runs.
    void initTestCase()
    {
        userProfile_ = std::make_unique<TempProfile>();
        QVERIFY(userProfile_->IsValid());
        hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(userProfile_->ConfigHome()));
    }
    void cleanupTestCase()
    {
        if (hadConfigHome_)
            qputenv("XDG_CONFIG_HOME", savedConfigHome_);
        else
            qunsetenv("XDG_CONFIG_HOME");
        userProfile_.reset();
    }

    void UserStoreLivesUnderConfigHome()
    {
        SettingsStore store;
        QVERIFY2(
            store.FileName() == userProfile_->SettingsFile(),
            qPrintable(
                QStringLiteral("the store is at %1; was a QSettings made before this test?").arg(store.FileName())));
        QCOMPARE(Mode(userProfile_->SettingsFile()), QStringLiteral("missing"));

        store.WriteSetting(QStringLiteral("User"), QStringLiteral("UserName"), QStringLiteral("山田太郎"));
        QVERIFY(store.Healthy());
        QCOMPARE(Mode(userProfile_->SettingsFile()), QStringLiteral("600"));
        QCOMPARE(ReadFromDisk(userProfile_->SettingsFile(), QStringLiteral("User"), QStringLiteral("UserName")),
                 QStringLiteral("山田太郎"));
        QCOMPARE(SettingsStore().ReadSetting(QStringLiteral("User"), QStringLiteral("UserName")),
                 QStringLiteral("山田太郎"));
    }

    // The file holds the owner's password: nobody else may read it, however
    // it came to be.
    void FileReadableByOwnerOnly_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("first write makes the folder and the file") << QStringLiteral("nothing");
        QTest::newRow("folder already there") << QStringLiteral("folder");
        QTest::newRow("file left readable by everyone") << QStringLiteral("file 644");
        QTest::newRow("file left writable by everyone") << QStringLiteral("file 666");
    }
    void FileReadableByOwnerOnly()
    {
        QFETCH(QString, before);
        TempProfile profile;
        const QString fileName = profile.SettingsFile();
        if (before == QStringLiteral("folder"))
            QVERIFY(QDir().mkpath(QFileInfo(fileName).absolutePath()));
        if (before.startsWith(QStringLiteral("file"))) {
            WriteFile(fileName, "[User]\nUserName=山田\n");
            QVERIFY(::chmod(QFile::encodeName(fileName).constData(), before.mid(5).toUInt(nullptr, 8)) == 0);
        }

        SettingsStore store(fileName);
        store.WriteSetting(QStringLiteral("User"), QStringLiteral("UserPWS"), QStringLiteral("himitsu"));
        QVERIFY(store.Healthy());
        QCOMPARE(Mode(fileName), QStringLiteral("600"));
        QCOMPARE(ReadFromDisk(fileName, QStringLiteral("User"), QStringLiteral("UserPWS")), QStringLiteral("himitsu"));

        store.WriteSetting(QStringLiteral("User"), QStringLiteral("UserPWS"), QStringLiteral("atarashii"));
        QCOMPARE(Mode(fileName), QStringLiteral("600"));
    }

    // A store the user cannot write: the value holds for this run, the file
    // keeps its mode and contents, and the next write after the cause is gone
    // counts as stored again.
    void UnwritableStore_data()
    {
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("lockFolder");
        QTest::newRow("read-only file") << true << false;
        QTest::newRow("read-only folder") << true << true;
        QTest::newRow("read-only folder, no file yet") << false << true;
    }
    void UnwritableStore()
    {
        QFETCH(bool, file);
        QFETCH(bool, lockFolder);
        TempProfile profile;
        const QString fileName = profile.SettingsFile();
        const QString folder = QFileInfo(fileName).absolutePath();
        QVERIFY(QDir().mkpath(folder));
        if (file) {
            WriteFile(fileName, "[User]\nUserPWS=old\n");
            QVERIFY(::chmod(QFile::encodeName(fileName).constData(), 0640) == 0);
        }
        auto protection = std::make_unique<WriteProtection>(lockFolder ? folder : fileName);
        if (!protection->IsOn())
            QSKIP(qPrintable(WriteProtection::WhyNot()));
        const QString mode = Mode(fileName);
        SettingsStore store(fileName);

        QVERIFY(!store.WriteSetting(QStringLiteral("User"), QStringLiteral("UserPWS"), QStringLiteral("new")));
        QVERIFY(!store.Healthy());
        QCOMPARE(store.ReadSetting(QStringLiteral("User"), QStringLiteral("UserPWS")), QStringLiteral("new"));
        QCOMPARE(Mode(fileName), mode);
        QFile onDisk(fileName);
        QCOMPARE(onDisk.open(QIODevice::ReadOnly) ? onDisk.readAll() : QByteArray("(no file)"),
                 QByteArray(file ? "[User]\nUserPWS=old\n" : "(no file)"));

        protection.reset();
        QVERIFY(store.WriteSetting(QStringLiteral("User"), QStringLiteral("LoginOnOff"), QStringLiteral("0")));
        QVERIFY(store.Healthy());
        QCOMPARE(ReadFromDisk(fileName, QStringLiteral("User"), QStringLiteral("UserPWS")), QStringLiteral("new"));
    }

    void AbsentKeyGivesDefaultAsText_data()
    {
        QTest::addColumn<QVariant>("fallback");
        QTest::addColumn<QString>("text");
        QTest::newRow("number") << QVariant(12) << QStringLiteral("12");
        QTest::newRow("window width") << QVariant(7800) << QStringLiteral("7800");
        QTest::newRow("switch") << QVariant(false) << QStringLiteral("false");
        QTest::newRow("system colour") << QVariant(qint32(0x80000008u)) << QStringLiteral("-2147483640");
        QTest::newRow("text") << QVariant(QStringLiteral("BackMap.gif")) << QStringLiteral("BackMap.gif");
        QTest::newRow("empty text") << QVariant(QString()) << QString();
    }
    void AbsentKeyGivesDefaultAsText()
    {
        QFETCH(QVariant, fallback);
        QFETCH(QString, text);
        TempProfile profile;
        // The section exists, the key does not.
        WriteFile(profile.SettingsFile(), "[User]\nUserName=山田\n");
        const SettingsStore store(profile.SettingsFile());
        QCOMPARE(store.ReadSetting(QStringLiteral("User"), QStringLiteral("Missing"), fallback), text);
        QCOMPARE(store.ReadSetting(QStringLiteral("Nowhere"), QStringLiteral("UserName"), fallback), text);
    }

    void NoFileGivesDefaults()
    {
        TempProfile profile;
        const SettingsStore store(profile.SettingsFile());
        QCOMPARE(store.ReadSetting(QStringLiteral("User"), QStringLiteral("UserName")), QString());
        QCOMPARE(store.ReadSetting(QStringLiteral("User"), QStringLiteral("LoginOnOff"), 1), QStringLiteral("1"));
        // Reading never makes the file.
        QCOMPARE(Mode(profile.SettingsFile()), QStringLiteral("missing"));
    }

    void ValueSurvivesTheNextRun_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("Japanese owner name")
            << QStringLiteral("User") << QStringLiteral("UserName") << QStringLiteral("山田 太郎（ﾔﾏﾀﾞ）");
        QTest::newRow("password with spaces around")
            << QStringLiteral("User") << QStringLiteral("UserPWS") << QStringLiteral("  pass word  ");
        QTest::newRow("key with spaces") << QStringLiteral("Options") << QStringLiteral("Show Tips at Startup")
                                         << QStringLiteral("0");
        QTest::newRow("Windows path with backslashes") << QStringLiteral("User") << QStringLiteral("UserDataFile")
                                                       << QStringLiteral("C:\\日記\\2001年\\nikki.dat");
        QTest::newRow("file name with a comma")
            << QStringLiteral("User") << QStringLiteral("UserDataFile") << QStringLiteral("a,b.dat");
        QTest::newRow("INI punctuation") << QStringLiteral("Options") << QStringLiteral("VersionPicture")
                                         << QStringLiteral("[x]=\"y\";#z.gif");
        QTest::newRow("leading at sign") << QStringLiteral("User") << QStringLiteral("UserPWS")
                                         << QStringLiteral("@ByteArray(x)");
        QTest::newRow("empty text is kept, not the default")
            << QStringLiteral("User") << QStringLiteral("UserDataFile") << QString();
        QTest::newRow("negative colour") << QStringLiteral("Options") << QStringLiteral("ActiveFontColor")
                                         << QStringLiteral("-2147483640");
        QTest::newRow("web address") << QStringLiteral("User") << QStringLiteral("ZnURL")
                                     << QStringLiteral("https://example.jp/zn/?a=1&b=2#top");
    }
    void ValueSurvivesTheNextRun()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TempProfile profile;
        {
            SettingsStore store(profile.SettingsFile());
            store.WriteSetting(section, key, value);
            QVERIFY(store.Healthy());
        }
        QCOMPARE(ReadFromDisk(profile.SettingsFile(), section, key), value);
        QCOMPARE(SettingsStore(profile.SettingsFile()).ReadSetting(section, key, QStringLiteral("(absent)")), value);
    }

    void WritingOneKeyKeepsTheOthers()
    {
        TempProfile profile;
        const QString fileName = profile.SettingsFile();
        SettingsStore store(fileName);
        store.WriteSetting(QStringLiteral("User"), QStringLiteral("UserName"), QStringLiteral("山田"));
        store.WriteSetting(QStringLiteral("User"), QStringLiteral("UserPWS"), QStringLiteral("one"));
        store.WriteSetting(QStringLiteral("Options"), QStringLiteral("UserPWS"), QStringLiteral("other section"));
        store.WriteSetting(QStringLiteral("User"), QStringLiteral("UserPWS"), QStringLiteral("two"));

        QCOMPARE(ReadFromDisk(fileName, QStringLiteral("User"), QStringLiteral("UserName")), QStringLiteral("山田"));
        QCOMPARE(ReadFromDisk(fileName, QStringLiteral("User"), QStringLiteral("UserPWS")), QStringLiteral("two"));
        QCOMPARE(ReadFromDisk(fileName, QStringLiteral("Options"), QStringLiteral("UserPWS")),
                 QStringLiteral("other section"));
    }

    // Values typed into the file by hand, without any quoting or escaping.
    void HandEditedFile_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("unquoted comma") << QByteArray("[User]\nUserDataFile=a,b.dat\n") << QStringLiteral("User")
                                        << QStringLiteral("UserDataFile") << QStringLiteral("a,b.dat");
        QTest::newRow("Japanese in UTF-8") << QByteArray("[User]\nUserName=山田太郎\n") << QStringLiteral("User")
                                           << QStringLiteral("UserName") << QStringLiteral("山田太郎");
        QTest::newRow("spaces in the key")
            << QByteArray("[Options]\nShow Tips at Startup=0\n") << QStringLiteral("Options")
            << QStringLiteral("Show Tips at Startup") << QStringLiteral("0");
        QTest::newRow("spaces around the equals sign")
            << QByteArray("[Settings]\nMainWidth = 9000 \n") << QStringLiteral("Settings")
            << QStringLiteral("MainWidth") << QStringLiteral("9000");
        QTest::newRow("CR LF line ends") << QByteArray("[Version]\r\nVersion=3.3.410\r\n") << QStringLiteral("Version")
                                         << QStringLiteral("Version") << QStringLiteral("3.3.410");
        QTest::newRow("empty value") << QByteArray("[User]\nUserDataFile=\n") << QStringLiteral("User")
                                     << QStringLiteral("UserDataFile") << QString();
    }
    void HandEditedFile()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TempProfile profile;
        WriteFile(profile.SettingsFile(), ini);
        QCOMPARE(SettingsStore(profile.SettingsFile()).ReadSetting(section, key, QStringLiteral("(absent)")), value);
    }

private:
    std::unique_ptr<TempProfile> userProfile_;
    bool hadConfigHome_ = false;
    QByteArray savedConfigHome_;
};

SORAFUMI_TEST(SettingsStoreTest)
#include "SettingsStoreTest.moc"
