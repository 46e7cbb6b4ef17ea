#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <memory>

// How a record file keeps records that are not stored as they are: a header
// of the file's own before the first record, and each record in a longer,
// sealed form bound to its number. A RecordFile given a seal reads and writes
// plain records through it, so that whoever reads the records needs to know
// nothing of it.
class RecordSeal
{
public:
    // Opens stored forms one after another, on one thread.
    class Opener
    {
    public:
        virtual ~Opener() = default;
        // As RecordSeal::Open.
        virtual bool Open(qint32 number, const char* stored, int recordLength, char* record) = 0;
    };

    virtual ~RecordSeal() = default;

    virtual qint64 HeaderLength() const = 0;
    virtual int StoredLength(int recordLength) const = 0;
    // Whether a file with this header holds records this seal opens.
    virtual bool Fits(const QByteArray& header) const = 0;
    // The stored form of record `number`.
    virtual QByteArray Seal(qint32 number, const QByteArray& record) const = 0;
    // The record of a stored form into `record` (recordLength bytes); false
    // when the stored form is not one this seal made for that number.
    virtual bool Open(qint32 number, const char* stored, int recordLength, char* record) const = 0;
    // An opener for one thread's run of records: it may keep what makes the
    // next record quicker to open, and wipes it when it goes.
    virtual std::unique_ptr<Opener> NewOpener() const = 0;
};
