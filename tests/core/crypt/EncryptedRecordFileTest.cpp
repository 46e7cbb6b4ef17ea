#include "core/crypt/EncryptedRecordFile.h"
#include "StoreFixture.h"
#include "TestRegistry.h"
#include "core/crypt/PageCipher.h"
#include "core/crypt/PageOpener.h"
#include "core/crypt/RecoveryCode.h"
#include "core/platform/PageJournal.h"
#include "core/platform/RecordFileRewriter.h"

#include <QTest>
#include <cstring>
#include <memory>

using namespace StoreFixture;

namespace {

constexpr int Length = 10090;
const int Sealed = EncryptedRecordFile::SealedLength(Length);

QByteArray Page(char letter)
{
    return QByteArray(Length, letter);
}

qint64 At(int number)
{
    return EncryptedRecordFile::Offset(number, Length);
}

} // namespace

class EncryptedRecordFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        scratch_ = std::make_unique<ScratchFolder>();
        path_ = scratch_->FilePath(QStringLiteral("DIARY.sfk"));
        EncryptedRecordFile file;
        QVERIFY(!file.Create(path_, QStringLiteral("合言葉"), code_, Length));
        for (const char letter : QByteArray("ABC"))
            QVERIFY(!file.WriteRecord(file.RecordCount() + 1, Page(letter)));
        QVERIFY(!file.Flush());
    }
    void cleanup() { scratch_.reset(); }

    // The record's bytes as any reader of the format must make them.
    void RecordFormatKnownAnswer()
    {
        SecureBytes key(32);
        for (int i = 0; i < 32; ++i)
            key.Data()[i] = static_cast<unsigned char>(i);
        QByteArray fileId, nonce, plain;
        for (int i = 0; i < 16; ++i)
            fileId += char(0xA0 + i);
        for (int i = 0; i < 24; ++i)
            nonce += char(0x10 + i);
        for (int i = 0; i < Length; ++i)
            plain += char(i % 251);
        const QByteArray sealed = PageCipher::SealWithNonce(key, fileId, 7, plain, nonce);
        QCOMPARE(sealed.size(), 24 + Length + 16);
        QCOMPARE(sealed.left(24), nonce);
        QCOMPARE(sealed.mid(24, 16).toHex(), QByteArray("24fd01f5508d27d49e8b28c6f19d2d03"));
        QCOMPARE(sealed.right(16).toHex(), QByteArray("98098e9ecbcae64a46cf00af1fe05e64"));
        // Both ways of opening agree, and a record read under another number fails both.
        PageOpener opener(key, fileId);
        for (const qint32 number : {7, 8}) {
            QByteArray opened(Length, '?'), openedByRun(Length, '?');
            QCOMPARE(PageCipher::Open(key, fileId, number, sealed.constData(), Length, opened.data()), number == 7);
            QCOMPARE(opener.Open(number, sealed.constData(), Length, openedByRun.data()), number == 7);
            QVERIFY(opened == (number == 7 ? plain : QByteArray(Length, '\0')) && openedByRun == opened);
        }
    }

    void WrongPasswordOpensNothing()
    {
        EncryptedRecordFile file;
        QCOMPARE(file.Open(path_, QStringLiteral("合言葉?")).kind, CryptResult::WrongSecret);
        QVERIFY(!file.IsOpen());
        QVERIFY(!file.Open(path_, QStringLiteral("合言葉")));
        QCOMPARE(file.RecordCount(), 3);
    }

    // A changed byte, two records swapped: those pages and no others fail.
    void DamagedPagesAreNamed_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QList<qint32>>("damaged");
        QTest::newRow("one byte of page 2") << QStringLiteral("flip") << QList<qint32>{2};
        QTest::newRow("pages 1 and 3 swapped") << QStringLiteral("swap") << QList<qint32>{1, 3};
    }
    void DamagedPagesAreNamed()
    {
        QFETCH(QString, damage);
        QFETCH(QList<qint32>, damaged);
        QByteArray bytes = ReadBytes(path_);
        if (damage == QStringLiteral("flip")) {
            bytes[At(2) + 500] = char(bytes[At(2) + 500] ^ 1);
        } else {
            const QByteArray first = bytes.mid(At(1), Sealed);
            bytes.replace(At(1), Sealed, bytes.mid(At(3), Sealed));
            bytes.replace(At(3), Sealed, first);
        }
        QVERIFY(WriteBytes(path_, bytes));
        EncryptedRecordFile file;
        QVERIFY(!file.Open(path_, QStringLiteral("合言葉")));
        QByteArray pages;
        QVERIFY(!file.ReadRecords(1, 3, pages));
        QCOMPARE(file.DamagedRecords(), damaged);
        for (int n = 1; n <= 3; ++n) {
            QByteArray page;
            QCOMPARE(bool(file.ReadRecord(n, page)), damaged.contains(n));
            QVERIFY(pages.mid((n - 1) * Length, Length) == (damaged.contains(n) ? Page('\0') : Page("ABC"[n - 1])));
        }
    }

    void CutFile_data()
    {
        QTest::addColumn<qint64>("cut");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("records");
        QTest::newRow("inside the header") << qint64(100) << int(CryptResult::DamagedHeader) << 0;
        QTest::newRow("inside page 3") << At(3) + 7 << int(CryptResult::Done) << 2;
    }
    void CutFile()
    {
        QFETCH(qint64, cut);
        QFETCH(int, kind);
        QFETCH(int, records);
        QVERIFY(QFile::resize(path_, cut));
        EncryptedRecordFile file;
        QCOMPARE(int(file.Open(path_, QStringLiteral("合言葉")).kind), kind);
        QCOMPARE(file.RecordCount(), records);
        QCOMPARE(file.HasPartialRecord(), records > 0);
        QByteArray pages;
        if (records > 0)
            QVERIFY(!file.ReadRecords(1, 2, pages) && pages == Page('A') + Page('B'));
    }

    // A page dropped, one appended and one journalled: every page is where
    // it belongs, and no byte of any page reaches the disk as plain text.
    void RewriteAndJournalKeepPagesSealed()
    {
        EncryptedRecordFile file;
        QVERIFY(!file.Open(path_, QStringLiteral("合言葉")));
        QVERIFY(!RecordFileRewriter::Rewrite(file, 3, 1, Page('D')));
        QString journal;
        QVERIFY(!PageJournal::Begin(file, 2, journal));
        QVERIFY(!file.WriteRecord(2, Page('E')));
        const QByteArray journalled = ReadBytes(journal);
        QVERIFY(!PageJournal::Recover(file));
        QByteArray pages;
        QVERIFY(!file.ReadRecords(1, file.RecordCount(), pages));
        QVERIFY(pages == Page('B') + Page('C') + Page('D'));
        for (const QByteArray& bytes : {ReadBytes(path_), journalled})
            for (const char letter : QByteArray("BCDE"))
                QVERIFY(!bytes.contains(QByteArray(64, letter)));
    }

    void PasswordChangeOpensWithTheNewOnly()
    {
        EncryptedRecordFile file;
        QVERIFY(!file.Open(path_, QStringLiteral("合言葉")));
        QVERIFY(!file.ChangePassword(QStringLiteral("新しい")));
        QByteArray page;
        QVERIFY(!file.ReadRecord(3, page) && page == Page('C'));
        file.Close();
        QCOMPARE(file.Open(path_, QStringLiteral("合言葉")).kind, CryptResult::WrongSecret);
        QVERIFY(!file.Open(path_, QStringLiteral("新しい")));
        QCOMPARE(QDir(scratch_->Path()).entryList(QDir::Files), QStringList{QStringLiteral("DIARY.sfk")});
    }

    void FailedPasswordChangeKeepsTheOld()
    {
        if (!scratch_->Seal(scratch_->Path()))
            QSKIP("the file system cannot make a folder immutable (root) or writable only by its owner");
        const QByteArray before = ReadBytes(path_);
        EncryptedRecordFile file;
        QVERIFY(!file.Open(path_, QStringLiteral("合言葉")));
        QCOMPARE(file.ChangePassword(QStringLiteral("新しい")).kind, CryptResult::FileFailed);
        QVERIFY(ReadBytes(path_) == before);
        file.Close();
        QVERIFY(!file.Open(path_, QStringLiteral("合言葉")));
    }

    // The code as a user copies it from paper: small letters, blanks, full width.
    void RecoveryCodeSetsANewPassword()
    {
        QCOMPARE(code_.size(), RecoveryCode::Length);
        const QString typed = RecoveryCode::Grouped(code_).toLower().replace(u'-', u' ').replace(u'a', u'ａ');
        EncryptedRecordFile file;
        QCOMPARE(file.OpenWithRecoveryCode(path_, QStringLiteral("ABCD"), QStringLiteral("x")).kind,
                 CryptResult::WrongSecret);
        QVERIFY(!file.OpenWithRecoveryCode(path_, typed, QStringLiteral("思い出した")));
        file.Close();
        QVERIFY(!file.Open(path_, QStringLiteral("思い出した")));
    }

private:
    std::unique_ptr<ScratchFolder> scratch_;
    QString path_;
    QString code_;
};

SORAFUMI_TEST(EncryptedRecordFileTest)
#include "EncryptedRecordFileTest.moc"
