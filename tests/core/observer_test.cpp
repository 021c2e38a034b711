// SPDX-License-Identifier: GPL-3.0-or-later
// The observer: the dip and the scaled refraction against their formulas
// worked by hand and against a published calculator's dips, the skyline
// read from text (each fault refused on its line), and the day behind a
// valley's and a notch's skyline against a slow search of the same model.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/observer/observer_day.h"

namespace ostrel::test {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180;

Observer At(double elevationM, double eyeM) {
  Observer o;
  o.elevationM = elevationM;
  o.eyeM = eyeM;
  return o;
}

TEST(Observer, DipBySweer) {
  // Expected: Sweer's k and dip worked by hand (k = 0.175 (1 - 2.2956e-5
  // (elevation - 2/3 eye))^3.256, dip = sqrt(2 (1 - k) eye / R) / (1 - k),
  // R = 6371 km), and the dips the online calculator of
  // tests/data/elevation-riseset.txt lists (its "dip" column), which uses
  // a slightly different Earth radius.
  struct Row {
    double elevationM, eyeM, dipArcmin, tolerance;
    const char *source;
  } rows[] = {
      {2, 2, 2.99896, 1e-4, "by hand"},
      {100, 100, 21.2004, 1e-3, "by hand"},
      {8000, 8000, 186.039, 1e-2, "by hand"},
      {8000, 4000, 2.1563766 * 60, 0.12, "calculator"},
      {8000, 8000, 3.0991104 * 60, 0.12, "calculator"},
      {8000, 2500, 1.6947555 * 60, 0.12, "calculator"},
      {500, 0, 0, 0, "on the ground"},
  };
  for (const Row &row : rows) {
    EXPECT_NEAR(DipDeg(At(row.elevationM, row.eyeM)) * 60, row.dipArcmin, row.tolerance)
        << row.source << ": elevation " << row.elevationM << " m, eye " << row.eyeM << " m";
  }
}

TEST(Observer, BennettScaledForTheAir) {
  // 1 / tan(h + 7.31 / (h + 4.4)) arcminutes, times (P / 1010) (283 / (273
  // + T)), worked by hand.
  struct Row {
    double pressureHpa, temperatureC, apparentDeg, arcmin;
  } rows[] = {
      {1010, 10, 0, 34.4775},          // the standard air: unscaled
      {1030, -30, 0, 40.9480},         // a hard frost: 34.4775 * 1.01980 * 1.16461
      {1030, -30, 10, 6.40333},        // 5.3917 * 1.18766
      {1030, -30, 90, 0},              // none at the zenith
      {1030, 40, 45, 0.91731},         // 0.99485 * 1.01980 * 0.90415
  };
  for (const Row &row : rows) {
    Observer o;
    o.pressureHpa = row.pressureHpa;
    o.temperatureC = row.temperatureC;
    EXPECT_NEAR(ScaledRefractionDeg(row.apparentDeg, o) * 60, row.arcmin, 2e-4)
        << row.pressureHpa << " hPa, " << row.temperatureC << " C, h " << row.apparentDeg;
    // The apparent altitude of the true one less that refraction.
    const double trueDeg = row.apparentDeg - row.arcmin / 60;
    EXPECT_NEAR(ObserverApparentAltitudeDeg(trueDeg, o), row.apparentDeg, 1e-5);
  }
  // The standard atmosphere's pressure below the eye: 1010 at sea level,
  // 1010 (1 - 2.25577e-5 * 4000)^5.25588 = 614.42 at 4000 m.
  EXPECT_DOUBLE_EQ(PressureInUse(At(30, 30)), 1010);
  EXPECT_NEAR(PressureInUse(At(8000, 4000)), 614.42, 0.01);
}

TEST(Observer, ValuesOutsideTheirRangesAreNamed) {
  Observer frost = At(0, 0);
  frost.temperatureC = -61;
  Observer thin = At(0, 0);
  thin.pressureHpa = 99;
  struct Row {
    Observer observer;
    const char *words; // nullptr: accepted
  } rows[] = {
      {At(1000, 800), nullptr},
      {At(-500, 0), nullptr},
      {At(9001, 0), "elevation 9001"},
      {At(100, 601), "more than the elevation"},
      {At(9000, 10001), "eye's height 10001"},
      {At(NAN, 0), "elevation"},
      {frost, "temperature -61"},
      {thin, "pressure 99"},
  };
  for (const Row &row : rows) {
    const std::optional<std::string> problem = ObserverProblem(row.observer);
    if (row.words == nullptr) {
      EXPECT_FALSE(problem) << *problem;
    } else {
      ASSERT_TRUE(problem) << row.words;
      EXPECT_NE(problem->find(row.words), std::string::npos) << *problem;
    }
  }
}

TEST(HorizonProfileText, EachFaultIsRefusedOnItsLine) {
  struct Row {
    const char *text;
    int line;
    const char *words;
  } rows[] = {
      {"0 1\n90 2\nabc 3\n", 3, "not two numbers"},
      {"# skyline\n0 1\n90 2 3\n", 3, "not two numbers"},
      {"0 1\n\n90\n", 3, "not two numbers"},
      {"0 1\n90 nan\n", 2, "not two numbers"},
      {"0 1\n90 91\n", 2, "altitude 91"},
      {"0 1\n90 -5.5\n", 2, "altitude -5.5"},
      {"0 1\n361 2\n", 2, "azimuth 361"},
      {"10 1\n90 2\n10;1.5\n", 3, "given twice with different altitudes, first on line 1"},
      {"0 1\n360 2\n", 2, "given twice"},
      {"# nothing\n", 0, "at least two points"},
      {"45 2\n45 2\n", 0, "at least two points"},
      {"Latitude:\t45\n\nA\tH_hor\tA_sun(w)\n-180.0\t1.0\t0\n90.0\tx\t0\n", 5, "not two numbers"},
      {"A\tH_hor\n-180.0\t1.0\n180.0\t2.0\n", 3, "given twice"},
  };
  for (const Row &row : rows) {
    const HorizonParse parse = ParseHorizonProfile(row.text);
    EXPECT_FALSE(parse.profile) << row.text;
    EXPECT_EQ(parse.line, row.line) << row.text;
    EXPECT_NE(parse.error.find(row.words), std::string::npos) << parse.error;
  }
}

TEST(HorizonProfileText, PointsAndPvgisTablesAreTakenAroundTheCircle) {
  // A hand-made skyline in any order with every separator; PVGIS's CSV
  // (south-based, 90 west) whose -180 and 180 rows are the one north.
  const HorizonParse plain =
      ParseHorizonProfile("\xEF\xBB\xBF# az alt\r\n270;10\r\n90, 2 # east\r\n\t350\t20\r\n");
  const HorizonParse pvgis = ParseHorizonProfile(
      "Latitude (decimal degrees):\t45.000\nLongitude (decimal degrees):\t8.000\n\n"
      "A\tH_hor\tA_sun(w)\tH_sun(w)\tA_sun(s)\tH_sun(s)\n"
      "-180.0\t4.0\t-180.0\t0.0\t-180.0\t0.0\n-90.0\t2.0\t0\t0\t0\t0\n"
      "0.0\t6.0\t0\t0\t0\t0\n90.0\t1.0\t0\t0\t0\t0\n180.0\t4.0\t0\t0\t0\t0\n"
      "\nA: Azimuth (0 = S, 90 = W, -90 = E) (degree)\nH_hor: Horizon height (degree)\n");
  ASSERT_TRUE(plain.profile) << plain.error;
  ASSERT_TRUE(pvgis.profile) << pvgis.error << " on line " << pvgis.line;
  EXPECT_EQ(pvgis.profile->points().size(), 4u);
  struct Row {
    const HorizonProfile &profile;
    double azimuthDeg, altitudeDeg;
  } rows[] = {
      {*plain.profile, 90, 2},   {*plain.profile, 180, 6},  {*plain.profile, 310, 15},
      {*plain.profile, 0, 18.2}, {*plain.profile, 380, 14.6}, // 20 -> 2 over 100 degrees
      {*pvgis.profile, 0, 4},    {*pvgis.profile, 90, 2},   {*pvgis.profile, 180, 6},
      {*pvgis.profile, 270, 1},  {*pvgis.profile, 315, 2.5},
  };
  for (const Row &row : rows)
    EXPECT_NEAR(*row.profile.AltitudeAt(row.azimuthDeg), row.altitudeDeg, 1e-12) << row.azimuthDeg;
}

// Every change of side of the limb against the horizon found the slow way:
// the Sun's place (its own azimuth) every 10 seconds, each change halved
// forty times.  It shares the horizon's level with the search under test,
// not the scan, the azimuth or the refinement.
std::vector<int> SlowChanges(const SunDay &day, const ObserverHorizon &horizon) {
  const double semiDiameter = SunSemiDiameterDeg(day.PlaceAt(12).distanceAU);
  const auto above = [&](double t) {
    const SunPlace p = day.PlaceAt(t);
    return p.altitudeDeg >= horizon.CentreAltitudeDeg(p.azimuthDeg, semiDiameter);
  };
  std::vector<int> changes;
  const double start = -0.5 / 3600, end = 86399.5 / 3600, step = 10.0 / 3600;
  bool side = above(start);
  for (double t = start; t < end; t += step) {
    const double next = std::min(t + step, end);
    if (above(next) == side) continue;
    double a = t, b = next;
    for (int i = 0; i < 40; ++i) ((above((a + b) / 2) == side) ? a : b) = (a + b) / 2;
    changes.push_back(static_cast<int>(std::llround((a + b) / 2 * 3600)));
    side = !side;
  }
  return changes;
}

HorizonProfile Profile(const char *text) { return *ParseHorizonProfile(text).profile; }

TEST(ObserverDay, ValleyAndNotchAgainstASlowSearch) {
  // 47 N 28.85 E, UT+2, on 2024-03-20: the Sun rises near azimuth 90 and
  // sets near 270.  The valley's sides stand 8 degrees high east and west;
  // the notch is a 12-degree gap to the horizon in a 15-degree wall east,
  // where the Sun rises, hides behind the wall's far side and rises again.
  const ClassicSunDay day({47 * kDegree, 28.85 / 15, 2}, {2024, 3, 20});
  const DayEvents seaLevel = FindDayEvents(day);
  struct Row {
    const char *name;
    const char *profile;
    std::size_t stretches;
    int lateMinutes; // sunrise later than sea level's by at least this
  } rows[] = {
      {"valley", "0 0\n60 8\n120 8\n180 0\n240 8\n300 8\n", 1, 10},
      {"notch", "0 15\n87 15\n88 0\n98 0\n99 15\n", 2, -1}, // in the gap: hardly late
  };
  for (const Row &row : rows) {
    const ObserverHorizon horizon(At(0, 0), Profile(row.profile));
    const DayEvents events = FindObserverDayEvents(day, horizon);
    ASSERT_TRUE(events.observer) << row.name;
    const ObserverEvents &seen = *events.observer;
    ASSERT_EQ(seen.visible.size(), row.stretches) << row.name;
    std::vector<int> found;
    for (const VisibleSpan &span : seen.visible) {
      found.push_back(span.rising.seconds);
      found.push_back(span.setting.seconds);
    }
    const std::vector<int> slow = SlowChanges(day, horizon);
    ASSERT_EQ(found.size(), slow.size()) << row.name;
    for (std::size_t i = 0; i < slow.size(); ++i)
      EXPECT_NEAR(found[i], slow[i], 1) << row.name << " change " << i;
    // Late against sea level's, which stays as it was.
    EXPECT_GT(events.sunrise.seconds, seaLevel.sunrise.seconds + row.lateMinutes * 60) << row.name;
    EXPECT_EQ(seen.seaLevelSunrise.seconds, seaLevel.sunrise.seconds);
    EXPECT_EQ(seen.seaLevelSunset.seconds, seaLevel.sunset.seconds);
    EXPECT_EQ(events.sunrise.seconds, seen.visible.front().rising.seconds);
    EXPECT_EQ(events.sunset.seconds, seen.visible.back().setting.seconds);
    EXPECT_EQ(*events.dayLengthSeconds, events.sunset.seconds - events.sunrise.seconds);
    int direct = 0;
    for (std::size_t i = 0; i < found.size(); i += 2) direct += found[i + 1] - found[i];
    EXPECT_EQ(seen.directSunSeconds, direct) << row.name;
    // The twilights keep their definitions.
    EXPECT_EQ(events.civilDawn.seconds, seaLevel.civilDawn.seconds);
  }
  const DayEvents valley = FindObserverDayEvents(day, ObserverHorizon(At(0, 0), Profile(rows[0].profile)));
  EXPECT_LT(valley.sunset.seconds, seaLevel.sunset.seconds - 10 * 60);
}

} // namespace
} // namespace ostrel::test
