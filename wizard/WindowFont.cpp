#include "wizard/WindowFont.h"

using namespace Qt::StringLiterals;

QFont windowFont()
{
    // Liberation Sans has Arial's widths, which the positions of the pages
    // were made for; any sans serif stands in when it is missing.
    QFont font(u"Liberation Sans"_s, 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont boldFont(const QFont &base)
{
    QFont font = base;
    font.setBold(true);
    return font;
}

QFont boldFont(const QFont &base, int pointSize)
{
    QFont font = boldFont(base);
    font.setPointSize(pointSize);
    return font;
}
