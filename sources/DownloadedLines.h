#pragma once

#include <QByteArray>
#include <QStringList>

// A download read back as text lines: UTF-8 after an optional byte-order
// mark; any invalid sequence empties the whole text. Lines end at CR LF, CR
// or LF; a NUL ends the text.
QStringList decodeDownloadedLines(const QByteArray &bytes);
