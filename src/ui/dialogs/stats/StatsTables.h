#pragma once

#include <QList>
#include <QStringList>

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
    // A count grouped as the program writes numbers.
    static QString Count(qint64 number);
    static QString MonthName(int month);
};
