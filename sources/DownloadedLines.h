#pragma once

#include <QByteArray>
#include <QStringList>

// Reading a download back as text lines.

// UTF-8 after an optional byte-order mark; any invalid sequence empties the
// whole text. Lines end at CR LF, CR or LF; a NUL ends the text.
QStringList DecodeDownloadedLines(const QByteArray &bytes);

// The lines of the download file; none when it does not exist.
QStringList LoadDownloadedLines();
