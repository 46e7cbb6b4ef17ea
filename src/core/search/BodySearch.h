#pragma once

#include <QByteArray>
#include <QString>

#include "core/platform/FileError.h"

#include <functional>

class RecordFile;

// Finds the pages whose bodies hold a text, the first from a given page or
// every one, comparing characters exactly or folded. The bodies are searched as the file holds
// them, in cp932 bytes: an exact search decodes them only where a byte
// comparison could differ from a comparison of characters, a folded one folds
// them straight from their bytes.
class BodySearch
{
public:
    // Exact compares characters as they are; Folded compares them after
    // JapaneseFold, so that width, kana and case do not count.
    enum class Match { Exact, Folded };

    // The text as the diary would store it: characters that an input method
    // types in another form than the file gives back (the wave dash, say) are
    // looked for in the stored form.
    static QString StoredForm(const QString& text);

    // The first page from `from` to `last` whose body holds text into found;
    // 0 when none does. An error when the pages could not be read. A folded
    // search folds the text itself.
    static FileError Find(const RecordFile& file, const QString& text, qint32 from, qint32 last, qint32& found,
                          Match match = Match::Exact);

    enum class Order { FileOrder, NewestFirst };
    // Called with each page found and its whole record; false stops the search.
    using Visit = std::function<bool(qint32 page, const char* record)>;

    // Every page from `from` to `last` whose body holds text, in the order
    // asked for, until visit says to stop. The pages are read in runs, so a
    // caller that stops early reads little more than it needs.
    static FileError Each(const RecordFile& file, const QString& text, qint32 from, qint32 last, Match match,
                          Order order, const Visit& visit);

private:
    static FileError EachFolded(const RecordFile& file, const QString& text, qint32 from, qint32 last, Order order,
                                const Visit& visit);
    static bool BodyHolds(const char* body, int length, const QString& text, const QByteArray& needle, bool bytewise);
};
