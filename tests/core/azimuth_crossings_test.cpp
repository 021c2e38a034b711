// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun passing an azimuth (core/day/azimuth_crossings.h), in both
// theories, by geometry a person can check.
//
// - At the equator the prime vertical is the celestial equator, so the Sun
//   is due east or due west only with its declination 0: on the date of an
//   equinox, at the equinox's instant (the U.S. Naval Observatory's minute,
//   UT), and only on the side where the Sun then is.  At a longitude where
//   that instant is 6 h or 18 h of local mean time the Sun is on the
//   horizon, within the equation of time (7.5 min, 1.9 degrees).  The Sun's
//   ecliptic latitude (about 1") moves the instant by a minute at most.
// - Away from the tropics the Sun is due south (north in the south) at its
//   upper culmination: that passage is the day's culmination, to a second.
// - In the tropics with the Sun culminating between the zenith and the
//   pole (20 N at the June solstice, declination +23.44) its azimuth stays
//   within asin(cos 23.44 / cos 20) = 77.5 degrees of north: 70 and 30 are
//   passed twice and 120 and 180 not at all.  The altitudes solve
//   sin d = sin f sin h + cos f cos h cos A (f latitude, d declination,
//   A azimuth): 14.73 and 78.83 degrees for A = 70, -40.42 and 86.01 for
//   A = 30.  20 S at the December solstice mirrors it (A -> 180 - A).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/day/azimuth_crossings.h"
#include "core/day/day_events.h"
#include "core/sun/theory.h"

namespace ostrel::test {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

struct Expected {
  bool atCulmination; // the day's culmination, moment and altitude
  int seconds;        // otherwise: local seconds and their tolerance
  int toleranceS;
  double altitudeDeg, altitudeToleranceDeg;
};

// One site and date, one azimuth, the passages expected in time order.
struct Row {
  const char *why;
  double latitudeDeg, longitudeDeg;
  float timezone;
  CivilDate date;
  double azimuthDeg;
  std::vector<Expected> passages;
};

constexpr Expected Culmination() { return {true, 0, 2, 0, 0.01}; }
constexpr Expected At(int hour, int minute, int toleranceS, double altitudeDeg, double toleranceDeg) {
  return {false, (hour * 60 + minute) * 60, toleranceS, altitudeDeg, toleranceDeg};
}
constexpr Expected Altitude(double altitudeDeg) { return {false, -1, 0, altitudeDeg, 0.1}; }

const Row kRows[] = {
    // March equinox 2026-03-20 14:46 UT; 131.5 W, UT-9: 05:46, 6 h of mean time.
    {"equator, March equinox at sunrise: due east", 0, -131.5, -9, {2026, 3, 20}, 90,
     {At(5, 46, 180, 0, 2.5)}},
    {"equator, March equinox in the morning: never due west", 0, -131.5, -9, {2026, 3, 20}, 270, {}},
    // September equinox 2026-09-23 00:05 UT; 91.25 W, UT-6: 18:05 of the 22nd.
    {"equator, September equinox at sunset: due west", 0, -91.25, -6, {2026, 9, 22}, 270,
     {At(18, 5, 180, 0, 2.5)}},
    {"equator, September equinox in the evening: never due east", 0, -91.25, -6, {2026, 9, 22}, 90, {}},
    {"47 N in summer: due south at the culmination", 47, 28.85, 3, {2026, 6, 21}, 180, {Culmination()}},
    {"47 N in winter: due south at the culmination", 47, 28.85, 2, {2026, 12, 21}, 180, {Culmination()}},
    {"34 S in its winter: due north (0) at the culmination", -33.87, 151.21, 10, {2026, 6, 21}, 0,
     {Culmination()}},
    {"34 S in its winter: due north (360) at the culmination", -33.87, 151.21, 10, {2026, 6, 21}, 360,
     {Culmination()}},
    {"20 N, June solstice: 70 twice", 20, 0, 0, {2026, 6, 21}, 70, {Altitude(14.73), Altitude(78.83)}},
    {"20 N, June solstice: 30 twice", 20, 0, 0, {2026, 6, 21}, 30, {Altitude(-40.42), Altitude(86.01)}},
    {"20 N, June solstice: 120 never", 20, 0, 0, {2026, 6, 21}, 120, {}},
    {"20 N, June solstice: 180 never", 20, 0, 0, {2026, 6, 21}, 180, {}},
    {"20 S, December solstice: 110 twice", -20, 0, 0, {2026, 12, 21}, 110,
     {Altitude(14.73), Altitude(78.83)}},
    {"20 S, December solstice: 0 never", -20, 0, 0, {2026, 12, 21}, 0, {}},
};

TEST(AzimuthCrossings, GeometryInBothTheories) {
  for (const Theory theory : {Theory::Classic, Theory::Precise}) {
    for (const Row &row : kRows) {
      // The classic orbit's longitude is off by hours at an equinox: its
      // equinox rows would measure that, not the passages.
      if (theory == Theory::Classic && row.latitudeDeg == 0) continue;
      const Site site{row.latitudeDeg * kDeg, row.longitudeDeg / 15, row.timezone};
      const auto day = MakeSunDay(theory, site, row.date);
      const AzimuthCrossings found = FindAzimuthCrossings(*day, row.azimuthDeg);
      const std::string where = std::string(row.why) + " (" + TheoryKey(theory) + ")";
      EXPECT_EQ(found.azimuthDeg, row.azimuthDeg) << where;
      ASSERT_EQ(found.passages.size(), row.passages.size()) << where;
      const DayEvents events = FindDayEvents(*day);
      for (std::size_t i = 0; i < row.passages.size(); ++i) {
        const Expected &e = row.passages[i];
        const AzimuthPassage &p = found.passages[i];
        if (i > 0) {
          EXPECT_LT(found.passages[i - 1].seconds, p.seconds) << where << ": in time order";
        }
        const int seconds = e.atCulmination ? events.culmination.seconds : e.seconds;
        const double altitude = e.atCulmination ? *events.culminationAltitudeDeg : e.altitudeDeg;
        if (seconds >= 0) {
          EXPECT_NEAR(p.seconds, seconds, e.toleranceS)
              << where << ", passage " << i << ": expected " << seconds << " s, tolerance " << e.toleranceS;
        }
        EXPECT_NEAR(p.altitudeDeg, altitude, e.altitudeToleranceDeg) << where << ", passage " << i;
        // At the moment found the theory's azimuth is the asked one, to the
        // turning of a second (at most 0.1 degree away from the zenith).
        const double azimuth = day->PlaceAt(p.seconds / 3600.0).azimuthDeg;
        EXPECT_NEAR(std::remainder(azimuth - row.azimuthDeg, 360), 0, 0.1) << where << ", passage " << i;
      }
    }
  }
}

// A fast turn near the zenith: at 23.5 N on the June solstice (declination
// +23.44) the Sun culminates 0.06 degree south of the zenith, its azimuth
// sweeping from east through south to west in about a minute.  Its
// circle of the day goes round the vertical, so every azimuth is passed
// once: due south at the culmination (within 2 s), those of the east
// (20 to 160) before it and those of the west (200 to 340) after it.
TEST(AzimuthCrossings, NearTheZenith) {
  const Site site{23.5 * kDeg, 0, 0};
  const auto day = MakeSunDay(Theory::Precise, site, {2026, 6, 21});
  const DayEvents events = FindDayEvents(*day);
  ASSERT_TRUE(events.culmination.happens());
  const AzimuthCrossings south = FindAzimuthCrossings(*day, 180);
  ASSERT_EQ(south.passages.size(), 1u);
  EXPECT_NEAR(south.passages[0].seconds, events.culmination.seconds, 2);
  EXPECT_NEAR(south.passages[0].altitudeDeg, 90 - (23.5 - 23.44), 0.01);
  const struct {
    double azimuthDeg;
    bool beforeCulmination;
  } cases[] = {{20, true}, {90, true}, {160, true}, {200, false}, {270, false}, {340, false}};
  for (const auto &c : cases) {
    const AzimuthCrossings found = FindAzimuthCrossings(*day, c.azimuthDeg);
    ASSERT_EQ(found.passages.size(), 1u) << c.azimuthDeg;
    EXPECT_EQ(found.passages[0].seconds < events.culmination.seconds, c.beforeCulmination) << c.azimuthDeg;
  }
}

} // namespace
} // namespace ostrel::test
