#include "tables/CurrencySamples.h"

#include "startup/TextHelpers.h"
#include "startup/TextValues.h"

namespace {
bool lengthWithin(const CurrencySampleProperties &sample, qsizetype length)
{
    return sample.minLength <= length && length <= sample.maxLength;
}
} // namespace

const CurrencySampleProperties *findCurrencySample(const CurrencySampleList &samples, const QString &name)
{
    for (const CurrencySampleProperties &sample : samples) {
        if (asciiEqualsIgnoreCase(sample.fieldName, name))
            return &sample;
    }
    return nullptr;
}

bool checkCurrencySampleValue(const QString &name, const QString &text, const CurrencySampleList &samples)
{
    const CurrencySampleProperties *sample = findCurrencySample(samples, name);
    if (!sample)
        return false;
    const qsizetype length = text.size();

    switch (sample->fieldType) {
    case CurrencySampleFieldType::Integer:
        return readWholeNumber(text).has_value() && lengthWithin(*sample, length);
    case CurrencySampleFieldType::String:
        return lengthWithin(*sample, length);
    case CurrencySampleFieldType::Double: {
        // A sample whose MinLength is 0 accepts text that is no number at
        // all; the length and precision bounds still apply.
        bool ok = readDecimal(text, sample->decimalSeparator).has_value() || sample->minLength == 0;
        if (ok)
            ok = lengthWithin(*sample, length);
        if (ok) {
            const qsizetype at = text.indexOf(sample->decimalSeparator);
            if (at >= 0)
                ok = length - at - 1 <= sample->fieldPrecision;
        }
        return ok;
    }
    case CurrencySampleFieldType::Date:
        return readDate(text, sample->decimalSeparator).has_value();
    case CurrencySampleFieldType::Time:
        return readTime(text, sample->decimalSeparator).has_value();
    }
    return false;
}

CurrencySampleValue getCurrencySampleValue(const QString &name, const QString &text, const CurrencySampleList &samples)
{
    const CurrencySampleProperties *sample = findCurrencySample(samples, name);
    if (!sample)
        return {};

    switch (sample->fieldType) {
    case CurrencySampleFieldType::Integer:
        if (const auto n = readWholeNumber(text))
            return *n;
        return {};
    case CurrencySampleFieldType::String:
        return text;
    case CurrencySampleFieldType::Double:
        return readDecimal(text, sample->decimalSeparator).value_or(0.0);
    case CurrencySampleFieldType::Date:
        if (const auto date = readDate(text, sample->decimalSeparator))
            return DateTime::fromDate(*date);
        return qint32(0);
    case CurrencySampleFieldType::Time:
        if (const auto time = readTime(text, sample->decimalSeparator))
            return DateTime::fromTime(*time);
        return qint32(0);
    }
    return {};
}

bool matchesPlaceholderKind(const QString &name, const CurrencySampleValue &value)
{
    if (asciiEqualsIgnoreCase(name, CurrencyCodePlaceholder))
        return std::holds_alternative<QString>(value);
    if (asciiEqualsIgnoreCase(name, CurrencyPriceQtyPlaceholder))
        return std::holds_alternative<qint32>(value);
    if (asciiEqualsIgnoreCase(name, CurrencyPricePlaceholder))
        return std::holds_alternative<double>(value);
    return false;
}
