#include "tables/StringTable.h"

#include <QTest>
#include <climits>

using namespace Qt::StringLiterals;

using Grid = QList<QStringList>;

namespace {
// Every cell of the table, row by row, colCount cells in each.
Grid gridOf(const StringTable &table)
{
    Grid grid;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < table.colCount(); ++col)
            cells.append(table.cell(col, row));
        grid.append(cells);
    }
    return grid;
}

StringTable loaded(const QStringList &lines, QChar delimiter = u';')
{
    StringTable table;
    loadStringTable(table, lines, delimiter);
    return table;
}
} // namespace

class TestStringTable : public QObject {
    Q_OBJECT

private slots:
    void load_data();
    void load();
    void loadDefaultsToSemicolon();
    void reloadReplacesContent();
    void cellOutsideTable_data();
    void cellOutsideTable();
    void emptyTable();
    void findColumn_data();
    void findColumn();
    void findColumnInEmptyTable();
    void addRow();
    void clearRow();
    void setCell();
    void countChar_data();
    void countChar();
    void keepChars_data();
    void keepChars();
    void robustness();
};

void TestStringTable::load_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QChar>("delimiter");
    QTest::addColumn<Grid>("expected");

    const QChar semi = u';';
    QTest::newRow("three then two cells")
        << QStringList{u"a;b;c"_s, u"d;e"_s} << semi << Grid{{u"a"_s, u"b"_s, u"c"_s}, {u"d"_s, u"e"_s, u""_s}};
    QTest::newRow("two then three cells")
        << QStringList{u"a;b"_s, u"c;d;e"_s} << semi << Grid{{u"a"_s, u"b"_s, u""_s}, {u"c"_s, u"d"_s, u"e"_s}};
    QTest::newRow("trailing delimiter") << QStringList{u"a;b;"_s} << semi << Grid{{u"a"_s, u"b"_s, u""_s}};
    QTest::newRow("leading delimiter") << QStringList{u";a"_s} << semi << Grid{{u""_s, u"a"_s}};
    QTest::newRow("delimiters only") << QStringList{u";;"_s} << semi << Grid{{u""_s, u""_s, u""_s}};
    QTest::newRow("adjacent delimiters") << QStringList{u"a;;b"_s} << semi << Grid{{u"a"_s, u""_s, u"b"_s}};
    QTest::newRow("one empty line") << QStringList{u""_s} << semi << Grid{{u""_s}};
    QTest::newRow("empty middle line") << QStringList{u"a;b"_s, u""_s, u"c"_s} << semi
                                       << Grid{{u"a"_s, u"b"_s}, {u""_s, u""_s}, {u"c"_s, u""_s}};
    QTest::newRow("no trimming") << QStringList{u" a ; b\t"_s} << semi << Grid{{u" a "_s, u" b\t"_s}};
    QTest::newRow("no quoting") << QStringList{u"\"a;b\";c"_s} << semi << Grid{{u"\"a"_s, u"b\""_s, u"c"_s}};
    QTest::newRow("CR and LF markers") << QStringList{u"x<#13><#10>y"_s} << semi << Grid{{u"x\r\ny"_s}};
    QTest::newRow("markers in any order, repeated")
        << QStringList{u"<#10><#10>a<#13>"_s} << semi << Grid{{u"\n\na\r"_s}};
    QTest::newRow("other markers stay") << QStringList{u"<#9><#13<#1O>#13>"_s} << semi
                                        << Grid{{u"<#9><#13<#1O>#13>"_s}};
    QTest::newRow("marker in lower row") << QStringList{u"h"_s, u"a<#13>b;c"_s} << semi
                                         << Grid{{u"h"_s, u""_s}, {u"a\rb"_s, u"c"_s}};
    QTest::newRow("tab delimiter") << QStringList{u"a\tb;c"_s, u"d"_s} << QChar(u'\t')
                                   << Grid{{u"a"_s, u"b;c"_s}, {u"d"_s, u""_s}};
    QTest::newRow("comma delimiter") << QStringList{u"1,5;x,y"_s} << QChar(u',') << Grid{{u"1"_s, u"5;x"_s, u"y"_s}};
    QTest::newRow("accents kept") << QStringList{u"Név;Egység"_s} << semi << Grid{{u"Név"_s, u"Egység"_s}};
}

void TestStringTable::load()
{
    QFETCH(QStringList, lines);
    QFETCH(QChar, delimiter);
    QFETCH(Grid, expected);

    const StringTable table = loaded(lines, delimiter);
    QCOMPARE(table.rowCount(), lines.size());
    QCOMPARE(table.colCount(), expected.first().size());
    QCOMPARE(gridOf(table), expected);
}

void TestStringTable::loadDefaultsToSemicolon()
{
    StringTable table;
    loadStringTable(table, {u"a;b,c"_s});
    QCOMPARE(gridOf(table), (Grid{{u"a"_s, u"b,c"_s}}));
}

void TestStringTable::reloadReplacesContent()
{
    StringTable table = loaded({u"a;b;c;d"_s, u"1;2;3;4"_s, u"5"_s});
    loadStringTable(table, {u"x;y"_s});
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.colCount(), 2);
    QCOMPARE(gridOf(table), (Grid{{u"x"_s, u"y"_s}}));
    QCOMPARE(table.cell(2, 0), QString());
    QCOMPARE(table.cell(0, 1), QString());

    loadStringTable(table, {});
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.colCount(), 1);
    QCOMPARE(table.cell(0, 0), QString());
}

void TestStringTable::cellOutsideTable_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");

    QTest::newRow("column past the end") << 2 << 0;
    QTest::newRow("row past the end") << 0 << 2;
    QTest::newRow("negative column") << -1 << 0;
    QTest::newRow("negative row") << 0 << -1;
    QTest::newRow("both negative") << INT_MIN << INT_MIN;
    QTest::newRow("largest indexes") << INT_MAX << INT_MAX;
}

void TestStringTable::cellOutsideTable()
{
    QFETCH(int, col);
    QFETCH(int, row);

    const StringTable table = loaded({u"a;b"_s, u"c;d"_s});
    QCOMPARE(table.cell(col, row), QString());
    QVERIFY(table.cell(col, row).isEmpty());

    const StringTable fresh;
    QCOMPARE(fresh.cell(col, row), QString());
}

void TestStringTable::emptyTable()
{
    const StringTable fresh;
    QCOMPARE(fresh.rowCount(), 1);
    QCOMPARE(fresh.colCount(), 1);
    QCOMPARE(fresh.cell(0, 0), QString());

    const StringTable none = loaded({});
    QCOMPARE(none.rowCount(), 1);
    QCOMPARE(none.colCount(), 1);
    QCOMPARE(gridOf(none), (Grid{{QString()}}));
}

void TestStringTable::findColumn_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("expected");

    const QString otpHeader = u"Név;Egység;Közép;VALUTA  VÉTELI;Valuta eladási;Deviza vételi"_s;
    QTest::newRow("exact") << QStringList{otpHeader} << u"Közép"_s << 2;
    QTest::newRow("first column") << QStringList{otpHeader} << u"Név"_s << 0;
    QTest::newRow("case and blanks differ") << QStringList{otpHeader} << u"Valuta vételi"_s << 3;
    QTest::newRow("unaccented does not match") << QStringList{otpHeader} << u"Valuta veteli"_s << -1;
    QTest::newRow("replacement character dropped") << QStringList{otpHeader} << u"N\uFFFDv"_s << 0;
    QTest::newRow("replacement in the table")
        << QStringList{u"N\uFFFDv;Valuta v\uFFFDteli"_s} << u"Valuta vételi"_s << 1;
    QTest::newRow("punctuation dropped") << QStringList{otpHeader} << u"-deviza_ vételi!"_s << 5;
    QTest::newRow("lower case header") << QStringList{otpHeader} << u"valuta eladási"_s << 4;
    QTest::newRow("not present") << QStringList{otpHeader} << u"Csekk vételi"_s << -1;
    QTest::newRow("prefix is no match") << QStringList{otpHeader} << u"Valuta"_s << -1;
    QTest::newRow("all 26 letters") << QStringList{u"x;abcdefghijklmnopqrstuvwxyz 0123456789"_s}
                                    << u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"_s << 1;
    QTest::newRow("digits kept") << QStringList{u"Deviza 1;Deviza 2"_s} << u"deviza2"_s << 1;
    QTest::newRow("non-ASCII digits dropped") << QStringList{u"a;b"_s} << u"b\u0661\uFF11"_s << 1;
    QTest::newRow("fullwidth letters dropped") << QStringList{u"a;b"_s} << u"\uFF41b"_s << 1;
    QTest::newRow("duplicate: leftmost wins") << QStringList{u"x;Közép;KÖZÉP;Kozep"_s} << u"kozep"_s << 3;
    QTest::newRow("duplicate after reduction") << QStringList{u"x;K-z-p;Közép"_s} << u"Közép"_s << 1;
    QTest::newRow("only row 0 is searched") << QStringList{u"a;b"_s, u"Közép;c"_s} << u"Közép"_s << -1;
    QTest::newRow("empty reduction: first empty header") << QStringList{u"Név;éé;;ő"_s} << u"éáő"_s << 1;
    QTest::newRow("empty header: first empty header") << QStringList{u"Név;--;x"_s} << u""_s << 1;
    QTest::newRow("empty reduction: header cell past its line") << QStringList{u"a"_s, u"1;2"_s} << u"???"_s << 1;
    QTest::newRow("empty reduction: none empty") << QStringList{u"a;b"_s} << u"é"_s << -1;
    QTest::newRow("CR marker dropped") << QStringList{u"Valuta<#13><#10>vételi"_s} << u"Valutavételi"_s << 0;
}

void TestStringTable::findColumn()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, header);
    QFETCH(int, expected);

    QCOMPARE(findTableColumn(loaded(lines), header), expected);
}

void TestStringTable::findColumnInEmptyTable()
{
    for (const StringTable &table : {StringTable(), loaded({})}) {
        QCOMPARE(findTableColumn(table, u"Név"_s), -1);
        QCOMPARE(findTableColumn(table, u"x"_s), -1);
        QCOMPARE(findTableColumn(table, u"0"_s), -1);
        // The one empty header matches whatever reduces to the empty text.
        QCOMPARE(findTableColumn(table, QString()), 0);
        QCOMPARE(findTableColumn(table, u"é"_s), 0);
    }
}

void TestStringTable::addRow()
{
    StringTable fresh;
    QCOMPARE(addTableRow(fresh), 1);
    QCOMPARE(fresh.rowCount(), 2);
    QCOMPARE(fresh.colCount(), 1);
    QCOMPARE(gridOf(fresh), (Grid{{u""_s}, {u""_s}}));

    StringTable table = loaded({u"a;b;c"_s, u"d"_s});
    QCOMPARE(addTableRow(table), 2);
    QCOMPARE(addTableRow(table), 3);
    QCOMPARE(table.rowCount(), 4);
    QCOMPARE(table.colCount(), 3);
    QCOMPARE(gridOf(table),
             (Grid{{u"a"_s, u"b"_s, u"c"_s}, {u"d"_s, u""_s, u""_s}, {u""_s, u""_s, u""_s}, {u""_s, u""_s, u""_s}}));

    table.setCell(2, 3, u"z"_s);
    QCOMPARE(table.cell(2, 3), u"z"_s);
}

void TestStringTable::clearRow()
{
    StringTable table = loaded({u"h1;h2;h3"_s, u"a;b;c"_s, u"d;e"_s});
    clearTableRow(table, 1);
    QCOMPARE(gridOf(table), (Grid{{u"h1"_s, u"h2"_s, u"h3"_s}, {u""_s, u""_s, u""_s}, {u"d"_s, u"e"_s, u""_s}}));
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.colCount(), 3);

    clearTableRow(table, 0);
    QCOMPARE(findTableColumn(table, u"h1"_s), -1);

    // Rows outside the table: nothing happens.
    const Grid before = gridOf(table);
    clearTableRow(table, 3);
    clearTableRow(table, -1);
    clearTableRow(table, INT_MAX);
    QCOMPARE(gridOf(table), before);

    StringTable fresh;
    clearTableRow(fresh, 0);
    clearTableRow(fresh, 1);
    QCOMPARE(fresh.rowCount(), 1);
    QCOMPARE(fresh.cell(0, 0), QString());

    // A cleared row can be written again.
    table.setCell(1, 1, u"x"_s);
    QCOMPARE(gridOf(table).at(1), (QStringList{u""_s, u"x"_s, u""_s}));
}

void TestStringTable::setCell()
{
    StringTable table = loaded({u"a;b;c"_s, u"d"_s});
    table.setCell(0, 0, u"A"_s);
    table.setCell(2, 1, u"F"_s); // past the cells its line supplied
    QCOMPARE(gridOf(table), (Grid{{u"A"_s, u"b"_s, u"c"_s}, {u"d"_s, u""_s, u"F"_s}}));

    // Writes outside the table are ignored and do not widen it.
    const Grid before = gridOf(table);
    table.setCell(3, 0, u"x"_s);
    table.setCell(0, 2, u"x"_s);
    table.setCell(-1, 0, u"x"_s);
    table.setCell(0, -1, u"x"_s);
    table.setCell(INT_MAX, INT_MAX, u"x"_s);
    QCOMPARE(table.colCount(), 3);
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(gridOf(table), before);

    StringTable fresh;
    fresh.setCell(0, 0, u"only"_s);
    fresh.setCell(1, 0, u"ignored"_s);
    QCOMPARE(gridOf(fresh), (Grid{{u"only"_s}}));
    QCOMPARE(findTableColumn(fresh, u"ONLY"_s), 0);
}

void TestStringTable::countChar_data()
{
    QTest::addColumn<QChar>("ch");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty text") << QChar(u';') << u""_s << 0;
    QTest::newRow("none") << QChar(u';') << u"abc"_s << 0;
    QTest::newRow("several") << QChar(u';') << u";a;;b;"_s << 4;
    QTest::newRow("case matters") << QChar(u'a') << u"AaAa"_s << 2;
    QTest::newRow("accented letter") << QChar(u'é') << u"vételi éé e"_s << 3;
    QTest::newRow("NUL character") << QChar(u'\0') << QString::fromUtf16(u"a\0b\0", 4) << 2;
    QTest::newRow("only that character") << QChar(u'x') << QString(1000, u'x') << 1000;
}

void TestStringTable::countChar()
{
    QFETCH(QChar, ch);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(::countChar(ch, text), expected);
}

void TestStringTable::keepChars_data()
{
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty text") << u"abc"_s << u""_s << u""_s;
    QTest::newRow("empty allowed") << u""_s << u"abc"_s << u""_s;
    QTest::newRow("order of text kept") << u"abc"_s << u"c-b-a-c"_s << u"cbac"_s;
    QTest::newRow("digits only") << u"0123456789"_s << u"1 000,50 Ft"_s << u"100050"_s;
    QTest::newRow("case sensitive") << u"abc"_s << u"AbC"_s << u"b"_s;
    QTest::newRow("accents kept when allowed") << u"éa"_s << u"Név van"_s << u"éa"_s;
    QTest::newRow("nothing allowed occurs") << u"xyz"_s << u"abc"_s << u""_s;
}

void TestStringTable::keepChars()
{
    QFETCH(QString, allowed);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::keepChars(allowed, text), expected);
}

void TestStringTable::robustness()
{
    QString junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(QChar(char16_t((i * 7919) & 0xFFFF))); // NULs, lone surrogates, markers' characters
    static constexpr char16_t tail[] = u"\0;\0<#13<#10>\uFFFF\xD800";
    junk.append(QString::fromUtf16(tail, std::size(tail) - 1));
    const QString longCell(100000, u'é');
    const QString manyDelimiters(100000, u';');

    const QStringList lines = {junk, longCell, manyDelimiters, QString(), junk + u";"_s + longCell};
    const StringTable table = loaded(lines);
    QCOMPARE(table.rowCount(), lines.size());
    QCOMPARE(table.colCount(), 100001);
    QCOMPARE(table.cell(0, 1), longCell);
    QCOMPARE(table.cell(100000, 2), QString());
    QCOMPARE(table.cell(::countChar(u';', junk) + 1, 4), longCell);
    QCOMPARE(table.cell(100000, 4), QString());
    QCOMPARE(findTableColumn(table, u"no such column"_s), -1);
    const int junkColumn = findTableColumn(table, junk);
    QVERIFY(junkColumn >= -1 && junkColumn < table.colCount());

    const StringTable junkTable = loaded({junk, junk}, QChar(u'\0'));
    QCOMPARE(junkTable.rowCount(), 2);
    QVERIFY(junkTable.colCount() >= 2);

    QCOMPARE(::countChar(u';', manyDelimiters), 100000);
    QCOMPARE(::keepChars(u"0123456789", longCell), QString());
    QCOMPARE(::keepChars(QStringView(u"\0", 1), junk).size(), ::countChar(u'\0', junk));
    QVERIFY(::countChar(u'\0', junk) >= 3);
}

QTEST_GUILESS_MAIN(TestStringTable)
#include "TestStringTable.moc"
