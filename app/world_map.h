// SPDX-License-Identifier: GPL-3.0-or-later
// The world map (WorldMap): the whole Earth in the equirectangular
// projection, longitude -180 to 180 degrees across and latitude 90 to -90
// down, north up; land and sea (Natural Earth's 1:50 million land, built in
// as :/ostrel/land.bin by tools/map/make-coastlines.mjs); the day, the
// three twilights and the night as five shades, over land and sea alike; a
// graticule every 30 degrees; the points where the Sun and the Moon stand
// overhead (the Moon drawn in its phase) and the site's marker.
//
// The shades come from the core (core/map/overhead.h): the Sun is computed
// once for the moment, and the shade of each pixel is its centre's band of
// the Sun's true altitude.  They are kept in an image and computed again
// only when the moment of the shading, the theory or the size changes.
// In real-time tracking the shading's moment is the shown moment rounded
// to the whole minute, so a tick a second moves the text and the marks but
// recomputes the shades once a minute.
//
// The map keeps a 2:1 rectangle, as large as the widget allows, centred.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <optional>
#include <vector>

#include "core/map/overhead.h"
#include "core/sun/theory.h"

namespace ostrel {

class WorldMap : public QWidget {
  Q_OBJECT
public:
  // The map's size in the map window as it opens, pixels.
  static constexpr int kDefaultWidth = 960;
  static constexpr int kDefaultHeight = 480;

  explicit WorldMap(QWidget *parent = nullptr);

  // The moment shown, UTC; `tracking` rounds the shading's moment to the
  // minute.
  void ShowMoment(const QDateTime &utc, bool tracking);
  // The theory of the Sun's place; the shading follows at once.
  void SetTheory(Theory theory);
  // The site's marker, degrees; none before the first calculation.
  void SetSite(std::optional<GeoPoint> site);
  // The tool tip's words.
  void SetRussian(bool russian);

  // The colour of a shade over land or sea: ten colours, all different,
  // darker toward the night.
  static QRgb ShadeColour(Shade shade, bool land);

  // The widget's point of a latitude and longitude (degrees), and back
  // (x = longitude, y = latitude, degrees; a point outside the map is
  // taken to its edge).
  Q_INVOKABLE QPointF toWidget(double latitude, double longitude) const;
  Q_INVOKABLE QPointF toGeo(const QPointF &point) const;
  // The moment shown, UTC; invalid before the first.
  Q_INVOKABLE QDateTime shownMoment() const { return shown_; }
  // Shows a moment, as outside manual input (the shading of that moment).
  Q_INVOKABLE void showMoment(const QDateTime &utc) { ShowMoment(utc, false); }
  // The shading's colour at a point of the widget, without the graticule
  // and the marks drawn over it; invalid outside the map.
  Q_INVOKABLE QColor shadingAt(const QPointF &point) const;
  // How many times the shades were computed.
  Q_INVOKABLE int shadingRuns() const { return shadingRuns_; }

  QSize sizeHint() const override { return {kDefaultWidth, kDefaultHeight}; }
  QSize minimumSizeHint() const override { return {360, 180}; }

signals:
  // A click on the map: its latitude and longitude, degrees.
  void pointChosen(double latitude, double longitude);

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  bool event(QEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  // The map's rectangle in the widget: 2:1, whole pixels, centred.
  QRect MapRect() const;
  // The shades again when the shading's moment, theory or size changed.
  void UpdateShading();
  // Latitude, longitude and the Sun's altitude at a point of the widget.
  QString ToolTipAt(const QPointF &point) const;
  void DrawGraticule(QPainter &painter, const QRect &map) const;
  void DrawMoon(QPainter &painter, const QPointF &centre, double radius) const;

  QDateTime shown_;
  QDateTime shadingMoment_; // the moment of the shading asked for
  QDateTime shadedMoment_;  // the moment shading_ is of
  Theory theory_ = Theory::Classic;
  Theory shadingTheory_ = Theory::Classic;
  std::optional<GeoPoint> site_;
  bool russian_ = false;

  SunOverhead sun_;
  std::optional<MoonOverhead> moon_;
  QImage land_;    // 1 where a pixel's centre is on land, per MapRect's size
  QImage shading_; // the shades over land and sea, MapRect's size
  std::vector<Shade> shades_;
  int shadingRuns_ = 0;
  std::optional<QPointF> pressed_;
};

} // namespace ostrel
