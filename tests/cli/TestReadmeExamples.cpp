#include "CliHarness.h"
#include "fakes/SelfSignedCertificate.h"
#include "startup/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// Every example of the README, run exactly as it is written there: a user
// copies them.
class TestReadmeExamples : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void settingsExample();
    void runnerExamples_data();
    void runnerExamples();
    void lastLineAsShown();

private:
    std::unique_ptr<SelfSignedCertificate> m_certificate;
    std::unique_ptr<FakeBanks> m_banks;
    QTemporaryDir m_folder;
    QString m_readme;
};

namespace {

// The code blocks of a Markdown text, each with its language.
QList<std::pair<QString, QStringList>> codeBlocks(const QString &markdown)
{
    QList<std::pair<QString, QStringList>> blocks;
    bool inside = false;
    for (const QString &line : markdown.split(u'\n')) {
        if (line.startsWith(u"```"_s)) {
            if (!inside)
                blocks.append({line.mid(3).trimmed(), {}});
            inside = !inside;
        } else if (inside) {
            blocks.last().second.append(line);
        }
    }
    return blocks;
}

} // namespace

void TestReadmeExamples::initTestCase()
{
    QFile readme(QString::fromUtf8(ARFOLYAM_README));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    m_readme = QString::fromUtf8(readme.readAll());
    QVERIFY(m_folder.isValid());
    m_certificate = std::make_unique<SelfSignedCertificate>();
    m_banks = std::make_unique<FakeBanks>(*m_certificate);

    // The runner as a user has it: its settings file beside it, pointing at
    // the fakes, so that the examples need no switch they do not show.
    const QString program = m_folder.filePath(u"arfolyam-cli"_s);
    QVERIFY(QFile::copy(QString::fromUtf8(ARFOLYAM_CLI_PROGRAM), program));
    writeSettings(m_folder.filePath(u"arfolyam.ini"_s),
                  {m_banks->mnb.url(), m_banks->otp.origin(), m_certificate->certificatePath()});
    QFile table(m_folder.filePath(u"table.csv"_s));
    QVERIFY(table.open(QIODevice::WriteOnly));
    QVERIFY(table.write(otpFixtureTable(QDate::currentDate())) > 0);

    // The database the import examples name, made as the README says.
    QProcess demo;
    demo.start(u"bash"_s, {QString::fromUtf8(ARFOLYAM_DEMO_SCRIPT), m_folder.filePath(u"ADAT.FDB"_s)});
    QVERIFY(demo.waitForFinished(60000));
    QVERIFY2(demo.exitCode() == 0, demo.readAllStandardError().constData());
}

void TestReadmeExamples::settingsExample()
{
    QStringList example;
    for (const auto &[language, lines] : codeBlocks(m_readme)) {
        if (language == u"ini")
            example = lines;
    }
    QVERIFY(!example.isEmpty());
    const QString path = m_folder.filePath(u"readme.ini"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(example.join(u'\n').toUtf8());
    file.close();

    const ProxySettings proxy = readProxySettings(path);
    QCOMPARE(proxy.proxyServer, u"proxy.example.hu"_s);
    QCOMPARE(proxy.proxyPort, 8080);
    QCOMPARE(proxy.proxyUsername, u"arfolyam"_s);
    QCOMPARE(proxy.proxyPassword, u"secret"_s);
    QVERIFY(proxy.basicAuthentication);
    const SourceSettings sources = readSourceSettings(path);
    QCOMPARE(sources.mnbServiceUrl, u"http://www.mnb.hu/arfolyamok.asmx"_s);
    QCOMPARE(sources.otpBaseUrl, u"https://www.otpbank.hu"_s);
    QCOMPARE(sources.caFile, QString());
    QCOMPARE(sources.maxAnswerMiB, 16);
    QCOMPARE(readStoredSelection(path, u"Magyar Nemzeti Bank"_s, {u"EUR"_s, u"USD"_s, u"CHF"_s}),
             (QVector<bool>{true, true, false}));
}

void TestReadmeExamples::runnerExamples_data()
{
    QTest::addColumn<QStringList>("arguments");
    int examples = 0;
    for (const auto &[language, lines] : codeBlocks(m_readme)) {
        for (const QString &line : lines) {
            // A command line, or the runner's part of a crontab line: its
            // switches up to a comment or the shell's redirections.
            const qsizetype at = line.indexOf(u"arfolyam-cli "_s);
            if (at < 0)
                continue;
            QStringList arguments;
            for (const QString &word : line.mid(at).split(u' ', Qt::SkipEmptyParts).mid(1)) {
                if (word == u"#" || word.startsWith(u'>') || word.startsWith(u"2>") || word == u"&&" || word == u"|")
                    break;
                arguments << word;
            }
            QTest::newRow(qPrintable(line.mid(at).trimmed())) << arguments;
            ++examples;
        }
    }
    QVERIFY(examples >= 10);
}

void TestReadmeExamples::runnerExamples()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TMPDIR"_s, m_folder.path());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_folder.path());
    process.start(m_folder.filePath(u"arfolyam-cli"_s), arguments);
    QVERIFY(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, qPrintable(err));
    QVERIFY(!process.readAllStandardOutput().isEmpty());
}

void TestReadmeExamples::lastLineAsShown()
{
    QString shown;
    for (const auto &[language, lines] : codeBlocks(m_readme)) {
        for (const QString &line : lines) {
            if (line.startsWith(u"Beírt sorok: "_s))
                shown = line;
        }
    }
    QVERIFY(!shown.isEmpty());
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TMPDIR"_s, m_folder.path());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_folder.path());
    process.start(m_folder.filePath(u"arfolyam-cli"_s), {u"/dADAT.FDB"_s});
    QVERIFY(process.waitForFinished(60000));
    const QStringList out = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(!out.isEmpty());
    static const QRegularExpression number(u"\\d+"_s);
    QCOMPARE(QString(out.last()).replace(number, u"N"_s), QString(shown).replace(number, u"N"_s));
}

QTEST_GUILESS_MAIN(TestReadmeExamples)
#include "TestReadmeExamples.moc"
