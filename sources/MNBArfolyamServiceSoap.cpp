#include "sources/MNBArfolyamServiceSoap.h"

#include "sources/SoapAnswer.h"
#include "sources/SourceError.h"

#include <pugixml.hpp>
#include <sstream>

using namespace Qt::StringLiterals;

namespace {

constexpr char ServiceNamespace[] = "http://www.mnb.hu/webservices/";

QByteArray requestBody(const QString &operation, const QList<std::pair<QString, QString>> &parameters)
{
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "utf-8";
    pugi::xml_node envelope = document.append_child("soap:Envelope");
    envelope.append_attribute("xmlns:soap") = "http://schemas.xmlsoap.org/soap/envelope/";
    pugi::xml_node call = envelope.append_child("soap:Body").append_child(operation.toUtf8().constData());
    call.append_attribute("xmlns") = ServiceNamespace;
    for (const auto &[name, value] : parameters)
        call.append_child(name.toUtf8().constData()).text() = value.toUtf8().constData();
    std::ostringstream out;
    document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return QByteArray::fromStdString(out.str());
}

} // namespace

MNBArfolyamServiceSoap::MNBArfolyamServiceSoap(const QString &endpoint, const TransferSettings &settings)
    : m_endpoint(endpoint)
    , m_session(settings, std::nullopt)
{
}

QString MNBArfolyamServiceSoap::getCurrencies()
{
    return call(u"GetCurrencies"_s, {});
}

QString MNBArfolyamServiceSoap::getCurrencyUnits(const QString &currencyNames)
{
    return call(u"GetCurrencyUnits"_s, {{u"currencyNames"_s, currencyNames}});
}

QString MNBArfolyamServiceSoap::getCurrentExchangeRates()
{
    return call(u"GetCurrentExchangeRates"_s, {});
}

QString MNBArfolyamServiceSoap::getDateInterval()
{
    return call(u"GetDateInterval"_s, {});
}

QString MNBArfolyamServiceSoap::getExchangeRates(const QString &startDate, const QString &endDate,
                                                 const QString &currencyNames)
{
    return call(u"GetExchangeRates"_s,
                {{u"startDate"_s, startDate}, {u"endDate"_s, endDate}, {u"currencyNames"_s, currencyNames}});
}

QString MNBArfolyamServiceSoap::getInfo()
{
    return call(u"GetInfo"_s, {});
}

QString MNBArfolyamServiceSoap::call(const QString &operation, const Parameters &parameters)
{
    const HttpRequest request{
        m_endpoint,
        {"Content-Type: text/xml; charset=utf-8",
         "SOAPAction: \"" + QByteArray(ServiceNamespace) + "MNBArfolyamServiceSoap/" + operation.toUtf8() + '"',
         // No "Expect: 100-continue" round trip before a large body.
         "Expect:"},
        requestBody(operation, parameters)};
    QByteArray bytes;
    HttpStatus status;
    try {
        status = m_session.perform(request, [&bytes](long, QByteArrayView chunk) {
            bytes.append(chunk);
            return true;
        });
    } catch (const SourceError &e) {
        throw SourceError(
            u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): %2"_s.arg(displayAddress(m_endpoint), e.message()));
    }
    SoapAnswer answer(bytes);
    if (status.code >= 300 && !answer.fault()) {
        throw SourceError(
            u"Az MNB árfolyam-szolgáltatása hibával válaszolt (%1): %2"_s.arg(displayAddress(m_endpoint), status.line));
    }
    return QString::fromUtf8(answer.result());
}
