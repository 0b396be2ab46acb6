#include "tables/CurrencySamples.h"

#include <QLocale>
#include <QTest>
#include <climits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CurrencySampleProperties)
Q_DECLARE_METATYPE(CurrencySampleValue)

namespace {
CurrencySampleProperties sample(const QString &name, CurrencySampleFieldType type, quint16 minLength, quint16 maxLength,
                                QChar separator = QChar(), quint8 precision = 0)
{
    CurrencySampleProperties s;
    s.fieldName = name;
    s.fieldType = type;
    s.fieldPrecision = precision;
    s.decimalSeparator = separator;
    s.minLength = minLength;
    s.maxLength = maxLength;
    return s;
}

// The kind and the value, for readable comparisons.
QString show(const CurrencySampleValue &value)
{
    switch (value.index()) {
    case 0:
        return u"Empty"_s;
    case 1:
        return u"Integer(%1)"_s.arg(std::get<qint32>(value));
    case 2:
        return u"String(\"%1\")"_s.arg(std::get<QString>(value));
    case 3:
        return u"Float(%1)"_s.arg(std::get<double>(value), 0, 'g', 17);
    case 4:
        return u"DateTime(%1)"_s.arg(std::get<DateTime>(value).value(), 0, 'g', 17);
    }
    return u"?"_s;
}

const QChar comma = u',';
const QChar stop = u'.';

CurrencySampleProperties priceSample(quint16 minLength)
{
    return sample(CurrencyPricePlaceholder, CurrencySampleFieldType::Double, minLength, 6, comma, 2);
}

CurrencySampleValue dateValue(int y, int m, int d)
{
    return DateTime::fromDate(QDate(y, m, d));
}

CurrencySampleValue timeValue(int h, int m, int s = 0)
{
    return DateTime::fromTime(QTime(h, m, s));
}
} // namespace

class TestCurrencySamples : public QObject {
    Q_OBJECT

private slots:
    void findSample_data();
    void findSample();
    void firstOfDuplicatesApplies();
    void checkAndConvert_data();
    void checkAndConvert();
    void dateAndTimeValues();
    void placeholderKind_data();
    void placeholderKind();
    void robustness();
};

void TestCurrencySamples::findSample_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expected"); // index in the list, -1 for none

    QTest::newRow("exact") << u"{CurrencyPrice}"_s << 1;
    QTest::newRow("lower case") << u"{currencyprice}"_s << 1;
    QTest::newRow("upper case") << u"{CURRENCYPRICEQTY}"_s << 2;
    QTest::newRow("first of two") << u"{CurrencyCode}"_s << 0;
    QTest::newRow("non-ASCII letters do not fold") << u"{árfolyam}"_s << -1;
    QTest::newRow("non-ASCII exact") << u"{Árfolyam}"_s << 4;
    QTest::newRow("braces are part of the name") << u"CurrencyPrice"_s << -1;
    QTest::newRow("trailing blank") << u"{CurrencyPrice} "_s << -1;
    QTest::newRow("prefix") << u"{Currency"_s << -1;
    QTest::newRow("empty name") << u""_s << -1;
    QTest::newRow("unknown") << u"{CurrencyName}"_s << -1;
    QTest::newRow("dotless i is no i") << u"{CurrencyPrıce}"_s << -1;
}

void TestCurrencySamples::findSample()
{
    QFETCH(QString, name);
    QFETCH(int, expected);

    const CurrencySampleList list = {
        sample(u"{CurrencyCode}"_s, CurrencySampleFieldType::String, 3, 3),
        sample(u"{CurrencyPrice}"_s, CurrencySampleFieldType::Double, 0, 6, comma, 2),
        sample(u"{CurrencyPriceQty}"_s, CurrencySampleFieldType::Integer, 1, 4),
        sample(u"{currencycode}"_s, CurrencySampleFieldType::String, 1, 10),
        sample(u"{Árfolyam}"_s, CurrencySampleFieldType::String, 0, 10),
    };
    const CurrencySampleProperties *found = findCurrencySample(list, name);
    if (expected < 0)
        QCOMPARE(found, nullptr);
    else
        QCOMPARE(found, &list[expected]);

    QCOMPARE(findCurrencySample(CurrencySampleList(), name), nullptr);
}

void TestCurrencySamples::firstOfDuplicatesApplies()
{
    const auto narrow = sample(CurrencyPricePlaceholder, CurrencySampleFieldType::Double, 0, 6, comma, 2);
    const auto wide = sample(CurrencyPricePlaceholder, CurrencySampleFieldType::Double, 1, 10, comma, 4);

    const CurrencySampleList narrowFirst = {narrow, wide};
    QVERIFY(!checkCurrencySampleValue(CurrencyPricePlaceholder, u"1312,45"_s, narrowFirst));
    QVERIFY(!checkCurrencySampleValue(CurrencyPricePlaceholder, u"3,1234"_s, narrowFirst));
    QVERIFY(checkCurrencySampleValue(CurrencyPricePlaceholder, u""_s, narrowFirst));

    const CurrencySampleList wideFirst = {wide, narrow};
    QVERIFY(checkCurrencySampleValue(CurrencyPricePlaceholder, u"1312,45"_s, wideFirst));
    QVERIFY(checkCurrencySampleValue(CurrencyPricePlaceholder, u"3,1234"_s, wideFirst));
    QVERIFY(!checkCurrencySampleValue(CurrencyPricePlaceholder, u""_s, wideFirst));

    // A differently typed first entry decides the conversion as well.
    const CurrencySampleList typed = {sample(u"{currencyprice}"_s, CurrencySampleFieldType::String, 0, 10), narrow};
    QCOMPARE(show(getCurrencySampleValue(CurrencyPricePlaceholder, u"1,5"_s, typed)), u"String(\"1,5\")"_s);
}

void TestCurrencySamples::checkAndConvert_data()
{
    QTest::addColumn<CurrencySampleProperties>("sample");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("check");
    QTest::addColumn<CurrencySampleValue>("value");

    const QString price = CurrencyPricePlaceholder;
    const QString qty = CurrencyPriceQtyPlaceholder;
    const QString code = CurrencyCodePlaceholder;
    using V = CurrencySampleValue;

    // {CurrencyPrice}, comma, MinLength 0, MaxLength 6, FieldPrecision 2.
    const auto p0 = priceSample(0);
    QTest::newRow("price: 312,45") << p0 << price << u"312,45"_s << true << V(312.45);
    QTest::newRow("price: empty") << p0 << price << u""_s << true << V(0.0);
    QTest::newRow("price: full stop is no number") << p0 << price << u"12.5"_s << true << V(0.0);
    QTest::newRow("price: 7 characters") << p0 << price << u"1312,45"_s << false << V(1312.45);
    QTest::newRow("price: 4 decimals") << p0 << price << u"3,1234"_s << false << V(3.1234);
    QTest::newRow("price: 2 decimals") << p0 << price << u"3,12"_s << true << V(3.12);
    QTest::newRow("price: whole") << p0 << price << u"312"_s << true << V(312.0);
    QTest::newRow("price: negative") << p0 << price << u"-1,5"_s << true << V(-1.5);
    QTest::newRow("price: plus sign") << p0 << price << u"+1,5"_s << true << V(1.5);
    QTest::newRow("price: blanks around") << p0 << price << u" 1,5 "_s << true << V(1.5);
    QTest::newRow("price: exponent") << p0 << price << u"1,5e2"_s << false << V(150.0); // 3 after ','
    QTest::newRow("price: exponent, no separator") << p0 << price << u"15E+2"_s << true << V(1500.0);
    QTest::newRow("price: letters") << p0 << price << u"abc"_s << true << V(0.0);
    QTest::newRow("price: letters too long") << p0 << price << u"abcdefg"_s << false << V(0.0);
    QTest::newRow("price: digit grouping") << p0 << price << u"1 000"_s << true << V(0.0);
    QTest::newRow("price: two separators") << p0 << price << u"1,2,3"_s << false << V(0.0);
    QTest::newRow("price: junk after separator") << p0 << price << u"ab,cd"_s << true << V(0.0);
    QTest::newRow("price: lower-case name") << p0 << u"{currencyprice}"_s << u"312,45"_s << true << V(312.45);

    // The same with MinLength 1.
    const auto p1 = priceSample(1);
    QTest::newRow("price min 1: empty") << p1 << price << u""_s << false << V(0.0);
    QTest::newRow("price min 1: full stop") << p1 << price << u"12.5"_s << false << V(0.0);
    QTest::newRow("price min 1: letters") << p1 << price << u"abc"_s << false << V(0.0);
    QTest::newRow("price min 1: 312,45") << p1 << price << u"312,45"_s << true << V(312.45);
    QTest::newRow("price min 1: 7 characters") << p1 << price << u"1312,45"_s << false << V(1312.45);

    // Full-stop separator and precision 0.
    const auto pStop = sample(price, CurrencySampleFieldType::Double, 1, 8, stop, 3);
    QTest::newRow("full stop: 12.5") << pStop << price << u"12.5"_s << true << V(12.5);
    QTest::newRow("full stop: comma is no number") << pStop << price << u"12,5"_s << false << V(0.0);
    QTest::newRow("full stop: 4 decimals") << pStop << price << u"1.2345"_s << false << V(1.2345);
    const auto pWhole = sample(price, CurrencySampleFieldType::Double, 1, 8, comma, 0);
    QTest::newRow("precision 0: whole") << pWhole << price << u"42"_s << true << V(42.0);
    QTest::newRow("precision 0: one decimal") << pWhole << price << u"4,2"_s << false << V(4.2);

    // {CurrencyPriceQty}, bounds 1..4.
    const auto q = sample(qty, CurrencySampleFieldType::Integer, 1, 4);
    QTest::newRow("qty: 100") << q << qty << u"100"_s << true << V(qint32(100));
    QTest::newRow("qty: 1") << q << qty << u"1"_s << true << V(qint32(1));
    QTest::newRow("qty: 10000") << q << qty << u"10000"_s << false << V(qint32(10000));
    QTest::newRow("qty: blank inside") << q << qty << u"1 00"_s << false << V();
    QTest::newRow("qty: empty") << q << qty << u""_s << false << V();
    QTest::newRow("qty: leading blank") << q << qty << u" 100"_s << true << V(qint32(100));
    QTest::newRow("qty: trailing blank") << q << qty << u"100 "_s << false << V();
    QTest::newRow("qty: sign") << q << qty << u"-5"_s << true << V(qint32(-5));
    QTest::newRow("qty: sign only") << q << qty << u"-"_s << false << V();
    QTest::newRow("qty: decimal") << q << qty << u"1,5"_s << false << V();
    QTest::newRow("qty: letters") << q << qty << u"abc"_s << false << V();
    const auto qWide = sample(qty, CurrencySampleFieldType::Integer, 0, 20);
    QTest::newRow("qty: largest") << qWide << qty << u"2147483647"_s << true << V(qint32(INT_MAX));
    QTest::newRow("qty: smallest") << qWide << qty << u"-2147483648"_s << true << V(qint32(INT_MIN));
    QTest::newRow("qty: beyond 32 bits") << qWide << qty << u"2147483648"_s << false << V();
    QTest::newRow("qty: below 32 bits") << qWide << qty << u"-2147483649"_s << false << V();
    QTest::newRow("qty: empty, min 0") << qWide << qty << u""_s << false << V();

    // {CurrencyCode}, bounds 3..3.
    const auto c = sample(code, CurrencySampleFieldType::String, 3, 3);
    QTest::newRow("code: EUR") << c << code << u"EUR"_s << true << V(u"EUR"_s);
    QTest::newRow("code: EURO") << c << code << u"EURO"_s << false << V(u"EURO"_s);
    QTest::newRow("code: case kept") << c << code << u"eUr"_s << true << V(u"eUr"_s);
    QTest::newRow("code: blanks kept") << c << code << u" EU"_s << true << V(u" EU"_s);
    QTest::newRow("code: empty") << c << code << u""_s << false << V(u""_s);
    QTest::newRow("code: accented") << c << code << u"ÁÉŐ"_s << true << V(u"ÁÉŐ"_s);

    // A date with hyphens; the length bounds (0..0) are not applied.
    const QString day = u"{Day}"_s;
    const auto d = sample(day, CurrencySampleFieldType::Date, 0, 0, u'-');
    QTest::newRow("date: 2022-08-05") << d << day << u"2022-08-05"_s << true << dateValue(2022, 8, 5);
    QTest::newRow("date: full stops") << d << day << u"2022.08.05"_s << false << V(qint32(0));
    QTest::newRow("date: no such day") << d << day << u"2022-02-30"_s << false << V(qint32(0));
    QTest::newRow("date: two-digit year") << d << day << u"22-08-05"_s << false << V(qint32(0));
    QTest::newRow("date: day first") << d << day << u"05-08-2022"_s << false << V(qint32(0));
    QTest::newRow("date: empty") << d << day << u""_s << false << V(qint32(0));
    QTest::newRow("date: before the epoch") << d << day << u"1899-12-29"_s << true << dateValue(1899, 12, 29);
    QTest::newRow("date: the epoch") << d << day << u"1899-12-30"_s << true << V(DateTime(0.0));
    const auto dStop = sample(day, CurrencySampleFieldType::Date, 0, 0, stop);
    QTest::newRow("date: full-stop sample") << dStop << day << u"2022.08.05"_s << true << dateValue(2022, 8, 5);

    // A time with colons; the length bounds are not applied.
    const QString clock = u"{Time}"_s;
    const auto t = sample(clock, CurrencySampleFieldType::Time, 0, 0, u':');
    QTest::newRow("time: 12:30") << t << clock << u"12:30"_s << true << timeValue(12, 30);
    QTest::newRow("time: seconds") << t << clock << u"06:00:15"_s << true << timeValue(6, 0, 15);
    QTest::newRow("time: midnight") << t << clock << u"00:00"_s << true << V(DateTime(0.0));
    QTest::newRow("time: 25 hours") << t << clock << u"25:00"_s << false << V(qint32(0));
    QTest::newRow("time: other separator") << t << clock << u"12.30"_s << false << V(qint32(0));
    QTest::newRow("time: hours only") << t << clock << u"12"_s << false << V(qint32(0));
    QTest::newRow("time: empty") << t << clock << u""_s << false << V(qint32(0));

    // A placeholder no sample names.
    QTest::newRow("unknown placeholder") << p0 << u"{CurrencyName}"_s << u"312,45"_s << false << V();
    QTest::newRow("unknown placeholder, empty text") << c << u"{Currency}"_s << u""_s << false << V();

    // A field type outside the enumeration.
    const auto odd = sample(price, static_cast<CurrencySampleFieldType>(9), 0, 10);
    QTest::newRow("unknown field type") << odd << price << u"1"_s << false << V();
}

void TestCurrencySamples::checkAndConvert()
{
    QFETCH(CurrencySampleProperties, sample);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, check);
    QFETCH(CurrencySampleValue, value);

    // A decoy after the sample: only the first entry of a name applies.
    const CurrencySampleList list = {sample, ::sample(sample.fieldName, CurrencySampleFieldType::String, 0, 65535)};
    QCOMPARE(checkCurrencySampleValue(name, text, list), check);
    QCOMPARE(show(getCurrencySampleValue(name, text, list)), show(value));
}

void TestCurrencySamples::dateAndTimeValues()
{
    const CurrencySampleList list = {sample(u"{Day}"_s, CurrencySampleFieldType::Date, 0, 0, u'-'),
                                     sample(u"{Time}"_s, CurrencySampleFieldType::Time, 0, 0, u':')};

    const CurrencySampleValue day = getCurrencySampleValue(u"{Day}"_s, u"2022-08-05"_s, list);
    QVERIFY(std::holds_alternative<DateTime>(day));
    QCOMPARE(std::get<DateTime>(day).value(), 44778.0);
    QCOMPARE(std::get<DateTime>(day).date(), QDate(2022, 8, 5));
    QCOMPARE(std::get<DateTime>(day).time(), QTime(0, 0));

    const CurrencySampleValue time = getCurrencySampleValue(u"{Time}"_s, u"18:00"_s, list);
    QVERIFY(std::holds_alternative<DateTime>(time));
    QCOMPARE(std::get<DateTime>(time).value(), 0.75);
    QCOMPARE(std::get<DateTime>(time).time(), QTime(18, 0));

    // Neither is ever a kind that a placeholder stores.
    QVERIFY(!matchesPlaceholderKind(CurrencyPricePlaceholder, day));
    QVERIFY(!matchesPlaceholderKind(u"{Day}"_s, day));
}

void TestCurrencySamples::placeholderKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<CurrencySampleValue>("value");
    QTest::addColumn<bool>("expected");
    using V = CurrencySampleValue;

    const QString code = CurrencyCodePlaceholder;
    const QString qty = CurrencyPriceQtyPlaceholder;
    const QString price = CurrencyPricePlaceholder;

    QTest::newRow("code: String") << code << V(u"EUR"_s) << true;
    QTest::newRow("code: empty String") << code << V(QString()) << true;
    QTest::newRow("code: Integer") << code << V(qint32(1)) << false;
    QTest::newRow("code: Empty") << code << V() << false;
    QTest::newRow("qty: Integer") << qty << V(qint32(100)) << true;
    QTest::newRow("qty: Integer 0") << qty << V(qint32(0)) << true;
    QTest::newRow("qty: Float") << qty << V(100.0) << false;
    QTest::newRow("qty: String") << qty << V(u"100"_s) << false;
    QTest::newRow("qty: Empty") << qty << V() << false;
    QTest::newRow("price: Float") << price << V(312.45) << true;
    QTest::newRow("price: Float 0") << price << V(0.0) << true;
    QTest::newRow("price: Integer") << price << V(qint32(312)) << false;
    QTest::newRow("price: DateTime") << price << V(DateTime(1.0)) << false;
    QTest::newRow("price: Empty") << price << V() << false;
    QTest::newRow("price: String") << price << V(u"312,45"_s) << false;
    QTest::newRow("lower-case name") << u"{currencyprice}"_s << V(1.0) << true;
    QTest::newRow("unknown: String") << u"{CurrencyName}"_s << V(u"x"_s) << false;
    QTest::newRow("unknown: Float") << u"{Rate}"_s << V(1.0) << false;
    QTest::newRow("unknown: Integer") << u""_s << V(qint32(1)) << false;
    QTest::newRow("unknown: DateTime") << u"{Day}"_s << V(DateTime(1.0)) << false;
    QTest::newRow("no braces") << u"CurrencyCode"_s << V(u"EUR"_s) << false;
}

void TestCurrencySamples::placeholderKind()
{
    QFETCH(QString, name);
    QFETCH(CurrencySampleValue, value);
    QFETCH(bool, expected);
    QCOMPARE(matchesPlaceholderKind(name, value), expected);
}

void TestCurrencySamples::robustness()
{
    const QLocale localeBefore;
    QString junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(QChar(char16_t((i * 40503) & 0xFFFF))); // NULs, lone surrogates, separators
    static constexpr char16_t tail[] = u"\0,\0-:.e+\uFFFF\xDC00";
    junk.append(QString::fromUtf16(tail, std::size(tail) - 1));

    const QStringList texts = {
        junk,
        QString(1, QChar(u'\0')),
        QString::fromUtf16(u"1\0"
                           u"2",
                           3),
        QString(100000, u'9'),
        u"1,"_s + QString(100000, u'5'),
        u"1e"_s + QString(100000, u'9'),
        u"1e-"_s + QString(100000, u'9'),
        QString(100000, u','),
        QString(100000, u'-'),
        QString(100000, u':'),
        QString(100000, u' '),
        u"2022"_s + QString(100000, u'-'),
        QString(100000, u'\0'),
    };

    CurrencySampleList list;
    for (QChar separator : {comma, stop, QChar(u'-'), QChar(u':'), QChar(u'\0')}) {
        list = {sample(u"{Int}"_s, CurrencySampleFieldType::Integer, 0, 65535),
                sample(u"{Str}"_s, CurrencySampleFieldType::String, 0, 65535),
                sample(u"{Dbl}"_s, CurrencySampleFieldType::Double, 0, 65535, separator, 255),
                sample(u"{Date}"_s, CurrencySampleFieldType::Date, 0, 0, separator),
                sample(u"{Time}"_s, CurrencySampleFieldType::Time, 0, 0, separator)};
        for (const QString &text : texts) {
            for (const CurrencySampleProperties &s : list) {
                checkCurrencySampleValue(s.fieldName, text, list);
                const CurrencySampleValue value = getCurrencySampleValue(s.fieldName, text, list);
                matchesPlaceholderKind(CurrencyPricePlaceholder, value);
            }
            checkCurrencySampleValue(text, text, list);
            QCOMPARE(show(getCurrencySampleValue(text, text, list)), u"Empty"_s);
            QVERIFY(!matchesPlaceholderKind(text, CurrencySampleValue(text)));
        }
    }

    // Texts longer than any 16-bit bound fail the length check.
    list = {sample(u"{Int}"_s, CurrencySampleFieldType::Integer, 0, 65535),
            sample(u"{Str}"_s, CurrencySampleFieldType::String, 0, 65535),
            sample(u"{Dbl}"_s, CurrencySampleFieldType::Double, 0, 65535, comma, 255)};
    QVERIFY(!checkCurrencySampleValue(u"{Str}"_s, QString(100000, u'x'), list));
    QVERIFY(checkCurrencySampleValue(u"{Str}"_s, QString(65535, u'x'), list));
    QVERIFY(!checkCurrencySampleValue(u"{Int}"_s, QString(100000, u'9'), list));
    QVERIFY(!checkCurrencySampleValue(u"{Dbl}"_s, QString(100000, u'9'), list));
    QCOMPARE(show(getCurrencySampleValue(u"{Int}"_s, QString(100000, u'9'), list)), u"Empty"_s);
    QCOMPARE(show(getCurrencySampleValue(u"{Dbl}"_s, u"1e"_s + QString(100000, u'9'), list)), u"Float(0)"_s);

    // Nothing process-wide is changed by the samples' separators.
    QCOMPARE(QLocale(), localeBefore);
    QCOMPARE(QLocale().decimalPoint(), localeBefore.decimalPoint());
}

QTEST_GUILESS_MAIN(TestCurrencySamples)
#include "TestCurrencySamples.moc"
