#include "startup/DateTime.h"
#include "startup/Formats.h"
#include "startup/TextValues.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

class TestFormats : public QObject {
    Q_OBJECT

private slots:
    void rate_data();
    void rate();
    void dates();
    void names();
    void dateTimeValue();
    void readDecimal_data();
    void readDecimal();
    void readWholeNumber_data();
    void readWholeNumber();
    void readDateAndTime();
    void shortDate();
};

void TestFormats::rate_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouping") << 1234.5 << u"1,234.50"_s;
    QTest::newRow("small") << 0.123456789 << u"0.12"_s;
    QTest::newRow("zero") << 0.0 << u"0.00"_s;
    QTest::newRow("negative zero") << -0.0 << u"0.00"_s;
    QTest::newRow("rounds down to zero") << -0.004 << u"0.00"_s;
    // Eight significant digits leave one decimal here.
    QTest::newRow("negative") << -1234567.891 << u"-1,234,567.90"_s;
    QTest::newRow("millions") << 1000000.0 << u"1,000,000.00"_s;
    // Half a cent rounds up from the decimal digits, not from the binary
    // fraction (1.005 is 1.00499999… in binary).
    QTest::newRow("half cent") << 1.005 << u"1.01"_s;
    QTest::newRow("half cent 2") << 363.465 << u"363.47"_s;
    QTest::newRow("carry") << 999.995 << u"1,000.00"_s;
    QTest::newRow("8 digits first") << 12345.6749 << u"12,345.68"_s;
    QTest::newRow("per unit JPY") << 200.59 / 100 << u"2.01"_s;
    QTest::newRow("tiny") << 1e-12 << u"0.00"_s;
    QTest::newRow("large") << 123456789012.0 << u"123,456,790,000.00"_s;
}

void TestFormats::rate()
{
    QFETCH(double, value);
    QTEST(formatRate(value), "text");
}

void TestFormats::dates()
{
    const DateTime friday = DateTime::fromDateTime(QDateTime(QDate(2022, 8, 5), QTime(9, 15, 7)));
    QCOMPARE(formatShortDate(friday), u"2022.08.05"_s);
    QCOMPARE(formatLongDate(friday), u"2022 augusztus 05, Péntek"_s);
    QCOMPARE(formatRateDateCaption(friday), u"2022. augusztus 05., Péntek  -  09:15:07"_s);
    QCOMPARE(formatShortDate(DateTime()), u"1899.12.30"_s);
    const DateTime monday = DateTime::fromDate(QDate(2023, 1, 2));
    QCOMPARE(formatLongDate(monday), u"2023 január 02, Hétfô"_s);
    QCOMPARE(formatRateDateCaption(DateTime::fromDate(QDate(2026, 12, 6))),
             u"2026. december 06., Vasárnap  -  00:00:00"_s);
}

void TestFormats::names()
{
    QCOMPARE(ShortMonthNames[1], u"febr."_s);
    QCOMPARE(ShortMonthNames[8], u"szept."_s);
    QCOMPARE(ShortDayNames[0], u"Vas"_s);
    QCOMPARE(LongDayNames[4], u"Csütörtök"_s);
    QCOMPARE(LongMonthNames[11], u"december"_s);
}

void TestFormats::dateTimeValue()
{
    QCOMPARE(DateTime::fromDate(QDate(1899, 12, 30)).value(), 0.0);
    QCOMPARE(DateTime::fromDate(QDate(1900, 1, 1)).value(), 2.0);
    QCOMPARE(DateTime::fromDate(QDate(2022, 8, 5)).value(), 44778.0);
    const DateTime noon = DateTime::fromDateTime(QDateTime(QDate(2022, 8, 5), QTime(12, 0)));
    QCOMPARE(noon.value(), 44778.5);
    QCOMPARE(noon.date(), QDate(2022, 8, 5));
    QCOMPARE(noon.time(), QTime(12, 0));
    QCOMPARE(noon.dateOnly().value(), 44778.0);
    QCOMPARE(noon.addDays(3).toDateTime(), QDateTime(QDate(2022, 8, 8), QTime(12, 0)));
    // A time just short of midnight must not read as the next day's 24:00.
    const DateTime late = DateTime::fromDateTime(QDateTime(QDate(2022, 8, 5), QTime(23, 59, 59, 999)));
    QCOMPARE(late.date(), QDate(2022, 8, 5));
    QCOMPARE(late.time(), QTime(23, 59, 59, 999));
    QCOMPARE(DateTime::fromTime(QTime(9, 15)).value(), (9 * 60 + 15) / 1440.0);
    QVERIFY(DateTime().isZero());
    QVERIFY(DateTime::fromDate(QDate(2022, 1, 1)) < DateTime::fromDate(QDate(2022, 1, 2)));
}

void TestFormats::readDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << u"312,45"_s << QChar(u',') << true << 312.45;
    QTest::newRow("point under comma") << u"12.5"_s << QChar(u',') << false << 0.0;
    QTest::newRow("comma under point") << u"12,5"_s << QChar(u'.') << false << 0.0;
    QTest::newRow("blanks and sign") << u"  -1,5  "_s << QChar(u',') << true << -1.5;
    QTest::newRow("exponent") << u"1,5e2"_s << QChar(u',') << true << 150.0;
    QTest::newRow("no digits") << u","_s << QChar(u',') << false << 0.0;
    QTest::newRow("empty") << QString() << QChar(u',') << false << 0.0;
    QTest::newRow("two separators") << u"1,2,3"_s << QChar(u',') << false << 0.0;
    QTest::newRow("grouping") << u"1 234,5"_s << QChar(u',') << false << 0.0;
    QTest::newRow("bare exponent") << u"1e"_s << QChar(u',') << false << 0.0;
    QTest::newRow("overflow") << u"1e999"_s << QChar(u',') << false << 0.0;
    QTest::newRow("trailing junk") << u"449x"_s << QChar(u',') << false << 0.0;
    QTest::newRow("varying decimals") << u"363,47000"_s << QChar(u',') << true << 363.47;
    QTest::newRow("arabic digit") << u"\u0661"_s << QChar(u',') << false << 0.0;
}

void TestFormats::readDecimal()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(bool, ok);
    const auto value = ::readDecimal(text, separator);
    QCOMPARE(value.has_value(), ok);
    if (ok)
        QTEST(*value, "value");
}

void TestFormats::readWholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << u"100"_s << true << 100;
    QTest::newRow("leading blanks") << u"  7"_s << true << 7;
    QTest::newRow("sign") << u"-12"_s << true << -12;
    QTest::newRow("blank inside") << u"1 00"_s << false << 0;
    QTest::newRow("trailing blank") << u"1 "_s << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("sign only") << u"-"_s << false << 0;
    QTest::newRow("max") << u"2147483647"_s << true << 2147483647;
    QTest::newRow("min") << u"-2147483648"_s << true << int(-2147483648LL);
    QTest::newRow("overflow") << u"2147483648"_s << false << 0;
    QTest::newRow("long") << QString(500, u'9') << false << 0;
    QTest::newRow("hex") << u"0x1F"_s << false << 0;
}

void TestFormats::readWholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    const auto value = ::readWholeNumber(text);
    QCOMPARE(value.has_value(), ok);
    if (ok)
        QTEST(*value, "value");
}

void TestFormats::readDateAndTime()
{
    QCOMPARE(readDate(u"2022-08-05", u'-'), QDate(2022, 8, 5));
    QCOMPARE(readDate(u"2022.8.5", u'.'), QDate(2022, 8, 5));
    QVERIFY(!readDate(u"2022.08.05", u'-'));
    QVERIFY(!readDate(u"2022-02-30", u'-'));
    QVERIFY(!readDate(u"22-02-03", u'-'));
    QVERIFY(!readDate(u"2022-02-03-04", u'-'));
    QVERIFY(!readDate(u"", u'-'));
    QCOMPARE(readTime(u"9:15", u':'), QTime(9, 15));
    QCOMPARE(readTime(u"10:15:30", u':'), QTime(10, 15, 30));
    QVERIFY(!readTime(u"24:00", u':'));
    QVERIFY(!readTime(u"56;1;", u':'));
    QVERIFY(!readTime(u"10", u':'));
}

void TestFormats::shortDate()
{
    QCOMPARE(readShortDate(u"2022.01.01"_s), QDate(2022, 1, 1));
    // The date field shows blank positions; blanks around a part are allowed.
    QCOMPARE(readShortDate(u"2022.1 .05"_s), QDate(2022, 1, 5));
    QVERIFY(!readShortDate(u"2022.02.30"_s));
    QVERIFY(!readShortDate(u"    .  .  "_s));
    QVERIFY(!readShortDate(u"2022-01-01"_s));
}

QTEST_GUILESS_MAIN(TestFormats)
#include "TestFormats.moc"
