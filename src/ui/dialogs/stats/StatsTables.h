#pragma once

#include <QList>
#include <QStringList>
#include <functional>

class QTableWidget;
class QWidget;

// The tables beside the charts of the statistics window: read-only rows of
// figures, as wide as the figures they hold.
class StatsTables
{
public:
    // An empty table with its headings, read by a screen reader as
    // `spokenName`. objectName: `name`.
    static QTableWidget* NewTable(const char* name, const QString& spokenName, const QStringList& headings,
                                  QWidget* parent);
    // As tall as its headings and `rows` rows, so that a table of them shows
    // its last row without scrolling.
    static void ShowRowsWhole(QTableWidget& table, int rows);
    // Rows of texts; every column after the first holds a number and stands
    // right.
    static void Fill(QTableWidget& table, const QList<QStringList>& rows);
    // The amounts of a column, shown in the money form, are read in yen.
    static void ReadAmountsInYen(QTableWidget& table, int column);
    // Enter on a month's row (1 to 12) of a table of months and their total
    // does what the month's bar does, for the keyboard; the total turns nothing.
    static void OnMonthRowEntered(QTableWidget& table, std::function<void(int month)> turn);
    // A count grouped as the program writes numbers.
    static QString Count(qint64 number);
    static QString MonthName(int month);
};
