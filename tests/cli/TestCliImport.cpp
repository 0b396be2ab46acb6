#include "CliHarness.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/SelfSignedCertificate.h"
#include "fakes/SuiteDatabase.h"
#include "startup/Formats.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// arfolyam-cli importing from the fake banks into a real suite database,
// embedded; or through the tests' Firebird server when built for it.
class TestCliImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void centralBankIntoTheBooks();
    void otpWithCrossAndReversedRates();
    void historyOfTheSuitesCurrencies();
    void secondRunWritesNothingTwice();
    void failedFetchLeavesTheBooksAlone();
    void showTouchesNoDatabase();
    void databaseSwitchNeeded_data();
    void databaseSwitchNeeded();
    void connectionFailure_data();
    void connectionFailure();

private:
    // The database switches of the run: /d, and /server and /p through the
    // server.
    QStringList databaseSwitches() const;
    CliRun run(const QStringList &arguments) const;

    std::optional<TestFirebirdServer> m_server;
    std::unique_ptr<SelfSignedCertificate> m_certificate;
    std::unique_ptr<FakeBanks> m_banks;
    std::unique_ptr<SuiteDatabase> m_db;
};

namespace {

const QDate Friday(2026, 9, 18);

const QString DatabaseSteps = u"Csatlakozás a Belmora Ügyviteli Rendszer 2022 adatbázisához...\n"
                              "Devizanemek ellenőrzése...\n"
                              "Nemlétező devizanemek létrehozása...\n"
                              "Kiválasztott árfolyamok létrehozása...\n"
                              "Adatbáziskapcsolat megszüntetése...\n"_s;

QString writtenLine(int written, int replaced, int kept, int skipped)
{
    return u"Beírt sorok: %1 (ebből egy korábbi sor helyére: %2); a nap már ugyanezzel az árfolyammal szerepelt, "
           "ezért nem írt sorok: %3; árfolyam vagy dátum híján kimaradt tételek: %4.\n"_s.arg(written)
               .arg(replaced)
               .arg(kept)
               .arg(skipped);
}

// A central-bank rate per unit, as the database holds it.
QString storedRate(const QString &code, const QDate &day)
{
    return QString::number(FakeMnbServer::rate(code, day) / FakeMnbServer::unit(code), 'g', 17);
}

} // namespace

QStringList TestCliImport::databaseSwitches() const
{
    QStringList switches{u"/d"_s + m_db->path()};
    if (m_server)
        switches << u"/server"_s + m_db->serverName() << u"/p"_s + m_db->password();
    return switches;
}

CliRun TestCliImport::run(const QStringList &arguments) const
{
    return runCli(arguments + databaseSwitches() + QStringList{m_banks->settingsSwitch()});
}

void TestCliImport::initTestCase()
{
#ifdef ARFOLYAM_THROUGH_SERVER
    m_server = TestFirebirdServer::fromEnvironment();
    if (!m_server)
        QSKIP("No test server: run through CTest.");
#endif
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestCliImport::init()
{
    m_banks = std::make_unique<FakeBanks>(*m_certificate);
    m_banks->mnb.setCurrentDay(Friday);
    m_db = std::make_unique<SuiteDatabase>(m_server);
    m_db->execute({u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('JPY', 'jen', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('XAU', 'arany', 2)"_s,
                   u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')"_s});
}

void TestCliImport::cleanup()
{
    m_db.reset();
    m_banks.reset();
}

void TestCliImport::centralBankIntoTheBooks()
{
    const CliRun result = run({u"/reversed"_s});
    QCOMPARE(result.err, QString());
    // XAU is not quoted by the bank: it is the one item left out.
    QVERIFY2(result.out.startsWith(connectSteps() + u"Pénznem\tEgység\tKözép\n"_s), qPrintable(result.out));
    QVERIFY2(result.out.endsWith(DatabaseSteps + writtenLine(4, 0, 0, 1)), qPrintable(result.out));
    QCOMPARE(result.exitCode, 0);

    const QString day = u"2026-09-18 00:00:00.000"_s;
    QCOMPARE(
        m_db->rows(u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM ORDER BY DKKOD, DKOD"_s),
        (QList<QStringList>{
            {day, u"MNB"_s, u"HUF"_s, u"EUR"_s, QString::number(1 / (FakeMnbServer::rate(u"EUR"_s, Friday)), 'g', 17),
             QString::number(1 / (FakeMnbServer::rate(u"EUR"_s, Friday)), 'g', 17),
             QString::number(1 / (FakeMnbServer::rate(u"EUR"_s, Friday)), 'g', 17)},
            {day, u"MNB"_s, u"EUR"_s, u"HUF"_s, storedRate(u"EUR"_s, Friday), storedRate(u"EUR"_s, Friday),
             storedRate(u"EUR"_s, Friday)},
            {day, u"MNB"_s, u"JPY"_s, u"HUF"_s, storedRate(u"JPY"_s, Friday), storedRate(u"JPY"_s, Friday),
             storedRate(u"JPY"_s, Friday)},
            {day, u"MNB"_s, u"HUF"_s, u"JPY"_s,
             QString::number(1 / (FakeMnbServer::rate(u"JPY"_s, Friday) / 100), 'g', 17),
             QString::number(1 / (FakeMnbServer::rate(u"JPY"_s, Friday) / 100), 'g', 17),
             QString::number(1 / (FakeMnbServer::rate(u"JPY"_s, Friday) / 100), 'g', 17)},
        }));
}

void TestCliImport::otpWithCrossAndReversedRates()
{
    m_db->execute({u"DELETE FROM CNFKOZOS"_s, u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('EUR')"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('USD', 'dollár', 2)"_s});
    m_banks->otp.answerNext(FakeReply::withBody(otpFixtureTable(QDate::currentDate())));
    const CliRun result = run({u"/bOTP"_s, u"/ct1"_s, u"/cross"_s, u"/reversed"_s, u"/offset0"_s});
    QCOMPARE(result.err, QString());
    // XAU is not quoted; EUR, the book-keeping currency, gets neither a
    // cross nor a reversed row.
    QVERIFY2(result.out.endsWith(DatabaseSteps + writtenLine(7, 0, 0, 1)), qPrintable(result.out));
    QCOMPARE(result.exitCode, 0);

    // The fixture's Valuta rates per unit, in forint and in euro. The table
    // is today's, published at 07:45, written on the next working day from
    // today at that time.
    const auto exact = [](double rate) { return QString::number(rate, 'g', 17); };
    const auto three = [&](double rate) { return QStringList(3, exact(rate)); };
    const QList<QStringList> rows =
        m_db->rows(u"SELECT BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM ORDER BY DKKOD, DKOD"_s);
    QCOMPARE(rows,
             (QList<QStringList>{
                 QStringList{u"OTP"_s, u"JPY"_s, u"EUR"_s} + three(200.61 / 100 / 363.52),
                 QStringList{u"OTP"_s, u"USD"_s, u"EUR"_s} + three(316.48 / 363.52),
                 {u"OTP"_s, u"EUR"_s, u"HUF"_s, exact(373.63), exact(353.41), exact(363.52)},
                 {u"OTP"_s, u"JPY"_s, u"HUF"_s, QString::number(207.63 / 100, 'g', 17),
                  QString::number(193.59 / 100, 'g', 17), QString::number(200.61 / 100, 'g', 17)},
                 {u"OTP"_s, u"USD"_s, u"HUF"_s, exact(325.82), exact(307.14), exact(316.48)},
                 QStringList{u"OTP"_s, u"HUF"_s, u"JPY"_s} + three(1 / (200.61 / 100)),
                 QStringList{u"OTP"_s, u"HUF"_s, u"USD"_s} + three(1 / 316.48),
             }));
    for (const QStringList &dat : m_db->rows(u"SELECT DISTINCT DAT FROM ARFOLYAM"_s)) {
        const QDateTime written = QDateTime::fromString(dat[0], u"yyyy-MM-dd hh:mm:ss.zzz"_s);
        QCOMPARE(written.time(), QTime(7, 45));
        QVERIFY(written.date() >= QDate::currentDate() && written.date().dayOfWeek() < 6);
    }
    QCOMPARE(m_db->rows(u"SELECT KOD FROM VHELY ORDER BY KOD"_s), (QList<QStringList>{{u"MNB"_s}, {u"OTP"_s}}));
}

void TestCliImport::historyOfTheSuitesCurrencies()
{
    const CliRun result = run({u"/history"_s, u"/from2026.09.14"_s, u"/to2026.09.18"_s, u"/suitecodeMNBHIST"_s});
    QCOMPARE(result.err, QString());
    QVERIFY2(
        result.out.startsWith(u"Csatlakozás a Belmora Ügyviteli Rendszer 2022 adatbázisához...\n"_s + connectSteps()),
        qPrintable(result.out));
    QVERIFY2(result.out.endsWith(DatabaseSteps + writtenLine(10, 0, 0, 0)), qPrintable(result.out));
    QCOMPARE(result.exitCode, 0);

    // EUR and JPY, the suite's three-letter currencies the bank quotes.
    const QList<FakeMnbCall> calls = m_banks->mnb.calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].parameter(u"currencyNames"_s), u"EUR,JPY,XAU"_s);
    QCOMPARE(m_db->rows(u"SELECT COUNT(*), MIN(DAT), MAX(DAT) FROM ARFOLYAM WHERE BANK = 'MNBHIST'"_s),
             (QList<QStringList>{{u"10"_s, u"2026-09-14 00:00:00.000"_s, u"2026-09-18 00:00:00.000"_s}}));
}

void TestCliImport::secondRunWritesNothingTwice()
{
    QCOMPARE(run({}).exitCode, 0);
    const QList<QStringList> first = m_db->rows(u"SELECT * FROM ARFOLYAM ORDER BY DKOD"_s);
    const CliRun second = run({});
    QVERIFY(second.out.endsWith(writtenLine(2, 2, 0, 1)));
    QCOMPARE(m_db->rows(u"SELECT * FROM ARFOLYAM ORDER BY DKOD"_s), first);
}

void TestCliImport::failedFetchLeavesTheBooksAlone()
{
    m_banks->mnb.answerNextWithFault(u"A szolgáltatás karbantartás alatt áll."_s);
    const QList<QStringList> currencies = m_db->rows(u"SELECT * FROM DEVIZA ORDER BY KOD"_s);
    const CliRun result = run({u"/createcurrency"_s});
    QCOMPARE(lines(result.err), lines(errorEntry(1, {u"A szolgáltatás karbantartás alatt áll."_s})));
    QCOMPARE(lines(result.out), lines(connectSteps(2) + u"Az adatbázis nem változott: a lekérdezés nem sikerült.\n"_s));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(m_db->rows(u"SELECT COUNT(*) FROM ARFOLYAM"_s), (QList<QStringList>{{u"0"_s}}));
    QCOMPARE(m_db->rows(u"SELECT * FROM DEVIZA ORDER BY KOD"_s), currencies);
}

void TestCliImport::showTouchesNoDatabase()
{
    const CliRun result = run({u"/show"_s});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.endsWith(ShowClosingLine));
    QCOMPARE(m_db->rows(u"SELECT COUNT(*) FROM ARFOLYAM"_s), (QList<QStringList>{{u"0"_s}}));
}

void TestCliImport::databaseSwitchNeeded_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("no /d") << QStringList{u"/bMNB"_s}
                           << u"Az importáláshoz adja meg a Belmora adatbázisát a /d kapcsolóval (például "
                              "/dC:\\BELMORA\\ADAT.FDB), vagy a /show kapcsolóval csak nézze meg az árfolyamokat."_s;
    QTest::newRow("missing file") << QStringList{u"/d/nincs/ilyen/ADAT.FDB"_s}
                                  << u"A megadott adatbázis nem létezik!\n\n/nincs/ilyen/ADAT.FDB"_s;
}

void TestCliImport::databaseSwitchNeeded()
{
    if (m_server)
        QSKIP("A local matter.");
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CliRun result = runCli(arguments + QStringList{m_banks->settingsSwitch()});
    QCOMPARE(result.err, u"arfolyam-cli: "_s + message + u'\n');
    QCOMPARE(result.exitCode, 2);
    QVERIFY(m_banks->untouched());
}

void TestCliImport::connectionFailure_data()
{
    QTest::addColumn<QStringList>("switches");
    // The message's lines up to "Hibaüzenet: ", and how Firebird's text starts.
    QTest::addColumn<QStringList>("head");
    QTest::addColumn<QString>("reason");

    const QString closed = u"127.0.0.1/%1"_s.arg(closedLoopbackPort());
    QTest::newRow("server not running") << QStringList{u"/server"_s + closed, u"/d/srv/belmora/ADAT.FDB"_s}
                                        << QStringList{u"Hiba történt az adatbázishoz való csatlakozás közben!"_s,
                                                       QString(), u"Számitógép: "_s + closed,
                                                       u"Adatbázis:/srv/belmora/ADAT.FDB"_s, QString()}
                                        << u"Unable to complete network request"_s;
#ifdef ARFOLYAM_THROUGH_SERVER
    const TestFirebirdServer server = *TestFirebirdServer::fromEnvironment();
    const QString name = u"%1/%2"_s.arg(server.host).arg(server.port);
    QTest::newRow("wrong password") << QStringList{u"/server"_s + name, u"/d/tmp/x.fdb"_s, u"/prossz"_s}
                                    << QStringList{u"Hiba történt az adatbázishoz való csatlakozás közben!"_s,
                                                   QString(), u"Számitógép: "_s + name, u"Adatbázis:/tmp/x.fdb"_s,
                                                   QString()}
                                    << u"Your user name and password are not defined."_s;
    QTest::newRow("no such database on the server")
        << QStringList{u"/server"_s + name, u"/d/nincs/ADAT.FDB"_s, u"/p"_s + server.password}
        << QStringList{u"Hiba történt az adatbázishoz való csatlakozás közben!"_s, QString(), u"Számitógép: "_s + name,
                       u"Adatbázis:/nincs/ADAT.FDB"_s, QString()}
        << u"I/O error during \"open\" operation for file \"/nincs/ADAT.FDB\""_s;
#endif
}

void TestCliImport::connectionFailure()
{
    QFETCH(QStringList, switches);
    QFETCH(QStringList, head);
    QFETCH(QString, reason);
    const CliRun result = runCli(switches + QStringList{m_banks->settingsSwitch()});
    const QStringList err = lines(result.err);
    QCOMPARE(err.value(0), u"[Hibaüzenet sorszáma: 1]"_s);
    QCOMPARE(err.mid(1, head.size()), head);
    QVERIFY2(err.value(head.size() + 1).startsWith(u"Hibaüzenet: "_s + reason), qPrintable(result.err));
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.endsWith(writtenLine(0, 0, 0, 0)));
}

QTEST_GUILESS_MAIN(TestCliImport)
#include "TestCliImport.moc"
