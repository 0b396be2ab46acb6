#include "WizardHarness.h"

#include "cli/CliHarness.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/SelfSignedCertificate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace WizardTest;

// Interactive current-rate runs from start to end: the ticked rates in the
// books, the ticks kept for the bank's next run, a download that fails, and
// a settings file that cannot take the ticks.
class TestWizardRuns : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void currentRatesIntoTheBooks_data();
    void currentRatesIntoTheBooks();
    void downloadFails_data();
    void downloadFails();
    void selectionCannotBeStored_data();
    void selectionCannotBeStored();

private:
    std::unique_ptr<FakeSources> m_sources;
    std::unique_ptr<MessageBoxAnswerer> m_boxes;
};

namespace {

const QString OtpFixtureDay = u"2026-09-18 07:45:00.000"_s;
const QString CentralBankDay = u"2026-09-18 00:00:00.000"_s;

QStringList otpRow(const QString &code, double sale, double buy, double middle, int unit = 1)
{
    return {OtpFixtureDay, u"OTP"_s, code, u"HUF"_s, storedNumber(sale / unit), storedNumber(buy / unit),
            storedNumber(middle / unit)};
}

QStringList centralBankRow(const QString &code)
{
    const QString rate = storedNumber(FakeMnbServer::rate(code, Friday) / FakeMnbServer::unit(code));
    return {CentralBankDay, u"MNB"_s, code, u"HUF"_s, rate, rate, rate};
}

const QStringList OtpFixtureCodes{u"EUR"_s, u"USD"_s, u"CHF"_s, u"GBP"_s, u"JPY"_s, u"CZK"_s, u"PLN"_s};

// Compares line by line; an expected line ending in "…" needs only to
// begin with what stands before it.
bool sameLines(const QStringList &actual, const QStringList &expected)
{
    if (actual.size() != expected.size())
        return false;
    for (int i = 0; i < actual.size(); ++i) {
        const QString &want = expected[i];
        if (want.endsWith(u'…') ? !actual[i].startsWith(want.chopped(1)) : actual[i] != want)
            return false;
    }
    return true;
}

} // namespace

void TestWizardRuns::init()
{
    m_sources = std::make_unique<FakeSources>();
    m_boxes = std::make_unique<MessageBoxAnswerer>();
}

void TestWizardRuns::cleanup()
{
    m_boxes.reset();
    m_sources.reset();
}

void TestWizardRuns::currentRatesIntoTheBooks_data()
{
    QTest::addColumn<QString>("bank");
    // Empty: the bank's first.
    QTest::addColumn<QString>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    QTest::addColumn<QStringList>("ticks");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QList<QStringList>>("rows");

    QTest::newRow("central bank") << CentralBank << QString() << false << QStringList{u"EUR"_s, u"JPY"_s}
                                  << CentralBankSection << FakeMnbServer::currencies()
                                  << QList<QStringList>{centralBankRow(u"EUR"_s), centralBankRow(u"JPY"_s)};
    QTest::newRow("OTP Bank, Deviza") << OtpBank << QString() << false << QStringList{u"EUR"_s, u"JPY"_s} << OtpSection
                                      << OtpFixtureCodes
                                      << QList<QStringList>{otpRow(u"EUR"_s, 367.12, 359.92, 363.52),
                                                            otpRow(u"JPY"_s, 202.62, 198.60, 200.61, 100)};
    QTest::newRow("OTP Bank, Csekk") << OtpBank << u"Csekk"_s << false << QStringList{u"USD"_s} << OtpSection
                                     << OtpFixtureCodes
                                     << QList<QStringList>{otpRow(u"USD"_s, 322.91, 310.05, 316.48)};
    QTest::newRow("OTP Bank, Valuta, middle only")
        << OtpBank << u"Valuta"_s << true << QStringList{u"GBP"_s, u"PLN"_s} << OtpSection << OtpFixtureCodes
        << QList<QStringList>{otpRow(u"GBP"_s, 423.31, 423.31, 423.31), otpRow(u"PLN"_s, 83.31, 83.31, 83.31)};
}

void TestWizardRuns::currentRatesIntoTheBooks()
{
    QFETCH(QString, bank);
    QFETCH(QString, rateType);
    QFETCH(bool, onlyMiddle);
    QFETCH(QStringList, ticks);
    QFETCH(QString, section);
    QFETCH(QStringList, listed);
    QFETCH(QList<QStringList>, rows);

    SuiteDatabase db;
    fillSuite(db);
    // The fixture's rates, twice: this run and the next.
    m_sources->otp.answerNext(FakeReply::withBody(otpFixtureTable(Friday)), 2);
    const auto chooseTheRun = [&](WizardWindow &w) {
        w.chooseBank(bank);
        if (!rateType.isEmpty())
            w.choose(w.rateTypeGroup(), rateType);
        if (onlyMiddle)
            w.toggle(w.onlyMiddle());
        w.pressNext();
    };

    {
        WizardWindow w({u"/d"_s + db.path()}, m_sources->settingsPath());
        QVERIFY(w.show());
        chooseTheRun(w);
        QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Settings"_s, DeadlineMs);
        QCOMPARE(WizardWindow::codes(w.rateList()), listed);
        // Nothing stored yet: nothing ticked.
        QVERIFY(WizardWindow::tickedCodes(w.rateList()).isEmpty());
        for (const QString &code : ticks)
            WizardWindow::clickTickBox(w.rateList(), code);
        QCOMPARE(WizardWindow::tickedCodes(w.rateList()), ticks);
        w.pressNext();
        QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Finished"_s, DeadlineMs);
        QVERIFY2(m_boxes->boxes().isEmpty(), qPrintable(m_boxes->texts().join(u'\n')));
    }

    QCOMPARE(rateRows(db), rows);
    // The whole list, in its order, under the bank's own section.
    QStringList stored;
    for (const QString &code : listed)
        stored << code + (ticks.contains(code) ? u"=1"_s : u"=0"_s);
    QCOMPARE(sectionLines(m_sources->settingsPath(), section), stored);
    const QString otherSection = section == OtpSection ? CentralBankSection : OtpSection;
    QVERIFY(sectionLines(m_sources->settingsPath(), otherSection).isEmpty());

    // The bank's next run starts from those ticks.
    WizardWindow next({u"/d"_s + db.path()}, m_sources->settingsPath());
    QVERIFY(next.show());
    chooseTheRun(next);
    QTRY_COMPARE_WITH_TIMEOUT(next.page(), u"Settings"_s, DeadlineMs);
    QCOMPARE(WizardWindow::tickedCodes(next.rateList()), ticks);
    next.pressCancel();
    QVERIFY(!next.isVisible());
}

void TestWizardRuns::downloadFails_data()
{
    QTest::addColumn<QString>("bank");
    // "fault", "500" or "closed".
    QTest::addColumn<QString>("failure");
    // <mnb> stands for the service's address, <otp> for the bank's origin,
    // <table> for the table's address; "…" ends a line known only by its
    // beginning.
    QTest::addColumn<QStringList>("memo");

    const QStringList noTable = memoEntry(2, pageAnalysisFailure(u"<otp>"_s));
    QTest::newRow("central bank, SOAP fault")
        << CentralBank << u"fault"_s << memoEntry(1, {u"A kért időszakra nincs adat."_s});
    QTest::newRow("central bank, HTTP 500")
        << CentralBank << u"500"_s
        << memoEntry(1, {u"Az MNB árfolyam-szolgáltatása hibával válaszolt (<mnb>): HTTP/1.1 500 Internal Server "
                          "Error"_s});
    QTest::newRow("central bank, closed port")
        << CentralBank << u"closed"_s
        << memoEntry(1, {u"Az MNB árfolyam-szolgáltatása nem érhető el (<mnb>): Failed to connect to 127.0.0.1…"_s});
    QTest::newRow("OTP Bank, HTTP 500")
        << OtpBank << u"500"_s
        << memoEntry(1, downloadFailure(u"<table>"_s, u"HTTP/1.1 500 Internal Server Error"_s)) + noTable;
    QTest::newRow("OTP Bank, closed port")
        << OtpBank << u"closed"_s
        << memoEntry(1, downloadFailure(u"<table>"_s, u"Failed to connect to 127.0.0.1…"_s)) + noTable;
}

void TestWizardRuns::downloadFails()
{
    QFETCH(QString, bank);
    QFETCH(QString, failure);
    QFETCH(QStringList, memo);

    SuiteDatabase db;
    fillSuite(db);
    QString mnbUrl = m_sources->mnb.url();
    QString otpOrigin = m_sources->otp.origin();
    if (failure == u"closed"_s) {
        const int port = closedLoopbackPort();
        mnbUrl = u"http://127.0.0.1:%1/arfolyamok.asmx"_s.arg(port);
        otpOrigin = u"https://127.0.0.1:%1"_s.arg(port);
        m_sources->rewriteSettings(mnbUrl, otpOrigin);
    } else if (failure == u"fault"_s) {
        m_sources->mnb.answerNextWithFault(u"A kért időszakra nincs adat."_s);
    } else {
        m_sources->mnb.answerNext(FakeReply::withStatus(500, "Runtime Error"));
        m_sources->otp.answerNext(FakeReply::withStatus(500, "<html>Hiba</html>"));
    }
    const QByteArray settingsBefore = fileBytes(m_sources->settingsPath());
    const QString table = otpOrigin
        + u"/apps/exchangerate/api/downloads/csv/2026-09-18/2026-09-18?currencies=EUR,USD,GBP,AUD,BGN,CAD,CHF,CNY,"
          "CZK,DKK,HRK,JPY,NOK,PLN,RON,RSD,RUB,SEK,TRY,UAH,ZAR&lang=HU"_s;
    memo.replaceInStrings(u"<mnb>"_s, mnbUrl).replaceInStrings(u"<table>"_s, table).replaceInStrings(u"<otp>"_s,
                                                                                                   otpOrigin);

    WizardWindow w({u"/d"_s + db.path()}, m_sources->settingsPath());
    PageTrail pages(w);
    QVERIFY(w.show());
    w.chooseBank(bank);
    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"ErrorFinish"_s, DeadlineMs);
    QCOMPARE(pages.pages(), (QStringList{u"Welcome"_s, u"Connect"_s, u"ErrorFinish"_s}));

    const QStringList shown = w.errorMemo()->toPlainText().split(u'\n');
    QVERIFY2(sameLines(shown, memo), qPrintable(u"Shown:\n"_s + shown.join(u'\n') + u"\nExpected:\n"_s
                                                + memo.join(u'\n')));
    // Only Kilépés is left.
    QVERIFY(!w.backButton()->isEnabled());
    QVERIFY(!w.nextButton()->isEnabled());
    QVERIFY(w.cancelButton()->isEnabled());
    QCOMPARE(w.cancelButton()->text(), u"Kilépés"_s);
    QVERIFY(m_boxes->boxes().isEmpty());
    QVERIFY(rateRows(db).isEmpty());
    QCOMPARE(fileBytes(m_sources->settingsPath()), settingsBefore);

    w.pressCancel();
    QVERIFY(!w.isVisible());
}

void TestWizardRuns::selectionCannotBeStored_data()
{
    // "folder", "file" or "name".
    QTest::addColumn<QString>("obstacle");

    QTest::newRow("read-only folder") << u"folder"_s;
    QTest::newRow("read-only file") << u"file"_s;
    // Stops any user, also one whom read-only permissions do not: the file
    // is replaced through a file beside it, whose name would be too long.
    QTest::newRow("no room for the replacement's name") << u"name"_s;
}

void TestWizardRuns::selectionCannotBeStored()
{
    QFETCH(QString, obstacle);

    SuiteDatabase db;
    fillSuite(db);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString settingsPath =
        folder.filePath(obstacle == u"name"_s ? QString(250, u'a') + u".ini"_s : u"arfolyam.ini"_s);
    writeSettings(settingsPath, {m_sources->mnb.url(), m_sources->otp.origin(), QString()});
    const QByteArray settingsBefore = fileBytes(settingsPath);
    QVERIFY(settingsBefore.contains("MNBServiceUrl"));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (obstacle == u"folder"_s) {
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(folder.filePath(u"probe"_s));
        if (probe.open(QIODevice::WriteOnly))
            QSKIP("A read-only folder does not stop this user from writing.");
    } else if (obstacle == u"file"_s) {
        QVERIFY(QFile::setPermissions(settingsPath, QFile::ReadOwner));
        if (QFileInfo(settingsPath).isWritable())
            QSKIP("A read-only file does not stop this user from writing.");
    }

    WizardWindow w({u"/d"_s + db.path()}, settingsPath);
    QVERIFY(w.show());
    w.chooseBank(CentralBank);
    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Settings"_s, DeadlineMs);
    WizardWindow::clickTickBox(w.rateList(), u"EUR"_s);
    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Finished"_s, DeadlineMs);

    QCOMPARE(m_boxes->boxes().size(), 1);
    const MessageBoxAnswerer::Box box = m_boxes->boxes().first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.text, u"Unable to write to "_s + settingsPath);
    QCOMPARE(box.caption, w.form().windowTitle());
    // The insert went ahead.
    QCOMPARE(rateRows(db), QList<QStringList>{centralBankRow(u"EUR"_s)});
    QCOMPARE(fileBytes(settingsPath), settingsBefore);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QFileInfo(settingsPath).fileName()});
}

QTEST_MAIN(TestWizardRuns)
#include "TestWizardRuns.moc"
