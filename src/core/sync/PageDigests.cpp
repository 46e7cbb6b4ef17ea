#include "core/sync/PageDigests.h"

#include "core/diary/DiaryPage.h"
#include "core/platform/RecordFile.h"
#include "core/sync/PageHash.h"

#include <algorithm>
#include <cstring>

PageDigest PageDigestReader::Of(const char* record)
{
    PageDigest digest;
    std::memcpy(digest.date.data(), record + DiaryPage::Fields[DiaryPage::PageDate].offset, PageDigest::DateLength);
    digest.hash = PageHash::Of(record, DiaryPage::RecordLength);
    return digest;
}

FileError PageDigestReader::Read(const RecordFile& file, PageDigests& digests)
{
    const qint32 count = file.RecordCount();
    digests.clear();
    digests.reserve(size_t(count));
    QByteArray stretch;
    for (qint32 first = 1; first <= count; first += PagesPerRead) {
        const qint32 pages = std::min(PagesPerRead, count - first + 1);
        if (const FileError error = file.ReadRecords(first, pages, stretch))
            return error;
        for (qint32 page = 0; page < pages; ++page)
            digests.push_back(Of(stretch.constData() + qsizetype(page) * DiaryPage::RecordLength));
    }
    return {};
}
