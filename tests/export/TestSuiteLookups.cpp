#include "export/DatabaseError.h"
#include "export/SuiteConnection.h"
#include "export/SuiteLookups.h"
#include "fakes/SuiteDatabase.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString quoted(QString text)
{
    return u'\'' + text.replace(u'\'', u"''"_s) + u'\'';
}

QString sqlValue(const QString &text)
{
    return text.isNull() ? u"NULL"_s : quoted(text);
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestSuiteLookups : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void bankCodeItems_data();
    void bankCodeItems();
    void bankCodeOfItem_data();
    void bankCodeOfItem();
    void historyCurrencies_data();
    void historyCurrencies();
    void existingCurrenciesAreAsStored();
    void bookCurrency_data();
    void bookCurrency();
    void ensureBank_data();
    void ensureBank();
    void textIsDataNeverSql_data();
    void textIsDataNeverSql();
    void textThatCannotBeStored_data();
    void textThatCannotBeStored();

private:
    void fill(const QString &table, const QString &columns, const QList<QStringList> &rows);

    // One database for the whole case, emptied before each test.
    std::unique_ptr<SuiteDatabase> m_db;
    std::unique_ptr<SuiteConnection> m_connection;
};

void TestSuiteLookups::initTestCase()
{
    m_db = std::make_unique<SuiteDatabase>();
}

void TestSuiteLookups::init()
{
    m_db->execute(
        {u"DELETE FROM VHELY"_s, u"DELETE FROM DEVIZA"_s, u"DELETE FROM CNFKOZOS"_s, u"DELETE FROM ARFOLYAM"_s});
    m_connection =
        std::make_unique<SuiteConnection>(ConnectionSettings{QString(), m_db->path(), u"SYSDBA"_s, m_db->password()});
}

void TestSuiteLookups::cleanup()
{
    m_connection.reset();
}

void TestSuiteLookups::fill(const QString &table, const QString &columns, const QList<QStringList> &rows)
{
    QStringList statements;
    for (const QStringList &row : rows) {
        QStringList values;
        for (const QString &value : row)
            values << sqlValue(value);
        statements << u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table, columns, values.join(u", "_s));
    }
    m_db->execute(statements);
}

void TestSuiteLookups::bankCodeItems_data()
{
    QTest::addColumn<QList<QStringList>>("banks");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("empty") << QList<QStringList>() << QStringList();
    QTest::newRow("padded to five") << QList<QStringList>{{u"MNB"_s, u"Magyar Nemzeti Bank"_s}}
                                    << QStringList{u"MNB   - Magyar Nemzeti Bank"_s};
    QTest::newRow("five characters") << QList<QStringList>{{u"ERSTE"_s, u"Erste Bank"_s}}
                                     << QStringList{u"ERSTE - Erste Bank"_s};
    QTest::newRow("longer kept whole") << QList<QStringList>{{u"RAIFFEISEN"_s, u"Raiffeisen Bank"_s}}
                                       << QStringList{u"RAIFFEISEN - Raiffeisen Bank"_s};
    QTest::newRow("one character") << QList<QStringList>{{u"K"_s, u"K&H"_s}} << QStringList{u"K     - K&H"_s};
    QTest::newRow("blanks removed") << QList<QStringList>{{u"OTP  "_s, u"  Országos TakarékPénztár  "_s}}
                                    << QStringList{u"OTP   - Országos TakarékPénztár"_s};
    QTest::newRow("no name") << QList<QStringList>{{u"CIB"_s, QString()}} << QStringList{u"CIB   - "_s};
    QTest::newRow("in code order") << QList<QStringList>{{u"OTP"_s, u"Országos TakarékPénztár"_s},
                                                         {u"CIB"_s, u"CIB Bank"_s},
                                                         {u"MNB"_s, u"Magyar Nemzeti Bank"_s}}
                                   << QStringList{u"CIB   - CIB Bank"_s, u"MNB   - Magyar Nemzeti Bank"_s,
                                                  u"OTP   - Országos TakarékPénztár"_s};
}

void TestSuiteLookups::bankCodeItems()
{
    QFETCH(QList<QStringList>, banks);
    QFETCH(QStringList, items);

    fill(u"VHELY"_s, u"KOD, NEV"_s, banks);
    const QStringList read = ::bankCodeItems(*m_connection);
    QCOMPARE(read, items);
    // The writers get back the code the item was made from, cut to five.
    QStringList codes;
    for (const QStringList &bank : banks)
        codes << bank[0].trimmed().left(5);
    QStringList recovered;
    for (const QString &item : read)
        recovered << ::bankCodeOfItem(item);
    QCOMPARE(sorted(recovered), sorted(codes));
}

void TestSuiteLookups::bankCodeOfItem_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("code");

    QTest::newRow("padded") << u"MNB   - Magyar Nemzeti Bank"_s << u"MNB"_s;
    QTest::newRow("five") << u"ERSTE - Erste Bank"_s << u"ERSTE"_s;
    QTest::newRow("longer, cut to five") << u"RAIFFEISEN - Raiffeisen Bank"_s << u"RAIFF"_s;
    QTest::newRow("leading blank") << u" OTP  - Országos TakarékPénztár"_s << u"OTP"_s;
    QTest::newRow("short text") << u"AB"_s << u"AB"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestSuiteLookups::bankCodeOfItem()
{
    QFETCH(QString, item);
    QFETCH(QString, code);
    QCOMPARE(::bankCodeOfItem(item), code);
}

void TestSuiteLookups::historyCurrencies_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("empty") << QStringList() << QStringList();
    QTest::newRow("forint left out") << QStringList{u"HUF"_s, u"huf"_s, u"Huf"_s, u"EUR"_s} << QStringList{u"EUR"_s};
    QTest::newRow("upper-cased") << QStringList{u"eur"_s, u"Usd"_s} << QStringList{u"USD"_s, u"EUR"_s};
    QTest::newRow("only three characters")
        << QStringList{u"EU"_s, u"EURO"_s, u"X"_s, u"GBP"_s, u"CHF  "_s} << QStringList{u"GBP"_s};
    // As the database orders them: capitals before small letters.
    QTest::newRow("in code order") << QStringList{u"usd"_s, u"JPY"_s, u"CHF"_s, u"aud"_s}
                                   << QStringList{u"CHF"_s, u"JPY"_s, u"AUD"_s, u"USD"_s};
}

void TestSuiteLookups::historyCurrencies()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, listed);

    QList<QStringList> rows;
    for (const QString &code : stored)
        rows << QStringList{code, code.toLower(), u"2"_s};
    fill(u"DEVIZA"_s, u"KOD, NEV, TIZ"_s, rows);
    QCOMPARE(::historyCurrencies(*m_connection), listed);
}

void TestSuiteLookups::existingCurrenciesAreAsStored()
{
    const QStringList stored{u"EUR"_s, u"usd"_s, u"CHF  "_s, u" GBP"_s, u"EURO"_s, u"HUF"_s};
    QList<QStringList> rows;
    for (const QString &code : stored)
        rows << QStringList{code, u"x"_s, u"2"_s};
    fill(u"DEVIZA"_s, u"KOD, NEV, TIZ"_s, rows);
    QCOMPARE(sorted(::existingCurrencies(*m_connection)), sorted(stored));
}

void TestSuiteLookups::bookCurrency_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("book");

    QTest::newRow("no row") << QStringList() << u"HUF"_s;
    QTest::newRow("euro") << QStringList{u"EUR"_s} << u"EUR"_s;
    QTest::newRow("blank-padded") << QStringList{u"EUR  "_s} << u"EUR"_s;
    QTest::newRow("leading blanks") << QStringList{u"  USD"_s} << u"USD"_s;
    QTest::newRow("empty") << QStringList{u""_s} << u"HUF"_s;
    QTest::newRow("blanks") << QStringList{u"     "_s} << u"HUF"_s;
    QTest::newRow("NULL") << QStringList{QString()} << u"HUF"_s;
    QTest::newRow("forint") << QStringList{u"HUF"_s} << u"HUF"_s;
}

void TestSuiteLookups::bookCurrency()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, book);

    QList<QStringList> rows;
    for (const QString &code : stored)
        rows << QStringList{code};
    fill(u"CNFKOZOS"_s, u"KONYVDEV"_s, rows);
    QCOMPARE(::bookCurrency(*m_connection), book);
}

void TestSuiteLookups::ensureBank_data()
{
    QTest::addColumn<QList<QStringList>>("banks");
    QTest::addColumn<QList<QStringList>>("after");

    const QStringList mnb{u"MNB"_s, u"Magyar Nemzeti Bank"_s};
    QTest::newRow("empty table") << QList<QStringList>() << QList<QStringList>{mnb};
    QTest::newRow("already there") << QList<QStringList>{mnb} << QList<QStringList>{mnb};
    QTest::newRow("there under another name")
        << QList<QStringList>{{u"MNB"_s, u"Jegybank"_s}} << QList<QStringList>{{u"MNB"_s, u"Jegybank"_s}};
    // Rates may go under another code; only the fixed code itself counts.
    QTest::newRow("other codes only")
        << QList<QStringList>{{u"MNB2"_s, u"Másik"_s}, {u"mnb"_s, u"kisbetűs"_s}, {u"OTP"_s, u"OTP"_s}}
        << QList<QStringList>{mnb, {u"MNB2"_s, u"Másik"_s}, {u"OTP"_s, u"OTP"_s}, {u"mnb"_s, u"kisbetűs"_s}};
}

void TestSuiteLookups::ensureBank()
{
    QFETCH(QList<QStringList>, banks);
    QFETCH(QList<QStringList>, after);

    fill(u"VHELY"_s, u"KOD, NEV"_s, banks);
    m_connection->begin();
    ::ensureBank(*m_connection, u"MNB"_s, u"Magyar Nemzeti Bank"_s);
    // A second call, as the next run makes, adds nothing either.
    ::ensureBank(*m_connection, u"MNB"_s, u"Magyar Nemzeti Bank"_s);
    m_connection->commit();
    QCOMPARE(m_db->rows(u"SELECT KOD, NEV FROM VHELY ORDER BY KOD"_s), after);
}

void TestSuiteLookups::textIsDataNeverSql_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");

    QTest::newRow("quotes") << u"E'R"_s << u"O'Brien's \"bank\""_s;
    QTest::newRow("accents") << u"ŐŰÉ"_s << u"Árvíztűrő tükörfúrógép – Őrző Űrbank"_s;
    QTest::newRow("euro sign") << u"€UR"_s << u"€ – euró"_s;
    QTest::newRow("statement end and comment") << u"X;--"_s << u"x'); DELETE FROM VHELY; --"_s;
    QTest::newRow("parameter-like") << u":kod"_s << u":nev, :kod"_s;
    QTest::newRow("blanks kept") << u" A B "_s << u"  két  szó  "_s;
}

// Whatever the text holds, it is stored as given and read back unchanged.
void TestSuiteLookups::textIsDataNeverSql()
{
    QFETCH(QString, code);
    QFETCH(QString, name);

    fill(u"VHELY"_s, u"KOD, NEV"_s, {{u"MNB"_s, u"Magyar Nemzeti Bank"_s}});
    m_connection->begin();
    ::insertCurrency(*m_connection, code, name);
    ::ensureBank(*m_connection, code, name);
    // Found by its own text: not inserted again.
    ::ensureBank(*m_connection, code, name);
    m_connection->commit();

    QCOMPARE(m_db->rows(u"SELECT KOD, NEV, TIZ FROM DEVIZA"_s), (QList<QStringList>{{code, name, u"2"_s}}));
    QCOMPARE(m_db->rows(u"SELECT KOD, NEV FROM VHELY WHERE KOD <> 'MNB'"_s), (QList<QStringList>{{code, name}}));
    QCOMPARE(m_db->rows(u"SELECT COUNT(*) FROM VHELY"_s), QList<QStringList>{{u"2"_s}});
    QCOMPARE(::existingCurrencies(*m_connection), QStringList{code});
    QVERIFY(::bankCodeItems(*m_connection).contains(code.trimmed().leftJustified(5, u' ') + u" - "_s + name.trimmed()));
    // One character a byte, as WIN1250 keeps it.
    QCOMPARE(m_db->rows(u"SELECT OCTET_LENGTH(KOD), OCTET_LENGTH(NEV) FROM DEVIZA"_s),
             (QList<QStringList>{{QString::number(code.size()), QString::number(name.size())}}));
}

void TestSuiteLookups::textThatCannotBeStored_data()
{
    QTest::addColumn<bool>("bank");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");

    QTest::newRow("Cyrillic name") << false << u"RUB"_s << u"Российский рубль"_s;
    QTest::newRow("Greek code") << false << u"ΔΡΧ"_s << u"drachma"_s;
    QTest::newRow("CJK bank name") << true << u"BOC"_s << u"中国银行"_s;
    QTest::newRow("emoji in a bank code") << true << u"🏦"_s << u"bank"_s;
    QTest::newRow("currency code too long") << false << u"EURÓPA"_s << u"euró"_s;
    QTest::newRow("bank code too long") << true << u"RAIFFEISEN1"_s << u"Raiffeisen"_s;
    QTest::newRow("currency name too long") << false << u"EUR"_s << QString(41, u'é');
    QTest::newRow("bank name too long") << true << u"OTP"_s << QString(61, u'ő');
}

// Nothing is cut or replaced without a word: the statement fails, and the
// transaction's rollback leaves no row.
void TestSuiteLookups::textThatCannotBeStored()
{
    QFETCH(bool, bank);
    QFETCH(QString, code);
    QFETCH(QString, name);

    m_connection->begin();
    if (bank)
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ::ensureBank(*m_connection, code, name));
    else
        QVERIFY_THROWS_EXCEPTION(DatabaseError, ::insertCurrency(*m_connection, code, name));
    m_connection->rollback();
    QVERIFY(m_db->rows(u"SELECT * FROM DEVIZA"_s).isEmpty());
    QVERIFY(m_db->rows(u"SELECT * FROM VHELY"_s).isEmpty());
}

QTEST_GUILESS_MAIN(TestSuiteLookups)
#include "TestSuiteLookups.moc"
