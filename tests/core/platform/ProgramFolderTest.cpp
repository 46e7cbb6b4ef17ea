#include "core/platform/ProgramFolder.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ProgramFolderTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { previous_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(previous_); }

    void WritableProgramFolderHoldsTheUsersFiles()
    {
        QTemporaryDir program;
        const ProgramFolder folder(program.path() + u'/');
        QCOMPARE(folder.Path(), program.path());
        QCOMPARE(folder.UserFolder(), program.path());
        QVERIFY(folder.MakeCurrent());
        QCOMPARE(QDir::currentPath(), QDir(program.path()).canonicalPath());
    }

    // An installed program's folder is not the user's: their files go to a
    // folder of their own, made on demand, readable by them only.
    void UsersFolderMadeOnDemand()
    {
        QTemporaryDir program;
        QTemporaryDir home;
        const QString users = home.path() + QStringLiteral("/share/日記帳Sorafumi");
        const ProgramFolder folder(program.path(), users);
        QVERIFY(folder.MakeCurrent());
        QCOMPARE(QDir::currentPath(), users);
        QCOMPARE(QFile::permissions(users) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
    }

    // Installed, the program keeps the user's files apart even where the user
    // could write to its folder.
    void InstalledProgramKeepsTheUsersFilesApart()
    {
        QTemporaryDir prefix;
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
        QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("lib/sorafumi"))));
        const ProgramFolder folder(prefix.filePath(QStringLiteral("lib/sorafumi")));
        QCOMPARE(folder.UserFolder(), home.path() + QStringLiteral("/日記帳Sorafumi"));
    }

    // Installed, the pages and pictures lie apart from the program, in
    // …/share/sorafumi; a tool the program starts still lies beside it.
    void InstalledProgramReadsItsDataFromShare()
    {
        const ProgramFolder folder(QStringLiteral("/usr/lib/sorafumi"), QStringLiteral("/home/u"));
        QCOMPARE(folder.File(QStringLiteral("index.htm")), QStringLiteral("/usr/share/sorafumi/index.htm"));
        QCOMPARE(folder.ProgramFile(QStringLiteral("tool")), QStringLiteral("/usr/lib/sorafumi/tool"));
    }

    // Files the program reads are found beside it unless the user's folder
    // holds one of that name.
    void FilesBesideTheProgram()
    {
        QTemporaryDir program;
        QTemporaryDir users;
        QFile(program.filePath(QStringLiteral("BackMap.gif"))).open(QIODevice::WriteOnly);
        const ProgramFolder folder(program.path(), users.path());
        QVERIFY(folder.MakeCurrent());
        QCOMPARE(folder.Resolve(QStringLiteral("BackMap.gif")), program.filePath(QStringLiteral("BackMap.gif")));
        QFile(users.filePath(QStringLiteral("mine.gif"))).open(QIODevice::WriteOnly);
        QCOMPARE(folder.Resolve(QStringLiteral("mine.gif")), QStringLiteral("mine.gif"));
        QCOMPARE(folder.Resolve(QStringLiteral("/pictures/sky.gif")), QStringLiteral("/pictures/sky.gif"));
        QCOMPARE(folder.File(QStringLiteral("TIPOFDAY.TXT")), program.filePath(QStringLiteral("TIPOFDAY.TXT")));
    }

private:
    QString previous_;
};

SORAFUMI_TEST(ProgramFolderTest)
#include "ProgramFolderTest.moc"
