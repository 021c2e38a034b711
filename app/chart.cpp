// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ostrel {

QRectF ChartLabelBox(const QFontMetricsF &metrics, QPointF anchor, const QString &text,
                     Qt::Alignment where, const QRectF &bounds) {
  QRectF box(QPointF(0, 0), QSizeF(metrics.horizontalAdvance(text) + 6, metrics.height() + 2));
  const double gap = 5;
  if (where & Qt::AlignLeft)
    box.moveRight(anchor.x() - gap);
  else if (where & Qt::AlignRight)
    box.moveLeft(anchor.x() + gap);
  else
    box.moveLeft(anchor.x() - box.width() / 2);
  if (where & Qt::AlignTop)
    box.moveBottom(anchor.y() - gap);
  else if (where & Qt::AlignBottom)
    box.moveTop(anchor.y() + gap);
  else
    box.moveTop(anchor.y() - box.height() / 2);
  box.moveLeft(std::clamp(box.left(), bounds.left(), std::max(bounds.left(), bounds.right() - box.width())));
  box.moveTop(std::clamp(box.top(), bounds.top(), std::max(bounds.top(), bounds.bottom() - box.height())));
  return box;
}

void DrawChartLabel(QPainter &painter, const QRectF &box, const QString &text, QColor backing) {
  backing.setAlpha(210);
  painter.fillRect(box, backing);
  painter.drawText(box, Qt::AlignCenter, text);
}

QPainterPath MoonLitPath(QPointF centre, double radius, const MoonPhaseLook &phase) {
  // The limb's direction on the picture: up for north, left for east.
  const double chi = phase.brightLimbAngleDeg * std::numbers::pi / 180;
  const QPointF toLimb(-std::sin(chi), -std::cos(chi));
  const QPointF across(-toLimb.y(), toLimb.x());
  const double k = std::clamp(phase.illuminatedFraction, 0.0, 1.0);
  const auto at = [&](double along, double side) { return centre + along * toLimb + side * across; };
  // 48 steps a half turn keep each chord within a fifth of a pixel of the
  // curve on a disc of 60 pixels.
  constexpr int kSteps = 48;
  QPainterPath lit;
  for (int i = 0; i <= kSteps; ++i) {
    const double t = std::numbers::pi * (double(i) / kSteps - 0.5); // -90 to 90 degrees
    const QPointF point = at(radius * std::cos(t), radius * std::sin(t));
    if (i == 0)
      lit.moveTo(point);
    else
      lit.lineTo(point);
  }
  for (int i = kSteps - 1; i >= 1; --i) {
    const double t = std::numbers::pi * (double(i) / kSteps - 0.5);
    lit.lineTo(at(-(2 * k - 1) * radius * std::cos(t), radius * std::sin(t)));
  }
  lit.closeSubpath();
  return lit;
}

Chart::Chart(const QString &objectName, QWidget *parent) : QWidget(parent) {
  setObjectName(objectName);
}

void Chart::SetRussian(bool russian) {
  russian_ = russian;
  update();
}

void SunDayChart::SetPresent(std::optional<SunSample> present) {
  present_ = present;
  update();
}

void SunDayChart::SetMoonPresent(std::optional<SunSample> present) {
  moonPresent_ = present;
  update();
}

} // namespace ostrel
