// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation driver: the fixed order of a run, the number format of its
// texts, and the greatest altitude of the day, which closes every run.
#include "core/run/ephemeris.h"

#include <charconv>
#include <cmath>

#include "core/text/numtext.h"

namespace ostrel {

void Ephemeris::MAINCALC() {
  if (theory == Theory::Precise) {
    PreciseRun();
    return;
  }
  // The order carries data: the sidereal time needs JulDay0 and the year;
  // the obliquity uses T1900; the hour angle uses Lst, RAHours and Decl as
  // their text loops left them; RISESET reuses the obliquity of this run.
  DayOfYear();
  JulianDates();
  SiderealTime();
  SiderealTexts();
  SolarOrbit();
  EquatorialCoordinates();
  HorizontalCoordinates();
  Refraction();
  Airmass();
  RISESET();
  GreatestAltitude();
}

void Ephemeris::SetNumberFormat(std::string decimalSeparator,
                                std::function<std::string(double)> distanceText) {
  decimalSeparator_ = std::move(decimalSeparator);
  distanceText_ = std::move(distanceText);
}

std::string Ephemeris::Text(double value) const {
  return NumText(value, decimalSeparator_);
}

std::string Ephemeris::Text(float value) const {
  return NumText(value, decimalSeparator_);
}

std::string Ephemeris::DistanceText(double radiusAU) const {
  if (distanceText_) return distanceText_(radiusAU);
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, radiusAU,
                                 std::chars_format::fixed, 8).ptr;
  std::string text(buffer, end);
  if (const auto point = text.find('.'); point != std::string::npos) {
    text.replace(point, 1, decimalSeparator_);
  }
  return text;
}

// The greatest altitude, 90 - |latitude - declination at culmination|, from
// the declination that RISESET found at local mean noon.  Truncation toward
// zero brings a negative altitude up to 0.01 nearer zero: -5.237 gives -5.23.
void Ephemeris::GreatestAltitude() {
  CalcState &s = state;
  s.AltMaxDeg = RoundToSingle(90 - s.LatRad / s.Rad + s.CulmDecl);
  if (s.AltMaxDeg > 90) s.AltMaxDeg = RoundToSingle(180 - double{s.AltMaxDeg});
  report.AltMax = Text(std::trunc(s.AltMaxDeg * 100.0 + 0.5) / 100);
}

} // namespace ostrel
