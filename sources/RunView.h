#pragma once

#include <QString>

struct RateList;

// What the working operations do to the screen. The wizard draws it, the
// headless runner prints it, tests record it. Steps are those of the page
// being worked on, from 1 to 5.
class RunView {
public:
    virtual ~RunView() = default;

    virtual void MarkStepActive(int step) = 0;
    virtual void MarkStepDone(int step) = 0;
    // Appends a numbered message to the error list.
    virtual void ReportError(const QString &message) = 0;
    virtual void ShowErrorPage() = 0;
    // A modal box with one OK button.
    virtual void ShowWarning(const QString &text) = 0;
    virtual void SetRateDateCaption(const QString &caption) = 0;
    virtual void ShowProgress(int maximum) = 0;
    virtual void AdvanceProgress() = 0;
    virtual void FillRateList(const RateList &list) = 0;
    // Lets pending window messages through so that a change is drawn.
    virtual void ProcessMessages() = 0;
};
