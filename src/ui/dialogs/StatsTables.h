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
    // An empty table with its headings. objectName: `name`.
    static QTableWidget* NewTable(const char* name, const QStringList& headings, QWidget* parent);
    // As tall as its headings and `rows` rows, so that a table of them shows
    // its last row without scrolling.
    static void ShowRowsWhole(QTableWidget& table, int rows);
    // Rows of texts; every column after the first holds a number and stands
    // right.
    static void Fill(QTableWidget& table, const QList<QStringList>& rows);
};
