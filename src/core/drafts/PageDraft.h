#pragma once

#include "core/diary/EntryField.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

// The words typed on the shown page and not yet stored, with where they
// belong: the page's date and its place among the pages of that date, its
// number, and the hash of the page as it was loaded, which tells at the next
// start whether the page is still as the words found it.
struct PageDraft
{
    std::array<QString, EntryFieldCount> fields; // as the entry boxes hold them
    QDate date;            // the page's date as it was loaded; invalid when it reads as none
    qint32 nthOfDate = 0;  // 1 for the first page of that date; 0 when not known
    qint32 page = 0;       // its number when the draft was kept
    quint64 loadedHash = 0; // PageHash of the record as it was loaded
    QDateTime keptAt;

    QString Field(EntryField field) const { return fields[size_t(field)]; }

    // The draft as bytes, ending in a hash of all before it, so that a draft
    // torn or damaged on the disk is never taken for one.
    QByteArray Encode() const;
    static std::optional<PageDraft> Decode(const QByteArray& bytes);

    // The draft as a person reads it: the header lines of the fields, an
    // empty line, the text.
    QString Text() const;

    bool operator==(const PageDraft& other) const = default;
};
