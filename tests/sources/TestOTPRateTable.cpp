#include "sources/OTPRateTable.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QDate Today(2026, 9, 18);
const QString Header =
    u"Név;Érvényesség;Egység;Közép;Valuta vételi;Valuta eladási;Csekk vételi;Csekk eladási;Deviza vételi;Deviza eladási;Verzió"_s;

QVector<OTPCurrencyRecord> records(const QStringList &lines, OTPRateTable *tableOut = nullptr)
{
    CurrencySampleList samples;
    fillOTPSampleList(samples);
    const OTPRateTable table = readOTPRateTable(lines, Today);
    QVector<OTPCurrencyRecord> result;
    readOTPRateRecords(table, samples, result);
    if (tableOut)
        *tableOut = table;
    return result;
}

QStringList fixtureLines()
{
    QFile f(QStringLiteral(ARFOLYAM_TEST_DATA "/otp-rates-2026-09-18.csv"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture");
    return QString::fromUtf8(f.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
}
} // namespace

class TestOTPRateTable : public QObject {
    Q_OBJECT

private slots:
    void samples();
    void address();
    void publishedTable();
    void leadingLines();
    void headerMatching_data();
    void headerMatching();
    void rows_data();
    void rows();
    void rateTime_data();
    void rateTime();
    void timeEndingTheText_data();
    void timeEndingTheText();
    void notToday();
    void appendsTwice();
    void garbage();
};

void TestOTPRateTable::samples()
{
    CurrencySampleList samples;
    fillOTPSampleList(samples);
    QCOMPARE(samples.size(), 3);
    QCOMPARE(samples[0].fieldName, u"{CurrencyCode}"_s);
    QCOMPARE(samples[0].fieldType, CurrencySampleFieldType::String);
    QCOMPARE(samples[1].maxLength, quint16(4));
    QCOMPARE(samples[2].fieldType, CurrencySampleFieldType::Double);
    QCOMPARE(samples[2].fieldPrecision, quint8(2));
    QCOMPARE(samples[2].decimalSeparator, QChar(u','));
    QCOMPARE(samples[2].minLength, quint16(0));
    QCOMPARE(samples[2].maxLength, quint16(6));
}

void TestOTPRateTable::address()
{
    const QString query =
        u"?currencies=EUR,USD,GBP,AUD,BGN,CAD,CHF,CNY,CZK,DKK,HRK,JPY,NOK,PLN,RON,RSD,RUB,SEK,TRY,UAH,ZAR&lang=HU"_s;
    QCOMPARE(buildOTPRateAddress(u"https://www.otpbank.hu"_s, QDate(2022, 8, 5)),
             u"https://www.otpbank.hu/apps/exchangerate/api/downloads/csv/2022-08-05/2022-08-05"_s + query);
    QCOMPARE(buildOTPRateAddress(u"https://127.0.0.1:4443/"_s, QDate(2026, 1, 2)),
             u"https://127.0.0.1:4443/apps/exchangerate/api/downloads/csv/2026-01-02/2026-01-02"_s + query);
    QCOMPARE(otpRatePageAddress(u"https://www.otpbank.hu"_s), u"https://www.otpbank.hu/portal/hu/Arfolyamok/OTP"_s);
}

void TestOTPRateTable::publishedTable()
{
    OTPRateTable table;
    const auto list = records(fixtureLines(), &table);
    QVERIFY(table.current);
    QCOMPARE(table.rateDate.toDateTime(), QDateTime(Today, QTime(7, 45)));
    QCOMPARE(list.size(), 7);
    const OTPCurrencyRecord &eur = list[0];
    QCOMPARE(eur.code, u"EUR"_s);
    QCOMPARE(eur.priceQty, quint16(1));
    QCOMPARE(eur.middle, 363.52);
    QCOMPARE(eur.cashBuy, 353.41);
    QCOMPARE(eur.cashSale, 373.63);
    QCOMPARE(eur.chequeBuy, 356.78);
    QCOMPARE(eur.chequeSale, 370.26);
    QCOMPARE(eur.currencyBuy, 359.92);
    QCOMPARE(eur.currencySale, 367.12);
    QCOMPARE(eur.dateTime, table.rateDate);
    QVERIFY(eur.name.isEmpty());
    QCOMPARE(list[4].code, u"JPY"_s);
    QCOMPARE(list[4].priceQty, quint16(100));
    QCOMPARE(list[4].middle, 200.61);
}

void TestOTPRateTable::leadingLines()
{
    const QStringList lines = {u"Title 2026.09.17"_s, QString(), u"a;b;c"_s, Header,
                               u"EUR;2026.09.18 07:45;1;363,52;1;2;3;4;5;6;1"_s};
    OTPRateTable table;
    const auto list = records(lines, &table);
    QCOMPARE(table.table.cell(0, 0), u"N\uFFFDv"_s);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].currencySale, 6.0);
    // Only what follows the title counts: yesterday's date in it is not seen.
    QVERIFY(table.current);

    QVERIFY(records({u"no;table;here"_s, u"x"_s}).isEmpty());
    OTPRateTable empty;
    QVERIFY(records({}, &empty).isEmpty());
    QVERIFY(!empty.current);
    QVERIFY(empty.rateDate.isZero());
}

void TestOTPRateTable::headerMatching_data()
{
    QTest::addColumn<QString>("cashBuyHeader");
    QTest::addColumn<double>("cashBuy");
    QTest::newRow("as published") << u"Valuta vételi"_s << 2.0;
    QTest::newRow("capitals, two blanks") << u"VALUTA  VÉTELI"_s << 2.0;
    QTest::newRow("punctuation") << u"Valuta-vételi:"_s << 2.0;
    QTest::newRow("replacement character") << u"Valuta v\uFFFDteli"_s << 2.0;
    QTest::newRow("without the accent") << u"Valuta veteli"_s << 0.0;
}

void TestOTPRateTable::headerMatching()
{
    QFETCH(QString, cashBuyHeader);
    QString header = Header;
    header.replace(u"Valuta vételi"_s, cashBuyHeader);
    const auto list = records({header, u"EUR;2026.09.18 07:45;1;1;2;3;4;5;6;7;1"_s});
    QCOMPARE(list.size(), 1);
    QTEST(list[0].cashBuy, "cashBuy");
    QCOMPARE(list[0].cashSale, 3.0);
}

void TestOTPRateTable::rows_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("qty");
    QTest::addColumn<double>("middle");
    QTest::addColumn<double>("currencySale");
    QTest::newRow("plain") << u"EUR;x;1;363,52;1;2;3;4;5;6;1"_s << true << u"EUR"_s << 1 << 363.52 << 6.0;
    QTest::newRow("lower-case code") << u"eur;x;1;1;1;2;3;4;5;6;1"_s << true << u"EUR"_s << 1 << 1.0 << 6.0;
    QTest::newRow("empty middle") << u"EUR;x;1;;1;2;3;4;5;6;1"_s << true << u"EUR"_s << 1 << 0.0 << 6.0;
    QTest::newRow("point decimal reads 0") << u"EUR;x;1;363.52;1;2;3;4;5;6;1"_s << true << u"EUR"_s << 1 << 0.0 << 6.0;
    QTest::newRow("three decimals read 0") << u"EUR;x;1;1,234;1;2;3;4;5;6;1"_s << true << u"EUR"_s << 1 << 0.0 << 6.0;
    QTest::newRow("seven characters read 0")
        << u"EUR;x;1;1234,56;1;2;3;4;5;6;1"_s << true << u"EUR"_s << 1 << 0.0 << 6.0;
    QTest::newRow("unit 100") << u"JPY;x;100;200,61;1;2;3;4;5;6;1"_s << true << u"JPY"_s << 100 << 200.61 << 6.0;
    QTest::newRow("four-letter code") << u"Euro;x;1;1;1;2;3;4;5;6;1"_s << false << QString() << 0 << 0.0 << 0.0;
    QTest::newRow("empty unit") << u"EUR;x;;1;1;2;3;4;5;6;1"_s << false << QString() << 0 << 0.0 << 0.0;
    QTest::newRow("unit 0") << u"EUR;x;0;1;1;2;3;4;5;6;1"_s << false << QString() << 0 << 0.0 << 0.0;
    QTest::newRow("unit 10000") << u"EUR;x;10000;1;1;2;3;4;5;6;1"_s << false << QString() << 0 << 0.0 << 0.0;
    QTest::newRow("negative unit") << u"EUR;x;-1;1;1;2;3;4;5;6;1"_s << false << QString() << 0 << 0.0 << 0.0;
    QTest::newRow("short row") << u"EUR;x;1;5"_s << true << u"EUR"_s << 1 << 5.0 << 0.0;
}

void TestOTPRateTable::rows()
{
    QFETCH(QString, row);
    QFETCH(bool, kept);
    const auto list = records({Header, row});
    QCOMPARE(list.size(), kept ? 1 : 0);
    if (!kept)
        return;
    QTEST(list[0].code, "code");
    QTEST(int(list[0].priceQty), "qty");
    QTEST(list[0].middle, "middle");
    QTEST(list[0].currencySale, "currencySale");
}

void TestOTPRateTable::rateTime_data()
{
    QTest::addColumn<QString>("dated");
    QTest::addColumn<QTime>("time");
    QTest::newRow("one-digit hour four after") << u"2026.09.18 -  9:15"_s << QTime(9, 15);
    QTest::newRow("two-digit hour four after") << u"2026.09.18 -  10:15"_s << QTime(10, 15);
    QTest::newRow("right after a blank") << u"2026.09.18 05:56"_s << QTime(5, 56);
    QTest::newRow("one-digit hour after a blank") << u"2026.09.18 5:56"_s << QTime(5, 56);
    QTest::newRow("unreadable time") << u"2026.09.18 abcdefgh"_s << QTime(0, 0);
    QTest::newRow("date only") << u"2026.09.18"_s << QTime(0, 0);
}

void TestOTPRateTable::rateTime()
{
    QFETCH(QString, dated);
    OTPRateTable table;
    const auto list = records({Header, u"EUR;"_s + dated + u";1;1;1;1;1;1;1;1;1"_s}, &table);
    QVERIFY(table.current);
    QFETCH(QTime, time);
    QCOMPARE(table.rateDate.toDateTime(), QDateTime(Today, time));
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].dateTime, table.rateDate);
}

void TestOTPRateTable::timeEndingTheText_data()
{
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<QTime>("time");
    QTest::newRow("four after the date") << u"Frissítve: 2026.09.18 -  9:15"_s << QTime(9, 15);
    QTest::newRow("right after a blank") << u"Frissítve: 2026.09.18 9:15"_s << QTime(9, 15);
    QTest::newRow("two-digit hour") << u"Frissítve: 2026.09.18 -  10:15"_s << QTime(10, 15);
}

void TestOTPRateTable::timeEndingTheText()
{
    QFETCH(QString, lastLine);
    OTPRateTable table;
    records({Header, u"EUR;2026.09.17 07:45;1;1;1;1;1;1;1;1;1"_s, lastLine}, &table);
    QVERIFY(table.current);
    QFETCH(QTime, time);
    QCOMPARE(table.rateDate.toDateTime(), QDateTime(Today, time));
}

void TestOTPRateTable::notToday()
{
    OTPRateTable table;
    const auto list = records({Header, u"EUR;2026.09.17 07:45;1;1;1;1;1;1;1;1;1"_s}, &table);
    QVERIFY(!table.current);
    QVERIFY(table.rateDate.isZero());
    QCOMPARE(list.size(), 1);
    QVERIFY(list[0].dateTime.isZero());
}

void TestOTPRateTable::appendsTwice()
{
    CurrencySampleList samples;
    fillOTPSampleList(samples);
    const OTPRateTable table = readOTPRateTable(fixtureLines(), Today);
    QVector<OTPCurrencyRecord> list;
    readOTPRateRecords(table, samples, list);
    readOTPRateRecords(table, samples, list);
    QCOMPARE(list.size(), 14);
    QCOMPARE(list[7].code, u"EUR"_s);
}

void TestOTPRateTable::garbage()
{
    // Truncated and binary tables give what they hold, never a crash.
    QStringList lines = fixtureLines();
    QString joined = lines.join(u"\r\n"_s);
    for (int cut = 0; cut < joined.size(); cut += 7)
        records(joined.left(cut).split(u"\r\n"_s));

    QRandomGenerator random(42);
    for (int round = 0; round < 200; ++round) {
        QString junk;
        for (int i = 0; i < 300; ++i)
            junk += QChar(char16_t(random.bounded(0, 0x3000)));
        records((Header + u"\r\n"_s + junk).split(u'\n'));
    }
    const auto cut = records({Header, u"EUR;2026.09.18 07:45;1;363,5"_s});
    QCOMPARE(cut.size(), 1);
}

QTEST_GUILESS_MAIN(TestOTPRateTable)
#include "TestOTPRateTable.moc"
