// SPDX-License-Identifier: GPL-3.0-or-later
// The events of a day: checked against an independent slow search of the
// same model, against almanac figures within the classic theory's accuracy,
// and on the days that vanish and return near the poles.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/day/day_events.h"
#include "run_helpers.h"

namespace ostrel::test {
namespace {

struct Place {
  double latitudeDeg, longitudeDeg;
  float timezone;
};

ClassicSunDay DayAt(const Place &p, CivilDate date) {
  return ClassicSunDay({p.latitudeDeg * kRad, p.longitudeDeg / 15, p.timezone}, date);
}

// The first rising and setting through a level found the slow way: the
// altitude every 20 seconds of the date, each change of side halved sixty
// times.  It shares nothing with the search under test but the model.
struct SlowCrossings {
  int rising = -1, setting = -1, risings = 0, settings = 0;
};
SlowCrossings SlowSearch(const SunDay &day, double sinLevel) {
  SlowCrossings found;
  const double start = -0.5 / 3600, end = 86399.5 / 3600, step = 20.0 / 3600;
  double t = start;
  bool above = day.At(t).sinAltitude >= sinLevel;
  while (t < end) {
    const double next = std::min(t + step, end);
    const bool nextAbove = day.At(next).sinAltitude >= sinLevel;
    if (nextAbove != above) {
      double a = t, b = next;
      for (int i = 0; i < 60; ++i) {
        const double m = (a + b) / 2;
        ((day.At(m).sinAltitude >= sinLevel) == nextAbove ? b : a) = m;
      }
      const long long seconds = std::llround((a + b) / 2 * 3600);
      if (seconds >= 0 && seconds < 86400) {
        if (nextAbove && found.risings++ == 0) found.rising = static_cast<int>(seconds);
        if (!nextAbove && found.settings++ == 0) found.setting = static_cast<int>(seconds);
      }
    }
    t = next;
    above = nextAbove;
  }
  return found;
}

int SecondsOrMinusOne(const DayMoment &m) { return m.happens() ? m.seconds : -1; }

std::string Clock(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

// Days a user could meet where the search has to be careful.
struct HardDay {
  const char *what;
  Place place;
  CivilDate date;
};
const HardDay kHardDays[] = {
    {"date line, east side, zone +12", {-17.7, 179.9, 12}, {2026, 1, 15}},
    {"date line, west side, zone -12", {-14.3, -179.9, -12}, {2026, 1, 15}},
    {"zone +14 far east of its meridian", {1.9, -157.4, 14}, {2026, 6, 21}},
    {"zone -12 at noon of Greenwich", {0, 0, -12}, {2026, 9, 23}},
    {"zone +12 at noon of Greenwich", {0, 0, 12}, {2026, 9, 23}},
    {"midnight sun returns, 67N", {67, 20, 1}, {2026, 6, 1}},
    {"polar circle, June solstice", {66.6, 25, 2}, {2026, 6, 21}},
    {"polar circle, December solstice", {66.6, 25, 2}, {2026, 12, 21}},
    {"south polar circle, December", {-66.6, 140, 10}, {2026, 12, 21}},
    {"polar night ends, 70N", {70, 25, 1}, {2026, 1, 16}},
    {"two settings on one date", {60, 170, -10}, {2026, 7, 6}},
    {"two risings on one date", {60.7, 0, 0}, {2026, 5, 8}},
    {"north pole, equinox", {90, 0, 0}, {2026, 3, 20}},
    {"south pole, equinox", {-90, 0, 0}, {2026, 9, 23}},
    {"89.5N in March", {89.5, -60, -4}, {2026, 3, 12}},
    {"first year of the range", {52, 13.4, 1}, {1700, 1, 1}},
    {"last day of the range", {-33.9, 151.2, 10}, {2100, 12, 31}},
    {"leap day", {35.7, 139.7, 9}, {2024, 2, 29}},
};

TEST(DayEvents, AgreeWithASlowSearchOfTheSameModel) {
  const double levels[] = {-6, -12, -18, -4, 6, 20, -40};
  for (const HardDay &c : kHardDays) {
    const ClassicSunDay day = DayAt(c.place, c.date);
    const DayEvents events = FindDayEvents(day, levels);
    const struct {
      const char *name;
      double sinLevel;
      DayMoment rising, setting;
    } rows[] = {
        {"horizon", -0.0145, events.sunrise, events.sunset},
        {"civil", std::sin(-6 * kRad), events.civilDawn, events.civilDusk},
        {"nautical", std::sin(-12 * kRad), events.nauticalDawn, events.nauticalDusk},
        {"astronomical", std::sin(-18 * kRad), events.astronomicalDawn,
         events.astronomicalDusk},
        {"golden low", std::sin(-4 * kRad), events.morningGoldenHour[0],
         events.eveningGoldenHour[1]},
        {"golden high", std::sin(6 * kRad), events.morningGoldenHour[1],
         events.eveningGoldenHour[0]},
        {"blue", std::sin(-6 * kRad), events.morningBlueHour[0], events.eveningBlueHour[1]},
        {"20 degrees", std::sin(20 * kRad), events.altitudes[5].rising,
         events.altitudes[5].setting},
        {"-40 degrees", std::sin(-40 * kRad), events.altitudes[6].rising,
         events.altitudes[6].setting},
    };
    for (const auto &row : rows) {
      const SlowCrossings slow = SlowSearch(day, row.sinLevel);
      EXPECT_EQ(SecondsOrMinusOne(row.rising), slow.rising) << c.what << ", " << row.name;
      EXPECT_EQ(SecondsOrMinusOne(row.setting), slow.setting) << c.what << ", " << row.name;
    }
  }
}

// Sunrise, sunset and culmination against published almanac times (UT,
// rounded to the minute), within the classic theory's accuracy of about a
// minute; and the civil twilight at the equator at an equinox, which lasts
// (6 - 0.83) degrees / 15 degrees an hour = 20.7 minutes.
TEST(DayEvents, AgreeWithAlmanacTimes) {
  struct Case {
    const char *what;
    Place place;
    CivilDate date;
    int sunrise, sunset, culmination; // minutes of UT
  } cases[] = {
      // Greenwich, June solstice: 03:43, 20:21, 12:02.
      {"Greenwich 2026-06-21", {51.4769, 0, 0}, {2026, 6, 21}, 3 * 60 + 43, 20 * 60 + 21,
       12 * 60 + 2},
      // Greenwich, December solstice: 08:04, 15:53, 11:58.
      {"Greenwich 2026-12-21", {51.4769, 0, 0}, {2026, 12, 21}, 8 * 60 + 4, 15 * 60 + 53,
       11 * 60 + 58},
      // Quito's latitude on the meridian of Greenwich at the March equinox:
      // 06:04, 18:11, 12:07.
      {"0N 0E 2026-03-20", {0, 0, 0}, {2026, 3, 20}, 6 * 60 + 4, 18 * 60 + 11, 12 * 60 + 7},
  };
  for (const Case &c : cases) {
    const DayEvents e = FindDayEvents(DayAt(c.place, c.date));
    ASSERT_TRUE(e.sunrise.happens() && e.sunset.happens() && e.culmination.happens()) << c.what;
    EXPECT_NEAR(e.sunrise.seconds / 60.0, c.sunrise, 1.5) << c.what;
    EXPECT_NEAR(e.sunset.seconds / 60.0, c.sunset, 1.5) << c.what;
    EXPECT_NEAR(e.culmination.seconds / 60.0, c.culmination, 1.5) << c.what;
  }
  const DayEvents equator = FindDayEvents(DayAt({0, 0, 0}, {2026, 3, 20}));
  EXPECT_NEAR((equator.sunrise.seconds - equator.civilDawn.seconds) / 60.0, 20.7, 0.5);
  EXPECT_NEAR((equator.civilDusk.seconds - equator.sunset.seconds) / 60.0, 20.7, 0.5);
}

// Polar day and night, and levels the Sun does not reach: the event is
// missing with its reason, and the day length follows.
TEST(DayEvents, MissingEventsSayWhy) {
  struct Case {
    const char *what;
    Place place;
    CivilDate date;
    Polar polar;
    Absence sunrise;
    Absence astronomicalDawn;
    std::optional<int> dayLength;
  } cases[] = {
      {"Tromso midnight sun", {69.65, 18.96, 2}, {2026, 6, 21}, Polar::Day, Absence::AlwaysAbove,
       Absence::AlwaysAbove, 86400},
      {"Tromso polar night", {69.65, 18.96, 1}, {2026, 12, 21}, Polar::Night,
       Absence::AlwaysBelow, Absence::None, 0},
      {"north pole in June", {90, 0, 0}, {2026, 6, 1}, Polar::Day, Absence::AlwaysAbove,
       Absence::AlwaysAbove, 86400},
      {"south pole in June", {-90, 0, 0}, {2026, 6, 1}, Polar::Night, Absence::AlwaysBelow,
       Absence::AlwaysBelow, 0},
      {"Helsinki white night", {60.17, 24.94, 3}, {2026, 6, 21}, Polar::None, Absence::None,
       Absence::AlwaysAbove, std::nullopt},
  };
  for (const Case &c : cases) {
    const DayEvents e = FindDayEvents(DayAt(c.place, c.date));
    EXPECT_EQ(e.polar, c.polar) << c.what;
    EXPECT_EQ(e.sunrise.absence, c.sunrise) << c.what;
    EXPECT_EQ(e.sunset.absence, c.sunrise) << c.what;
    EXPECT_EQ(e.astronomicalDawn.absence, c.astronomicalDawn) << c.what;
    if (c.dayLength) {
      EXPECT_EQ(e.dayLengthSeconds, c.dayLength) << c.what;
    } else if (c.polar == Polar::None) {
      // Helsinki's day: 18 h 57 min in the almanac.
      ASSERT_TRUE(e.dayLengthSeconds) << c.what;
      EXPECT_NEAR(*e.dayLengthSeconds / 60.0, 18 * 60 + 57, 3) << c.what;
    }
  }
  // 70 degrees is never reached at 47N in December.
  const LevelCrossings high = FindCrossings(DayAt({47, 28.85, 2}, {2026, 12, 21}), 70);
  EXPECT_EQ(high.rising.absence, Absence::AlwaysBelow);
  EXPECT_EQ(high.setting.absence, Absence::AlwaysBelow);
}

// Where the Sun sets twice on one date the first setting is given, the
// rising keeps its moment, and no day length is formed.
TEST(DayEvents, TwoCrossingsOneWayGiveTheFirst) {
  const ClassicSunDay day = DayAt({60, 170, -10}, {2026, 7, 6});
  const DayEvents e = FindDayEvents(day);
  const LevelCrossings horizon = FindCrossings(day, std::asin(-0.0145) / kRad);
  EXPECT_EQ(horizon.settings, 2);
  EXPECT_EQ(horizon.risings, 1);
  ASSERT_TRUE(e.sunset.happens() && e.sunrise.happens());
  EXPECT_LT(e.sunset.seconds, e.sunrise.seconds) << Clock(e.sunset.seconds);
  EXPECT_LT(e.sunset.seconds, 600) << "the setting just after midnight comes first";
  EXPECT_FALSE(e.dayLengthSeconds);
}

// In a zone three hours east of its meridian the midsummer Sun at 60N sets
// after local midnight: the semi-diurnal arc is acos((-0.0145 - sin 60 sin
// 23.44) / (cos 60 cos 23.44)) = 141.5 degrees = 9.43 h about noon at 12:02
// UT, so it rises at 02:35 UT (05:35 local) and sets at 21:28 UT (00:28
// local).  On the local date the sunset found is the one of the evening
// before, before the sunrise, so no day length is formed; the date's own
// evening sunset falls on the next date.
TEST(DayEvents, SunsetAfterLocalMidnight) {
  const ClassicSunDay day = DayAt({60, 0, 3}, {2026, 6, 21});
  const DayEvents e = FindDayEvents(day);
  ASSERT_TRUE(e.sunset.happens() && e.sunrise.happens());
  EXPECT_NEAR(e.sunset.seconds / 3600.0, 28 / 60.0, 0.05) << Clock(e.sunset.seconds);
  EXPECT_NEAR(e.sunrise.seconds / 3600.0, 5 + 35 / 60.0, 0.05) << Clock(e.sunrise.seconds);
  EXPECT_FALSE(e.dayLengthSeconds);
  EXPECT_EQ(e.polar, Polar::None);
}

// The functional layer evaluates the very model of the window's run: at a
// typed moment its place agrees with MAINCALC's to the last bit.
TEST(ClassicSunDay, PlaceIsTheWindowsRun) {
  struct Case {
    Site site;
    Moment moment;
  } cases[] = {
      {{28.85, 47, 3}, {2026, 6, 21, 14, 30, 0}},
      {{-73.98, 40.75, -5}, {1789, 7, 14, 6, 15, 42}},
      {{151.2, -33.87, 10}, {2100, 12, 31, 23, 59, 59}},
      {{-179.5, 65, -12}, {1700, 1, 1, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    // The run's steps up to the horizon: later steps reuse the same fields
    // for other hours of the day.
    Ephemeris e;
    SetSite(e.state, c.site.longitudeDeg / 15, c.site.latitudeDeg * kRad, c.site.timezone);
    SetManualMoment(e.state, c.moment);
    e.DayOfYear();
    e.JulianDates();
    e.SiderealTime();
    e.SolarOrbit();
    e.EquatorialCoordinates();
    e.HorizontalCoordinates();
    const ClassicSunDay day({c.site.latitudeDeg * kRad, c.site.longitudeDeg / 15, c.site.timezone},
                            {int(c.moment.year), int(c.moment.month), int(c.moment.day)});
    const double hours = (c.moment.minute / 60 + c.moment.hour) + c.moment.second / 3600;
    const SunPlace place = day.PlaceAt(hours);
    EXPECT_EQ(place.julDay, e.state.JulDay);
    EXPECT_EQ(place.localSiderealHours, e.state.Lst);
    EXPECT_EQ(place.eclipticLongitudeDeg, e.state.SunLong);
    EXPECT_EQ(place.distanceAU, e.state.RadiusAU);
    // The run keeps the declination in degrees and the right ascension
    // from another order of the same sums: equal to a few units of the
    // last place.
    EXPECT_NEAR(place.declinationDeg, e.state.Decl, 1e-12);
    EXPECT_NEAR(place.rightAscensionHours, e.state.RAHours, 1e-12);
    EXPECT_NEAR(place.altitudeDeg, e.state.AltDeg, 1e-10);
    EXPECT_NEAR(place.azimuthDeg, e.state.Azim, 1e-9);
  }
}

} // namespace
} // namespace ostrel::test
