#include "wizard/StepMarkers.h"

#include "wizard/WindowFont.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int MarkerSize = 16;

QPixmap drawMarker(StepState state)
{
    QPixmap pixmap(MarkerSize, MarkerSize);
    pixmap.fill(FaceColour);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (state == StepState::InProgress) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const QPointF triangle[] = {{5, 3}, {12, 8}, {5, 13}};
        painter.drawPolygon(triangle, 3);
    } else {
        painter.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        const QPointF tick[] = {{3.5, 8}, {6.5, 11.5}, {12.5, 4}};
        painter.drawPolyline(tick, 3);
    }
    return pixmap;
}

const QPixmap &marker(StepState state)
{
    static const QPixmap inProgress = drawMarker(StepState::InProgress);
    static const QPixmap done = drawMarker(StepState::Done);
    return state == StepState::InProgress ? inProgress : done;
}

} // namespace

void StepIndicator::setState(StepState state) const
{
    if (state == StepState::NotStarted) {
        marker->clear();
        marker->setAccessibleDescription(QString());
    } else {
        marker->setPixmap(::marker(state));
        // The marker carries the step's state; a screen reader says it.
        marker->setAccessibleDescription(state == StepState::InProgress ? u"folyamatban"_s : u"kész"_s);
    }
    QFont font = label->font();
    font.setBold(state == StepState::InProgress);
    label->setFont(font);
}

StepIndicator addStep(QWidget *page, const QString &markerName, const QString &labelName, QPoint markerPos,
                      const QString &text)
{
    StepIndicator step{new QLabel(page), new QLabel(text, page)};
    step.marker->setObjectName(markerName);
    step.marker->setGeometry(markerPos.x(), markerPos.y(), MarkerSize, MarkerSize);
    step.marker->setAccessibleName(text);
    step.label->setObjectName(labelName);
    step.label->setTextFormat(Qt::PlainText);
    // Wide enough for the bold text, so that marking the step cuts nothing.
    step.label->adjustSize();
    const int boldWidth = QFontMetrics(boldFont(page->font())).horizontalAdvance(text);
    step.label->setGeometry(markerPos.x() + 24, markerPos.y() + 1, std::max(step.label->width(), boldWidth + 2),
                            step.label->height());
    return step;
}

QVector<StepIndicator> addWorkingSteps(QWidget *page, const QString &markerPrefix, const QString &labelPrefix,
                                       const QStringList &labels)
{
    QVector<StepIndicator> steps;
    for (int i = 0; i < labels.size(); ++i) {
        const QString number = QString::number(i + 1);
        steps << addStep(page, markerPrefix + number, labelPrefix + number, {120, 63 + 32 * i}, labels[i]);
    }
    return steps;
}
