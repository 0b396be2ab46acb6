#include "sources/OTPRateTable.h"

#include "startup/TextHelpers.h"
#include "startup/TextValues.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

using namespace Qt::StringLiterals;

namespace {
const QString TodayMarker = u"###TODAY###"_s;
const QString RateQuery =
    u"currencies=EUR,USD,GBP,AUD,BGN,CAD,CHF,CNY,CZK,DKK,HRK,JPY,NOK,PLN,RON,RSD,RUB,SEK,TRY,UAH,ZAR&lang=HU"_s;

// The table is read the way the bank's Windows clients see it: through the
// 8-bit code page and back as UTF-8, so accented letters of the headers turn
// into U+FFFD. Column lookup ignores them.
QStringList throughCodePage(const QStringList &lines)
{
    QStringEncoder toCodePage("windows-1250");
    const QByteArray bytes = toCodePage.encode(lines.join(u"\r\n"_s));
    return QString::fromUtf8(bytes).split(u"\r\n"_s);
}

std::optional<QTime> readRateTime(const QString &text, qsizetype at)
{
    // A one-digit hour leaves four characters of time ("9:15"), also where
    // the text ends right after them.
    const bool oneDigitHour = text.mid(at + 1, 1) == u":";
    return readTime(text.mid(at, oneDigitHour ? 4 : 5), u':');
}

// The cell's value when it passes its sample and has the placeholder's kind.
std::optional<CurrencySampleValue> readCell(const StringTable &table, int column, int row, const QString &placeholder,
                                            const CurrencySampleList &samples)
{
    if (column < 0)
        return std::nullopt;
    const QString cell = table.cell(column, row);
    if (!checkCurrencySampleValue(placeholder, cell, samples))
        return std::nullopt;
    CurrencySampleValue value = getCurrencySampleValue(placeholder, cell, samples);
    if (!matchesPlaceholderKind(placeholder, value))
        return std::nullopt;
    return value;
}
} // namespace

void fillOTPSampleList(CurrencySampleList &samples)
{
    samples.append({CurrencyCodePlaceholder, CurrencySampleFieldType::String, 0, QChar(), 3, 3});
    samples.append({CurrencyPriceQtyPlaceholder, CurrencySampleFieldType::Integer, 0, QChar(), 1, 4});
    samples.append({CurrencyPricePlaceholder, CurrencySampleFieldType::Double, 2, u',', 0, 6});
}

QString buildOTPRateAddress(const QString &baseUrl, const QDate &today)
{
    QString address = withoutTrailingChar(baseUrl, u'/') + u"/apps/exchangerate/api/downloads/csv/"_s + TodayMarker
        + u'/' + TodayMarker + u'?' + RateQuery;
    return address.replace(TodayMarker, today.toString(u"yyyy-MM-dd"_s), Qt::CaseInsensitive);
}

QString otpRatePageAddress(const QString &baseUrl)
{
    return withoutTrailingChar(baseUrl, u'/') + u"/portal/hu/Arfolyamok/OTP"_s;
}

OTPRateTable readOTPRateTable(const QStringList &lines, const QDate &today)
{
    QStringList remaining = throughCodePage(lines);
    while (!remaining.isEmpty() && countChar(u';', remaining.first()) < 3)
        remaining.removeFirst();

    OTPRateTable result;
    loadStringTable(result.table, remaining, u';');
    OTPColumnMap &c = result.columns;
    c.code = findTableColumn(result.table, u"Név"_s);
    c.priceQty = findTableColumn(result.table, u"Egység"_s);
    c.middle = findTableColumn(result.table, u"Közép"_s);
    c.cashBuy = findTableColumn(result.table, u"Valuta vételi"_s);
    c.cashSale = findTableColumn(result.table, u"Valuta eladási"_s);
    c.chequeBuy = findTableColumn(result.table, u"Csekk vételi"_s);
    c.chequeSale = findTableColumn(result.table, u"Csekk eladási"_s);
    c.currencyBuy = findTableColumn(result.table, u"Deviza vételi"_s);
    c.currencySale = findTableColumn(result.table, u"Deviza eladási"_s);

    const QString text = remaining.join(u"\r\n"_s);
    const QString todayText = QString::asprintf("%d.%.2d.%.2d", today.year(), today.month(), today.day());
    const qsizetype at = text.indexOf(todayText);
    if (at < 0)
        return result;

    result.current = true;
    if (const auto date = readDate(QStringView(text).mid(at, 10), u'.'))
        result.rateDate = DateTime::fromDate(*date);
    // The time stands four characters after the date; the published table
    // has it right after one blank ("2019.12.02 05:56"), so that is tried too.
    auto time = readRateTime(text, at + 14);
    if (!time)
        time = readRateTime(text, at + 11);
    if (time)
        result.rateDate = result.rateDate + DateTime::fromTime(*time);
    return result;
}

void readOTPRateRecords(const OTPRateTable &table, const CurrencySampleList &samples,
                        QVector<OTPCurrencyRecord> &records)
{
    const OTPColumnMap &c = table.columns;
    const std::array<std::pair<int, double OTPCurrencyRecord::*>, 7> prices = {{
        {c.middle, &OTPCurrencyRecord::middle},
        {c.cashBuy, &OTPCurrencyRecord::cashBuy},
        {c.cashSale, &OTPCurrencyRecord::cashSale},
        {c.chequeBuy, &OTPCurrencyRecord::chequeBuy},
        {c.chequeSale, &OTPCurrencyRecord::chequeSale},
        {c.currencyBuy, &OTPCurrencyRecord::currencyBuy},
        {c.currencySale, &OTPCurrencyRecord::currencySale},
    }};

    for (int row = 1; row < table.table.rowCount(); ++row) {
        OTPCurrencyRecord record;
        record.dateTime = table.rateDate;
        if (const auto code = readCell(table.table, c.code, row, CurrencyCodePlaceholder, samples))
            record.code = std::get<QString>(*code).toUpper();
        if (const auto qty = readCell(table.table, c.priceQty, row, CurrencyPriceQtyPlaceholder, samples)) {
            // A negative unit would wrap around to a huge divisor.
            const qint32 n = std::get<qint32>(*qty);
            if (n > 0 && n <= 0xFFFF)
                record.priceQty = static_cast<quint16>(n);
        }
        for (const auto &[column, field] : prices) {
            if (const auto price = readCell(table.table, column, row, CurrencyPricePlaceholder, samples))
                record.*field = std::get<double>(*price);
        }
        if (!record.code.isEmpty() && record.priceQty != 0)
            records.append(record);
    }
}
