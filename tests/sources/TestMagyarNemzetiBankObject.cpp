#include "fakes/FakeMnbServer.h"
#include "sources/MagyarNemzetiBankObject.h"
#include "sources/SourceError.h"

#include <QFile>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestMagyarNemzetiBankObject : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void currentRatesAppend();
    void exchangeRatesRequest();
    void passThroughOperations();
    void savedAnswer();
    void errorKeepsEarlierEntries();

private:
    std::unique_ptr<FakeMnbServer> m_server;
    std::unique_ptr<MagyarNemzetiBankObject> m_client;
};

void TestMagyarNemzetiBankObject::initTestCase()
{
    for (const char *name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
}

void TestMagyarNemzetiBankObject::init()
{
    m_server = std::make_unique<FakeMnbServer>();
    m_server->setCurrentDay(QDate(2026, 9, 18));
    m_client = std::make_unique<MagyarNemzetiBankObject>(m_server->url(), TransferSettings{QString(), 5s, 2s});
}

void TestMagyarNemzetiBankObject::cleanup()
{
    m_client.reset();
    m_server.reset();
}

void TestMagyarNemzetiBankObject::currentRatesAppend()
{
    QCOMPARE(m_client->getCurrencyObjectList(), nullptr);
    const QString answer = m_client->getCurrentExchangeRates();
    QVERIFY(answer.startsWith(u"<MNBCurrentExchangeRates>"_s));
    QCOMPARE(m_client->getCurrencyObjectList()->listCount(), 32);
    // The list is never cleared: a second call adds after the first.
    m_client->getCurrentExchangeRates();
    QCOMPARE(m_client->getCurrencyObjectList()->listCount(), 64);
    QCOMPARE(m_client->getCurrencyObjectList()->getCurrency(32)->code(), u"AUD"_s);
}

void TestMagyarNemzetiBankObject::exchangeRatesRequest()
{
    m_client->getExchangeRates(QDate(2026, 9, 7), QDate(2026, 9, 8), u"EUR,JPY"_s);
    const auto calls = m_server->calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].parameter(u"startDate"_s), u"2026-09-07"_s);
    QCOMPARE(calls[0].parameter(u"endDate"_s), u"2026-09-08"_s);
    QCOMPARE(calls[0].parameter(u"currencyNames"_s), u"EUR,JPY"_s);
    QCOMPARE(m_client->getCurrencyObjectList()->listCount(), 4);

    // A period without rates leaves no list.
    MagyarNemzetiBankObject empty(m_server->url(), TransferSettings{QString(), 5s, 2s});
    empty.getExchangeRates(QDate(2026, 9, 5), QDate(2026, 9, 6), u"EUR"_s);
    QCOMPARE(empty.getCurrencyObjectList(), nullptr);
}

void TestMagyarNemzetiBankObject::passThroughOperations()
{
    QVERIFY(!m_client->getCurrencies().isEmpty());
    QVERIFY(!m_client->getDateInterval().isEmpty());
    QVERIFY(!m_client->getInfo().isEmpty());
    QVERIFY(!m_client->getCurrencyUnits().isEmpty());
    const auto calls = m_server->calls();
    QCOMPARE(calls.size(), 4);
    QCOMPARE(calls[3].operation, u"GetCurrencyUnits"_s);
    QCOMPARE(calls[3].parameter(u"currencyNames"_s), u"EUR,USD"_s);
    QCOMPARE(m_client->getCurrencyObjectList(), nullptr);
}

void TestMagyarNemzetiBankObject::savedAnswer()
{
    QFile saved(QStringLiteral(ARFOLYAM_TEST_DATA "/mnb-exchange-rates.soap.xml"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    m_client->readSavedAnswer(saved.readAll());
    QCOMPARE(m_client->getCurrencyObjectList()->listCount(), 6);
    QVERIFY(m_server->calls().isEmpty());
}

void TestMagyarNemzetiBankObject::errorKeepsEarlierEntries()
{
    m_client->getCurrentExchangeRates();
    m_server->answerNextWithFault(u"Belső hiba."_s);
    QVERIFY_THROWS_EXCEPTION(SourceError, m_client->getCurrentExchangeRates());
    QCOMPARE(m_client->getCurrencyObjectList()->listCount(), 32);
}

QTEST_GUILESS_MAIN(TestMagyarNemzetiBankObject)
#include "TestMagyarNemzetiBankObject.moc"
