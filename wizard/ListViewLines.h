#pragma once

#include "startup/SettingsFile.h"

#include <QStringList>
#include <QVector>

class QTreeWidget;
class QTreeWidgetItem;
struct RateList;

// The lines of the pages' list views, each with a tick box in its first
// column and known by that column's text.

// Replaces columns and lines by the rate list's.
void showRateList(QTreeWidget *list, const RateList &rates);
QTreeWidgetItem *addTickedLine(QTreeWidget *list, const QStringList &cells, bool ticked);
// Lines without a tick box read as not ticked.
void removeTickBoxes(QTreeWidget *list);

QStringList lineCodes(const QTreeWidget *list);
QVector<CurrencyTick> lineTicks(const QTreeWidget *list);
int tickedLineCount(const QTreeWidget *list);
// One tick per line, in line order.
void setLineTicks(QTreeWidget *list, const QVector<bool> &ticks);
