#pragma once

#include <QString>
#include <QStringList>

// The lines a reported error adds to the error list: the numbered header,
// the message with its CR LF pairs as line breaks, and a line of one blank.
QStringList errorEntryLines(int number, const QString &message);
