#include "CliHarness.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/SelfSignedCertificate.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FakeReply)

class TestCliFailures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void centralBankAnswer_data();
    void centralBankAnswer();
    void centralBankUnreachable();
    void historyFault();
    void otpAnswer_data();
    void otpAnswer();
    void otpUnreachable();
    void otpCertificateNotTrusted();
    void otpAnswerOverTheLimit();

private:
    // A settings file of the run's own folder with these sources.
    QString settingsSwitch(const SourceSettings &sources);

    std::unique_ptr<SelfSignedCertificate> m_certificate;
    std::unique_ptr<FakeBanks> m_banks;
    std::unique_ptr<QTemporaryDir> m_folder;
};

namespace {

const QString NoUsableRate =
    u"A kiválasztott bank honlapján (még) nem elérhetőek a napi árfolyamok. Kérjük próbálja újra később!"_s;

// The message of a failed download, line by line.
QStringList downloadFailure(const QString &address, const QString &errorText)
{
    return {u"Hiba történt a weboldal megnyitása közben:"_s,
            QString(),
            address,
            QString(),
            u"Hibaüzenet: "_s + errorText,
            QString(),
            u"Lehetséges megoldások:"_s,
            u" - Ellenőrizze a számítógépe hálózati kapcsolatát."_s,
            u" - Ha a számítógépet vagy a hálózatot tűzfal vagy proxy védi, ellenőrizze, hogy az "
            "Árfolyamlekérdező (arfolyam-cli) számára engedélyezett-e a webhozzáférés."_s};
}

// The message of an OTP table that yields no rate, line by line.
QStringList pageAnalysisFailure(const QString &origin)
{
    return {u"Hiba történt az árfolyamokat tartalmazó weboldal elemzése közben. Előfordulhat, hogy megváltozott "
            "vagy hibás a weboldal. Kérem ellenőrizze a weboldal tartalmát a böngészőjén keresztül"_s,
            QString(), origin + u"/portal/hu/Arfolyamok/OTP"_s};
}

// The address of today's table, as the runner asks for it.
QString otpAddress(const QString &origin)
{
    return origin
        + u"/apps/exchangerate/api/downloads/csv/%1/%1?currencies=EUR,USD,GBP,AUD,BGN,CAD,CHF,CNY,CZK,"
          "DKK,HRK,JPY,NOK,PLN,RON,RSD,RUB,SEK,TRY,UAH,ZAR&lang=HU"_s.arg(
              QDate::currentDate().toString(u"yyyy-MM-dd"_s));
}

// The line of stderr that holds the download's own error text, starting
// with its label; empty when there is none.
QString errorTextLine(const QString &err)
{
    for (const QString &line : lines(err)) {
        if (line.startsWith(u"Hibaüzenet: "_s))
            return line;
    }
    return {};
}

} // namespace

QString TestCliFailures::settingsSwitch(const SourceSettings &sources)
{
    const QString path = m_folder->filePath(u"arfolyam.ini"_s);
    writeSettings(path, sources);
    return u"/settings"_s + path;
}

void TestCliFailures::initTestCase()
{
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestCliFailures::init()
{
    m_banks = std::make_unique<FakeBanks>(*m_certificate);
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void TestCliFailures::cleanup()
{
    m_banks.reset();
    m_folder.reset();
}

void TestCliFailures::centralBankAnswer_data()
{
    QTest::addColumn<FakeReply>("reply");
    // <endpoint> stands for the service's address.
    QTest::addColumn<QString>("err");
    // The steps shown before the run stopped.
    QTest::addColumn<int>("steps");

    QTest::newRow("SOAP fault") << FakeReply::withStatus(500, FakeMnbServer::fault(u"A kért időszakra nincs adat."_s))
                                << errorEntry(1, {u"A kért időszakra nincs adat."_s}) << 2;
    QTest::newRow("HTTP 500 without fault")
        << FakeReply::withStatus(500, "Runtime Error")
        << errorEntry(1,
                      {u"Az MNB árfolyam-szolgáltatása hibával válaszolt (<endpoint>): HTTP/1.1 500 Internal "
                       "Server Error"_s})
        << 2;
    QTest::newRow("answer without any rate")
        << FakeReply::withBody(FakeMnbServer::envelope(u"GetCurrentExchangeRates"_s, u"<MNBCurrentExchangeRates />"_s))
        << errorEntry(1,
                      {u"Hiba történt az árfolyamokat tartalmazó webservice elérése közben. Kérem, vegye fel a "
                       "kapcsolatot a forgalmazó Belmora Kft.-vel!"_s,
                       QString(), QString()})
        << 5;
    QTest::newRow("rates all 0") << FakeReply::withBody(FakeMnbServer::envelope(
        u"GetCurrentExchangeRates"_s,
        u"<MNBCurrentExchangeRates><Day date=\"2026-09-18\"><Rate unit=\"1\" curr=\"EUR\">0,00000</Rate>"
        "<Rate unit=\"1\" curr=\"USD\">0</Rate></Day></MNBCurrentExchangeRates>"_s))
                                 << NoUsableRate + u'\n' + errorEntry(1, {NoUsableRate}) << 5;
}

void TestCliFailures::centralBankAnswer()
{
    QFETCH(FakeReply, reply);
    QFETCH(QString, err);
    QFETCH(int, steps);

    m_banks->mnb.answerNext(reply);
    const CliRun run = runCli({u"/show"_s, m_banks->settingsSwitch()});
    QCOMPARE(lines(run.err), lines(err.replace(u"<endpoint>"_s, m_banks->mnb.url())));
    QCOMPARE(lines(run.out), lines(connectSteps(steps) + ShowClosingLine));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(m_banks->mnb.calls().size(), 1);
}

void TestCliFailures::centralBankUnreachable()
{
    const int port = closedLoopbackPort();
    const QString endpoint = u"http://127.0.0.1:%1/arfolyamok.asmx"_s.arg(port);
    const CliRun run = runCli({u"/show"_s, settingsSwitch({endpoint, m_banks->otp.origin(), QString()})});

    const QStringList err = lines(run.err);
    QCOMPARE(err.size(), 4);
    QCOMPARE(err[0], u"[Hibaüzenet sorszáma: 1]"_s);
    const QString reason =
        u"Az MNB árfolyam-szolgáltatása nem érhető el (%1): Failed to connect to 127.0.0.1 port %2"_s.arg(endpoint).arg(
            port);
    QVERIFY2(err[1].startsWith(reason), qPrintable(err[1]));
    QCOMPARE(err[2], u" "_s);
    QCOMPARE(lines(run.out), lines(connectSteps(2) + ShowClosingLine));
    QCOMPARE(run.exitCode, 1);
}

void TestCliFailures::historyFault()
{
    m_banks->mnb.answerNextWithFault(u"Érvénytelen devizanem: XYZ"_s);
    const CliRun run = runCli({u"/show"_s, u"/history"_s, u"/from2026.09.01"_s, u"/to2026.09.08"_s, u"/currEUR,XYZ"_s,
                               m_banks->settingsSwitch()});
    QCOMPARE(lines(run.err), lines(errorEntry(1, {u"Érvénytelen devizanem: XYZ"_s})));
    QCOMPARE(lines(run.out), lines(connectSteps(2) + ShowClosingLine));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(m_banks->mnb.calls().value(0).operation, u"GetExchangeRates"_s);
}

void TestCliFailures::otpAnswer_data()
{
    QTest::addColumn<FakeReply>("reply");
    // The lines of each reported error, <address> standing for the table's
    // address and <origin> for the bank's.
    QTest::addColumn<QList<QStringList>>("errors");
    // Shown as a warning box before the errors.
    QTest::addColumn<QString>("warning");

    QTest::newRow("404") << FakeReply::withStatus(404, "<html><body>Nem található</body></html>")
                         << QList<QStringList>{downloadFailure(u"<address>"_s, u"HTTP/1.1 404 Not Found"_s),
                                               pageAnalysisFailure(u"<origin>"_s)}
                         << QString();
    QTest::newRow("empty answer") << FakeReply::withBody({}) << QList<QStringList>{pageAnalysisFailure(u"<origin>"_s)}
                                  << QString();
    QTest::newRow("page instead of the table")
        << FakeReply::withBody("<html><body>Karbantartás miatt zárva.</body></html>")
        << QList<QStringList>{pageAnalysisFailure(u"<origin>"_s)} << QString();
    QTest::newRow("rates all 0") << FakeReply::withBody(
        "Deviza- és valutaárfolyamok\r\nNév;Érvényesség;Egység;Közép;Valuta vételi;"
        "Valuta eladási;Csekk vételi;Csekk eladási;Deviza vételi;Deviza eladási;Verzió\r\n"
        "EUR;;1;0,00;0,00;0,00;0,00;0,00;0,00;0,00;1\r\n")
                                 << QList<QStringList>{{NoUsableRate}} << NoUsableRate + u'\n';
}

void TestCliFailures::otpAnswer()
{
    QFETCH(FakeReply, reply);
    QFETCH(QList<QStringList>, errors);
    QFETCH(QString, warning);

    m_banks->otp.answerNext(reply);
    const CliRun run = runCli({u"/show"_s, u"/bOTP"_s, m_banks->settingsSwitch()});

    const QString origin = m_banks->otp.origin();
    QString err = warning;
    for (int i = 0; i < errors.size(); ++i) {
        QStringList lines = errors[i];
        lines.replaceInStrings(u"<address>"_s, otpAddress(origin)).replaceInStrings(u"<origin>"_s, origin);
        err += errorEntry(i + 1, lines);
    }
    QCOMPARE(lines(run.err), lines(err));
    QCOMPARE(lines(run.out), lines(connectSteps() + ShowClosingLine));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(m_banks->otp.requests().size(), 1);
}

void TestCliFailures::otpUnreachable()
{
    const QString origin = u"https://127.0.0.1:%1"_s.arg(closedLoopbackPort());
    const CliRun run = runCli(
        {u"/show"_s, u"/bOTP"_s, settingsSwitch({m_banks->mnb.url(), origin, m_certificate->certificatePath()})});

    const QString errorText = errorTextLine(run.err);
    QVERIFY2(errorText.startsWith(u"Hibaüzenet: Failed to connect to 127.0.0.1"_s), qPrintable(run.err));
    QCOMPARE(lines(run.err),
             lines(errorEntry(1, downloadFailure(otpAddress(origin), errorText.mid(12)))
                   + errorEntry(2, pageAnalysisFailure(origin))));
    QCOMPARE(lines(run.out), lines(connectSteps() + ShowClosingLine));
    QCOMPARE(run.exitCode, 1);
}

void TestCliFailures::otpCertificateNotTrusted()
{
    const QString origin = m_banks->otp.origin();
    const CliRun run = runCli({u"/show"_s, u"/bOTP"_s, settingsSwitch({m_banks->mnb.url(), origin, QString()})});

    const QString errorText = errorTextLine(run.err);
    QVERIFY2(errorText.startsWith(u"Hibaüzenet: SSL certificate problem"_s), qPrintable(run.err));
    QCOMPARE(lines(run.err),
             lines(errorEntry(1, downloadFailure(otpAddress(origin), errorText.mid(12)))
                   + errorEntry(2, pageAnalysisFailure(origin))));
    QCOMPARE(lines(run.out), lines(connectSteps() + ShowClosingLine));
    QCOMPARE(run.exitCode, 1);
    QVERIFY(m_banks->otp.requests().isEmpty());
}

void TestCliFailures::otpAnswerOverTheLimit()
{
    const QString origin = m_banks->otp.origin();
    SourceSettings sources{m_banks->mnb.url(), origin, m_certificate->certificatePath()};
    sources.maxAnswerMiB = 1;
    m_banks->otp.answerNext(FakeReply::withBody(QByteArray(1024 * 1024 + 1, ';')));
    const CliRun run = runCli({u"/show"_s, u"/bOTP"_s, settingsSwitch(sources)});

    const QString tooLarge = u"A válasz nagyobb a megengedett 1 MiB-nál, ezért az átvitel megszakadt. A korlát a "
                             "beállításfájl [Sources] szakaszának MaxAnswerMiB kulcsával emelhető."_s;
    QCOMPARE(lines(run.err),
             lines(errorEntry(1, downloadFailure(otpAddress(origin), tooLarge))
                   + errorEntry(2, pageAnalysisFailure(origin))));
    QCOMPARE(run.exitCode, 1);
}

QTEST_GUILESS_MAIN(TestCliFailures)
#include "TestCliFailures.moc"
