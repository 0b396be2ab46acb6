#pragma once

#include "startup/DateTime.h"

#include <QChar>
#include <QString>
#include <QVector>
#include <variant>

// How the cells of a bank's rate table are checked and converted: each read
// column has a placeholder, and the placeholder's sample says what text it
// takes and what value it yields.

enum TCurrencySampleFieldType : quint8 { cftInteger, cftString, cftDouble, cftDate, cftTime };

struct TCurrencySampleProperies {
    QString FieldName;
    TCurrencySampleFieldType FieldType = cftString;
    quint8 FieldPrecision = 0;
    QChar DecimalSeparator;
    quint16 MinLength = 0;
    quint16 MaxLength = 0;
};

using TCurrencySampleList = QVector<TCurrencySampleProperies>;

// Empty, Integer, String, Float or DateTime.
using TCurrencySampleValue = std::variant<std::monostate, qint32, QString, double, DateTime>;

inline const QString CurrencyCodePlaceholder = QStringLiteral("{CurrencyCode}");
inline const QString CurrencyPriceQtyPlaceholder = QStringLiteral("{CurrencyPriceQty}");
inline const QString CurrencyPricePlaceholder = QStringLiteral("{CurrencyPrice}");

// The first sample named so, ASCII letters compared without case; none when
// no sample is.
const TCurrencySampleProperies *FindCurrencySample(const TCurrencySampleList &samples, const QString &name);

bool CheckCurrencySampleValue(const QString &name, const QString &text, const TCurrencySampleList &samples);
TCurrencySampleValue GetCurrencySampleValue(const QString &name, const QString &text,
                                            const TCurrencySampleList &samples);

// Whether value has the kind the placeholder may store: String for the code,
// Integer for the unit quantity, Float for a price. The name is compared as
// in FindCurrencySample; any other name matches no kind.
bool MatchesPlaceholderKind(const QString &name, const TCurrencySampleValue &value);
