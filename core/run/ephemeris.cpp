// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation driver: the fixed order of a run, the number format of its
// texts, and the greatest altitude of the day, which closes every run.
#include "core/run/ephemeris.h"

#include <utility>

#include "core/text/numtext.h"

namespace ostrel {

void Ephemeris::MAINCALC() {
  if (theory == Theory::Precise) {
    PreciseRun();
    return;
  }
  // The order carries data:
  DayOfYear();             // the date -> DOY
  JulianDates();           // the moment -> JulDay, JulDay0
  SiderealTime();          // JulDay0, the year, UtHours -> T1900, Lst
  SiderealTexts();         // Lst -> its texts, and Lst raised on a carry
  SolarOrbit();            // JulDay -> SunLong, RadiusAU, DiamArcmin (raised on a carry)
  EquatorialCoordinates(); // SunLong, T1900 -> Obliquity, RAHours, Decl (both raised on a carry)
  HorizontalCoordinates(); // Lst, RAHours, Decl as raised -> AltDeg, ZenDeg, Azim
  Refraction();            // ZenDeg, AltDeg -> ZenAppDeg, AltAppDeg
  Airmass();               // ZenDeg, ZenAppDeg
  RISESET();               // the site, the date, Obliquity -> CulmTime, CulmDecl, rise, set
  GreatestAltitude();      // LatRad, CulmDecl
}

void Ephemeris::SetNumberFormat(std::string decimalSeparator,
                                std::function<std::string(double)> distanceText) {
  format_ = {std::move(decimalSeparator), std::move(distanceText)};
}

// The greatest altitude, 90 - |latitude - declination at culmination|, from
// the declination that RISESET found at local mean noon, in single precision.
void Ephemeris::GreatestAltitude() {
  const CalcState &s = state;
  float altMaxDeg = RoundToSingle(90 - s.LatRad / s.Rad + s.CulmDecl);
  if (altMaxDeg > 90) altMaxDeg = RoundToSingle(180 - double{altMaxDeg});
  report.AltMax = texts::GreatestAltitudeText(altMaxDeg, format_);
}

} // namespace ostrel
