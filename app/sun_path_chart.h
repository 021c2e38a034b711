// SPDX-License-Identifier: GPL-3.0-or-later
// SunPath: the sky as a circle, horizon at the rim and zenith at the
// centre, the distance from the centre proportional to the zenith angle
// (90 degrees minus the altitude).  North is up and east on the left: the
// sky as seen lying on one's back with the head to the north, the usual
// orientation of sky maps.  On it the Sun's path of the date above the
// horizon with its whole hours, the rising and setting points, the paths of
// the solstices and the March equinox for comparison, and the Sun now
// while tracking.  The Moon's path of the date is drawn dashed in MoonInk
// with its rising and setting on the rim and the Moon now while tracking,
// and its phase at 12:00 of the date as a small disc in the top left
// corner.  An azimuth asked for in the day window is a faint line from the
// centre to the rim with a dot where the Sun's path passes it; and while
// tracking, with the Sun above the horizon, a thick line from the centre
// shows the shadow of a vertical object: its direction, and its length
// against the object's height at a third of the radius per unit, ended at
// the rim (a ratio of 3, the Sun 18.4 degrees high).  For an observer, the
// skyline is a filled silhouette from the dipped horizon up to its
// altitude, and the dipped horizon a dashed circle just outside the rim.
#pragma once

#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/chart.h"
#include "core/observer/horizon_profile.h"
#include "core/sun/shadow.h"

namespace ostrel {

class SunPathChart : public SunDayChart {
  Q_OBJECT
public:
  // A path drawn thin and dashed for comparison, named on the chart.
  struct ComparedPath {
    std::vector<SunSample> samples;
    Bilingual name;
  };

  explicit SunPathChart(QWidget *parent = nullptr);

  // The date's samples in time order, the compared paths, and the rising
  // and setting marks (drawn on the rim at their azimuths); empty clears.
  void SetPaths(std::vector<SunSample> day, std::vector<ComparedPath> compared,
                std::vector<DayMark> marks);
  // The main window's azimuth convention (degrees added to an azimuth from
  // north: FromNorth, FromSouth, FromSouthSigned) for the rim labels.
  void SetAzimuthMode(std::int16_t mode);
  // The Moon's samples of the date in time order, its rising and setting
  // marks, and its phase to draw (none draws no disc); empty draws no Moon.
  void SetMoon(std::vector<SunSample> samples, std::vector<DayMark> marks,
               std::optional<MoonPhaseLook> phase);

  // An azimuth, degrees from north through east, and the Sun at each of
  // its passages (the azimuth, the true altitude); none draws no line.
  void SetAzimuth(std::optional<double> azimuthDeg, std::vector<SunSample> passages);
  // The shadow at the present moment; none draws none.
  void SetShadow(std::optional<Shadow> shadow);
  // The observer's horizon: its apparent altitude around the circle in
  // order of azimuth (empty: a flat one) and the dip, degrees; no dip draws
  // no horizon of an observer.
  void SetHorizon(std::vector<HorizonPoint> skyline, std::optional<double> dipDeg);

  // The shadow's ratio at which its line reaches the rim; longer ones end
  // there.
  static constexpr double kLongestShadow = 3;

  // What the chart draws of the azimuth and the shadow, for tests.
  const std::optional<double> &azimuth() const { return azimuthDeg_; }
  const std::vector<SunSample> &azimuthPassages() const { return azimuthPassages_; }
  const std::optional<Shadow> &shadow() const { return shadow_; }
  const std::vector<HorizonPoint> &skyline() const { return skyline_; }
  const std::optional<double> &dip() const { return dipDeg_; }

  // The rim labels from north through east every 30 degrees, as written.
  QStringList rimLabels() const;

  QSize sizeHint() const override { return {380, 380}; }

protected:
  // The layers from the bottom up, each a step below.
  void paintEvent(QPaintEvent *event) override;

private:
  // Where the sky lies at the present size and font, and where an altitude
  // and azimuth fall on it.
  struct Sky;
  Sky SkyOf() const;

  void DrawSky(QPainter &painter, const Sky &sky) const;
  void DrawHorizon(QPainter &painter, const Sky &sky) const;
  void DrawRimLabels(QPainter &painter, const Sky &sky) const;
  void DrawCardinalPoints(QPainter &painter, const Sky &sky) const;
  void DrawOrientation(QPainter &painter, const Sky &sky) const;
  // In the small type, which the painter holds.
  void DrawComparedPaths(QPainter &painter, const Sky &sky) const;
  void DrawDayPath(QPainter &painter, const Sky &sky) const;
  void DrawRisingAndSetting(QPainter &painter, const Sky &sky) const;
  void DrawPresent(QPainter &painter, const Sky &sky) const;
  void DrawAzimuth(QPainter &painter, const Sky &sky) const;
  void DrawAzimuthPassages(QPainter &painter, const Sky &sky) const;
  void DrawShadow(QPainter &painter, const Sky &sky) const;
  void DrawMoonPath(QPainter &painter, const Sky &sky) const;
  void DrawMoonPresent(QPainter &painter, const Sky &sky) const;
  void DrawMoonPhase(QPainter &painter, const Sky &sky) const;

  std::vector<SunSample> day_;
  std::vector<ComparedPath> compared_;
  std::vector<DayMark> marks_;
  std::int16_t azimuthMode_ = 0;
  std::vector<SunSample> moon_;
  std::vector<DayMark> moonMarks_;
  std::optional<MoonPhaseLook> moonPhase_;
  std::optional<double> azimuthDeg_;
  std::vector<SunSample> azimuthPassages_;
  std::optional<Shadow> shadow_;
  std::vector<HorizonPoint> skyline_;
  std::optional<double> dipDeg_;
};

} // namespace ostrel
