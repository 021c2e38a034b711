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
// The key of the two curves, right of the title.
constexpr Bilingual kSunKey{"Sun", "Солнце"};
constexpr Bilingual kMoonKey{"Moon", "Луна"};

// The drawn altitude range, degrees: the day's extremes of the Sun and the
// Moon with at least 20
// degrees either side of the horizon, out to whole grid steps.
struct Range {
  double lowDeg, highDeg, stepDeg;
};

Range RangeOf(const std::vector<SunSample> &samples, const std::vector<SunSample> &moon) {
  double low = -20, high = 20;
  for (const auto *curve : {&samples, &moon}) {
    for (const SunSample &s : *curve) {
      low = std::min(low, s.altitudeDeg);
      high = std::max(high, s.altitudeDeg);
    }
  }
  const double step = high - low > 100 ? 20 : 10;
  return {std::max(-90.0, std::floor(low / step) * step), std::min(90.0, std::ceil(high / step) * step),
          step};
}

} // namespace

// The altitude labels stand left of the plot, its title above, the hours
// and the time title below; the plot takes the rest.
struct DayChart::Plot {
  QFontMetricsF metrics;
  Range range;
  QRectF area;

  double X(double hours) const { return area.left() + hours / 24 * area.width(); }
  double Y(double altitudeDeg) const {
    return area.bottom() - (altitudeDeg - range.lowDeg) / (range.highDeg - range.lowDeg) * area.height();
  }
  // The grid's altitude steps from the bottom to the top of the range.
  int Steps() const { return static_cast<int>(std::lround((range.highDeg - range.lowDeg) / range.stepDeg)); }
  double AltitudeOfStep(int step) const { return range.lowDeg + step * range.stepDeg; }
};

DayChart::DayChart(QWidget *parent) : SunDayChart(QStringLiteral("DayChart"), parent) {
  setMinimumSize(360, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DayChart::SetDay(std::vector<SunSample> samples, std::vector<DayMark> marks) {
  samples_ = std::move(samples);
  marks_ = std::move(marks);
  update();
}

void DayChart::SetHorizon(std::vector<SunSample> horizon) {
  horizon_ = std::move(horizon);
  update();
}

void DayChart::SetMoon(std::vector<SunSample> samples, std::vector<DayMark> marks) {
  moonSamples_ = std::move(samples);
  moonMarks_ = std::move(marks);
  update();
}

DayChart::Plot DayChart::PlotOf() const {
  const QFontMetricsF metrics(font());
  const double left = metrics.horizontalAdvance(QStringLiteral("-90°")) + 12;
  const double top = metrics.height() + 8;
  const double bottom = 2 * metrics.height() + 10;
  return {metrics, RangeOf(samples_, moonSamples_),
          QRectF(left, top, std::max(1.0, width() - left - 12), std::max(1.0, height() - top - bottom))};
}

void DayChart::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const Plot plot = PlotOf();
  DrawBands(painter, plot);
  DrawGrid(painter, plot);
  const std::vector<QRectF> markBoxes = MarkBoxes(plot);
  DrawBandNames(painter, plot, markBoxes);
  DrawAxes(painter, plot);
  DrawHorizon(painter, plot);
  DrawCurve(painter, plot);
  DrawMoonCurve(painter, plot);
  DrawMarks(painter, plot, markBoxes);
  DrawPresent(painter, plot);
}

void DayChart::DrawBands(QPainter &painter, const Plot &plot) const {
  painter.fillRect(plot.area, palette().color(QPalette::Base));
  painter.save();
  painter.setClipRect(plot.area);
  for (const Band &band : kBands) {
    if (band.fill.alpha() == 0)
      continue;
    painter.fillRect(QRectF(QPointF(plot.area.left(), plot.Y(band.highDeg)),
                            QPointF(plot.area.right(), plot.Y(band.lowDeg))),
                     band.fill);
  }
  painter.restore();
}

// Every hour, and every step of altitude.
void DayChart::DrawGrid(QPainter &painter, const Plot &plot) const {
  QColor gridColour = palette().color(QPalette::Text);
  gridColour.setAlpha(45);
  painter.setPen(QPen(gridColour, 1));
  for (int hour = 1; hour < 24; ++hour)
    painter.drawLine(QPointF(plot.X(hour), plot.area.top()), QPointF(plot.X(hour), plot.area.bottom()));
  const int steps = plot.Steps();
  for (int step = 1; step < steps; ++step) {
    const double a = plot.AltitudeOfStep(step);
    painter.drawLine(QPointF(plot.area.left(), plot.Y(a)), QPointF(plot.area.right(), plot.Y(a)));
  }
}

// Sunrise left of its point, sunset right of it, culmination above it
// (below where the peak touches the top).  The Moon's marks take the sides
// below their points, so that where the two bodies cross the horizon
// together their times do not cover each other.
std::vector<QRectF> DayChart::MarkBoxes(const Plot &plot) const {
  std::vector<QRectF> boxes;
  for (const auto *marks : {&marks_, &moonMarks_}) {
    for (const DayMark &mark : *marks) {
      const QPointF at(plot.X(mark.at.hours), plot.Y(mark.at.altitudeDeg));
      Qt::Alignment where = Qt::AlignTop | Qt::AlignHCenter;
      switch (mark.kind) {
      case DayMark::Sunrise: where = Qt::AlignTop | Qt::AlignLeft; break;
      case DayMark::Sunset: where = Qt::AlignTop | Qt::AlignRight; break;
      case DayMark::Moonrise: where = Qt::AlignBottom | Qt::AlignLeft; break;
      case DayMark::Moonset: where = Qt::AlignBottom | Qt::AlignRight; break;
      case DayMark::Culmination:
      case DayMark::MoonTransit:
        if (at.y() - plot.area.top() < 2 * plot.metrics.height())
          where = Qt::AlignBottom | Qt::AlignHCenter;
        break;
      }
      boxes.push_back(ChartLabelBox(plot.metrics, at, mark.text, where, plot.area));
    }
  }
  return boxes;
}

// Where a band is tall enough to hold its name, at the end of the band that
// no mark's time covers.
void DayChart::DrawBandNames(QPainter &painter, const Plot &plot,
                             const std::vector<QRectF> &markBoxes) const {
  const QFontMetricsF &metrics = plot.metrics;
  painter.setPen(palette().color(QPalette::Text));
  for (const Band &band : kBands) {
    const double high = plot.Y(std::min(band.highDeg, plot.range.highDeg));
    const double low = plot.Y(std::max(band.lowDeg, plot.range.lowDeg));
    if (low - high < metrics.height() + 2)
      continue;
    const QString name = Text(band.name);
    const QSizeF size(metrics.horizontalAdvance(name) + 4, metrics.height());
    const double middle = (high + low - size.height()) / 2;
    const QRectF atLeft(QPointF(plot.area.left() + 4, middle), size);
    const QRectF atRight(QPointF(plot.area.right() - 4 - size.width(), middle), size);
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
}

// Hour labels as far apart as they fit, degrees at each step, the titles
// and the plot's frame.
void DayChart::DrawAxes(QPainter &painter, const Plot &plot) const {
  const QFontMetricsF &metrics = plot.metrics;
  const QRectF &area = plot.area;
  painter.setPen(palette().color(QPalette::Text));
  const double hourWidth = area.width() / 24;
  const int hourStep = hourWidth >= metrics.horizontalAdvance(QStringLiteral("24")) + 8  ? 1
                       : hourWidth * 2 >= metrics.horizontalAdvance(QStringLiteral("24")) + 8 ? 2
                                                                                              : 3;
  for (int hour = 0; hour <= 24; hour += hourStep) {
    const QRectF box(plot.X(hour) - 20, area.bottom() + 3, 40, metrics.height());
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::number(hour));
  }
  const int steps = plot.Steps();
  for (int step = 0; step <= steps; ++step) {
    const double a = plot.AltitudeOfStep(step);
    const QRectF box(0, plot.Y(a) - metrics.height() / 2, area.left() - 6, metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(a, 'f', 0) + QChar(0x00B0));
  }
  painter.drawText(QRectF(area.left(), height() - metrics.height() - 3, area.width(), metrics.height()),
                   Qt::AlignHCenter, Text(kTimeAxis));
  painter.drawText(QRectF(4, 2, width() - 8, metrics.height()), Qt::AlignLeft, Text(kAltitudeAxis));
  if (!moonSamples_.empty()) {
    const double sample = 24, gap = 5, middle = 2 + metrics.height() / 2;
    double x = width() - 8;
    for (const auto &[key, pen] : {std::pair{kMoonKey, QPen(MoonInk(), 2, Qt::DashLine)},
                                   std::pair{kSunKey, QPen(palette().color(QPalette::Text), 2.2)}}) {
      const QString name = Text(key);
      x -= metrics.horizontalAdvance(name) + 2;
      painter.setPen(palette().color(QPalette::Text));
      painter.drawText(QRectF(x, 2, metrics.horizontalAdvance(name) + 2, metrics.height()), Qt::AlignLeft, name);
      x -= gap + sample;
      painter.setPen(pen);
      painter.drawLine(QPointF(x, middle), QPointF(x + sample, middle));
      x -= 3 * gap;
    }
    painter.setPen(palette().color(QPalette::Text));
  }
  painter.setPen(QPen(palette().color(QPalette::Text), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
}

// The horizon, then the altitude over it.
void DayChart::DrawCurve(QPainter &painter, const Plot &plot) const {
  const QColor ink = palette().color(QPalette::Text);
  if (plot.range.lowDeg < 0 && plot.range.highDeg > 0) {
    painter.setPen(QPen(ink, 1.5));
    painter.drawLine(QPointF(plot.area.left(), plot.Y(0)), QPointF(plot.area.right(), plot.Y(0)));
  }
  if (samples_.empty())
    return;
  QPainterPath curve(QPointF(plot.X(samples_.front().hours), plot.Y(samples_.front().altitudeDeg)));
  for (const SunSample &s : samples_)
    curve.lineTo(plot.X(s.hours), plot.Y(s.altitudeDeg));
  painter.save();
  painter.setClipRect(plot.area);
  painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(curve);
  painter.restore();
}

// The horizon under the Sun, the ground below it shaded, under the Sun's
// curve so that the curve reads where it passes behind the skyline.
void DayChart::DrawHorizon(QPainter &painter, const Plot &plot) const {
  if (horizon_.empty())
    return;
  QPainterPath line(QPointF(plot.X(horizon_.front().hours), plot.Y(horizon_.front().altitudeDeg)));
  for (const SunSample &s : horizon_)
    line.lineTo(plot.X(s.hours), plot.Y(s.altitudeDeg));
  QPainterPath ground = line;
  ground.lineTo(plot.X(horizon_.back().hours), plot.area.bottom());
  ground.lineTo(plot.X(horizon_.front().hours), plot.area.bottom());
  ground.closeSubpath();
  painter.save();
  painter.setClipRect(plot.area);
  painter.fillPath(ground, QColor(90, 110, 70, 90));
  painter.setPen(QPen(QColor(60, 80, 40), 1.5));
  painter.drawPath(line);
  painter.restore();
}

// The Moon's altitude, dashed, over the Sun's.
void DayChart::DrawMoonCurve(QPainter &painter, const Plot &plot) const {
  if (moonSamples_.empty())
    return;
  QPainterPath curve(QPointF(plot.X(moonSamples_.front().hours), plot.Y(moonSamples_.front().altitudeDeg)));
  for (const SunSample &s : moonSamples_)
    curve.lineTo(plot.X(s.hours), plot.Y(s.altitudeDeg));
  painter.save();
  painter.setClipRect(plot.area);
  painter.setPen(QPen(MoonInk(), 2, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(curve);
  painter.restore();
}

// Sunrise, culmination and sunset as orange points with their times; the
// Moon's events as pale points ringed in the Moon's colour.
void DayChart::DrawMarks(QPainter &painter, const Plot &plot,
                         const std::vector<QRectF> &markBoxes) const {
  std::size_t box = 0;
  for (const auto *marks : {&marks_, &moonMarks_}) {
    const bool moon = marks == &moonMarks_;
    for (const DayMark &mark : *marks) {
      painter.setPen(moon ? QPen(MoonInk(), 1.6) : QPen(palette().color(QPalette::Text), 1.2));
      painter.setBrush(moon ? QColor(235, 230, 245) : QColor(245, 160, 20));
      painter.drawEllipse(QPointF(plot.X(mark.at.hours), plot.Y(mark.at.altitudeDeg)), 4, 4);
      painter.setPen(moon ? MoonInk() : palette().color(QPalette::Text));
      DrawChartLabel(painter, markBoxes[box++], mark.text, palette().color(QPalette::Base));
    }
  }
}

// The present moment: a dashed line through the day, the Sun on it, and
// the Moon on it in the Moon's colour.
void DayChart::DrawPresent(QPainter &painter, const Plot &plot) const {
  if (!present())
    return;
  const SunSample &now = *present();
  const QColor highlight = palette().color(QPalette::Highlight);
  painter.setPen(QPen(highlight, 1.5, Qt::DashLine));
  const double x = plot.X(now.hours);
  painter.drawLine(QPointF(x, plot.area.top()), QPointF(x, plot.area.bottom()));
  painter.setPen(QPen(palette().color(QPalette::Text), 1.2));
  painter.setBrush(highlight);
  painter.drawEllipse(QPointF(x, plot.Y(now.altitudeDeg)), 5, 5);
  if (moonPresent()) {
    painter.setPen(QPen(palette().color(QPalette::Text), 1.2));
    painter.setBrush(MoonInk());
    painter.drawEllipse(QPointF(plot.X(moonPresent()->hours), plot.Y(moonPresent()->altitudeDeg)), 5, 5);
  }
}

} // namespace ostrel
