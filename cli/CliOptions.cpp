#include "cli/CliOptions.h"

#include "startup/Formats.h"
#include "startup/Switches.h"

using namespace Qt::StringLiterals;

const QString CliUsageText = uR"(Használat: arfolyam-cli [kapcsolók]

Árfolyamok lekérdezése a Magyar Nemzeti Banktól vagy az OTP Banktól és beírásuk a Belmora
adatbázisába, ablak nélkül: ütemezett futtatáshoz, időszakok pótlásához, vagy (/show) hogy
megnézze, mit ad a forrás.

Forrás:
  /b<kód>            bank: MNB (alapértelmezés) vagy OTP (a BB, CITI, KHB, MKB is OTP Bank)
  /ct<n>             OTP Bank árfolyam-típusa: 0 Deviza (alapértelmezés), 1 Valuta, 2 Csekk
  /middle            csak a középárfolyam használata
  /input<fájl>       hálózat helyett mentett válaszból olvas: OTP Bank CSV-táblázata,
                     illetve a jegybank árfolyam-dokumentuma vagy teljes SOAP-válasza
  /history           visszamenőleges lekérdezés a jegybanktól
  /from<éééé.hh.nn>  az időszak első napja (alapértelmezés: a /to évének első napja)
  /to<éééé.hh.nn>    az időszak utolsó napja (alapértelmezés a mai nap)
  /curr<EUR,USD,...> a lekérdezett devizanemek, vesszővel elválasztva (alapértelmezés:
                     az adatbázis devizanemei, a forint kivételével)
  /show              lekérdezi és kiírja az árfolyamokat, adatbázishoz nem nyúl

Adatbázis:
  /d<útvonal>        az adatbázis (helyi fájl, vagy /server mellett az útvonal a szerveren)
  /server<gép>  /u<felhasználó>  /p<jelszó>
  /suitecode<kód>    a bank kódja a Belmora rendszerében (alapértelmezés: MNB vagy OTP)
  /offset<n>         dátumképzés: -2, -1, 0 (alapértelmezés), 1 vagy 2 nap eltolás
  /cross  /reversed  /createcurrency
                     keresztárfolyamok, fordított árfolyamok, hiányzó devizanemek létrehozása

Egyéb:
  /settings<fájl>    beállítások fájlja (alapértelmezés: arfolyam.ini a program mellett)
  /help, /?          ez a súgó

Kilépési kód: 0 sikeres futás, 1 hiba történt, 2 hibás parancssor.
)"_s;

std::variant<CliOptions, UsageError> parseCliOptions(const QStringList &args, const QString &defaultSettingsPath,
                                                     const QDate &today)
{
    for (const QString &arg : args) {
        if (!arg.startsWith(u'/'))
            return UsageError{u"Váratlan argumentum: %1. A kapcsolók értéke a kapcsoló nevéhez tapad, például "
                              u"/inputvalasz.xml."_s.arg(arg)};
        if (!switchOf(arg))
            return UsageError{u"Ismeretlen kapcsoló: %1. A /help kiírja a kapcsolókat."_s.arg(arg)};
    }

    const CommandLine line = readCommandLine(args, SwitchReader::Runner);
    CliOptions o;
    o.help = line.help;
    if (o.help)
        return o;
    if (const std::optional<QString> bad = firstBadValue(line))
        return UsageError{*bad};

    StartupSettings &s = o.startup;
    s.silent = true;
    s.server = line.server.value_or(QString());
    s.database = line.database.value_or(QString());
    s.userName = line.userName.value_or(QString());
    s.password = line.password.value_or(QString());
    if (s.userName.isEmpty())
        s.userName = DefaultUserName;
    if (s.password.isEmpty())
        s.password = DefaultPassword;
    s.createMissingCurrencies = line.createCurrency;
    s.onlyMiddleRate = line.middle;
    s.createCrossRates = line.cross;
    s.crossRatesEnabled = line.cross;
    s.createReversedRates = line.reversed;
    if (line.bank)
        s.bankIndex = *bankIndexOfSwitchCode(*line.bank);
    if (line.rateType)
        s.rateTypeIndex = *rateTypeOfSwitchValue(*line.rateType);
    if (line.offset)
        o.dayOffset = *dayOffsetOfSwitchValue(*line.offset);

    o.settingsPath = line.settings.value_or(defaultSettingsPath);
    o.settingsNamed = line.settings.has_value();
    o.inputPath = line.input.value_or(QString());
    o.suiteCode = line.suiteCode.value_or(QString()).trimmed();
    o.show = line.show;

    o.history = line.history;
    // The history page's checks judge the dates, with its own messages. A
    // period lies within one year: by default the one it ends in.
    o.toText = line.to.value_or(formatShortDate(DateTime::fromDate(today)));
    const int year = readShortDate(o.toText).value_or(today).year();
    o.fromText = line.from.value_or(formatShortDate(DateTime::fromDate(QDate(year, 1, 1))));
    if (line.currencies) {
        for (const QString &code : line.currencies->split(u','))
            o.currencies << code.toUpper();
    }
    if (!o.history && (line.from || line.to || line.currencies))
        return UsageError{u"A /from, /to és /curr csak a /history kapcsolóval együtt használható."_s};
    if (o.history && s.bankIndex != 0)
        return UsageError{u"Visszamenőleges lekérdezést csak a Magyar Nemzeti Bank ad (/bMNB)."_s};
    if (o.history && line.input)
        return UsageError{u"A /history és az /input együtt nem használható."_s};
    if (!o.show && !line.database)
        return UsageError{u"Az importáláshoz adja meg a Belmora adatbázisát a /d kapcsolóval (például "
                          u"/dC:\\BELMORA\\ADAT.FDB), vagy a /show kapcsolóval csak nézze meg az árfolyamokat."_s};
    return o;
}
