#pragma once

#include "rates/CurrencyObjects.h"

#include <QByteArray>
#include <QString>

// The central bank's rate document: a root, one child per day with a "date"
// attribute, one child per currency with "curr", "unit" and the rate for
// that many units as text with a decimal comma. Element names are not
// checked. A whole SOAP answer is accepted too: its result element's text is
// the document.

// Appends one entry per rate, in document order, per unit of the currency.
// Throws SourceError when the text is not well-formed XML, or is a SOAP
// fault or an answer without a result; nothing is appended then.
void readRateDocument(const QByteArray &utf8, CurrencyObjectList &list);
void readRateDocument(const QString &text, CurrencyObjectList &list);
