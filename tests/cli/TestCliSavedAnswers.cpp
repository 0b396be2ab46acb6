#include "CliHarness.h"
#include "fakes/SelfSignedCertificate.h"
#include "sources/BankCatalogue.h"
#include "sources/RateDocument.h"

#include <QFile>
#include <QTest>
#include <memory>
#include <pugixml.hpp>
#include <stdexcept>

using namespace Qt::StringLiterals;

class TestCliSavedAnswers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void centralBankAnswer_data();
    void centralBankAnswer();
    void otpTable_data();
    void otpTable();
    void unusableAnswer_data();
    void unusableAnswer();
    void cleanupTestCase();

private:
    QString writeAnswer(const QString &name, const QByteArray &content) const;

    QTemporaryDir m_folder;
    std::unique_ptr<SelfSignedCertificate> m_certificate;
    // Only there to show that nothing is fetched.
    std::unique_ptr<FakeBanks> m_banks;
};

namespace {

const QString NotCurrentWarning =
    u"Lehetséges, hogy a bank honlapján található árfolyam-információk nem naprakészek. Kérem ellenőrizze!"_s;
const QString NoUsableRate =
    u"A kiválasztott bank honlapján (még) nem elérhetőek a napi árfolyamok. Kérjük próbálja újra később!"_s;
const QString OtpHeader = u"Név;Érvényesség;Egység;Közép;Valuta vételi;Valuta eladási;Csekk vételi;Csekk eladási;"
                          "Deviza vételi;Deviza eladási;Verzió"_s;

QString testData(const QString &name)
{
    return QString::fromUtf8(ARFOLYAM_TEST_DATA "/") + name;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rate document the saved SOAP answer carries, without its envelope.
QByteArray rateDocumentOf(const QByteArray &answer)
{
    pugi::xml_document envelope;
    envelope.load_buffer(answer.constData(), size_t(answer.size()));
    const pugi::xpath_node result = envelope.select_node("//*[local-name()='GetCurrentExchangeRatesResult']");
    return QByteArray(result.node().text().get());
}

RateList centralBankList(const QByteArray &answer)
{
    CurrencyObjectList objects;
    readRateDocument(answer, objects);
    return currentRateList(MNBBankIndex, 0, true, &objects, {});
}

} // namespace

QString TestCliSavedAnswers::writeAnswer(const QString &name, const QByteArray &content) const
{
    const QString path = m_folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw std::runtime_error("The saved answer cannot be written: " + path.toStdString());
    return path;
}

void TestCliSavedAnswers::initTestCase()
{
    QVERIFY(m_folder.isValid());
    m_certificate = std::make_unique<SelfSignedCertificate>();
    m_banks = std::make_unique<FakeBanks>(*m_certificate);
}

void TestCliSavedAnswers::cleanupTestCase()
{
    QVERIFY(m_banks->untouched());
}

void TestCliSavedAnswers::centralBankAnswer_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QString>("inputSwitch");
    QTest::addColumn<QString>("answer");

    const QString soap = testData(u"mnb-current-rates.soap.xml"_s);
    const QString document = writeAnswer(u"mnb-current-rates.xml"_s, rateDocumentOf(contents(soap)));
    QTest::newRow("whole SOAP answer") << QStringList{u"/show"_s} << u"/input"_s << soap;
    QTest::newRow("rate document") << QStringList{u"/show"_s} << u"/input"_s << document;
    // The central bank quotes middle rates only, whatever the switches ask.
    QTest::newRow("/bMNB /ct2 without /middle")
        << QStringList{u"/show"_s, u"/bMNB"_s, u"/ct2"_s} << u"/input"_s << soap;
    QTest::newRow("any letter case") << QStringList{u"/SHOW"_s, u"/bmnb"_s} << u"/INPUT"_s << soap;
    QTest::newRow("database switches accepted")
        << QStringList{u"/show"_s,     u"/dC:/konyv/belmora.fdb"_s, u"/serverkonyvelo"_s, u"/uANNA"_s,
                       u"/ptitok"_s,   u"/suitecodeKP"_s,           u"/offset-2"_s,       u"/cross"_s,
                       u"/reversed"_s, u"/createcurrency"_s,        u"/silent"_s,         u"/crossenabled"_s}
        << u"/input"_s << document;
}

void TestCliSavedAnswers::centralBankAnswer()
{
    QFETCH(QStringList, switches);
    QFETCH(QString, inputSwitch);
    QFETCH(QString, answer);

    const RateList expected = centralBankList(contents(answer));
    QCOMPARE(expected.rows.size(), 32);

    const CliRun run = runCli(switches + QStringList{inputSwitch + answer, m_banks->settingsSwitch()});
    QCOMPARE(run.err, QString());
    QCOMPARE(lines(run.out), lines(shownRates(expected)));
    QCOMPARE(run.exitCode, 0);
}

void TestCliSavedAnswers::otpTable_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("onlyMiddle");

    QTest::newRow("/ct0 Deviza") << QStringList{u"/show"_s, u"/bOTP"_s, u"/ct0"_s} << 0 << false;
    QTest::newRow("/ct1 Valuta") << QStringList{u"/show"_s, u"/bOTP"_s, u"/ct1"_s} << 1 << false;
    QTest::newRow("/ct2 Csekk") << QStringList{u"/show"_s, u"/bOTP"_s, u"/ct2"_s} << 2 << false;
    QTest::newRow("no /ct") << QStringList{u"/show"_s, u"/bOTP"_s} << 0 << false;
    // OTP Bank has three rate types: the fourth leaves its default.
    QTest::newRow("/ct3") << QStringList{u"/show"_s, u"/bOTP"_s, u"/ct3"_s} << 0 << false;
    QTest::newRow("/middle") << QStringList{u"/show"_s, u"/bOTP"_s, u"/middle"_s} << 0 << true;
    QTest::newRow("/ct2 /middle") << QStringList{u"/show"_s, u"/bOTP"_s, u"/ct2"_s, u"/middle"_s} << 2 << true;
    QTest::newRow("/bKHB is OTP Bank") << QStringList{u"/show"_s, u"/bKHB"_s, u"/ct1"_s} << 1 << false;
    QTest::newRow("any letter case") << QStringList{u"/SHOW"_s, u"/bOtp"_s, u"/CT1"_s} << 1 << false;
}

void TestCliSavedAnswers::otpTable()
{
    QFETCH(QStringList, switches);
    QFETCH(int, rateType);
    QFETCH(bool, onlyMiddle);

    // The table is of 2026-09-18, not of today: its rates are listed with
    // the warning that they may be stale.
    const QString table = testData(u"otp-rates-2026-09-18.csv"_s);
    const CliRun run = runCli(switches + QStringList{u"/input"_s + table, m_banks->settingsSwitch()});
    QCOMPARE(lines(run.err), lines(NotCurrentWarning + u'\n'));
    QCOMPARE(lines(run.out), lines(connectSteps() + otpFixtureList(rateType, onlyMiddle) + ShowClosingLine));
    QCOMPARE(run.exitCode, 0);
}

void TestCliSavedAnswers::unusableAnswer_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("steps");

    const QString pageAnalysis = u"Hiba történt az árfolyamokat tartalmazó weboldal elemzése közben. Előfordulhat, "
                                 "hogy megváltozott vagy hibás a weboldal. Kérem ellenőrizze a weboldal tartalmát a "
                                 "böngészőjén keresztül"_s;
    const QString otpTitle = u"OTP Bank Nyrt. devizaárfolyamok – érvényes: 2026.09.18 07:45\r\n"_s;

    QTest::newRow("central bank fault") << u"/bMNB"_s << FakeMnbServer::fault(u"A kért adat nem érhető el."_s)
                                        << errorEntry(1, {u"A kért adat nem érhető el."_s}) << 2;
    QTest::newRow("central bank answer without any rate")
        << u"/bMNB"_s << QByteArray("<MNBCurrentExchangeRates />")
        << errorEntry(1,
                      {u"Hiba történt az árfolyamokat tartalmazó webservice elérése közben. Kérem, vegye fel a "
                       "kapcsolatot a forgalmazó Belmora Kft.-vel!"_s,
                       QString(), QString()})
        << 5;
    QTest::newRow("central bank rates all 0")
        << u"/bMNB"_s
        << QByteArray("<MNBCurrentExchangeRates><Day date=\"2026-09-18\"><Rate unit=\"1\" curr=\"EUR\">0</Rate>"
                      "<Rate unit=\"100\" curr=\"JPY\">0,00000</Rate></Day></MNBCurrentExchangeRates>")
        << NoUsableRate + u'\n' + errorEntry(1, {NoUsableRate}) << 5;
    QTest::newRow("OTP table without rows")
        << u"/bOTP"_s << (otpTitle + OtpHeader + u"\r\n"_s).toUtf8()
        << errorEntry(1, {pageAnalysis, QString(), m_banks->otp.origin() + u"/portal/hu/Arfolyamok/OTP"_s}) << 5;
    QTest::newRow("OTP rates all 0")
        << u"/bOTP"_s
        << (otpTitle + OtpHeader + u"\r\nEUR;2026.09.18 07:45;1;0,00;0,00;0,00;0,00;0,00;0,00;0,00;1\r\n"_s).toUtf8()
        << NoUsableRate + u'\n' + errorEntry(1, {NoUsableRate}) << 5;
}

void TestCliSavedAnswers::unusableAnswer()
{
    QFETCH(QString, bank);
    QFETCH(QByteArray, answer);
    QFETCH(QString, err);
    QFETCH(int, steps);

    const QString path = writeAnswer(u"answer.txt"_s, answer);
    const CliRun run = runCli({u"/show"_s, bank, u"/input"_s + path, m_banks->settingsSwitch()});
    QCOMPARE(lines(run.err), lines(err));
    QCOMPARE(lines(run.out), lines(connectSteps(steps) + ShowClosingLine));
    QCOMPARE(run.exitCode, 1);
}

QTEST_GUILESS_MAIN(TestCliSavedAnswers)
#include "TestCliSavedAnswers.moc"
