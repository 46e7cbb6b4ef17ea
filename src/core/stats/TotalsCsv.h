#pragma once

#include "core/platform/FileError.h"

#include <QString>

struct ExpenseTotals;
struct WritingTotals;

// The figures of one year, and the expense of every year, as a CSV file a
// spreadsheet opens: amounts in whole yen as plain numbers, CR LF line ends.
class TotalsCsv
{
public:
    // UTF-8 with a byte-order mark by default, so that a spreadsheet reads the
    // Japanese headings as such; CP932 for programs that expect it.
    enum class Encoding { Utf8Bom, Cp932 };

    // Written under a temporary name in the same folder, flushed, then renamed:
    // a failure leaves no file under `path`, and any file there as it was.
    static FileError Write(const QString& path, int year, const ExpenseTotals& expenses, const WritingTotals& writing,
                           Encoding encoding = Encoding::Utf8Bom);

    // The file's text before it is encoded.
    static QString Text(int year, const ExpenseTotals& expenses, const WritingTotals& writing);

    static QString TempFileName() { return QStringLiteral("~~Csv~~.Tmp"); }
};
