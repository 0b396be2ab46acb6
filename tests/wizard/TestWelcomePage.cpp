#include "WizardHarness.h"

#include "wizard/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace WizardTest;

// The first page: what it offers at the start, what choosing a bank locks
// and presets, which of the suite's bank codes it picks, and when Next
// opens. Nothing here leaves the page, so one database serves every case.
class TestWelcomePage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void firstLook();
    void bankLocksAndDefaults_data();
    void bankLocksAndDefaults();
    void suiteCodeOfTheBank_data();
    void suiteCodeOfTheBank();
    void nextWantsBankAndCode();

private:
    // The suite's bank table becomes these "code|name" rows.
    void setSuiteBanks(const QStringList &rows);
    std::unique_ptr<WizardWindow> openWindow();

    std::unique_ptr<SuiteDatabase> m_db;
    std::unique_ptr<FakeSources> m_sources;
    std::unique_ptr<WizardWindow> m_window;
};

void TestWelcomePage::initTestCase()
{
    m_db = std::make_unique<SuiteDatabase>();
    fillSuite(*m_db);
    m_sources = std::make_unique<FakeSources>();
}

void TestWelcomePage::cleanup()
{
    m_window.reset();
    QVERIFY(m_sources->mnb.calls().isEmpty());
    QVERIFY(m_sources->otp.requests().isEmpty());
}

void TestWelcomePage::setSuiteBanks(const QStringList &rows)
{
    QStringList statements{u"DELETE FROM VHELY"_s};
    for (const QString &row : rows) {
        const QStringList fields = row.split(u'|');
        statements << u"INSERT INTO VHELY (KOD, NEV) VALUES ('%1', '%2')"_s.arg(fields[0], fields[1]);
    }
    m_db->execute(statements);
}

std::unique_ptr<WizardWindow> TestWelcomePage::openWindow()
{
    auto window = std::make_unique<WizardWindow>(QStringList{u"/d"_s + m_db->path()}, m_sources->settingsPath());
    if (!window->show())
        return nullptr;
    return window;
}

void TestWelcomePage::firstLook()
{
    setSuiteBanks({u"MNB|Magyar Nemzeti Bank"_s, u"OTP|  Országos TakarékPénztár "_s, u"KHB|K&H Bank"_s,
                   u"UNICRED|UniCredit Bank"_s, u"CIB |CIB Bank"_s});
    m_window = openWindow();
    QVERIFY(m_window);
    WizardWindow &w = *m_window;

    QCOMPARE(w.page(), u"Welcome"_s);
    QCOMPARE(w.control<QLabel>(u"Label2"_s)->text(),
             u"Kérem, a lekérdezés indítása előtt ellenőrizze a számitógép dátumát!"_s);

    QCOMPARE(w.bankGroup()->title(), u"Bank választás"_s);
    QCOMPARE(WizardWindow::itemTexts(w.bankGroup()), (QStringList{CentralBank, OtpBank}));
    QVERIFY(!WizardWindow::chosen(w.bankGroup()));
    QCOMPARE(w.rateTypeGroup()->title(), u"Árfolyam-típus"_s);
    QVERIFY(WizardWindow::itemTexts(w.rateTypeGroup()).isEmpty());
    QCOMPARE(w.datumGroup()->title(), u"Dátum képzés"_s);
    QCOMPARE(WizardWindow::itemTexts(w.datumGroup()),
             (QStringList{u"T-2 nap (banki árfolyamnapot megelőző nap előtti nap)"_s,
                          u"T-1 nap (banki árfolyamnapot megelőző nap)"_s, u"T (banki árfolyamnappal egyező nap)"_s,
                          u"T+1 nap (banki árfolyamnapot követő nap)"_s,
                          u"T+2 nap (banki árfolyamnapot követő nap utáni nap)"_s}));
    QCOMPARE(w.datumGroup()->itemIndex(), 2);

    QCOMPARE(w.onlyMiddle()->text(), u"Csak a középárfolyam használata"_s);
    QCOMPARE(w.history()->text(), u"Visszamenőleges lekérdezés"_s);
    for (const QCheckBox *box : {w.onlyMiddle(), w.history()}) {
        QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        QVERIFY2(box->isEnabled(), qPrintable(box->objectName()));
    }

    // In code order, codes padded to five characters and never cut, names
    // without their surrounding blanks; nothing picked.
    QComboBox *codes = w.suiteCodes();
    QStringList entries;
    for (int i = 0; i < codes->count(); ++i)
        entries << codes->itemText(i);
    QCOMPARE(entries, (QStringList{u"CIB   - CIB Bank"_s, u"KHB   - K&H Bank"_s, u"MNB   - Magyar Nemzeti Bank"_s,
                                   u"OTP   - Országos TakarékPénztár"_s, u"UNICRED - UniCredit Bank"_s}));
    QCOMPARE(codes->currentIndex(), -1);
    QVERIFY(!codes->isEditable());

    QVERIFY(!w.backButton()->isEnabled());
    QVERIFY(!w.nextButton()->isEnabled());
    QVERIFY(w.cancelButton()->isEnabled());
    QCOMPARE(w.cancelButton()->text(), u"Mégsem"_s);
}

void TestWelcomePage::bankLocksAndDefaults_data()
{
    // What the user does, in order: "bank:<label>", "type:<text>", or the
    // name of a tick box to click.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("rateTypes");
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("rateTypesEnabled");
    QTest::addColumn<bool>("middleChecked");
    QTest::addColumn<bool>("middleEnabled");
    QTest::addColumn<bool>("historyChecked");
    QTest::addColumn<bool>("historyEnabled");

    const QString mnb = u"bank:"_s + CentralBank;
    const QString otp = u"bank:"_s + OtpBank;
    const QString history = u"cbQueryExchangeHistory"_s;
    const QString middle = u"cbOnlyMiddleExchangeRate"_s;
    const QStringList mnbTypes{u"Deviza"_s};
    const QStringList otpTypes{u"Deviza"_s, u"Valuta"_s, u"Csekk"_s};

    QTest::newRow("central bank") << QStringList{mnb} << mnbTypes << 0 << false << true << false << false << true;
    QTest::newRow("central bank keeps a history tick")
        << QStringList{mnb, history, mnb} << mnbTypes << 0 << false << true << false << true << true;
    QTest::newRow("OTP Bank") << QStringList{otp} << otpTypes << 0 << true << false << true << false << false;
    QTest::newRow("OTP Bank after a history tick")
        << QStringList{mnb, history, otp} << otpTypes << 0 << true << false << true << false << false;
    QTest::newRow("central bank after OTP Bank")
        << QStringList{mnb, history, otp, middle, mnb} << mnbTypes << 0 << false << true << false << false << true;
    QTest::newRow("OTP Bank chosen anew starts from its defaults")
        << QStringList{otp, u"type:Csekk"_s, middle, mnb, otp} << otpTypes << 0 << true << false << true << false
        << false;
    QTest::newRow("OTP Bank's own choices") << QStringList{otp, u"type:Valuta"_s, middle} << otpTypes << 1 << true
                                            << true << true << false << false;
}

void TestWelcomePage::bankLocksAndDefaults()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, rateTypes);
    QFETCH(int, rateType);
    QFETCH(bool, rateTypesEnabled);
    QFETCH(bool, middleChecked);
    QFETCH(bool, middleEnabled);
    QFETCH(bool, historyChecked);
    QFETCH(bool, historyEnabled);

    setSuiteBanks({u"MNB|Magyar Nemzeti Bank"_s, u"OTP|Országos TakarékPénztár"_s});
    m_window = openWindow();
    QVERIFY(m_window);
    WizardWindow &w = *m_window;
    for (const QString &action : actions) {
        if (action.startsWith(u"bank:"_s)) {
            w.chooseBank(action.mid(5));
        } else if (action.startsWith(u"type:"_s)) {
            w.choose(w.rateTypeGroup(), action.mid(5));
        } else {
            QCheckBox *box = w.control<QCheckBox>(action);
            QVERIFY2(box->isEnabled(), qPrintable(action));
            const bool before = box->isChecked();
            w.toggle(box);
            QCOMPARE(box->isChecked(), !before);
        }
    }

    QCOMPARE(WizardWindow::itemTexts(w.rateTypeGroup()), rateTypes);
    QCOMPARE(w.rateTypeGroup()->itemIndex(), rateType);
    QCOMPARE(w.rateTypeGroup()->isEnabled(), rateTypesEnabled);
    QCOMPARE(w.onlyMiddle()->isChecked(), middleChecked);
    QCOMPARE(w.onlyMiddle()->isEnabled(), middleEnabled);
    QCOMPARE(w.history()->isChecked(), historyChecked);
    QCOMPARE(w.history()->isEnabled(), historyEnabled);
    // A locked box stays as it is under the mouse.
    for (QCheckBox *box : {w.onlyMiddle(), w.history()}) {
        if (box->isEnabled())
            continue;
        w.toggle(box);
        QCOMPARE(box->isChecked(), box == w.onlyMiddle() ? middleChecked : historyChecked);
    }
}

void TestWelcomePage::suiteCodeOfTheBank_data()
{
    // The suite's bank table, "code|name" rows.
    QTest::addColumn<QStringList>("suiteBanks");
    // Banks chosen in order; "pick:<entry>" picks a code by hand.
    QTest::addColumn<QStringList>("actions");
    // The entry picked at the end; empty for none.
    QTest::addColumn<QString>("picked");

    const QStringList both{u"MNB|Magyar Nemzeti Bank"_s, u"OTP|Országos TakarékPénztár"_s};
    QTest::newRow("central bank") << both << QStringList{CentralBank} << u"MNB   - Magyar Nemzeti Bank"_s;
    QTest::newRow("OTP Bank, the second entry") << both << QStringList{OtpBank} << u"OTP   - Országos TakarékPénztár"_s;
    QTest::newRow("first of two entries beginning with the code")
        << QStringList{u"OTPB|OTP második"_s, u"OTPA|OTP első"_s, u"MNB|Magyar Nemzeti Bank"_s}
        << QStringList{OtpBank} << u"OTPA  - OTP első"_s;
    QTest::newRow("a longer code beginning with the code")
        << QStringList{u"KHB|K&H Bank"_s, u"MNBANK|Jegybank"_s} << QStringList{CentralBank}
        << u"MNBANK - Jegybank"_s;
    QTest::newRow("lower-case otp is another code")
        << QStringList{u"MNB|Magyar Nemzeti Bank"_s, u"otp|kisbetűs"_s} << QStringList{OtpBank} << QString();
    QTest::newRow("no entry clears the earlier pick") << QStringList{u"KHB|K&H Bank"_s, u"MNB|Magyar Nemzeti Bank"_s}
                                                      << QStringList{CentralBank, OtpBank} << QString();
    QTest::newRow("no entry clears a pick by hand")
        << QStringList{u"KHB|K&H Bank"_s, u"MNB|Magyar Nemzeti Bank"_s}
        << QStringList{OtpBank, u"pick:KHB   - K&H Bank"_s, OtpBank} << QString();
    QTest::newRow("choosing the bank again overrides a pick by hand")
        << both << QStringList{CentralBank, u"pick:OTP   - Országos TakarékPénztár"_s, CentralBank}
        << u"MNB   - Magyar Nemzeti Bank"_s;
    QTest::newRow("empty bank table") << QStringList() << QStringList{CentralBank, OtpBank} << QString();
}

void TestWelcomePage::suiteCodeOfTheBank()
{
    QFETCH(QStringList, suiteBanks);
    QFETCH(QStringList, actions);
    QFETCH(QString, picked);

    setSuiteBanks(suiteBanks);
    m_window = openWindow();
    QVERIFY(m_window);
    WizardWindow &w = *m_window;
    for (const QString &action : actions) {
        if (action.startsWith(u"pick:"_s))
            w.pickSuiteCode(action.mid(5));
        else
            w.chooseBank(action);
    }
    QCOMPARE(w.suiteCodes()->currentIndex() >= 0 ? w.suiteCodes()->currentText() : QString(), picked);
    QCOMPARE(w.nextButton()->isEnabled(), !picked.isEmpty());
}

void TestWelcomePage::nextWantsBankAndCode()
{
    setSuiteBanks({u"KHB|K&H Bank"_s, u"MNB|Magyar Nemzeti Bank"_s});
    m_window = openWindow();
    QVERIFY(m_window);
    WizardWindow &w = *m_window;

    // A code without a bank is not enough.
    w.pickSuiteCode(u"KHB   - K&H Bank"_s);
    QCOMPARE(w.suiteCodes()->currentText(), u"KHB   - K&H Bank"_s);
    QVERIFY(!w.nextButton()->isEnabled());

    // OTP Bank finds no code of its own and takes the pick away.
    w.chooseBank(OtpBank);
    QCOMPARE(w.suiteCodes()->currentIndex(), -1);
    QVERIFY(!w.nextButton()->isEnabled());

    w.pickSuiteCode(u"KHB   - K&H Bank"_s);
    QVERIFY(w.nextButton()->isEnabled());
    w.pickSuiteCode(u"MNB   - Magyar Nemzeti Bank"_s);
    QVERIFY(w.nextButton()->isEnabled());

    // Neither the history tick nor the date rule has a say.
    w.choose(w.datumGroup(), u"T+2 nap (banki árfolyamnapot követő nap utáni nap)"_s);
    QVERIFY(w.nextButton()->isEnabled());
    QVERIFY(!w.backButton()->isEnabled());
}

QTEST_MAIN(TestWelcomePage)
#include "TestWelcomePage.moc"
