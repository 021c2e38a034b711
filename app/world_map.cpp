// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/world_map.h"

#include <QFile>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/bilingual.h"

namespace ostrel {
namespace {

// The shades, sea then land for each band from daylight to night: blue
// seas and sandy lands, each step darker.
constexpr QRgb kShadeColours[kShadeCount][2] = {
    {qRgb(156, 200, 236), qRgb(226, 216, 170)}, // daylight
    {qRgb(108, 152, 200), qRgb(180, 172, 128)}, // civil twilight
    {qRgb(70, 108, 160), qRgb(136, 130, 96)},   // nautical twilight
    {qRgb(40, 70, 120), qRgb(96, 92, 68)},      // astronomical twilight
    {qRgb(18, 34, 76), qRgb(60, 58, 44)},       // night
};

// A click is a press and a release within this many pixels.
constexpr double kClickSlack = 4;

constexpr Bilingual kNorth{"N", "с. ш."};
constexpr Bilingual kSouth{"S", "ю. ш."};
constexpr Bilingual kEast{"E", "в. д."};
constexpr Bilingual kWest{"W", "з. д."};
constexpr Bilingual kSunAltitude{"Sun's altitude %1°", "Высота Солнца %1°"};

// The land as one path in degrees (x longitude, y latitude), read once
// from the built-in rings (see tools/map/make-coastlines.mjs for the
// format).  A file cut short keeps the rings read whole before the cut.
const QPainterPath &LandPath() {
  static const QPainterPath path = [] {
    QPainterPath land;
    land.setFillRule(Qt::OddEvenFill);
    QFile file(QStringLiteral(":/ostrel/land.bin"));
    if (!file.open(QIODevice::ReadOnly))
      return land;
    const QByteArray bytes = file.readAll();
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size < 8 || bytes.left(4) != "OLND")
      return land;
    const std::uint32_t rings = qFromLittleEndian<std::uint32_t>(data + 4);
    std::size_t at = 8;
    QPolygonF ring;
    for (std::uint32_t r = 0; r < rings && at + 4 <= size; ++r) {
      const std::uint32_t points = qFromLittleEndian<std::uint32_t>(data + at);
      at += 4;
      if (points > (size - at) / 4)
        break;
      ring.resize(qsizetype(points));
      for (QPointF &point : ring) {
        point.setX(qFromLittleEndian<std::int16_t>(data + at) / 100.0);
        point.setY(qFromLittleEndian<std::int16_t>(data + at + 2) / 100.0);
        at += 4;
      }
      land.addPolygon(ring);
      land.closeSubpath();
    }
    return land;
  }();
  return path;
}

// One pixel a cell: 255 on land, 0 at sea, the cell's centre deciding.
QImage LandMask(QSize size) {
  QImage mask(size, QImage::Format_Grayscale8);
  mask.fill(0);
  QPainter painter(&mask);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setTransform(QTransform(size.width() / 360.0, 0, 0, -size.height() / 180.0,
                                  size.width() / 2.0, size.height() / 2.0));
  painter.fillPath(LandPath(), Qt::white);
  return mask;
}

// Degrees as the site's fields show them: whole degrees and minutes.
QString DegreesMinutes(double degrees, const Bilingual &positive, const Bilingual &negative,
                       bool russian) {
  const long long minutes = std::llround(std::fabs(degrees) * 60);
  return QStringLiteral("%1°%2′ %3")
      .arg(minutes / 60)
      .arg(minutes % 60, 2, 10, QLatin1Char('0'))
      .arg((degrees < 0 && minutes != 0 ? negative : positive).In(russian));
}

} // namespace

WorldMap::WorldMap(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("WorldMap"));
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setCursor(Qt::CrossCursor);
}

QRgb WorldMap::ShadeColour(Shade shade, bool land) {
  return kShadeColours[static_cast<int>(shade)][land ? 1 : 0];
}

QRect WorldMap::MapRect() const {
  const int w = std::max(2, std::min(width(), 2 * height()) / 2 * 2);
  const int h = w / 2;
  return {(width() - w) / 2, (height() - h) / 2, w, h};
}

QPointF WorldMap::toWidget(double latitude, double longitude) const {
  const QRect map = MapRect();
  return {map.x() + (std::clamp(longitude, -180.0, 180.0) + 180) / 360 * map.width(),
          map.y() + (90 - std::clamp(latitude, -90.0, 90.0)) / 180 * map.height()};
}

QPointF WorldMap::toGeo(const QPointF &point) const {
  const QRect map = MapRect();
  const double longitude = (point.x() - map.x()) / map.width() * 360 - 180;
  const double latitude = 90 - (point.y() - map.y()) / map.height() * 180;
  return {std::clamp(longitude, -180.0, 180.0), std::clamp(latitude, -90.0, 90.0)};
}

QColor WorldMap::shadingAt(const QPointF &point) const {
  const QRect map = MapRect();
  const QPoint pixel(int(std::floor(point.x())) - map.x(), int(std::floor(point.y())) - map.y());
  if (shading_.isNull() || !shading_.rect().contains(pixel))
    return {};
  return QColor(shading_.pixel(pixel));
}

void WorldMap::ShowMoment(const QDateTime &utc, bool tracking) {
  if (!utc.isValid())
    return;
  shown_ = utc.toUTC();
  shadingMoment_ = shown_;
  if (tracking) {
    // The nearest whole minute.
    const qint64 ms = shown_.toMSecsSinceEpoch();
    const qint64 minute = 60000;
    const qint64 floor = ms >= 0 ? ms / minute * minute : -((-ms + minute - 1) / minute) * minute;
    shadingMoment_ = QDateTime::fromMSecsSinceEpoch(ms - floor >= minute / 2 ? floor + minute : floor,
                                                    Qt::UTC);
  }
  UpdateShading();
  update();
}

void WorldMap::SetTheory(Theory theory) {
  theory_ = theory;
  UpdateShading();
  update();
}

void WorldMap::SetSite(std::optional<GeoPoint> site) {
  site_ = site;
  update();
}

void WorldMap::SetRussian(bool russian) { russian_ = russian; }

void WorldMap::UpdateShading() {
  const QSize size = MapRect().size();
  if (!shadingMoment_.isValid())
    return;
  if (shading_.size() == size && shadedMoment_ == shadingMoment_ && shadingTheory_ == theory_)
    return;
  if (land_.size() != size)
    land_ = LandMask(size);

  const QDateTime &moment = shadingMoment_;
  const QDate date = moment.date();
  const CivilDate utDate{date.year(), date.month(), date.day()};
  const double utHours = moment.time().msecsSinceStartOfDay() / 3600000.0;
  sun_ = SunOverheadAt(theory_, utDate, utHours);
  moon_ = MoonOverheadAt(utDate, utHours);

  const int w = size.width();
  const int h = size.height();
  shades_.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  ShadeGrid(sun_, w, h, shades_);
  if (shading_.size() != size)
    shading_ = QImage(size, QImage::Format_RGB32);
  auto shade = shades_.cbegin();
  for (int row = 0; row < h; ++row) {
    const uchar *land = land_.constScanLine(row);
    auto *out = reinterpret_cast<QRgb *>(shading_.scanLine(row));
    for (int column = 0; column < w; ++column, ++shade)
      out[column] = kShadeColours[static_cast<int>(*shade)][land[column] != 0 ? 1 : 0];
  }
  shadedMoment_ = shadingMoment_;
  shadingTheory_ = theory_;
  ++shadingRuns_;
}

void WorldMap::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  UpdateShading();
}

void WorldMap::DrawGraticule(QPainter &painter, const QRect &map) const {
  painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
  for (int longitude = -150; longitude <= 150; longitude += 30) {
    const double x = toWidget(0, longitude).x();
    painter.drawLine(QPointF(x, map.top()), QPointF(x, map.top() + map.height()));
  }
  for (int latitude = -60; latitude <= 60; latitude += 30) {
    const double y = toWidget(latitude, 0).y();
    painter.drawLine(QPointF(map.left(), y), QPointF(map.left() + map.width(), y));
  }
}

// The Moon's disc lit as seen from the northern hemisphere: the half
// toward the lit side, with the terminator, half an ellipse of half-width
// |1 - 2k| r (k the illuminated fraction), taken from it for a crescent
// and added to it for a gibbous moon.
void WorldMap::DrawMoon(QPainter &painter, const QPointF &centre, double radius) const {
  const QRectF disc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  painter.setPen(QPen(QColor(30, 30, 30), 1));
  painter.setBrush(QColor(70, 70, 80));
  painter.drawEllipse(disc);
  const double k = std::clamp(moon_->illuminatedFraction, 0.0, 1.0);
  const double side = moon_->waxing ? 1 : -1; // the lit half: right when waxing
  const double half = std::fabs(1 - 2 * k) * radius;
  QPainterPath lit;
  lit.moveTo(centre.x(), centre.y() - radius);
  // The limb: from the top round the lit side to the bottom.
  lit.arcTo(disc, 90, -180 * side);
  // The terminator back to the top: bulging toward the lit side for a
  // crescent, toward the dark side for a gibbous moon.
  const QRectF ellipse(centre.x() - half, centre.y() - radius, 2 * half, 2 * radius);
  lit.arcTo(ellipse, -90, (k < 0.5 ? 180 : -180) * side);
  lit.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(240, 240, 225));
  painter.drawPath(lit);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(30, 30, 30), 1));
  painter.drawEllipse(disc);
}

void WorldMap::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  const QRect map = MapRect();
  if (shading_.size() != map.size()) {
    painter.fillRect(map, QColor(kShadeColours[0][0]));
    return;
  }
  painter.drawImage(map.topLeft(), shading_);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setClipRect(map);
  DrawGraticule(painter, map);
  // The marks' size follows the map's, within bounds.
  const double radius = std::clamp(map.width() / 130.0, 4.0, 10.0);
  if (moon_) {
    const GeoPoint point = moon_->sublunar;
    DrawMoon(painter, toWidget(point.latitudeDeg, point.longitudeDeg), radius);
  }
  const GeoPoint subsolar = sun_.Subsolar();
  painter.setPen(QPen(QColor(200, 90, 0), 2));
  painter.setBrush(QColor(255, 214, 40));
  painter.drawEllipse(toWidget(subsolar.latitudeDeg, subsolar.longitudeDeg), radius, radius);
  if (site_) {
    const QPointF at = toWidget(site_->latitudeDeg, site_->longitudeDeg);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 4));
    painter.drawEllipse(at, radius * 0.8, radius * 0.8);
    painter.setPen(QPen(QColor(210, 20, 30), 2));
    painter.drawEllipse(at, radius * 0.8, radius * 0.8);
    painter.drawLine(at - QPointF(radius * 1.6, 0), at + QPointF(radius * 1.6, 0));
    painter.drawLine(at - QPointF(0, radius * 1.6), at + QPointF(0, radius * 1.6));
  }
}

QString WorldMap::ToolTipAt(const QPointF &point) const {
  const QPointF geo = toGeo(point);
  QString text = DegreesMinutes(geo.y(), kNorth, kSouth, russian_) + QStringLiteral("  ") +
                 DegreesMinutes(geo.x(), kEast, kWest, russian_);
  if (shadedMoment_.isValid()) {
    const double altitude = sun_.AltitudeDeg({geo.y(), geo.x()});
    text += QLatin1Char('\n') + kSunAltitude.In(russian_).arg(QLocale().toString(altitude, 'f', 1));
  }
  return text;
}

bool WorldMap::event(QEvent *event) {
  if (event->type() == QEvent::ToolTip) {
    const auto *help = static_cast<QHelpEvent *>(event);
    if (MapRect().contains(help->pos()))
      QToolTip::showText(help->globalPos(), ToolTipAt(help->pos()), this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

void WorldMap::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton && MapRect().contains(event->position().toPoint()))
    pressed_ = event->position();
  QWidget::mousePressEvent(event);
}

void WorldMap::mouseMoveEvent(QMouseEvent *event) {
  // An open tool tip follows the pointer.
  if (QToolTip::isVisible() && MapRect().contains(event->position().toPoint()))
    QToolTip::showText(event->globalPosition().toPoint(), ToolTipAt(event->position()), this);
  QWidget::mouseMoveEvent(event);
}

void WorldMap::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton && pressed_) {
    const QPointF moved = event->position() - *pressed_;
    pressed_.reset();
    if (std::hypot(moved.x(), moved.y()) <= kClickSlack) {
      const QPointF geo = toGeo(event->position());
      emit pointChosen(geo.y(), geo.x());
    }
  }
  QWidget::mouseReleaseEvent(event);
}

} // namespace ostrel
