#include "sources/RateDocument.h"
#include "sources/SourceError.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(ARFOLYAM_TEST_DATA "/") + QString::fromLatin1(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

QDate dayOf(const CurrencyObject *o)
{
    return o->day().date();
}
} // namespace

class TestRateDocument : public QObject {
    Q_OBJECT

private slots:
    void currentRatesAnswer();
    void historyAnswer();
    void documentOrder();
    void oddEntries_data();
    void oddEntries();
    void unitOutOfRangeDropsTheEntry_data();
    void unitOutOfRangeDropsTheEntry();
    void noRates();
    void errors_data();
    void errors();
    void garbage();
};

void TestRateDocument::currentRatesAnswer()
{
    CurrencyObjectList list;
    readRateDocument(fixture("mnb-current-rates.soap.xml"), list);
    QCOMPARE(list.listCount(), 32);
    const CurrencyObject *aud = list.getCurrency(0);
    QCOMPARE(aud->code(), u"AUD"_s);
    QCOMPARE(dayOf(aud), QDate(2026, 9, 18));
    QCOMPARE(aud->middle(), 225.59);
    const CurrencyObject *eur = list.getCurrency(7);
    QCOMPARE(eur->code(), u"EUR"_s);
    QCOMPARE(eur->middle(), 363.47);
    QCOMPARE(eur->buy(), 363.47);
    QCOMPARE(eur->sell(), 363.47);
    const CurrencyObject *jpy = list.getCurrency(14);
    QCOMPARE(jpy->code(), u"JPY"_s);
    QCOMPARE(jpy->currencyUnit(), quint16(100));
    QCOMPARE(jpy->middle(), 200.59 / 100);
}

void TestRateDocument::historyAnswer()
{
    CurrencyObjectList list;
    readRateDocument(fixture("mnb-exchange-rates.soap.xml"), list);
    QCOMPARE(list.listCount(), 6);
    QCOMPARE(list.getCurrency(0)->code(), u"EUR"_s);
    QCOMPARE(dayOf(list.getCurrency(0)), QDate(2026, 9, 8));
    QCOMPARE(list.getCurrency(1)->code(), u"JPY"_s);
    QCOMPARE(dayOf(list.getCurrency(5)), QDate(2026, 9, 4));
    QCOMPARE(list.getCurrency(5)->middle(), 1.9996);
}

void TestRateDocument::documentOrder()
{
    const QString doc = uR"(<MNBExchangeRates>
  <Day date="2026-09-08">
    <Rate unit="1" curr="EUR">365,22</Rate><Rate unit="1" curr="USD">310,1</Rate><Rate unit="1" curr="CHF">449</Rate>
  </Day>
  <!-- a comment is no day -->
  <Day date="2026-09-07">
    <Rate unit="1" curr="EUR">362,10000</Rate><Rate unit="1" curr="USD">311</Rate><Rate unit="1" curr="CHF">484,00</Rate>
  </Day>
</MNBExchangeRates>)"_s;
    CurrencyObjectList list;
    readRateDocument(doc, list);
    QCOMPARE(list.listCount(), 6);
    const QStringList codes = {u"EUR"_s, u"USD"_s, u"CHF"_s, u"EUR"_s, u"USD"_s, u"CHF"_s};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(list.getCurrency(i)->code(), codes[i]);
        QCOMPARE(dayOf(list.getCurrency(i)), i < 3 ? QDate(2026, 9, 8) : QDate(2026, 9, 7));
    }
    QCOMPARE(list.getCurrency(2)->middle(), 449.0);
    QCOMPARE(list.getCurrency(5)->middle(), 484.0);

    // A second reading appends after the first.
    readRateDocument(doc, list);
    QCOMPARE(list.listCount(), 12);
}

void TestRateDocument::oddEntries_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QDate>("day");
    const QDate day(2026, 9, 18);
    const QDate zero(1899, 12, 30);
    QTest::newRow("unit 100") << u"<R><D date='2026-09-18'><X unit='100' curr='HUF'>250,5</X></D></R>"_s << u"HUF"_s
                              << 100 << 2.505 << day;
    QTest::newRow("decimal point") << u"<R><D date='2026-09-18'><X unit='1' curr='EUR'>363.47</X></D></R>"_s << u"EUR"_s
                                   << 1 << 0.0 << day;
    QTest::newRow("no date") << u"<R><D><X unit='1' curr='EUR'>1</X></D></R>"_s << u"EUR"_s << 1 << 1.0 << zero;
    QTest::newRow("bad date") << u"<R><D date='18.09.2026'><X unit='1' curr='EUR'>1</X></D></R>"_s << u"EUR"_s << 1
                              << 1.0 << zero;
    QTest::newRow("no unit") << u"<R><D date='2026-09-18'><X curr='JPY'>200,59</X></D></R>"_s << u"JPY"_s << 0 << 200.59
                             << day;
    QTest::newRow("unit not a number") << u"<R><D date='2026-09-18'><X unit='sok' curr='JPY'>2</X></D></R>"_s
                                       << u"JPY"_s << 0 << 2.0 << day;
    QTest::newRow("unit with blanks") << u"<R><D date='2026-09-18'><X unit=' 100 ' curr='JPY'>200</X></D></R>"_s
                                      << u"JPY"_s << 100 << 2.0 << day;
    QTest::newRow("largest unit") << u"<R><D date='2026-09-18'><X unit='065535' curr='JPY'>65535</X></D></R>"_s
                                  << u"JPY"_s << 65535 << 1.0 << day;
    QTest::newRow("no code") << u"<R><D date='2026-09-18'><X unit='1'>2</X></D></R>"_s << QString() << 1 << 2.0 << day;
    QTest::newRow("empty rate") << u"<R><D date='2026-09-18'><X unit='1' curr='EUR'/></D></R>"_s << u"EUR"_s << 1 << 0.0
                                << day;
    QTest::newRow("grouped rate") << u"<R><D date='2026-09-18'><X unit='1' curr='EUR'>1 363,47</X></D></R>"_s
                                  << u"EUR"_s << 1 << 0.0 << day;
    QTest::newRow("accented code kept") << u"<R><D date='2026-09-18'><X unit='1' curr='Ft€'>1</X></D></R>"_s << u"Ft€"_s
                                        << 1 << 1.0 << day;
}

void TestRateDocument::oddEntries()
{
    QFETCH(QString, document);
    CurrencyObjectList list;
    readRateDocument(document, list);
    QCOMPARE(list.listCount(), 1);
    const CurrencyObject *o = list.getCurrency(0);
    QTEST(o->code(), "code");
    QTEST(int(o->currencyUnit()), "unit");
    QTEST(o->middle(), "rate");
    QTEST(dayOf(o), "day");
}

void TestRateDocument::unitOutOfRangeDropsTheEntry_data()
{
    QTest::addColumn<QString>("unit");
    QTest::newRow("negative") << u"-1"_s;
    QTest::newRow("65536") << u"65536"_s;
    QTest::newRow("beyond 32 bits") << u"7000000000000"_s;
}

void TestRateDocument::unitOutOfRangeDropsTheEntry()
{
    QFETCH(QString, unit);
    // Read as unit 0 the rate would reach the list undivided.
    const QString document =
        u"<R><D date='2026-09-18'><X unit='1' curr='EUR'>363,47</X>"
        "<X unit='%1' curr='JPY'>7000000</X><X unit='100' curr='KRW'>22,85</X></D></R>"_s.arg(unit);
    CurrencyObjectList list;
    readRateDocument(document, list);
    QCOMPARE(list.listCount(), 2);
    QCOMPARE(list.getCurrency(0)->code(), u"EUR"_s);
    QCOMPARE(list.getCurrency(1)->code(), u"KRW"_s);
}

void TestRateDocument::noRates()
{
    for (const QString &doc : {u"<MNBExchangeRates />"_s, u"<MNBCurrentExchangeRates></MNBCurrentExchangeRates>"_s,
                               u"<R><D date='2026-09-18'/></R>"_s}) {
        CurrencyObjectList list;
        readRateDocument(doc, list);
        QCOMPARE(list.listCount(), 0);
    }
    const QString emptyAnswer =
        uR"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/"><s:Body><GetExchangeRatesResponse xmlns="http://www.mnb.hu/webservices/"><GetExchangeRatesResult>&lt;MNBExchangeRates /&gt;</GetExchangeRatesResult></GetExchangeRatesResponse></s:Body></s:Envelope>)"_s;
    CurrencyObjectList list;
    readRateDocument(emptyAnswer, list);
    QCOMPARE(list.listCount(), 0);
}

void TestRateDocument::errors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QString() << u"nem olvasható XML"_s;
    QTest::newRow("plain text") << u"Service Unavailable"_s << u"nem olvasható XML"_s;
    QTest::newRow("html") << u"<html><body><p>404</body></html>"_s << u"nem olvasható XML"_s;
    QTest::newRow("truncated") << u"<MNBExchangeRates><Day date='2026-09-08'><Rate unit='1' curr='EUR'>36"_s
                               << u"nem olvasható XML"_s;
    QTest::newRow("fault")
        << uR"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/"><s:Body><s:Fault><faultcode>s:Client</faultcode><faultstring xml:lang="hu-HU">Hibás dátum</faultstring></s:Fault></s:Body></s:Envelope>)"_s
        << u"Hibás dátum"_s;
    QTest::newRow("no result")
        << uR"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/"><s:Body><GetInfoResponse/></s:Body></s:Envelope>)"_s
        << u"A jegybank válaszából hiányzik az eredmény elem."_s;
    QTest::newRow("result not XML")
        << uR"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/"><s:Body><R><GetExchangeRatesResult>hiba</GetExchangeRatesResult></R></s:Body></s:Envelope>)"_s
        << u"nem olvasható XML"_s;
}

void TestRateDocument::errors()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    CurrencyObjectList list;
    try {
        readRateDocument(text, list);
        QFAIL("no error raised");
    } catch (const SourceError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QCOMPARE(list.listCount(), 0);
}

void TestRateDocument::garbage()
{
    const QByteArray answer = fixture("mnb-current-rates.soap.xml");
    for (int cut = 0; cut < answer.size(); cut += 13) {
        CurrencyObjectList list;
        try {
            readRateDocument(answer.left(cut), list);
        } catch (const SourceError &) {
        }
    }
    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = answer;
        for (int i = 0; i < 20; ++i)
            bytes[random.bounded(bytes.size())] = char(random.bounded(256));
        CurrencyObjectList list;
        try {
            readRateDocument(bytes, list);
        } catch (const SourceError &) {
        }
        QVERIFY(list.listCount() <= 32);
    }
}

QTEST_GUILESS_MAIN(TestRateDocument)
#include "TestRateDocument.moc"
