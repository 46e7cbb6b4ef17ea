#include "core/crypt/PageSeal.h"

#include "core/crypt/CryptHeader.h"
#include "core/crypt/PageCipher.h"
#include "core/crypt/PageOpener.h"

PageSeal::PageSeal(QByteArray fileId, int recordLength, SecureBytes key)
    : fileId_(std::move(fileId)), recordLength_(recordLength), key_(std::move(key))
{
}

qint64 PageSeal::HeaderLength() const
{
    return CryptHeader::HeaderLength;
}

int PageSeal::StoredLength(int recordLength) const
{
    return PageCipher::SealedLength(recordLength);
}

bool PageSeal::Fits(const QByteArray& header) const
{
    CryptHeader parsed;
    return CryptHeader::Parse(header, parsed) == CryptHeader::Reading::Read && parsed.fileId == fileId_ &&
           parsed.plainRecordLength == recordLength_;
}

QByteArray PageSeal::Seal(qint32 number, const QByteArray& record) const
{
    return PageCipher::Seal(key_, fileId_, number, record);
}

bool PageSeal::Open(qint32 number, const char* stored, int recordLength, char* record) const
{
    return PageCipher::Open(key_, fileId_, number, stored, recordLength, record);
}

std::unique_ptr<RecordSeal::Opener> PageSeal::NewOpener() const
{
    return std::make_unique<PageOpener>(key_, fileId_);
}
