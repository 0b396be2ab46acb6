#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the suite's switches ask for; filled once at start-up, read-only after.
struct StartupSettings {
    QString Server;
    QString Database;
    QString UserName;
    QString Password;
    bool Silent = false;
    bool CreateMissingCurrencies = false;
    bool OnlyMiddleRate = false;
    bool CrossRatesEnabled = false;
    bool CreateCrossRates = false;
    bool CreateReversedRates = false;
    int BankIndex = 0;
    int RateTypeIndex = 0;
};

inline const QString DefaultUserName = QStringLiteral("SYSDBA");
inline const QString DefaultPassword = QStringLiteral("vorpalex");

// args: the process arguments after the program path.
StartupSettings ReadStartupSettings(const QStringList &args);

// Bank index of a "/b" code, compared after upper-casing; none for a code
// the table does not know.
std::optional<int> BankIndexOfSwitchCode(const QString &code);

// The text of the box shown when a local database file is missing, or none
// when the start may go on (a server database, or no "/d" at all).
std::optional<QString> MissingDatabaseMessage(const StartupSettings &settings, bool databaseSwitchGiven);

inline const QString MissingDatabaseCaption = QStringLiteral("Belmora Árfolyamlekérdező - Hiba");
inline const QString ApplicationTitle = QStringLiteral("Belmora Árfolyamlekérdező 2022");

// The user's temporary folder with one trailing separator.
QString TemporaryDirectory();
