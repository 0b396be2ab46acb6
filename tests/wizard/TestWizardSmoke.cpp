#include "fakes/FakeMnbServer.h"
#include "fakes/SuiteDatabase.h"
#include "startup/SettingsFile.h"
#include "startup/StartupSettings.h"
#include "wizard/CurrencyExchangeQueryMainForm.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

// The window from its first page to Finished: the central bank's current
// rates, EUR ticked, written into a fresh suite database.
class TestWizardSmoke : public QObject {
    Q_OBJECT

private slots:
    void centralBankRateIntoTheBooks();
};

namespace {

const QDate Friday(2026, 9, 18);
// The network and the database answer within this.
constexpr int DeadlineMs = 60000;

QString storedRate(const QString &code)
{
    return QString::number(FakeMnbServer::rate(code, Friday) / FakeMnbServer::unit(code), 'g', 17);
}

} // namespace

void TestWizardSmoke::centralBankRateIntoTheBooks()
{
    FakeMnbServer mnb;
    mnb.setCurrentDay(Friday);
    SuiteDatabase db;
    db.execute({u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s,
                u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('USD', 'dollár', 2)"_s,
                u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')"_s});
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString settingsPath = folder.filePath(u"arfolyam.ini"_s);
    QFile settingsFile(settingsPath);
    QVERIFY(settingsFile.open(QIODevice::WriteOnly));
    settingsFile.write((u"[Sources]\r\nMNBServiceUrl="_s + mnb.url() + u"\r\n"_s).toUtf8());
    settingsFile.close();

    CurrencyExchangeQueryMainForm form(readStartupSettings({u"/d"_s + db.path()}), settingsPath);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *notebook = form.findChild<QStackedWidget *>(u"Notebook"_s);
    auto *next = form.findChild<QPushButton *>(u"NextButton"_s);
    QVERIFY(notebook && next);
    const auto page = [notebook] { return notebook->currentWidget()->objectName(); };
    QCOMPARE(page(), u"Welcome"_s);
    QVERIFY(!next->isEnabled());

    QRadioButton *centralBank = nullptr;
    for (auto *button : form.findChild<QGroupBox *>(u"bank"_s)->findChildren<QRadioButton *>()) {
        if (button->text() == u"Magyar Nemzeti Bank (MNB)"_s)
            centralBank = button;
    }
    QVERIFY(centralBank);
    QTest::mouseClick(centralBank, Qt::LeftButton);
    QCOMPARE(form.findChild<QComboBox *>(u"banks"_s)->currentText(), u"MNB   - Magyar Nemzeti Bank"_s);
    QVERIFY(next->isEnabled());

    QTest::mouseClick(next, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(page(), u"Settings"_s, DeadlineMs);
    auto *rates = form.findChild<QTreeWidget *>(u"ListView"_s);
    QCOMPARE(rates->topLevelItemCount(), FakeMnbServer::currencies().size());
    const QList<QTreeWidgetItem *> euro = rates->findItems(u"EUR"_s, Qt::MatchExactly, 0);
    QCOMPARE(euro.size(), 1);
    QCOMPARE(euro[0]->checkState(0), Qt::Unchecked);
    euro[0]->setCheckState(0, Qt::Checked);

    QTest::mouseClick(next, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(page(), u"Finished"_s, DeadlineMs);

    QCOMPARE(db.rows(u"SELECT DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM"_s),
             (QList<QStringList>{{u"2026-09-18 00:00:00.000"_s, u"MNB"_s, u"EUR"_s, u"HUF"_s, storedRate(u"EUR"_s),
                                  storedRate(u"EUR"_s), storedRate(u"EUR"_s)}}));
    // Every listed currency is stored, EUR alone ticked.
    const QStringList codes = FakeMnbServer::currencies();
    QVector<bool> expected(codes.size(), false);
    expected[codes.indexOf(u"EUR"_s)] = true;
    QCOMPARE(readStoredSelection(settingsPath, u"Magyar Nemzeti Bank"_s, codes), expected);
    QFile stored(settingsPath);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll().count("=0"), codes.size() - 1);
}

QTEST_MAIN(TestWizardSmoke)
#include "TestWizardSmoke.moc"
