#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Text helpers shared by the switches, the bank-code list, the currency
// lists of the writers and the temporary folder.

// Letters A to Z folded, nothing else: switch names are plain ASCII.
bool asciiEqualsIgnoreCase(QStringView a, QStringView b);

// 0-based index of the first line starting with prefix; -1 when none does
// or the prefix is empty.
int indexOfPrefix(const QStringList &lines, const QString &prefix);

// Cuts the head off text at the first ch; without ch the whole text is the
// head and text becomes empty.
QString splitAtChar(QString &text, QChar ch);

QString withTrailingChar(const QString &text, QChar ch);
QString withoutTrailingChar(const QString &text, QChar ch);
