#include "CliHarness.h"
#include "cli/CliOptions.h"
#include "fakes/SelfSignedCertificate.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

class TestCliUsage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void usageError_data();
    void usageError();
    void historyCheck_data();
    void historyCheck();
    void unreadableFiles_data();
    void unreadableFiles();
    void noPermission();
    void inputOverTheLimit();
    void help_data();
    void help();

private:
    // Runs with the fakes' settings last, so that a /settings of the
    // arguments comes first and wins.
    CliRun run(const QStringList &arguments) const;

    std::unique_ptr<SelfSignedCertificate> m_certificate;
    std::unique_ptr<FakeBanks> m_banks;
};

namespace {

QString shortDate(const QDate &day)
{
    return day.toString(u"yyyy.MM.dd"_s);
}

} // namespace

CliRun TestCliUsage::run(const QStringList &arguments) const
{
    return runCli(arguments + QStringList{m_banks->settingsSwitch()});
}

void TestCliUsage::initTestCase()
{
    m_certificate = std::make_unique<SelfSignedCertificate>();
}

void TestCliUsage::init()
{
    m_banks = std::make_unique<FakeBanks>(*m_certificate);
}

void TestCliUsage::cleanup()
{
    m_banks.reset();
}

void TestCliUsage::usageError_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString dataFolder = QString::fromUtf8(ARFOLYAM_TEST_DATA);
    const QString otpTable = dataFolder + u"/otp-rates-2026-09-18.csv"_s;
    const QString badCodes = u"hárombetűs devizakódok vesszővel elválasztva"_s;
    const QString bank = u"MNB, OTP, BB, CITI, KHB vagy MKB"_s;
    const QString history = u"A /from, /to és /curr csak a /history kapcsolóval együtt használható."_s;

    QTest::newRow("unknown switch") << QStringList{u"/show"_s, u"/xyz"_s}
                                    << u"Ismeretlen kapcsoló: /xyz. A /help kiírja a kapcsolókat."_s;
    QTest::newRow("own switch misspelt") << QStringList{u"/shows"_s}
                                         << u"Ismeretlen kapcsoló: /shows. A /help kiírja a kapcsolókat."_s;
    QTest::newRow("loose argument") << QStringList{u"/show"_s, u"EUR"_s}
                                    << u"Váratlan argumentum: EUR. A kapcsolók értéke a kapcsoló nevéhez tapad, "
                                       "például /inputvalasz.xml."_s;
    QTest::newRow("value apart from its switch")
        << QStringList{u"/show"_s, u"/input"_s, u"valasz.xml"_s}
        << u"Váratlan argumentum: valasz.xml. A kapcsolók értéke a kapcsoló nevéhez tapad, például "
           "/inputvalasz.xml."_s;
    QTest::newRow("bad /b") << QStringList{u"/show"_s, u"/bXYZ"_s} << u"Érvénytelen érték: /bXYZ (%1)."_s.arg(bank);
    QTest::newRow("empty /b") << QStringList{u"/show"_s, u"/b"_s} << u"Érvénytelen érték: /b (%1)."_s.arg(bank);
    QTest::newRow("/ct4") << QStringList{u"/show"_s, u"/bOTP"_s, u"/ct4"_s}
                          << u"Érvénytelen érték: /ct4 (0, 1, 2 vagy 3)."_s;
    QTest::newRow("/ct10") << QStringList{u"/show"_s, u"/bOTP"_s, u"/ct10"_s}
                           << u"Érvénytelen érték: /ct10 (0, 1, 2 vagy 3)."_s;
    QTest::newRow("/offset3") << QStringList{u"/show"_s, u"/offset3"_s}
                              << u"Érvénytelen érték: /offset3 (-2, -1, 0, 1 vagy 2)."_s;
    QTest::newRow("empty /offset") << QStringList{u"/show"_s, u"/offset"_s}
                                   << u"Érvénytelen érték: /offset (-2, -1, 0, 1 vagy 2)."_s;
    QTest::newRow("/curr four letters") << QStringList{u"/show"_s, u"/history"_s, u"/currEURO"_s}
                                        << u"Érvénytelen érték: /currEURO (%1)."_s.arg(badCodes);
    QTest::newRow("/curr empty code") << QStringList{u"/show"_s, u"/history"_s, u"/currEUR,,USD"_s}
                                      << u"Érvénytelen érték: /currEUR,,USD (%1)."_s.arg(badCodes);
    QTest::newRow("/curr semicolons") << QStringList{u"/show"_s, u"/history"_s, u"/currEUR;USD"_s}
                                      << u"Érvénytelen érték: /currEUR;USD (%1)."_s.arg(badCodes);
    QTest::newRow("missing /settings file") << QStringList{u"/show"_s, u"/settings/nincs/ilyen/arfolyam.ini"_s}
                                            << u"A megadott beállításfájl nem létezik: /nincs/ilyen/arfolyam.ini"_s;
    QTest::newRow("missing /input file") << QStringList{u"/show"_s, u"/input/nincs/ilyen/valasz.xml"_s}
                                         << u"A megadott bemeneti fájl nem létezik: /nincs/ilyen/valasz.xml"_s;
    QTest::newRow("/input without a file name")
        << QStringList{u"/show"_s, u"/input"_s}
        << u"A /input kapcsoló után szóköz nélkül adja meg a fájl nevét, például /inputvalasz.xml."_s;
    QTest::newRow("/settings without a file name")
        << QStringList{u"/show"_s, u"/settings"_s}
        << u"A /settings kapcsoló után szóköz nélkül adja meg a fájl nevét, például /settingsarfolyam.ini."_s;
    QTest::newRow("/input names a folder") << QStringList{u"/show"_s, u"/input"_s + dataFolder}
                                           << u"A megadott bemeneti fájl nem közönséges fájl: %1"_s.arg(dataFolder);
    QTest::newRow("/from without /history") << QStringList{u"/show"_s, u"/from2026.09.01"_s} << history;
    QTest::newRow("/curr without /history") << QStringList{u"/show"_s, u"/currEUR"_s} << history;
    QTest::newRow("/history with /bOTP") << QStringList{u"/show"_s,    u"/history"_s,        u"/bOTP"_s,
                                                        u"/currEUR"_s, u"/from2026.09.01"_s, u"/to2026.09.08"_s}
                                         << u"Visszamenőleges lekérdezést csak a Magyar Nemzeti Bank ad (/bMNB)."_s;
    QTest::newRow("/HISTORY with /bOtp") << QStringList{u"/SHOW"_s, u"/HISTORY"_s, u"/bOtp"_s, u"/currEUR"_s}
                                         << u"Visszamenőleges lekérdezést csak a Magyar Nemzeti Bank ad (/bMNB)."_s;
    QTest::newRow("/history with /input")
        << QStringList{u"/show"_s,           u"/history"_s,      u"/currEUR"_s,
                       u"/from2026.09.01"_s, u"/to2026.09.08"_s, u"/input"_s + otpTable}
        << u"A /history és az /input együtt nem használható."_s;
}

void TestCliUsage::usageError()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const CliRun result = run(arguments);
    QCOMPARE(result.err, u"arfolyam-cli: "_s + message + u'\n');
    QCOMPARE(result.out, QString());
    QCOMPARE(result.exitCode, 2);
    QVERIFY(m_banks->untouched());
}

void TestCliUsage::historyCheck_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString tomorrow = shortDate(QDate::currentDate().addDays(1));
    QTest::newRow("no currency") << QStringList{u"/from2026.09.01"_s, u"/to2026.09.08"_s}
                                 << u"Legalább egy pénznemet ki kell választania!"_s;
    // A script's author reads the words the accountant reads on the page.
    QTest::newRow("/from not a day") << QStringList{u"/from2026.02.30"_s, u"/to2026.09.08"_s, u"/currEUR"_s}
                                     << u"A Lekérdezés kezdőnapja mező érvénytelen dátumot tartalmaz!"_s;
    QTest::newRow("/from empty") << QStringList{u"/from"_s, u"/currEUR"_s}
                                 << u"A Lekérdezés kezdőnapja mező érvénytelen dátumot tartalmaz!"_s;
    QTest::newRow("/to with dashes") << QStringList{u"/from2026.09.01"_s, u"/to2026-09-08"_s, u"/currEUR"_s}
                                     << u"A Lekérdezés zárónapja mező érvénytelen dátumot tartalmaz!"_s;
    QTest::newRow("/to alone, not a day") << QStringList{u"/to2026.13.01"_s, u"/currEUR"_s}
                                          << u"A Lekérdezés zárónapja mező érvénytelen dátumot tartalmaz!"_s;
    QTest::newRow("two years") << QStringList{u"/from2025.12.01"_s, u"/to2026.01.05"_s, u"/currEUR"_s}
                               << u"A lekérdezés kezdő és záróéve nem térhet el egymástól!"_s;
    QTest::newRow("before 2000") << QStringList{u"/from1999.01.04"_s, u"/to1999.12.31"_s, u"/currEUR"_s}
                                 << u"A Lekérdezés kezdőnapja nem lehet 2000. évinél kisebb!"_s;
    QTest::newRow("after today") << QStringList{u"/from"_s + tomorrow, u"/to"_s + tomorrow, u"/currEUR"_s}
                                 << u"A lekérdezés kezdő- és végnapja nem lehet a mai napnál későbbi!"_s;
}

void TestCliUsage::historyCheck()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const CliRun result = run(QStringList{u"/show"_s, u"/history"_s} + arguments);
    QCOMPARE(result.err, u"arfolyam-cli: "_s + message + u'\n');
    QCOMPARE(result.out, QString());
    QCOMPARE(result.exitCode, 2);
    QVERIFY(m_banks->untouched());
}

void TestCliUsage::unreadableFiles_data()
{
    QTest::addColumn<QString>("switchName");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    const QString folder = QString::fromUtf8(ARFOLYAM_TEST_DATA);
    for (const auto &[name, role] :
         {std::pair{u"/settings"_s, u"beállításfájl"_s}, std::pair{u"/input"_s, u"bemeneti fájl"_s}}) {
        QTest::addRow("%s names a folder", qPrintable(name))
            << name << folder << u"A megadott %1 nem közönséges fájl: %2"_s.arg(role, folder);
        QTest::addRow("%s names a device", qPrintable(name))
            << name << u"/dev/null"_s << u"A megadott %1 nem közönséges fájl: /dev/null"_s.arg(role);
        // Opens, but every read fails.
        QTest::addRow("%s read error", qPrintable(name))
            << name << u"/proc/self/mem"_s << u"A megadott %1 nem olvasható (/proc/self/mem): "_s.arg(role);
    }
}

void TestCliUsage::unreadableFiles()
{
    QFETCH(QString, switchName);
    QFETCH(QString, path);
    QFETCH(QString, message);

    // The file named first wins over the fakes' settings that run() adds.
    const CliRun result = run({u"/show"_s, switchName + path});
    QVERIFY2(result.err.startsWith(u"arfolyam-cli: "_s + message), qPrintable(result.err));
    QCOMPARE(result.err.count(u'\n'), 1);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.exitCode, 2);
    QVERIFY(m_banks->untouched());
}

void TestCliUsage::noPermission()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"valasz.xml"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(file.setPermissions(QFile::WriteOwner));
    if (file.open(QIODevice::ReadOnly))
        QSKIP("This user reads files without read permission (root).");
    const CliRun result = run({u"/show"_s, u"/input"_s + path});
    QVERIFY2(result.err.startsWith(u"arfolyam-cli: A megadott bemeneti fájl nem olvasható (%1): "_s.arg(path)),
             qPrintable(result.err));
    QCOMPARE(result.exitCode, 2);
}

void TestCliUsage::inputOverTheLimit()
{
    QTemporaryDir folder;
    const QString settings = folder.filePath(u"arfolyam.ini"_s);
    SourceSettings sources{m_banks->mnb.url(), m_banks->otp.origin(), m_certificate->certificatePath()};
    sources.maxAnswerMiB = 1;
    writeSettings(settings, sources);
    const QString path = folder.filePath(u"valasz.xml"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QByteArray(1024 * 1024 + 1, ' ')) > 0);
    file.close();

    const CliRun result = run({u"/show"_s, u"/input"_s + path, u"/settings"_s + settings});
    QCOMPARE(result.err,
             u"arfolyam-cli: A megadott bemeneti fájl nagyobb a megengedett 1 MiB-nál: %1. A korlát a "
             "beállításfájl [Sources] szakaszának MaxAnswerMiB kulcsával emelhető.\n"_s.arg(path));
    QCOMPARE(result.exitCode, 2);
}

void TestCliUsage::help_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("/help") << QStringList{u"/help"_s};
    QTest::newRow("/?") << QStringList{u"/?"_s};
    QTest::newRow("/HELP") << QStringList{u"/HELP"_s};
    QTest::newRow("/? with a run's switches") << QStringList{u"/show"_s, u"/bOTP"_s, u"/?"_s};
}

void TestCliUsage::help()
{
    QFETCH(QStringList, arguments);

    const CliRun result = run(arguments);
    QVERIFY(result.out.startsWith(u"Használat: arfolyam-cli [kapcsolók]\n"_s));
    QCOMPARE(lines(result.out), lines(CliUsageText));
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QVERIFY(m_banks->untouched());
}

QTEST_GUILESS_MAIN(TestCliUsage)
#include "TestCliUsage.moc"
