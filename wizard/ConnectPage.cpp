#include "wizard/ConnectPage.h"

#include "run/StepLabels.h"

#include <QWidget>

using namespace Qt::StringLiterals;

ConnectPage buildConnectPage(QWidget *notebook)
{
    ConnectPage p;
    p.page = new QWidget(notebook);
    p.page->setObjectName(u"Connect"_s);
    p.steps = addWorkingSteps(p.page, u"ProcessImage"_s, u"ProcessLabel"_s, ConnectStepLabels);
    return p;
}
