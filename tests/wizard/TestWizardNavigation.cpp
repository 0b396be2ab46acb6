#include "WizardHarness.h"

#include "wizard/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace WizardTest;

// The order of the pages in each kind of run, with the header band and the
// buttons each shows; Back from the history page; and Cancel, which leaves
// the books and the settings file as they were.
class TestWizardNavigation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pagesOfARun_data();
    void pagesOfARun();
    void backFromTheHistoryPage();
    void cancelTouchesNothing_data();
    void cancelTouchesNothing();

private:
    std::unique_ptr<SuiteDatabase> m_db;
    std::unique_ptr<FakeSources> m_sources;
    std::unique_ptr<MessageBoxAnswerer> m_boxes;
};

namespace {

const QString Cancel = u"Mégsem"_s;
const QString Exit = u"Kilépés"_s;

QString welcome(bool next)
{
    return PageTrail::entry(u"Welcome"_s, u"Üdvözli Önt a Belmora árfolyam-lekérdező"_s,
                            u"Adja meg, melyik bank melyik árfolyam-típusát kívánja lekérdezni."_s, false, next,
                            Cancel);
}

const QString HistorySettings =
    PageTrail::entry(u"HistorySettings"_s, u"Devizák kiválasztása"_s,
                     u"Jelölje ki a frissítendő devizanemeket és a lekérdezés intervallumát."_s, true, true, Cancel);

// The same words in a history run.
const QString Connect = PageTrail::entry(
    u"Connect"_s, u"Aktuális árfolyamok letöltése a kiválasztott bank szerveréről"_s,
    u"A program jelenleg az árfolyamokat kérdezi le a kiválasztott bank szerveréről. Kérjük várjon..."_s, false,
    false, u"-"_s);

const QString CurrentSettings = PageTrail::entry(
    u"Settings"_s, u"Devizák és árfolyamok áttekintése"_s,
    u"Ezen a képernyőn kiválaszthatja, mely devizákat kívánja importálni a Belmora Ügyviteli Rendszer 2022 alá"_s,
    false, true, Cancel);

const QString HistorySettingsReview = PageTrail::entry(
    u"Settings"_s, u"Devizák és árfolyamok áttekintése"_s,
    u"Ezen a képernyőn importálás előtt megtekintheti a program által generált árfolyamokat"_s, false, true, Cancel);

const QString DatabaseInsert = PageTrail::entry(
    u"DatabaseInsert"_s, u"Devizanemek és árfolyamok létrehozás"_s,
    u"A program jelenleg a Belmora Ügyviteli Rendszer 2022-t aktualizálja a kiválasztott árfolyamok "
    "létrehozásával. Kis türelmet..."_s,
    false, false, u"-"_s);

const QString Finished = PageTrail::entry(
    u"Finished"_s, u"Devizanemek és árfolyamok létrehozása sikeresen megtörtént"_s,
    u"A program sikeresen frissítette a Belmora Ügyviteli Rendszer 2022-t a kiválasztott árfolyamokkal."_s, false,
    false, Exit);

const QString ErrorFinish = PageTrail::entry(
    u"ErrorFinish"_s, u"Devizanemek és árfolyamok létrehozása nem sikerült"_s,
    u"A program nem tudta frissíteni a Belmora Ügyviteli Rendszer 2022-t. Az oko(ka)t a lenti listán "
    "láthatja."_s,
    false, false, Exit);

} // namespace

void TestWizardNavigation::initTestCase()
{
    // For the cases that write nothing.
    m_db = std::make_unique<SuiteDatabase>();
    fillSuite(*m_db);
}

void TestWizardNavigation::init()
{
    m_sources = std::make_unique<FakeSources>();
    m_boxes = std::make_unique<MessageBoxAnswerer>();
}

void TestWizardNavigation::cleanup()
{
    QVERIFY2(m_boxes->boxes().isEmpty(), qPrintable(m_boxes->texts().join(u'\n')));
    m_boxes.reset();
    m_sources.reset();
}

void TestWizardNavigation::pagesOfARun_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<bool>("bankFails");
    QTest::addColumn<bool>("databaseGoes");
    QTest::addColumn<QStringList>("trail");

    QTest::newRow("current rates") << false << false << false
                                   << QStringList{welcome(true), Connect, CurrentSettings, DatabaseInsert, Finished};
    QTest::newRow("history") << true << false << false
                             << QStringList{welcome(true),         HistorySettings, Connect,
                                            HistorySettingsReview, DatabaseInsert,  Finished};
    QTest::newRow("the bank fails") << false << true << false << QStringList{welcome(true), Connect, ErrorFinish};
    QTest::newRow("the database goes before the insert")
        << false << false << true << QStringList{welcome(true), Connect, CurrentSettings, DatabaseInsert, ErrorFinish};
}

void TestWizardNavigation::pagesOfARun()
{
    QFETCH(bool, history);
    QFETCH(bool, bankFails);
    QFETCH(bool, databaseGoes);
    QFETCH(QStringList, trail);

    SuiteDatabase db;
    fillSuite(db);
    if (bankFails)
        m_sources->mnb.answerNextWithFault(u"A szolgáltatás nem elérhető."_s);
    WizardWindow w({u"/d"_s + db.path()}, m_sources->settingsPath());
    PageTrail pages(w);
    QVERIFY(w.show());
    QCOMPARE(pages.entries(), QStringList{welcome(false)});

    w.chooseBank(CentralBank);
    if (history) {
        w.toggle(w.history());
        w.pressNext();
        QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);
    }
    w.pressNext();
    QTRY_VERIFY_WITH_TIMEOUT(w.page() == u"Settings"_s || w.page() == u"ErrorFinish"_s, DeadlineMs);
    if (w.page() == u"Settings"_s) {
        if (!history)
            WizardWindow::clickTickBox(w.rateList(), u"EUR"_s);
        if (databaseGoes)
            QVERIFY(QFile::remove(db.path()));
        w.pressNext();
        QTRY_VERIFY_WITH_TIMEOUT(w.page() == u"Finished"_s || w.page() == u"ErrorFinish"_s, DeadlineMs);
    }
    QTRY_COMPARE_WITH_TIMEOUT(pages.entries(), trail, DeadlineMs);
    if (databaseGoes || bankFails) {
        const QStringList memo = w.errorMemo()->toPlainText().split(u'\n');
        QCOMPARE(memo.value(0), u"[Hibaüzenet sorszáma: 1]"_s);
        QCOMPARE(memo.value(1), bankFails ? u"A szolgáltatás nem elérhető."_s
                                          : u"Hiba történt az adatbázishoz való csatlakozás közben!"_s);
    } else {
        QVERIFY(!rateRows(db).isEmpty());
    }

    // The last page's Kilépés closes the window.
    w.pressCancel();
    QVERIFY(!w.isVisible());
}

void TestWizardNavigation::backFromTheHistoryPage()
{
    const QString khb = u"KHB   - K&H Bank"_s;
    const QString dayAfter = u"T+1 nap (banki árfolyamnapot követő nap)"_s;
    WizardWindow w({u"/d"_s + m_db->path()}, m_sources->settingsPath());
    PageTrail pages(w);
    QVERIFY(w.show());
    w.chooseBank(CentralBank);
    w.choose(w.datumGroup(), dayAfter);
    w.pickSuiteCode(khb);
    w.toggle(w.history());
    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);
    WizardWindow::clickTickBox(w.historyCurrencies(), u"EUR"_s);
    QCOMPARE(WizardWindow::tickedCodes(w.historyCurrencies()), (QStringList{u"JPY"_s, u"USD"_s}));
    // Not a date: Back does not look.
    w.typeDate(w.fromDate(), u"20220230"_s);
    w.typeDate(w.toDate(), u"20260301"_s);

    w.pressBack();
    QCOMPARE(w.page(), u"Welcome"_s);
    QCOMPARE(WizardWindow::chosen(w.bankGroup())->text(), CentralBank);
    QCOMPARE(WizardWindow::itemTexts(w.rateTypeGroup()), QStringList{u"Deviza"_s});
    QCOMPARE(w.rateTypeGroup()->itemIndex(), 0);
    QCOMPARE(WizardWindow::chosen(w.datumGroup())->text(), dayAfter);
    QCOMPARE(w.suiteCodes()->currentText(), khb);
    QVERIFY(w.onlyMiddle()->isChecked());
    QVERIFY(w.history()->isChecked());
    QVERIFY(w.history()->isEnabled());
    QVERIFY(!w.backButton()->isEnabled());
    QVERIFY(w.nextButton()->isEnabled());

    // Coming back lists the currencies anew, every one ticked; the period
    // stays as typed.
    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);
    QCOMPARE(WizardWindow::codes(w.historyCurrencies()), (QStringList{u"EUR"_s, u"JPY"_s, u"USD"_s}));
    QCOMPARE(WizardWindow::tickedCodes(w.historyCurrencies()), WizardWindow::codes(w.historyCurrencies()));
    QCOMPARE(w.fromDate()->text(), u"2022.02.30"_s);
    QCOMPARE(w.toDate()->text(), u"2026.03.01"_s);
    QCOMPARE(pages.pages(), (QStringList{u"Welcome"_s, u"HistorySettings"_s, u"Welcome"_s, u"HistorySettings"_s}));
    QCOMPARE(pages.entries()[2], welcome(true));
    QVERIFY(m_sources->mnb.calls().isEmpty());
}

void TestWizardNavigation::cancelTouchesNothing_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("escape");

    for (const QString &page : {u"Welcome"_s, u"HistorySettings"_s, u"Settings"_s}) {
        QTest::addRow("%s, Mégsem", qPrintable(page)) << page << false;
        QTest::addRow("%s, Escape", qPrintable(page)) << page << true;
    }
}

void TestWizardNavigation::cancelTouchesNothing()
{
    QFETCH(QString, page);
    QFETCH(bool, escape);

    m_sources->appendSettings(u"\r\n[Magyar Nemzeti Bank]\r\nEUR=1\r\nUSD=0\r\n"_s);
    const QByteArray settingsBefore = fileBytes(m_sources->settingsPath());
    const QList<QStringList> suiteBefore = suiteContents(*m_db);

    WizardWindow w({u"/d"_s + m_db->path()}, m_sources->settingsPath());
    QVERIFY(w.show());
    w.chooseBank(CentralBank);
    if (page == u"HistorySettings"_s) {
        w.toggle(w.history());
        w.pressNext();
        QTRY_COMPARE_WITH_TIMEOUT(w.page(), page, DeadlineMs);
    } else if (page == u"Settings"_s) {
        w.pressNext();
        QTRY_COMPARE_WITH_TIMEOUT(w.page(), page, DeadlineMs);
        // The stored choice shows; the user changes it and thinks again.
        QCOMPARE(WizardWindow::tickedCodes(w.rateList()), QStringList{u"EUR"_s});
        WizardWindow::clickTickBox(w.rateList(), u"USD"_s);
        QCOMPARE(WizardWindow::tickedCodes(w.rateList()), (QStringList{u"EUR"_s, u"USD"_s}));
    }
    QCOMPARE(w.page(), page);

    if (escape) {
        QWidget *focus = w.form().focusWidget();
        QTest::keyClick(focus ? focus : &w.form(), Qt::Key_Escape);
    } else {
        w.pressCancel();
    }
    QVERIFY(!w.isVisible());
    QCOMPARE(fileBytes(m_sources->settingsPath()), settingsBefore);
    QCOMPARE(suiteContents(*m_db), suiteBefore);
    QCOMPARE(m_sources->mnb.calls().size(), page == u"Settings"_s ? 1 : 0);
}

QTEST_MAIN(TestWizardNavigation)
#include "TestWizardNavigation.moc"
