#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A file named on the command line, read whole. What the user is told names
// the file, by its role ("beállításfájl", "bemeneti fájl"), and what is
// wrong with it.

// What keeps the file from being read whole, or none; its bytes go to
// contents. A maxMiB of 0 sets no limit.
std::optional<QString> readNamedFile(const QString &path, const QString &role, int maxMiB, QByteArray &contents);
