#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

class QLabel;
class QWidget;

// The step indicators of the working pages: a 16 × 16 marker, empty until
// its step starts, and a label to its right that is bold while the step is
// in progress.

// The light grey the markers are drawn on; the window's face takes it too.
inline const QColor FaceColour(212, 208, 200);

enum class StepState { NotStarted, InProgress, Done };

struct StepIndicator {
    QLabel *marker = nullptr;
    QLabel *label = nullptr;

    void setState(StepState state) const;
};

// A step on page with its marker at markerPos and its label 24 pixels to
// the right and one lower, as the pages align them.
StepIndicator addStep(QWidget *page, const QString &markerName, const QString &labelName, QPoint markerPos,
                      const QString &text);

// The five steps of a working page: markers at x 120, 32 pixels apart from
// y 63 down, named prefix and the step's number from 1.
QVector<StepIndicator> addWorkingSteps(QWidget *page, const QString &markerPrefix, const QString &labelPrefix,
                                       const QStringList &labels);
