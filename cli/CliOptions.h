#pragma once

#include "startup/StartupSettings.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <variant>

// The headless runner's command line: the wizard's switches with their
// unattended meaning, and its own.
struct CliOptions {
    StartupSettings startup; // silent is on: the run is unattended
    QString settingsPath;
    // Whether /settings named the file; the default one may be missing.
    bool settingsNamed = false;
    int dayOffset = 0;
    QString suiteCode; // empty: the bank's own code
    bool history = false;
    // The period as given, or its defaults; the history checks judge them.
    QString fromText;
    QString toText;
    QStringList currencies; // empty: what the suite's database lists
    QString inputPath;
    bool show = false;
    bool help = false;
};

struct UsageError {
    QString message;
};

// today fills the default end of a history period.
std::variant<CliOptions, UsageError> parseCliOptions(const QStringList &args, const QString &defaultSettingsPath,
                                                     const QDate &today);

extern const QString CliUsageText;
