// SPDX-License-Identifier: GPL-3.0-or-later
// What the charts of the day and year windows share: the language of their
// captions (Chart); the Sun's and the Moon's samples and marks of one day
// and the present moment, which the day's two charts draw (SunDayChart);
// the colour that tells the Moon's lines from the Sun's; and the labels
// they write on a backing over bands and curves.
//
// A chart draws what it is given: its window asks the core for the events
// and the samples, the chart only places them.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>

#include "app/bilingual.h"
#include "core/day/day_events.h"

class QFontMetricsF;
class QPainter;

namespace ostrel {

// The Sun (or the Moon) at one moment of the local date, as the charts
// draw it.
struct SunSample {
  double hours = 0;       // local civil hours from 00:00 of the date
  double altitudeDeg = 0; // true altitude of the centre
  double azimuthDeg = 0;  // from north through east, 0 to 360
};

// A named moment of the day drawn on a chart: the Sun's or the Moon's.
struct DayMark {
  enum Kind { Sunrise, Sunset, Culmination, Moonrise, Moonset, MoonTransit };
  Kind kind = Sunrise;
  SunSample at;
  QString text; // what the chart writes beside the mark
};

// The local civil hours from 00:00 of the date at which a moment of the
// day falls (its seconds as the core counts them).
inline double LocalHours(const DayMoment &moment) { return moment.seconds / 3600.0; }

// The Moon's curves, marks and phase picture on the day's charts: a violet
// that stands apart from the Sun's black and orange and from the blue and
// gold of the altitude bands, in a light and a dark palette alike.
inline QColor MoonInk() { return QColor(150, 60, 200); }

// The Moon's phase as the charts draw it: the lit fraction of the disc, 0
// to 1, and the position angle of the bright limb's midpoint, degrees from
// the disc's north point through east (MoonPlace::illuminatedFraction,
// brightLimbAngleDeg).
struct MoonPhaseLook {
  double illuminatedFraction = 0;
  double brightLimbAngleDeg = 0;
};

// The lit part of a disc of `radius` pixels at `centre`, north up and east
// on the left as on the sky charts: the half circle of the bright limb
// closed by the terminator, the half ellipse whose semi-axis along the
// limb's direction is (1 - 2 * fraction) * radius towards the dark side.
QPainterPath MoonLitPath(QPointF centre, double radius, const MoonPhaseLook &phase);

// The box of `text` beside `anchor` on the side `where` (a corner of the
// box touches the anchor; centred on an axis not named), moved inside
// `bounds`; and the text drawn in such a box on a translucent backing of
// `backing`, so that it reads over bands and curves.
QRectF ChartLabelBox(const QFontMetricsF &metrics, QPointF anchor, const QString &text,
                     Qt::Alignment where, const QRectF &bounds);
void DrawChartLabel(QPainter &painter, const QRectF &box, const QString &text, QColor backing);

class Chart : public QWidget {
  Q_OBJECT
public:
  // The captions in English or Russian (at first English).
  void SetRussian(bool russian);

protected:
  Chart(const QString &objectName, QWidget *parent);

  bool russian() const { return russian_; }
  QString Text(const Bilingual &text) const { return text.In(russian_); }

private:
  bool russian_ = false;
};

// A chart of the Sun's day, which shows the present moment while tracking.
class SunDayChart : public Chart {
  Q_OBJECT
public:
  // The Sun now, while tracking; none in manual mode.
  void SetPresent(std::optional<SunSample> present);
  // The Moon now, while tracking; none in manual mode.
  void SetMoonPresent(std::optional<SunSample> present);

protected:
  using Chart::Chart;

  const std::optional<SunSample> &present() const { return present_; }
  const std::optional<SunSample> &moonPresent() const { return moonPresent_; }

private:
  std::optional<SunSample> present_, moonPresent_;
};

} // namespace ostrel
