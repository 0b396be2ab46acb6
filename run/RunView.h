#pragma once

#include <QString>

struct RateList;

// What the working operations do to the screen. The wizard draws it, the
// headless runner prints it, tests record it. Steps are those of the page
// being worked on, from 1 to 5.
class RunView {
public:
    virtual ~RunView() = default;

    virtual void markStepActive(int step) = 0;
    virtual void markStepDone(int step) = 0;
    // Appends a numbered message to the error list.
    virtual void reportError(const QString &message) = 0;
    virtual void showErrorPage() = 0;
    // A modal box with one OK button.
    virtual void showWarning(const QString &text) = 0;
    virtual void setRateDateCaption(const QString &caption) = 0;
    virtual void showProgress(int maximum) = 0;
    virtual void advanceProgress() = 0;
    virtual void fillRateList(const RateList &list) = 0;
    // Lets pending window messages through so that a change is drawn.
    virtual void processMessages() = 0;
};
