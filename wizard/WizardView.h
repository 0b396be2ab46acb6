#pragma once

#include "run/RunView.h"
#include "wizard/StepMarkers.h"

#include <QVector>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QStackedWidget;
class QTreeWidget;
class QWidget;

// The working operations drawn on the wizard's pages: the steps of the
// page being worked on, the error list and its page, the rate list, the
// rate-date line and the progress bar.
class WizardView : public RunView {
public:
    struct Widgets {
        QWidget *window = nullptr;
        QStackedWidget *notebook = nullptr;
        QWidget *errorPage = nullptr;
        QPlainTextEdit *errorMemo = nullptr;
        QTreeWidget *listView = nullptr;
        QLabel *dateTimeLabel = nullptr;
        QProgressBar *progressBar = nullptr;
    };

    explicit WizardView(const Widgets &widgets);

    // The steps marked from now on, step 1 first.
    void setSteps(const QVector<StepIndicator> &steps) { m_steps = steps; }

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

private:
    void mark(int step, StepState state);

    Widgets m_widgets;
    QVector<StepIndicator> m_steps;
    int m_errors = 0;
};
