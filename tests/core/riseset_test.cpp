// SPDX-License-Identifier: GPL-3.0-or-later
// Culmination, equation of time, sunrise, sunset and day length.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "run_helpers.h"

namespace ostrel::test {
namespace {

struct DayCase {
  const char *what;
  Site site;
  Moment moment;
  std::int16_t mode;
  const char *culmHour, *culmMin, *equMin, *riseHour, *riseMin, *setHour, *setMin, *durHour,
      *durMin, *riseAzim, *setAzim;
};

TEST(RISESET, DayTexts) {
  const Site moldova{28 + 51.0 / 60, 47, 3};
  const DayCase cases[] = {
      {"47N 28 51E from north", moldova, {2011, 6, 22, 12}, FromNorth,
       "13", "6", "-1.9", "5", "10", "21", "3", "15", "54", "53.2", "306.8"},
      {"47N 28 51E from south", moldova, {2011, 6, 22, 12}, FromSouth,
       "13", "6", "-1.9", "5", "10", "21", "3", "15", "54", "233.2", "126.8"},
      {"47N 28 51E signed from south", moldova, {2011, 6, 22, 12}, FromSouthSigned,
       "13", "6", "-1.9", "5", "10", "21", "3", "15", "54", "-126.8", "126.8"},
      {"0N 0E equinox", {0, 0, 0}, {2011, 3, 21, 12}, FromNorth,
       "12", "7", "-7.3", "6", "4", "18", "11", "12", "7", "89.9", "270.3"},
  };
  for (const auto &c : cases) {
    const Ephemeris e = Compute(c.site, c.moment, c.mode);
    const SunReport &r = e.report;
    EXPECT_EQ(r.CulmHour, c.culmHour) << c.what;
    EXPECT_EQ(r.CulmMin, c.culmMin) << c.what;
    EXPECT_EQ(r.EquMin, c.equMin) << c.what;
    EXPECT_EQ(r.RiseHour, c.riseHour) << c.what;
    EXPECT_EQ(r.RiseMin, c.riseMin) << c.what;
    EXPECT_EQ(r.SetHour, c.setHour) << c.what;
    EXPECT_EQ(r.SetMin, c.setMin) << c.what;
    EXPECT_EQ(r.DurHour, c.durHour) << c.what;
    EXPECT_EQ(r.DurMin, c.durMin) << c.what;
    EXPECT_EQ(r.RiseAzim, c.riseAzim) << c.what;
    EXPECT_EQ(r.SetAzim, c.setAzim) << c.what;
  }
}

// The day's texts do not depend on the hour of the run.
TEST(RISESET, SameDayAtEveryHour) {
  const Site site{-73.98, 40.75, -5};
  const Ephemeris reference = Compute(site, {2024, 10, 3, 12});
  for (double hour : {0.0, 5.5, 17.25, 23.99}) {
    const Ephemeris e = Compute(site, {2024, 10, 3, hour});
    for (const auto &[name, text] : SunReport::Labels) {
      const std::string n = name;
      if (n.rfind("Culm", 0) == 0 || n.rfind("Rise", 0) == 0 || n.rfind("Set", 0) == 0 ||
          n.rfind("Dur", 0) == 0 || n == "EquMin" || n == "AltMax") {
        EXPECT_EQ(e.report.*text, reference.report.*text) << n << " at " << hour;
      }
    }
  }
}

struct ClockCase {
  const char *what;
  double hours;
  const char *hourText, *minuteText;
};

TEST(RISESET, RiseAndSetClockTexts) {
  const ClockCase cases[] = {
      {"10 h 59.7 min carries into the hour", 10.995, "11", "0"},
      {"59.996 min and more shows 1 minute", 10 + 59.997 / 60, "11", "1"},
      {"a negative time truncates and shows the absolute minutes", -0.5, "0", "30"},
      {"minutes rounded half up", 6 + 4.5 / 60, "6", "5"},
      {"whole hour", 18, "18", "0"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    std::string hour, minute;
    e.ClockTexts(c.hours, hour, minute);
    EXPECT_EQ(hour, c.hourText) << c.what;
    EXPECT_EQ(minute, c.minuteText) << c.what;
  }
}

TEST(RISESET, CulminationTexts) {
  const ClockCase cases[] = {
      {"10 h 59.7 min carries into the hour", 10.995, "11", "0"},
      {"a negative time splits by floor", -0.5, "-1", "30"},
      {"beyond 24 h is not reduced", 35.25, "35", "15"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.CulmTime = c.hours;
    e.CulminationTexts(0);
    EXPECT_EQ(e.report.CulmHour, c.hourText) << c.what;
    EXPECT_EQ(e.report.CulmMin, c.minuteText) << c.what;
  }
}

TEST(RISESET, EquationOfTimeTenthsHalfUp) {
  const double e = -72.5 / 600;
  ASSERT_EQ(600 * e, -72.5); // the tie is exact in binary
  const struct {
    double hours;
    const char *text;
  } cases[] = {{e, "-7.2"}, {0.5, "30"}, {-0.01, "-0.6"}, {0.01, "0.6"}, {0, "0"}};
  for (const auto &c : cases) {
    Ephemeris eph;
    eph.CulminationTexts(c.hours);
    EXPECT_EQ(eph.report.EquMin, c.text) << c.hours;
  }
}

TEST(RISESET, DayLengthHasNoCarry) {
  const ClockCase cases[] = {
      {"11.995 h shows 60 minutes", 11.995, "11", "60"},
      {"15 h 54 min", 15.9, "15", "54"},
      {"no day", 0, "0", "0"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.DayLengthTexts(c.hours);
    EXPECT_EQ(e.report.DurHour, c.hourText) << c.what;
    EXPECT_EQ(e.report.DurMin, c.minuteText) << c.what;
  }
}

// A time zone far from the longitude puts the culmination near 35 h; it is
// shown as it stands.
TEST(RISESET, CulminationNotBroughtIntoTheDay) {
  const Ephemeris e = Compute({-165, 20, 12}, {2011, 6, 22, 12});
  EXPECT_GT(e.state.CulmTime, 34.5);
  EXPECT_LT(e.state.CulmTime, 35.5);
  EXPECT_EQ(e.report.CulmHour, std::to_string(static_cast<int>(std::floor(e.state.CulmTime))));
}

// Far east with a western time zone, local mean noon falls on the local day
// before and JulDay0 moves back a day: the sidereal time drops 3.94 min and
// the February equation of time passes -0.3 h.  It must stay about -18 min,
// not wrap to +23.7 h (1421.8 min) with the culmination 24 hours off.
TEST(RISESET, FebruaryEquationOfTimeBeyondMinusPointThree) {
  const Moment date{2011, 2, 11, 12};
  const Ephemeris shifted = Compute({180, 0, -1}, date);
  const Ephemeris plain = Compute({180, 0, 12}, date);
  const double shiftedMinutes = std::stod(shifted.report.EquMin);
  const double plainMinutes = std::stod(plain.report.EquMin);
  EXPECT_LT(shiftedMinutes, -18);
  EXPECT_GT(shiftedMinutes, -19);
  // The shift is the 3.94-minute step of the sidereal time at 0 h UT.
  EXPECT_NEAR(plainMinutes - shiftedMinutes, 3.94, 0.15);
  // Culmination about 12 - E - 12 - 1 = -0.7 h: hour -1.
  EXPECT_EQ(shifted.report.CulmHour, "-1");
  EXPECT_NE(shifted.report.RiseHour, "--");
}

} // namespace
} // namespace ostrel::test
