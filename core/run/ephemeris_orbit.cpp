// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun's apparent orbit and its equatorial coordinates.
//
// One Keplerian ellipse with fixed elements referred to the epoch 1980
// January 0.0 (JD 2444238.5): mean motion 360 / 365.2422 degrees a day,
// longitude of perigee 282.596403, mean anomaly at the epoch -3.762863,
// eccentricity 0.0167086, angular diameter 0.533128 degrees at 1 AU: the
// classic pocket-calculator elements for epoch 1980.0 (as in Duffett-Smith,
// Practical Astronomy with your Calculator, 2nd ed.).
// No perturbations, nutation or aberration.  The obliquity is the 1900
// polynomial 23.4523 - (46.845 T + 0.0059 T^2 - 0.001811 T^3) / 3600 degrees.
#include <cmath>
#include <limits>

#include "core/sun/classic_theory.h"
#include "core/run/ephemeris.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {
constexpr double kKmPerAU = 149597870;
constexpr int kCarryPasses = 16;
} // namespace

// Kepler's equation E - e sin E = M by Newton's method, radians.
void Ephemeris::Kepler() { state.EccAnomaly = classic::SolveKepler(state.MeanAnomaly); }

// The offset that brings the principal arctangent of AtnY / AtnX (degrees,
// -90 to 90) to the full circle 0 to 360.  A zero AtnX stands for the
// direction +-90 degrees (see ArcTanOfQuotient), which needs 0 or 360.
void Ephemeris::UnAtn() { state.QuadOffset = classic::QuadrantOffset(state.AtnY, state.AtnX); }

double Ephemeris::ArcTanOfQuotient() const {
  return classic::ArcTanOfQuotient(state.AtnY, state.AtnX);
}

double Ephemeris::TrueAnomalyAt(double julDay) {
  CalcState &s = state;
  const classic::OrbitPoint point = classic::Orbit(julDay, s.Rad, s.Pi);
  s.MeanLong = point.meanLong;
  s.MeanAnomaly = point.meanAnomaly;
  s.EccAnomaly = point.eccAnomaly;
  return point.trueAnomalyDeg;
}

// Ecliptic longitude, distance and diameter with their texts.
void Ephemeris::SolarOrbit() {
  CalcState &s = state;
  s.TrueAnomaly = TrueAnomalyAt(s.JulDay);
  s.SunLong = classic::EclipticLongitude(s.TrueAnomaly);
  s.RadiusAU = classic::RadiusVector(s.TrueAnomaly, s.Rad);
  s.DiamArcmin = 0.533128 / s.RadiusAU * 60;
  OrbitTexts();
}

void Ephemeris::OrbitTexts() {
  const CalcState &s = state;
  // The longitude is truncated, not rounded, to four decimals.
  report.LongSun = Text(std::floor(s.SunLong * 10000) / 10000);
  report.DistAU = DistanceText(s.RadiusAU);
  report.Distkm = Text(std::floor(s.RadiusAU * kKmPerAU));
  DiameterTexts();
}

// Whole minutes and seconds of arc, seconds rounded half to even; 60 seconds
// add 0.0084' (about half a second of arc) and split again.
void Ephemeris::DiameterTexts() {
  CalcState &s = state;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    s.DiamSecs = RoundHalfEven((s.DiamArcmin - std::floor(s.DiamArcmin)) * 60);
    if (s.DiamSecs != 60) break;
    s.DiamArcmin += 0.0084;
  }
  report.DiamMin = Text(std::floor(s.DiamArcmin));
  report.DiamSec = Text(static_cast<double>(s.DiamSecs));
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

// Hours, minutes and seconds of time, seconds rounded half up; 60 seconds add
// 0.00014 h (about half a second) to RAHours and split again.
void Ephemeris::RightAscensionTexts() {
  CalcState &s = state;
  double hours = 0, minutes = 0, seconds = 0;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    hours = std::floor(s.RAHours);
    minutes = (s.RAHours - hours) * 60;
    seconds = (minutes - std::floor(minutes)) * 60;
    if (std::floor(seconds + 0.5) != 60) break;
    s.RAHours += 0.00014;
  }
  report.RAHour = Text(hours);
  report.RAMin = Text(std::floor(minutes));
  report.RASec = Text(std::floor(seconds + 0.5));
}

// Sign, degrees, minutes and seconds of arc.  The degrees are truncated
// toward zero and the sign has its own label, so -0.5 degrees shows "-" 0.
// 60 seconds add 0.00014 degrees, toward the north whatever the sign.
void Ephemeris::DeclinationTexts() {
  CalcState &s = state;
  double degrees = 0, minutes = 0, seconds = 0;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    degrees = std::trunc(s.Decl);
    minutes = std::fabs(s.Decl - degrees) * 60;
    seconds = (minutes - std::floor(minutes)) * 60;
    if (std::floor(seconds + 0.5) != 60) break;
    s.Decl += 0.00014;
  }
  report.Label33.assign(s.Decl < 0 ? 1 : 0, '-'); // "-" or empty
  report.DeclGrad = Text(std::fabs(degrees));
  report.DeclMin = Text(std::floor(minutes));
  report.DeclSec = Text(std::floor(seconds + 0.5));
}

} // namespace ostrel
