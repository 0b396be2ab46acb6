#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// A rectangular table of text cells addressed by (column, row), both from 0.
// Row 0 holds the column headers. An empty table has one empty row and one
// empty column.
class StringTable {
public:
    int colCount() const { return m_colCount; }
    int rowCount() const;
    // The empty text for a cell that its line did not supply or that lies
    // outside the table.
    QString cell(int col, int row) const;
    // Writes a cell inside the table (0 <= col < colCount, 0 <= row <
    // rowCount); a write outside it is ignored. The table grows only by
    // loadStringTable and addTableRow.
    void setCell(int col, int row, const QString &text);

private:
    friend void loadStringTable(StringTable &, const QStringList &, QChar);
    friend int addTableRow(StringTable &);
    friend void clearTableRow(StringTable &, int);

    int m_colCount = 1;
    QVector<QStringList> m_rows;
};

// Replaces the content by the lines split at every delimiter (no quoting,
// no trimming); "<#13>" and "<#10>" in a cell become CR and LF.
void loadStringTable(StringTable &table, const QStringList &lines, QChar delimiter = u';');

// Index of the first column whose header matches once both are reduced to
// upper-cased ASCII letters and digits; -1 when none does.
int findTableColumn(const StringTable &table, const QString &header);

int addTableRow(StringTable &table);
void clearTableRow(StringTable &table, int row);

int countChar(QChar ch, QStringView text);
// The characters of text that occur in allowed, in their order.
QString keepChars(QStringView allowed, QStringView text);
