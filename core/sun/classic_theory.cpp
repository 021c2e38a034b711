// SPDX-License-Identifier: GPL-3.0-or-later
// The classic theory's formulas; the order of every sum is kept as the
// window's run has it, since it fixes the rounding of the last digit.  Each
// constant's source stands beside it.
#include "core/sun/classic_theory.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrel::classic {
namespace {
// The Sun's apparent orbit is one Keplerian ellipse with fixed elements
// referred to the epoch 1980 January 0.0 (JD 2444238.5, carried as 44238.5):
// the classic pocket-calculator elements for epoch 1980.0 (Duffett-Smith,
// Practical Astronomy with your Calculator, 2nd ed.).  No perturbations,
// nutation or aberration.  The eccentricity, and 1 + e and 1 - e as the true
// anomaly's formula writes them out:
constexpr double kEccentricity = 0.0167086;
// Newton's method converges in at most two corrections for this eccentricity;
// the bound only stops a value outside the range from looping for ever.
constexpr int kKeplerPasses = 50;
} // namespace

JulianDateParts JulianDate(double year, double month, double day) {
  JulianDateParts parts;
  if (month > 2) {
    parts.yearAdj = year;
    parts.monthAdj = month;
  } else {
    parts.yearAdj = year - 1;
    parts.monthAdj = month + 12;
  }
  const double a = std::floor(parts.yearAdj / 100);
  const double b = 2 - a + std::floor(a / 4);
  // The usual Gregorian rule, carried minus 2400000 (so a value ending in .5
  // is 0 h UT and the modified Julian date is julDay - 0.5).  The three whole
  // numbers first, then the day with its fraction, then the constant
  // 1720994.5 - 2400000.
  parts.julDay = b + std::floor(365.25 * parts.yearAdj) +
                 std::floor(30.6001 * (parts.monthAdj + 1)) + day - 679005.5;
  return parts;
}

SiderealParts LocalSiderealTime(double julDay0, double year, double longHours,
                                double utHours) {
  SiderealParts parts;
  // Newcomb's polynomial for the Greenwich mean sidereal time at 0 h UT,
  // referred to JD 2415020.0 (1900 January 0.5), with 1.002738 sidereal
  // hours to the solar hour.
  parts.t1900 = (julDay0 - 15020) / 36525;
  parts.gmst0 = 6.6460656 + 2400.051262 * parts.t1900 +
                0.00002581 * (parts.t1900 * parts.t1900);
  // gmst0 carries about 24 hours for every year since 1900; the two
  // subtractions take most of them off before the reduction loops.
  double lst = parts.gmst0 - 24 * (year - 1900) - 24 + 1.002738 * utHours;
  while (lst >= 24) lst -= 24;
  while (lst < 0) lst += 24;
  lst += longHours;
  if (lst < 0) lst += 24;
  if (lst > 24) lst -= 24; // exactly 24 stays
  parts.lst = lst;
  return parts;
}

// The 1900 polynomial: 23.4523 - (46.845 T + 0.0059 T^2 - 0.001811 T^3) / 3600
// degrees.
double Obliquity(double t1900) {
  const double t = t1900;
  return 23.4523 - (46.845 * t + 0.0059 * std::pow(t, 2) - 0.001811 * std::pow(t, 3)) / 3600;
}

double SolveKepler(double meanAnomaly) {
  double e = meanAnomaly;
  for (int pass = 0; pass < kKeplerPasses; ++pass) {
    const double residual = e - kEccentricity * std::sin(e) - meanAnomaly;
    if (std::fabs(residual) <= 0.0000001) break;
    e = e - residual / (1 - kEccentricity * std::cos(e));
  }
  return e;
}

OrbitPoint Orbit(double julDay, double rad, double pi) {
  OrbitPoint point;
  // Mean motion 360 / 365.2422 degrees a day from the epoch; mean anomaly at
  // the epoch -3.762863 degrees (the longitude at the epoch less that of
  // perigee).
  const double motion = (julDay - 44238.5) * (360 / 365.2422);
  // Into 0..360 for past and future dates alike.
  point.meanLong = (motion / 360 - std::floor(motion / 360)) * 360;
  double m = point.meanLong - 3.762863;
  if (m < 0) m += 360;
  point.meanAnomaly = m * rad;
  point.eccAnomaly = SolveKepler(point.meanAnomaly);
  point.trueAnomalyDeg =
      std::atan(std::sqrt(1.0167086 / 0.9832914) * std::tan(point.eccAnomaly / 2)) * 360 / pi;
  return point;
}

// The longitude of perigee at the epoch, 282.596403 degrees.
double EclipticLongitude(double trueAnomalyDeg) {
  double lambda = trueAnomalyDeg + 282.596403;
  while (lambda >= 360) lambda -= 360;
  while (lambda < 0) lambda += 360;
  return lambda;
}

double RadiusVector(double trueAnomalyDeg, double rad) {
  return (1 - kEccentricity * kEccentricity) /
         (1 + kEccentricity * std::cos(trueAnomalyDeg * rad));
}

// The angular diameter at 1 AU, 0.533128 degrees, of the same elements.
double DiameterArcmin(double radiusAU) { return 0.533128 / radiusAU * 60; }

double ArcTanOfQuotient(double y, double x) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const double quotient = x != 0 ? y / x : (y < 0 ? -kInfinity : kInfinity);
  return std::atan(quotient);
}

double QuadrantOffset(double y, double x) {
  if (x < 0) return 180;
  if (y < 0) return 360;
  return 0;
}

HorizonPoint Horizon(double latRad, double hourAngle, double declination, double rad) {
  HorizonPoint p;
  const double phi = latRad;
  p.sinAlt = std::sin(phi) * std::sin(declination) +
             std::cos(declination) * std::cos(phi) * std::cos(hourAngle);
  p.sinAlt = std::clamp(p.sinAlt, -1.0, 1.0);
  const double cosAlt = std::sqrt(1 - std::pow(p.sinAlt, 2));
  p.altDeg = std::atan(p.sinAlt / cosAlt) / rad; // +-inf gives +-90 at the zenith
  double cosAzim = (std::sin(declination) - std::sin(phi) * p.sinAlt) / std::cos(phi) / cosAlt;
  if (std::isnan(cosAzim)) cosAzim = 1; // 0 / 0: Sun in the zenith, no direction
  cosAzim = std::clamp(cosAzim, -1.0, 1.0);
  p.atnY = std::sqrt(1 - std::pow(cosAzim, 2));
  p.atnX = cosAzim;
  const double principal = ArcTanOfQuotient(p.atnY, p.atnX) / rad;
  p.quadOffset = QuadrantOffset(p.atnY, p.atnX);
  p.azimuthDeg = principal + p.quadOffset; // 0 to 180
  if (std::sin(hourAngle) > 0) p.azimuthDeg = 360 - p.azimuthDeg; // west of the meridian
  return p;
}

// Refraction in seconds of arc, by zenith angle z and altitude h in degrees:
//   z <= 85      58.16 tan z - 0.067 tan^3 z + 0.000086 tan^5 z
//   z <= 90.575  1735 - 518.2 h + 103.4 h^2 - 12.79 h^3 + 0.711 h^4
//   beyond       -20.774 / tan h
double RefractionArcsec(double zenithDeg, double altitudeDeg, double rad) {
  const double z = zenithDeg;
  const double h = altitudeDeg;
  if (z <= 85) {
    const double tanZ = std::tan(z * rad);
    return 58.16 * tanZ - 0.067 * std::pow(tanZ, 3) + 0.000086 * std::pow(tanZ, 5);
  }
  if (z <= 90.575) return (((0.711 * h - 12.79) * h + 103.4) * h - 518.2) * h + 1735;
  return -20.774 / std::tan(h * rad);
}

// 1 / cos z below 60 degrees of apparent zenith angle, else Kasten and Young
// (Applied Optics 28, 4735, 1989) with the apparent zenith angle.
double Airmass(double apparentZenithDeg, double rad) {
  const double zeta = apparentZenithDeg;
  if (zeta < 60) return 1 / std::cos(zeta * rad);
  return 1 / (std::cos(zeta * rad) + 0.50572 * std::pow(96.07995 - zeta, -1.6364));
}

} // namespace ostrel::classic
