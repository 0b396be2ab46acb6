#include "wizard/ListViewLines.h"

#include "run/RateList.h"

#include <QTreeWidget>

namespace {

Qt::CheckState checkState(bool ticked)
{
    return ticked ? Qt::Checked : Qt::Unchecked;
}

} // namespace

void showRateList(QTreeWidget *list, const RateList &rates)
{
    list->clear();
    QStringList captions;
    for (const RateListColumn &column : rates.columns)
        captions << column.caption;
    list->setColumnCount(int(captions.size()));
    list->setHeaderLabels(captions);
    for (int i = 0; i < rates.columns.size(); ++i) {
        list->setColumnWidth(i, rates.columns[i].width);
        list->headerItem()->setTextAlignment(i, rates.columns[i].alignment | Qt::AlignVCenter);
    }
    for (const RateListRow &row : rates.rows) {
        QTreeWidgetItem *item = addTickedLine(list, row.cells, row.checked);
        for (int i = 0; i < rates.columns.size(); ++i)
            item->setTextAlignment(i, rates.columns[i].alignment | Qt::AlignVCenter);
    }
}

QTreeWidgetItem *addTickedLine(QTreeWidget *list, const QStringList &cells, bool ticked)
{
    auto *item = new QTreeWidgetItem(list, cells);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checkState(ticked));
    return item;
}

void removeTickBoxes(QTreeWidget *list)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = list->topLevelItem(i);
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setData(0, Qt::CheckStateRole, QVariant());
    }
}

QStringList lineCodes(const QTreeWidget *list)
{
    QStringList codes;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        codes << list->topLevelItem(i)->text(0);
    return codes;
}

QVector<CurrencyTick> lineTicks(const QTreeWidget *list)
{
    QVector<CurrencyTick> ticks;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        ticks.append({item->text(0), item->checkState(0) == Qt::Checked});
    }
    return ticks;
}

int tickedLineCount(const QTreeWidget *list)
{
    int count = 0;
    for (const CurrencyTick &tick : lineTicks(list))
        count += tick.ticked ? 1 : 0;
    return count;
}

void setLineTicks(QTreeWidget *list, const QVector<bool> &ticks)
{
    for (int i = 0; i < list->topLevelItemCount() && i < ticks.size(); ++i)
        list->topLevelItem(i)->setCheckState(0, checkState(ticks[i]));
}
