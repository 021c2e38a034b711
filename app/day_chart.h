// SPDX-License-Identifier: GPL-3.0-or-later
// DayChart: the Sun's true altitude over one local date, 00:00 to 24:00,
// over horizontal bands of night, the three twilights, the blue and golden
// hours and daylight, with the horizon, an hour grid, sunrise, sunset and
// culmination marked with their times, and the present moment while
// tracking.
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

  QSize sizeHint() const override { return {560, 320}; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  std::vector<SunSample> samples_;
  std::vector<DayMark> marks_;
};

} // namespace ostrel
