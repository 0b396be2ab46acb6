#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <span>

// Every switch the two programs take, in one table: the suite's switches,
// which the wizard and the headless runner read alike, and the runner's own.
// A value is glued to its switch's name; names match in any letter case of
// A to Z.

// What the command line says, switch by switch, before any default applies.
// A prefix switch that is absent has no value; one given bare has an empty
// one.
struct CommandLine {
    std::optional<QString> database;
    std::optional<QString> server;
    std::optional<QString> userName;
    std::optional<QString> password;
    std::optional<QString> bank;
    std::optional<QString> rateType;
    bool silent = false;
    bool createCurrency = false;
    bool middle = false;
    bool cross = false;
    bool reversed = false;
    bool crossEnabled = false;

    // The headless runner's own.
    std::optional<QString> settings;
    std::optional<QString> offset;
    std::optional<QString> suiteCode;
    std::optional<QString> from;
    std::optional<QString> to;
    std::optional<QString> currencies;
    std::optional<QString> input;
    bool history = false;
    bool show = false;
    bool help = false;
};

enum class SwitchMatch {
    // The first argument that begins with the name; the rest is the value.
    Prefix,
    // An argument equal to the name.
    Exact,
};

// The program that reads the command line: the wizard reads the suite's
// switches, the headless runner every switch of the table.
enum class SwitchReader { Wizard, Runner };

struct SwitchSpec {
    QStringView name;
    SwitchMatch match;
    bool runnerOnly;
    // Where the value goes: text for a prefix switch, flag for an exact one.
    std::optional<QString> CommandLine::*text = nullptr;
    bool CommandLine::*flag = nullptr;
    // The runner's usage message for a value that cannot be right; none when
    // it is. No check: every value goes.
    std::optional<QString> (*check)(QStringView name, const QString &value) = nullptr;
};

std::span<const SwitchSpec> switchTable();

// The switch an argument is; none when it is none of the table's.
const SwitchSpec *switchOf(QStringView argument);

// The switches of the table that reader takes, looked up in args (the
// process arguments after the program path).
CommandLine readCommandLine(const QStringList &args, SwitchReader reader);

// The usage message of the first given value whose check fails, in table
// order.
std::optional<QString> firstBadValue(const CommandLine &line);

// Bank index of a "/b" code, compared after upper-casing: 0 for "MNB", 1 for
// OTP Bank's codes; none for a code the table does not know.
std::optional<int> bankIndexOfSwitchCode(const QString &code);
// The rate-type index of a "/ct" value, exactly "0" to "3".
std::optional<int> rateTypeOfSwitchValue(const QString &value);
// The day offset of an "/offset" value, -2 to 2.
std::optional<int> dayOffsetOfSwitchValue(const QString &value);

// The lookups behind the table; argument numbers count from 1, 0 meaning
// none.
int findParamByPrefix(const QStringList &args, QStringView prefix);
QString getParamValue(const QStringList &args, QStringView prefix);
bool hasSwitch(const QStringList &args, QStringView name);
