#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What the program keeps in its settings file: the proxy for page downloads
// (written by hand, only read), the endpoints of the rate services, and per
// bank the currencies the user last ticked.

// The running executable's path with its extension replaced by ".ini".
QString settingsFilePath();

struct ProxySettings {
    bool basicAuthentication = false;
    QString proxyServer;
    int proxyPort = 0;
    QString proxyUsername;
    QString proxyPassword;
};

// Section "Proxy Settings"; the defaults when it holds no key.
ProxySettings readProxySettings(const QString &iniPath);

inline constexpr int DefaultMaxAnswerMiB = 16;
// Above this a whole answer held in memory would not leave room for reading it.
inline constexpr int MaxAnswerMiBLimit = 1024;

struct SourceSettings {
    QString mnbServiceUrl = QStringLiteral("http://www.mnb.hu/arfolyamok.asmx");
    QString otpBaseUrl = QStringLiteral("https://www.otpbank.hu");
    // Extra certificates trusted for HTTPS beside the system's; empty for none.
    QString caFile;
    // The largest answer taken from a source, in MiB ("MaxAnswerMiB"); a
    // value outside 1 to MaxAnswerMiBLimit keeps the default.
    int maxAnswerMiB = DefaultMaxAnswerMiB;
};

// Section "Sources".
SourceSettings readSourceSettings(const QString &iniPath);

// The stored tick of each code, in the order given; off for a code the
// section does not hold.
QVector<bool> readStoredSelection(const QString &iniPath, const QString &section, const QStringList &codes);

struct CurrencyTick {
    QString code;
    bool ticked = false;
};

// Replaces the section by one key per code, "1" for ticked and "0" for not.
// Throws IniWriteError when the file cannot be written.
void storeSelection(const QString &iniPath, const QString &section, const QVector<CurrencyTick> &ticks);
