#include "fakes/FakeRates.h"

#include <cmath>

using namespace Qt::StringLiterals;

const QList<FakeCurrency> &fakeCurrencies()
{
    static const QList<FakeCurrency> currencies = {
        {u"AUD"_s, 1, 225.59},   {u"BGN"_s, 1, 185.84, false}, {u"BRL"_s, 1, 61.71}, {u"CAD"_s, 1, 226.08},
        {u"CHF"_s, 1, 383.86},   {u"CNY"_s, 1, 47.26},         {u"CZK"_s, 1, 14.94}, {u"DKK"_s, 1, 48.62},
        {u"EUR"_s, 1, 363.47},   {u"GBP"_s, 1, 423.23},        {u"HKD"_s, 1, 40.35}, {u"HRK"_s, 1, 48.24, false},
        {u"IDR"_s, 100, 1.78},   {u"ILS"_s, 1, 104.43},        {u"INR"_s, 1, 3.30},  {u"ISK"_s, 1, 2.61},
        {u"JPY"_s, 100, 200.59}, {u"KRW"_s, 100, 22.85},       {u"MXN"_s, 1, 18.46}, {u"MYR"_s, 1, 77.57},
        {u"NOK"_s, 1, 33.56},    {u"NZD"_s, 1, 181.09},        {u"PHP"_s, 1, 5.04},  {u"PLN"_s, 1, 83.30},
        {u"RON"_s, 1, 69.05},    {u"RSD"_s, 1, 3.10},          {u"RUB"_s, 1, 3.76},  {u"SEK"_s, 1, 32.25},
        {u"SGD"_s, 1, 247.87},   {u"THB"_s, 1, 9.51},          {u"TRY"_s, 1, 6.49},  {u"UAH"_s, 1, 7.08},
        {u"USD"_s, 1, 316.53},   {u"ZAR"_s, 1, 19.47},
    };
    return currencies;
}

const FakeCurrency *findFakeCurrency(const QString &code)
{
    for (const FakeCurrency &currency : fakeCurrencies()) {
        if (currency.code == code)
            return &currency;
    }
    return nullptr;
}

double fakeRateOn(const FakeCurrency &currency, const QDate &day)
{
    // Each currency on its own phase, so that they do not move in step.
    double phase = 0;
    for (const QChar c : currency.code)
        phase = phase * 1.7 + c.unicode();
    return currency.rate * (1.0 + 0.02 * std::sin(double(day.toJulianDay()) * 0.21 + phase));
}
