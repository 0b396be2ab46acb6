#include "startup/StartupSettings.h"
#include "startup/w32Utils.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void lookups();
    void settings_data();
    void settings();
    void noDatabaseSwitchReadsNothing();
    void missingDatabase();
    void textHelpers();
    void oddArguments();
};

void TestCommandLine::lookups()
{
    const QStringList args = {u"/dA"_s, u"/SERVERhost"_s, u"/dB"_s, u"/Silent"_s, u"/cross"_s};
    QCOMPARE(FindParamByPrefix(args, u"/d"_s), 1);
    QCOMPARE(FindParamByPrefix(args, u"/server"_s), 2);
    QCOMPARE(FindParamByPrefix(args, u"/u"_s), 0);
    QCOMPARE(GetParamValue(args, u"/d"_s), u"A"_s);
    QCOMPARE(GetParamValue(args, u"/server"_s), u"host"_s);
    QCOMPARE(GetParamValue(args, u"/p"_s), QString());
    QVERIFY(HasSwitch(args, u"/silent"_s));
    QVERIFY(HasSwitch(args, u"/CROSS"_s));
    QVERIFY(!HasSwitch(args, u"/crossenabled"_s));
    QVERIFY(!HasSwitch(args, u"/sil"_s));
    // Only A to Z fold: an accented letter must match exactly.
    QCOMPARE(FindParamByPrefix({u"/É"_s}, u"/é"_s), 0);
}

void TestCommandLine::settings_data()
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
    QTest::newRow("path glued") << QStringList{u"/d"_s + D} << D << "" << "SYSDBA" << "vorpalex" << false << -1 << -1
                                << false << false;
    QTest::newRow("/d alone") << QStringList{u"/d"_s} << "" << "" << "SYSDBA" << "vorpalex" << false << -1 << -1 << false
                              << false;
    QTest::newRow("path as separate argument")
        << QStringList{u"/d"_s, D} << "" << "" << "SYSDBA" << "vorpalex" << false << -1 << -1 << false << false;
    QTest::newRow("upper case switches")
        << QStringList{u"/DX"_s, u"/Uuser"_s, u"/Ppw"_s, u"/SILENT"_s, u"/Cross"_s} << "X" << "" << "user" << "pw"
        << true << 0 << 0 << true << true;
    QTest::newRow("empty user and password")
        << QStringList{u"/dX"_s, u"/u"_s, u"/p"_s} << "X" << "" << "SYSDBA" << "vorpalex" << false << -1 << -1 << false
        << false;
    QTest::newRow("earlier wins") << QStringList{u"/dA"_s, u"/dB"_s} << "A" << "" << "SYSDBA" << "vorpalex" << false
                                  << -1 << -1 << false << false;
    QTest::newRow("crossenabled interactive")
        << QStringList{u"/dX"_s, u"/crossenabled"_s} << "X" << "" << "SYSDBA" << "vorpalex" << false << -1 << -1 << true
        << false;
    QTest::newRow("crossX matches nothing")
        << QStringList{u"/dX"_s, u"/silent"_s, u"/crossX"_s, u"/crossenabled"_s} << "X" << "" << "SYSDBA" << "vorpalex"
        << true << 0 << 0 << false << false;
    QTest::newRow("bmnb") << QStringList{u"/dX"_s, u"/silent"_s, u"/bmnb"_s} << "X" << "" << "SYSDBA" << "vorpalex"
                          << true << 0 << 0 << false << false;
    QTest::newRow("bOtp") << QStringList{u"/dX"_s, u"/silent"_s, u"/bOtp"_s} << "X" << "" << "SYSDBA" << "vorpalex"
                          << true << 1 << 0 << false << false;
    QTest::newRow("bkhb") << QStringList{u"/dX"_s, u"/silent"_s, u"/bkhb"_s} << "X" << "" << "SYSDBA" << "vorpalex"
                          << true << 1 << 0 << false << false;
    QTest::newRow("bXYZ") << QStringList{u"/dX"_s, u"/silent"_s, u"/bXYZ"_s} << "X" << "" << "SYSDBA" << "vorpalex"
                          << true << 0 << 0 << false << false;
    QTest::newRow("ct2") << QStringList{u"/dX"_s, u"/silent"_s, u"/ct2"_s} << "X" << "" << "SYSDBA" << "vorpalex"
                         << true << 0 << 2 << false << false;
    for (const QString &bad : {u"02"_s, u"4"_s, u"-1"_s, u""_s}) {
        QTest::addRow("ct%s unchanged", qPrintable(bad))
            << QStringList{u"/dX"_s, u"/silent"_s, u"/ct"_s + bad} << "X" << "" << "SYSDBA" << "vorpalex" << true << 0
            << 0 << false << false;
    }
    QTest::newRow("interactive ignores /b and /ct")
        << QStringList{u"/dX"_s, u"/bOTP"_s, u"/ct1"_s, u"/cross"_s} << "X" << "" << "SYSDBA" << "vorpalex" << false
        << -1 << -1 << false << false;
    QTest::newRow("server") << QStringList{u"/serverdbhost"_s, u"/dC:\\x.gdb"_s} << "C:\\x.gdb" << "dbhost" << "SYSDBA"
                            << "vorpalex" << false << -1 << -1 << false << false;
}

void TestCommandLine::settings()
{
    QFETCH(QStringList, args);
    const StartupSettings s = ReadStartupSettings(args);
    QTEST(s.Database, "database");
    QTEST(s.Server, "server");
    QTEST(s.UserName, "user");
    QTEST(s.Password, "password");
    QTEST(s.Silent, "silent");
    QTEST(s.BankIndex, "bank");
    QTEST(s.RateTypeIndex, "rateType");
    QTEST(s.CrossRatesEnabled, "crossEnabled");
    QTEST(s.CreateCrossRates, "createCross");
}

void TestCommandLine::noDatabaseSwitchReadsNothing()
{
    for (const QStringList &args : {QStringList{}, QStringList{u"/silent"_s, u"/uX"_s, u"/bOTP"_s}}) {
        const StartupSettings s = ReadStartupSettings(args);
        QVERIFY(s.Database.isEmpty() && s.Server.isEmpty() && s.UserName.isEmpty() && s.Password.isEmpty());
        QVERIFY(!s.Silent);
        QCOMPARE(s.BankIndex, 0);
        QCOMPARE(s.RateTypeIndex, 0);
    }
    // Unattended flags only count in an unattended run.
    const StartupSettings s =
        ReadStartupSettings({u"/dX"_s, u"/silent"_s, u"/createcurrency"_s, u"/middle"_s, u"/reversed"_s});
    QVERIFY(s.CreateMissingCurrencies && s.OnlyMiddleRate && s.CreateReversedRates);
    const StartupSettings i = ReadStartupSettings({u"/dX"_s, u"/createcurrency"_s, u"/middle"_s, u"/reversed"_s});
    QVERIFY(!i.CreateMissingCurrencies && !i.OnlyMiddleRate && !i.CreateReversedRates);
}

void TestCommandLine::missingDatabase()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(u"FIRM.FDB"_s);
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    StartupSettings s = ReadStartupSettings({u"/d"_s + existing});
    QVERIFY(!MissingDatabaseMessage(s, true));

    s = ReadStartupSettings({u"/d"_s});
    QCOMPARE(MissingDatabaseMessage(s, true), u"A megadott adatbázis nem létezik!\r\n\n"_s);

    s = ReadStartupSettings({u"/d"_s + dir.filePath(u"NONE.FDB"_s)});
    QCOMPARE(MissingDatabaseMessage(s, true), u"A megadott adatbázis nem létezik!\r\n\n"_s + dir.filePath(u"NONE.FDB"_s));

    // A folder is not a database file.
    s = ReadStartupSettings({u"/d"_s + dir.path()});
    QVERIFY(MissingDatabaseMessage(s, true));

    // A server path is not checked locally; no /d means no check at all.
    s = ReadStartupSettings({u"/serverhost"_s, u"/d/nowhere/x.fdb"_s});
    QVERIFY(!MissingDatabaseMessage(s, true));
    QVERIFY(!MissingDatabaseMessage(ReadStartupSettings({}), false));
}

void TestCommandLine::textHelpers()
{
    const QStringList lines = {u"MNB   - Magyar Nemzeti Bank"_s, u"OTP   - OTP"_s, u"OTP2  - second"_s, u"otp"_s};
    QCOMPARE(IndexOfPrefix(lines, u"OTP"_s), 1);
    QCOMPARE(IndexOfPrefix(lines, u"MNB"_s), 0);
    QCOMPARE(IndexOfPrefix(lines, u"KHB"_s), -1);
    QCOMPARE(IndexOfPrefix(lines, QString()), -1);
    QCOMPARE(IndexOfPrefix({u"otp - x"_s}, u"OTP"_s), -1);

    QString text = u"EUR;USD;"_s;
    QCOMPARE(SplitAtChar(text, u';'), u"EUR"_s);
    QCOMPARE(text, u"USD;"_s);
    QCOMPARE(SplitAtChar(text, u';'), u"USD"_s);
    QCOMPARE(text, QString());
    text = u"CHF"_s;
    QCOMPARE(SplitAtChar(text, u';'), u"CHF"_s);
    QCOMPARE(text, QString());
    QCOMPARE(SplitAtChar(text, u';'), QString());

    QCOMPARE(WithTrailingChar(u"/tmp"_s, u'/'), u"/tmp/"_s);
    QCOMPARE(WithTrailingChar(u"/tmp/"_s, u'/'), u"/tmp/"_s);
    QCOMPARE(WithTrailingChar(QString(), u'/'), QString());
    QCOMPARE(WithoutTrailingChar(u"/tmp/"_s, u'/'), u"/tmp"_s);
    QCOMPARE(WithoutTrailingChar(u"/tmp"_s, u'/'), u"/tmp"_s);
    QCOMPARE(WithoutTrailingChar(QString(), u'/'), QString());
    QVERIFY(TemporaryDirectory().endsWith(u'/'));
}

void TestCommandLine::oddArguments()
{
    // Empty, binary and very long arguments are read, never trusted.
    const QStringList args = {QString(), QString(QChar(0)), u"/d"_s + QString(100000, u'x'), u"/b\u00ff\u2603"_s,
                              u"/silent"_s, u"/ct\u0662"_s};
    const StartupSettings s = ReadStartupSettings(args);
    QCOMPARE(s.Database.size(), 100000);
    QCOMPARE(s.BankIndex, 0);
    QCOMPARE(s.RateTypeIndex, 0);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
