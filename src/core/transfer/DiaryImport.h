#pragma once

#include "core/platform/FileError.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>
#include <vector>

// One text file read back as a page record.
struct ImportedPage
{
    QString file;
    QDate date;
    QByteArray record; // DiaryPage::RecordLength bytes, as the diary holds them
};

// What a folder of text files would add to the diary.
struct ImportPlan
{
    // The order of the pages: a folder the export wrote keeps the diary's
    // order through its order file; a folder made by hand is put in date order.
    enum class Order {
        ByDate,             // no order file
        AsExported,         // the order file's
        ByDateListUnusable, // the order file is unread, or does not name every page read
    };
    std::vector<ImportedPage> pages; // in the order they are appended
    Order order = Order::ByDate;
    QStringList refused;  // "file: why", left out
    QStringList cut;      // "file: field", shortened to fit
    QStringList unlisted; // pages read that the order file does not name
    QDate first;
    QDate last;
};

// Reads the text files the export writes (header lines, an empty line, the
// body) back into page records, in either encoding.
class DiaryImport
{
public:
    enum class Encoding { Detect, Utf8, Cp932 };
    static FileError Read(const QString& folder, Encoding encoding, ImportPlan& plan);
    // The record of one file's bytes; false with the reason when it is refused.
    static bool ToRecord(const QByteArray& text, Encoding encoding, ImportedPage& page, QStringList& cut,
                         QString& refusal);
};
