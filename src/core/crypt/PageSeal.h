#pragma once

#include "core/crypt/SecureBytes.h"
#include "core/platform/RecordSeal.h"

// The pages of one encrypted diary as its RecordFile keeps them: after the
// CryptHeader, each page sealed by PageCipher under the diary's data key,
// bound to the file id and the page's number. Every version and copy of the
// diary (a backup, a version a sync tool delivered) shares the file id and
// the key, so the one seal opens them all, and no other file.
class PageSeal : public RecordSeal
{
public:
    PageSeal(QByteArray fileId, int recordLength, SecureBytes key);

    const QByteArray& FileId() const { return fileId_; }
    const SecureBytes& Key() const { return key_; }
    int RecordLength() const { return recordLength_; }

    qint64 HeaderLength() const override;
    int StoredLength(int recordLength) const override;
    bool Fits(const QByteArray& header) const override;
    QByteArray Seal(qint32 number, const QByteArray& record) const override;
    bool Open(qint32 number, const char* stored, int recordLength, char* record) const override;
    std::unique_ptr<Opener> NewOpener() const override;

private:
    QByteArray fileId_;
    int recordLength_;
    SecureBytes key_;
};
