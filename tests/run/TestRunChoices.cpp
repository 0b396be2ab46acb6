#include "run/RunChoices.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRunChoices : public QObject {
    Q_OBJECT

private slots:
    void unattendedPresets_data();
    void unattendedPresets();
};

void TestRunChoices::unattendedPresets_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<int>("bank");
    QTest::addColumn<int>("rateType");
    QTest::addColumn<bool>("onlyMiddle");
    QTest::newRow("central bank by default") << QStringList{} << 0 << 0 << true;
    QTest::newRow("central bank keeps its one type and middle rates")
        << QStringList{u"/bMNB"_s, u"/ct2"_s} << 0 << 0 << true;
    QTest::newRow("OTP Bank takes the rate type") << QStringList{u"/bOTP"_s, u"/ct1"_s} << 1 << 1 << false;
    QTest::newRow("OTP Bank takes middle only") << QStringList{u"/bOTP"_s, u"/ct2"_s, u"/middle"_s} << 1 << 2 << true;
    QTest::newRow("a type OTP Bank lacks") << QStringList{u"/bOTP"_s, u"/ct3"_s} << 1 << 0 << false;
}

void TestRunChoices::unattendedPresets()
{
    QFETCH(QStringList, switches);
    const StartupSettings settings =
        readStartupSettings(QStringList{u"/dX"_s, u"/silent"_s, u"/cross"_s, u"/reversed"_s} + switches);
    const RunChoices c = unattendedChoices(settings);
    QVERIFY(c.silent);
    QTEST(c.bankIndex, "bank");
    QTEST(c.rateTypeIndex, "rateType");
    QTEST(c.onlyMiddleRate, "onlyMiddle");
    QVERIFY(c.createCrossRates && c.createReversedRates && !c.createMissingCurrencies);
    QVERIFY(!c.history);
    QCOMPARE(c.datumIndex, 2);
}

QTEST_GUILESS_MAIN(TestRunChoices)
#include "TestRunChoices.moc"
