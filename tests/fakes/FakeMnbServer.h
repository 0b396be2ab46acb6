#pragma once

#include "fakes/FakeHttpServer.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <mutex>
#include <optional>

// One call that reached the fake central bank.
struct FakeMnbCall {
    RecordedRequest request;
    // The SOAPAction header without its quotes.
    QString soapAction;
    // The local name of the first element in the SOAP body.
    QString operation;
    // That element's children in order: local name and text.
    QList<std::pair<QString, QString>> parameters;

    // The text of the named parameter; "(missing)" when it was not sent.
    QString parameter(const QString &name) const;
};

// The central bank's exchange-rate service: SOAP 1.1, POST to
// "/arfolyamok.asmx", answering its six operations in the shape of the
// real service, with the rates of FakeRates for the weekdays.
class FakeMnbServer {
public:
    // Plain HTTP, as the real service.
    FakeMnbServer();
    explicit FakeMnbServer(const SelfSignedCertificate &certificate);
    ~FakeMnbServer();

    // The endpoint, origin and "/arfolyamok.asmx".
    QString url() const;
    int port() const;

    // The day of the current rates and the last day with rates; by
    // default the last weekday up to today.
    void setCurrentDay(const QDate &day);

    void answerNext(const FakeReply &reply, int count = 1);
    // The normal envelope holding resultText in place of the rate document.
    void answerNextWithResult(const QString &resultText, int count = 1);
    // HTTP 500 with a SOAP fault.
    void answerNextWithFault(const QString &faultString, int count = 1);

    QList<FakeMnbCall> calls() const;

    // The codes of the 32 currencies, alphabetical.
    static QStringList currencies();
    // 100 for IDR, JPY and KRW, 1 for the others, 0 for an unknown code.
    static int unit(const QString &code);
    // The rate as the service writes it that day: with five, two or a
    // trimmed one decimal ("363,47000", "484,00", "86,1", "449").
    static QString rateText(const QString &code, const QDate &day);
    // The value rateText stands for.
    static double rate(const QString &code, const QDate &day);
    // A whole answer of operation carrying resultText, escaped.
    static QByteArray envelope(const QString &operation, const QString &resultText);
    static QByteArray fault(const QString &faultString);

private:
    struct Override {
        FakeReply reply;
        std::optional<QString> result;
    };

    explicit FakeMnbServer(const SelfSignedCertificate *certificate);
    void handle(const httplib::Request &req, httplib::Response &res);
    void push(const Override &override, int count);
    QString resultOf(const FakeMnbCall &call, QString &faultString) const;
    QString exchangeRates(const QDate &start, const QDate &end, const QString &currencyNames) const;

    FakeHttpServer m_http;
    mutable std::mutex m_mutex;
    std::deque<Override> m_overrides;
    QList<FakeMnbCall> m_calls;
    QDate m_currentDay;
};
