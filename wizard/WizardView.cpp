#include "wizard/WizardView.h"

#include "run/ErrorEntry.h"
#include "wizard/ListViewLines.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTreeWidget>
#include <algorithm>

WizardView::WizardView(const Widgets &widgets)
    : m_widgets(widgets)
{
}

void WizardView::mark(int step, StepState state)
{
    if (step >= 1 && step <= m_steps.size())
        m_steps[step - 1].setState(state);
}

void WizardView::markStepActive(int step)
{
    mark(step, StepState::InProgress);
    // The step is drawn before its work begins.
    processMessages();
}

void WizardView::markStepDone(int step)
{
    mark(step, StepState::Done);
}

void WizardView::reportError(const QString &message)
{
    m_widgets.errorMemo->appendPlainText(errorEntryLines(++m_errors, message).join(u'\n'));
}

void WizardView::showErrorPage()
{
    m_widgets.notebook->setCurrentWidget(m_widgets.errorPage);
}

void WizardView::showWarning(const QString &text)
{
    QMessageBox::warning(m_widgets.window, m_widgets.window->windowTitle(), text);
}

void WizardView::setRateDateCaption(const QString &caption)
{
    m_widgets.dateTimeLabel->setText(caption);
}

void WizardView::showProgress(int maximum)
{
    m_widgets.progressBar->setRange(0, maximum);
    m_widgets.progressBar->setValue(0);
    m_widgets.progressBar->show();
}

void WizardView::advanceProgress()
{
    QProgressBar *bar = m_widgets.progressBar;
    bar->setValue(bar->value() + 1);
}

void WizardView::fillRateList(const RateList &list)
{
    showRateList(m_widgets.listView, list);
}

void WizardView::processMessages()
{
    QCoreApplication::processEvents();
}
