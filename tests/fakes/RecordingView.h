#pragma once

#include "run/RateList.h"
#include "run/RunView.h"

#include <QList>
#include <QStringList>

// A RunView that remembers what the working operations did to the screen.
class RecordingView : public RunView {
public:
    // Every call but processMessages, in order: "active 2", "done 2",
    // "error <message>", "error page", "warning <text>", "caption <text>",
    // "progress <maximum>", "advance", "rate list <rows>".
    QStringList calls;
    // The reported messages alone, in order.
    QStringList errors;
    QStringList warnings;
    // Each list the rate list was filled with.
    QList<RateList> rateLists;
    int processedMessages = 0;

    void markStepActive(int step) override;
    void markStepDone(int step) override;
    void reportError(const QString &message) override;
    void showErrorPage() override;
    void showWarning(const QString &text) override;
    void setRateDateCaption(const QString &caption) override;
    void showProgress(int maximum) override;
    void advanceProgress() override;
    void fillRateList(const RateList &list) override;
    void processMessages() override;

    bool errorPageShown() const { return calls.contains(QStringLiteral("error page")); }
};
