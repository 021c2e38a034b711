// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/year_chart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iterator>

namespace ostrel {
namespace {

constexpr double kHoursPerDay = 24;
constexpr int kHourLabelStep = 3; // hours between the labels of the time axis
// Neighbouring dates whose sunrise (or sunset) differ by more than this
// many hours are not joined: the event has wrapped past midnight or
// appears after a polar day or night, and a line would cross the chart.
constexpr double kCurveGapHours = 3;

struct Band {
  SkyBand band;
  QRgb fill;
  Bilingual name;
};

// The legend's order, from the Sun highest to lowest.  Light sky pale,
// night dark, so that the year's shape reads without the legend.
constexpr Band kBands[] = {
    {SkyBand::Daylight, 0xffe9a6, {"Daylight", "День"}},
    {SkyBand::Civil, 0x79a6de, {"Civil twilight", "Гражданские сумерки"}},
    {SkyBand::Nautical, 0x3b62a8, {"Nautical twilight", "Навигационные сумерки"}},
    {SkyBand::Astronomical, 0x213a6c, {"Astronomical twilight", "Астрономические сумерки"}},
    {SkyBand::Night, 0x0c1730, {"Night", "Ночь"}},
};

// Lines over the bands: strong enough on pale daylight and on dark night.
constexpr QRgb kSunCurveColour = 0xe8590c;
constexpr QRgb kTodayColour = 0xe0102f;
// The moon marks: the new moon dark with a light rim, the full moon light
// with a dark rim, as almanacs print them, each readable on any band.
constexpr QRgb kMoonLight = 0xf8f6ea;
constexpr QRgb kMoonDark = 0x1a1a22;

constexpr Bilingual kSunCurves{"Sunrise and sunset", "Восход и заход"};
constexpr Bilingual kToday{"Date calculated", "Дата расчёта"};
constexpr Bilingual kNewMoon{"New moon", "Новолуние"};
constexpr Bilingual kFullMoon{"Full moon", "Полнолуние"};
constexpr Bilingual kDateAxis{"Date", "Дата"};
constexpr Bilingual kTimeAxis{"Local time, h", "Местное время, ч"};
constexpr Bilingual kMonths[12] = {
    {"Jan", "янв"}, {"Feb", "фев"}, {"Mar", "мар"}, {"Apr", "апр"}, {"May", "май"}, {"Jun", "июн"},
    {"Jul", "июл"}, {"Aug", "авг"}, {"Sep", "сен"}, {"Oct", "окт"}, {"Nov", "ноя"}, {"Dec", "дек"},
};

struct LegendEntry {
  enum Sample { Swatch, Line, NewMoonDisc, FullMoonDisc };
  QString text;
  QColor colour;
  Sample sample;
};

// A moon mark's disc: the new moon's or the full moon's.
void DrawMoonDisc(QPainter &painter, QPointF centre, qreal radius, bool full) {
  painter.setPen(QPen(QColor(full ? kMoonDark : kMoonLight), 1.2));
  painter.setBrush(QColor(full ? kMoonLight : kMoonDark));
  painter.drawEllipse(centre, radius, radius);
}

// The radius of a moon mark, a third of a line of text.
qreal MoonRadius(qreal line) { return std::max<qreal>(3, std::round(line / 3)); }

std::vector<LegendEntry> Legend(bool russian) {
  std::vector<LegendEntry> entries(std::size(kBands));
  std::transform(
      std::begin(kBands), std::end(kBands), entries.begin(), [russian](const Band &band) {
        return LegendEntry{band.name.In(russian), QColor(band.fill), LegendEntry::Swatch};
      });
  entries.push_back({kSunCurves.In(russian), QColor(kSunCurveColour), LegendEntry::Line});
  entries.push_back({kToday.In(russian), QColor(kTodayColour), LegendEntry::Line});
  entries.push_back({kNewMoon.In(russian), QColor(kMoonDark), LegendEntry::NewMoonDisc});
  entries.push_back({kFullMoon.In(russian), QColor(kMoonLight), LegendEntry::FullMoonDisc});
  return entries;
}

// Days from 1 January of the date's year to the date.
int DayOfYearIndex(int year, int month, int day) {
  namespace chrono = std::chrono;
  const chrono::sys_days date{chrono::year{year} / chrono::month{unsigned(month)} /
                              chrono::day{unsigned(day)}};
  const chrono::sys_days first{chrono::year{year} / chrono::January / 1};
  return int((date - first).count());
}

// Every length follows the font: a line of text, the padding between the
// parts and the length of an axis tick, logical pixels.
struct Spacing {
  QFontMetricsF metrics;
  qreal line, pad, tick;
};

Spacing SpacingOf(const QFont &font) {
  const QFontMetricsF metrics(font);
  const qreal line = metrics.height();
  return {metrics, line, std::round(line / 2), std::round(line / 3)};
}

// Where a local time of day falls in the plot: 0 h at the bottom.
qreal HoursY(const QRectF &plot, double hours) {
  return plot.bottom() - hours / kHoursPerDay * plot.height();
}

} // namespace

QColor BandColour(SkyBand band) {
  const auto *row = std::find_if(std::begin(kBands), std::end(kBands),
                                 [band](const Band &candidate) { return candidate.band == band; });
  return row != std::end(kBands) ? QColor(row->fill) : QColor();
}

std::vector<HourSpan> HoursAbove(const DayMoment &rising, const DayMoment &setting) {
  for (const DayMoment *moment : {&rising, &setting}) {
    if (moment->absence == Absence::AlwaysAbove)
      return {{0, kHoursPerDay}};
    if (moment->absence == Absence::AlwaysBelow)
      return {};
  }
  if (rising.happens() && setting.happens()) {
    if (rising.seconds <= setting.seconds)
      return {{LocalHours(rising), LocalHours(setting)}};
    return {{0, LocalHours(setting)}, {LocalHours(rising), kHoursPerDay}};
  }
  if (rising.happens())
    return {{LocalHours(rising), kHoursPerDay}};
  if (setting.happens())
    return {{0, LocalHours(setting)}};
  return {};
}

YearChart::YearChart(QWidget *parent) : Chart(QStringLiteral("YearChart"), parent) {}

void YearChart::SetDays(std::span<const YearDay> days) {
  columns_.clear();
  columns_.reserve(days.size());
  const auto hours = [](const DayMoment &moment) {
    return moment.happens() ? std::optional<double>(LocalHours(moment)) : std::nullopt;
  };
  for (const YearDay &day : days) {
    const DayEvents &e = day.events;
    columns_.push_back({{HoursAbove(e.astronomicalDawn, e.astronomicalDusk),
                         HoursAbove(e.nauticalDawn, e.nauticalDusk),
                         HoursAbove(e.civilDawn, e.civilDusk), HoursAbove(e.sunrise, e.sunset)},
                        hours(e.sunrise),
                        hours(e.sunset)});
  }
  year_ = days.empty() ? 0 : days.front().date.year;
  todayIndex_.reset();
  moonMarks_.clear();
  update();
}

void YearChart::SetMoonQuarters(std::span<const QuarterOnDate> quarters) {
  moonMarks_.clear();
  for (const QuarterOnDate &q : quarters) {
    if ((q.quarter != MoonQuarter::NewMoon && q.quarter != MoonQuarter::FullMoon) ||
        q.date.year != year_)
      continue;
    const int at = DayOfYearIndex(q.date.year, q.date.month, q.date.day);
    if (at >= 0 && at < int(columns_.size()))
      moonMarks_.push_back({at, q.quarter == MoonQuarter::FullMoon});
  }
  update();
}

QPointF YearChart::MoonMarkPoint(int dayIndex) const {
  const QRectF plot = Layout().plot;
  const qreal radius = MoonRadius(SpacingOf(font()).line);
  return {plot.left() + (dayIndex + 0.5) * plot.width() / DaysShown(), plot.top() - radius - 2};
}

void YearChart::SetToday(std::optional<CivilDate> today) {
  std::optional<int> index;
  if (today && year_ != 0 && today->year == year_) {
    const int at = DayOfYearIndex(today->year, today->month, today->day);
    if (at >= 0 && at < int(columns_.size()))
      index = at;
  }
  if (index != todayIndex_) {
    todayIndex_ = index;
    update();
  }
}

int YearChart::DaysShown() const { return columns_.empty() ? 365 : int(columns_.size()); }

qreal YearChart::DayWidth(const QRectF &plot) const { return plot.width() / DaysShown(); }

// The legend flows in rows across the top; the time labels and the axis
// title stand left of the bands, the month names and the date title below.
// Every length follows the font, so the chart keeps its shape at any size
// and device pixel ratio.
YearChart::Frame YearChart::Layout() const {
  const auto [metrics, line, pad, tick] = SpacingOf(font());
  Frame frame;
  qreal x = pad, y = pad;
  for (const LegendEntry &entry : Legend(russian())) {
    const qreal entryWidth = line + pad / 2 + metrics.horizontalAdvance(entry.text);
    if (x > pad && x + entryWidth > width() - pad) {
      x = pad;
      y += line + pad / 2;
    }
    frame.legendAt.emplace_back(x, y);
    x += entryWidth + 1.5 * pad;
  }
  const qreal hourLabel = metrics.horizontalAdvance(QStringLiteral("24"));
  // A strip above the bands holds the moon marks, on the window's
  // background as in the legend, so that dark and light discs read the same
  // there and over the night or daylight bands.
  const qreal moonStrip = 2 * MoonRadius(line) + 4;
  const QPointF topLeft(pad + line + pad + hourLabel + tick, y + line + pad + moonStrip);
  const QPointF bottomRight(width() - pad - hourLabel / 2, height() - pad - 2 * line - tick);
  frame.plot = QRectF(topLeft, bottomRight);
  return frame;
}

QPointF YearChart::PointOf(int dayIndex, double localHours) const {
  const QRectF plot = Layout().plot;
  return {plot.left() + (dayIndex + 0.5) * plot.width() / DaysShown(), HoursY(plot, localHours)};
}

void YearChart::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const Frame frame = Layout();
  painter.setRenderHint(QPainter::Antialiasing, true);
  DrawLegend(painter, frame);
  const QRectF &plot = frame.plot;
  if (plot.width() < 2 || plot.height() < 2)
    return;
  // The bands and the lines over them stay inside the plot.
  painter.save();
  painter.setClipRect(plot);
  DrawBands(painter, plot);
  DrawSunCurves(painter, plot);
  DrawToday(painter, plot);
  painter.restore();
  DrawAxes(painter, plot);
  DrawMoonMarks(painter, plot);
}

// A sample of each band's fill or each line's colour, and its name.
void YearChart::DrawLegend(QPainter &painter, const Frame &frame) const {
  const auto [metrics, line, pad, tick] = SpacingOf(font());
  const QColor ink = palette().color(QPalette::WindowText);
  const std::vector<LegendEntry> legend = Legend(russian());
  for (std::size_t i = 0; i < legend.size(); ++i) {
    const QRectF sample(frame.legendAt[i], QSizeF(line, line));
    switch (legend[i].sample) {
    case LegendEntry::Line:
      painter.setPen(QPen(legend[i].colour, 2));
      painter.drawLine(QPointF(sample.left(), sample.center().y()),
                       QPointF(sample.right(), sample.center().y()));
      break;
    case LegendEntry::Swatch:
      painter.setPen(QPen(ink, 1));
      painter.setBrush(legend[i].colour);
      painter.drawRect(sample.adjusted(1.5, 1.5, -1.5, -1.5));
      break;
    case LegendEntry::NewMoonDisc:
    case LegendEntry::FullMoonDisc:
      DrawMoonDisc(painter, sample.center(), MoonRadius(line),
                   legend[i].sample == LegendEntry::FullMoonDisc);
      break;
    }
    painter.setPen(ink);
    painter.drawText(QPointF(sample.right() + pad / 2, sample.top() + metrics.ascent()),
                     legend[i].text);
  }
}

// Each date's column from the bottom up, night first and each higher level
// over it.  A column reaches half a pixel into the next, which is drawn
// after it, so that no seam shows where a scaled picture smooths the edges.
void YearChart::DrawBands(QPainter &painter, const QRectF &plot) const {
  const qreal step = DayWidth(plot);
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const qreal left = plot.left() + qreal(i) * step;
    const qreal columnWidth = step + 0.5;
    painter.fillRect(QRectF(left, plot.top(), columnWidth, plot.height()),
                     BandColour(SkyBand::Night));
    for (std::size_t level = 0; level < columns_[i].above.size(); ++level) {
      const QColor fill = BandColour(SkyBand(int(SkyBand::Astronomical) + int(level)));
      for (const HourSpan &span : columns_[i].above[level])
        painter.fillRect(QRectF(QPointF(left, HoursY(plot, span.to)),
                                QPointF(left + columnWidth, HoursY(plot, span.from))),
                         fill);
    }
  }
}

// Sunrise and sunset through the year, broken where neighbouring dates lie
// too far apart to join.
void YearChart::DrawSunCurves(QPainter &painter, const QRectF &plot) const {
  const qreal step = DayWidth(plot);
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (std::optional<double> Column::*event : {&Column::sunrise, &Column::sunset}) {
    QPainterPath path;
    std::optional<double> previous;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const std::optional<double> hours = columns_[i].*event;
      if (hours) {
        const QPointF at(plot.left() + (qreal(i) + 0.5) * step, HoursY(plot, *hours));
        if (previous && std::fabs(*hours - *previous) < kCurveGapHours)
          path.lineTo(at);
        else
          path.moveTo(at);
      }
      previous = hours;
    }
    painter.strokePath(path, QPen(QColor(kSunCurveColour), 1.5));
  }
}

// The main window's date as a vertical line.
void YearChart::DrawToday(QPainter &painter, const QRectF &plot) const {
  if (!todayIndex_)
    return;
  const qreal x = plot.left() + (*todayIndex_ + 0.5) * DayWidth(plot);
  painter.setPen(QPen(QColor(kTodayColour), 2));
  painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
}

// A disc above each new and full moon's column.
void YearChart::DrawMoonMarks(QPainter &painter, const QRectF &plot) const {
  const qreal radius = MoonRadius(SpacingOf(font()).line);
  const qreal step = DayWidth(plot);
  for (const MoonMark &mark : moonMarks_)
    DrawMoonDisc(painter, QPointF(plot.left() + (mark.dayIndex + 0.5) * step, plot.top() - radius - 2),
                 radius, mark.full);
}

// The frame, the hours on the left and the months below, and the titles,
// in the palette's text colour, readable in a light and a dark theme alike.
void YearChart::DrawAxes(QPainter &painter, const QRectF &plot) const {
  const auto [metrics, line, pad, tick] = SpacingOf(font());
  const qreal step = DayWidth(plot);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
  for (int hour = 0; hour <= kHoursPerDay; hour += kHourLabelStep) {
    const qreal y = HoursY(plot, hour);
    painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
    painter.drawText(QRectF(0, y - line / 2, plot.left() - tick - 2, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(hour));
  }
  if (year_ != 0) {
    for (int month = 1; month <= 12; ++month) {
      const qreal from = plot.left() + DayOfYearIndex(year_, month, 1) * step;
      const qreal to =
          month == 12 ? plot.right() : plot.left() + DayOfYearIndex(year_, month + 1, 1) * step;
      painter.drawLine(QPointF(from, plot.bottom()), QPointF(from, plot.bottom() + tick));
      const QString name = Text(kMonths[month - 1]);
      if (metrics.horizontalAdvance(name) <= to - from)
        painter.drawText(QRectF(from, plot.bottom() + tick, to - from, line), Qt::AlignCenter,
                         name);
    }
  }
  const QString dateTitle =
      year_ != 0 ? QStringLiteral("%1, %2").arg(Text(kDateAxis)).arg(year_) : Text(kDateAxis);
  painter.drawText(QRectF(plot.left(), plot.bottom() + tick + line, plot.width(), line),
                   Qt::AlignCenter, dateTitle);
  painter.save();
  painter.translate(pad, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), line), Qt::AlignCenter,
                   Text(kTimeAxis));
  painter.restore();
}

} // namespace ostrel
