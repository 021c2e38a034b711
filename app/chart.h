// SPDX-License-Identifier: GPL-3.0-or-later
// What the charts of the day and year windows share: the language of their
// captions (Chart); the Sun's samples and marks of one day and the present
// moment, which the day's two charts draw (SunDayChart); and the labels
// they write on a backing over bands and curves.
//
// A chart draws what it is given: its window asks the core for the events
// and the samples, the chart only places them.
#pragma once

#include <QColor>
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

// The Sun at one moment of the local date, as the charts draw it.
struct SunSample {
  double hours = 0;       // local civil hours from 00:00 of the date
  double altitudeDeg = 0; // true altitude of the centre
  double azimuthDeg = 0;  // from north through east, 0 to 360
};

// A named moment of the day drawn on a chart.
struct DayMark {
  enum Kind { Sunrise, Sunset, Culmination };
  Kind kind = Sunrise;
  SunSample at;
  QString text; // what the chart writes beside the mark
};

// The local civil hours from 00:00 of the date at which a moment of the
// day falls (its seconds as the core counts them).
inline double LocalHours(const DayMoment &moment) { return moment.seconds / 3600.0; }

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

protected:
  using Chart::Chart;

  const std::optional<SunSample> &present() const { return present_; }

private:
  std::optional<SunSample> present_;
};

} // namespace ostrel
