#include "fakes/FakeOtpServer.h"

#include "fakes/FakeRates.h"

#include <cmath>
#include <httplib.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char TablePath[] = "/apps/exchangerate/api/downloads/csv/";

QString amount(double value)
{
    return QString::number(value, 'f', 2).replace(u'.', u',');
}

HeaderList cookiesOf(const QByteArray &header)
{
    HeaderList cookies;
    for (const QByteArray &pair : header.split(';')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals > 0)
            cookies.append({pair.left(equals).trimmed(), pair.mid(equals + 1).trimmed()});
    }
    return cookies;
}

} // namespace

const QStringList FakeOtpServer::DefaultCurrencies = {
    u"EUR"_s, u"USD"_s, u"GBP"_s, u"AUD"_s, u"BGN"_s, u"CAD"_s, u"CHF"_s, u"CNY"_s, u"CZK"_s, u"DKK"_s, u"HRK"_s,
    u"JPY"_s, u"NOK"_s, u"PLN"_s, u"RON"_s, u"RSD"_s, u"RUB"_s, u"SEK"_s, u"TRY"_s, u"UAH"_s, u"ZAR"_s};

const QString FakeOtpServer::HeaderLine = u"Név;Érvényesség;Egység;Közép;Valuta vételi;Valuta eladási;"
                                          "Csekk vételi;Csekk eladási;Deviza vételi;Deviza eladási;Verzió"_s;

FakeOtpServer::FakeOtpServer(const SelfSignedCertificate &certificate)
    : FakeOtpServer(&certificate)
{
}

FakeOtpServer::FakeOtpServer()
    : FakeOtpServer(nullptr)
{
}

FakeOtpServer::FakeOtpServer(const SelfSignedCertificate *certificate)
    : m_http(certificate)
{
    m_http.get(std::string(TablePath) + "([^/]*)/([^/]*)",
               [this](const httplib::Request &req, httplib::Response &res) { handle(req, res); });
    m_http.start();
}

FakeOtpServer::~FakeOtpServer()
{
    m_http.stop();
}

QString FakeOtpServer::origin() const
{
    return m_http.origin();
}

int FakeOtpServer::port() const
{
    return m_http.port();
}

QString FakeOtpServer::tableUrl(const QDate &day, const QStringList &codes) const
{
    const QString date = day.toString(u"yyyy-MM-dd"_s);
    return origin() + QLatin1String(TablePath) + date + u'/' + date + u"?currencies="_s + codes.join(u',')
        + u"&lang=HU"_s;
}

void FakeOtpServer::setTableTime(const QTime &time)
{
    const std::lock_guard lock(m_mutex);
    m_tableTime = time;
}

void FakeOtpServer::setVersions(int versions)
{
    const std::lock_guard lock(m_mutex);
    m_versions = versions;
}

void FakeOtpServer::setCookie(const QByteArray &name, const QByteArray &value)
{
    const std::lock_guard lock(m_mutex);
    m_cookies.append({"Set-Cookie", name + '=' + value + "; Path=/"});
}

void FakeOtpServer::answerNext(const FakeReply &reply, int count)
{
    const std::lock_guard lock(m_mutex);
    for (int i = 0; i < count; ++i)
        m_overrides.push_back(reply);
}

void FakeOtpServer::redirectNext(const QString &location)
{
    FakeReply reply = FakeReply::withStatus(302);
    reply.headers = {{"Location", location.toUtf8()}};
    answerNext(reply);
}

QList<FakeOtpRequest> FakeOtpServer::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

QString FakeOtpServer::table(const QDate &day, const QStringList &codes) const
{
    QTime tableTime;
    int versions = 0;
    {
        const std::lock_guard lock(m_mutex);
        tableTime = m_tableTime;
        versions = m_versions;
    }
    const QString stamp = day.toString(u"yyyy.MM.dd"_s) + u' ';
    QString text = u"Deviza- és valutaárfolyamok: %1\r\n"_s.arg(stamp + tableTime.toString(u"hh:mm"_s));
    text += HeaderLine + u"\r\n"_s;
    for (const QString &code : codes) {
        const FakeCurrency *currency = findFakeCurrency(code);
        if (!currency)
            continue;
        for (int version = 1; version <= versions; ++version) {
            const double middle = std::round(fakeRateOn(*currency, day) * (1.0 + 0.001 * (version - 1)) * 100) / 100;
            const QStringList cells = {code,
                                       stamp + tableTime.addSecs(3 * 3600 * (version - 1)).toString(u"hh:mm"_s),
                                       QString::number(currency->unit),
                                       amount(middle),
                                       amount(middle * 0.972),
                                       amount(middle * 1.0187),
                                       amount(middle * 0.981),
                                       amount(middle * 1.0187),
                                       amount(middle * 0.99),
                                       amount(middle * 1.01),
                                       QString::number(version)};
            text += cells.join(u';') + u"\r\n"_s;
        }
    }
    return text;
}

void FakeOtpServer::handle(const httplib::Request &req, httplib::Response &res)
{
    FakeOtpRequest request;
    request.request = FakeHttpServer::record(req);
    request.from = QString::fromStdString(req.matches[1]);
    request.to = QString::fromStdString(req.matches[2]);
    request.currencies = QString::fromStdString(req.get_param_value("currencies"));
    request.lang = QString::fromStdString(req.get_param_value("lang"));
    request.cookies = cookiesOf(request.request.header("Cookie"));

    FakeReply override;
    HeaderList cookies;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.append(request);
        if (!m_overrides.empty()) {
            override = m_overrides.front();
            m_overrides.pop_front();
        }
        cookies = m_cookies;
    }
    const QByteArray contentType = "text/csv; charset=UTF-8";
    const QDate day = QDate::fromString(request.from, u"yyyy-MM-dd"_s);
    if (!day.isValid()) {
        m_http.respond(res, 400, {}, contentType, cookies, override);
        return;
    }
    const QStringList codes = request.currencies.split(u',', Qt::SkipEmptyParts);
    m_http.respond(res, 200, table(day, codes).toUtf8(), contentType, cookies, override);
}
