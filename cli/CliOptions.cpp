#include "cli/CliOptions.h"

#include "startup/Formats.h"
#include "startup/w32Utils.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <array>

using namespace Qt::StringLiterals;

const QString CliUsageText = uR"(Használat: arfolyam-cli [kapcsolók]

Árfolyamok lekérdezése a Magyar Nemzeti Banktól vagy az OTP Banktól, ablak nélkül:
ütemezett futtatáshoz, időszakok pótlásához, vagy hogy megnézze, mit ad a forrás.

Forrás:
  /b<kód>            bank: MNB (alapértelmezés) vagy OTP (a BB, CITI, KHB, MKB is OTP Bank)
  /ct<n>             OTP Bank árfolyam-típusa: 0 Deviza (alapértelmezés), 1 Valuta, 2 Csekk
  /middle            csak a középárfolyam használata
  /input<fájl>       hálózat helyett mentett válaszból olvas: OTP Bank CSV-táblázata,
                     illetve a jegybank árfolyam-dokumentuma vagy teljes SOAP-válasza
  /history           visszamenőleges lekérdezés a jegybanktól
  /from<éééé.hh.nn>  az időszak első napja (alapértelmezés: a /to évének első napja)
  /to<éééé.hh.nn>    az időszak utolsó napja (alapértelmezés a mai nap)
  /curr<EUR,USD,...> a lekérdezett devizanemek, vesszővel elválasztva
  /show              lekérdezi és kiírja az árfolyamokat, adatbázishoz nem nyúl

Adatbázis:
  /d<útvonal>  /server<gép>  /u<felhasználó>  /p<jelszó>
  /suitecode<kód>    a bank kódja a Belmora rendszerében (alapértelmezés: MNB vagy OTP)
  /offset<n>         dátumképzés: -2, -1, 0 (alapértelmezés), 1 vagy 2 nap eltolás
  /cross  /reversed  /createcurrency

Egyéb:
  /settings<fájl>    beállítások fájlja (alapértelmezés: arfolyam.ini a program mellett)
  /help, /?          ez a súgó

Kilépési kód: 0 sikeres futás, 1 hiba történt, 2 hibás parancssor.
)"_s;

namespace {
// Switches whose value is glued to their name, longest first where one name
// begins with another's letters.
const std::array<QString, 13> PrefixSwitches = {
    u"/server"_s, u"/settings"_s, u"/suitecode"_s, u"/offset"_s, u"/input"_s, u"/from"_s, u"/curr"_s,
    u"/ct"_s,     u"/to"_s,       u"/d"_s,         u"/u"_s,      u"/p"_s,     u"/b"_s,
};
const std::array<QString, 10> ExactSwitches = {
    u"/silent"_s, u"/crossenabled"_s, u"/createcurrency"_s, u"/middle"_s, u"/cross"_s, u"/reversed"_s,
    u"/history"_s, u"/show"_s, u"/help"_s, u"/?"_s,
};

bool isKnown(const QString &arg)
{
    for (const QString &name : ExactSwitches) {
        if (AsciiEqualsIgnoreCase(arg, name))
            return true;
    }
    for (const QString &name : PrefixSwitches) {
        if (arg.size() >= name.size() && AsciiEqualsIgnoreCase(QStringView(arg).left(name.size()), name))
            return true;
    }
    return false;
}

// A path given apart from its switch would be read as another switch.
UsageError missingFileName(const QString &name, const QString &example)
{
    return {u"A %1 kapcsoló után szóköz nélkül adja meg a fájl nevét, például %1%2."_s.arg(name, example)};
}

UsageError badValue(const QString &name, const QString &value, const QString &expected)
{
    return {u"Érvénytelen érték: %1%2 (%3)."_s.arg(name, value, expected)};
}
} // namespace

std::variant<CliOptions, UsageError> ParseCliOptions(const QStringList &args, const QString &defaultSettingsPath,
                                                     const QDate &today)
{
    for (const QString &arg : args) {
        if (!arg.startsWith(u'/'))
            return UsageError{u"Váratlan argumentum: %1. A kapcsolók értéke a kapcsoló nevéhez tapad, például "
                              u"/inputvalasz.xml."_s.arg(arg)};
        if (!isKnown(arg))
            return UsageError{u"Ismeretlen kapcsoló: %1. A /help kiírja a kapcsolókat."_s.arg(arg)};
    }

    CliOptions o;
    o.help = HasSwitch(args, u"/help"_s) || HasSwitch(args, u"/?"_s);
    if (o.help)
        return o;

    StartupSettings &s = o.startup;
    s.Silent = true;
    s.Server = GetParamValue(args, u"/server"_s);
    s.Database = GetParamValue(args, u"/d"_s);
    s.UserName = GetParamValue(args, u"/u"_s);
    s.Password = GetParamValue(args, u"/p"_s);
    if (s.UserName.isEmpty())
        s.UserName = DefaultUserName;
    if (s.Password.isEmpty())
        s.Password = DefaultPassword;
    s.CreateMissingCurrencies = HasSwitch(args, u"/createcurrency"_s);
    s.OnlyMiddleRate = HasSwitch(args, u"/middle"_s);
    s.CreateCrossRates = HasSwitch(args, u"/cross"_s);
    s.CrossRatesEnabled = s.CreateCrossRates;
    s.CreateReversedRates = HasSwitch(args, u"/reversed"_s);

    if (FindParamByPrefix(args, u"/b"_s)) {
        const QString code = GetParamValue(args, u"/b"_s);
        const auto bank = BankIndexOfSwitchCode(code);
        if (!bank)
            return badValue(u"/b"_s, code, u"MNB, OTP, BB, CITI, KHB vagy MKB"_s);
        s.BankIndex = *bank;
    }
    if (FindParamByPrefix(args, u"/ct"_s)) {
        const QString type = GetParamValue(args, u"/ct"_s);
        if (type.size() != 1 || type[0] < u'0' || type[0] > u'3')
            return badValue(u"/ct"_s, type, u"0, 1, 2 vagy 3"_s);
        s.RateTypeIndex = type[0].unicode() - u'0';
    }
    if (FindParamByPrefix(args, u"/offset"_s)) {
        const QString offset = GetParamValue(args, u"/offset"_s);
        static const QStringList allowed = {u"-2"_s, u"-1"_s, u"0"_s, u"1"_s, u"+1"_s, u"2"_s, u"+2"_s};
        if (!allowed.contains(offset))
            return badValue(u"/offset"_s, offset, u"-2, -1, 0, 1 vagy 2"_s);
        o.dayOffset = offset.toInt();
    }

    o.settingsPath = defaultSettingsPath;
    if (FindParamByPrefix(args, u"/settings"_s)) {
        o.settingsPath = GetParamValue(args, u"/settings"_s);
        if (o.settingsPath.isEmpty())
            return missingFileName(u"/settings"_s, u"arfolyam.ini"_s);
        if (!QFileInfo(o.settingsPath).isFile())
            return UsageError{u"A megadott beállításfájl nem létezik: %1"_s.arg(o.settingsPath)};
    }
    if (FindParamByPrefix(args, u"/input"_s)) {
        o.inputPath = GetParamValue(args, u"/input"_s);
        if (o.inputPath.isEmpty())
            return missingFileName(u"/input"_s, u"valasz.xml"_s);
        if (!QFileInfo(o.inputPath).isFile())
            return UsageError{u"A megadott bemeneti fájl nem létezik: %1"_s.arg(o.inputPath)};
    }
    o.suiteCode = GetParamValue(args, u"/suitecode"_s).trimmed();
    o.show = HasSwitch(args, u"/show"_s);

    o.history = HasSwitch(args, u"/history"_s);
    o.to = today;
    o.from = QDate();
    for (auto [name, date] : {std::pair{u"/from"_s, &o.from}, std::pair{u"/to"_s, &o.to}}) {
        if (!FindParamByPrefix(args, name))
            continue;
        const QString text = GetParamValue(args, name);
        const auto parsed = ReadShortDate(text);
        if (!parsed || text.size() != 10)
            return badValue(name, text, u"dátum éééé.hh.nn alakban"_s);
        *date = *parsed;
    }
    // A period lies within one year: by default the one it ends in.
    if (!o.from.isValid())
        o.from = QDate(o.to.year(), 1, 1);
    if (FindParamByPrefix(args, u"/curr"_s)) {
        const QString list = GetParamValue(args, u"/curr"_s);
        static const QRegularExpression code(u"^[A-Za-z]{3}$"_s);
        for (const QString &c : list.split(u',')) {
            if (!code.match(c).hasMatch())
                return badValue(u"/curr"_s, list, u"hárombetűs devizakódok vesszővel elválasztva"_s);
            o.currencies << c.toUpper();
        }
    }
    if (!o.history && (FindParamByPrefix(args, u"/from"_s) || FindParamByPrefix(args, u"/to"_s)
                       || FindParamByPrefix(args, u"/curr"_s)))
        return UsageError{u"A /from, /to és /curr csak a /history kapcsolóval együtt használható."_s};
    if (o.history && s.BankIndex != 0)
        return UsageError{u"Visszamenőleges lekérdezést csak a Magyar Nemzeti Bank ad (/bMNB)."_s};
    if (o.history && !o.inputPath.isEmpty())
        return UsageError{u"A /history és az /input együtt nem használható."_s};
    if (!o.show)
        return UsageError{u"Az adatbázisba írás ebben a változatban még nem érhető el; a /show kapcsolóval "
                          u"megnézheti a forrás árfolyamait."_s};
    return o;
}
