#include "PageRecords.h"

#include "platform/RecordFile.h"

FileError PageRecords::ReadRecord(const RecordFile& file, qint32 page, DiaryPage& record)
{
    QByteArray bytes;
    if (const FileError error = file.ReadRecord(page, bytes))
        return error;
    record = DiaryPage::FromBytes(bytes);
    return {};
}

FileError PageRecords::WriteRecord(RecordFile& file, qint32 page, const DiaryPage& record)
{
    if (const FileError error = file.WriteRecord(page, record.ToBytes()))
        return error;
    return file.Flush();
}
