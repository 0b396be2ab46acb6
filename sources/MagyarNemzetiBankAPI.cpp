#include "sources/MagyarNemzetiBankAPI.h"

#include "sources/ServiceError.h"
#include "sources/XmlNames.h"

#include <memory>
#include <pugixml.hpp>
#include <sstream>

using namespace Qt::StringLiterals;

namespace {

constexpr char ServiceNamespace[] = "http://www.mnb.hu/webservices/";

struct SlistDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

QByteArray RequestBody(const QString &operation, const QList<std::pair<QString, QString>> &parameters)
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

QString TextOf(pugi::xml_node element)
{
    QByteArray text;
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    }
    return QString::fromUtf8(text);
}

} // namespace

MNBArfolyamServiceSoap::MNBArfolyamServiceSoap(const QString &endpoint, const TransferSettings &settings)
    : m_endpoint(endpoint), m_session(settings)
{
}

QString MNBArfolyamServiceSoap::GetCurrencies()
{
    return Call(u"GetCurrencies"_s, {});
}

QString MNBArfolyamServiceSoap::GetCurrencyUnits(const QString &currencyNames)
{
    return Call(u"GetCurrencyUnits"_s, {{u"currencyNames"_s, currencyNames}});
}

QString MNBArfolyamServiceSoap::GetCurrentExchangeRates()
{
    return Call(u"GetCurrentExchangeRates"_s, {});
}

QString MNBArfolyamServiceSoap::GetDateInterval()
{
    return Call(u"GetDateInterval"_s, {});
}

QString MNBArfolyamServiceSoap::GetExchangeRates(const QString &startDate, const QString &endDate,
                                                 const QString &currencyNames)
{
    return Call(u"GetExchangeRates"_s,
                {{u"startDate"_s, startDate}, {u"endDate"_s, endDate}, {u"currencyNames"_s, currencyNames}});
}

QString MNBArfolyamServiceSoap::GetInfo()
{
    return Call(u"GetInfo"_s, {});
}

QString MNBArfolyamServiceSoap::Call(const QString &operation, const Parameters &parameters)
{
    const QByteArray body = RequestBody(operation, parameters);
    const QByteArray action = "SOAPAction: \"" + QByteArray(ServiceNamespace) + "MNBArfolyamServiceSoap/"
        + operation.toUtf8() + '"';
    curl_slist *list = curl_slist_append(nullptr, "Content-Type: text/xml; charset=utf-8");
    list = curl_slist_append(list, action.constData());
    // No "Expect: 100-continue" round trip before a large body.
    list = curl_slist_append(list, "Expect:");
    const std::unique_ptr<curl_slist, SlistDeleter> headers(list);

    CURL *curl = m_session.Handle();
    curl_easy_setopt(curl, CURLOPT_URL, m_endpoint.toUtf8().constData());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, long(body.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    QByteArray answer;
    const TransferResult result = m_session.Perform([&answer](QByteArrayView chunk) {
        answer.append(chunk);
        return true;
    });
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, nullptr);

    if (!result.Error.isEmpty())
        throw ServiceError(u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): %2"_s.arg(m_endpoint, result.Error));
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(answer.constData(), size_t(answer.size()));
    if (parsed) {
        const QString fault = TextOf(ChildByLocalName(DescendantByLocalName(document, "Fault"), "faultstring"));
        if (!fault.isEmpty())
            throw ServiceError(fault);
    }
    if (result.Status >= 300) {
        throw ServiceError(
            u"Az MNB árfolyam-szolgáltatása hibával válaszolt (%1): %2"_s.arg(m_endpoint, result.StatusLine));
    }
    if (!parsed) {
        throw ServiceError(u"Az MNB árfolyam-szolgáltatásának válasza nem XML (%1): %2"_s.arg(
            m_endpoint, QString::fromUtf8(parsed.description())));
    }
    const std::string resultName = (operation + u"Result"_s).toStdString();
    const pugi::xml_node resultNode =
        ChildByLocalName(DescendantByLocalName(document, (operation + u"Response"_s).toStdString()), resultName);
    if (!resultNode) {
        throw ServiceError(u"Az MNB árfolyam-szolgáltatásának válaszából hiányzik a(z) %1 elem (%2)."_s.arg(
            QString::fromStdString(resultName), m_endpoint));
    }
    return TextOf(resultNode);
}
