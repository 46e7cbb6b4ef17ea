#include "core/crypt/DiaryEncryption.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/crypt/EncryptedRecordFile.h"
#include "core/platform/RecordFile.h"

#include <QTest>

using namespace StoreFixture;

namespace {

constexpr int Length = 10090;

QByteArray Pages()
{
    QByteArray bytes;
    for (const QByteArray& text : {QByteArrayLiteral("今日は晴れ"), QByteArrayLiteral("secret diary text")})
        bytes += text.leftJustified(Length, ' ');
    return bytes;
}

} // namespace

class DiaryEncryptionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Locked, no page text is left readable in the new file; unlocked again,
    // the plain file is the same byte for byte.
    void EncryptsAndDecryptsEveryPage()
    {
        ScratchFolder scratch;
        const QString plainPath = scratch.FilePath(QStringLiteral("DIARY.DAT"));
        QVERIFY(WriteBytes(plainPath, Pages()));
        RecordFile plain;
        QVERIFY(!plain.Open(plainPath, Length));
        const QString encryptedPath = DiaryEncryption::EncryptedName(plainPath);
        QCOMPARE(encryptedPath, scratch.FilePath(QStringLiteral("DIARY.sfk")));
        QString code;
        QVERIFY(!DiaryEncryption::Encrypt(plain, encryptedPath, QStringLiteral("pw"), code));
        QVERIFY(!ReadBytes(encryptedPath).contains("secret diary"));
        QCOMPARE(DiaryEncryption::Encrypt(plain, encryptedPath, QStringLiteral("pw"), code).file.systemError, EEXIST);

        plain.Close();
        QVERIFY(QFile::remove(plainPath));
        EncryptedRecordFile encrypted;
        QVERIFY(!encrypted.Open(encryptedPath, QStringLiteral("pw")));
        QCOMPARE(encrypted.RecordCount(), 2);
        QVERIFY(!DiaryEncryption::Decrypt(encrypted, DiaryEncryption::PlainName(encryptedPath)));
        QVERIFY(ReadBytes(plainPath) == Pages());
        QCOMPARE(QDir(scratch.Path()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("DIARY.DAT"), QStringLiteral("DIARY.sfk")}));
    }
};

SORAFUMI_TEST(DiaryEncryptionTest)
#include "DiaryEncryptionTest.moc"
