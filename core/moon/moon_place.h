// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's place at a moment, seen from a site: the geocentric Moon of
// eraMoon98 (core/moon/moon_theory.h) at TT = UT + DeltaTSeconds, less its
// motion over the light time, turned into the true equator and equinox of
// date by the precise Sun's IAU 2006 precession and IAU 2000B nutation, and
// seen from the site on the WGS84 ellipsoid at sea level turned by the
// Greenwich apparent sidereal time (EarthOrientationAt, SiteVectorAu in
// core/sun/precise_sun.h).  The phase, the illuminated fraction and the
// bright limb are geocentric, as almanacs give them (Meeus, Astronomical
// Algorithms, 2nd ed., ch. 48).
#pragma once

#include "core/moon/moon_quarters.h"
#include "core/sun/precise_sun.h"

namespace ostrel {

enum class MoonPhase {
  NewMoon,
  WaxingCrescent,
  FirstQuarter,
  WaxingGibbous,
  FullMoon,
  WaningGibbous,
  LastQuarter,
  WaningCrescent,
};

// A phase's stable key for programs and its names in the two languages.
struct MoonPhaseNames {
  const char *key, *english, *russian;
};
const MoonPhaseNames &NamesOf(MoonPhase phase);

// The phase a quarter's instant names.
MoonPhase PhaseOf(MoonQuarter quarter);

// The phase at a moment: a quarter's name within half a day (12 hours) of
// its instant, otherwise the name of the stretch between two quarters.
MoonPhase PhaseBetween(const QuartersAround &around, double julianDateUt);

// The mean radius of the Moon (IAU, km), which sets its semi-diameter.
inline constexpr double kMoonRadiusKm = 1737.4;

struct MoonPlace {
  double julianDateUt = 0; // full Julian date, UT
  // Apparent, topocentric, true equator and equinox of date.
  double rightAscensionHours = 0; // 0 to 24
  double declinationDeg = 0;
  double hourAngleHours = 0;       // -12 to 12, west positive
  double localSiderealHours = 0;   // apparent, 0 to 24
  // Apparent, geocentric, ecliptic and equinox of date.
  double eclipticLongitudeDeg = 0; // 0 to 360
  double eclipticLatitudeDeg = 0;
  double geocentricDistanceKm = 0;  // true distance of the centres
  double topocentricDistanceKm = 0; // from the site
  // The equatorial horizontal parallax, asin(6378.137 km / geocentric
  // distance), degrees.
  double horizontalParallaxDeg = 0;
  double semiDiameterDeg = 0; // topocentric, asin(kMoonRadiusKm / topocentric distance)
  double altitudeDeg = 0;         // true (geometric), topocentric, of the centre
  double apparentAltitudeDeg = 0; // with the window's refraction (ApparentAltitude)
  double azimuthDeg = 0;          // from north through east, 0 to 360
  // Geocentric, as almanacs give them.
  double illuminatedFraction = 0; // 0 to 1, (1 + cos phase angle) / 2
  double phaseAngleDeg = 0;       // Sun-Moon-Earth, 0 (full) to 180 (new)
  double elongationDeg = 0;       // from the Sun, 0 to 180
  double ageDays = 0;             // days since the last new moon
  MoonPhase phase = MoonPhase::NewMoon;
  // The position angle of the midpoint of the bright limb, from the north
  // point of the disc through east, degrees 0 to 360 (Meeus eq. 48.5).
  double brightLimbAngleDeg = 0;
};

// The Moon seen from a site at a Julian date UT (full), exactly (three
// quarters solved for the phase's name and the age).
MoonPlace MoonPlaceAt(const Site &site, double julianDateUt);

// The Moon's astrometric place seen from the site at a Julian date UT: the
// direction from the site to the Moon one light time earlier, in the ICRS
// axes, as ephemerides list it (the apparent place less the annual
// aberration and without precession and nutation).  Right ascension in
// hours, 0 to 24, declination in degrees.
AstrometricPlace MoonAstrometricAt(const Site &site, double julianDateUt);

} // namespace ostrel
