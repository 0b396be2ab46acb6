#include "startup/StartupSettings.h"

#include "startup/w32Utils.h"

#include <QDir>
#include <QFileInfo>

std::optional<int> BankIndexOfSwitchCode(const QString &code)
{
    const QString upper = code.toUpper();
    if (upper == u"MNB")
        return 0;
    for (const char16_t *c : {u"OTP", u"BB", u"CITI", u"KHB", u"MKB"}) {
        if (upper == QStringView(c))
            return 1;
    }
    return std::nullopt;
}

StartupSettings ReadStartupSettings(const QStringList &args)
{
    StartupSettings s;
    if (args.isEmpty() || FindParamByPrefix(args, QStringLiteral("/d")) == 0)
        return s;

    s.Server = GetParamValue(args, QStringLiteral("/server"));
    s.Database = GetParamValue(args, QStringLiteral("/d"));
    s.UserName = GetParamValue(args, QStringLiteral("/u"));
    s.Password = GetParamValue(args, QStringLiteral("/p"));
    s.Silent = HasSwitch(args, QStringLiteral("/silent"));
    if (s.UserName.isEmpty())
        s.UserName = DefaultUserName;
    if (s.Password.isEmpty())
        s.Password = DefaultPassword;

    if (s.Silent) {
        s.CreateMissingCurrencies = HasSwitch(args, QStringLiteral("/createcurrency"));
        s.OnlyMiddleRate = HasSwitch(args, QStringLiteral("/middle"));
        s.BankIndex = BankIndexOfSwitchCode(GetParamValue(args, QStringLiteral("/b"))).value_or(0);
        const QString rateType = GetParamValue(args, QStringLiteral("/ct"));
        if (rateType.size() == 1 && rateType[0] >= u'0' && rateType[0] <= u'3')
            s.RateTypeIndex = rateType[0].unicode() - u'0';
        s.CreateCrossRates = HasSwitch(args, QStringLiteral("/cross"));
        s.CrossRatesEnabled = s.CreateCrossRates;
        s.CreateReversedRates = HasSwitch(args, QStringLiteral("/reversed"));
    } else {
        s.BankIndex = -1;
        s.RateTypeIndex = -1;
        s.CrossRatesEnabled = HasSwitch(args, QStringLiteral("/crossenabled"));
    }
    return s;
}

std::optional<QString> MissingDatabaseMessage(const StartupSettings &settings, bool databaseSwitchGiven)
{
    if (!databaseSwitchGiven || !settings.Server.isEmpty())
        return std::nullopt;
    // An empty path or a folder is no database file either.
    if (!settings.Database.isEmpty() && QFileInfo(settings.Database).isFile())
        return std::nullopt;
    return QStringLiteral("A megadott adatbázis nem létezik!\r\n\n") + settings.Database;
}

QString TemporaryDirectory()
{
    // Qt gives no path for a TMPDIR that does not exist yet; the download
    // creates the folder, so the path itself is what counts.
    QString dir = QDir::tempPath();
    if (dir.isEmpty())
        dir = QDir::fromNativeSeparators(qEnvironmentVariable("TMPDIR"));
    if (dir.isEmpty())
        dir = QStringLiteral("/tmp");
    return WithTrailingChar(dir, u'/');
}
