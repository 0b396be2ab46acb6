#pragma once

#include "startup/StartupSettings.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <variant>

// The headless runner's command line: the wizard's switches with their
// unattended meaning, and its own.
struct CliOptions {
    StartupSettings startup; // Silent is on: the run is unattended
    QString settingsPath;
    int dayOffset = 0;
    QString suiteCode;       // empty: the bank's own code
    bool history = false;
    QDate from;
    QDate to;
    QStringList currencies;  // empty: what the suite's database lists
    QString inputPath;
    bool show = false;
    bool help = false;
};

struct UsageError {
    QString message;
};

// today fills the default end of a history period.
std::variant<CliOptions, UsageError> ParseCliOptions(const QStringList &args, const QString &defaultSettingsPath,
                                                     const QDate &today);

extern const QString CliUsageText;
