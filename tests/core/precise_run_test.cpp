// SPDX-License-Identifier: GPL-3.0-or-later
// The window's run in the precise theory: its texts are formed from the
// precise day, its culmination is the meridian passage, its sunrise and
// sunset are the day's events, and a run never keeps another site's or
// date's day.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/day/day_events.h"
#include "core/run/ephemeris.h"
#include "core/text/numtext.h"
#include "core/sun/precise_sun.h"
#include "core/run/typed_input.h"

namespace ostrel::test {
namespace {

struct Case {
  const char *what;
  double latDeg, longDeg;
  float zone;
  CivilDate date;
  int hour, minute;
};

void Fill(Ephemeris &e, const Case &c) {
  SetSite(e.state, LongitudeHours(c.longDeg, 0, false), LatitudeRadians(c.latDeg, 0, false), c.zone);
  SetTypedMoment(e.state, c.date.year, c.date.month, c.date.day, c.hour, c.minute, 0);
}

SunReport PreciseTexts(const Case &c) {
  Ephemeris e;
  e.theory = Theory::Precise;
  Fill(e, c);
  e.MAINCALC();
  return e.report;
}

std::string Minutes(int seconds) { return NumText(std::floor((seconds % 3600) / 60.0 + 0.5)); }

const Case kCases[] = {
    {"47N in June", 47, 28.85, 3, {2026, 6, 21}, 14, 30},
    {"south in December", -33.87, 151.21, 10, {1999, 12, 31}, 6, 0},
    {"zone far from the meridian", 1.29, 103.85, 8, {2024, 2, 11}, 23, 59},
    {"1700", 51.48, 0, 0, {1700, 1, 1}, 12, 0},
    {"polar day", 69.65, 18.96, 1, {2026, 6, 21}, 1, 0},
    {"polar night", 69.65, 18.96, 1, {2026, 12, 21}, 12, 0},
};

TEST(PreciseRun, TextsComeFromThePreciseDay) {
  for (const Case &c : kCases) {
    Ephemeris e;
    e.theory = Theory::Precise;
    Fill(e, c);
    e.MAINCALC();
    const Site site{e.state.LatRad, e.state.LongHours, e.state.Timezon};
    const PreciseSunDay day(site, c.date);
    const SunPlace now = day.PlaceAt(c.hour + c.minute / 60.0);
    // The place at the moment, by the classic texts' rules.
    EXPECT_EQ(e.report.LongSun, NumText(std::floor(now.eclipticLongitudeDeg * 10000) / 10000)) << c.what;
    EXPECT_EQ(e.report.AltTrue, NumText(std::trunc(now.altitudeDeg * 1000 + 0.5) / 1000)) << c.what;
    EXPECT_NEAR(e.state.Lst, now.localSiderealHours, 2e-4) << c.what; // a carry adds 0.00014 h
    // The culmination is the meridian passage.
    EXPECT_NEAR(day.PlaceAt(e.state.CulmTime).hourAngleHours, 0, 1e-6) << c.what;
    // Sunrise and sunset are the day's own, to the minute.
    const DayEvents events = FindDayEvents(day);
    if (events.polar == Polar::Day) {
      EXPECT_EQ(e.report.DurHour + ":" + e.report.DurMin, "24:00") << c.what;
      EXPECT_EQ(e.report.RiseHour, "--") << c.what;
    } else if (events.polar == Polar::Night) {
      EXPECT_EQ(e.report.DurHour + ":" + e.report.DurMin, "--:--") << c.what;
      EXPECT_EQ(e.report.SetAzim, "--") << c.what;
    } else {
      ASSERT_TRUE(events.sunrise.happens() && events.sunset.happens()) << c.what;
      EXPECT_EQ(e.report.RiseMin, Minutes(events.sunrise.seconds)) << c.what;
      EXPECT_EQ(e.report.SetMin, Minutes(events.sunset.seconds)) << c.what;
      EXPECT_EQ(e.report.DurHour, NumText(std::trunc(*events.dayLengthSeconds / 3600.0))) << c.what;
    }
  }
}

// One Ephemeris keeps the day of its last run; a run at another site or on
// another date must give what a fresh Ephemeris gives, and the classic
// theory on the same object stays the classic run.
TEST(PreciseRun, NeverKeepsAnotherDay) {
  Ephemeris shared;
  shared.theory = Theory::Precise;
  for (int pass = 0; pass < 2; ++pass) {
    for (const Case &c : kCases) {
      Fill(shared, c);
      shared.MAINCALC();
      const SunReport fresh = PreciseTexts(c);
      for (const auto &[name, text] : SunReport::Labels) {
        EXPECT_EQ(shared.report.*text, fresh.*text) << c.what << " " << name;
      }
    }
  }
  Ephemeris classic;
  Fill(classic, kCases[0]);
  classic.MAINCALC();
  shared.theory = Theory::Classic;
  Fill(shared, kCases[0]);
  shared.MAINCALC();
  for (const auto &[name, text] : SunReport::Labels) EXPECT_EQ(shared.report.*text, classic.report.*text) << name;
}

} // namespace
} // namespace ostrel::test
