// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun's orbit and equatorial coordinates.
#include <gtest/gtest.h>

#include <cmath>

#include "core/sun/classic_theory.h"
#include "run_helpers.h"

namespace ostrel::test {
namespace {

struct OrbitCase {
  const char *what;
  Site site;
  Moment moment;
  double sunLong, radiusAU; // checked to 1e-5 degrees and 1e-7 AU
  const char *longSun, *distAU, *distKm, *diamMin, *diamSec;
  const char *raHour, *raMin, *raSec, *sign, *declGrad, *declMin, *declSec;
};

TEST(SolarOrbit, PositionTexts) {
  const OrbitCase cases[] = {
      {"J2000", {0, 0, 0}, {2000, 1, 1, 12}, 280.39307, 0.9833033,
       "280.393", "0.98330335", "147100086", "32", "32", "18", "45", "13", "-", "23", "1", "56"},
      {"June solstice 2011", {0, 0, 3}, {2011, 6, 21, 12}, 89.65339, 1.0162699,
       "89.6533", "1.01626985", "152031805", "31", "29", "5", "58", "29", "", "23", "26", "14"},
  };
  for (const auto &c : cases) {
    const Ephemeris e = Compute(c.site, c.moment);
    const SunReport &r = e.report;
    EXPECT_NEAR(e.state.SunLong, c.sunLong, 1e-5) << c.what;
    EXPECT_NEAR(e.state.RadiusAU, c.radiusAU, 1e-7) << c.what;
    EXPECT_EQ(r.LongSun, c.longSun) << c.what;
    EXPECT_EQ(r.DistAU, c.distAU) << c.what;
    EXPECT_EQ(r.Distkm, c.distKm) << c.what;
    EXPECT_EQ(r.DiamMin, c.diamMin) << c.what;
    EXPECT_EQ(r.DiamSec, c.diamSec) << c.what;
    EXPECT_EQ(r.RAHour, c.raHour) << c.what;
    EXPECT_EQ(r.RAMin, c.raMin) << c.what;
    EXPECT_EQ(r.RASec, c.raSec) << c.what;
    EXPECT_EQ(r.Label33, c.sign) << c.what;
    EXPECT_EQ(r.DeclGrad, c.declGrad) << c.what;
    EXPECT_EQ(r.DeclMin, c.declMin) << c.what;
    EXPECT_EQ(r.DeclSec, c.declSec) << c.what;
  }
}

TEST(Kepler, ApsidesNeedNoCorrection) {
  for (double m : {0.0, kPi}) EXPECT_EQ(classic::SolveKepler(m), m);
}

TEST(Kepler, SolvesTheEquationAroundTheOrbit) {
  for (int degrees = 0; degrees < 360; degrees += 5) {
    const double meanAnomaly = (degrees + 0.3) * kRad;
    const double ecc = classic::SolveKepler(meanAnomaly);
    EXPECT_NEAR(ecc - 0.0167086 * std::sin(ecc), meanAnomaly, 1e-7) << degrees;
  }
}

struct QuadrantCase {
  double y, x, offset;
};

TEST(UnAtn, OffsetByTheSignsOfTheQuotient) {
  const QuadrantCase cases[] = {
      {1, 1, 0},   {0, 1, 0},   {-1, 1, 360}, {1, -1, 180}, {-1, -1, 180}, {0, -1, 180},
      // A zero denominator stands for +-90 degrees: 90 or 270 on the circle.
      {1, 0, 0},   {-1, 0, 360},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.AtnY = c.y;
    e.state.AtnX = c.x;
    e.UnAtn();
    EXPECT_EQ(e.state.QuadOffset, c.offset) << c.y << "/" << c.x;
  }
}

// The right ascension follows the longitude through all four quadrants and
// stays within 0..24 hours.
TEST(EquatorialCoordinates, RightAscensionInEachQuadrant) {
  const struct {
    double sunLong, offset;
  } cases[] = {{10, 0}, {89, 0}, {91, 180}, {180, 180}, {269, 180}, {271, 360}, {359.9, 360}};
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.SunLong = c.sunLong;
    e.state.T1900 = 1.1;
    e.EquatorialCoordinates();
    EXPECT_EQ(e.state.QuadOffset, c.offset) << c.sunLong;
    EXPECT_GE(e.state.RAHours, 0) << c.sunLong;
    EXPECT_LT(e.state.RAHours, 24) << c.sunLong;
    // Within a few degrees of the longitude itself (obliquity ~23.4).
    EXPECT_NEAR(e.state.RAHours * 15, c.sunLong, 2.5) << c.sunLong;
  }
}

struct DmsCarryCase {
  const char *what;
  double value;
  const char *sign, *whole, *minutes, *seconds;
};

TEST(EquatorialCoordinates, DeclinationCarryAndSign) {
  const DmsCarryCase cases[] = {
      // 59.8" rounds to 60: 0.00014 degrees toward the north, then 59.
      {"-10 4 59.8 moves toward zero", -(10 + 4.0 / 60 + 59.8 / 3600), "-", "10", "4", "59"},
      {"+10 4 59.8 carries into the minute", 10 + 4.0 / 60 + 59.8 / 3600, "", "10", "5", "0"},
      {"between -1 and 0 the sign stands alone", -0.5, "-", "0", "30", "0"},
      {"seconds rounded to the nearest", 23 + 1.0 / 60 + 55.6 / 3600, "", "23", "1", "56"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.Decl = c.value;
    e.DeclinationTexts();
    EXPECT_EQ(e.report.Label33, c.sign) << c.what;
    EXPECT_EQ(e.report.DeclGrad, c.whole) << c.what;
    EXPECT_EQ(e.report.DeclMin, c.minutes) << c.what;
    EXPECT_EQ(e.report.DeclSec, c.seconds) << c.what;
  }
}

TEST(EquatorialCoordinates, RightAscensionCarry) {
  const DmsCarryCase cases[] = {
      {"5 59 59.6 shows 6 0 0", 5 + 59.0 / 60 + 59.6 / 3600, "", "6", "0", "0"},
      {"59.4 s stays", 5 + 59.0 / 60 + 59.4 / 3600, "", "5", "59", "59"},
      {"seconds rounded to the nearest", 12 + 30.0 / 60 + 10.6 / 3600, "", "12", "30", "11"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.RAHours = c.value;
    e.RightAscensionTexts();
    EXPECT_EQ(e.report.RAHour, c.whole) << c.what;
    EXPECT_EQ(e.report.RAMin, c.minutes) << c.what;
    EXPECT_EQ(e.report.RASec, c.seconds) << c.what;
  }
}

TEST(SolarOrbit, DiameterSecondsHalfEvenWithCarry) {
  const DmsCarryCase cases[] = {
      {"59.6 arcsec carries into the minute", 31 + 59.6 / 60, "", "32", "0", ""},
      {"7.5 arcsec rounds to the even 8", 32.125, "", "32", "8", ""},
      {"22.5 arcsec rounds to the even 22", 32.375, "", "32", "22", ""},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.DiamArcmin = c.value;
    e.DiameterTexts();
    EXPECT_EQ(e.report.DiamMin, c.whole) << c.what;
    EXPECT_EQ(e.report.DiamSec, c.minutes) << c.what;
  }
}

// The regional decimal separator reaches every decimal text, and the window
// may supply its own fixed-decimals writer for the distance.
TEST(NumberFormat, RegionalSeparatorAndDistanceWriter) {
  Ephemeris e;
  e.SetNumberFormat(",");
  SetSite(e.state, 0, 0, 0);
  SetManualMoment(e.state, {2000, 1, 1, 12});
  e.MAINCALC();
  EXPECT_EQ(e.report.LongSun, "280,393");
  EXPECT_EQ(e.report.DistAU, "0,98330335");
  EXPECT_EQ(e.report.JulianDate, "51544,5");
  EXPECT_EQ(e.report.Distkm, "147100086");

  e.SetNumberFormat("\u066B", [](double au) { return "[" + std::to_string(au) + "]"; });
  SetManualMoment(e.state, {2000, 1, 1, 12});
  e.MAINCALC();
  EXPECT_EQ(e.report.DistAU, "[" + std::to_string(e.state.RadiusAU) + "]");
  EXPECT_EQ(e.report.LongSun, "280\u066B393");
}

} // namespace
} // namespace ostrel::test
