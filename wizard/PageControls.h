#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QCheckBox;
class QLabel;
class QTreeWidget;
class QWidget;

// The controls the pages place at fixed positions, each named and as large
// as its text.

// Shown as it stands: no rich text, no "&" accelerator.
QLabel *addLabel(QWidget *page, const QString &name, const QString &text, QPoint position);
QCheckBox *addCheckBox(QWidget *page, const QString &name, const QString &text, QPoint position);
// A list with columns and no tree lines; its lines are added by the form.
QTreeWidget *addListView(QWidget *page, const QString &name, const QRect &geometry);
