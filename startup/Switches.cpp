#include "startup/Switches.h"

#include "startup/TextHelpers.h"

#include <QRegularExpression>
#include <array>

using namespace Qt::StringLiterals;

namespace {

std::optional<QString> badValue(QStringView name, const QString &value, const QString &expected)
{
    return u"Érvénytelen érték: %1%2 (%3)."_s.arg(name, value, expected);
}

std::optional<QString> checkBank(QStringView name, const QString &value)
{
    if (bankIndexOfSwitchCode(value))
        return std::nullopt;
    return badValue(name, value, u"MNB, OTP, BB, CITI, KHB vagy MKB"_s);
}

std::optional<QString> checkRateType(QStringView name, const QString &value)
{
    if (rateTypeOfSwitchValue(value))
        return std::nullopt;
    return badValue(name, value, u"0, 1, 2 vagy 3"_s);
}

std::optional<QString> checkOffset(QStringView name, const QString &value)
{
    if (dayOffsetOfSwitchValue(value))
        return std::nullopt;
    return badValue(name, value, u"-2, -1, 0, 1 vagy 2"_s);
}

std::optional<QString> checkCurrencies(QStringView name, const QString &value)
{
    static const QRegularExpression code(u"^[A-Za-z]{3}$"_s);
    for (const QString &c : value.split(u',')) {
        if (!code.match(c).hasMatch())
            return badValue(name, value, u"hárombetűs devizakódok vesszővel elválasztva"_s);
    }
    return std::nullopt;
}

// A path given apart from its switch would be read as another switch.
std::optional<QString> checkFileName(QStringView name, const QString &value)
{
    if (!value.isEmpty())
        return std::nullopt;
    const QString example = name == u"/settings" ? u"arfolyam.ini"_s : u"valasz.xml"_s;
    return u"A %1 kapcsoló után szóköz nélkül adja meg a fájl nevét, például %1%2."_s.arg(name, example);
}

using L = CommandLine;
constexpr auto Prefix = SwitchMatch::Prefix;
constexpr auto Exact = SwitchMatch::Exact;
constexpr bool Both = false;
constexpr bool Runner = true;

// No name begins with a prefix switch's name, so that no switch can be taken
// for another.
const std::array<SwitchSpec, 23> Switches = {{
    {u"/d", Prefix, Both, &L::database},
    {u"/server", Prefix, Both, &L::server},
    {u"/u", Prefix, Both, &L::userName},
    {u"/p", Prefix, Both, &L::password},
    {u"/silent", Exact, Both, nullptr, &L::silent},
    {u"/createcurrency", Exact, Both, nullptr, &L::createCurrency},
    {u"/middle", Exact, Both, nullptr, &L::middle},
    {u"/b", Prefix, Both, &L::bank, nullptr, checkBank},
    {u"/ct", Prefix, Both, &L::rateType, nullptr, checkRateType},
    {u"/cross", Exact, Both, nullptr, &L::cross},
    {u"/reversed", Exact, Both, nullptr, &L::reversed},
    {u"/crossenabled", Exact, Both, nullptr, &L::crossEnabled},
    {u"/settings", Prefix, Runner, &L::settings, nullptr, checkFileName},
    {u"/offset", Prefix, Runner, &L::offset, nullptr, checkOffset},
    {u"/suitecode", Prefix, Runner, &L::suiteCode},
    {u"/history", Exact, Runner, nullptr, &L::history},
    {u"/from", Prefix, Runner, &L::from},
    {u"/to", Prefix, Runner, &L::to},
    {u"/curr", Prefix, Runner, &L::currencies, nullptr, checkCurrencies},
    {u"/input", Prefix, Runner, &L::input, nullptr, checkFileName},
    {u"/show", Exact, Runner, nullptr, &L::show},
    {u"/help", Exact, Runner, nullptr, &L::help},
    {u"/?", Exact, Runner, nullptr, &L::help},
}};

bool beginsWith(QStringView argument, QStringView prefix)
{
    return argument.size() >= prefix.size() && asciiEqualsIgnoreCase(argument.left(prefix.size()), prefix);
}

} // namespace

std::span<const SwitchSpec> switchTable()
{
    return Switches;
}

const SwitchSpec *switchOf(QStringView argument)
{
    for (const SwitchSpec &spec : Switches) {
        const bool matches = spec.match == SwitchMatch::Prefix ? beginsWith(argument, spec.name)
                                                               : asciiEqualsIgnoreCase(argument, spec.name);
        if (matches)
            return &spec;
    }
    return nullptr;
}

CommandLine readCommandLine(const QStringList &args, SwitchReader reader)
{
    CommandLine line;
    for (const SwitchSpec &spec : Switches) {
        if (reader == SwitchReader::Wizard && spec.runnerOnly)
            continue;
        if (spec.match == SwitchMatch::Exact) {
            line.*spec.flag = line.*spec.flag || hasSwitch(args, spec.name);
        } else if (findParamByPrefix(args, spec.name) != 0) {
            line.*spec.text = getParamValue(args, spec.name);
        }
    }
    return line;
}

std::optional<QString> firstBadValue(const CommandLine &line)
{
    for (const SwitchSpec &spec : Switches) {
        if (!spec.check || !spec.text)
            continue;
        if (const std::optional<QString> &value = line.*spec.text) {
            if (std::optional<QString> message = spec.check(spec.name, *value))
                return message;
        }
    }
    return std::nullopt;
}

std::optional<int> bankIndexOfSwitchCode(const QString &code)
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

std::optional<int> rateTypeOfSwitchValue(const QString &value)
{
    if (value.size() == 1 && value[0] >= u'0' && value[0] <= u'3')
        return value[0].unicode() - u'0';
    return std::nullopt;
}

std::optional<int> dayOffsetOfSwitchValue(const QString &value)
{
    static const QStringList allowed = {u"-2"_s, u"-1"_s, u"0"_s, u"1"_s, u"+1"_s, u"2"_s, u"+2"_s};
    if (!allowed.contains(value))
        return std::nullopt;
    return value.toInt();
}

int findParamByPrefix(const QStringList &args, QStringView prefix)
{
    for (int i = 0; i < args.size(); ++i) {
        if (beginsWith(args[i], prefix))
            return i + 1;
    }
    return 0;
}

QString getParamValue(const QStringList &args, QStringView prefix)
{
    const int number = findParamByPrefix(args, prefix);
    if (number == 0)
        return {};
    return args[number - 1].mid(prefix.size());
}

bool hasSwitch(const QStringList &args, QStringView name)
{
    for (const QString &arg : args) {
        if (asciiEqualsIgnoreCase(arg, name))
            return true;
    }
    return false;
}
