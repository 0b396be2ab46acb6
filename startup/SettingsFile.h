#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What the program keeps in its settings file: the proxy for page downloads
// (written by hand, only read), the endpoints of the rate services, and per
// bank the currencies the user last ticked.

// The running executable's path with its extension replaced by ".ini".
QString SettingsFilePath();

struct ProxySettings {
    bool BasicAuthentication = false;
    QString ProxyServer;
    int ProxyPort = 0;
    QString ProxyUsername;
    QString ProxyPassword;
};

// Section "Proxy Settings"; the defaults when it holds no key.
ProxySettings ReadProxySettings(const QString &iniPath);

struct SourceSettings {
    QString MNBServiceUrl = QStringLiteral("http://www.mnb.hu/arfolyamok.asmx");
    QString OTPBaseUrl = QStringLiteral("https://www.otpbank.hu");
    // Extra certificates trusted for HTTPS beside the system's; empty for none.
    QString CAFile;
};

// Section "Sources".
SourceSettings ReadSourceSettings(const QString &iniPath);

// The stored tick of each code, in the order given; off for a code the
// section does not hold.
QVector<bool> ReadStoredSelection(const QString &iniPath, const QString &section, const QStringList &codes);

struct CurrencyTick {
    QString code;
    bool ticked = false;
};

// Replaces the section by one key per code, "1" for ticked and "0" for not.
// Throws IniWriteError when the file cannot be written.
void StoreSelection(const QString &iniPath, const QString &section, const QVector<CurrencyTick> &ticks);
