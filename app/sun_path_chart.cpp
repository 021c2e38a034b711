// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sun_path_chart.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/sun/angles.h"

namespace ostrel {
namespace {

// The cardinal points written inside the rim, from north through east.
constexpr Bilingual kCardinals[] = {{"N", "С"}, {"E", "В"}, {"S", "Ю"}, {"W", "З"}};
constexpr Bilingual kOrientation{"Seen from below: north up, east left",
                                 "Вид снизу: север вверху, восток слева"};

constexpr int kRimStepDeg = 30;

// The azimuth written on the rim, degrees, in the main window's convention,
// so that the rim and the window's azimuth read alike (from the south, due
// south is 360 there too).
int RimAzimuth(int fromNorthDeg, std::int16_t mode) { return AzimuthInConvention(fromNorthDeg, mode); }

// Where an altitude and azimuth fall on the chart: the distance from the
// centre is radius * (90 - altitude) / 90, so below the horizon the point
// lies outside the rim; east is on the left.
QPointF Project(const QPointF &centre, double radius, double altitudeDeg, double azimuthDeg) {
  const double r = radius * (90 - altitudeDeg) / 90;
  const double a = azimuthDeg * std::numbers::pi / 180;
  return {centre.x() - r * std::sin(a), centre.y() - r * std::cos(a)};
}

// The parts of a path above the horizon, each ended where it meets the
// rim.  The crossing is found between two samples a few minutes apart, close
// enough for a straight line between their points.
std::vector<QPolygonF> PartsAbove(const std::vector<SunSample> &samples, const QPointF &centre,
                                  double radius) {
  std::vector<QPolygonF> parts;
  QPolygonF part;
  const auto point = [&](const SunSample &s) {
    return Project(centre, radius, s.altitudeDeg, s.azimuthDeg);
  };
  const auto crossing = [&](const SunSample &a, const SunSample &b) {
    const double f = a.altitudeDeg / (a.altitudeDeg - b.altitudeDeg);
    return point(a) + f * (point(b) - point(a));
  };
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const SunSample &s = samples[i];
    if (s.altitudeDeg >= 0) {
      if (part.isEmpty() && i > 0)
        part << crossing(samples[i - 1], s);
      part << point(s);
    } else if (!part.isEmpty()) {
      part << crossing(samples[i - 1], s);
      parts.push_back(part);
      part.clear();
    }
  }
  if (!part.isEmpty())
    parts.push_back(part);
  return parts;
}

} // namespace

SunPathChart::SunPathChart(QWidget *parent) : SunDayChart(QStringLiteral("SunPath"), parent) {
  setMinimumSize(300, 300);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SunPathChart::SetPaths(std::vector<SunSample> day, std::vector<ComparedPath> compared,
                            std::vector<DayMark> marks) {
  day_ = std::move(day);
  compared_ = std::move(compared);
  marks_ = std::move(marks);
  update();
}

void SunPathChart::SetAzimuthMode(std::int16_t mode) {
  azimuthMode_ = mode;
  update();
}

QStringList SunPathChart::rimLabels() const {
  QStringList labels;
  for (int azimuth = 0; azimuth < 360; azimuth += kRimStepDeg)
    labels << QString::number(RimAzimuth(azimuth, azimuthMode_));
  return labels;
}

void SunPathChart::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPalette &colours = palette();
  const QColor ink = colours.color(QPalette::Text);
  painter.fillRect(rect(), colours.color(QPalette::Window));

  const QFontMetricsF metrics(font());
  const QStringList labels = rimLabels();
  double labelWidth = 0;
  for (const QString &label : labels)
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label + QChar(0x00B0)));
  const double legend = metrics.height() + 4;
  const double radius =
      std::max(10.0, std::min((width() - 2 * (labelWidth + 12)) / 2,
                              (height() - legend - 2 * (metrics.height() + 12)) / 2));
  const QPointF centre(width() / 2.0, (height() - legend) / 2.0);
  const auto at = [&](double altitudeDeg, double azimuthDeg) {
    return Project(centre, radius, altitudeDeg, azimuthDeg);
  };

  // The sky, its altitude circles every 30 degrees and the azimuths of the
  // rim labels.
  painter.setPen(Qt::NoPen);
  painter.setBrush(colours.color(QPalette::Base));
  painter.drawEllipse(centre, radius, radius);
  QColor gridColour = ink;
  gridColour.setAlpha(60);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(gridColour, 1, Qt::DotLine));
  for (int altitude = 30; altitude < 90; altitude += 30) {
    const double r = radius * (90 - altitude) / 90;
    painter.drawEllipse(centre, r, r);
    painter.drawText(at(altitude, 0) + QPointF(3, -2), QString::number(altitude) + QChar(0x00B0));
  }
  for (int azimuth = 0; azimuth < 360; azimuth += kRimStepDeg)
    painter.drawLine(centre, at(0, azimuth));
  painter.setPen(QPen(ink, 1.5));
  painter.drawEllipse(centre, radius, radius);

  // The rim labels outside, each box just clear of its tick, the cardinal
  // points inside.
  painter.setPen(ink);
  for (int i = 0; i < labels.size(); ++i) {
    const double a = i * kRimStepDeg * std::numbers::pi / 180;
    const QPointF outward(-std::sin(a), -std::cos(a));
    painter.drawLine(centre + radius * outward, centre + (radius + 5) * outward);
    const QString shown = labels[i] + QChar(0x00B0);
    const QSizeF size(metrics.horizontalAdvance(shown) + 2, metrics.height());
    const double reach = std::abs(outward.x()) * size.width() / 2 + std::abs(outward.y()) * size.height() / 2;
    const QPointF middle = centre + (radius + 7 + reach) * outward;
    painter.drawText(QRectF(middle - QPointF(size.width() / 2, size.height() / 2), size), Qt::AlignCenter,
                     shown);
  }
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  for (int i = 0; i < 4; ++i) {
    const QPointF inside = at(8, i * 90);
    painter.drawText(QRectF(inside - QPointF(15, metrics.height() / 2), QSizeF(30, metrics.height())),
                     Qt::AlignCenter, Text(kCardinals[i]));
  }
  painter.setFont(font());
  painter.drawText(QRectF(4, height() - legend, width() - 8, legend), Qt::AlignLeft | Qt::AlignVCenter,
                   Text(kOrientation));

  // The compared paths, thin and dashed, each named at its highest point,
  // and the marks on the paths, in a smaller type.
  QFont small = font();
  if (small.pointSizeF() > 0)
    small.setPointSizeF(small.pointSizeF() * 0.85);
  else
    small.setPixelSize(std::max(1, small.pixelSize() * 17 / 20));
  painter.setFont(small);
  const QFontMetricsF smallMetrics(small);
  QColor comparedColour = ink;
  comparedColour.setAlpha(150);
  for (const ComparedPath &path : compared_) {
    painter.setPen(QPen(comparedColour, 1, Qt::DashLine));
    for (const QPolygonF &part : PartsAbove(path.samples, centre, radius))
      painter.drawPolyline(part);
    const auto highest = std::max_element(path.samples.begin(), path.samples.end(),
                                          [](const SunSample &a, const SunSample &b) {
                                            return a.altitudeDeg < b.altitudeDeg;
                                          });
    if (highest != path.samples.end() && highest->altitudeDeg >= 0) {
      painter.setPen(comparedColour);
      const QString name = Text(path.name);
      DrawChartLabel(painter,
                     ChartLabelBox(smallMetrics, at(highest->altitudeDeg, highest->azimuthDeg), name,
                                   Qt::AlignBottom, rect()),
                     name, colours.color(QPalette::Base));
    }
  }

  // The date's path with its whole hours.
  painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  for (const QPolygonF &part : PartsAbove(day_, centre, radius))
    painter.drawPolyline(part);
  std::optional<QPointF> lastLabel;
  for (const SunSample &s : day_) {
    if (s.altitudeDeg < 0 || std::abs(s.hours - std::round(s.hours)) > 1e-6)
      continue;
    const QPointF point = at(s.altitudeDeg, s.azimuthDeg);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(point, 2.5, 2.5);
    const QString hour = QString::number(std::lround(s.hours));
    // Near the poles the hours crowd together: a label that would touch the
    // last one is left out.
    if (lastLabel && QLineF(*lastLabel, point).length() < smallMetrics.horizontalAdvance(QStringLiteral("00")) + 6)
      continue;
    painter.setPen(ink);
    DrawChartLabel(painter, ChartLabelBox(smallMetrics, point, hour, Qt::AlignTop, rect()), hour,
                   colours.color(QPalette::Base));
    lastLabel = point;
  }

  // Rising and setting on the rim: the Sun's centre is then 0.83 degrees
  // below the true horizon, less than two pixels at this scale.
  for (const DayMark &mark : marks_) {
    const QPointF point = at(0, mark.at.azimuthDeg);
    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(QColor(245, 160, 20));
    painter.drawEllipse(point, 4.5, 4.5);
    const QPointF inward = at(12, mark.at.azimuthDeg);
    DrawChartLabel(painter, ChartLabelBox(smallMetrics, inward, mark.text, Qt::AlignCenter, rect()),
                   mark.text, colours.color(QPalette::Base));
  }
  painter.setFont(font());

  // The Sun now: on its path above the horizon, as a hollow mark at its
  // azimuth on the rim below it.
  if (present()) {
    const QColor now = colours.color(QPalette::Highlight);
    painter.setPen(QPen(ink, 1.2));
    if (present()->altitudeDeg >= 0) {
      painter.setBrush(now);
      painter.drawEllipse(at(present()->altitudeDeg, present()->azimuthDeg), 6, 6);
    } else {
      painter.setPen(QPen(now, 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(at(0, present()->azimuthDeg), 6, 6);
    }
  }
}

} // namespace ostrel
