#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;

// A captioned single-choice list of radio buttons, filled column by column
// and read by the index of the chosen item; -1 when none is chosen.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString &title, int columns, QWidget *parent);

    // Replaces the items; none is chosen afterwards.
    void setItems(const QStringList &items);
    int itemIndex() const;
    void setItemIndex(int index);

signals:
    // The user chose an item, with the mouse or the keyboard.
    void itemClicked(int index);

private:
    QButtonGroup *m_group;
    QGridLayout *m_layout;
    int m_columns;
};
