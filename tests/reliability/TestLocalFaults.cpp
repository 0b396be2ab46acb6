#include "FaultHarness.h"
#include "fakes/SelfSignedCertificate.h"
#include "sources/DownloadFile.h"
#include "sources/SourceError.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate Friday(2026, 9, 18);
const QString NothingWritten = u"Az adatbázis nem változott: a lekérdezés nem sikerült.\n"_s;
const QString NoDownloadFile = u"A letöltési fájl nem hozható létre a(z) "_s;
const QString DownloadNotStored = u"A letöltött adatok nem írhatók ki: "_s;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("The test cannot write " + path.toStdString());
}

// Folders the download cannot go into, for root as well: permission bits
// would not stop root.
QString unwritableFolder(const QTemporaryDir &folder, bool below)
{
    const QString blocker = folder.filePath(u"plain-file"_s);
    writeFile(blocker, "x");
    return below ? blocker + u"/tmp"_s : blocker;
}

QStringList suiteSetUp()
{
    return {u"INSERT INTO VHELY (KOD, NEV) VALUES ('MNB', 'Magyar Nemzeti Bank')"_s,
            u"INSERT INTO VHELY (KOD, NEV) VALUES ('OTP', 'OTP Bank')"_s,
            u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('HUF', 'forint', 2)"_s,
            u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('EUR', 'euró', 2)"_s,
            u"INSERT INTO DEVIZA (KOD, NEV, TIZ) VALUES ('USD', 'dollár', 2)"_s,
            u"INSERT INTO CNFKOZOS (KONYVDEV) VALUES ('HUF')"_s,
            u"INSERT INTO ARFOLYAM (DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP) "
            "VALUES ('2026-09-17 00:00:00', 'MNB', 'EUR', 'HUF', 1, 1, 1)"_s};
}

QList<QStringList> everyRow(const SuiteDatabase &db)
{
    QList<QStringList> rows = db.rows(u"SELECT 'ARFOLYAM', DAT, BANK, DKOD, DKKOD, ELAD, VESZ, KOZEP FROM ARFOLYAM"_s);
    rows += db.rows(u"SELECT 'DEVIZA', KOD, NEV, TIZ FROM DEVIZA"_s);
    rows += db.rows(u"SELECT 'VHELY', KOD, NEV FROM VHELY"_s);
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

// The computer failing under a run: the temporary folder, the database and
// the disk that cannot take what the run would write.
class TestLocalFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void downloadFileCannotBeCreated_data();
    void downloadFileCannotBeCreated();
    void runnerWithoutTemporaryFolder_data();
    void runnerWithoutTemporaryFolder();
    void readOnlyDatabase_data();
    void readOnlyDatabase();
    void diskFullDuringTheDownload();

private:
    std::unique_ptr<SelfSignedCertificate> m_certificate;
};

void TestLocalFaults::initTestCase()
{
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestLocalFaults::downloadFileCannotBeCreated_data()
{
    QTest::addColumn<bool>("below");
    QTest::newRow("a plain file") << false;
    QTest::newRow("below a plain file") << true;
}

void TestLocalFaults::downloadFileCannotBeCreated()
{
    QFETCH(bool, below);
    const QTemporaryDir folder;
    const QString temporary = unwritableFolder(folder, below);
    DownloadFile file(temporary);
    try {
        file.create();
        QFAIL("the download file was created");
    } catch (const SourceError &e) {
        QVERIFY2(e.message().startsWith(NoDownloadFile + QDir::toNativeSeparators(temporary) + u" mappában: "_s),
                 qPrintable(e.message()));
    }
    QCOMPARE(file.path(), QString());
}

void TestLocalFaults::runnerWithoutTemporaryFolder_data()
{
    downloadFileCannotBeCreated_data();
}

void TestLocalFaults::runnerWithoutTemporaryFolder()
{
    QFETCH(bool, below);
    const QTemporaryDir folder;
    FakeBanks banks(*m_certificate);
    const SuiteDatabase db;
    db.execute(suiteSetUp());
    const QList<QStringList> before = everyRow(db);

    const CliRun run =
        runRunner({u"/bOTP"_s, u"/d"_s + db.path(), banks.settingsSwitch()}, {unwritableFolder(folder, below), 0});
    QVERIFY2(run.err.contains(NoDownloadFile), qPrintable(run.err));
    QVERIFY2(run.out.endsWith(NothingWritten), qPrintable(run.out));
    QCOMPARE(run.exitCode, 1);
    // Nowhere to put the answer: the bank is not even asked.
    QVERIFY(banks.untouched());
    QCOMPARE(everyRow(db), before);
}

void TestLocalFaults::readOnlyDatabase_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::newRow("current rates") << QStringList{u"/bMNB"_s, u"/createcurrency"_s, u"/reversed"_s};
    QTest::newRow("history") << QStringList{u"/history"_s, u"/from2026.09.14"_s, u"/to2026.09.18"_s};
}

void TestLocalFaults::readOnlyDatabase()
{
    QFETCH(QStringList, switches);
    FakeBanks banks(*m_certificate);
    banks.mnb.setCurrentDay(Friday);
    const SuiteDatabase db;
    db.execute(suiteSetUp());
    const QList<QStringList> before = everyRow(db);
    // Firebird's own read-only mode, as an archived year's database has it.
    runFirebirdTool(u"gfix"_s, {u"-mode"_s, u"read_only"_s, u"-user"_s, u"SYSDBA"_s, db.path()});

    const CliRun run = runRunner(switches + QStringList{u"/d"_s + db.path(), banks.settingsSwitch()});
    QVERIFY2(run.err.contains(u"csak olvasható"_s), qPrintable(run.err));
    QVERIFY2(!run.err.contains(u"read-only"_s), qPrintable(run.err));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(everyRow(db), before);
}

void TestLocalFaults::diskFullDuringTheDownload()
{
    FakeBanks banks(*m_certificate);
    // Several versions of each currency make a table several times the limit.
    banks.otp.setVersions(8);
    constexpr int LimitKiB = 1;
    const QByteArray table = banks.otp.table(QDate::currentDate(), FakeOtpServer::DefaultCurrencies).toUtf8();
    QVERIFY(table.size() > 2 * LimitKiB * 1024);
    banks.otp.answerNext(FakeReply::withBody(table));
    const SuiteDatabase db;
    db.execute(suiteSetUp());
    const QList<QStringList> before = everyRow(db);
    const QTemporaryDir temporary;

    // The file-size limit stands for a disk that fills up under the download.
    const CliRun run =
        runRunner({u"/bOTP"_s, u"/d"_s + db.path(), banks.settingsSwitch()}, {temporary.path(), LimitKiB});
    QVERIFY2(run.err.contains(DownloadNotStored), qPrintable(run.err));
    QVERIFY2(run.out.endsWith(NothingWritten), qPrintable(run.out));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(everyRow(db), before);
    // The part that did fit is not left behind.
    QCOMPARE(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

QTEST_GUILESS_MAIN(TestLocalFaults)
#include "TestLocalFaults.moc"
