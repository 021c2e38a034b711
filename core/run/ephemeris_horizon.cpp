// SPDX-License-Identifier: GPL-3.0-or-later
// Steps of the run: the Sun in the observer's sky, true altitude and zenith
// angle, azimuth in the chosen convention, refraction with the apparent
// altitude, and airmass, with their texts.  The refraction formula and its
// source are in core/sun/classic_theory.cpp.
#include <optional>

#include "core/run/ephemeris.h"
#include "core/sun/angles.h"
#include "core/sun/classic_theory.h"

namespace ostrel {

// Steps shared by the run and by SunAtTime: the altitude and the azimuth
// from north through east for an hour angle and a declination in radians
// (see classic::Horizon).  A cosine of exactly 0 (the Sun due east or west)
// gives 90 degrees through the arctangent of the quotient.
void Ephemeris::AltitudeAzimuth(double hourAngle, double declination) {
  CalcState &s = state;
  const classic::HorizonPoint p = classic::Horizon(s.LatRad, hourAngle, declination, s.Rad);
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
  s.Azim = AzimuthInConvention(s.Azim, s.AzimuthMode);
  s.ZenDeg = 90 - s.AltDeg;
  HorizontalTexts();
}

void Ephemeris::HorizontalTexts() {
  const CalcState &s = state;
  const texts::Horizontal horizontal =
      texts::HorizontalTexts(s.AltDeg, s.ZenDeg, s.Azim, s.LatRad / s.Rad, format_);
  report.AltTrue = horizontal.altitude;
  report.ZenTrue = horizontal.zenith;
  report.AzimTrue = horizontal.azimuth;
}

void Ephemeris::Refraction() {
  CalcState &s = state;
  s.RefrArcsec = classic::RefractionArcsec(s.ZenDeg, s.AltDeg, s.Rad);
  s.ZenAppDeg = s.ZenDeg - s.RefrArcsec / 3600;
  s.AltAppDeg = 90 - s.ZenAppDeg;
  const texts::Apparent apparent = texts::ApparentTexts(s.AltAppDeg, s.ZenAppDeg, format_);
  report.AltApp = apparent.altitude;
  report.ZenApp = apparent.zenith;
}

// Computed up to 91 degrees of true zenith angle, so the airmass of a Sun
// whose apparent altitude is already below 0 is still shown.
void Ephemeris::Airmass() {
  const CalcState &s = state;
  const std::optional<double> airmass =
      s.ZenDeg > 91 ? std::nullopt
                    : std::optional<double>(classic::Airmass(s.ZenAppDeg, s.Rad));
  report.Airmass = texts::AirmassText(airmass, format_);
}

} // namespace ostrel
