#include "wizard/DatabaseInsertPage.h"

#include "run/StepLabels.h"

#include <QProgressBar>

using namespace Qt::StringLiterals;

DatabaseInsertPage buildDatabaseInsertPage(QWidget *notebook)
{
    DatabaseInsertPage p;
    p.page = new QWidget(notebook);
    p.page->setObjectName(u"DatabaseInsert"_s);
    p.steps = addWorkingSteps(p.page, u"DatabaseImage"_s, u"DatabaseLabel"_s, DatabaseStepLabels);
    p.pbDatabaseInsert = new QProgressBar(p.page);
    p.pbDatabaseInsert->setObjectName(u"pbDatabaseInsert"_s);
    p.pbDatabaseInsert->setGeometry(144, 176, 361, 11);
    p.pbDatabaseInsert->setTextVisible(false);
    p.pbDatabaseInsert->setAccessibleName(DatabaseStepLabels[3]);
    p.pbDatabaseInsert->hide();
    return p;
}
