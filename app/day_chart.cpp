// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/day_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "core/day/day_events.h"

namespace ostrel {
namespace {

// The altitude bands behind the curve, degrees, with the level constants of
// the day's events so that a band ends where its event in the list falls.
// The fills are fixed and translucent, so they read on a light and a dark
// palette alike; a zero alpha only names a range (civil twilight, -6 to 0
// degrees, spans the blue hour and part of the golden hour).  A name goes
// to the end of its band it prefers unless a mark's time is there.
struct Band {
  double lowDeg, highDeg;
  QColor fill;
  bool nameOnLeft;
  Bilingual name;
};

const Band kBands[] = {
    {-90, kAstronomicalTwilightDeg, QColor(10, 20, 70, 120), false, {"Night", "Ночь"}},
    {kAstronomicalTwilightDeg, kNauticalTwilightDeg, QColor(30, 50, 120, 100), false,
     {"Astronomical twilight", "Астрономические сумерки"}},
    {kNauticalTwilightDeg, kCivilTwilightDeg, QColor(60, 90, 170, 90), false,
     {"Nautical twilight", "Навигационные сумерки"}},
    {kBlueHourLowDeg, kGoldenHourLowDeg, QColor(40, 110, 240, 120), false,
     {"Blue hour", "Синий час"}},
    {kGoldenHourLowDeg, kGoldenHourHighDeg, QColor(245, 175, 30, 120), false,
     {"Golden hour", "Золотой час"}},
    {kGoldenHourHighDeg, 90, QColor(120, 190, 250, 70), false, {"Day", "День"}},
    {kCivilTwilightDeg, 0, QColor(0, 0, 0, 0), true, {"Civil twilight", "Гражданские сумерки"}},
};

constexpr Bilingual kTimeAxis{"Local time, h", "Местное время, ч"};
constexpr Bilingual kAltitudeAxis{"Altitude, °", "Высота, °"};

// The drawn altitude range, degrees: the day's extremes with at least 20
// degrees either side of the horizon, out to whole grid steps.
struct Range {
  double lowDeg, highDeg, stepDeg;
};

Range RangeOf(const std::vector<SunSample> &samples) {
  double low = -20, high = 20;
  for (const SunSample &s : samples) {
    low = std::min(low, s.altitudeDeg);
    high = std::max(high, s.altitudeDeg);
  }
  const double step = high - low > 100 ? 20 : 10;
  return {std::max(-90.0, std::floor(low / step) * step), std::min(90.0, std::ceil(high / step) * step),
          step};
}

} // namespace

DayChart::DayChart(QWidget *parent) : SunDayChart(QStringLiteral("DayChart"), parent) {
  setMinimumSize(360, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DayChart::SetDay(std::vector<SunSample> samples, std::vector<DayMark> marks) {
  samples_ = std::move(samples);
  marks_ = std::move(marks);
  update();
}

void DayChart::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPalette &colours = palette();
  painter.fillRect(rect(), colours.color(QPalette::Window));

  const QFontMetricsF metrics(font());
  const Range range = RangeOf(samples_);
  const double left = metrics.horizontalAdvance(QStringLiteral("-90°")) + 12;
  const double top = metrics.height() + 8;
  const double bottom = 2 * metrics.height() + 10;
  const QRectF plot(left, top, std::max(1.0, width() - left - 12), std::max(1.0, height() - top - bottom));
  const auto x = [&](double hours) { return plot.left() + hours / 24 * plot.width(); };
  const auto y = [&](double altitudeDeg) {
    return plot.bottom() - (altitudeDeg - range.lowDeg) / (range.highDeg - range.lowDeg) * plot.height();
  };

  painter.fillRect(plot, colours.color(QPalette::Base));
  painter.save();
  painter.setClipRect(plot);
  for (const Band &band : kBands) {
    if (band.fill.alpha() == 0)
      continue;
    painter.fillRect(QRectF(QPointF(plot.left(), y(band.highDeg)), QPointF(plot.right(), y(band.lowDeg))),
                     band.fill);
  }
  painter.restore();

  // The grid: every hour, and every step of altitude.
  QColor gridColour = colours.color(QPalette::Text);
  gridColour.setAlpha(45);
  painter.setPen(QPen(gridColour, 1));
  for (int hour = 1; hour < 24; ++hour)
    painter.drawLine(QPointF(x(hour), plot.top()), QPointF(x(hour), plot.bottom()));
  const int steps = static_cast<int>(std::lround((range.highDeg - range.lowDeg) / range.stepDeg));
  for (int step = 1; step < steps; ++step) {
    const double a = range.lowDeg + step * range.stepDeg;
    painter.drawLine(QPointF(plot.left(), y(a)), QPointF(plot.right(), y(a)));
  }

  // Where the marks' times go: sunrise left of its point, sunset right of
  // it, culmination above it (below where the peak touches the top).
  std::vector<QRectF> markBoxes;
  for (const DayMark &mark : marks_) {
    const QPointF at(x(mark.at.hours), y(mark.at.altitudeDeg));
    Qt::Alignment where = Qt::AlignTop | Qt::AlignHCenter;
    if (mark.kind == DayMark::Sunrise)
      where = Qt::AlignTop | Qt::AlignLeft;
    else if (mark.kind == DayMark::Sunset)
      where = Qt::AlignTop | Qt::AlignRight;
    else if (at.y() - plot.top() < 2 * metrics.height())
      where = Qt::AlignBottom | Qt::AlignHCenter;
    markBoxes.push_back(ChartLabelBox(metrics, at, mark.text, where, plot));
  }

  // The band names, where a band is tall enough to hold one, at the end of
  // the band that no mark's time covers.
  painter.setPen(colours.color(QPalette::Text));
  for (const Band &band : kBands) {
    const double high = y(std::min(band.highDeg, range.highDeg));
    const double low = y(std::max(band.lowDeg, range.lowDeg));
    if (low - high < metrics.height() + 2)
      continue;
    const QString name = Text(band.name);
    const QSizeF size(metrics.horizontalAdvance(name) + 4, metrics.height());
    const double middle = (high + low - size.height()) / 2;
    const QRectF atLeft(QPointF(plot.left() + 4, middle), size);
    const QRectF atRight(QPointF(plot.right() - 4 - size.width(), middle), size);
    const auto free = [&markBoxes](const QRectF &box) {
      return std::none_of(markBoxes.begin(), markBoxes.end(),
                          [&box](const QRectF &mark) { return mark.intersects(box); });
    };
    const QRectF first = band.nameOnLeft ? atLeft : atRight;
    const QRectF second = band.nameOnLeft ? atRight : atLeft;
    if (free(first))
      painter.drawText(first, Qt::AlignCenter, name);
    else if (free(second))
      painter.drawText(second, Qt::AlignCenter, name);
  }

  // The axes: hour labels as far apart as they fit, degrees at each step.
  const double hourWidth = plot.width() / 24;
  const int hourStep = hourWidth >= metrics.horizontalAdvance(QStringLiteral("24")) + 8  ? 1
                       : hourWidth * 2 >= metrics.horizontalAdvance(QStringLiteral("24")) + 8 ? 2
                                                                                              : 3;
  for (int hour = 0; hour <= 24; hour += hourStep) {
    const QRectF box(x(hour) - 20, plot.bottom() + 3, 40, metrics.height());
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::number(hour));
  }
  for (int step = 0; step <= steps; ++step) {
    const double a = range.lowDeg + step * range.stepDeg;
    const QRectF box(0, y(a) - metrics.height() / 2, left - 6, metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(a, 'f', 0) + QChar(0x00B0));
  }
  painter.drawText(QRectF(plot.left(), height() - metrics.height() - 3, plot.width(), metrics.height()),
                   Qt::AlignHCenter, Text(kTimeAxis));
  painter.drawText(QRectF(4, 2, width() - 8, metrics.height()), Qt::AlignLeft,
                   Text(kAltitudeAxis));
  painter.setPen(QPen(colours.color(QPalette::Text), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);

  // The horizon, then the curve over it.
  if (range.lowDeg < 0 && range.highDeg > 0) {
    painter.setPen(QPen(colours.color(QPalette::Text), 1.5));
    painter.drawLine(QPointF(plot.left(), y(0)), QPointF(plot.right(), y(0)));
  }
  if (!samples_.empty()) {
    QPainterPath curve(QPointF(x(samples_.front().hours), y(samples_.front().altitudeDeg)));
    for (const SunSample &s : samples_)
      curve.lineTo(x(s.hours), y(s.altitudeDeg));
    painter.save();
    painter.setClipRect(plot);
    painter.setPen(QPen(colours.color(QPalette::Text), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(curve);
    painter.restore();
  }

  for (std::size_t i = 0; i < marks_.size(); ++i) {
    painter.setPen(QPen(colours.color(QPalette::Text), 1.2));
    painter.setBrush(QColor(245, 160, 20));
    painter.drawEllipse(QPointF(x(marks_[i].at.hours), y(marks_[i].at.altitudeDeg)), 4, 4);
    DrawChartLabel(painter, markBoxes[i], marks_[i].text, colours.color(QPalette::Base));
  }

  if (present()) {
    QColor now = colours.color(QPalette::Highlight);
    painter.setPen(QPen(now, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(x(present()->hours), plot.top()), QPointF(x(present()->hours), plot.bottom()));
    painter.setPen(QPen(colours.color(QPalette::Text), 1.2));
    painter.setBrush(now);
    painter.drawEllipse(QPointF(x(present()->hours), y(present()->altitudeDeg)), 5, 5);
  }
}

} // namespace ostrel
