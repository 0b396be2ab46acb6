#pragma once

#include "fakes/FakeHttpServer.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>
#include <deque>
#include <mutex>

// One request that reached the fake OTP Bank.
struct FakeOtpRequest {
    RecordedRequest request;
    // The two dates of the path and the query's values, as sent.
    QString from;
    QString to;
    QString currencies;
    QString lang;
    // The cookies the request carried, name and value.
    HeaderList cookies;
};

// OTP Bank's rate table service: GET
// "/apps/exchangerate/api/downloads/csv/{from}/{to}?currencies=…&lang=HU"
// answers a semicolon-separated UTF-8 table with CRLF line ends: a title
// line, the column header, then one row per known requested currency and
// version, dated with the day asked for.
class FakeOtpServer {
public:
    // HTTPS, as the real service.
    explicit FakeOtpServer(const SelfSignedCertificate &certificate);
    // Plain HTTP.
    FakeOtpServer();
    ~FakeOtpServer();

    // Scheme, host and port: what the settings call OTPBaseUrl.
    QString origin() const;
    int port() const;
    // The address of the table of one day, as the wizard asks for it.
    QString tableUrl(const QDate &day, const QStringList &codes) const;

    // When the table was published; 05:56 by default.
    void setTableTime(const QTime &time);
    // Rows per currency, each version three hours after the one before, its
    // rates moved slightly; 1 by default.
    void setVersions(int versions);
    // Sent with every normal answer from now on.
    void setCookie(const QByteArray &name, const QByteArray &value);

    void answerNext(const FakeReply &reply, int count = 1);
    // 302 Found to location.
    void redirectNext(const QString &location);

    QList<FakeOtpRequest> requests() const;

    // The normal answer's text for that day.
    QString table(const QDate &day, const QStringList &codes) const;

    static const QStringList DefaultCurrencies;
    static const QString HeaderLine;

private:
    explicit FakeOtpServer(const SelfSignedCertificate *certificate);
    void handle(const httplib::Request &req, httplib::Response &res);

    FakeHttpServer m_http;
    mutable std::mutex m_mutex;
    std::deque<FakeReply> m_overrides;
    QList<FakeOtpRequest> m_requests;
    QTime m_tableTime{5, 56};
    int m_versions = 1;
    HeaderList m_cookies;
};
