#include "export/WorkingDays.h"

#include <QTest>

class TestWorkingDays : public QObject {
    Q_OBJECT

private slots:
    void easterMonday_data();
    void easterMonday();
    void isWorkingDay_data();
    void isWorkingDay();
    void rateWriteDate_data();
    void rateWriteDate();
    void everyDayOfACenturyEndsOnAWorkingDay();
    void datumIndex();
};

void TestWorkingDays::easterMonday_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QDate>("monday");
    QTest::newRow("2022") << 2022 << QDate(2022, 4, 18);
    QTest::newRow("2023") << 2023 << QDate(2023, 4, 10);
    QTest::newRow("2024") << 2024 << QDate(2024, 4, 1);
    QTest::newRow("2025") << 2025 << QDate(2025, 4, 21);
    QTest::newRow("2026") << 2026 << QDate(2026, 4, 6);
    // The two exceptions of the method: 26 April moved back, and d=28, e=6.
    QTest::newRow("1981 (26 April rule)") << 1981 << QDate(1981, 4, 20);
    QTest::newRow("1954 (25 April rule)") << 1954 << QDate(1954, 4, 19);
    QTest::newRow("2049 (26 April rule)") << 2049 << QDate(2049, 4, 19);
    QTest::newRow("2000") << 2000 << QDate(2000, 4, 24);
}

void TestWorkingDays::easterMonday()
{
    QFETCH(int, year);
    QTEST(::easterMonday(year), "monday");
}

void TestWorkingDays::isWorkingDay_data()
{
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<bool>("working");
    QTest::newRow("Friday") << QDateTime(QDate(2022, 8, 5), QTime()) << true;
    QTest::newRow("Saturday") << QDateTime(QDate(2022, 8, 6), QTime()) << false;
    QTest::newRow("Sunday") << QDateTime(QDate(2022, 8, 7), QTime()) << false;
    QTest::newRow("15 March") << QDateTime(QDate(2022, 3, 15), QTime()) << false;
    QTest::newRow("Whit Monday 2022") << QDateTime(QDate(2022, 6, 6), QTime()) << false;
    QTest::newRow("Whit Monday 2023") << QDateTime(QDate(2023, 5, 29), QTime()) << false;
    QTest::newRow("Whit Monday 2024") << QDateTime(QDate(2024, 5, 20), QTime()) << false;
    QTest::newRow("Good Friday 2023") << QDateTime(QDate(2023, 4, 7), QTime()) << true;
    QTest::newRow("20 August") << QDateTime(QDate(2025, 8, 20), QTime()) << false;
    QTest::newRow("23 October") << QDateTime(QDate(2025, 10, 23), QTime()) << false;
    QTest::newRow("1 November") << QDateTime(QDate(2027, 11, 1), QTime()) << false;
    QTest::newRow("1 May") << QDateTime(QDate(2025, 5, 1), QTime()) << false;
    QTest::newRow("1 January") << QDateTime(QDate(2027, 1, 1), QTime()) << false;
    QTest::newRow("Christmas") << QDateTime(QDate(2025, 12, 25), QTime()) << false;
    QTest::newRow("Boxing Day") << QDateTime(QDate(2025, 12, 26), QTime()) << false;
    QTest::newRow("24 December") << QDateTime(QDate(2025, 12, 24), QTime()) << true;
    QTest::newRow("holiday with a time of day") << QDateTime(QDate(2022, 3, 15), QTime(10, 15)) << false;
}

void TestWorkingDays::isWorkingDay()
{
    QFETCH(QDateTime, value);
    QTEST(::isWorkingDay(DateTime::fromDateTime(value)), "working");
}

void TestWorkingDays::rateWriteDate_data()
{
    QTest::addColumn<QDateTime>("rateDay");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QDateTime>("writeDate");
    QTest::newRow("T on a Friday keeps the time")
        << QDateTime(QDate(2022, 8, 5), QTime(9, 15)) << 0 << QDateTime(QDate(2022, 8, 5), QTime(9, 15));
    QTest::newRow("T+1 over Christmas") << QDateTime(QDate(2022, 12, 23), QTime()) << 1
                                        << QDateTime(QDate(2022, 12, 27), QTime());
    QTest::newRow("T on 15 March") << QDateTime(QDate(2022, 3, 15), QTime()) << 0
                                   << QDateTime(QDate(2022, 3, 16), QTime());
    QTest::newRow("T-1 on a Monday moves forward")
        << QDateTime(QDate(2022, 3, 14), QTime()) << -1 << QDateTime(QDate(2022, 3, 14), QTime());
    QTest::newRow("T-1 onto a holiday") << QDateTime(QDate(2022, 3, 16), QTime()) << -1
                                        << QDateTime(QDate(2022, 3, 16), QTime());
    QTest::newRow("T-2 Tuesday to Monday's Sunday")
        << QDateTime(QDate(2022, 8, 9), QTime()) << -2 << QDateTime(QDate(2022, 8, 8), QTime());
    QTest::newRow("T+2 Thursday") << QDateTime(QDate(2022, 8, 4), QTime()) << 2
                                  << QDateTime(QDate(2022, 8, 8), QTime());
    QTest::newRow("T+1 onto a holiday with a time")
        << QDateTime(QDate(2022, 3, 14), QTime(10, 15)) << 1 << QDateTime(QDate(2022, 3, 16), QTime(10, 15));
    QTest::newRow("T+1 onto Easter Monday")
        << QDateTime(QDate(2024, 3, 29), QTime()) << 1 << QDateTime(QDate(2024, 4, 2), QTime());
}

void TestWorkingDays::rateWriteDate()
{
    QFETCH(QDateTime, rateDay);
    QFETCH(int, offset);
    QTEST(::rateWriteDate(DateTime::fromDateTime(rateDay), offset).toDateTime(), "writeDate");
}

void TestWorkingDays::everyDayOfACenturyEndsOnAWorkingDay()
{
    for (QDate d(2000, 1, 1); d.year() < 2100; d = d.addDays(1)) {
        for (int offset = -2; offset <= 2; ++offset) {
            const QDate written = ::rateWriteDate(DateTime::fromDate(d), offset).date();
            QVERIFY(::isWorkingDay(DateTime::fromDate(written)));
            QVERIFY(written >= d.addDays(offset));
            QVERIFY(written <= d.addDays(offset + 5));
        }
    }
}

void TestWorkingDays::datumIndex()
{
    QCOMPARE(dayOffsetOfDatumIndex(0), -2);
    QCOMPARE(dayOffsetOfDatumIndex(2), 0);
    QCOMPARE(dayOffsetOfDatumIndex(4), 2);
    QCOMPARE(dayOffsetOfDatumIndex(-1), 0);
    QCOMPARE(dayOffsetOfDatumIndex(5), 0);
}

QTEST_GUILESS_MAIN(TestWorkingDays)
#include "TestWorkingDays.moc"
