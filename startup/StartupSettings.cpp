#include "startup/StartupSettings.h"

#include "startup/Switches.h"
#include "startup/TextHelpers.h"

#include <QDir>
#include <QFileInfo>

StartupSettings readStartupSettings(const QStringList &args)
{
    StartupSettings s;
    const CommandLine line = readCommandLine(args, SwitchReader::Wizard);
    if (!line.database)
        return s;

    s.server = line.server.value_or(QString());
    s.database = *line.database;
    s.userName = line.userName.value_or(QString());
    s.password = line.password.value_or(QString());
    s.silent = line.silent;
    if (s.userName.isEmpty())
        s.userName = DefaultUserName;
    if (s.password.isEmpty())
        s.password = DefaultPassword;

    if (s.silent) {
        s.createMissingCurrencies = line.createCurrency;
        s.onlyMiddleRate = line.middle;
        s.bankIndex = bankIndexOfSwitchCode(line.bank.value_or(QString())).value_or(0);
        if (const auto rateType = rateTypeOfSwitchValue(line.rateType.value_or(QString())))
            s.rateTypeIndex = *rateType;
        s.createCrossRates = line.cross;
        s.crossRatesEnabled = line.cross;
        s.createReversedRates = line.reversed;
    } else {
        s.bankIndex = -1;
        s.rateTypeIndex = -1;
        s.crossRatesEnabled = line.crossEnabled;
    }
    return s;
}

std::optional<QString> missingDatabaseMessage(const StartupSettings &settings, bool databaseSwitchGiven)
{
    if (!databaseSwitchGiven || !settings.server.isEmpty())
        return std::nullopt;
    // An empty path or a folder is no database file either.
    if (!settings.database.isEmpty() && QFileInfo(settings.database).isFile())
        return std::nullopt;
    return QStringLiteral("A megadott adatbázis nem létezik!\r\n\n") + settings.database;
}

QString temporaryDirectory()
{
    // Qt gives no path for a TMPDIR that does not exist yet; the download
    // creates the folder, so the path itself is what counts.
    QString dir = QDir::tempPath();
    if (dir.isEmpty())
        dir = QDir::fromNativeSeparators(qEnvironmentVariable("TMPDIR"));
    if (dir.isEmpty())
        dir = QStringLiteral("/tmp");
    return withTrailingChar(dir, u'/');
}
