// SPDX-License-Identifier: GPL-3.0-or-later
// The precise theory: the Sun's apparent place from ERFA, the open library
// of fundamental astronomy (Debian's liberfa-dev).
//
// The Earth's heliocentric and barycentric position and velocity come from
// eraEpv00; the Sun is placed back by the light time and moved by the
// annual aberration (eraAb), then into the true equator and equinox of date
// by the IAU 2006 precession and the IAU 2000B nutation (eraPn06 with
// eraNut00b), and seen from the site on the WGS84 ellipsoid (eraGd2gc)
// turned by the Greenwich apparent sidereal time (eraGst06).  UT is the
// typed local time minus the time zone, taken as UT1; TT is UT + Delta T by
// the polynomials of Espenak and Meeus (2006).
#pragma once

#include <array>

#include "core/sun/sun_day.h"

namespace ostrel {

// Delta T = TT - UT in seconds for a decimal year (year + (month - 0.5) /
// 12), by the polynomial expressions of F. Espenak and J. Meeus, "Five
// Millennium Canon of Solar Eclipses" (NASA/TP-2006-214141), for 1700 to
// 2150; outside that range the nearest end's expression is used.
double DeltaTSeconds(double decimalYear);

// The Earth's orientation at a Julian date UT (full), as the precise
// theories take it: the date split for ERFA (ut1 + ut2 is UT, taken as UT1;
// ut1 + tt2 is TT by DeltaTSeconds), the matrix from the GCRS to the true
// equator and equinox of date (IAU 2006 precession, IAU 2000B nutation:
// eraPn06 with eraNut00b), the true obliquity of the ecliptic and the
// Greenwich apparent sidereal time (eraGst06), both in radians.
struct EarthOrientation {
  double ut1 = 0, ut2 = 0, tt2 = 0; // days
  double matrix[3][3] = {};
  double trueObliquity = 0; // radians
  double gast = 0;          // radians
};
EarthOrientation EarthOrientationAt(double julianDateUt);

// A site on the WGS84 ellipsoid at its elevation (eraGd2gc; sea level
// unless an observer gives one), Earth-fixed, AU.
std::array<double, 3> SiteVectorAu(const Site &site);

// The Earth-fixed site (AU) turned by the Greenwich apparent sidereal time
// (radians) into the true equator and equinox of date, AU.
std::array<double, 3> SiteOfDate(const std::array<double, 3> &siteXyz, double gast);

// A body seen from a site: its geocentric vector of date (AU, true equator
// and equinox of date) less the site's of date.  The topocentric vector,
// AU; right ascension (0 to 2 pi) and declination; the local apparent
// sidereal time (0 to 2 pi) and the hour angle (-pi to pi, west positive);
// the true altitude and the azimuth from north through east (eraHd2ae).
// All angles in radians.
struct SeenFromSite {
  std::array<double, 3> topocentric{};
  double rightAscension = 0, declination = 0;
  double localSiderealTime = 0, hourAngle = 0;
  double altitude = 0, azimuth = 0;
};
SeenFromSite SeeFromSite(const Site &site, const std::array<double, 3> &siteXyz,
                         const double geocentricOfDate[3], double gast);

// The Sun seen from the Earth's centre at the moment of `earth` (its ut1
// and tt2), apparent (light time and annual aberration), of the true
// equator and equinox of `earth`'s matrix: the apparent direction times
// the true distance, AU; its apparent ecliptic longitude of date, radians,
// 0 to 2 pi, and the true distance, AU.  Beside them the rate of the
// geometric longitude in the ecliptic of date, radians a day, which the
// apparent one's matches to about 1e-4 (the aberration and the precession
// and nutation change slowly).
struct GeocentricSun {
  double ofDate[3] = {};
  double eclipticLongitudeRad = 0;
  double distanceAU = 0;
  double eclipticLongitudeRateRadPerDay = 0;
};
GeocentricSun PreciseGeocentricSun(const EarthOrientation &earth);

// The same apparent Sun from a geometric Sun and an Earth's velocity that
// the caller has already (PreciseGeocentricSun takes them from eraEpv00 at
// the moment of `earth`): the Sun seen from the Earth's centre, geometric,
// AU, ICRS axes, and the Earth's barycentric velocity in units of c.  The
// Moon's quarters carry the Earth across a quarter's search from one
// exact evaluation and form the apparent Sun with this.  The longitude's
// rate is left at 0: it needs the Sun's velocity.
GeocentricSun ApparentGeocentricSun(const double geometricSun[3], const double earthVelocityC[3],
                                    const EarthOrientation &earth);

// The Sun seen from a site at a Julian date UT (full, not minus 2400000):
// right ascension and declination apparent and topocentric, of the true
// equator and equinox of date; the ecliptic longitude apparent and
// geocentric, of date; the distance the true geocentric distance,
// geometric; the local sidereal time apparent; the altitude true (without
// refraction), of the centre.
SunPlace PrecisePlaceAt(const Site &site, double julianDateUt);

// The Sun's astrometric place seen from the site at a Julian date UT: the
// geometric direction in the ICRS axes, without aberration or precession
// and nutation (what ephemerides list as "astrometric").  Right ascension
// in hours, 0 to 24, declination in degrees.
struct AstrometricPlace {
  double rightAscensionHours = 0;
  double declinationDeg = 0;
};
AstrometricPlace PreciseAstrometricAt(const Site &site, double julianDateUt);

// Delta T in seconds at a Julian date UT (full) as the precise theory takes
// it: DeltaTSeconds at the decimal year 2000 + (JD - 2451545) / 365.25.
double DeltaTSecondsAt(double julianDateUt);

// The same at a Julian date UT (full), as PrecisePlaceAt forms it.
GeocentricSun PreciseGeocentricAt(double julianDateUt);

// A local date in the precise theory.  Sunrise and sunset are the upper
// limb at the apparent horizon: the centre at -(34' of refraction + the
// semi-diameter at the date's local noon).
//
// As almanacs do, the Sun is computed exactly at two moments, half an hour
// before the date and half an hour after it, and taken between them: the
// geometric Sun by the cubic through its two places and two velocities
// (Hermite's), the slow rest (the Earth's velocity for the aberration, the
// precession-nutation matrix, the obliquity, the sidereal time less its
// steady turning) along the straight line.  Over a day that differs from
// the exact evaluation by far less than 0.01".  The site's parallax, the
// hour angle and the altitude are then exact.
class PreciseSunDay final : public SunDay {
public:
  PreciseSunDay(const Site &site, CivilDate date);
  SkyPoint At(double localHours) const override;
  SunPlace PlaceAt(double localHours) const override;
  double HorizonSinAltitude() const override { return horizonSinAltitude_; }
  const Site &site() const override { return site_; }
  CivilDate date() const override { return date_; }

  // The place at a local time, from the interpolated Sun.
  SunPlace PreciseAt(double localHours) const;

  // The same date and site with the site's height above sea level
  // changed, metres: the Sun's two exact evaluations are kept (they do not
  // depend on the site), so it gives what a day set up afresh for that
  // height gives, for a fraction of the work.
  PreciseSunDay AtElevation(double elevationM) const;

private:
  static constexpr double kFirstNode = -0.5, kLastNode = 24.5; // local hours

  // One exact evaluation, as the interpolation takes it.
  struct Node {
    double sun[3];        // geometric, AU, ICRS axes
    double sunRate[3];    // AU a day
    double velocity[3];   // the Earth's barycentric velocity, units of c
    double matrix[3][3];  // ICRS to the true equator and equinox of date
    double trueObliquity; // radians
    double gastResidual;  // sidereal time less the Earth's steady turning, radians
  };

  double JulianDateUt(double localHours) const;

  Site site_;
  CivilDate date_;
  double julianDay0_ = 0; // 0 h UT of the local date, full Julian date
  double horizonSinAltitude_ = 0;
  double siteXyz_[3] = {}; // the site, Earth-fixed, AU
  Node nodes_[2] = {};
};

} // namespace ostrel
