#include "fakes/FakeOtpServer.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/RecordingView.h"
#include "sources/DownloadClient.h"
#include "sources/DownloadPage.h"
#include "sources/DownloadedLines.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestDownloadPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void storesTheBody();
    void pathInTemporaryFolder();
    void prepareRemovesLeftover();
    void replacesReadOnlyLeftover();
    void otpTableReadsBack();
    void answerReadBackAsLines_data();
    void answerReadBackAsLines();
    void failureReportsAndEmptiesFile();
    void unreachableHostIsReported();

private:
    static QByteArray fileBytes();

    QTemporaryDir m_temp;
    std::unique_ptr<FakeOtpServer> m_server;
    const QDate m_day{2026, 9, 18};
    const TransferSettings m_settings{QString(), 5s, 1s};
};

QByteArray TestDownloadPage::fileBytes()
{
    QFile file(DownloadFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void TestDownloadPage::initTestCase()
{
    QVERIFY(m_temp.isValid());
}

void TestDownloadPage::init()
{
    qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    m_server = std::make_unique<FakeOtpServer>();
}

void TestDownloadPage::storesTheBody()
{
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(DownloadPage(client, m_server->tableUrl(m_day, {u"EUR"_s}), view));
    QCOMPARE(fileBytes(), m_server->table(m_day, {u"EUR"_s}).toUtf8());
    QCOMPARE(view.calls, QStringList());
}

void TestDownloadPage::pathInTemporaryFolder()
{
    QCOMPARE(DownloadFilePath(), m_temp.path() + u"/kelvora.tmp"_s);
    qputenv("TMPDIR", QFile::encodeName(m_temp.path() + u"/"_s));
    QCOMPARE(DownloadFilePath(), m_temp.path() + u"/kelvora.tmp"_s);
}

void TestDownloadPage::prepareRemovesLeftover()
{
    QFile leftover(DownloadFilePath());
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    QCOMPARE(PrepareDownloadFile(), m_temp.path() + u"/kelvora.tmp"_s);
    QVERIFY(!leftover.exists());
}

void TestDownloadPage::replacesReadOnlyLeftover()
{
    QFile leftover(DownloadFilePath());
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.write("a previous run's table, much longer than the new one\r\n");
    leftover.close();
    QVERIFY(leftover.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(DownloadPage(client, m_server->tableUrl(m_day, {u"USD"_s}), view));
    QCOMPARE(fileBytes(), m_server->table(m_day, {u"USD"_s}).toUtf8());
    QVERIFY(QFileInfo(DownloadFilePath()).isWritable());
    QCOMPARE(view.calls, QStringList());
}

void TestDownloadPage::otpTableReadsBack()
{
    m_server->setVersions(2);
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(DownloadPage(client, m_server->tableUrl(m_day, {u"EUR"_s, u"JPY"_s}), view));

    const QStringList lines = LoadDownloadedLines();
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], u"Deviza- és valutaárfolyamok: 2026.09.18 05:56"_s);
    QCOMPARE(lines[1], u"Név;Érvényesség;Egység;Közép;Valuta vételi;Valuta eladási;Csekk vételi;Csekk eladási;"
                       "Deviza vételi;Deviza eladási;Verzió"_s);
    const QStringList heads = {u"EUR;2026.09.18 05:56;1;"_s, u"EUR;2026.09.18 08:56;1;"_s,
                               u"JPY;2026.09.18 05:56;100;"_s, u"JPY;2026.09.18 08:56;100;"_s};
    const QRegularExpression amount(u"^\\d{1,3},\\d\\d$"_s);
    for (int row = 0; row < heads.size(); ++row) {
        const QString &line = lines[row + 2];
        QVERIFY2(line.startsWith(heads[row]), qPrintable(line));
        const QStringList cells = line.split(u';');
        QCOMPARE(cells.size(), 11);
        QCOMPARE(cells[10], QString::number(row % 2 + 1));
        for (int column = 3; column < 10; ++column)
            QVERIFY2(amount.match(cells[column]).hasMatch(), qPrintable(line));
    }
}

void TestDownloadPage::answerReadBackAsLines_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("lines");

    const QString table = u"Árfolyamok: 2026.09.18 05:56\r\nNév;Egység;Közép;Valuta vételi\r\nEUR;1;363,47;350,00\r\n"_s;
    const QStringList tableLines = {u"Árfolyamok: 2026.09.18 05:56"_s, u"Név;Egység;Közép;Valuta vételi"_s,
                                    u"EUR;1;363,47;350,00"_s};
    QStringEncoder windows1250("windows-1250");
    QTest::newRow("UTF-8") << table.toUtf8() << tableLines;
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + table.toUtf8() << tableLines;
    QTest::newRow("Windows-1250") << QByteArray(windows1250(table)) << QStringList();
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("last line unterminated") << QByteArray("Cím\r\nEUR;1") << QStringList{u"Cím"_s, u"EUR;1"_s};
}

void TestDownloadPage::answerReadBackAsLines()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, lines);

    m_server->answerNext(FakeReply::withBody(body));
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(DownloadPage(client, m_server->tableUrl(m_day, {u"EUR"_s}), view));
    QCOMPARE(fileBytes(), body);
    QCOMPARE(LoadDownloadedLines(), lines);
}

void TestDownloadPage::failureReportsAndEmptiesFile()
{
    QFile leftover(DownloadFilePath());
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.write("old");
    leftover.close();
    m_server->answerNext(FakeReply::withStatus(404, "<html>nincs</html>"));

    const QString address = m_server->tableUrl(m_day, {u"EUR"_s});
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(!DownloadPage(client, address, view));

    const QString message = u"Hiba történt a weboldal megnyitása közben:\r\n\r\n"_s + address
        + u"\r\n\r\nHibaüzenet: HTTP/1.1 404 Not Found\r\n\r\nLehetséges megoldások:\r\n"
          " - Ellenőrizze a számítógépe hálózati kapcsolatát.\r\n"
          " - Ha a számítógépet vagy a hálózatot tűzfal vagy proxy védi, ellenőrizze, hogy az "
          "Árfolyamlekérdező (testdownloadpage) számára engedélyezett-e a webhozzáférés."_s;
    QCOMPARE(view.calls, (QStringList{u"error "_s + message, u"error page"_s}));
    QCOMPARE(fileBytes(), QByteArray());
}

void TestDownloadPage::unreachableHostIsReported()
{
    const QString address = u"http://127.0.0.1:%1/"_s.arg(ClosedLoopbackPort());
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(!DownloadPage(client, address, view));
    QCOMPARE(view.errors.size(), 1);
    QVERIFY(view.errors[0].startsWith(u"Hiba történt a weboldal megnyitása közben:\r\n\r\n"_s + address
                                      + u"\r\n\r\nHibaüzenet: Failed to connect to 127.0.0.1"_s));
    QVERIFY(view.errorPageShown());
}

QTEST_GUILESS_MAIN(TestDownloadPage)
#include "TestDownloadPage.moc"
