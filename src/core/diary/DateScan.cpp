#include "core/diary/DateScan.h"

#include "core/diary/DateField.h"
#include "core/diary/DiaryPage.h"
#include "core/platform/RecordFile.h"

FileError DateScan::Each(const RecordFile& file, qint32 pageCount,
                         const std::function<bool(qint32 page, QDate date)>& visit)
{
    const DiaryPage::Layout& field = DiaryPage::Fields[DiaryPage::PageDate];
    QByteArray bytes;
    for (qint32 page = 1; page <= pageCount; ++page) {
        if (const FileError error = file.ReadPart(page, field.offset, field.length, bytes))
            return error;
        if (!visit(page, DateField::FromBytes(bytes.constData(), int(bytes.size()))))
            break;
    }
    return {};
}
