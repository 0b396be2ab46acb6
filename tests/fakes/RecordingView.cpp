#include "fakes/RecordingView.h"

using namespace Qt::StringLiterals;

void RecordingView::MarkStepActive(int step)
{
    calls.append(u"active %1"_s.arg(step));
}

void RecordingView::MarkStepDone(int step)
{
    calls.append(u"done %1"_s.arg(step));
}

void RecordingView::ReportError(const QString &message)
{
    calls.append(u"error "_s + message);
    errors.append(message);
}

void RecordingView::ShowErrorPage()
{
    calls.append(u"error page"_s);
}

void RecordingView::ShowWarning(const QString &text)
{
    calls.append(u"warning "_s + text);
    warnings.append(text);
}

void RecordingView::SetRateDateCaption(const QString &caption)
{
    calls.append(u"caption "_s + caption);
}

void RecordingView::ShowProgress(int maximum)
{
    calls.append(u"progress %1"_s.arg(maximum));
}

void RecordingView::AdvanceProgress()
{
    calls.append(u"advance"_s);
}

void RecordingView::FillRateList(const RateList &list)
{
    calls.append(u"rate list %1"_s.arg(list.rows.size()));
    rateLists.append(list);
}

void RecordingView::ProcessMessages()
{
    ++processedMessages;
}
