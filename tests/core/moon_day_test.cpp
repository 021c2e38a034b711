// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's day: moonrise, moonset and transit against the U.S. Naval
// Observatory's tables and JPL Horizons, the dates that lack an event, the
// circumpolar Moon, the search against a slow independent one, and the
// interpolated Moon against the exact evaluation.
#include <gtest/gtest.h>

#include <erfa.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/moon/moon_day.h"

namespace ostrel {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

Site SiteAt(double latitudeDeg, double longitudeDeg) {
  return {latitudeDeg * kDeg, longitudeDeg / 15, 0}; // times in UT
}

std::string Name(CivilDate d) {
  return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

// The U.S. Naval Observatory's moonrise and moonset, UT to the minute, as
// kept in astronomy-engine's repository (generate/riseset/riseset.txt, from
// the tables moon_2019_W081_N29 and moon_2034_E130_N80): -1 where the UT
// date has no such event.  Each moment is allowed the table's rounding
// (30 s) and 30 s more for the model (eraMoon98's 18" at worst and Delta T).
struct UsnoDay {
  double latitudeDeg, longitudeDeg;
  CivilDate date;
  int riseMinutes, setMinutes; // UT, minutes of the date
  Absence riseAbsence, setAbsence;
};

constexpr int HM(int h, int m) { return h * 60 + m; }

const UsnoDay kUsno[] = {
    {29, -81, {2019, 7, 15}, HM(23, 39), HM(9, 23), Absence::None, Absence::None},
    // The Moon rises at 23:39 on the 15th and next at 00:28 on the 17th.
    {29, -81, {2019, 7, 16}, -1, HM(10, 14), Absence::OtherDate, Absence::None},
    {29, -81, {2019, 8, 1}, HM(11, 9), HM(0, 11), Absence::None, Absence::None},
    {29, -81, {2019, 10, 10}, HM(21, 41), HM(8, 26), Absence::None, Absence::None},
    {29, -81, {2019, 12, 14}, HM(0, 1), HM(14, 22), Absence::None, Absence::None},
    {80, 130, {2034, 1, 10}, HM(14, 1), HM(2, 10), Absence::None, Absence::None},
    // Set on January 12 at 23:23, risen again on the 23rd at 02:31.
    {80, 130, {2034, 1, 17}, -1, -1, Absence::AlwaysBelow, Absence::AlwaysBelow},
    // Risen on January 26 at 21:59, set again on February 5 at 01:42.
    {80, 130, {2034, 2, 1}, -1, -1, Absence::AlwaysAbove, Absence::AlwaysAbove},
};

TEST(MoonDay, AgreesWithNavalObservatory) {
  for (const UsnoDay &row : kUsno) {
    const MoonDayEvents events =
        FindMoonDayEvents(MoonDay(SiteAt(row.latitudeDeg, row.longitudeDeg), row.date));
    const std::pair<const DayMoment *, int> checks[] = {{&events.moonrise, row.riseMinutes},
                                                        {&events.moonset, row.setMinutes}};
    const Absence absences[] = {row.riseAbsence, row.setAbsence};
    for (int i = 0; i < 2; ++i) {
      const DayMoment &m = *checks[i].first;
      const std::string what = Name(row.date) + (i == 0 ? " moonrise" : " moonset");
      EXPECT_EQ(m.absence, absences[i]) << what;
      if (checks[i].second >= 0 && m.happens()) {
        EXPECT_NEAR(m.seconds, checks[i].second * 60, 60) << what;
      }
    }
  }
}

// JPL Horizons, the Moon from 29 N 279 E every 5 minutes on 2018 December 2
// (astronomy-engine's generate/horizons/Moon_N29_W081.txt): transit marked
// at 13:35 UT, refracted elevation 59.9835 at 13:30 and 59.9803 at 13:35,
// the greatest in the table, so the true altitude at transit is 59.98
// less the refraction there (0.56') within 0.005 degrees.  The moment is
// allowed half the table's step.
TEST(MoonDay, TransitAgreesWithHorizons) {
  const MoonDayEvents events = FindMoonDayEvents(MoonDay(SiteAt(29, -81), {2018, 12, 2}));
  ASSERT_TRUE(events.transit.happens());
  EXPECT_NEAR(events.transit.seconds, HM(13, 35) * 60, 150);
  ASSERT_TRUE(events.transitAltitudeDeg.has_value());
  EXPECT_NEAR(*events.transitAltitudeDeg, 59.983 - 0.56 / 60, 0.01);
}

// Dates without an upper transit: the Moon's day is 24 h 50 min, so about
// once a lunation one UT date holds none.  Found at 29 N 81 W from the
// transits a day apart: the date between two transits 24 h 50 min apart
// that fall at 23:40 and 00:30 has none.
TEST(MoonDay, SomeDatesHaveNoTransit) {
  int missing = 0, dates = 0;
  for (int day = 1; day <= 30; ++day) {
    const MoonDayEvents events = FindMoonDayEvents(MoonDay(SiteAt(29, -81), {2019, 9, day}));
    ++dates;
    if (!events.transit.happens()) {
      ++missing;
      EXPECT_EQ(events.transit.absence, Absence::OtherDate) << day;
      // The day before transits late in the evening, the day after soon
      // after midnight.
      const MoonDayEvents before = FindMoonDayEvents(MoonDay(SiteAt(29, -81), {2019, 9, day - 1}));
      const MoonDayEvents after = FindMoonDayEvents(MoonDay(SiteAt(29, -81), {2019, 9, day + 1}));
      EXPECT_GT(before.transit.seconds, HM(23, 0) * 60) << day;
      EXPECT_LT(after.transit.seconds, HM(1, 30) * 60) << day;
    }
  }
  EXPECT_EQ(missing, 1) << "one date a lunation";
}

// The first moonrise and moonset found the slow way: the centre less the
// rise level every 20 seconds of the date, each change of side halved fifty
// times.  It shares nothing with the search but the model.
struct Slow {
  int rise = -1, set = -1;
};
Slow SlowSearch(const MoonDay &day) {
  Slow found;
  int risings = 0, settings = 0;
  const double start = -0.5 / 3600, end = 86399.5 / 3600, step = 20.0 / 3600;
  double t = start;
  bool above = day.AboveRiseLevelDeg(t) >= 0;
  while (t < end) {
    const double next = std::min(t + step, end);
    const bool nextAbove = day.AboveRiseLevelDeg(next) >= 0;
    if (nextAbove != above) {
      double a = t, b = next;
      for (int i = 0; i < 50; ++i) {
        const double m = (a + b) / 2;
        ((day.AboveRiseLevelDeg(m) >= 0) == nextAbove ? b : a) = m;
      }
      const long long seconds = std::llround((a + b) / 2 * 3600);
      if (seconds >= 0 && seconds < 86400) {
        if (nextAbove && risings++ == 0) found.rise = static_cast<int>(seconds);
        if (!nextAbove && settings++ == 0) found.set = static_cast<int>(seconds);
      }
    }
    t = next;
    above = nextAbove;
  }
  return found;
}

// Every fifth day of 2034 (the Moon's declination reaching 28 degrees, near
// its greatest) at latitudes where the Moon turns circumpolar, and at two
// ordinary ones; each moment within a second of the slow search's.
TEST(MoonDay, SearchAgreesWithSlowSearch) {
  for (double latitudeDeg : {29.0, 55.0, 70.0, 75.0, 78.0, -72.0}) {
    for (int dayOfYear = 1; dayOfYear <= 365; dayOfYear += 5) {
      const int month = 1 + (dayOfYear - 1) / 31, day = 1 + (dayOfYear - 1) % 28;
      const CivilDate date{2034, month, day};
      const MoonDay moon(SiteAt(latitudeDeg, 130), date);
      const MoonDayEvents events = FindMoonDayEvents(moon);
      const Slow slow = SlowSearch(moon);
      const std::string what = std::to_string(latitudeDeg) + " " + Name(date);
      EXPECT_NEAR(events.moonrise.happens() ? events.moonrise.seconds : -1, slow.rise, 1) << what;
      EXPECT_NEAR(events.moonset.happens() ? events.moonset.seconds : -1, slow.set, 1) << what;
    }
  }
}

// The interpolated Moon of the day against the exact evaluation
// (MoonPlaceAt) every quarter hour of several dates: the directions within
// 0.5" (measured worst 0.06" over 120 dates from 1750 to 2090).
TEST(MoonDay, InterpolationAgreesWithExactPlace) {
  const CivilDate dates[] = {{1750, 3, 3}, {1900, 6, 17}, {2000, 1, 1}, {2034, 9, 17}, {2090, 12, 3}};
  for (const CivilDate &date : dates) {
    const Site site{52 * kDeg, 2.5, 3};
    const MoonDay day(site, date);
    for (double hours = -0.5; hours <= 24.5; hours += 0.25) {
      const SunPlace interpolated = day.PlaceAt(hours);
      const MoonPlace exact = MoonPlaceAt(site, day.JulianDateUt(hours));
      double a[3], b[3];
      eraS2c(interpolated.rightAscensionHours * 15 * kDeg, interpolated.declinationDeg * kDeg, a);
      eraS2c(exact.rightAscensionHours * 15 * kDeg, exact.declinationDeg * kDeg, b);
      EXPECT_LT(eraSepp(a, b) / kDeg * 3600, 0.5) << Name(date) << " " << hours;
    }
  }
}

} // namespace
} // namespace ostrel
