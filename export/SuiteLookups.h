#pragma once

#include <QString>
#include <QStringList>

class SuiteConnection;

// What the program reads from the suite's database. Each throws
// DatabaseError when its statement fails.

// The bank-code list of the Welcome page: "SELECT KOD, NEV FROM VHELY ORDER
// BY KOD", each item the trimmed code padded to five characters, " - " and
// the trimmed name.
QStringList bankCodeItems(SuiteConnection &connection);

// The currencies of the history page, in code order: upper-cased, without
// HUF, only codes exactly three characters long as the database holds them.
QStringList historyCurrencies(SuiteConnection &connection);

// The suite's bank code an item of bankCodeItems() stands for: its first
// five characters, blanks removed.
QString bankCodeOfItem(const QString &item);

// "SELECT KOD FROM DEVIZA": the codes exactly as read, in the order returned.
QStringList existingCurrencies(SuiteConnection &connection);

// KONYVDEV of the first CNFKOZOS row, blanks removed; "HUF" when it is
// empty or there is no row.
QString bookCurrency(SuiteConnection &connection);

// Inserts the bank unless VHELY already holds its code.
void ensureBank(SuiteConnection &connection, const QString &code, const QString &name);

// INSERT INTO DEVIZA with TIZ 2.
void insertCurrency(SuiteConnection &connection, const QString &code, const QString &name);
