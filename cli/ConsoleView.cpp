#include "cli/ConsoleView.h"

#include "sources/ErrorEntry.h"

using namespace Qt::StringLiterals;

ConsoleView::ConsoleView(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

void ConsoleView::MarkStepActive(int step)
{
    if (m_labels && step >= 1 && step <= 5)
        m_out << (*m_labels)[step - 1] << Qt::endl;
}

void ConsoleView::MarkStepDone(int) {}

void ConsoleView::ReportError(const QString &message)
{
    for (const QString &line : ErrorEntryLines(++m_errors, message))
        m_err << line << u'\n';
    m_err.flush();
}

void ConsoleView::ShowErrorPage() {}

void ConsoleView::ShowWarning(const QString &text)
{
    m_err << text << Qt::endl;
}

void ConsoleView::SetRateDateCaption(const QString &) {}

void ConsoleView::ShowProgress(int) {}

void ConsoleView::AdvanceProgress() {}

void ConsoleView::FillRateList(const RateList &list)
{
    m_rateList = list;
}

void ConsoleView::ProcessMessages() {}

QString RateListText(const RateList &list)
{
    QStringList captions;
    for (const RateListColumn &column : list.columns)
        captions << column.caption;
    QString text = captions.join(u'\t') + u'\n';
    for (const RateListRow &row : list.rows)
        text += row.cells.join(u'\t') + u'\n';
    return text;
}
