#include "startup/StartupSettings.h"
#include "startup/Switches.h"
#include "startup/TextHelpers.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSwitches : public QObject {
    Q_OBJECT

private slots:
    void lookups();
    void settings_data();
    void settings();
    void noDatabaseSwitchReadsNothing();
    void missingDatabase();
    void textHelpers();
    void oddArguments();
    void switchOfArgument_data();
    void switchOfArgument();
    void noNameBeginsWithAPrefixSwitch();
    void wizardReadsOnlyTheSuiteSwitches();
    void badValues_data();
    void badValues();
};

void TestSwitches::lookups()
{
    const QStringList args = {u"/dA"_s, u"/SERVERhost"_s, u"/dB"_s, u"/Silent"_s, u"/cross"_s};
    QCOMPARE(findParamByPrefix(args, u"/d"_s), 1);
    QCOMPARE(findParamByPrefix(args, u"/server"_s), 2);
    QCOMPARE(findParamByPrefix(args, u"/u"_s), 0);
    QCOMPARE(getParamValue(args, u"/d"_s), u"A"_s);
    QCOMPARE(getParamValue(args, u"/server"_s), u"host"_s);
    QCOMPARE(getParamValue(args, u"/p"_s), QString());
    QVERIFY(hasSwitch(args, u"/silent"_s));
    QVERIFY(hasSwitch(args, u"/CROSS"_s));
    QVERIFY(!hasSwitch(args, u"/crossenabled"_s));
    QVERIFY(!hasSwitch(args, u"/sil"_s));
    // Only A to Z fold: an accented letter must match exactly.
    QCOMPARE(findParamByPrefix({u"/É"_s}, u"/é"_s), 0);
}

void TestSwitches::settings_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("bank");
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("crossEnabled");
    QTest::addColumn<bool>("createCross");

    const QString D = u"D:\\DATA\\FIRM.GDB"_s;
    QTest::newRow("path glued") << QStringList{u"/d"_s + D} << D << ""
                                << "SYSDBA"
                                << "vorpalex" << false << -1 << -1 << false << false;
    QTest::newRow("/d alone") << QStringList{u"/d"_s} << ""
                              << ""
                              << "SYSDBA"
                              << "vorpalex" << false << -1 << -1 << false << false;
    QTest::newRow("path as separate argument") << QStringList{u"/d"_s, D} << ""
                                               << ""
                                               << "SYSDBA"
                                               << "vorpalex" << false << -1 << -1 << false << false;
    QTest::newRow("upper case switches") << QStringList{u"/DX"_s, u"/Uuser"_s, u"/Ppw"_s, u"/SILENT"_s, u"/Cross"_s}
                                         << "X"
                                         << ""
                                         << "user"
                                         << "pw" << true << 0 << 0 << true << true;
    QTest::newRow("empty user and password") << QStringList{u"/dX"_s, u"/u"_s, u"/p"_s} << "X"
                                             << ""
                                             << "SYSDBA"
                                             << "vorpalex" << false << -1 << -1 << false << false;
    QTest::newRow("earlier wins") << QStringList{u"/dA"_s, u"/dB"_s} << "A"
                                  << ""
                                  << "SYSDBA"
                                  << "vorpalex" << false << -1 << -1 << false << false;
    QTest::newRow("crossenabled interactive") << QStringList{u"/dX"_s, u"/crossenabled"_s} << "X"
                                              << ""
                                              << "SYSDBA"
                                              << "vorpalex" << false << -1 << -1 << true << false;
    QTest::newRow("crossX matches nothing")
        << QStringList{u"/dX"_s, u"/silent"_s, u"/crossX"_s, u"/crossenabled"_s} << "X"
        << ""
        << "SYSDBA"
        << "vorpalex" << true << 0 << 0 << false << false;
    QTest::newRow("bmnb") << QStringList{u"/dX"_s, u"/silent"_s, u"/bmnb"_s} << "X"
                          << ""
                          << "SYSDBA"
                          << "vorpalex" << true << 0 << 0 << false << false;
    QTest::newRow("bOtp") << QStringList{u"/dX"_s, u"/silent"_s, u"/bOtp"_s} << "X"
                          << ""
                          << "SYSDBA"
                          << "vorpalex" << true << 1 << 0 << false << false;
    QTest::newRow("bkhb") << QStringList{u"/dX"_s, u"/silent"_s, u"/bkhb"_s} << "X"
                          << ""
                          << "SYSDBA"
                          << "vorpalex" << true << 1 << 0 << false << false;
    QTest::newRow("bXYZ") << QStringList{u"/dX"_s, u"/silent"_s, u"/bXYZ"_s} << "X"
                          << ""
                          << "SYSDBA"
                          << "vorpalex" << true << 0 << 0 << false << false;
    QTest::newRow("ct2") << QStringList{u"/dX"_s, u"/silent"_s, u"/ct2"_s} << "X"
                         << ""
                         << "SYSDBA"
                         << "vorpalex" << true << 0 << 2 << false << false;
    for (const QString &bad : {u"02"_s, u"4"_s, u"-1"_s, u""_s}) {
        QTest::addRow("ct%s unchanged", qPrintable(bad)) << QStringList{u"/dX"_s, u"/silent"_s, u"/ct"_s + bad} << "X"
                                                         << ""
                                                         << "SYSDBA"
                                                         << "vorpalex" << true << 0 << 0 << false << false;
    }
    QTest::newRow("interactive ignores /b and /ct") << QStringList{u"/dX"_s, u"/bOTP"_s, u"/ct1"_s, u"/cross"_s} << "X"
                                                    << ""
                                                    << "SYSDBA"
                                                    << "vorpalex" << false << -1 << -1 << false << false;
    QTest::newRow("server") << QStringList{u"/serverdbhost"_s, u"/dC:\\x.gdb"_s} << "C:\\x.gdb"
                            << "dbhost"
                            << "SYSDBA"
                            << "vorpalex" << false << -1 << -1 << false << false;
}

void TestSwitches::settings()
{
    QFETCH(QStringList, args);
    const StartupSettings s = readStartupSettings(args);
    QTEST(s.database, "database");
    QTEST(s.server, "server");
    QTEST(s.userName, "user");
    QTEST(s.password, "password");
    QTEST(s.silent, "silent");
    QTEST(s.bankIndex, "bank");
    QTEST(s.rateTypeIndex, "rateType");
    QTEST(s.crossRatesEnabled, "crossEnabled");
    QTEST(s.createCrossRates, "createCross");
}

void TestSwitches::noDatabaseSwitchReadsNothing()
{
    for (const QStringList &args : {QStringList{}, QStringList{u"/silent"_s, u"/uX"_s, u"/bOTP"_s}}) {
        const StartupSettings s = readStartupSettings(args);
        QVERIFY(s.database.isEmpty() && s.server.isEmpty() && s.userName.isEmpty() && s.password.isEmpty());
        QVERIFY(!s.silent);
        QCOMPARE(s.bankIndex, 0);
        QCOMPARE(s.rateTypeIndex, 0);
    }
    // Unattended flags only count in an unattended run.
    const StartupSettings s =
        readStartupSettings({u"/dX"_s, u"/silent"_s, u"/createcurrency"_s, u"/middle"_s, u"/reversed"_s});
    QVERIFY(s.createMissingCurrencies && s.onlyMiddleRate && s.createReversedRates);
    const StartupSettings i = readStartupSettings({u"/dX"_s, u"/createcurrency"_s, u"/middle"_s, u"/reversed"_s});
    QVERIFY(!i.createMissingCurrencies && !i.onlyMiddleRate && !i.createReversedRates);
}

void TestSwitches::missingDatabase()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(u"FIRM.FDB"_s);
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    StartupSettings s = readStartupSettings({u"/d"_s + existing});
    QVERIFY(!missingDatabaseMessage(s, true));

    s = readStartupSettings({u"/d"_s});
    QCOMPARE(missingDatabaseMessage(s, true), u"A megadott adatbázis nem létezik!\r\n\n"_s);

    s = readStartupSettings({u"/d"_s + dir.filePath(u"NONE.FDB"_s)});
    QCOMPARE(missingDatabaseMessage(s, true),
             u"A megadott adatbázis nem létezik!\r\n\n"_s + dir.filePath(u"NONE.FDB"_s));

    // A folder is not a database file.
    s = readStartupSettings({u"/d"_s + dir.path()});
    QVERIFY(missingDatabaseMessage(s, true));

    // A server path is not checked locally; no /d means no check at all.
    s = readStartupSettings({u"/serverhost"_s, u"/d/nowhere/x.fdb"_s});
    QVERIFY(!missingDatabaseMessage(s, true));
    QVERIFY(!missingDatabaseMessage(readStartupSettings({}), false));
}

void TestSwitches::textHelpers()
{
    const QStringList lines = {u"MNB   - Magyar Nemzeti Bank"_s, u"OTP   - OTP"_s, u"OTP2  - second"_s, u"otp"_s};
    QCOMPARE(indexOfPrefix(lines, u"OTP"_s), 1);
    QCOMPARE(indexOfPrefix(lines, u"MNB"_s), 0);
    QCOMPARE(indexOfPrefix(lines, u"KHB"_s), -1);
    QCOMPARE(indexOfPrefix(lines, QString()), -1);
    QCOMPARE(indexOfPrefix({u"otp - x"_s}, u"OTP"_s), -1);

    QString text = u"EUR;USD;"_s;
    QCOMPARE(splitAtChar(text, u';'), u"EUR"_s);
    QCOMPARE(text, u"USD;"_s);
    QCOMPARE(splitAtChar(text, u';'), u"USD"_s);
    QCOMPARE(text, QString());
    text = u"CHF"_s;
    QCOMPARE(splitAtChar(text, u';'), u"CHF"_s);
    QCOMPARE(text, QString());
    QCOMPARE(splitAtChar(text, u';'), QString());

    QCOMPARE(withTrailingChar(u"/tmp"_s, u'/'), u"/tmp/"_s);
    QCOMPARE(withTrailingChar(u"/tmp/"_s, u'/'), u"/tmp/"_s);
    QCOMPARE(withTrailingChar(QString(), u'/'), QString());
    QCOMPARE(withoutTrailingChar(u"/tmp/"_s, u'/'), u"/tmp"_s);
    QCOMPARE(withoutTrailingChar(u"/tmp"_s, u'/'), u"/tmp"_s);
    QCOMPARE(withoutTrailingChar(QString(), u'/'), QString());
    QVERIFY(temporaryDirectory().endsWith(u'/'));
}

void TestSwitches::oddArguments()
{
    // Empty, binary and very long arguments are read, never trusted.
    const QStringList args = {QString(),           QString(QChar(0)), u"/d"_s + QString(100000, u'x'),
                              u"/b\u00ff\u2603"_s, u"/silent"_s,      u"/ct\u0662"_s};
    const StartupSettings s = readStartupSettings(args);
    QCOMPARE(s.database.size(), 100000);
    QCOMPARE(s.bankIndex, 0);
    QCOMPARE(s.rateTypeIndex, 0);
}

void TestSwitches::switchOfArgument_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("name");
    QTest::newRow("/d with a path") << u"/dD:\\DATA\\FIRM.FDB"_s << u"/d"_s;
    QTest::newRow("/SERVER") << u"/SERVERhost"_s << u"/server"_s;
    QTest::newRow("/ct bare") << u"/ct"_s << u"/ct"_s;
    QTest::newRow("/Cross exact") << u"/Cross"_s << u"/cross"_s;
    QTest::newRow("/crossenabled") << u"/crossenabled"_s << u"/crossenabled"_s;
    QTest::newRow("/crossX is none") << u"/crossX"_s << QString();
    QTest::newRow("/sil is none") << u"/sil"_s << QString();
    QTest::newRow("/settings with a file") << u"/settings/etc/arfolyam.ini"_s << u"/settings"_s;
    QTest::newRow("/suitecode") << u"/suitecodeKP"_s << u"/suitecode"_s;
    QTest::newRow("/currEUR") << u"/currEUR,USD"_s << u"/curr"_s;
    QTest::newRow("/? exact") << u"/?"_s << u"/?"_s;
    QTest::newRow("/?? is none") << u"/??"_s << QString();
    QTest::newRow("no slash") << u"show"_s << QString();
}

void TestSwitches::switchOfArgument()
{
    QFETCH(QString, argument);
    QFETCH(QString, name);
    const SwitchSpec *spec = switchOf(argument);
    QCOMPARE(spec ? spec->name.toString() : QString(), name);
}

void TestSwitches::noNameBeginsWithAPrefixSwitch()
{
    // Otherwise the first argument beginning with the prefix would take the
    // other switch's value.
    for (const SwitchSpec &prefix : switchTable()) {
        if (prefix.match != SwitchMatch::Prefix)
            continue;
        for (const SwitchSpec &other : switchTable()) {
            if (&other != &prefix)
                QVERIFY2(!other.name.startsWith(prefix.name, Qt::CaseInsensitive), qPrintable(other.name.toString()));
        }
    }
}

void TestSwitches::wizardReadsOnlyTheSuiteSwitches()
{
    const QStringList args = {u"/dX"_s, u"/settingsY"_s, u"/show"_s, u"/silent"_s, u"/bOTP"_s};
    const CommandLine wizard = readCommandLine(args, SwitchReader::Wizard);
    QCOMPARE(wizard.database, u"X"_s);
    QCOMPARE(wizard.bank, u"OTP"_s);
    QVERIFY(wizard.silent);
    QVERIFY(!wizard.settings);
    QVERIFY(!wizard.show);
    const CommandLine runner = readCommandLine(args, SwitchReader::Runner);
    QCOMPARE(runner.settings, u"Y"_s);
    QVERIFY(runner.show);
    QCOMPARE(runner.database, u"X"_s);
    QVERIFY(!runner.userName);
}

void TestSwitches::badValues_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("all good") << QStringList{u"/bkhb"_s,        u"/ct3"_s,           u"/offset+2"_s,
                                             u"/curreur,usd"_s, u"/settingsa.ini"_s, u"/inputb.xml"_s}
                              << QString();
    QTest::newRow("bank") << QStringList{u"/bXYZ"_s}
                          << u"Érvénytelen érték: /bXYZ (MNB, OTP, BB, CITI, KHB vagy MKB)."_s;
    QTest::newRow("rate type") << QStringList{u"/ct02"_s} << u"Érvénytelen érték: /ct02 (0, 1, 2 vagy 3)."_s;
    QTest::newRow("offset") << QStringList{u"/offset-3"_s} << u"Érvénytelen érték: /offset-3 (-2, -1, 0, 1 vagy 2)."_s;
    QTest::newRow("codes") << QStringList{u"/currEUR,"_s}
                           << u"Érvénytelen érték: /currEUR, (hárombetűs devizakódok vesszővel elválasztva)."_s;
    QTest::newRow("bare /input") << QStringList{
        u"/input"_s} << u"A /input kapcsoló után szóköz nélkül adja meg a fájl nevét, például /inputvalasz.xml."_s;
    // In table order: the bank before the rate type.
    QTest::newRow("first of two") << QStringList{u"/ct9"_s, u"/bX"_s}
                                  << u"Érvénytelen érték: /bX (MNB, OTP, BB, CITI, KHB vagy MKB)."_s;
}

void TestSwitches::badValues()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QCOMPARE(firstBadValue(readCommandLine(args, SwitchReader::Runner)).value_or(QString()), message);
}

QTEST_GUILESS_MAIN(TestSwitches)
#include "TestSwitches.moc"
