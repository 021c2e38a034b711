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
// corner.
#pragma once

#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/chart.h"

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
  void DrawRimLabels(QPainter &painter, const Sky &sky) const;
  void DrawCardinalPoints(QPainter &painter, const Sky &sky) const;
  void DrawOrientation(QPainter &painter, const Sky &sky) const;
  // In the small type, which the painter holds.
  void DrawComparedPaths(QPainter &painter, const Sky &sky) const;
  void DrawDayPath(QPainter &painter, const Sky &sky) const;
  void DrawRisingAndSetting(QPainter &painter, const Sky &sky) const;
  void DrawPresent(QPainter &painter, const Sky &sky) const;
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
};

} // namespace ostrel
