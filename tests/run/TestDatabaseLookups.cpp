#include "export/SuiteConnection.h"
#include "fakes/RecordingView.h"
#include "fakes/SuiteDatabase.h"
#include "run/DatabaseLookups.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString ConnectionFailureStart = u"Hiba történt az adatbázishoz való csatlakozás közben!\r\n\r\nSzámitógép: "
                                       "Sajátgép\r\nAdatbázis: %1\r\n\r\nHibaüzenet: "_s;

ConnectionSettings settingsOf(const QString &path)
{
    return {QString(), path, u"SYSDBA"_s, u"embedded"_s};
}

} // namespace

class TestDatabaseLookups : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void bankCodesAreLoaded();
    void historyCurrenciesAreLoadedAsTheStep();
    void failure_data();
    void failure();

private:
    std::unique_ptr<SuiteDatabase> m_db;
    QTemporaryDir m_temp;
};

void TestDatabaseLookups::initTestCase()
{
    QVERIFY(m_temp.isValid());
    m_db = std::make_unique<SuiteDatabase>();
    m_db->execute({u"INSERT INTO VHELY (KOD, NEV) VALUES ('OTP', 'Országos TakarékPénztár')"_s,
                   u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'Magyar forint', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('usd', 'dollár', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s,
                   u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EURO', 'euró', 2)"_s});
}

void TestDatabaseLookups::bankCodesAreLoaded()
{
    RecordingView view;
    QCOMPARE(loadBankCodes(settingsOf(m_db->path()), view),
             (QStringList{u"MNB   - Magyar Nemzeti Bank"_s, u"OTP   - Országos TakarékPénztár"_s}));
    QCOMPARE(view.calls, QStringList());
}

void TestDatabaseLookups::historyCurrenciesAreLoadedAsTheStep()
{
    RecordingView view;
    QCOMPARE(loadHistoryCurrencies(settingsOf(m_db->path()), view), (QStringList{u"EUR"_s, u"USD"_s}));
    QCOMPARE(view.calls, (QStringList{u"active 1"_s, u"done 1"_s}));
}

void TestDatabaseLookups::failure_data()
{
    QTest::addColumn<bool>("history");
    QTest::addColumn<bool>("connects");

    QTest::newRow("bank codes, no database") << false << false;
    QTest::newRow("history, no database") << true << false;
    QTest::newRow("bank codes, no table") << false << true;
    QTest::newRow("history, no table") << true << true;
}

// Reported once, the error page shown, nothing returned; the history step
// stays under way.
void TestDatabaseLookups::failure()
{
    QFETCH(bool, history);
    QFETCH(bool, connects);

    std::optional<SuiteDatabase> broken;
    if (connects) {
        broken.emplace();
        broken->execute({u"DROP TABLE VHELY"_s, u"DROP TABLE DEVIZA"_s});
    }
    const QString path = connects ? broken->path() : m_temp.filePath(u"missing.fdb"_s);

    RecordingView view;
    const std::optional<QStringList> loaded =
        history ? loadHistoryCurrencies(settingsOf(path), view) : loadBankCodes(settingsOf(path), view);
    QVERIFY(!loaded);
    QCOMPARE(view.errors.size(), 1);
    const QString message = view.errors[0];
    const QString start = ConnectionFailureStart.arg(path);
    if (connects) {
        QVERIFY2(message.contains(history ? u"DEVIZA"_s : u"VHELY"_s), qPrintable(message));
    } else {
        QCOMPARE(message.left(start.size()), start);
        QVERIFY(message.size() > start.size());
    }
    QStringList calls{u"error "_s + message, u"error page"_s};
    if (history)
        calls.prepend(u"active 1"_s);
    QCOMPARE(view.calls, calls);
}

QTEST_GUILESS_MAIN(TestDatabaseLookups)
#include "TestDatabaseLookups.moc"
