// SPDX-License-Identifier: GPL-3.0-or-later
// The Earth's day and night at one moment, as the world map draws them:
// where the Sun and the Moon stand overhead, the Sun's true altitude at any
// point, and the band of daylight or twilight that altitude falls in.
//
// The Sun is computed once for the moment, from the Earth's centre: its
// declination and its Greenwich hour angle.  The altitude at a point of
// geodetic latitude phi and longitude lambda is then the spherical
// triangle's
//
//   sin h = sin phi sin dec + cos phi cos dec cos(GHA + lambda),
//
// which the map evaluates for every pixel.  In the classic theory this is
// the theory's own altitude (it has no parallax, and its sidereal time and
// obliquity are those of 0 h UT of the date, as for a site in zone 0).  In
// the precise theory it leaves out the site's parallax, at most 8.8" of
// the Sun's altitude (the Earth's radius seen from 1 AU), and, as the
// core's own precise run, the site's height (the core takes every site at
// sea level); a line of the map's 0 degree boundary is therefore within
// 0.003 degree of the core's, a hundredth of a pixel at the map's size.
#pragma once

#include <cstdint>
#include <span>

#include "core/moon/moon_place.h"
#include "core/sun/theory.h"

namespace ostrel {

// A point of the Earth, degrees: latitude north positive, -90 to 90;
// longitude east positive, -180 to 180.
struct GeoPoint {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
};

// The Sun seen from the Earth's centre at one moment.
struct SunOverhead {
  double declinationRad = 0;
  double greenwichHourAngleRad = 0; // -pi to pi, west positive

  // The point where the Sun's centre stands in the zenith.
  GeoPoint Subsolar() const;
  // The Sun's true altitude (without refraction) of the centre at a point,
  // degrees.
  double AltitudeDeg(GeoPoint point) const;
};

// The Sun at a moment in a theory: a UT date and the hours since its
// 0 h UT (0 to 24; other hours are taken from the same date's origin).
SunOverhead SunOverheadAt(Theory theory, CivilDate utDate, double utHours);

// The Moon at a moment: where it stands in the zenith (its geocentric,
// apparent declination and hour angle, core/moon/moon_theory.h) and its
// phase as moon_place.h gives it, geocentric.
struct MoonOverhead {
  GeoPoint sublunar;
  double illuminatedFraction = 0; // 0 to 1
  double ageDays = 0;             // since the last new moon
  MoonPhase phase = MoonPhase::NewMoon;
  // The Moon is waxing: its bright limb faces west in the sky, its lit side
  // is the right one seen from the northern hemisphere.
  bool waxing = false;
};
MoonOverhead MoonOverheadAt(CivilDate utDate, double utHours);

// The bands of the Sun's true altitude h of the centre, degrees:
//   Daylight       h >= 0
//   Civil          -6 <= h < 0
//   Nautical       -12 <= h < -6
//   Astronomical   -18 <= h < -12
//   Night          h < -18
// A bound belongs to the band above it: a point with the centre exactly on
// the horizon is in daylight.
enum class Shade : std::uint8_t { Daylight, Civil, Nautical, Astronomical, Night };
inline constexpr int kShadeCount = 5;
Shade ShadeOf(double altitudeDeg);

// The shade of every cell of a width x height equirectangular grid, row by
// row from the north: cell (column, row) is the point at its centre,
// longitude -180 + (column + 0.5) * 360 / width, latitude
// 90 - (row + 0.5) * 180 / height.  `shades` holds width * height cells;
// nothing is written when it is smaller or a side is not positive.  The
// bands are compared by the sine of the altitude, which keeps the bounds
// above: a row costs one multiplication and one addition a cell.
void ShadeGrid(const SunOverhead &sun, int width, int height, std::span<Shade> shades);

} // namespace ostrel
