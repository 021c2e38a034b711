// SPDX-License-Identifier: GPL-3.0-or-later
// Polar day and night, and the greatest altitude of the day.
#include <gtest/gtest.h>

#include <string>

#include "run_helpers.h"

namespace ostrel::test {
namespace {

struct PolarCase {
  const char *what;
  Site site;
  Moment moment;
  const char *durHour, *durMin, *culmHour, *culmMin, *equMin;
};

TEST(Polar, DayAndNightAtSeventyDegrees) {
  const PolarCase cases[] = {
      {"70N polar day", {25, 70, 2}, {2011, 6, 21, 12}, "24", "00", "12", "22", "-1.6"},
      {"70N polar night", {25, 70, 2}, {2011, 12, 21, 12}, "--", "--", "12", "18", "2"},
      {"70S polar night", {25, -70, 2}, {2011, 6, 21, 12}, "--", "--", "12", "22", "-1.6"},
      {"north pole in June", {0, 90, 0}, {2011, 6, 21, 12}, "24", "00", nullptr, nullptr, nullptr},
      {"north pole in December", {0, 90, 0}, {2011, 12, 21, 12}, "--", "--", nullptr, nullptr,
       nullptr},
      {"south pole in December", {0, -90, 0}, {2011, 12, 21, 12}, "24", "00", nullptr, nullptr,
       nullptr},
  };
  for (const auto &c : cases) {
    const Ephemeris e = Compute(c.site, c.moment);
    const SunReport &r = e.report;
    for (const std::string *text : {&r.RiseHour, &r.RiseMin, &r.SetHour, &r.SetMin,
                                    &r.RiseAzim, &r.SetAzim}) {
      EXPECT_EQ(*text, "--") << c.what;
    }
    EXPECT_EQ(r.DurHour, c.durHour) << c.what;
    EXPECT_EQ(r.DurMin, c.durMin) << c.what;
    if (c.culmHour) {
      EXPECT_EQ(r.CulmHour, c.culmHour) << c.what;
      EXPECT_EQ(r.CulmMin, c.culmMin) << c.what;
      EXPECT_EQ(r.EquMin, c.equMin) << c.what;
    }
  }
}

// Polar decides by the sign of c alone; a c within -1..1 (never handed to it)
// leaves the day length as it was.
TEST(Polar, ChoosesByTheSignOfTheCosine) {
  const struct {
    double c;
    const char *durHour, *durMin;
  } cases[] = {{1.0001, "--", "--"}, {-1.0001, "24", "00"}, {0.5, "kept", "kept"}};
  for (const auto &c : cases) {
    Ephemeris e;
    e.report.DurHour = e.report.DurMin = "kept";
    e.state.AtnX = c.c;
    e.Polar();
    EXPECT_EQ(e.report.DurHour, c.durHour) << c.c;
    EXPECT_EQ(e.report.DurMin, c.durMin) << c.c;
    EXPECT_EQ(e.report.RiseHour, "--") << c.c;
    EXPECT_EQ(e.report.SetAzim, "--") << c.c;
  }
}

// Crossing a polar circle around the solstice, the days change from normal
// to polar and back without a gap: a day is either polar (all four times
// dashed) or fully formed, and its length grows toward the pole in June.
TEST(Polar, AcrossTheArcticCircleInJune) {
  double previousLength = 0;
  bool polarSeen = false;
  for (double latitude = 60; latitude <= 70; latitude += 0.05) {
    const Ephemeris e = Compute({25, latitude, 2}, {2011, 6, 21, 12});
    const SunReport &r = e.report;
    if (r.RiseHour == "--") {
      polarSeen = true;
      EXPECT_EQ(r.DurHour, "24") << latitude;
      EXPECT_EQ(r.SetMin, "--") << latitude;
      continue;
    }
    EXPECT_FALSE(polarSeen) << "normal day poleward of a polar day at " << latitude;
    const double length = std::stod(r.DurHour) + std::stod(r.DurMin) / 60;
    EXPECT_GE(length, previousLength - 1.0 / 60) << latitude;
    previousLength = length;
  }
  EXPECT_TRUE(polarSeen);
}

struct AltMaxCase {
  const char *what;
  double latitudeDeg;
  float culmDecl;
  const char *altMax;
};

TEST(GreatestAltitude, FromLatitudeAndNoonDeclination) {
  const AltMaxCase cases[] = {
      {"north pole", 90, 23.4f, "23.4"},
      // 90 + 90 + 23.4 = 203.4 > 90: 180 - 203.4 in single precision.
      {"south pole", -90, 23.4f, "-23.39"},
      {"70N in polar night", 70, -23.44f, "-3.43"},
      {"60S", -60, -20, "50"},
      {"Sun in the zenith at noon", 23.25, 23.25f, "90"},
      {"a negative altitude is truncated toward zero", 60, -35.237f, "-5.23"},
  };
  for (const auto &c : cases) {
    Ephemeris e;
    e.state.LatRad = c.latitudeDeg * kRad;
    e.state.CulmDecl = c.culmDecl;
    e.GreatestAltitude();
    EXPECT_EQ(e.report.AltMax, c.altMax) << c.what;
  }
}

TEST(GreatestAltitude, TwoRunsGiveTheSameTexts) {
  Ephemeris e;
  SetSite(e.state, 2, 0.8, 1);
  SetManualMoment(e.state, {2020, 5, 17, 8, 45, 12});
  e.MAINCALC();
  const SunReport first = e.report;
  // The run uses DayUt for its own evaluations; the caller writes the moment
  // before every run, as the window does.
  SetManualMoment(e.state, {2020, 5, 17, 8, 45, 12});
  e.MAINCALC();
  for (const auto &[name, text] : SunReport::Labels) {
    EXPECT_EQ(e.report.*text, first.*text) << name;
  }
}

} // namespace
} // namespace ostrel::test
