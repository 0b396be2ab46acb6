#include "wizard/ErrorFinishPage.h"

#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

ErrorFinishPage buildErrorFinishPage(QWidget *notebook)
{
    ErrorFinishPage p;
    p.page = new QWidget(notebook);
    p.page->setObjectName(u"ErrorFinish"_s);
    p.errorMemo = new QPlainTextEdit(p.page);
    p.errorMemo->setObjectName(u"ErrorMemo"_s);
    p.errorMemo->setGeometry(16, 16, 497, 249);
    p.errorMemo->setReadOnly(true);
    p.errorMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // On the window's face, as a text to read rather than to edit.
    QPalette face = p.errorMemo->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    p.errorMemo->setPalette(face);
    return p;
}
