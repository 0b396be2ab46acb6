#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// A rectangular table of text cells addressed by (column, row), both from 0.
// Row 0 holds the column headers. An empty table has one empty row and one
// empty column.
class TStringTable {
public:
    int ColCount() const { return m_colCount; }
    int RowCount() const;
    // The empty text for a cell that its line did not supply or that lies
    // outside the table.
    QString Cell(int col, int row) const;
    // Writes a cell inside the table (0 <= col < ColCount, 0 <= row <
    // RowCount); a write outside it is ignored. The table grows only by
    // LoadStringTable and AddTableRow.
    void SetCell(int col, int row, const QString &text);

private:
    friend void LoadStringTable(TStringTable &, const QStringList &, QChar);
    friend int AddTableRow(TStringTable &);
    friend void ClearTableRow(TStringTable &, int);

    int m_colCount = 1;
    QVector<QStringList> m_rows;
};

// Replaces the content by the lines split at every delimiter (no quoting,
// no trimming); "<#13>" and "<#10>" in a cell become CR and LF.
void LoadStringTable(TStringTable &table, const QStringList &lines, QChar delimiter = u';');

// Index of the first column whose header matches once both are reduced to
// upper-cased ASCII letters and digits; -1 when none does.
int FindTableColumn(const TStringTable &table, const QString &header);

int AddTableRow(TStringTable &table);
void ClearTableRow(TStringTable &table, int row);

int CountChar(QChar ch, QStringView text);
// The characters of text that occur in allowed, in their order.
QString KeepChars(QStringView allowed, QStringView text);
