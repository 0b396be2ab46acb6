#pragma once

#include "sources/RateList.h"
#include "sources/RunView.h"

#include <QList>
#include <QStringList>

// A RunView that remembers what the working operations did to the screen.
class RecordingView : public RunView {
public:
    // Every call but ProcessMessages, in order: "active 2", "done 2",
    // "error <message>", "error page", "warning <text>", "caption <text>",
    // "progress <maximum>", "advance", "rate list <rows>".
    QStringList calls;
    // The reported messages alone, in order.
    QStringList errors;
    QStringList warnings;
    // Each list the rate list was filled with.
    QList<RateList> rateLists;
    int processedMessages = 0;

    void MarkStepActive(int step) override;
    void MarkStepDone(int step) override;
    void ReportError(const QString &message) override;
    void ShowErrorPage() override;
    void ShowWarning(const QString &text) override;
    void SetRateDateCaption(const QString &caption) override;
    void ShowProgress(int maximum) override;
    void AdvanceProgress() override;
    void FillRateList(const RateList &list) override;
    void ProcessMessages() override;

    bool errorPageShown() const { return calls.contains(QStringLiteral("error page")); }
};
