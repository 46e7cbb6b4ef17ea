#include "ui/dialogs/stats/StatsTables.h"

#include "core/platform/JapaneseLocale.h"
#include "ui/platform/SpokenText.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

QTableWidget* StatsTables::NewTable(const char* name, const QString& spokenName, const QStringList& headings,
                                    QWidget* parent)
{
    auto* table = new QTableWidget(0, int(headings.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setAccessibleName(spokenName);
    table->setHorizontalHeaderLabels(headings);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab goes on to the next control; the arrows go along the rows.
    table->setTabKeyNavigation(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->horizontalHeader()->setStretchLastSection(true);
    // The twelve months and their total fit without scrolling at 1024x768.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    return table;
}

void StatsTables::ShowRowsWhole(QTableWidget& table, int rows)
{
    table.setMinimumHeight(2 * table.frameWidth() + table.horizontalHeader()->sizeHint().height() +
                           rows * table.verticalHeader()->defaultSectionSize());
}

void StatsTables::Fill(QTableWidget& table, const QList<QStringList>& rows)
{
    table.setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row)
        for (int column = 0; column < rows[row].size(); ++column) {
            auto* item = new QTableWidgetItem(rows[row][column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table.setItem(row, column, item);
        }
    // The table is as wide as its figures and headings, with room for a
    // scroll bar on a small screen, and the chart takes the rest. Measured
    // here: the view measures only the rows it shows.
    const QFontMetrics metrics(table.font());
    int width = 2 * table.frameWidth() + table.verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < table.columnCount(); ++column) {
        int widest = metrics.horizontalAdvance(table.horizontalHeaderItem(column)->text()) + 8;
        for (const QStringList& texts : rows)
            widest = qMax(widest, metrics.horizontalAdvance(texts.value(column)));
        table.setColumnWidth(column, widest + 16);
        width += widest + 16;
    }
    table.setFixedWidth(width);
}

void StatsTables::ReadAmountsInYen(QTableWidget& table, int column)
{
    for (int row = 0; row < table.rowCount(); ++row)
        if (QTableWidgetItem* item = table.item(row, column))
            item->setData(Qt::AccessibleTextRole, SpokenText::Amount(item->text()));
}

QString StatsTables::Count(qint64 number)
{
    return JapaneseLocale::Locale().toString(number);
}

QString StatsTables::MonthName(int month)
{
    return QStringLiteral("%1月").arg(month);
}
