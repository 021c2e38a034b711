// SPDX-License-Identifier: GPL-3.0-or-later
// Altitude, azimuth, refraction and airmass.
#include <gtest/gtest.h>

#include <cmath>

#include "run_helpers.h"

namespace ostrel::test {
namespace {

// 47 00' N, 28 50' E, time zone +3.
const Site kKishinev{28 + 50.0 / 60, 47, 3};

struct HorizonCase {
  Moment moment;
  std::int16_t mode;
  const char *altTrue, *azimTrue;
};

TEST(HorizontalCoordinates, AltitudeAndAzimuthInEachConvention) {
  const HorizonCase cases[] = {
      {{2011, 6, 21, 9}, FromNorth, "36.072", "93.42"},
      {{2011, 6, 21, 9}, FromSouth, "36.072", "273.42"},
      {{2011, 6, 21, 9}, FromSouthSigned, "36.072", "-86.58"},
      {{2011, 6, 21, 16}, FromNorth, "48.195", "251.08"},
      {{2011, 6, 21, 16}, FromSouth, "48.195", "71.08"},
      {{2011, 6, 21, 16}, FromSouthSigned, "48.195", "71.08"},
  };
  for (const auto &c : cases) {
    const Ephemeris e = Compute(kKishinev, c.moment, c.mode);
    EXPECT_EQ(e.report.AltTrue, c.altTrue) << c.moment.hour << " h, mode " << c.mode;
    EXPECT_EQ(e.report.AzimTrue, c.azimTrue) << c.moment.hour << " h, mode " << c.mode;
  }
}

TEST(HorizontalCoordinates, SunFarBelowTheHorizon) {
  const Ephemeris e = Compute(kKishinev, {2011, 12, 22, 2});
  // The true altitude is -63.8072; truncation toward zero after adding 0.5: -63.806, not -63.807.
  EXPECT_EQ(e.report.AltTrue, "-63.806");
  EXPECT_EQ(e.report.ZenTrue, "153.807");
  EXPECT_EQ(e.report.AltApp, "--------");
  EXPECT_EQ(e.report.ZenApp, "--------");
  EXPECT_EQ(e.report.Airmass, "--------------");
}

TEST(HorizontalCoordinates, PoleHasNoAzimuth) {
  for (double latitude : {90.0, -90.0}) {
    const Ephemeris e = Compute({kKishinev.longitudeDeg, latitude, 3}, {2011, 6, 21, 12});
    EXPECT_EQ(e.report.AzimTrue, "- - - - - -") << latitude;
    // At the pole the altitude is the declination, 23.4374 (or its negative,
    // which truncation after adding 0.5 brings to -23.436).
    EXPECT_EQ(e.report.AltTrue, latitude > 0 ? "23.437" : "-23.436") << latitude;
  }
}

struct MeridianCase {
  std::int16_t mode;
  const char *azimuth;
};

// Set Lst and RAHours so that the hour angle is exactly 0 or +-6 h.
Ephemeris AtHourAngle(double hours, double latitudeDeg, double declDeg, std::int16_t mode) {
  Ephemeris e;
  e.state.LatRad = latitudeDeg * kRad;
  e.state.AzimuthMode = mode;
  e.state.RAHours = 12;
  e.state.Lst = 12 + hours;
  e.state.Decl = declDeg;
  e.HorizontalCoordinates();
  e.Refraction();
  e.Airmass();
  return e;
}

TEST(HorizontalCoordinates, MeridianPassageDueSouth) {
  const MeridianCase cases[] = {{FromNorth, "180"}, {FromSouth, "360"}, {FromSouthSigned, "0"}};
  for (const auto &c : cases) {
    const Ephemeris e = AtHourAngle(0, 47, 10, c.mode);
    EXPECT_EQ(e.report.AzimTrue, c.azimuth) << c.mode;
    EXPECT_EQ(e.report.AltTrue, "53");
  }
}

// At the equator with the Sun on the equator six hours from the meridian the
// azimuth cosine is exactly 0: due east before noon, due west after it.
TEST(HorizontalCoordinates, DueEastAndWestWithZeroCosine) {
  const Ephemeris east = AtHourAngle(-6, 0, 0, FromNorth);
  EXPECT_EQ(east.state.AtnX, 0);
  EXPECT_EQ(east.report.AzimTrue, "90");
  const Ephemeris west = AtHourAngle(6, 0, 0, FromNorth);
  EXPECT_EQ(west.report.AzimTrue, "270");
}

// With the Sun in the zenith the azimuth has no divisor and rounding can
// carry the sine of the altitude past 1: the texts stay numbers.
TEST(HorizontalCoordinates, SunInTheZenith) {
  for (double latitude : {0.0, 23.4, -17.25, 47.0}) {
    const Ephemeris e = AtHourAngle(0, latitude, latitude, FromNorth);
    EXPECT_EQ(e.report.AltTrue, "90") << latitude;
    EXPECT_EQ(e.report.ZenTrue, "0") << latitude;
    EXPECT_TRUE(std::isfinite(e.state.Azim)) << latitude;
    EXPECT_EQ(e.report.Airmass, "1") << latitude;
  }
}

// Expected values from the published formulas evaluated by hand (Python,
// double precision), and the figures quoted with the formulas.
struct RefractionCase {
  const char *what;
  double altitude;
  double refraction, tolerance; // seconds of arc
  const char *altApp, *airmass;
};

TEST(Refraction, ThreeRangesAndAirmass) {
  const RefractionCase cases[] = {
      {"horizon", 0, 1735, 1e-9, "0.482", "31.5575"},
      {"just below the middle range", -0.575, 2069.66, 0.01, "--------", "37.921"},
      {"apparent altitude below 0", -0.8, 1487.7, 0.05, "--------", "44.2163"},
      {"zenith angle exactly 91 keeps the airmass", -1, -20.774 / std::tan(-1 * kRad), 1e-9,
       "--------", "49.4197"},
      {"zenith angle beyond 91", -1.0000001, 1190.14, 0.01, "--------", "--------------"},
      {"zenith", 90, 0, 1e-12, "90", "1"},
      {"z = 85, first formula", 5, 581.50, 0.005, "5.162", "10.0392"},
      {"just beyond z = 85", 5 - 1e-9, 574.6, 0.05, "5.16", "10.0423"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.AltDeg = c.altitude;
    e.state.ZenDeg = 90 - c.altitude;
    e.Refraction();
    e.Airmass();
    EXPECT_NEAR(e.state.RefrArcsec, c.refraction, c.tolerance) << c.what;
    EXPECT_EQ(e.report.AltApp, c.altApp) << c.what;
    EXPECT_EQ(e.report.Airmass, c.airmass) << c.what;
  }
}

TEST(Refraction, HorizonApparentAltitude) {
  Ephemeris e;
  e.state.AltDeg = 0;
  e.state.ZenDeg = 90;
  e.Refraction();
  EXPECT_NEAR(e.state.AltAppDeg, 0.4819, 1e-4);
  EXPECT_EQ(e.report.ZenApp, "89.518");
}

} // namespace
} // namespace ostrel::test
