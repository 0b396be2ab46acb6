#include "export/SuiteLookups.h"

#include "export/SuiteConnection.h"

#include <QVariant>

using namespace Qt::StringLiterals;

QStringList bankCodeItems(SuiteConnection &connection)
{
    QStringList items;
    for (const QVariantList &row :
         connection.rows(connection.statement(u"SELECT KOD, NEV FROM VHELY ORDER BY KOD"_s))) {
        const QString code = row[0].toString().trimmed();
        items << code.leftJustified(5, u' ') + u" - "_s + row[1].toString().trimmed();
    }
    return items;
}

QStringList historyCurrencies(SuiteConnection &connection)
{
    QStringList codes;
    for (const QVariantList &row : connection.rows(connection.statement(u"SELECT KOD FROM DEVIZA ORDER BY KOD"_s))) {
        const QString code = row[0].toString();
        if (code.toUpper() != u"HUF" && code.size() == 3)
            codes << code.toUpper();
    }
    return codes;
}

QString bankCodeOfItem(const QString &item)
{
    return item.left(5).trimmed();
}

QStringList existingCurrencies(SuiteConnection &connection)
{
    QStringList codes;
    for (const QVariantList &row : connection.rows(connection.statement(u"SELECT KOD FROM DEVIZA"_s)))
        codes << row[0].toString();
    return codes;
}

QString bookCurrency(SuiteConnection &connection)
{
    const QList<QVariantList> rows = connection.rows(connection.statement(u"SELECT KONYVDEV FROM CNFKOZOS"_s));
    // Blank-padded codes ("EUR  ") must still match the rates' codes.
    const QString code = rows.isEmpty() ? QString() : rows.first()[0].toString().trimmed();
    return code.isEmpty() ? u"HUF"_s : code;
}

void ensureBank(SuiteConnection &connection, const QString &code, const QString &name)
{
    QSqlQuery &count = connection.statement(u"SELECT COUNT(*) FROM VHELY WHERE KOD = :kod"_s);
    count.bindValue(u":kod"_s, code);
    const QList<QVariantList> rows = connection.rows(count);
    if (!rows.isEmpty() && rows.first()[0].toInt() > 0)
        return;
    QSqlQuery &insert = connection.statement(u"INSERT INTO VHELY (KOD,NEV) VALUES (:kod,:nev)"_s);
    insert.bindValue(u":kod"_s, code);
    insert.bindValue(u":nev"_s, name);
    connection.execute(insert);
}

void insertCurrency(SuiteConnection &connection, const QString &code, const QString &name)
{
    QSqlQuery &insert = connection.statement(u"INSERT INTO DEVIZA (KOD,NEV,TIZ) VALUES (:kod,:nev,2)"_s);
    insert.bindValue(u":kod"_s, code);
    insert.bindValue(u":nev"_s, name);
    connection.execute(insert);
}
