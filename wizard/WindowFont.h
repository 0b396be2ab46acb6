#pragma once

#include <QFont>

// The window's face: a sans serif at 8 points with the metrics of the
// dialog fonts the pages were laid out for.
QFont windowFont();

// The same face in bold, and at another size in bold.
QFont boldFont(const QFont &base);
QFont boldFont(const QFont &base, int pointSize);
