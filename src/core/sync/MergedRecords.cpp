#include "core/sync/MergedRecords.h"

#include "core/diary/DiaryPage.h"
#include "core/platform/RecordFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype RecordLength = DiaryPage::RecordLength;
constexpr qint32 PagesPerRead = PageDigestReader::PagesPerRead;

// How many pages from `start` on follow each other in one version.
size_t RunLength(const std::vector<PageSource>& pages, size_t start)
{
    size_t end = start + 1;
    while (end < pages.size() && pages[end].side == pages[start].side && pages[end].page == pages[end - 1].page + 1)
        ++end;
    return end - start;
}

} // namespace

MergedRecords::Outcome MergedRecords::Read(const std::vector<PageSource>& pages, const Version& ours,
                                           const Version& theirs, QByteArray& records, FileError& error)
{
    records.resize(qsizetype(pages.size()) * RecordLength);
    for (size_t start = 0; start < pages.size();) {
        const size_t count = RunLength(pages, start);
        const Version& version = pages[start].side == PageSource::Ours ? ours : theirs;
        char* into = records.data() + qsizetype(start) * RecordLength;
        const Outcome outcome = ReadRun(version, pages[start].page, qint32(count), into, error);
        if (outcome != Outcome::Read) {
            records.clear();
            return outcome;
        }
        start += count;
    }
    return Outcome::Read;
}

MergedRecords::Outcome MergedRecords::ReadRun(const Version& version, qint32 first, qint32 count, char* into,
                                              FileError& error)
{
    const qint32 last = first + count - 1;
    if (first < 1 || size_t(last) > version.digests.size() || last > version.file.RecordCount())
        return Outcome::Changed;
    QByteArray stretch;
    for (qint32 start = first; start <= last; start += PagesPerRead) {
        const qint32 pages = std::min(PagesPerRead, last - start + 1);
        if ((error = version.file.ReadRecords(start, pages, stretch)))
            return Outcome::Failed;
        for (qint32 page = 0; page < pages; ++page) {
            const char* record = stretch.constData() + qsizetype(page) * RecordLength;
            if (!(PageDigestReader::Of(record) == version.digests[size_t(start + page - 1)]))
                return Outcome::Changed;
        }
        std::memcpy(into, stretch.constData(), size_t(stretch.size()));
        into += stretch.size();
    }
    return Outcome::Read;
}
