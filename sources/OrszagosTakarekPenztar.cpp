#include "sources/OrszagosTakarekPenztar.h"

#include "startup/TextValues.h"
#include "startup/w32Utils.h"

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
    QString clock = text.mid(at, 5);
    if (clock.size() >= 2 && clock[1] == u':')
        clock.chop(1);
    return ReadTime(clock, u':');
}

// The cell's value when it passes its sample and has the placeholder's kind.
std::optional<TCurrencySampleValue> readCell(const TStringTable &table, int column, int row, const QString &placeholder,
                                             const TCurrencySampleList &samples)
{
    if (column < 0)
        return std::nullopt;
    const QString cell = table.Cell(column, row);
    if (!CheckCurrencySampleValue(placeholder, cell, samples))
        return std::nullopt;
    TCurrencySampleValue value = GetCurrencySampleValue(placeholder, cell, samples);
    if (!MatchesPlaceholderKind(placeholder, value))
        return std::nullopt;
    return value;
}
} // namespace

void FillOTPSampleList(TCurrencySampleList &samples)
{
    samples.append({CurrencyCodePlaceholder, cftString, 0, QChar(), 3, 3});
    samples.append({CurrencyPriceQtyPlaceholder, cftInteger, 0, QChar(), 1, 4});
    samples.append({CurrencyPricePlaceholder, cftDouble, 2, u',', 0, 6});
}

QString BuildOTPRateAddress(const QString &baseUrl, const QDate &today)
{
    QString address = WithoutTrailingChar(baseUrl, u'/') + u"/apps/exchangerate/api/downloads/csv/"_s + TodayMarker
                      + u'/' + TodayMarker + u'?' + RateQuery;
    return address.replace(TodayMarker, today.toString(u"yyyy-MM-dd"_s), Qt::CaseInsensitive);
}

QString OTPRatePageAddress(const QString &baseUrl)
{
    return WithoutTrailingChar(baseUrl, u'/') + u"/portal/hu/Arfolyamok/OTP"_s;
}

TOTPRateTable ReadOTPRateTable(const QStringList &lines, const QDate &today)
{
    QStringList remaining = throughCodePage(lines);
    while (!remaining.isEmpty() && CountChar(u';', remaining.first()) < 3)
        remaining.removeFirst();

    TOTPRateTable result;
    LoadStringTable(result.Table, remaining, u';');
    TOTPColumnMap &c = result.Columns;
    c.Code = FindTableColumn(result.Table, u"Név"_s);
    c.PriceQty = FindTableColumn(result.Table, u"Egység"_s);
    c.Middle = FindTableColumn(result.Table, u"Közép"_s);
    c.CashBuy = FindTableColumn(result.Table, u"Valuta vételi"_s);
    c.CashSale = FindTableColumn(result.Table, u"Valuta eladási"_s);
    c.ChequeBuy = FindTableColumn(result.Table, u"Csekk vételi"_s);
    c.ChequeSale = FindTableColumn(result.Table, u"Csekk eladási"_s);
    c.CurrencyBuy = FindTableColumn(result.Table, u"Deviza vételi"_s);
    c.CurrencySale = FindTableColumn(result.Table, u"Deviza eladási"_s);

    const QString text = remaining.join(u"\r\n"_s);
    const QString todayText = QString::asprintf("%d.%.2d.%.2d", today.year(), today.month(), today.day());
    const qsizetype at = text.indexOf(todayText);
    if (at < 0)
        return result;

    result.Current = true;
    if (const auto date = ReadDate(QStringView(text).mid(at, 10), u'.'))
        result.RateDate = DateTime::fromDate(*date);
    // The time stands four characters after the date; the published table
    // has it right after one blank ("2019.12.02 05:56"), so that is tried too.
    auto time = readRateTime(text, at + 14);
    if (!time)
        time = readRateTime(text, at + 11);
    if (time)
        result.RateDate = result.RateDate + DateTime::fromTime(*time);
    return result;
}

void ReadOTPRateRecords(const TOTPRateTable &table, const TCurrencySampleList &samples,
                        QVector<TOTPCurrencyRecord> &records)
{
    const TOTPColumnMap &c = table.Columns;
    const std::array<std::pair<int, double TOTPCurrencyRecord::*>, 7> prices = {{
        {c.Middle, &TOTPCurrencyRecord::Middle},
        {c.CashBuy, &TOTPCurrencyRecord::CashBuy},
        {c.CashSale, &TOTPCurrencyRecord::CashSale},
        {c.ChequeBuy, &TOTPCurrencyRecord::ChequeBuy},
        {c.ChequeSale, &TOTPCurrencyRecord::ChequeSale},
        {c.CurrencyBuy, &TOTPCurrencyRecord::CurrencyBuy},
        {c.CurrencySale, &TOTPCurrencyRecord::CurrencySale},
    }};

    for (int row = 1; row < table.Table.RowCount(); ++row) {
        TOTPCurrencyRecord record;
        record.DateTime = table.RateDate;
        if (const auto code = readCell(table.Table, c.Code, row, CurrencyCodePlaceholder, samples))
            record.Code = std::get<QString>(*code).toUpper();
        if (const auto qty = readCell(table.Table, c.PriceQty, row, CurrencyPriceQtyPlaceholder, samples)) {
            // A negative unit would wrap around to a huge divisor.
            const qint32 n = std::get<qint32>(*qty);
            if (n > 0 && n <= 0xFFFF)
                record.PriceQty = static_cast<quint16>(n);
        }
        for (const auto &[column, field] : prices) {
            if (const auto price = readCell(table.Table, column, row, CurrencyPricePlaceholder, samples))
                record.*field = std::get<double>(*price);
        }
        if (!record.Code.isEmpty() && record.PriceQty != 0)
            records.append(record);
    }
}
