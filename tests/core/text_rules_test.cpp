// SPDX-License-Identifier: GPL-3.0-or-later
// The text rules that carry: a part that would show 60 raises the number by
// a fixed step, and the rule hands the raised number back for the steps
// after it.  Each row is a value just short of a whole unit (a carry) or well
// inside one (no carry); the texts are what a reader of the window expects.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/run/text_rules.h"

namespace ostrel::test {
namespace {

struct CarryCase {
  const char *what;
  double value;
  double step; // what the rule adds on a carry, 0 for none
  std::string texts;
};

// Runs one rule and gives its texts joined by blanks, and the number it
// handed back.
using Rule = std::function<std::pair<std::string, double>(double, const NumberFormat &)>;

void CheckCarries(const Rule &rule, std::initializer_list<CarryCase> cases) {
  const NumberFormat format;
  for (const CarryCase &c : cases) {
    const auto [texts, changed] = rule(c.value, format);
    EXPECT_EQ(texts, c.texts) << c.what;
    EXPECT_EQ(changed, c.value + c.step) << c.what;
  }
}

TEST(TextRules, SiderealTimeCarriesIntoTheHour) {
  CheckCarries(
      [](double lst, const NumberFormat &f) {
        const texts::Sidereal t = texts::SiderealTime(lst, f);
        return std::pair{t.hour + " " + t.minute + " " + t.second, t.lst};
      },
      {{"05:59:59.8", 5 + 59 / 60.0 + 59.8 / 3600, 0.00014, "6 0 0"},
       {"05:30:00", 5.5, 0, "5 30 0"},
       {"23:59:59.8 stays 24", 23 + 59 / 60.0 + 59.8 / 3600, 0.00014, "24 0 0"}});
}

TEST(TextRules, RightAscensionCarriesIntoTheMinute) {
  CheckCarries(
      [](double hours, const NumberFormat &f) {
        const texts::RightAscension t = texts::RightAscensionTexts(hours, f);
        return std::pair{t.hour + " " + t.minute + " " + t.second, t.raHours};
      },
      {{"18h 44m 59.7s", 18 + 44 / 60.0 + 59.7 / 3600, 0.00014, "18 45 0"},
       {"18h 45m 13s", 18 + 45 / 60.0 + 13 / 3600.0, 0, "18 45 13"}});
}

TEST(TextRules, DeclinationCarriesTowardTheNorth) {
  CheckCarries(
      [](double degrees, const NumberFormat &f) {
        const texts::Declination t = texts::DeclinationTexts(degrees, f);
        return std::pair{t.sign + "|" + t.degrees + " " + t.minutes + " " + t.seconds, t.declDeg};
      },
      {{"+10 59' 59.7\"", 10 + 59 / 60.0 + 59.7 / 3600, 0.00014, "|11 0 0"},
       // South of the equator the step still goes north: the seconds shrink.
       {"-10 59' 59.7\"", -(10 + 59 / 60.0 + 59.7 / 3600), 0.00014, "-|10 59 59"},
       {"-0.5", -0.5, 0, "-|0 30 0"}});
}

TEST(TextRules, DiameterAndCulminationCarry) {
  CheckCarries(
      [](double arcmin, const NumberFormat &f) {
        const texts::Diameter t = texts::DiameterTexts(arcmin, f);
        return std::pair{t.minutes + " " + t.seconds, t.diamArcmin};
      },
      {{"32' 59.7\"", 32 + 59.7 / 60, 0.0084, "33 0"}, {"32' 30\"", 32.5, 0, "32 30"}});
  CheckCarries(
      [](double hours, const NumberFormat &f) {
        const texts::Culmination t = texts::CulminationTexts(hours, 0, f);
        return std::pair{t.hour + " " + t.minute, t.culmTime};
      },
      {{"12:59:45", 12 + 59.75 / 60, 0.0084, "13 0"}, {"-0.5 h", -0.5, 0, "-1 30"}});
}

TEST(TextRules, PolarDayLengthBySignOfTheCosine) {
  EXPECT_EQ(texts::PolarDayLength(1.5)->hour, "--");
  EXPECT_EQ(texts::PolarDayLength(-1.5)->hour, "24");
  EXPECT_EQ(texts::PolarDayLength(-1.5)->minute, "00");
  EXPECT_FALSE(texts::PolarDayLength(0.99));
}

} // namespace
} // namespace ostrel::test
