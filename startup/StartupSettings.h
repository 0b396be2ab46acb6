#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the suite's switches ask for; filled once at start-up, read-only after.
struct StartupSettings {
    QString server;
    QString database;
    QString userName;
    QString password;
    bool silent = false;
    bool createMissingCurrencies = false;
    bool onlyMiddleRate = false;
    bool crossRatesEnabled = false;
    bool createCrossRates = false;
    bool createReversedRates = false;
    int bankIndex = 0;
    int rateTypeIndex = 0;
};

inline const QString DefaultUserName = QStringLiteral("SYSDBA");
inline const QString DefaultPassword = QStringLiteral("vorpalex");

// args: the process arguments after the program path.
StartupSettings readStartupSettings(const QStringList &args);

// The text of the box shown when a local database file is missing, or none
// when the start may go on (a server database, or no "/d" at all).
std::optional<QString> missingDatabaseMessage(const StartupSettings &settings, bool databaseSwitchGiven);

inline const QString MissingDatabaseCaption = QStringLiteral("Belmora Árfolyamlekérdező - Hiba");
inline const QString ApplicationTitle = QStringLiteral("Belmora Árfolyamlekérdező 2022");

// The user's temporary folder with one trailing separator.
QString temporaryDirectory();
