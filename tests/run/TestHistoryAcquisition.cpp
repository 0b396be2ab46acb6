#include "fakes/FakeMnbServer.h"
#include "fakes/RecordingView.h"
#include "run/RateAcquisition.h"
#include "run/RateSession.h"
#include "run/RunChoices.h"
#include "sources/BankCatalogue.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
const QDate Today(2026, 9, 18);

RunChoices historyChoices(const QVector<CurrencyTick> &currencies, const QString &from, const QString &to)
{
    RunChoices c;
    c.bankIndex = MNBBankIndex;
    c.rateTypeIndex = 0;
    c.onlyMiddleRate = true;
    c.history = true;
    c.historyCurrencies = currencies;
    c.fromDateText = from;
    c.toDateText = to;
    return c;
}

} // namespace

class TestHistoryAcquisition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void period();
    void request_data();
    void request();
    void noRate();
    void fault();
    void otherBankFetchesNothing();

private:
    bool acquire(const RunChoices &choices, RecordingView &view);

    QTemporaryDir m_temp;
    std::unique_ptr<FakeMnbServer> m_mnb;
    std::unique_ptr<RateSession> m_session;
};

void TestHistoryAcquisition::initTestCase()
{
    for (const char *name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
}

void TestHistoryAcquisition::init()
{
    m_mnb = std::make_unique<FakeMnbServer>();
    m_mnb->setCurrentDay(Today);
    SourceSettings sources;
    sources.mnbServiceUrl = m_mnb->url();
    m_session = std::make_unique<RateSession>(sources, ProxySettings{}, TransferSettings{QString(), 5s, 2s});
}

void TestHistoryAcquisition::cleanup()
{
    // The client first: the server would otherwise wait for its open connection.
    m_session.reset();
    m_mnb.reset();
}

bool TestHistoryAcquisition::acquire(const RunChoices &choices, RecordingView &view)
{
    return acquireRateHistory(choices, view, *m_session, Today);
}

void TestHistoryAcquisition::period()
{
    // Wednesday to Friday: three published days of two currencies.
    RecordingView view;
    QVERIFY(acquire(historyChoices({{u"EUR"_s, true}, {u"JPY"_s, true}}, u"2026.09.16"_s, u"2026.09.18"_s), view));
    QCOMPARE(view.calls,
             (QStringList{u"active 1"_s, u"done 1"_s, u"active 2"_s, u"done 2"_s, u"active 3"_s, u"done 3"_s,
                          u"active 4"_s, u"rate list 6"_s, u"done 4"_s, u"active 5"_s, u"done 5"_s}));
    const CurrencyObjectList *list = m_session->currencyObjectList;
    QVERIFY(list);
    QCOMPARE(list->listCount(), 6);
    const QDate days[] = {QDate(2026, 9, 18), QDate(2026, 9, 17), QDate(2026, 9, 16)};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(list->getCurrency(i)->day().date(), days[i / 2]);
        QCOMPARE(list->getCurrency(i)->code(), i % 2 ? u"JPY"_s : u"EUR"_s);
    }
    QCOMPARE(list->getCurrency(1)->currencyUnit(), quint16(100));
    QCOMPARE(list->getCurrency(1)->middle(), FakeMnbServer::rate(u"JPY"_s, days[0]) / 100);

    const RateList &shown = view.rateLists[0];
    QCOMPARE(shown.columns[0].caption, u"Dátum"_s);
    QCOMPARE(shown.rows[0].cells[0], u"2026.09.18"_s);
    QVERIFY(shown.rows[0].checked);
}

void TestHistoryAcquisition::request_data()
{
    QTest::addColumn<QVector<CurrencyTick>>("currencies");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("currencyNames");
    QTest::addColumn<QString>("startDate");
    QTest::addColumn<QString>("endDate");
    QTest::newRow("ticked in display order")
        << QVector<CurrencyTick>{{u"EUR"_s, true}, {u"CHF"_s, false}, {u"USD"_s, true}} << u"2026.01.05"_s
        << u"2026.01.09"_s << u"EUR,USD"_s << u"2026-01-05"_s << u"2026-01-09"_s;
    QTest::newRow("lower-case caption") << QVector<CurrencyTick>{{u"eur"_s, true}} << u"2026.01.05"_s << u"2026.01.09"_s
                                        << u"EUR"_s << u"2026-01-05"_s << u"2026-01-09"_s;
    QTest::newRow("none ticked") << QVector<CurrencyTick>{{u"EUR"_s, false}} << u"2026.01.05"_s << u"2026.01.09"_s
                                 << QString() << u"2026-01-05"_s << u"2026-01-09"_s;
    QTest::newRow("blank dates fall back") << QVector<CurrencyTick>{{u"EUR"_s, true}} << u"    .  .  "_s
                                           << u"2026.02.30"_s << u"EUR"_s << u"2022-01-01"_s << u"2026-09-18"_s;
    QTest::newRow("start after end is sent as it is")
        << QVector<CurrencyTick>{{u"EUR"_s, true}} << u"2026.05.01"_s << u"2026.04.01"_s << u"EUR"_s << u"2026-05-01"_s
        << u"2026-04-01"_s;
}

void TestHistoryAcquisition::request()
{
    QFETCH(QVector<CurrencyTick>, currencies);
    QFETCH(QString, from);
    QFETCH(QString, to);
    RecordingView view;
    QVERIFY(acquire(historyChoices(currencies, from, to), view));
    const auto calls = m_mnb->calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].operation, u"GetExchangeRates"_s);
    QTEST(calls[0].parameter(u"currencyNames"_s), "currencyNames");
    QTEST(calls[0].parameter(u"startDate"_s), "startDate");
    QTEST(calls[0].parameter(u"endDate"_s), "endDate");
}

void TestHistoryAcquisition::noRate()
{
    m_mnb->answerNextWithResult(u"<MNBExchangeRates />"_s);
    RecordingView view;
    // Nothing is checked: the empty preview is for the user to see.
    QVERIFY(acquire(historyChoices({{u"EUR"_s, true}}, u"2026.01.03"_s, u"2026.01.04"_s), view));
    QVERIFY(view.errors.isEmpty());
    QCOMPARE(m_session->currencyObjectList, nullptr);
    QCOMPARE(view.rateLists.size(), 1);
    QCOMPARE(view.rateLists[0].columns.size(), 4);
    QVERIFY(view.rateLists[0].rows.isEmpty());
}

void TestHistoryAcquisition::fault()
{
    m_mnb->answerNextWithFault(u"A kezdődátum nem lehet későbbi a záródátumnál."_s);
    RecordingView view;
    QVERIFY(!acquire(historyChoices({{u"EUR"_s, true}}, u"2026.01.05"_s, u"2026.01.09"_s), view));
    QCOMPARE(view.errors, QStringList{u"A kezdődátum nem lehet későbbi a záródátumnál."_s});
    QVERIFY(view.errorPageShown());
    QCOMPARE(view.calls.mid(0, 3), (QStringList{u"active 1"_s, u"done 1"_s, u"active 2"_s}));
    QVERIFY(!view.calls.contains(u"done 2"_s));
    QVERIFY(view.rateLists.isEmpty());
}

void TestHistoryAcquisition::otherBankFetchesNothing()
{
    RunChoices choices = historyChoices({{u"EUR"_s, true}}, u"2026.01.05"_s, u"2026.01.09"_s);
    choices.bankIndex = OTPBankIndex;
    RecordingView view;
    QVERIFY(acquire(choices, view));
    QVERIFY(view.calls.isEmpty());
    QVERIFY(m_mnb->calls().isEmpty());
}

QTEST_GUILESS_MAIN(TestHistoryAcquisition)
#include "TestHistoryAcquisition.moc"
