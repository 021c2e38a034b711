// SPDX-License-Identifier: GPL-3.0-or-later
// Day of the year, Julian dates and sidereal time.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "run_helpers.h"

namespace ostrel::test {
namespace {

// The modified Julian date of a Gregorian date by counting days in 400-year
// eras from 1970-01-01 (MJD 40587), the days_from_civil algorithm of the C++
// date library: an independent check of the Julian-date rule.
double ModifiedJulianDate(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097.0 + doe - 719468 + 40587;
}

struct DayOfYearCase {
  double year, month, day;
  const char *doy;
};

TEST(DayOfYear, LeapAndCommonYears) {
  const DayOfYearCase cases[] = {
      {2000, 1, 1, "1"},    {2000, 2, 29, "60"},  {2000, 3, 1, "61"},
      {1900, 3, 1, "60"},   {2100, 3, 1, "60"},   {1700, 3, 1, "60"},
      {1800, 3, 1, "60"},   {2000, 12, 31, "366"}, {2011, 12, 31, "365"},
      {2012, 3, 1, "61"},   {2011, 2, 28, "59"},  {2011, 7, 4, "185"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.DateYear = c.year;
    e.state.DateMonth = c.month;
    e.state.DateDay = c.day;
    e.DayOfYear();
    EXPECT_EQ(e.report.DOY, c.doy) << c.year << "-" << c.month << "-" << c.day;
  }
}

struct JulianCase {
  Moment moment;
  float timezone;
  const char *julianDate; // modified Julian date text
  double julDay0;
};

TEST(JulianDate, ModifiedJulianDateText) {
  const JulianCase cases[] = {
      {{2000, 1, 1, 12}, 0, "51544.5", 51544.5},
      {{2000, 1, 1, 0}, 0, "51544", 51544.5},
      {{1700, 1, 1, 0}, 0, "-58028", -58027.5},
      {{1858, 11, 17, 0}, 0, "0", 0.5},
      {{2100, 12, 31, 23, 59, 59}, 0, "88433.99999", 88433.5},
      // Local 01:00 at +3 h is 22:00 UT of the day before; JulDay0 stays
      // 0 h UT of the local date.
      {{2000, 1, 1, 1}, 3, "51543.91667", 51544.5},
  };
  for (const auto &c : cases) {
    const Ephemeris e = Compute({0, 0, c.timezone}, c.moment);
    EXPECT_EQ(e.report.JulianDate, c.julianDate) << c.moment.year;
    EXPECT_EQ(e.state.JulDay0, c.julDay0) << c.moment.year;
  }
}

TEST(JulianDate, StateAtJ2000) {
  const Ephemeris noon = Compute({0, 0, 0}, {2000, 1, 1, 12});
  EXPECT_EQ(noon.state.JulDay, 51545);
  EXPECT_NEAR(noon.state.T1900, 0.9999863107, 1e-10);
  EXPECT_NEAR(noon.state.Gmst0, 2406.6644985, 1e-7);

  // RISESET reuses DayUt for its own evaluations: look before it runs.
  Ephemeris early;
  SetSite(early.state, 0, 0, 3);
  SetManualMoment(early.state, {2000, 1, 1, 1});
  early.JulianDates();
  EXPECT_EQ(early.state.UtHours, -2);
  EXPECT_NEAR(early.state.DayUt, 0.9166666667, 1e-9);
  EXPECT_NEAR(early.state.JulDay, 51544.4166666667, 1e-9);
  EXPECT_EQ(early.state.JulDay0, 51544.5);
}

// JulDay0 is 0 h UT of the local date at every local time and time zone,
// at local midnight exactly and just before 24 h too, across month and
// year ends, whether the moment is typed or comes from the clock (single
// precision UtHours and DayUt).
TEST(JulianDate, ZeroHourOfLocalDateForEveryZone) {
  const int dates[][3] = {{2011, 1, 1},  {2010, 12, 31}, {2000, 2, 29}, {2000, 3, 1},
                          {1700, 1, 1},  {2100, 12, 31}, {1900, 2, 28}, {2024, 7, 15}};
  const Moment times[] = {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1}, {0, 0, 0, 23, 59, 59},
                          {0, 0, 0, 12, 0, 0}, {0, 0, 0, 23, 59, 59.9}};
  for (const auto &date : dates) {
    const double expected = ModifiedJulianDate(date[0], date[1], date[2]) + 0.5;
    for (float zone = -12; zone <= 12; zone += 0.25f) {
      for (Moment t : times) {
        t.year = date[0];
        t.month = date[1];
        t.day = date[2];
        for (bool clock : {false, true}) {
          Ephemeris e;
          SetSite(e.state, 0, 0, zone);
          clock ? SetClockMoment(e.state, t) : SetManualMoment(e.state, t);
          e.JulianDates();
          ASSERT_EQ(e.state.JulDay0, expected)
              << date[0] << "-" << date[1] << "-" << date[2] << " " << t.hour << ":"
              << t.minute << ":" << t.second << " zone " << zone << (clock ? " clock" : "");
        }
      }
    }
  }
}

struct SiderealCase {
  Moment moment;
  const char *hour, *minute, *second;
};

TEST(SiderealTime, TextsAtJ2000) {
  const SiderealCase cases[] = {
      {{2000, 1, 1, 12}, "18", "41", "50"},
      {{2000, 1, 1, 0}, "6", "39", "52"},
  };
  for (const auto &c : cases) {
    const Ephemeris e = Compute({0, 0, 0}, c.moment);
    EXPECT_EQ(e.report.SidHour, c.hour);
    EXPECT_EQ(e.report.SidMin, c.minute);
    EXPECT_EQ(e.report.SidSec, c.second);
  }
}

struct SiderealCarryCase {
  const char *what;
  double lst;
  const char *hour, *minute, *second;
};

// Seconds (or single-precision minutes) that would show 60 add 0.00014 h
// (0.504 s) and split again; the increased Lst stays for the hour angle.
TEST(SiderealTime, CarryLoopNeverShowsSixty) {
  const SiderealCarryCase cases[] = {
      {"59.7 s carries into the next hour", 6 + 59.0 / 60 + 59.7 / 3600, "7", "0", "0"},
      {"the hour is not reduced after the carry", 23 + 59.0 / 60 + 59.7 / 3600, "24", "0", "0"},
      {"0.002 s below a minute gives 1 s", 6 + 10.0 / 60 + 59.998 / 3600, "6", "11", "1"},
      {"minutes rounding to 60.0 in single precision", 7 - 1e-9, "7", "0", "1"},
      {"half a second rounds to the even 8", 5 + 10.125 / 60, "5", "10", "8"},
      {"half a second rounds to the even 22", 5 + 10.375 / 60, "5", "10", "22"},
      {"no carry at 59.4 s", 6 + 59.0 / 60 + 59.4 / 3600, "6", "59", "59"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.Lst = c.lst;
    e.SiderealTexts();
    EXPECT_EQ(e.report.SidHour, c.hour) << c.what;
    EXPECT_EQ(e.report.SidMin, c.minute) << c.what;
    EXPECT_EQ(e.report.SidSec, c.second) << c.what;
    EXPECT_GE(e.state.Lst, c.lst) << c.what;
  }
}

// Adding the longitude reduces the sum once into 0..24, east and west.
TEST(SiderealTime, LongitudeMovesTheSiderealTimeByItsHours) {
  const Moment moment{2011, 6, 21, 9, 30};
  const double greenwich = Compute({0, 0, 0}, moment).state.Lst;
  for (double longitudeDeg : {-180.0, -120.0, -45.0, 30.0, 97.5, 180.0}) {
    const double lst = Compute({longitudeDeg, 0, 0}, moment).state.Lst;
    const double expected = std::fmod(greenwich + longitudeDeg / 15 + 48, 24.0);
    EXPECT_NEAR(lst, expected, 1e-9) << longitudeDeg;
    EXPECT_GE(lst, 0);
    EXPECT_LE(lst, 24);
  }
}

} // namespace
} // namespace ostrel::test
