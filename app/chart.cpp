// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

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

} // namespace ostrel
