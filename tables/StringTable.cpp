#include "tables/StringTable.h"

namespace {
// The ASCII letters and digits that findTableColumn compares.
const QString HeaderChars = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUXYVWZabcdefghijklmnopqrstuxyvwz");

// The header reduced to its ASCII letters and digits, upper-cased.
QString reduceHeader(QStringView header)
{
    QString reduced = keepChars(HeaderChars, header);
    for (QChar &c : reduced) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return reduced;
}
} // namespace

int StringTable::rowCount() const
{
    // A default-constructed table holds no stored row yet; it reads as one
    // empty row.
    return m_rows.isEmpty() ? 1 : int(m_rows.size());
}

QString StringTable::cell(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= m_rows.size())
        return QString();
    const QStringList &cells = m_rows.at(row);
    return col < cells.size() ? cells.at(col) : QString();
}

void StringTable::setCell(int col, int row, const QString &text)
{
    // Writes outside the table are ignored: it grows only by loadStringTable
    // and addTableRow.
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return;
    if (m_rows.isEmpty())
        m_rows.append(QStringList());
    QStringList &cells = m_rows[row];
    while (cells.size() <= col)
        cells.append(QString());
    cells[col] = text;
}

void loadStringTable(StringTable &table, const QStringList &lines, QChar delimiter)
{
    static const QString CarriageReturnMarker = QStringLiteral("<#13>");
    static const QString LineFeedMarker = QStringLiteral("<#10>");

    table.m_rows.clear();
    table.m_colCount = 1;
    table.m_rows.reserve(lines.size());
    for (const QString &line : lines) {
        QStringList cells = line.split(delimiter, Qt::KeepEmptyParts);
        for (QString &cell : cells) {
            cell.replace(CarriageReturnMarker, QStringLiteral("\r"));
            cell.replace(LineFeedMarker, QStringLiteral("\n"));
        }
        if (cells.size() > table.m_colCount)
            table.m_colCount = int(cells.size());
        table.m_rows.append(cells);
    }
    if (table.m_rows.isEmpty())
        table.m_rows.append(QStringList());
}

int findTableColumn(const StringTable &table, const QString &header)
{
    const QString wanted = reduceHeader(header);
    for (int col = 0; col < table.colCount(); ++col) {
        if (reduceHeader(table.cell(col, 0)) == wanted)
            return col;
    }
    return -1;
}

int addTableRow(StringTable &table)
{
    if (table.m_rows.isEmpty())
        table.m_rows.append(QStringList());
    table.m_rows.append(QStringList());
    return int(table.m_rows.size()) - 1;
}

void clearTableRow(StringTable &table, int row)
{
    // Cells that a row does not store read as the empty text, so dropping
    // the stored cells empties every cell of the row.
    if (row >= 0 && row < table.m_rows.size())
        table.m_rows[row].clear();
}

int countChar(QChar ch, QStringView text)
{
    int count = 0;
    for (QChar c : text) {
        if (c == ch)
            ++count;
    }
    return count;
}

QString keepChars(QStringView allowed, QStringView text)
{
    QString kept;
    for (QChar c : text) {
        if (allowed.contains(c))
            kept.append(c);
    }
    return kept;
}
