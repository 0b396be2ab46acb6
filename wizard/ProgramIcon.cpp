#include "wizard/ProgramIcon.h"

#include <QPainter>
#include <QSvgRenderer>

using namespace Qt::StringLiterals;

QPixmap programPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(u":/wizard/icon.svg"_s);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(programPixmap(size));
    return icon;
}
