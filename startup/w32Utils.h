#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Text helpers shared by the command line, the bank-code list, the currency
// lists of the writers and the temporary folder.

// Letters A to Z folded, nothing else: switch names are plain ASCII.
bool AsciiEqualsIgnoreCase(QStringView a, QStringView b);

// 0-based index of the first line starting with prefix; -1 when none does
// or the prefix is empty.
int IndexOfPrefix(const QStringList &lines, const QString &prefix);

// Cuts the head off text at the first ch; without ch the whole text is the
// head and text becomes empty.
QString SplitAtChar(QString &text, QChar ch);

QString WithTrailingChar(const QString &text, QChar ch);
QString WithoutTrailingChar(const QString &text, QChar ch);

// Command-line lookups over the arguments after the program path; argument
// numbers count from 1, 0 meaning none.
int FindParamByPrefix(const QStringList &args, const QString &prefix);
QString GetParamValue(const QStringList &args, const QString &prefix);
bool HasSwitch(const QStringList &args, const QString &name);
