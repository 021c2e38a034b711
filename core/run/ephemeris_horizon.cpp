// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun in the observer's sky: true altitude and zenith angle, azimuth in
// the chosen convention, refraction with the apparent altitude, and airmass.
//
// Refraction in seconds of arc, by zenith angle z and altitude h in degrees:
//   z <= 85      58.16 tan z - 0.067 tan^3 z + 0.000086 tan^5 z
//   z <= 90.575  1735 - 518.2 h + 103.4 h^2 - 12.79 h^3 + 0.711 h^4
//   beyond       -20.774 / tan h
// Airmass: 1 / cos z below 60 degrees of apparent zenith angle, else Kasten
// and Young (Applied Optics 28, 4735, 1989) with the apparent zenith angle.
#include <algorithm>
#include <cmath>

#include "core/sun/classic_theory.h"
#include "core/run/ephemeris.h"

namespace ostrel {

// Steps shared by the run and by SunAtTime: the altitude and the azimuth
// from north through east for an hour angle and a declination in radians
// (see classic::Horizon).  A cosine of exactly 0 (the Sun due east or west)
// gives 90 degrees through the arctangent of the quotient.
void Ephemeris::AltitudeAzimuth(double hourAngle, double declination) {
  CalcState &s = state;
  const classic::HorizonPoint p = classic::Horizon(s.LatRad, hourAngle, declination, s.Rad);
  s.SinAlt = p.sinAlt;
  s.AltDeg = p.altDeg;
  s.AtnY = p.atnY;
  s.AtnX = p.atnX;
  s.QuadOffset = p.quadOffset;
  s.Azim = p.azimuthDeg;
}

void Ephemeris::HorizontalCoordinates() {
  CalcState &s = state;
  const double hourAngle = (s.Lst - s.RAHours) / 12 * s.Pi; // radians, not reduced
  AltitudeAzimuth(hourAngle, s.Decl * s.Rad);
  s.Azim += s.AzimuthMode;
  if (s.Azim > 360) s.Azim -= 360; // exactly 360 stays: south seen from the south
  s.ZenDeg = 90 - s.AltDeg;
  HorizontalTexts();
}

void Ephemeris::HorizontalTexts() {
  const CalcState &s = state;
  // Truncation toward zero after adding 0.5: -63.8072 shows -63.806.
  report.AltTrue = Text(std::trunc(s.AltDeg * 1000 + 0.5) / 1000);
  report.ZenTrue = Text(std::floor(s.ZenDeg * 1000 + 0.5) / 1000);
  const double latitude = s.LatRad / s.Rad;
  report.AzimTrue = latitude == 90 || latitude == -90
                        ? "- - - - - -" // every direction is south (or north) there
                        : Text(std::floor(s.Azim * 1000 + 0.5) / 1000);
}

void Ephemeris::Refraction() {
  CalcState &s = state;
  const double z = s.ZenDeg;
  if (z <= 85) s.TanZen = std::tan(z * s.Rad);
  const double r = classic::RefractionArcsec(z, s.AltDeg, s.Rad);
  s.RefrArcsec = r;
  s.ZenAppDeg = z - r / 3600;
  s.AltAppDeg = 90 - s.ZenAppDeg;

  if (s.AltAppDeg >= 0) {
    report.AltApp = Text(std::trunc(s.AltAppDeg * 1000 + 0.5) / 1000);
    report.ZenApp = Text(std::floor(s.ZenAppDeg * 1000 + 0.5) / 1000);
  } else {
    report.AltApp = "--------";
    report.ZenApp = "--------";
  }
}

// Computed up to 91 degrees of true zenith angle, so the airmass of a Sun
// whose apparent altitude is already below 0 is still shown.
void Ephemeris::Airmass() {
  CalcState &s = state;
  if (s.ZenDeg > 91) {
    report.Airmass = "--------------";
    return;
  }
  const double zeta = s.ZenAppDeg;
  if (zeta < 60) {
    s.AirmassValue = 1 / std::cos(zeta * s.Rad);
  } else {
    s.AirmassValue =
        1 / (std::cos(zeta * s.Rad) + 0.50572 * std::pow(96.07995 - zeta, -1.6364));
  }
  report.Airmass = Text(std::floor(s.AirmassValue * 10000 + 0.5) / 10000);
}

} // namespace ostrel
