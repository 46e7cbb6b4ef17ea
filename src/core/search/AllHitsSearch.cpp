#include "core/search/AllHitsSearch.h"

#include "core/diary/DiaryPage.h"
#include "core/diary/PageFields.h"
#include "core/platform/Cp932.h"
#include "core/search/JapaneseFold.h"

#include <algorithm>

namespace {

const DiaryPage::Layout& Field(DiaryPage::Field field)
{
    return DiaryPage::Fields[field];
}

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// The line of the body that holds [start, start + length), with an ellipsis
// where it was cut.
QString LineAround(const QString& body, qsizetype start, qsizetype length)
{
    qsizetype begin = start;
    while (begin > 0 && !IsLineBreak(body[begin - 1]))
        --begin;
    qsizetype end = start + length;
    while (end < body.size() && !IsLineBreak(body[end]))
        ++end;
    const qsizetype from = std::max(begin, start - AllHitsSearch::Before);
    const qsizetype to = std::min(end, start + length + AllHitsSearch::After);
    const QString line = PageFields::TrimSpaces(body.mid(from, to - from));
    return (from > begin ? QStringLiteral("…") : QString()) + line + (to < end ? QStringLiteral("…") : QString());
}

} // namespace

AllHitsSearch::AllHitsSearch(const RecordFile& file, const QString& typed, qint32 pageCount, BodySearch::Match match)
    : file_(file), wanted_(BodySearch::StoredForm(typed)), foldedWanted_(JapaneseFold::Fold(wanted_)), match_(match),
      next_(pageCount)
{
}

FileError AllHitsSearch::Step(qint32 pages, std::vector<SearchHit>& hits)
{
    if (Done())
        return {};
    const qint32 last = next_;
    next_ = std::max(0, next_ - std::max(pages, 1));
    const FileError error = BodySearch::Each(file_, wanted_, next_ + 1, last, match_, BodySearch::Order::NewestFirst,
                                             [this, &hits](qint32 page, const char* record) {
                                                 hits.push_back(HitOn(page, record));
                                                 return true;
                                             });
    if (error)
        next_ = 0;
    return error;
}

SearchHit AllHitsSearch::HitOn(qint32 page, const char* record) const
{
    const DiaryPage::Layout& date = Field(DiaryPage::PageDate);
    const DiaryPage::Layout& body = Field(DiaryPage::PageBody);
    const QString text = PageFields::TrimSpaces(Cp932::Decode(record + body.offset, body.length));
    qsizetype start = 0;
    qsizetype length = wanted_.size();
    if (match_ == BodySearch::Match::Folded) {
        const std::optional<JapaneseFold::Span> hit = JapaneseFold::Find(text, foldedWanted_);
        start = hit ? hit->start : 0;
        length = hit ? hit->length : 0;
    } else {
        start = std::max<qsizetype>(0, text.indexOf(wanted_));
    }
    return {page, PageFields::TrimSpaces(Cp932::Decode(record + date.offset, date.length)),
            LineAround(text, start, length)};
}
