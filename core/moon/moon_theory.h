// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon seen from the Earth's centre, from ERFA's eraMoon98: the shared
// first step of the Moon's place, its day and its quarters.
//
// eraMoon98 is Meeus' truncated ELP 2000-82 (Astronomical Algorithms,
// 2nd ed., 1998, ch. 47) without its light-time term, expressed in the
// GCRS (the J2000.0 mean equator and equinox to within 23 mas); ERFA gives
// its errors against ELP/MPP02 over 1950-2100 as 2.9" RMS and 18.3" at
// worst in geocentric direction, 6.1 km RMS in position.
//
// The apparent geocentric Moon is the geometric Moon of the moment less its
// motion over the light time.  The annual aberration is not applied: the
// Earth carries the Moon with it, so that the Earth's barycentric velocity
// moves the apparent Moon only through their relative motion, which is the
// light-time step (the planetary aberration of a geocentric body).
#pragma once

#include "core/sun/precise_sun.h"

namespace ostrel {

struct GeocentricMoon {
  double gcrs[3] = {};   // apparent: the Moon one light time earlier, AU, GCRS axes
  double rate[3] = {};   // its velocity, AU a day, GCRS axes
  double ofDate[3] = {}; // gcrs in the true equator and equinox of date, AU
  double eclipticLongitudeRad = 0; // apparent, of date, -pi to pi
  double eclipticLatitudeRad = 0;  // apparent, of date
  double distanceAu = 0;           // true distance at the moment (geometric)
  double lightTimeDays = 0;
};

// The Moon at the moment of `earth` (its ut1 + tt2, TT), with `earth`'s
// matrix and true obliquity for the place of date.
GeocentricMoon MoonAt(const EarthOrientation &earth);

// The ecliptic longitude and latitude, radians, of a vector in the true
// equator and equinox of date, on the ecliptic of date (true obliquity,
// radians).
void EclipticOfDate(const double ofDate[3], double trueObliquity, double *longitudeRad,
                    double *latitudeRad);

// A vector turned by a matrix (out = matrix v) and by its transpose.
void Rotate(const double matrix[3][3], const double v[3], double out[3]);
void RotateBack(const double matrix[3][3], const double v[3], double out[3]);

} // namespace ostrel
