#pragma once

#include "startup/DateTime.h"

#include <QChar>
#include <QString>
#include <QVector>
#include <variant>

// How the cells of a bank's rate table are checked and converted: each read
// column has a placeholder, and the placeholder's sample says what text it
// takes and what value it yields.

enum class CurrencySampleFieldType : quint8 { Integer, String, Double, Date, Time };

struct CurrencySampleProperties {
    QString fieldName;
    CurrencySampleFieldType fieldType = CurrencySampleFieldType::String;
    quint8 fieldPrecision = 0;
    QChar decimalSeparator;
    quint16 minLength = 0;
    quint16 maxLength = 0;
};

using CurrencySampleList = QVector<CurrencySampleProperties>;

// Empty, Integer, String, Float or DateTime.
using CurrencySampleValue = std::variant<std::monostate, qint32, QString, double, DateTime>;

inline const QString CurrencyCodePlaceholder = QStringLiteral("{CurrencyCode}");
inline const QString CurrencyPriceQtyPlaceholder = QStringLiteral("{CurrencyPriceQty}");
inline const QString CurrencyPricePlaceholder = QStringLiteral("{CurrencyPrice}");

// The first sample named so, ASCII letters compared without case; none when
// no sample is.
const CurrencySampleProperties *findCurrencySample(const CurrencySampleList &samples, const QString &name);

bool checkCurrencySampleValue(const QString &name, const QString &text, const CurrencySampleList &samples);
CurrencySampleValue getCurrencySampleValue(const QString &name, const QString &text, const CurrencySampleList &samples);

// Whether value has the kind the placeholder may store: String for the code,
// Integer for the unit quantity, Float for a price. The name is compared as
// in findCurrencySample; any other name matches no kind.
bool matchesPlaceholderKind(const QString &name, const CurrencySampleValue &value);
