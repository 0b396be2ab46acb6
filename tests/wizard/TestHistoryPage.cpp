#include "WizardHarness.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace WizardTest;

// The history page: the suite's currencies to tick, the period, the checks
// Next makes in their order, and a period that passes them going all the
// way into the books.
class TestHistoryPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void currenciesOfTheSuite();
    void onlyForintInTheSuite();
    void checksInOrder_data();
    void checksInOrder();
    void periodIntoTheBooks();

private:
    // A window on db, its history page reached from the central bank.
    std::unique_ptr<WizardWindow> openHistoryPage(const SuiteDatabase &db);

    std::unique_ptr<SuiteDatabase> m_db;
    std::unique_ptr<FakeSources> m_sources;
    std::unique_ptr<MessageBoxAnswerer> m_boxes;
    std::unique_ptr<WizardWindow> m_window;
};

namespace {

// The window's focus widget: the one the keyboard reaches while the window
// is active, which the offscreen platform does not always give back to it
// when a box closes.
QString focusName(WizardWindow &window)
{
    const QWidget *focus = window.form().focusWidget();
    return focus ? focus->objectName() : u"(none)"_s;
}

// A middle rate as the list shows it: two decimals, no grouping below 1,000.
QString shownRate(const QString &code, const QDate &day)
{
    return QString::number(FakeMnbServer::rate(code, day) / FakeMnbServer::unit(code), 'f', 2);
}

} // namespace

void TestHistoryPage::initTestCase()
{
    // Read, never written: a code in lower case, and codes of two and four
    // letters beside the usual ones.
    m_db = std::make_unique<SuiteDatabase>();
    fillSuite(*m_db);
    m_db->execute({u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('chf', 'frank', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('PLNX', 'négybetűs', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('RO', 'kétbetűs', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('huf', 'forint kisbetűvel', 2)"_s});
}

void TestHistoryPage::init()
{
    m_sources = std::make_unique<FakeSources>();
    m_boxes = std::make_unique<MessageBoxAnswerer>();
}

void TestHistoryPage::cleanup()
{
    m_window.reset();
    m_boxes.reset();
    m_sources.reset();
}

std::unique_ptr<WizardWindow> TestHistoryPage::openHistoryPage(const SuiteDatabase &db)
{
    auto window = std::make_unique<WizardWindow>(QStringList{u"/d"_s + db.path()}, m_sources->settingsPath());
    if (!window->show())
        return nullptr;
    window->chooseBank(CentralBank);
    window->toggle(window->history());
    window->pressNext();
    return window;
}

void TestHistoryPage::currenciesOfTheSuite()
{
    m_window = openHistoryPage(*m_db);
    QVERIFY(m_window);
    WizardWindow &w = *m_window;
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);

    // In code order, upper case, neither forint nor a code that is not
    // three letters long; every line ticked.
    QTreeWidget *list = w.historyCurrencies();
    QCOMPARE(WizardWindow::columns(list), QStringList{u"Pénznem"_s});
    QCOMPARE(WizardWindow::codes(list), (QStringList{u"EUR"_s, u"JPY"_s, u"USD"_s, u"CHF"_s}));
    QCOMPARE(WizardWindow::tickedCodes(list), WizardWindow::codes(list));

    // The database step is done; the bank's line is never marked.
    auto *databaseLabel = w.control<QLabel>(u"ConnectDatabaseLabel"_s);
    QCOMPARE(databaseLabel->text(), u"Csatlakozás a Belmora Ügyviteli Rendszer 2022 adatbázisához..."_s);
    QVERIFY(!databaseLabel->font().bold());
    QVERIFY(!w.control<QLabel>(u"ConnectDatabaseImage"_s)->pixmap().isNull());
    QCOMPARE(w.control<QLabel>(u"Label1"_s)->text(),
             u"Csatlakozás a kiválasztott bank szerveréhez, alapadatok letöltése..."_s);
    QVERIFY(w.control<QLabel>(u"Image1"_s)->pixmap().isNull());

    // The period runs from the first day of the year to today.
    QCOMPARE(w.control<QLabel>(u"HistoryQueryLabel1"_s)->text(), u"Lekérdezés kezdőnapja"_s);
    QCOMPARE(w.control<QLabel>(u"HistoryQueryLabel2"_s)->text(), u"Lekérdezés zárónapja"_s);
    QCOMPARE(w.fromDate()->text(), u"2026.01.01"_s);
    QCOMPARE(w.toDate()->text(), u"2026.09.18"_s);
    QCOMPARE(w.fromDate()->maxLength(), 10);

    QVERIFY(w.backButton()->isEnabled());
    QVERIFY(w.nextButton()->isEnabled());
    QVERIFY(w.cancelButton()->isEnabled());
    QVERIFY(m_boxes->boxes().isEmpty());
    QVERIFY(m_sources->mnb.calls().isEmpty());
}

void TestHistoryPage::onlyForintInTheSuite()
{
    SuiteDatabase db;
    db.execute({u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s});
    m_window = openHistoryPage(db);
    QVERIFY(m_window);
    WizardWindow &w = *m_window;
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);
    QCOMPARE(w.historyCurrencies()->topLevelItemCount(), 0);

    for (int attempt = 1; attempt <= 2; ++attempt) {
        w.pressNext();
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes->boxes().size(), attempt, DeadlineMs);
        QCOMPARE(m_boxes->boxes().last().text, u"Legalább egy pénznemet ki kell választania!"_s);
        QCOMPARE(w.page(), u"HistorySettings"_s);
    }
    QVERIFY(m_sources->mnb.calls().isEmpty());
}

void TestHistoryPage::checksInOrder_data()
{
    QTest::addColumn<QStringList>("untick");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    // Empty when the period passes.
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QStringList all{u"EUR"_s, u"JPY"_s, u"USD"_s, u"CHF"_s};
    const QString noCurrency = u"Legalább egy pénznemet ki kell választania!"_s;
    const QString badStart = u"A Lekérdezés kezdőnapja mező érvénytelen dátumot tartalmaz!"_s;
    const QString badEnd = u"A Lekérdezés zárónapja mező érvénytelen dátumot tartalmaz!"_s;
    const QString twoYears = u"A lekérdezés kezdő és záróéve nem térhet el egymástól!"_s;
    const QString before2000 = u"A Lekérdezés kezdőnapja nem lehet 2000. évinél kisebb!"_s;
    const QString afterToday = u"A lekérdezés kezdő- és végnapja nem lehet a mai napnál későbbi!"_s;
    const QString list = u"lvConnectDatabase"_s;
    const QString start = u"meFromDate"_s;
    const QString end = u"meToDate"_s;

    QTest::newRow("no currency") << all << u"2026.09.01"_s << u"2026.09.18"_s << noCurrency << list;
    QTest::newRow("30 February") << QStringList() << u"2022.02.30"_s << u"2022.03.31"_s << badStart << start;
    QTest::newRow("31 September as the end") << QStringList() << u"2026.09.01"_s << u"2026.09.31"_s << badEnd << end;
    QTest::newRow("two years, a short period") << QStringList() << u"2021.12.31"_s << u"2022.01.05"_s << twoYears
                                               << start;
    QTest::newRow("before 2000") << QStringList() << u"1999.01.01"_s << u"1999.12.31"_s << before2000 << start;
    QTest::newRow("tomorrow") << QStringList() << u"2026.09.01"_s << u"2026.09.19"_s << afterToday << start;
    QTest::newRow("start after today") << QStringList() << u"2026.12.01"_s << u"2026.09.01"_s << afterToday << start;

    // The first failing check speaks.
    QTest::newRow("no currency and a bad start") << all << u"2022.02.30"_s << u"2026.09.31"_s << noCurrency << list;
    QTest::newRow("bad start and bad end") << QStringList() << u"2022.02.30"_s << u"2026.09.31"_s << badStart
                                           << start;
    QTest::newRow("two years before 2000") << QStringList() << u"1998.12.31"_s << u"1999.01.01"_s << twoYears
                                           << start;
    QTest::newRow("before 2000 and in two years") << QStringList() << u"1999.06.01"_s << u"2030.01.01"_s << twoYears
                                                  << start;

    QTest::newRow("today as the end passes") << QStringList{u"JPY"_s} << u"2026.09.01"_s << u"2026.09.18"_s
                                             << QString() << QString();
    QTest::newRow("start after end passes") << QStringList() << u"2026.05.01"_s << u"2026.04.01"_s << QString()
                                            << QString();
}

void TestHistoryPage::checksInOrder()
{
    QFETCH(QStringList, untick);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    m_window = openHistoryPage(*m_db);
    QVERIFY(m_window);
    WizardWindow &w = *m_window;
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);
    for (const QString &code : untick)
        WizardWindow::clickTickBox(w.historyCurrencies(), code);
    QCOMPARE(WizardWindow::tickedCodes(w.historyCurrencies()).size(), 4 - untick.size());
    w.typeDate(w.fromDate(), QString(from).remove(u'.'));
    w.typeDate(w.toDate(), QString(to).remove(u'.'));
    QCOMPARE(w.fromDate()->text(), from);
    QCOMPARE(w.toDate()->text(), to);
    // Away from the fields, so that the focus below is the check's doing.
    w.nextButton()->setFocus();
    w.pressNext();

    if (message.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Settings"_s, DeadlineMs);
        QVERIFY(m_boxes->boxes().isEmpty());
        const QList<FakeMnbCall> calls = m_sources->mnb.calls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls[0].operation, u"GetExchangeRates"_s);
        QCOMPARE(calls[0].parameter(u"startDate"_s), QString(from).replace(u'.', u'-'));
        QCOMPARE(calls[0].parameter(u"endDate"_s), QString(to).replace(u'.', u'-'));
        QStringList wanted{u"EUR"_s, u"JPY"_s, u"USD"_s, u"CHF"_s};
        for (const QString &code : untick)
            wanted.removeOne(code);
        QCOMPARE(calls[0].parameter(u"currencyNames"_s), wanted.join(u','));
        return;
    }

    QTRY_COMPARE_WITH_TIMEOUT(m_boxes->boxes().size(), 1, DeadlineMs);
    const MessageBoxAnswerer::Box box = m_boxes->boxes().first();
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.caption, w.form().windowTitle());
    QCOMPARE(w.page(), u"HistorySettings"_s);
    QCOMPARE(focusName(w), focus);
    // The fields keep what was typed, for the user to mend.
    QCOMPARE(w.fromDate()->text(), from);
    QCOMPARE(w.toDate()->text(), to);
    QVERIFY(m_sources->mnb.calls().isEmpty());
}

void TestHistoryPage::periodIntoTheBooks()
{
    SuiteDatabase db;
    fillSuite(db);
    const QByteArray settingsBefore = fileBytes(m_sources->settingsPath());
    m_window = openHistoryPage(db);
    QVERIFY(m_window);
    WizardWindow &w = *m_window;
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);
    QCOMPARE(WizardWindow::codes(w.historyCurrencies()), (QStringList{u"EUR"_s, u"JPY"_s, u"USD"_s}));
    WizardWindow::clickTickBox(w.historyCurrencies(), u"JPY"_s);
    QCOMPARE(WizardWindow::tickedCodes(w.historyCurrencies()), (QStringList{u"EUR"_s, u"USD"_s}));
    w.typeDate(w.fromDate(), u"20260914"_s);
    w.pressNext();

    // Newest day first, as the bank answers; a preview without ticks.
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Settings"_s, DeadlineMs);
    QTreeWidget *list = w.rateList();
    QCOMPARE(WizardWindow::columns(list), (QStringList{u"Dátum"_s, u"Pénznem"_s, u"Egység"_s, u"Közép"_s}));
    QStringList expectedCells;
    QList<QStringList> expectedRows;
    for (QDate day = Friday; day >= QDate(2026, 9, 14); day = day.addDays(-1)) {
        for (const QString &code : {u"EUR"_s, u"USD"_s}) {
            expectedCells << day.toString(u"yyyy.MM.dd"_s) + u'\t' + code + u"\t1\t"_s + shownRate(code, day);
            const QString rate = storedNumber(FakeMnbServer::rate(code, day));
            expectedRows << QStringList{day.toString(u"yyyy-MM-dd 00:00:00.000"_s), u"MNB"_s, code, u"HUF"_s,
                                        rate, rate, rate};
        }
    }
    QCOMPARE(WizardWindow::cells(list), expectedCells);
    QVERIFY(!WizardWindow::hasTickBoxes(list));
    // A click where a tick box would be ticks nothing.
    WizardWindow::clickTickBox(list, u"2026.09.18"_s);
    QVERIFY(!WizardWindow::hasTickBoxes(list));
    QVERIFY(!w.backButton()->isEnabled());

    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Finished"_s, DeadlineMs);
    std::sort(expectedRows.begin(), expectedRows.end(), [](const QStringList &a, const QStringList &b) {
        return std::tie(a[2], a[0]) < std::tie(b[2], b[0]);
    });
    QCOMPARE(rateRows(db), expectedRows);
    // One step per entry, ending full.
    auto *progress = w.control<QProgressBar>(u"pbDatabaseInsert"_s);
    QVERIFY(!progress->isHidden());
    QCOMPARE(progress->maximum(), 10);
    QCOMPARE(progress->value(), 10);
    // A history run neither reads nor writes the stored selection.
    QCOMPARE(fileBytes(m_sources->settingsPath()), settingsBefore);
    QVERIFY(m_boxes->boxes().isEmpty());
}

QTEST_MAIN(TestHistoryPage)
#include "TestHistoryPage.moc"
