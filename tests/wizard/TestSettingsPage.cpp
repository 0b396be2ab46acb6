#include "WizardHarness.h"

#include "cli/CliHarness.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace WizardTest;

// The Settings page as each kind of run arranges it: the list's columns and
// cells, its tick boxes, the options shown and which of them may be used;
// and the warning about a table that is not today's.
class TestSettingsPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void arrangement_data();
    void arrangement();
    void tableNotOfToday();

private:
    std::unique_ptr<SuiteDatabase> m_db;
    std::unique_ptr<FakeSources> m_sources;
    std::unique_ptr<MessageBoxAnswerer> m_boxes;
};

namespace {

const QString InfoText = u"A pénznem előtti jelölőnégyzet segítségével kiválaszthatja, mely árfolyamokat kivánja "
                         "importálni. A program ezt a beállítást tárolja, a későbbiekben csak a változtatásokat kell "
                         "majd átvezetnie."_s;
const QString NotCurrent =
    u"Lehetséges, hogy a bank honlapján található árfolyam-információk nem naprakészek. Kérem ellenőrizze!"_s;

QString middleOf(const QString &code, const QDate &day)
{
    return QString::number(FakeMnbServer::rate(code, day) / FakeMnbServer::unit(code), 'f', 2);
}

} // namespace

void TestSettingsPage::initTestCase()
{
    // Nothing here goes past Settings.
    m_db = std::make_unique<SuiteDatabase>();
    fillSuite(*m_db);
}

void TestSettingsPage::init()
{
    m_sources = std::make_unique<FakeSources>();
    m_boxes = std::make_unique<MessageBoxAnswerer>();
}

void TestSettingsPage::cleanup()
{
    m_boxes.reset();
    m_sources.reset();
}

void TestSettingsPage::arrangement_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QString>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    // A history run with these of the suite's currencies ticked; none for a
    // current-rate run.
    QTest::addColumn<QStringList>("historyTicks");
    // The header, then every line; tab-separated.
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QString>("rateDate");
    QTest::addColumn<bool>("crossEnabled");

    const QList<int> three{75, 50, 80};
    const QList<int> five{75, 50, 80, 80, 80};
    const QString otpDay = u"2026. szeptember 18., Péntek  -  07:45:00"_s;
    QStringList centralBank{u"Pénznem\tEgység\tKözép"_s};
    for (const QString &code : FakeMnbServer::currencies()) {
        centralBank << code + u'\t' + QString::number(FakeMnbServer::unit(code)) + u'\t'
                + middleOf(code, Friday);
    }
    const auto otpList = [](int rateType, bool onlyMiddle) {
        QStringList lines = otpFixtureList(rateType, onlyMiddle).split(u'\n');
        lines.removeLast();
        return lines;
    };

    QTest::newRow("central bank") << QStringList() << CentralBank << QString() << false << QStringList()
                                  << centralBank << three << QString() << false;
    QTest::newRow("central bank, cross rates allowed")
        << QStringList{u"/crossenabled"_s} << CentralBank << QString() << false << QStringList() << centralBank
        << three << QString() << true;
    QTest::newRow("OTP Bank, Valuta") << QStringList() << OtpBank << u"Valuta"_s << false << QStringList()
                                      << otpList(1, false) << five << otpDay << false;
    QTest::newRow("OTP Bank, Csekk, middle only") << QStringList{u"/crossenabled"_s} << OtpBank << u"Csekk"_s << true
                                                  << QStringList() << otpList(2, true) << three << otpDay << true;

    const QStringList history{u"Dátum\tPénznem\tEgység\tKözép"_s,
                              u"2026.09.18\tEUR\t1\t"_s + middleOf(u"EUR"_s, Friday),
                              u"2026.09.18\tJPY\t100\t"_s + middleOf(u"JPY"_s, Friday)};
    const QList<int> historyWidths{100, 75, 50, 80};
    QTest::newRow("history, one currency, cross rates allowed")
        << QStringList{u"/crossenabled"_s} << CentralBank << QString() << false << QStringList{u"EUR"_s}
        << QStringList{history[0], history[1]} << historyWidths << QString() << false;
    QTest::newRow("history, two currencies") << QStringList() << CentralBank << QString() << false
                                             << QStringList{u"EUR"_s, u"JPY"_s} << history << historyWidths
                                             << QString() << true;
}

void TestSettingsPage::arrangement()
{
    QFETCH(QStringList, switches);
    QFETCH(QString, bank);
    QFETCH(QString, rateType);
    QFETCH(bool, onlyMiddle);
    QFETCH(QStringList, historyTicks);
    QFETCH(QStringList, list);
    QFETCH(QList<int>, widths);
    QFETCH(QString, rateDate);
    QFETCH(bool, crossEnabled);

    const bool history = !historyTicks.isEmpty();
    m_sources->otp.answerNext(FakeReply::withBody(otpFixtureTable(Friday)));
    WizardWindow w(switches + QStringList{u"/d"_s + m_db->path()}, m_sources->settingsPath());
    QVERIFY(w.show());
    w.chooseBank(bank);
    if (!rateType.isEmpty())
        w.choose(w.rateTypeGroup(), rateType);
    if (onlyMiddle)
        w.toggle(w.onlyMiddle());
    if (history) {
        w.toggle(w.history());
        w.pressNext();
        QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"HistorySettings"_s, DeadlineMs);
        for (const QString &code : WizardWindow::codes(w.historyCurrencies())) {
            if (!historyTicks.contains(code))
                WizardWindow::clickTickBox(w.historyCurrencies(), code);
        }
        QCOMPARE(WizardWindow::tickedCodes(w.historyCurrencies()), historyTicks);
        w.typeDate(w.fromDate(), u"20260918"_s);
    }
    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Settings"_s, DeadlineMs);

    QTreeWidget *rates = w.rateList();
    QCOMPARE(QStringList{WizardWindow::columns(rates).join(u'\t')} + WizardWindow::cells(rates), list);
    QCOMPARE(rates->columnCount(), widths.size());
    for (int i = 0; i < widths.size(); ++i)
        QCOMPARE(rates->columnWidth(i), widths[i]);
    // Texts left, numbers right.
    const int firstNumber = history ? 2 : 1;
    for (int i = 0; i < rates->columnCount(); ++i) {
        const Qt::Alignment side = i < firstNumber ? Qt::AlignLeft : Qt::AlignRight;
        QCOMPARE(Qt::Alignment(rates->topLevelItem(0)->textAlignment(i)) & Qt::AlignHorizontal_Mask, side);
    }
    QCOMPARE(WizardWindow::hasTickBoxes(rates), !history);
    QCOMPARE(w.control<QLabel>(u"DateTimeLabel"_s)->text(), rateDate);

    auto *info = w.control<QLabel>(u"SettingsInfoLabel"_s);
    auto *createMissing = w.control<QCheckBox>(u"cbCreateNonExistsCurrencies"_s);
    auto *reversed = w.control<QCheckBox>(u"cbCreateReversedExchanges"_s);
    auto *cross = w.control<QCheckBox>(u"cbCreateCrossExchanges"_s);
    QCOMPARE(info->text(), InfoText);
    QCOMPARE(info->isVisible(), !history);
    QCOMPARE(createMissing->text(), u"Nemlétező devizanemek automatikus létrehozása"_s);
    QCOMPARE(createMissing->isVisible(), !history);
    QCOMPARE(reversed->text(), u"Fordított árfolyamok létrehozása"_s);
    QVERIFY(reversed->isVisible());
    QVERIFY(reversed->isEnabled());
    QCOMPARE(cross->text(), u"Keresztárfolyamok létrehozása (nem forint könyvvezetésű cégek esetén)"_s);
    QVERIFY(cross->isVisible());
    QCOMPARE(cross->isEnabled(), crossEnabled);
    for (const QCheckBox *box : {createMissing, reversed, cross})
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    // The list is what the page is about: Back is gone.
    QVERIFY(!w.backButton()->isEnabled());
    QVERIFY(w.nextButton()->isEnabled());
    QVERIFY2(m_boxes->boxes().isEmpty(), qPrintable(m_boxes->texts().join(u'\n')));
}

void TestSettingsPage::tableNotOfToday()
{
    // Thursday's table on Friday; the stored ticks are in place before the
    // warning shows.
    m_sources->otp.answerNext(FakeReply::withBody(otpFixtureTable(Friday.addDays(-1))));
    m_sources->appendSettings(u"\r\n[Országos TakarékPénztár]\r\nUSD=1\r\nGBP=1\r\n"_s);
    QStringList tickedWhileWarning;
    WizardWindow w({u"/d"_s + m_db->path()}, m_sources->settingsPath());
    m_boxes->whileShown = [&](QMessageBox *) { tickedWhileWarning = WizardWindow::tickedCodes(w.rateList()); };
    QVERIFY(w.show());
    w.chooseBank(OtpBank);
    w.pressNext();
    QTRY_COMPARE_WITH_TIMEOUT(m_boxes->boxes().size(), 1, DeadlineMs);
    const MessageBoxAnswerer::Box box = m_boxes->boxes().first();
    QCOMPARE(box.text, NotCurrent);
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.caption, w.form().windowTitle());
    QCOMPARE(tickedWhileWarning, (QStringList{u"USD"_s, u"GBP"_s}));
    QTRY_COMPARE_WITH_TIMEOUT(w.page(), u"Settings"_s, DeadlineMs);
    // Not today's: the table has no rate date to show.
    QVERIFY(w.control<QLabel>(u"DateTimeLabel"_s)->text().isEmpty());
    QVERIFY(w.nextButton()->isEnabled());
    QCOMPARE(m_boxes->boxes().size(), 1);
}

QTEST_MAIN(TestSettingsPage)
#include "TestSettingsPage.moc"
