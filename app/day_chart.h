// SPDX-License-Identifier: GPL-3.0-or-later
// DayChart: the Sun's true altitude over one local date, 00:00 to 24:00,
// over horizontal bands of night, the three twilights, the blue and golden
// hours and daylight, with the horizon, an hour grid, sunrise, sunset and
// culmination marked with their times, and the present moment while
// tracking; over it the Moon's altitude, dashed in MoonInk, with moonrise,
// moonset and the transit marked, and the Moon now while tracking.  For an
// observer, the apparent altitude of the horizon under the Sun at each
// moment (the skyline at its azimuth, or the dipped horizon) is a line with
// the ground shaded below it.
#pragma once

#include <QRectF>

#include <vector>

#include "app/chart.h"

namespace ostrel {

class DayChart : public SunDayChart {
  Q_OBJECT
public:
  explicit DayChart(QWidget *parent = nullptr);

  // The samples of the date in time order and the marks; empty clears the
  // chart.
  void SetDay(std::vector<SunSample> samples, std::vector<DayMark> marks);
  // The Moon's samples of the date in time order and its marks (Moonrise,
  // Moonset, MoonTransit); empty draws no Moon.
  void SetMoon(std::vector<SunSample> samples, std::vector<DayMark> marks);
  // The observer's horizon under the Sun through the day (altitudeDeg the
  // horizon's, in time order); empty draws none.
  void SetHorizon(std::vector<SunSample> horizon);
  const std::vector<SunSample> &horizon() const { return horizon_; }

  QSize sizeHint() const override { return {560, 320}; }

protected:
  // The layers from the bottom up, each a step below.
  void paintEvent(QPaintEvent *event) override;

private:
  // Where the plot lies at the present size and font, and where an hour
  // and an altitude fall in it.
  struct Plot;
  Plot PlotOf() const;

  void DrawBands(QPainter &painter, const Plot &plot) const;
  void DrawGrid(QPainter &painter, const Plot &plot) const;
  // The boxes of the marks' times, which the band names keep clear of.
  std::vector<QRectF> MarkBoxes(const Plot &plot) const;
  void DrawBandNames(QPainter &painter, const Plot &plot, const std::vector<QRectF> &markBoxes) const;
  void DrawAxes(QPainter &painter, const Plot &plot) const;
  void DrawCurve(QPainter &painter, const Plot &plot) const;
  void DrawHorizon(QPainter &painter, const Plot &plot) const;
  void DrawMoonCurve(QPainter &painter, const Plot &plot) const;
  // The Sun's marks, then the Moon's, in the order of MarkBoxes.
  void DrawMarks(QPainter &painter, const Plot &plot, const std::vector<QRectF> &markBoxes) const;
  void DrawPresent(QPainter &painter, const Plot &plot) const;

  std::vector<SunSample> samples_;
  std::vector<DayMark> marks_;
  std::vector<SunSample> moonSamples_;
  std::vector<DayMark> moonMarks_;
  std::vector<SunSample> horizon_;
};

} // namespace ostrel
