// SPDX-License-Identifier: GPL-3.0-or-later
// Steps of the run: the Sun's apparent orbit (ecliptic longitude, distance,
// diameter) and its equatorial coordinates, with their texts.  The orbit's
// elements and the obliquity, with their sources, are in
// core/sun/classic_theory.cpp.
#include <cmath>

#include "core/run/ephemeris.h"
#include "core/sun/classic_theory.h"

namespace ostrel {
// The offset that brings the principal arctangent of AtnY / AtnX (degrees,
// -90 to 90) to the full circle 0 to 360.  A zero AtnX stands for the
// direction +-90 degrees (see ArcTanOfQuotient), which needs 0 or 360.
void Ephemeris::UnAtn() { state.QuadOffset = classic::QuadrantOffset(state.AtnY, state.AtnX); }

double Ephemeris::ArcTanOfQuotient() const {
  return classic::ArcTanOfQuotient(state.AtnY, state.AtnX);
}

// Ecliptic longitude, distance and diameter with their texts.
void Ephemeris::SolarOrbit() {
  CalcState &s = state;
  const double trueAnomaly = classic::Orbit(s.JulDay, s.Rad, s.Pi).trueAnomalyDeg;
  s.SunLong = classic::EclipticLongitude(trueAnomaly);
  s.RadiusAU = classic::RadiusVector(trueAnomaly, s.Rad);
  s.DiamArcmin = classic::DiameterArcmin(s.RadiusAU);
  OrbitTexts();
}

void Ephemeris::OrbitTexts() {
  const texts::Orbit orbit = texts::OrbitTexts(state.SunLong, state.RadiusAU, format_);
  report.LongSun = orbit.longitude;
  report.DistAU = orbit.distanceAU;
  report.Distkm = orbit.distanceKm;
  DiameterTexts();
}

void Ephemeris::DiameterTexts() {
  const texts::Diameter diameter = texts::DiameterTexts(state.DiamArcmin, format_);
  report.DiamMin = diameter.minutes;
  report.DiamSec = diameter.seconds;
  state.DiamArcmin = diameter.diamArcmin;
}

// Obliquity for 0 h UT of the local date, declination and right ascension.
void Ephemeris::EquatorialCoordinates() {
  CalcState &s = state;
  s.Obliquity = classic::Obliquity(s.T1900);
  const double lambda = s.SunLong * s.Rad;
  const double epsilon = s.Obliquity * s.Rad;
  const double sinDecl = std::sin(lambda) * std::sin(epsilon);
  s.Decl = std::atan(sinDecl / std::sqrt(1 - std::pow(sinDecl, 2))) * 180 / s.Pi;
  s.AtnY = std::sin(lambda) * std::cos(epsilon);
  s.AtnX = std::cos(lambda);
  const double principal = ArcTanOfQuotient() / s.Rad;
  UnAtn();
  s.RAHours = (s.QuadOffset + principal) / 15;
  RightAscensionTexts();
  DeclinationTexts();
}

void Ephemeris::RightAscensionTexts() {
  const texts::RightAscension ra = texts::RightAscensionTexts(state.RAHours, format_);
  report.RAHour = ra.hour;
  report.RAMin = ra.minute;
  report.RASec = ra.second;
  state.RAHours = ra.raHours;
}

void Ephemeris::DeclinationTexts() {
  const texts::Declination decl = texts::DeclinationTexts(state.Decl, format_);
  report.Label33 = decl.sign;
  report.DeclGrad = decl.degrees;
  report.DeclMin = decl.minutes;
  report.DeclSec = decl.seconds;
  state.Decl = decl.declDeg;
}

} // namespace ostrel
