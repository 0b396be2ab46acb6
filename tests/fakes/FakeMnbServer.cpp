#include "fakes/FakeMnbServer.h"

#include "fakes/FakeRates.h"

#include <cmath>
#include <httplib.h>
#include <pugixml.hpp>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

constexpr char ServicePath[] = "/arfolyamok.asmx";
constexpr char ActionPrefix[] = "http://www.mnb.hu/webservices/MNBArfolyamServiceSoap/";
const QString FirstDay = u"1949-01-03"_s;

const QStringList Operations = {u"GetCurrencies"_s,   u"GetCurrencyUnits"_s, u"GetCurrentExchangeRates"_s,
                                u"GetDateInterval"_s, u"GetExchangeRates"_s, u"GetInfo"_s};

QString localName(const char *name)
{
    const std::string_view full(name);
    const auto colon = full.find(':');
    return QString::fromUtf8(colon == std::string_view::npos ? full : full.substr(colon + 1));
}

pugi::xml_node childByLocalName(pugi::xml_node parent, const QString &name)
{
    for (pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && localName(child.name()) == name)
            return child;
    }
    return {};
}

QString escapeText(QString text)
{
    return text.replace(u'&', u"&amp;"_s).replace(u'<', u"&lt;"_s).replace(u'>', u"&gt;"_s);
}

QDate lastWeekdayUpTo(QDate day)
{
    while (day.dayOfWeek() > 5)
        day = day.addDays(-1);
    return day;
}

QStringList codesOf(const QString &currencyNames)
{
    QStringList codes;
    for (const QString &name : currencyNames.split(u',', Qt::SkipEmptyParts))
        codes.append(name.trimmed().toUpper());
    return codes;
}

QString ratesOfDay(const QDate &day, const QStringList &codes)
{
    QString rates;
    for (const FakeCurrency &currency : fakeCurrencies()) {
        if (currency.centralBank && codes.contains(currency.code)) {
            rates += u"<Rate unit=\"%1\" curr=\"%2\">%3</Rate>"_s.arg(currency.unit)
                         .arg(currency.code, FakeMnbServer::rateText(currency.code, day));
        }
    }
    return rates;
}

} // namespace

QString FakeMnbCall::parameter(const QString &name) const
{
    for (const auto &[key, value] : parameters) {
        if (key == name)
            return value;
    }
    return u"(missing)"_s;
}

FakeMnbServer::FakeMnbServer()
    : FakeMnbServer(nullptr)
{
}

FakeMnbServer::FakeMnbServer(const SelfSignedCertificate &certificate)
    : FakeMnbServer(&certificate)
{
}

FakeMnbServer::FakeMnbServer(const SelfSignedCertificate *certificate)
    : m_http(certificate)
    , m_currentDay(lastWeekdayUpTo(QDate::currentDate()))
{
    m_http.post(ServicePath, [this](const httplib::Request &req, httplib::Response &res) { handle(req, res); });
    m_http.start();
}

FakeMnbServer::~FakeMnbServer()
{
    m_http.stop();
}

QString FakeMnbServer::url() const
{
    return m_http.origin() + QLatin1String(ServicePath);
}

int FakeMnbServer::port() const
{
    return m_http.port();
}

void FakeMnbServer::setCurrentDay(const QDate &day)
{
    const std::lock_guard lock(m_mutex);
    m_currentDay = day;
}

void FakeMnbServer::answerNext(const FakeReply &reply, int count)
{
    push({reply, std::nullopt}, count);
}

void FakeMnbServer::answerNextWithResult(const QString &resultText, int count)
{
    push({FakeReply{}, resultText}, count);
}

void FakeMnbServer::answerNextWithFault(const QString &faultString, int count)
{
    push({FakeReply::withStatus(500, fault(faultString)), std::nullopt}, count);
}

void FakeMnbServer::push(const Override &override, int count)
{
    const std::lock_guard lock(m_mutex);
    for (int i = 0; i < count; ++i)
        m_overrides.push_back(override);
}

QList<FakeMnbCall> FakeMnbServer::calls() const
{
    const std::lock_guard lock(m_mutex);
    return m_calls;
}

QStringList FakeMnbServer::currencies()
{
    QStringList codes;
    for (const FakeCurrency &currency : fakeCurrencies()) {
        if (currency.centralBank)
            codes.append(currency.code);
    }
    return codes;
}

int FakeMnbServer::unit(const QString &code)
{
    const FakeCurrency *currency = findFakeCurrency(code);
    return currency && currency->centralBank ? currency->unit : 0;
}

QString FakeMnbServer::rateText(const QString &code, const QDate &day)
{
    const FakeCurrency *currency = findFakeCurrency(code);
    if (!currency || !currency->centralBank)
        return {};
    const double value = fakeRateOn(*currency, day);
    QString text;
    switch (day.toJulianDay() % 3) {
    case 0:
        text = QString::number(std::round(value * 100) / 100, 'f', 5);
        break;
    case 1:
        text = QString::number(value, 'f', 2);
        break;
    default:
        text = QString::number(value, 'f', 1);
        if (text.endsWith(u".0"))
            text.chop(2);
        break;
    }
    return text.replace(u'.', u',');
}

double FakeMnbServer::rate(const QString &code, const QDate &day)
{
    return rateText(code, day).replace(u',', u'.').toDouble();
}

QByteArray FakeMnbServer::envelope(const QString &operation, const QString &resultText)
{
    return (u"<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
            "<%1Response xmlns=\"http://www.mnb.hu/webservices/\" "
            "xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\"><%1Result>%2</%1Result></%1Response>"
            "</s:Body></s:Envelope>"_s)
        .arg(operation, escapeText(resultText))
        .toUtf8();
}

QByteArray FakeMnbServer::fault(const QString &faultString)
{
    return (u"<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault>"
            "<faultcode>s:Client</faultcode><faultstring xml:lang=\"hu-HU\">%1</faultstring>"
            "</s:Fault></s:Body></s:Envelope>"_s)
        .arg(escapeText(faultString))
        .toUtf8();
}

void FakeMnbServer::handle(const httplib::Request &req, httplib::Response &res)
{
    FakeMnbCall call;
    call.request = FakeHttpServer::record(req);
    call.soapAction = QString::fromUtf8(call.request.header("SOAPAction").trimmed());
    if (call.soapAction.size() >= 2 && call.soapAction.startsWith(u'"') && call.soapAction.endsWith(u'"'))
        call.soapAction = call.soapAction.sliced(1, call.soapAction.size() - 2);
    pugi::xml_document document;
    const bool wellFormed = document.load_buffer(req.body.data(), req.body.size());
    const pugi::xml_node body = childByLocalName(childByLocalName(document, u"Envelope"_s), u"Body"_s);
    const pugi::xml_node operation = body.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
    if (operation) {
        call.operation = localName(operation.name());
        for (pugi::xml_node parameter : operation.children()) {
            if (parameter.type() == pugi::node_element)
                call.parameters.append({localName(parameter.name()), QString::fromUtf8(parameter.text().get())});
        }
    }

    Override override;
    {
        const std::lock_guard lock(m_mutex);
        m_calls.append(call);
        if (!m_overrides.empty()) {
            override = m_overrides.front();
            m_overrides.pop_front();
        }
    }

    const QByteArray contentType = "text/xml; charset=utf-8";
    if (!wellFormed || !operation) {
        m_http.respond(res, 400, {}, contentType, {}, override.reply);
        return;
    }
    QString faultString;
    const QString result = override.result ? *override.result : resultOf(call, faultString);
    if (!faultString.isEmpty())
        m_http.respond(res, 500, fault(faultString), contentType, {}, override.reply);
    else
        m_http.respond(res, 200, envelope(call.operation, result), contentType, {}, override.reply);
}

QString FakeMnbServer::resultOf(const FakeMnbCall &call, QString &faultString) const
{
    if (call.soapAction != QLatin1String(ActionPrefix) + call.operation || !Operations.contains(call.operation)) {
        faultString = u"The message with Action '%1' cannot be processed at the receiver, due to a "
                      "ContractFilter mismatch at the EndpointDispatcher."_s.arg(call.soapAction);
        return {};
    }
    auto parameter = [&call](const QString &name) {
        for (const auto &[key, value] : call.parameters) {
            if (key == name)
                return value;
        }
        return QString();
    };
    QDate currentDay;
    {
        const std::lock_guard lock(m_mutex);
        currentDay = m_currentDay;
    }
    const QString lastDay = currentDay.toString(u"yyyy-MM-dd"_s);

    if (call.operation == u"GetCurrencies") {
        QString list = u"<Curr>HUF</Curr>"_s;
        for (const QString &code : currencies())
            list += u"<Curr>%1</Curr>"_s.arg(code);
        return u"<MNBCurrencies><Currencies>%1</Currencies></MNBCurrencies>"_s.arg(list);
    }
    if (call.operation == u"GetCurrencyUnits") {
        QString units;
        for (const QString &code : codesOf(parameter(u"currencyNames"_s))) {
            if (unit(code) > 0)
                units += u"<Unit curr=\"%1\">%2</Unit>"_s.arg(code).arg(unit(code));
        }
        return u"<MNBCurrencyUnits><Units>%1</Units></MNBCurrencyUnits>"_s.arg(units);
    }
    if (call.operation == u"GetCurrentExchangeRates") {
        return u"<MNBCurrentExchangeRates><Day date=\"%1\">%2</Day></MNBCurrentExchangeRates>"_s.arg(
            lastDay, ratesOfDay(currentDay, currencies()));
    }
    if (call.operation == u"GetDateInterval") {
        return u"<MNBStoredInterval><DateInterval startdate=\"%1\" enddate=\"%2\" /></MNBStoredInterval>"_s.arg(
            FirstDay, lastDay);
    }
    if (call.operation == u"GetExchangeRates") {
        const QDate start = QDate::fromString(parameter(u"startDate"_s), u"yyyy-MM-dd"_s);
        const QDate end = QDate::fromString(parameter(u"endDate"_s), u"yyyy-MM-dd"_s);
        if (!start.isValid() || !end.isValid()) {
            faultString = u"Érvénytelen dátum: '%1' – '%2'"_s.arg(parameter(u"startDate"_s), parameter(u"endDate"_s));
            return {};
        }
        return exchangeRates(start, qMin(end, currentDay), parameter(u"currencyNames"_s));
    }
    QString list;
    for (const QString &code : currencies())
        list += u"<Curr>%1</Curr>"_s.arg(code);
    return u"<MNBExchangeRatesQueryValues><FirstDate>%1</FirstDate><LastDate>%2</LastDate>"
           "<Currencies>%3</Currencies></MNBExchangeRatesQueryValues>"_s.arg(FirstDay, lastDay, list);
}

QString FakeMnbServer::exchangeRates(const QDate &start, const QDate &end, const QString &currencyNames) const
{
    const QStringList codes = codesOf(currencyNames);
    QString days;
    for (QDate day = end; day >= start; day = day.addDays(-1)) {
        if (day.dayOfWeek() > 5)
            continue;
        const QString rates = ratesOfDay(day, codes);
        if (!rates.isEmpty())
            days += u"<Day date=\"%1\">%2</Day>"_s.arg(day.toString(u"yyyy-MM-dd"_s), rates);
    }
    if (days.isEmpty())
        return u"<MNBExchangeRates />"_s;
    return u"<MNBExchangeRates>%1</MNBExchangeRates>"_s.arg(days);
}
