#include "WizardHarness.h"

#include "cli/CliHarness.h"
#include "wizard/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

Q_DECLARE_METATYPE(FakeReply)

using namespace Qt::StringLiterals;
using namespace WizardTest;

// The run the suite starts with /silent: the Welcome page preset from the
// switches, the run started by the first showing, Settings skipped, the
// window closing by itself after Finished, and staying open after a
// failure.
class TestUnattendedRun : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void presetFromTheSwitches_data();
    void presetFromTheSwitches();
    void intoTheBooksAndClosed_data();
    void intoTheBooksAndClosed();
    void failureStaysOnTheErrorPage_data();
    void failureStaysOnTheErrorPage();

private:
    std::unique_ptr<SuiteDatabase> m_db;
    std::unique_ptr<FakeSources> m_sources;
    std::unique_ptr<MessageBoxAnswerer> m_boxes;
};

namespace {

const QString NoUsableRate =
    u"A kiválasztott bank honlapján (még) nem elérhetőek a napi árfolyamok. Kérjük próbálja újra később!"_s;

QList<QStringList> sortedByKey(QList<QStringList> rows)
{
    std::sort(rows.begin(), rows.end(), [](const QStringList &a, const QStringList &b) {
        return std::tie(a[1], a[2], a[3], a[0]) < std::tie(b[1], b[2], b[3], b[0]);
    });
    return rows;
}

} // namespace

void TestUnattendedRun::initTestCase()
{
    // For the cases that write nothing.
    m_db = std::make_unique<SuiteDatabase>();
    fillSuite(*m_db);
}

void TestUnattendedRun::init()
{
    m_sources = std::make_unique<FakeSources>();
    m_boxes = std::make_unique<MessageBoxAnswerer>();
}

void TestUnattendedRun::cleanup()
{
    m_boxes.reset();
    m_sources.reset();
}

void TestUnattendedRun::presetFromTheSwitches_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QStringList>("rateTypes");
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    QTest::addColumn<bool>("createMissing");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<bool>("cross");

    const QStringList otpTypes{u"Deviza"_s, u"Valuta"_s, u"Csekk"_s};
    const QStringList mnbTypes{u"Deviza"_s};
    QTest::newRow("OTP Bank, Valuta, middle only")
        << QStringList{u"/silent"_s, u"/bOTP"_s, u"/ct1"_s, u"/middle"_s} << OtpBank << otpTypes << 1 << true
        << false << false << false;
    QTest::newRow("OTP Bank, Csekk") << QStringList{u"/silent"_s, u"/bOtp"_s, u"/ct2"_s} << OtpBank << otpTypes << 2
                                     << false << false << false << false;
    QTest::newRow("OTP Bank has no fourth type") << QStringList{u"/silent"_s, u"/bOTP"_s, u"/ct3"_s} << OtpBank
                                                 << otpTypes << 0 << false << false << false << false;
    QTest::newRow("central bank keeps its one type and the middle rate")
        << QStringList{u"/silent"_s, u"/bMNB"_s, u"/ct2"_s} << CentralBank << mnbTypes << 0 << true << false << false
        << false;
    QTest::newRow("KHB goes to OTP Bank, with the options")
        << QStringList{u"/SILENT"_s, u"/bkhb"_s, u"/createcurrency"_s, u"/reversed"_s, u"/cross"_s} << OtpBank
        << otpTypes << 0 << false << true << true << true;
    QTest::newRow("an unknown code is the central bank")
        << QStringList{u"/silent"_s, u"/bXYZ"_s} << CentralBank << mnbTypes << 0 << true << false << false << false;
    QTest::newRow("without /silent the switches are not read")
        << QStringList{u"/bOTP"_s, u"/ct1"_s, u"/middle"_s, u"/createcurrency"_s, u"/reversed"_s, u"/cross"_s}
        << QString() << QStringList() << -1 << false << false << false << false;
}

void TestUnattendedRun::presetFromTheSwitches()
{
    QFETCH(QStringList, switches);
    QFETCH(QString, bank);
    QFETCH(QStringList, rateTypes);
    QFETCH(int, rateType);
    QFETCH(bool, onlyMiddle);
    QFETCH(bool, createMissing);
    QFETCH(bool, reversed);
    QFETCH(bool, cross);

    // Looked at before the window is shown: the run waits for that.
    WizardWindow w(switches + QStringList{u"/d"_s + m_db->path()}, m_sources->settingsPath());
    QCoreApplication::processEvents();
    QCOMPARE(w.page(), u"Welcome"_s);
    QVERIFY(m_sources->mnb.calls().isEmpty());
    QVERIFY(m_sources->otp.requests().isEmpty());

    const QRadioButton *chosen = WizardWindow::chosen(w.bankGroup());
    QCOMPARE(chosen ? chosen->text() : QString(), bank);
    QCOMPARE(WizardWindow::itemTexts(w.rateTypeGroup()), rateTypes);
    QCOMPARE(w.rateTypeGroup()->itemIndex(), rateType);
    QCOMPARE(w.onlyMiddle()->isChecked(), onlyMiddle);
    QCOMPARE(w.control<QCheckBox>(u"cbCreateNonExistsCurrencies"_s)->isChecked(), createMissing);
    QCOMPARE(w.control<QCheckBox>(u"cbCreateReversedExchanges"_s)->isChecked(), reversed);
    QCOMPARE(w.control<QCheckBox>(u"cbCreateCrossExchanges"_s)->isChecked(), cross);
    QCOMPARE(w.control<QCheckBox>(u"cbCreateCrossExchanges"_s)->isEnabled(), cross);
    // Never a history run; the suite's code is left unpicked.
    QVERIFY(!w.history()->isChecked());
    QCOMPARE(w.suiteCodes()->currentIndex(), -1);
}

void TestUnattendedRun::intoTheBooksAndClosed_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QList<QStringList>>("rows");

    // Every currency the suite knows, forint aside.
    QList<QStringList> centralBank;
    for (const QString &code : {u"EUR"_s, u"JPY"_s, u"USD"_s}) {
        const double rate = FakeMnbServer::rate(code, Friday) / FakeMnbServer::unit(code);
        const QString day = u"2026-09-18 00:00:00.000"_s;
        centralBank << QStringList{day, u"MNB"_s, code, u"HUF"_s, storedNumber(rate), storedNumber(rate),
                                   storedNumber(rate)};
        const QString back = storedNumber(1 / rate);
        centralBank << QStringList{day, u"MNB"_s, u"HUF"_s, code, back, back, back};
    }
    QTest::newRow("central bank with reversed rates")
        << QStringList{u"/silent"_s, u"/bMNB"_s, u"/ct2"_s, u"/reversed"_s} << sortedByKey(centralBank);

    const auto otp = [](const QString &code, double sale, double buy, double middle, int unit = 1) {
        return QStringList{u"2026-09-18 07:45:00.000"_s, u"OTP"_s,
                           code,
                           u"HUF"_s,
                           storedNumber(sale / unit),
                           storedNumber(buy / unit),
                           storedNumber(middle / unit)};
    };
    QTest::newRow("OTP Bank, Valuta") << QStringList{u"/silent"_s, u"/bOTP"_s, u"/ct1"_s}
                                      << QList<QStringList>{otp(u"EUR"_s, 373.63, 353.41, 363.52),
                                                            otp(u"JPY"_s, 207.63, 193.59, 200.61, 100),
                                                            otp(u"USD"_s, 325.82, 307.14, 316.48)};
}

void TestUnattendedRun::intoTheBooksAndClosed()
{
    QFETCH(QStringList, switches);
    QFETCH(QList<QStringList>, rows);

    SuiteDatabase db;
    fillSuite(db);
    m_sources->appendSettings(u"\r\n[Magyar Nemzeti Bank]\r\nEUR=0\r\n\r\n[Országos TakarékPénztár]\r\nCHF=1\r\n"_s);
    m_sources->otp.answerNext(FakeReply::withBody(otpFixtureTable(Friday)));
    const QByteArray settingsBefore = fileBytes(m_sources->settingsPath());

    WizardWindow w(switches + QStringList{u"/d"_s + db.path()}, m_sources->settingsPath());
    PageTrail pages(w);
    QVERIFY(w.show());
    QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), DeadlineMs);

    QCOMPARE(pages.pages(), (QStringList{u"Welcome"_s, u"Connect"_s, u"DatabaseInsert"_s, u"Finished"_s}));
    // Nothing for the user to press while it waits to close.
    QCOMPARE(pages.entries().last(),
             PageTrail::entry(u"Finished"_s, u"Devizanemek és árfolyamok létrehozása sikeresen megtörtént"_s,
                              u"A program sikeresen frissítette a Belmora Ügyviteli Rendszer 2022-t a kiválasztott "
                              "árfolyamokkal."_s,
                              false, false, u"-"_s));
    QCOMPARE(w.cancelButton()->text(), u"Kilépés"_s);
    QCOMPARE(rateRows(db), rows);
    QCOMPARE(fileBytes(m_sources->settingsPath()), settingsBefore);
    QVERIFY2(m_boxes->boxes().isEmpty(), qPrintable(m_boxes->texts().join(u'\n')));
    const int fetches = int(m_sources->mnb.calls().size() + m_sources->otp.requests().size());
    QCOMPARE(fetches, 1);

    // Shown again, it does not run again.
    w.form().show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(w.page(), u"Finished"_s);
    QCOMPARE(int(m_sources->mnb.calls().size() + m_sources->otp.requests().size()), fetches);
}

void TestUnattendedRun::failureStaysOnTheErrorPage_data()
{
    QTest::addColumn<FakeReply>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("message");

    QTest::newRow("the bank fails") << FakeReply::withStatus(500, FakeMnbServer::fault(u"Karbantartás."_s))
                                    << QStringList() << u"Karbantartás."_s;
    // The box waits for the user, as in an interactive run.
    QTest::newRow("no usable rate") << FakeReply::withBody(FakeMnbServer::envelope(
        u"GetCurrentExchangeRates"_s, u"<MNBCurrentExchangeRates><Day date=\"2026-09-18\"><Rate unit=\"1\" "
                                      "curr=\"EUR\">0</Rate></Day></MNBCurrentExchangeRates>"_s))
                                    << QStringList{NoUsableRate} << NoUsableRate;
}

void TestUnattendedRun::failureStaysOnTheErrorPage()
{
    QFETCH(FakeReply, answer);
    QFETCH(QStringList, boxes);
    QFETCH(QString, message);

    m_sources->mnb.answerNext(answer);
    const QList<QStringList> suiteBefore = suiteContents(*m_db);
    WizardWindow w({u"/silent"_s, u"/bMNB"_s, u"/d"_s + m_db->path()}, m_sources->settingsPath());
    PageTrail pages(w);
    QVERIFY(w.show());
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"ErrorFinish"_s, DeadlineMs);

    QCOMPARE(pages.pages(), (QStringList{u"Welcome"_s, u"Connect"_s, u"ErrorFinish"_s}));
    QCOMPARE(m_boxes->texts(), boxes);
    QCOMPARE(w.errorMemo()->toPlainText(), memoEntry(1, {message}).join(u'\n'));
    QVERIFY(w.isVisible());
    QVERIFY(w.cancelButton()->isEnabled());
    QCOMPARE(w.cancelButton()->text(), u"Kilépés"_s);
    QVERIFY(!w.nextButton()->isEnabled());
    QVERIFY(!w.backButton()->isEnabled());
    QCOMPARE(suiteContents(*m_db), suiteBefore);

    w.pressCancel();
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(TestUnattendedRun)
#include "TestUnattendedRun.moc"
