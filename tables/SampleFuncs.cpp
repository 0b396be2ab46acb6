#include "tables/SampleFuncs.h"

#include "startup/TextValues.h"
#include "startup/w32Utils.h"

namespace {
bool lengthWithin(const TCurrencySampleProperies &sample, qsizetype length)
{
    return sample.MinLength <= length && length <= sample.MaxLength;
}
} // namespace

const TCurrencySampleProperies *FindCurrencySample(const TCurrencySampleList &samples, const QString &name)
{
    for (const TCurrencySampleProperies &sample : samples) {
        if (AsciiEqualsIgnoreCase(sample.FieldName, name))
            return &sample;
    }
    return nullptr;
}

bool CheckCurrencySampleValue(const QString &name, const QString &text, const TCurrencySampleList &samples)
{
    const TCurrencySampleProperies *sample = FindCurrencySample(samples, name);
    if (!sample)
        return false;
    const qsizetype length = text.size();

    switch (sample->FieldType) {
    case cftInteger:
        return ReadWholeNumber(text).has_value() && lengthWithin(*sample, length);
    case cftString:
        return lengthWithin(*sample, length);
    case cftDouble: {
        // A sample whose MinLength is 0 accepts text that is no number at
        // all; the length and precision bounds still apply.
        bool ok = ReadDecimal(text, sample->DecimalSeparator).has_value() || sample->MinLength == 0;
        if (ok)
            ok = lengthWithin(*sample, length);
        if (ok) {
            const qsizetype at = text.indexOf(sample->DecimalSeparator);
            if (at >= 0)
                ok = length - at - 1 <= sample->FieldPrecision;
        }
        return ok;
    }
    case cftDate:
        return ReadDate(text, sample->DecimalSeparator).has_value();
    case cftTime:
        return ReadTime(text, sample->DecimalSeparator).has_value();
    }
    return false;
}

TCurrencySampleValue GetCurrencySampleValue(const QString &name, const QString &text,
                                            const TCurrencySampleList &samples)
{
    const TCurrencySampleProperies *sample = FindCurrencySample(samples, name);
    if (!sample)
        return {};

    switch (sample->FieldType) {
    case cftInteger:
        if (const auto n = ReadWholeNumber(text))
            return *n;
        return {};
    case cftString:
        return text;
    case cftDouble:
        return ReadDecimal(text, sample->DecimalSeparator).value_or(0.0);
    case cftDate:
        if (const auto date = ReadDate(text, sample->DecimalSeparator))
            return DateTime::fromDate(*date);
        return qint32(0);
    case cftTime:
        if (const auto time = ReadTime(text, sample->DecimalSeparator))
            return DateTime::fromTime(*time);
        return qint32(0);
    }
    return {};
}

bool MatchesPlaceholderKind(const QString &name, const TCurrencySampleValue &value)
{
    if (AsciiEqualsIgnoreCase(name, CurrencyCodePlaceholder))
        return std::holds_alternative<QString>(value);
    if (AsciiEqualsIgnoreCase(name, CurrencyPriceQtyPlaceholder))
        return std::holds_alternative<qint32>(value);
    if (AsciiEqualsIgnoreCase(name, CurrencyPricePlaceholder))
        return std::holds_alternative<double>(value);
    return false;
}
