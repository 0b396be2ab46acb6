#include "wizard/PageControls.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

QLabel *addLabel(QWidget *page, const QString &name, const QString &text, QPoint position)
{
    auto *label = new QLabel(text, page);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->move(position);
    label->adjustSize();
    return label;
}

QCheckBox *addCheckBox(QWidget *page, const QString &name, const QString &text, QPoint position)
{
    auto *box = new QCheckBox(text, page);
    box->setObjectName(name);
    box->move(position);
    box->adjustSize();
    return box;
}

QTreeWidget *addListView(QWidget *page, const QString &name, const QRect &geometry)
{
    auto *list = new QTreeWidget(page);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    return list;
}
