#include "startup/SettingsFile.h"

#include "startup/IniFile.h"

#include <QCoreApplication>
#include <algorithm>

using namespace Qt::StringLiterals;

QString SettingsFilePath()
{
    // Executables carry ".exe" on Windows and no extension elsewhere.
    QString path = QCoreApplication::applicationFilePath();
    if (path.endsWith(u".exe"_s, Qt::CaseInsensitive))
        path.chop(4);
    return path + u".ini"_s;
}

ProxySettings ReadProxySettings(const QString &iniPath)
{
    const QString section = u"Proxy Settings"_s;
    const IniFile ini(iniPath);
    ProxySettings proxy;
    if (!ini.SectionHasKeys(section))
        return proxy;
    proxy.BasicAuthentication = ini.ReadBool(section, u"BasicAuthentication"_s, proxy.BasicAuthentication);
    proxy.ProxyServer = ini.ReadString(section, u"ProxyServer"_s, proxy.ProxyServer);
    proxy.ProxyPort = ini.ReadInteger(section, u"ProxyPort"_s, proxy.ProxyPort);
    proxy.ProxyUsername = ini.ReadString(section, u"ProxyUsername"_s, proxy.ProxyUsername);
    proxy.ProxyPassword = ini.ReadString(section, u"ProxyPassword"_s, proxy.ProxyPassword);
    return proxy;
}

SourceSettings ReadSourceSettings(const QString &iniPath)
{
    const QString section = u"Sources"_s;
    const IniFile ini(iniPath);
    SourceSettings sources;
    // A blank endpoint would leave nothing to connect to: it keeps the default.
    const auto endpoint = [&](const QString &key, const QString &defaultUrl) {
        const QString url = ini.ReadString(section, key, defaultUrl);
        return url.isEmpty() ? defaultUrl : url;
    };
    sources.MNBServiceUrl = endpoint(u"MNBServiceUrl"_s, sources.MNBServiceUrl);
    sources.OTPBaseUrl = endpoint(u"OTPBaseUrl"_s, sources.OTPBaseUrl);
    sources.CAFile = ini.ReadString(section, u"CAFile"_s, sources.CAFile);
    return sources;
}

QVector<bool> ReadStoredSelection(const QString &iniPath, const QString &section, const QStringList &codes)
{
    const IniFile ini(iniPath);
    QVector<bool> ticks;
    ticks.reserve(codes.size());
    for (const QString &code : codes)
        ticks.append(ini.ReadBool(section, code, false));
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

void StoreSelection(const QString &iniPath, const QString &section, const QVector<CurrencyTick> &ticks)
{
    QVector<QPair<QString, QString>> keys;
    keys.reserve(ticks.size());
    for (const CurrencyTick &tick : ticks) {
        if (storableKey(tick.code))
            keys.append({tick.code, tick.ticked ? u"1"_s : u"0"_s});
    }
    IniFile(iniPath).ReplaceSection(section, keys);
}
