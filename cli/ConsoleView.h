#pragma once

#include "run/RateList.h"
#include "run/RunView.h"

#include <QTextStream>
#include <array>
#include <optional>

// Shows a run on the console: step labels and the rate list on standard
// output, errors and warnings on standard error as the error page and the
// message boxes would show them.
class ConsoleView : public RunView {
public:
    ConsoleView(QTextStream &out, QTextStream &err);

    // The labels of the page whose steps are marked from now on, from step 1.
    void setStepLabels(const QStringList &labels) { m_labels = labels; }

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

    int errorCount() const { return m_errors; }
    const std::optional<RateList> &rateList() const { return m_rateList; }

private:
    QTextStream &m_out;
    QTextStream &m_err;
    QStringList m_labels;
    int m_errors = 0;
    std::optional<RateList> m_rateList;
};

// Tab-separated: the column captions first, then each row's cells.
QString rateListText(const RateList &list);
