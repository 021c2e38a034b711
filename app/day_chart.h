// SPDX-License-Identifier: GPL-3.0-or-later
// DayChart: the Sun's true altitude over one local date, 00:00 to 24:00,
// over horizontal bands of night, the three twilights, the blue and golden
// hours and daylight, with the horizon, an hour grid, sunrise, sunset and
// culmination marked with their times, and the present moment while
// tracking.
//
// The chart draws what it is given: the window asks the core for the
// samples and the moments, the chart only places them.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

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

// The box of `text` beside `anchor` on the side `where` (a corner of the
// box touches the anchor; centred on an axis not named), moved inside
// `bounds`; and the text drawn in such a box on a translucent backing of
// `backing`, so that it reads over bands and curves.  Both of the day's
// charts label their marks so.
QRectF ChartLabelBox(const QFontMetricsF &metrics, QPointF anchor, const QString &text,
                     Qt::Alignment where, const QRectF &bounds);
void DrawChartLabel(QPainter &painter, const QRectF &box, const QString &text, QColor backing);

class DayChart : public QWidget {
  Q_OBJECT
public:
  explicit DayChart(QWidget *parent = nullptr);

  // The samples of the date in time order and the marks; empty clears the
  // chart.
  void SetDay(std::vector<SunSample> samples, std::vector<DayMark> marks);
  // The Sun now, while tracking; none in manual mode.
  void SetPresent(std::optional<SunSample> present);
  void SetRussian(bool russian);

  QSize sizeHint() const override { return {560, 320}; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  std::vector<SunSample> samples_;
  std::vector<DayMark> marks_;
  std::optional<SunSample> present_;
  bool russian_ = false;
};

} // namespace ostrel
