// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's quarters: Meeus' worked example 49.a and the U.S. Naval
// Observatory's table of phases, and their listing between two instants.
#include <gtest/gtest.h>

#include <erfa.h>

#include <cmath>
#include <string>

#include "core/moon/moon_quarters.h"
#include "core/sun/precise_sun.h"

namespace ostrel {
namespace {

double JulianDate(int year, int month, int day, double hours) {
  double mjd0 = 0, mjd = 0;
  eraCal2jd(year, month, day, &mjd0, &mjd);
  return mjd0 + mjd + hours / 24;
}

// J. Meeus, Astronomical Algorithms, 2nd ed., example 49.a: the new moon of
// 1977 February 18 at 3h37m42s TD by the chapter's series, 3h37m40s TD by
// the full ELP-2000/82 theory (as Meeus states there).  eraMoon98 is a
// truncated ELP whose direction is off by up to 18" (ERFA), which the Moon
// gains on the Sun in 36 s; the instant is allowed 10 s from the full
// theory's.
TEST(MoonQuarters, MeeusNewMoon1977) {
  const double deltaT = DeltaTSeconds(1977 + 1.5 / 12) / 86400;
  const auto quarters = FindQuarters(JulianDate(1977, 2, 17, 0), JulianDate(1977, 2, 19, 0));
  ASSERT_EQ(quarters.size(), 1u);
  EXPECT_EQ(quarters[0].quarter, MoonQuarter::NewMoon);
  const double tt = quarters[0].julianDateUt + deltaT;
  EXPECT_NEAR((tt - JulianDate(1977, 2, 18, 3 + 37 / 60.0 + 40 / 3600.0)) * 86400, 0, 10);
}

// The U.S. Naval Observatory's phases of the Moon, UT to the minute, as
// kept in astronomy-engine's repository (generate/moonphase/
// moonphases.txt; 0 new, 1 first quarter, 2 full, 3 last quarter).  Each
// row's instant is allowed 30 s of the table's rounding and 36 s of
// eraMoon98's worst error; rows before 1850 and after 2080 also the
// difference of the two Delta T's (the USNO's, and Espenak and Meeus'
// polynomials here), which grows to nearly two minutes by 2100.
struct UsnoRow {
  int quarter;
  int year, month, day, hour, minute;
  double toleranceSeconds;
};

const UsnoRow kUsno[] = {
    {0, 1800, 1, 25, 3, 21, 120},  {3, 1800, 10, 10, 23, 59, 120},
    {2, 1830, 5, 7, 23, 59, 66},   {1, 1900, 1, 8, 5, 40, 66},
    {0, 1910, 1, 11, 11, 51, 66},  {0, 2020, 12, 14, 16, 16, 66},
    {1, 2020, 12, 21, 23, 41, 66}, {2, 2020, 12, 30, 3, 28, 66},
    {3, 2030, 12, 18, 0, 1, 66},   {0, 2040, 1, 14, 3, 25, 66},
    {2, 2090, 12, 7, 1, 15, 120},  {0, 2100, 12, 30, 23, 58, 120},
    // A quarter of each decade from 1820 to 1910, among them a leap day
    // and one a minute after midnight.
    {3, 1820, 12, 27, 13, 17, 120}, {1, 1860, 2, 29, 19, 55, 66},
    {2, 1880, 12, 16, 15, 36, 66},  {0, 1900, 12, 22, 0, 1, 66},
    {2, 1910, 5, 24, 5, 39, 66},    {3, 1890, 8, 7, 14, 19, 66},
};

TEST(MoonQuarters, AgreeWithNavalObservatory) {
  for (const UsnoRow &row : kUsno) {
    const double expected = JulianDate(row.year, row.month, row.day, row.hour + row.minute / 60.0);
    const auto found = FindQuarters(expected - 2, expected + 2);
    const std::string when = std::to_string(row.year) + "-" + std::to_string(row.month) + "-" +
                             std::to_string(row.day);
    ASSERT_EQ(found.size(), 1u) << when;
    EXPECT_EQ(static_cast<int>(found[0].quarter), row.quarter) << when;
    EXPECT_NEAR((found[0].julianDateUt - expected) * 86400, 0, row.toleranceSeconds) << when;
  }
}

// A year of quarters: 2020 has 50 in the USNO table (13 new moons, 13 full
// moons including the blue moon of October 31, 12 first and 12 last
// quarters), in the order new, first, full, last, each a week apart.
TEST(MoonQuarters, AYearInOrder) {
  const auto quarters = FindQuarters(JulianDate(2020, 1, 1, 0), JulianDate(2021, 1, 1, 0));
  ASSERT_EQ(quarters.size(), 50u);
  // The year's first: the first quarter of 2020 January 3 04:45 UT (USNO).
  EXPECT_EQ(quarters.front().quarter, MoonQuarter::FirstQuarter);
  EXPECT_NEAR((quarters.front().julianDateUt - JulianDate(2020, 1, 3, 4 + 45 / 60.0)) * 86400, 0, 66);
  for (std::size_t i = 1; i < quarters.size(); ++i) {
    EXPECT_EQ(static_cast<int>(quarters[i].quarter), (static_cast<int>(quarters[i - 1].quarter) + 1) % 4);
    const double gap = quarters[i].julianDateUt - quarters[i - 1].julianDateUt;
    // The quarters' spacing ranges from about 5.9 to 8.5 days (Meeus ch. 49).
    EXPECT_GT(gap, 5.5);
    EXPECT_LT(gap, 9.0);
  }
}

// Quarters are instants: the last quarter of 2030 December 18 00:01 UT
// (USNO) lies in the UT date of December 18, not the 17th, and the listing
// between two instants includes the start and excludes the end.
struct ListingRow {
  const char *what;
  double from, to;
  std::size_t count;
};

TEST(MoonQuarters, ListingBetweenInstants) {
  const double lastQuarter = FindQuarters(JulianDate(2030, 12, 17, 0), JulianDate(2030, 12, 19, 0))
                                 .at(0)
                                 .julianDateUt;
  constexpr double kSecond = 1.0 / 86400;
  const ListingRow rows[] = {
      {"the UT date before", JulianDate(2030, 12, 17, 0), JulianDate(2030, 12, 18, 0), 0},
      {"the UT date of", JulianDate(2030, 12, 18, 0), JulianDate(2030, 12, 19, 0), 1},
      // In the zone UT+3 the same instant is 03:01 of the 18th; in UT-5 it
      // is 19:01 of the 17th: the local date 17 runs from 05:00 UT on the
      // 17th to 05:00 UT on the 18th.
      {"local date 17 at UT-5", JulianDate(2030, 12, 17, 5), JulianDate(2030, 12, 18, 5), 1},
      {"local date 18 at UT-5", JulianDate(2030, 12, 18, 5), JulianDate(2030, 12, 19, 5), 0},
      {"starting a second before", lastQuarter - kSecond, lastQuarter + 1, 1},
      {"starting a second after", lastQuarter + kSecond, lastQuarter + 1, 0},
      {"ending a second after", lastQuarter - 1, lastQuarter + kSecond, 1},
      {"ending a second before", lastQuarter - 1, lastQuarter - kSecond, 0},
      {"empty", lastQuarter, lastQuarter, 0},
      {"reversed", lastQuarter + 1, lastQuarter - 1, 0},
  };
  EXPECT_NEAR((lastQuarter - JulianDate(2030, 12, 18, 1 / 60.0)) * 86400, 0, 66);
  for (const ListingRow &row : rows) {
    EXPECT_EQ(FindQuarters(row.from, row.to).size(), row.count) << row.what;
  }
}

} // namespace
} // namespace ostrel
