// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/moon/moon_theory.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace ostrel {

void EclipticOfDate(const double v[3], double trueObliquity, double *longitudeRad,
                    double *latitudeRad) {
  const double c = std::cos(trueObliquity), s = std::sin(trueObliquity);
  const double y = v[1] * c + v[2] * s;
  const double z = -v[1] * s + v[2] * c;
  *longitudeRad = std::atan2(y, v[0]);
  *latitudeRad = std::atan2(z, std::sqrt(v[0] * v[0] + y * y));
}

void Rotate(const double m[3][3], const double v[3], double out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
}

void RotateBack(const double m[3][3], const double v[3], double out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = m[0][i] * v[0] + m[1][i] * v[1] + m[2][i] * v[2];
}

GeocentricMoon MoonAt(const EarthOrientation &earth) {
  double pv[2][3];
  eraMoon98(earth.ut1, earth.tt2, pv);
  GeocentricMoon moon;
  moon.distanceAu = eraPm(pv[0]);
  // Light time in days: distance (AU) times the seconds light takes for an AU.
  moon.lightTimeDays = moon.distanceAu * ERFA_AULT / ERFA_DAYSEC;
  for (int i = 0; i < 3; ++i) {
    moon.gcrs[i] = pv[0][i] - pv[1][i] * moon.lightTimeDays;
    moon.rate[i] = pv[1][i];
  }
  Rotate(earth.matrix, moon.gcrs, moon.ofDate);
  EclipticOfDate(moon.ofDate, earth.trueObliquity, &moon.eclipticLongitudeRad,
                 &moon.eclipticLatitudeRad);
  return moon;
}

} // namespace ostrel
