#include "core/sync/VersionMerge.h"

#include "core/diary/DiaryPage.h"
#include "core/platform/RecordFile.h"
#include "core/sync/DatedPages.h"
#include "core/sync/MergeChooser.h"
#include "core/sync/MergedRecords.h"
#include "core/sync/PageMerge.h"

#include <algorithm>
#include <cstring>

namespace {

std::optional<DiaryPage> PageOf(const VersionMerge::Ours& ours, qint32 page)
{
    if (page == 0)
        return std::nullopt;
    if (page == ours.editedPage)
        return DiaryPage::FromBytes(ours.editedRecord);
    QByteArray record;
    if (ours.file.ReadRecord(page, record))
        return std::nullopt;
    return DiaryPage::FromBytes(record);
}

std::optional<DiaryPage> PageOf(const RecordFile& file, qint32 page)
{
    QByteArray record;
    if (page == 0 || file.ReadRecord(page, record))
        return std::nullopt;
    return DiaryPage::FromBytes(record);
}

MergeQuestion QuestionFor(const MergeResult& result, const VersionMerge::Ours& ours, const VersionMerge::Theirs& theirs,
                          const PageDigests& ourDigests, const PageDigests& theirDigests)
{
    MergeQuestion question;
    question.theirsName = theirs.name;
    const DatedPages ourPlaces(ourDigests);
    const DatedPages theirPlaces(theirDigests);
    for (const PageSource& source : result.Resolve()) {
        if (source.side == PageSource::Theirs) {
            const std::optional<qint32> our = ourPlaces.Find(theirPlaces.KeyAt(source.page - 1));
            question.pagesTaken += !our || ourDigests[size_t(*our)] != theirDigests[size_t(source.page - 1)];
        } else {
            const std::optional<qint32> their = theirPlaces.Find(ourPlaces.KeyAt(source.page - 1));
            question.pagesKept += !their || ourDigests[size_t(source.page - 1)] != theirDigests[size_t(*their)];
        }
    }
    for (const MergeConflict& conflict : result.Conflicts())
        question.conflicts.push_back({PageOf(ours, conflict.oursPage), PageOf(theirs.file, conflict.theirsPage)});
    return question;
}

// The merged diary holds exactly their pages, perhaps in another order: their
// file then stands as it is, in its own order. Were each side to write its
// own order back, two computers would send the diary to and fro for ever.
bool IsTheirsAsIs(const std::vector<PageSource>& pages, const PageDigests& ourDigests, const PageDigests& theirDigests)
{
    if (pages.size() != theirDigests.size())
        return false;
    std::vector<quint64> merged, their;
    for (const PageSource& source : pages)
        merged.push_back((source.side == PageSource::Ours ? ourDigests : theirDigests)[size_t(source.page - 1)].hash);
    for (const PageDigest& digest : theirDigests)
        their.push_back(digest.hash);
    std::sort(merged.begin(), merged.end());
    std::sort(their.begin(), their.end());
    return merged == their;
}

qint32 TheirPlaceOf(qint32 ourPage, const PageDigests& ourDigests, const PageDigests& theirDigests)
{
    if (ourPage < 1 || ourPage > qint32(ourDigests.size()))
        return 0;
    const std::optional<qint32> their = DatedPages(theirDigests).Find(DatedPages(ourDigests).KeyAt(ourPage - 1));
    return their ? *their + 1 : 0;
}

} // namespace

VersionMerge::Outcome VersionMerge::Run(const Ours& ours, const Theirs& theirs, const std::optional<PageDigests>& base,
                                        MergeChooser* chooser, qint32 followed, Merged& merged, FileError& error)
{
    PageDigests fileDigests;
    PageDigests theirDigests;
    if ((error = PageDigestReader::Read(ours.file, fileDigests)) ||
        (error = PageDigestReader::Read(theirs.file, theirDigests)))
        return Outcome::Failed;
    // The edits count as our version of that page; the file's own bytes are
    // still what the read below checks them against.
    PageDigests ourDigests = fileDigests;
    const bool edited = ours.editedPage >= 1 && ours.editedPage <= qint32(ourDigests.size());
    if (edited)
        ourDigests[size_t(ours.editedPage - 1)] = PageDigestReader::Of(ours.editedRecord.constData());
    const MergeResult result = PageMerge::Merge(ourDigests, theirDigests, base ? &*base : nullptr, theirs.olderCopy);
    std::vector<Resolution> resolutions;
    if (!result.Conflicts().empty()) {
        const std::optional<std::vector<Resolution>> chosen =
            chooser ? chooser->Choose(QuestionFor(result, ours, theirs, ourDigests, theirDigests)) : std::nullopt;
        if (!chosen)
            return Outcome::PutOff;
        resolutions = *chosen;
    }
    std::vector<PageSource> pages = result.Resolve(resolutions);
    const bool theirsAsIs = IsTheirsAsIs(pages, ourDigests, theirDigests);
    if (theirsAsIs)
        for (size_t index = 0; index < pages.size(); ++index)
            pages[index] = {PageSource::Theirs, qint32(index) + 1};
    const MergedRecords::Version ourVersion{ours.file, fileDigests};
    const MergedRecords::Version theirVersion{theirs.file, theirDigests};
    // The edited page is read as stored, then its edits are laid over it.
    switch (MergedRecords::Read(pages, ourVersion, theirVersion, merged.records, error)) {
    case MergedRecords::Outcome::Read:
        break;
    case MergedRecords::Outcome::Changed:
        return Outcome::Changed;
    case MergedRecords::Outcome::Failed:
        return Outcome::Failed;
    }
    merged.followedAt = 0;
    for (size_t index = 0; index < pages.size(); ++index) {
        if (pages[index].side != PageSource::Ours)
            continue;
        if (edited && pages[index].page == ours.editedPage)
            std::memcpy(merged.records.data() + qsizetype(index) * DiaryPage::RecordLength,
                        ours.editedRecord.constData(), DiaryPage::RecordLength);
        if (pages[index].page == followed && merged.followedAt == 0)
            merged.followedAt = qint32(index) + 1;
    }
    if (!theirsAsIs)
        return Outcome::Merged;
    merged.followedAt = TheirPlaceOf(followed, ourDigests, theirDigests);
    return Outcome::TheirsAsIs;
}
