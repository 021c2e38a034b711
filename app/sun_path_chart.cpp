// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sun_path_chart.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "core/sun/angles.h"

namespace ostrel {
namespace {

// The cardinal points written inside the rim, from north through east.
constexpr Bilingual kCardinals[] = {{"N", "С"}, {"E", "В"}, {"S", "Ю"}, {"W", "З"}};
constexpr Bilingual kOrientation{"Seen from below: north up, east left",
                                 "Вид снизу: север вверху, восток слева"};

constexpr Bilingual kMoonAtNoon{"Moon at 12:00", "Луна в 12:00"};

constexpr int kRimStepDeg = 30;

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

// The rim's labels stand outside it and the orientation line below; the
// names of the paths, their hours and the marks are set in a smaller type.
struct SunPathChart::Sky {
  QFontMetricsF metrics;
  QStringList labels; // rimLabels()
  double legend;      // the height of the orientation line, pixels
  double radius;      // of the horizon, pixels
  QPointF centre;
  QFont small;
  QFontMetricsF smallMetrics;

  QPointF At(double altitudeDeg, double azimuthDeg) const {
    return Project(centre, radius, altitudeDeg, azimuthDeg);
  }
};

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

void SunPathChart::SetMoon(std::vector<SunSample> samples, std::vector<DayMark> marks,
                           std::optional<MoonPhaseLook> phase) {
  moon_ = std::move(samples);
  moonMarks_ = std::move(marks);
  moonPhase_ = phase;
  update();
}

void SunPathChart::SetAzimuth(std::optional<double> azimuthDeg, std::vector<SunSample> passages) {
  azimuthDeg_ = azimuthDeg;
  azimuthPassages_ = std::move(passages);
  update();
}

void SunPathChart::SetShadow(std::optional<Shadow> shadow) {
  shadow_ = shadow;
  update();
}

void SunPathChart::SetHorizon(std::vector<HorizonPoint> skyline, std::optional<double> dipDeg) {
  skyline_ = std::move(skyline);
  dipDeg_ = dipDeg;
  update();
}

void SunPathChart::SetAzimuthMode(std::int16_t mode) {
  azimuthMode_ = mode;
  update();
}

// In the main window's convention, so that the rim and the window's azimuth
// read alike (from the south, due south is 360 there too).
QStringList SunPathChart::rimLabels() const {
  QStringList labels;
  for (int rimAzimuth = 0; rimAzimuth < 360; rimAzimuth += kRimStepDeg)
    labels << QString::number(AzimuthInConvention(rimAzimuth, azimuthMode_));
  return labels;
}

SunPathChart::Sky SunPathChart::SkyOf() const {
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
  QFont small = font();
  if (small.pointSizeF() > 0)
    small.setPointSizeF(small.pointSizeF() * 0.85);
  else
    small.setPixelSize(std::max(1, small.pixelSize() * 17 / 20));
  return {metrics, labels, legend, radius, centre, small, QFontMetricsF(small)};
}

void SunPathChart::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const Sky sky = SkyOf();
  DrawSky(painter, sky);
  DrawHorizon(painter, sky);
  DrawRimLabels(painter, sky);
  DrawCardinalPoints(painter, sky);
  DrawOrientation(painter, sky);
  painter.setFont(sky.small);
  DrawComparedPaths(painter, sky);
  DrawAzimuth(painter, sky);
  DrawMoonPath(painter, sky);
  DrawDayPath(painter, sky);
  DrawRisingAndSetting(painter, sky);
  DrawAzimuthPassages(painter, sky);
  DrawMoonPhase(painter, sky);
  painter.setFont(font());
  DrawShadow(painter, sky);
  DrawMoonPresent(painter, sky);
  DrawPresent(painter, sky);
}

// The disc of the sky, its altitude circles every 30 degrees, the azimuths
// of the rim labels, and the rim.
void SunPathChart::DrawSky(QPainter &painter, const Sky &sky) const {
  const QColor ink = palette().color(QPalette::Text);
  painter.setPen(Qt::NoPen);
  painter.setBrush(palette().color(QPalette::Base));
  painter.drawEllipse(sky.centre, sky.radius, sky.radius);
  QColor gridColour = ink;
  gridColour.setAlpha(60);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(gridColour, 1, Qt::DotLine));
  for (int altitude = 30; altitude < 90; altitude += 30) {
    const double r = sky.radius * (90 - altitude) / 90;
    painter.drawEllipse(sky.centre, r, r);
    painter.drawText(sky.At(altitude, 0) + QPointF(3, -2), QString::number(altitude) + QChar(0x00B0));
  }
  for (int rimAzimuth = 0; rimAzimuth < 360; rimAzimuth += kRimStepDeg)
    painter.drawLine(sky.centre, sky.At(0, rimAzimuth));
  painter.setPen(QPen(ink, 1.5));
  painter.drawEllipse(sky.centre, sky.radius, sky.radius);
}

// The ground between the dipped horizon and the skyline, translucent so
// that the paths behind it still read; then the dipped horizon.
void SunPathChart::DrawHorizon(QPainter &painter, const Sky &sky) const {
  if (!dipDeg_)
    return;
  const double dipRadius = sky.radius * (90 + *dipDeg_) / 90;
  if (!skyline_.empty()) {
    QPolygonF line;
    line.reserve(qsizetype(skyline_.size()));
    std::transform(skyline_.begin(), skyline_.end(), std::back_inserter(line),
                   [&sky](const HorizonPoint &p) { return sky.At(p.altitudeDeg, p.azimuthDeg); });
    QPainterPath ground;
    ground.setFillRule(Qt::OddEvenFill);
    ground.addEllipse(sky.centre, dipRadius, dipRadius);
    ground.addPolygon(line);
    ground.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 110, 70, 150));
    painter.drawPath(ground);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(60, 80, 40), 1.2));
    painter.drawPolygon(line);
  }
  painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(sky.centre, dipRadius, dipRadius);
}

// Outside the rim, each box just clear of its tick.
void SunPathChart::DrawRimLabels(QPainter &painter, const Sky &sky) const {
  painter.setPen(palette().color(QPalette::Text));
  for (int i = 0; i < sky.labels.size(); ++i) {
    const double a = i * kRimStepDeg * std::numbers::pi / 180;
    const QPointF outward(-std::sin(a), -std::cos(a));
    painter.drawLine(sky.centre + sky.radius * outward, sky.centre + (sky.radius + 5) * outward);
    const QString shown = sky.labels[i] + QChar(0x00B0);
    const QSizeF size(sky.metrics.horizontalAdvance(shown) + 2, sky.metrics.height());
    const double reach = std::abs(outward.x()) * size.width() / 2 + std::abs(outward.y()) * size.height() / 2;
    const QPointF middle = sky.centre + (sky.radius + 7 + reach) * outward;
    painter.drawText(QRectF(middle - QPointF(size.width() / 2, size.height() / 2), size), Qt::AlignCenter,
                     shown);
  }
}

// Inside the rim, in bold.
void SunPathChart::DrawCardinalPoints(QPainter &painter, const Sky &sky) const {
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  for (int i = 0; i < 4; ++i) {
    const QPointF inside = sky.At(8, i * 90);
    painter.drawText(QRectF(inside - QPointF(15, sky.metrics.height() / 2), QSizeF(30, sky.metrics.height())),
                     Qt::AlignCenter, Text(kCardinals[i]));
  }
  painter.setFont(font());
}

void SunPathChart::DrawOrientation(QPainter &painter, const Sky &sky) const {
  painter.drawText(QRectF(4, height() - sky.legend, width() - 8, sky.legend),
                   Qt::AlignLeft | Qt::AlignVCenter, Text(kOrientation));
}

// Thin and dashed, each named at its highest point.
void SunPathChart::DrawComparedPaths(QPainter &painter, const Sky &sky) const {
  QColor comparedColour = palette().color(QPalette::Text);
  comparedColour.setAlpha(150);
  for (const ComparedPath &path : compared_) {
    painter.setPen(QPen(comparedColour, 1, Qt::DashLine));
    for (const QPolygonF &part : PartsAbove(path.samples, sky.centre, sky.radius))
      painter.drawPolyline(part);
    const auto highest = std::max_element(path.samples.begin(), path.samples.end(),
                                          [](const SunSample &a, const SunSample &b) {
                                            return a.altitudeDeg < b.altitudeDeg;
                                          });
    if (highest != path.samples.end() && highest->altitudeDeg >= 0) {
      painter.setPen(comparedColour);
      const QString name = Text(path.name);
      DrawChartLabel(painter,
                     ChartLabelBox(sky.smallMetrics, sky.At(highest->altitudeDeg, highest->azimuthDeg), name,
                                   Qt::AlignBottom, rect()),
                     name, palette().color(QPalette::Base));
    }
  }
}

// The date's path with its whole hours.
void SunPathChart::DrawDayPath(QPainter &painter, const Sky &sky) const {
  const QColor ink = palette().color(QPalette::Text);
  painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  for (const QPolygonF &part : PartsAbove(day_, sky.centre, sky.radius))
    painter.drawPolyline(part);
  std::optional<QPointF> lastLabel;
  for (const SunSample &s : day_) {
    if (s.altitudeDeg < 0 || std::abs(s.hours - std::round(s.hours)) > 1e-6)
      continue;
    const QPointF point = sky.At(s.altitudeDeg, s.azimuthDeg);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(point, 2.5, 2.5);
    const QString hour = QString::number(std::lround(s.hours));
    // Near the poles the hours crowd together: a label that would touch the
    // last one is left out.
    if (lastLabel &&
        QLineF(*lastLabel, point).length() < sky.smallMetrics.horizontalAdvance(QStringLiteral("00")) + 6)
      continue;
    painter.setPen(ink);
    DrawChartLabel(painter, ChartLabelBox(sky.smallMetrics, point, hour, Qt::AlignTop, rect()), hour,
                   palette().color(QPalette::Base));
    lastLabel = point;
  }
}

// On the rim: the Sun's centre is then 0.83 degrees below the true
// horizon, less than two pixels at this scale.
void SunPathChart::DrawRisingAndSetting(QPainter &painter, const Sky &sky) const {
  for (const DayMark &mark : marks_) {
    const QPointF point = sky.At(0, mark.at.azimuthDeg);
    painter.setPen(QPen(palette().color(QPalette::Text), 1.2));
    painter.setBrush(QColor(245, 160, 20));
    painter.drawEllipse(point, 4.5, 4.5);
    const QPointF inward = sky.At(12, mark.at.azimuthDeg);
    DrawChartLabel(painter, ChartLabelBox(sky.smallMetrics, inward, mark.text, Qt::AlignCenter, rect()),
                   mark.text, palette().color(QPalette::Base));
  }
}

// The line under the paths, so that it does not hide them, and faint.
void SunPathChart::DrawAzimuth(QPainter &painter, const Sky &sky) const {
  if (!azimuthDeg_)
    return;
  QColor lineColour(245, 160, 20);
  lineColour.setAlpha(140);
  painter.setPen(QPen(lineColour, 1.5));
  painter.drawLine(sky.centre, sky.At(0, *azimuthDeg_));
}

// Over the path and its hours' labels, ringed in the ink.  A passage below
// the horizon would fall outside the rim and is not drawn.
void SunPathChart::DrawAzimuthPassages(QPainter &painter, const Sky &sky) const {
  painter.setPen(QPen(palette().color(QPalette::Text), 1.2));
  painter.setBrush(QColor(245, 160, 20));
  for (const SunSample &passage : azimuthPassages_)
    if (passage.altitudeDeg >= 0)
      painter.drawEllipse(sky.At(passage.altitudeDeg, passage.azimuthDeg), 4, 4);
}

// From the foot of the object at the centre; the length is measured on
// the chart's radius, not on its altitude scale, which has no meaning for
// a length on the ground.
void SunPathChart::DrawShadow(QPainter &painter, const Sky &sky) const {
  if (!shadow_)
    return;
  const double length = sky.radius * std::min(shadow_->ratio, kLongestShadow) / kLongestShadow;
  const double a = shadow_->azimuthDeg * std::numbers::pi / 180;
  const QPointF end = sky.centre + length * QPointF(-std::sin(a), -std::cos(a));
  QColor shade(60, 60, 70);
  shade.setAlpha(170);
  painter.setPen(QPen(shade, 4, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(sky.centre, end);
  painter.setPen(QPen(palette().color(QPalette::Text), 1));
  painter.setBrush(shade);
  painter.drawEllipse(sky.centre, 3, 3);
}

// The Sun now: on its path above the horizon, as a hollow mark at its
// azimuth on the rim below it.
void SunPathChart::DrawPresent(QPainter &painter, const Sky &sky) const {
  if (!present())
    return;
  const SunSample &now = *present();
  const QColor highlight = palette().color(QPalette::Highlight);
  painter.setPen(QPen(palette().color(QPalette::Text), 1.2));
  if (now.altitudeDeg >= 0) {
    painter.setBrush(highlight);
    painter.drawEllipse(sky.At(now.altitudeDeg, now.azimuthDeg), 6, 6);
  } else {
    painter.setPen(QPen(highlight, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(sky.At(0, now.azimuthDeg), 6, 6);
  }
}

// Dashed in the Moon's colour, under the Sun's path; its rising and setting
// on the rim as pale points ringed in that colour, with their times just
// outside the Sun's labels' ring (the Sun's stand 12 degrees inside).
void SunPathChart::DrawMoonPath(QPainter &painter, const Sky &sky) const {
  painter.setPen(QPen(MoonInk(), 2, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  for (const QPolygonF &part : PartsAbove(moon_, sky.centre, sky.radius))
    painter.drawPolyline(part);
  for (const DayMark &mark : moonMarks_) {
    painter.setPen(QPen(MoonInk(), 1.6));
    painter.setBrush(QColor(235, 230, 245));
    painter.drawEllipse(sky.At(0, mark.at.azimuthDeg), 4.5, 4.5);
    const QPointF inward = sky.At(24, mark.at.azimuthDeg);
    painter.setPen(MoonInk());
    DrawChartLabel(painter, ChartLabelBox(sky.smallMetrics, inward, mark.text, Qt::AlignCenter, rect()),
                   mark.text, palette().color(QPalette::Base));
  }
}

// The Moon now: as the Sun's present mark, in the Moon's colour.
void SunPathChart::DrawMoonPresent(QPainter &painter, const Sky &sky) const {
  if (!moonPresent())
    return;
  const SunSample &now = *moonPresent();
  painter.setPen(QPen(palette().color(QPalette::Text), 1.2));
  if (now.altitudeDeg >= 0) {
    painter.setBrush(MoonInk());
    painter.drawEllipse(sky.At(now.altitudeDeg, now.azimuthDeg), 6, 6);
  } else {
    painter.setPen(QPen(MoonInk(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(sky.At(0, now.azimuthDeg), 6, 6);
  }
}

// In the top left corner, clear of the rim: the dark disc, its lit part
// with the bright limb where the sky puts it (north up, east left, as the
// chart), and its caption below.
void SunPathChart::DrawMoonPhase(QPainter &painter, const Sky &sky) const {
  if (!moonPhase_)
    return;
  const double radius = std::max(8.0, std::round(sky.smallMetrics.height() * 1.5));
  const QPointF centre(6 + radius, 6 + radius);
  painter.setPen(QPen(MoonInk(), 1.2));
  painter.setBrush(QColor(45, 45, 60));
  painter.drawEllipse(centre, radius, radius);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(245, 242, 225));
  painter.drawPath(MoonLitPath(centre, radius, *moonPhase_));
  painter.setPen(QPen(MoonInk(), 1.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, radius, radius);
  const QString caption = Text(kMoonAtNoon);
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(QRectF(4, centre.y() + radius + 2, sky.smallMetrics.horizontalAdvance(caption) + 4,
                          sky.smallMetrics.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, caption);
}

} // namespace ostrel
