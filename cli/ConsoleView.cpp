#include "cli/ConsoleView.h"

#include "run/ErrorEntry.h"

using namespace Qt::StringLiterals;

ConsoleView::ConsoleView(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{
}

void ConsoleView::markStepActive(int step)
{
    if (step >= 1 && step <= m_labels.size())
        m_out << m_labels[step - 1] << Qt::endl;
}

void ConsoleView::markStepDone(int) {}

void ConsoleView::reportError(const QString &message)
{
    for (const QString &line : errorEntryLines(++m_errors, message))
        m_err << line << u'\n';
    m_err.flush();
}

void ConsoleView::showErrorPage() {}

void ConsoleView::showWarning(const QString &text)
{
    m_err << text << Qt::endl;
}

void ConsoleView::setRateDateCaption(const QString &) {}

void ConsoleView::showProgress(int) {}

void ConsoleView::advanceProgress() {}

void ConsoleView::fillRateList(const RateList &list)
{
    m_rateList = list;
}

void ConsoleView::processMessages() {}

QString rateListText(const RateList &list)
{
    QStringList captions;
    for (const RateListColumn &column : list.columns)
        captions << column.caption;
    QString text = captions.join(u'\t') + u'\n';
    for (const RateListRow &row : list.rows)
        text += row.cells.join(u'\t') + u'\n';
    return text;
}
