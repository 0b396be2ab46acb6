#include "fakes/RecordingView.h"

using namespace Qt::StringLiterals;

void RecordingView::markStepActive(int step)
{
    calls.append(u"active %1"_s.arg(step));
}

void RecordingView::markStepDone(int step)
{
    calls.append(u"done %1"_s.arg(step));
}

void RecordingView::reportError(const QString &message)
{
    calls.append(u"error "_s + message);
    errors.append(message);
}

void RecordingView::showErrorPage()
{
    calls.append(u"error page"_s);
}

void RecordingView::showWarning(const QString &text)
{
    calls.append(u"warning "_s + text);
    warnings.append(text);
}

void RecordingView::setRateDateCaption(const QString &caption)
{
    calls.append(u"caption "_s + caption);
}

void RecordingView::showProgress(int maximum)
{
    calls.append(u"progress %1"_s.arg(maximum));
}

void RecordingView::advanceProgress()
{
    calls.append(u"advance"_s);
}

void RecordingView::fillRateList(const RateList &list)
{
    calls.append(u"rate list %1"_s.arg(list.rows.size()));
    rateLists.append(list);
}

void RecordingView::processMessages()
{
    ++processedMessages;
}
