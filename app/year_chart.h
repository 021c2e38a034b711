// SPDX-License-Identifier: GPL-3.0-or-later
// The year's daylight and twilight as a chart (YearChart): the dates of the
// year across, the local time of day from 0 h at the bottom to 24 h at the
// top.  Each date is a column of bands, night, astronomical, nautical and
// civil twilight and daylight, cut where the date's events put them; the
// sunrise and sunset curves run over the bands and the main window's date
// is marked by a vertical line.  Along the top of the bands each new moon
// is a dark disc and each full moon a light one, at the local dates on
// which they fall at the site's offset from UT.
//
// The chart draws the very events that the year table shows (FindDayEvents
// of each date) and the core's quarters (QuartersOnDates); it computes no
// place of the Sun or the Moon itself.
#pragma once

#include <QColor>

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "app/chart.h"
#include "core/day/day_events.h"
#include "core/moon/moon_quarter_dates.h"

namespace ostrel {

// One date of the year with its events (DayEventSet::Twilights).
struct YearDay {
  CivilDate date;
  DayEvents events;
};

// The sky of a moment by the Sun's altitude: night below -18 degrees,
// astronomical twilight from -18, nautical from -12, civil from -6,
// daylight from sunrise to sunset.
enum class SkyBand { Night, Astronomical, Nautical, Civil, Daylight };

// The fill of a band on the chart.  Fixed, not from the palette: the bands
// stand for the sky and read the same in a light and a dark theme.
QColor BandColour(SkyBand band);

// Local hours of the date, from <= to, within 0 to 24.
struct HourSpan {
  double from = 0;
  double to = 0;
};

// The hours of the date during which the Sun is above a level, from the
// level's first rising and first setting on the date: the whole date when
// it never goes below, none when it never comes up, and where one crossing
// falls on the date before or after, the span runs to the date's edge.  A
// setting before the rising (a night that lies inside the date) gives the
// two spans on either side of it.
std::vector<HourSpan> HoursAbove(const DayMoment &rising, const DayMoment &setting);

class YearChart : public Chart {
  Q_OBJECT
public:
  explicit YearChart(QWidget *parent = nullptr);

  // The dates of one year in order from 1 January (none: an empty chart).
  void SetDays(std::span<const YearDay> days);
  // The date to mark; none, or a date of another year, marks nothing.
  void SetToday(std::optional<CivilDate> today);
  // The Moon's quarters of the year; the new and full moons among them
  // that fall on a date of the days shown are marked, the rest left out.
  // Call after SetDays, which clears them.
  void SetMoonQuarters(std::span<const QuarterOnDate> quarters);

  // A new or full moon as marked: the date's index (0 for 1 January).
  struct MoonMark {
    int dayIndex = 0;
    bool full = false; // else a new moon
  };
  const std::vector<MoonMark> &moonMarks() const { return moonMarks_; }
  // The centre of the disc of a moon mark on date `dayIndex`, in the
  // widget's coordinates (logical pixels).
  QPointF MoonMarkPoint(int dayIndex) const;

  // Where the middle of the column of date `dayIndex` (0 for 1 January) is
  // drawn at `localHours`, in the widget's coordinates (logical pixels).
  QPointF PointOf(int dayIndex, double localHours) const;

  QSize sizeHint() const override { return {720, 360}; }
  QSize minimumSizeHint() const override { return {320, 180}; }

protected:
  // The layers from the bottom up, each a step below.
  void paintEvent(QPaintEvent *event) override;

private:
  // A date as drawn: the spans above each level, in the order of the
  // bands from astronomical twilight to daylight, and sunrise and sunset
  // in local hours where they happen.
  struct Column {
    std::array<std::vector<HourSpan>, 4> above;
    std::optional<double> sunrise, sunset;
  };
  // Where the parts go at the widget's present size and font.
  struct Frame {
    QRectF plot;                   // the bands' area
    std::vector<QPointF> legendAt; // the top left of each legend entry
  };
  Frame Layout() const;
  int DaysShown() const;
  // The width of a date's column in `plot`.
  qreal DayWidth(const QRectF &plot) const;

  void DrawLegend(QPainter &painter, const Frame &frame) const;
  void DrawBands(QPainter &painter, const QRectF &plot) const;
  void DrawSunCurves(QPainter &painter, const QRectF &plot) const;
  void DrawToday(QPainter &painter, const QRectF &plot) const;
  void DrawMoonMarks(QPainter &painter, const QRectF &plot) const;
  void DrawAxes(QPainter &painter, const QRectF &plot) const;

  std::vector<Column> columns_;
  int year_ = 0;
  std::optional<int> todayIndex_;
  std::vector<MoonMark> moonMarks_;
};

} // namespace ostrel
