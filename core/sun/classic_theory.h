// SPDX-License-Identifier: GPL-3.0-or-later
// The classic theory's formulas as plain functions of their arguments: the
// Julian date, the local sidereal time, the orbit and the obliquity.  The
// window's run (Ephemeris) and the evaluation of the Sun at any moment of a
// day (ClassicSunDay) both compute with these, so the two agree to the bit.
//
// The sources of the constants stand beside them in classic_theory.cpp.
#pragma once

namespace ostrel::classic {

// The Julian date minus 2400000 of a day (with fraction) of a month of a
// year, Gregorian calendar.  January and February count as months 13 and 14
// of the year before; the adjusted year and month are handed back.
struct JulianDateParts {
  double julDay = 0;
  double yearAdj = 0;
  double monthAdj = 0;
};
JulianDateParts JulianDate(double year, double month, double day);

// The local sidereal time in hours, 0 to 24 (exactly 24 stays), at `utHours`
// after 0 h UT of the date whose Julian date minus 2400000 is `julDay0`, for
// a longitude in hours east.  `year` is the date's year: the polynomial's
// whole turns since 1900 are taken off with it before the reduction.
struct SiderealParts {
  double t1900 = 0; // Julian centuries from JD 2415020.0 to julDay0
  double gmst0 = 0; // Greenwich sidereal time at 0 h UT, hours, not reduced
  double lst = 0;
};
SiderealParts LocalSiderealTime(double julDay0, double year, double longHours,
                                double utHours);

// The obliquity of the ecliptic, degrees, for Julian centuries from 1900.
double Obliquity(double t1900);

// Kepler's equation E - e sin E = M by Newton's method, radians.
double SolveKepler(double meanAnomaly);

// The Sun's orbit at a Julian date minus 2400000.  `rad` is the program's
// degrees-to-radians factor and `pi` its pi.
struct OrbitPoint {
  double meanLong = 0;       // degrees, 0 to 360
  double meanAnomaly = 0;    // radians
  double eccAnomaly = 0;     // radians
  double trueAnomalyDeg = 0; // degrees, -180 to 180
};
OrbitPoint Orbit(double julDay, double rad, double pi);

// The Sun's angular diameter in minutes of arc at a distance in astronomical
// units.
double DiameterArcmin(double radiusAU);

// The ecliptic longitude of the Sun from the true anomaly, degrees 0 to 360.
double EclipticLongitude(double trueAnomalyDeg);

// The Earth-Sun distance in astronomical units from the true anomaly.
double RadiusVector(double trueAnomalyDeg, double rad);

// The principal arctangent of y / x in radians, a zero x standing for +-90
// degrees by the sign of y; and the offset in degrees (0, 180 or 360) that
// brings it to the full circle.
double ArcTanOfQuotient(double y, double x);
double QuadrantOffset(double y, double x);

// The Sun in the observer's sky for a latitude, an hour angle and a
// declination, all in radians.  Near a meridian or zenith passage rounding
// can carry |sinAlt| or the azimuth cosine a hair beyond 1, and with the Sun
// exactly in the zenith the azimuth divisor is zero: both are limited to
// +-1 (an altitude of +-90 degrees, an azimuth of 0 or 180 degrees).
struct HorizonPoint {
  double sinAlt = 0;
  double altDeg = 0;     // true altitude
  double atnY = 0;       // the azimuth's sine and cosine as handed to the
  double atnX = 0;       // arctangent, and its quadrant offset
  double quadOffset = 0;
  double azimuthDeg = 0; // from north through east, 0 to 360
};
HorizonPoint Horizon(double latRad, double hourAngle, double declination, double rad);

// Refraction in seconds of arc by the true zenith angle z and altitude h in
// degrees, in three ranges.
double RefractionArcsec(double zenithDeg, double altitudeDeg, double rad);

// The relative airmass at an apparent zenith angle in degrees.
double Airmass(double apparentZenithDeg, double rad);

} // namespace ostrel::classic
