#include "startup/SettingsFile.h"

#include "startup/IniFile.h"

#include <QCoreApplication>
#include <algorithm>

using namespace Qt::StringLiterals;

QString settingsFilePath()
{
    // Executables carry ".exe" on Windows and no extension elsewhere.
    QString path = QCoreApplication::applicationFilePath();
    if (path.endsWith(u".exe"_s, Qt::CaseInsensitive))
        path.chop(4);
    return path + u".ini"_s;
}

ProxySettings readProxySettings(const QString &iniPath)
{
    const QString section = u"Proxy Settings"_s;
    const IniFile ini(iniPath);
    ProxySettings proxy;
    if (!ini.sectionHasKeys(section))
        return proxy;
    proxy.basicAuthentication = ini.readBool(section, u"BasicAuthentication"_s, proxy.basicAuthentication);
    proxy.proxyServer = ini.readString(section, u"ProxyServer"_s, proxy.proxyServer);
    proxy.proxyPort = ini.readInteger(section, u"ProxyPort"_s, proxy.proxyPort);
    proxy.proxyUsername = ini.readString(section, u"ProxyUsername"_s, proxy.proxyUsername);
    proxy.proxyPassword = ini.readString(section, u"ProxyPassword"_s, proxy.proxyPassword);
    return proxy;
}

SourceSettings readSourceSettings(const QString &iniPath)
{
    const QString section = u"Sources"_s;
    const IniFile ini(iniPath);
    SourceSettings sources;
    // A blank endpoint would leave nothing to connect to: it keeps the default.
    const auto endpoint = [&](const QString &key, const QString &defaultUrl) {
        const QString url = ini.readString(section, key, defaultUrl);
        return url.isEmpty() ? defaultUrl : url;
    };
    sources.mnbServiceUrl = endpoint(u"MNBServiceUrl"_s, sources.mnbServiceUrl);
    sources.otpBaseUrl = endpoint(u"OTPBaseUrl"_s, sources.otpBaseUrl);
    sources.caFile = ini.readString(section, u"CAFile"_s, sources.caFile);
    const int limit = ini.readInteger(section, u"MaxAnswerMiB"_s, sources.maxAnswerMiB);
    if (limit > 0 && limit <= MaxAnswerMiBLimit)
        sources.maxAnswerMiB = limit;
    return sources;
}

QVector<bool> readStoredSelection(const QString &iniPath, const QString &section, const QStringList &codes)
{
    const IniFile ini(iniPath);
    QVector<bool> ticks;
    ticks.reserve(codes.size());
    for (const QString &code : codes)
        ticks.append(ini.readBool(section, code, false));
    return ticks;
}

namespace {
// A code from a bank's answer that would break the line structure of the
// file (or could never be read back) is not stored.
bool storableKey(const QString &code)
{
    static const QString forbidden = u"=\r\n"_s + QChar(0);
    return !code.isEmpty() && code.trimmed() == code && !code.startsWith(u'[') && !code.startsWith(u';')
        && std::none_of(code.begin(), code.end(), [](QChar c) { return forbidden.contains(c); });
}
} // namespace

void storeSelection(const QString &iniPath, const QString &section, const QVector<CurrencyTick> &ticks)
{
    QVector<QPair<QString, QString>> keys;
    keys.reserve(ticks.size());
    for (const CurrencyTick &tick : ticks) {
        if (storableKey(tick.code))
            keys.append({tick.code, tick.ticked ? u"1"_s : u"0"_s});
    }
    IniFile(iniPath).replaceSection(section, keys);
}
