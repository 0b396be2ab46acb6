#include "wizard/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString &title, int columns, QWidget *parent)
    : QGroupBox(title, parent)
    , m_group(new QButtonGroup(this))
    , m_layout(new QGridLayout(this))
    , m_columns(columns)
{
    // The longest date rule needs the whole width of its box.
    m_layout->setContentsMargins(4, 0, 0, 1);
    m_layout->setSpacing(0);
    connect(m_group, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

void RadioGroup::setItems(const QStringList &items)
{
    for (QAbstractButton *button : m_group->buttons()) {
        m_group->removeButton(button);
        delete button;
    }
    // The rows share the height evenly, as many as the fullest column needs.
    const int rows = (int(items.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        m_group->addButton(button, i);
        // As wide as its text, so that a click anywhere on it chooses it.
        m_layout->addWidget(button, i % rows, i / rows, Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (int row = 0; row < m_layout->rowCount(); ++row)
        m_layout->setRowStretch(row, row < rows ? 1 : 0);
    for (int column = 0; column < m_columns; ++column)
        m_layout->setColumnStretch(column, 1);
}

int RadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = m_group->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button by itself.
    m_group->setExclusive(false);
    for (QAbstractButton *button : m_group->buttons())
        button->setChecked(false);
    m_group->setExclusive(true);
}
