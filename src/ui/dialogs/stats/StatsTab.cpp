#include "ui/dialogs/stats/StatsTab.h"

#include <QBarSet>
#include <QTableWidget>

void StatsTab::ChooseMonthsBy(const QBarSet* bars)
{
    connect(bars, &QBarSet::clicked, this, [this](int index) { Q_EMIT monthChosen(index + 1); });
}

void StatsTab::ChooseMonthsBy(QTableWidget& rows)
{
    connect(&rows, &QTableWidget::activated, this, [this](const QModelIndex& row) {
        if (row.row() < 12)
            Q_EMIT monthChosen(row.row() + 1);
    });
}
