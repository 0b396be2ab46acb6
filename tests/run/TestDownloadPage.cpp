#include "fakes/FakeOtpServer.h"
#include "fakes/LoopbackPorts.h"
#include "fakes/RecordingView.h"
#include "run/DownloadPage.h"
#include "sources/DownloadClient.h"
#include "sources/DownloadFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestDownloadPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void storesTheBody();
    void otpTableReadsBack();
    void answerReadBackAsLines_data();
    void answerReadBackAsLines();
    void failureReportsAndEmptiesFile();
    void unreachableHostIsReported();
    void messageHidesCredentials();

private:
    QByteArray fileBytes() const;

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<DownloadFile> m_file;
    std::unique_ptr<FakeOtpServer> m_server;
    const QDate m_day{2026, 9, 18};
    const TransferSettings m_settings{QString(), 5s, 1s};
};

QByteArray TestDownloadPage::fileBytes() const
{
    QFile file(m_file->path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void TestDownloadPage::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    m_file = std::make_unique<DownloadFile>(m_temp->path());
    m_server = std::make_unique<FakeOtpServer>();
}

void TestDownloadPage::storesTheBody()
{
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(downloadPage(client, m_server->tableUrl(m_day, {u"EUR"_s}), *m_file, view));
    QCOMPARE(fileBytes(), m_server->table(m_day, {u"EUR"_s}).toUtf8());
    QCOMPARE(view.calls, QStringList());
}

void TestDownloadPage::otpTableReadsBack()
{
    m_server->setVersions(2);
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(downloadPage(client, m_server->tableUrl(m_day, {u"EUR"_s, u"JPY"_s}), *m_file, view));

    const QStringList lines = m_file->lines();
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], u"Deviza- és valutaárfolyamok: 2026.09.18 05:56"_s);
    QCOMPARE(lines[1],
             u"Név;Érvényesség;Egység;Közép;Valuta vételi;Valuta eladási;Csekk vételi;Csekk eladási;"
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

    const QString table =
        u"Árfolyamok: 2026.09.18 05:56\r\nNév;Egység;Közép;Valuta vételi\r\nEUR;1;363,47;350,00\r\n"_s;
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
    QVERIFY(downloadPage(client, m_server->tableUrl(m_day, {u"EUR"_s}), *m_file, view));
    QCOMPARE(fileBytes(), body);
    QCOMPARE(m_file->lines(), lines);
}

void TestDownloadPage::failureReportsAndEmptiesFile()
{
    QFile &leftover = m_file->create();
    leftover.write("old");
    leftover.close();
    m_server->answerNext(FakeReply::withStatus(404, "<html>nincs</html>"));

    const QString address = m_server->tableUrl(m_day, {u"EUR"_s});
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(!downloadPage(client, address, *m_file, view));

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
    const QString address = u"http://127.0.0.1:%1/"_s.arg(closedLoopbackPort());
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(!downloadPage(client, address, *m_file, view));
    QCOMPARE(view.errors.size(), 1);
    QVERIFY(view.errors[0].startsWith(u"Hiba történt a weboldal megnyitása közben:\r\n\r\n"_s + address
                                      + u"\r\n\r\nHibaüzenet: Failed to connect to 127.0.0.1"_s));
    QVERIFY(view.errorPageShown());
}

void TestDownloadPage::messageHidesCredentials()
{
    const QString address = m_server->tableUrl(m_day, {u"EUR"_s});
    const QString withCredentials =
        address.section(u"://"_s, 0, 0) + u"://anna:titok@"_s + address.section(u"://"_s, 1);
    m_server->answerNext(FakeReply::withStatus(500, "hiba"));
    DownloadClient client({}, m_settings);
    RecordingView view;
    QVERIFY(!downloadPage(client, withCredentials, *m_file, view));
    QCOMPARE(view.errors.size(), 1);
    QVERIFY2(view.errors[0].startsWith(u"Hiba történt a weboldal megnyitása közben:\r\n\r\n"_s + address + u"\r\n"_s),
             qPrintable(view.errors[0]));
    QVERIFY(!view.errors[0].contains(u"titok"_s));
    QVERIFY(!view.errors[0].contains(u"anna"_s));
}

QTEST_GUILESS_MAIN(TestDownloadPage)
#include "TestDownloadPage.moc"
