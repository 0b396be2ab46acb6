#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon, drawn from its SVG at the size asked for.
QPixmap programPixmap(int size);
// For the window's title bar and task bar.
QIcon programIcon();
