// SPDX-License-Identifier: GPL-3.0-or-later
// Sunrise and sunset from a height and with the eye above the ground,
// against a published calculator's table (tests/data/elevation-riseset.txt,
// to the minute): within a minute of its moments in both theories.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/observer/observer_day.h"

namespace ostrel::test {
namespace {

// A minute beyond the table's rounding to the minute, seconds.
constexpr int kWithinAMinute = 90;

int SecondsOfText(const std::string &hhmm) {
  return std::stoi(hhmm.substr(0, 2)) * 3600 + std::stoi(hhmm.substr(3, 2)) * 60;
}

TEST(ObserverAccuracy, SunriseAndSunsetFromAHeightWithinAMinute) {
  std::ifstream file(std::string(OSTREL_REFERENCE_DIR) + "/elevation-riseset.txt");
  ASSERT_TRUE(file) << "the table in " << OSTREL_REFERENCE_DIR;
  int rows = 0;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string date, rise, set;
    double latitude = 0, longitude = 0, elevation = 0, eye = 0;
    fields >> date >> latitude >> longitude >> elevation >> eye >> rise >> set;
    ASSERT_FALSE(fields.fail()) << line;
    ++rows;
    // The calculator gives the events of the UT date: at 95 W the sunset
    // in the first minutes of the date is the evening before's.
    const Site site{latitude * 3.14159265358979323846 / 180, longitude / 15, 0};
    const CivilDate day{std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                        std::stoi(date.substr(8, 2))};
    Observer observer;
    observer.elevationM = elevation;
    observer.eyeM = eye;
    for (const Theory theory : {Theory::Classic, Theory::Precise}) {
      const DayEvents events = FindObserverDayEvents(theory, site, day, ObserverHorizon(observer));
      ASSERT_TRUE(events.sunrise.happens() && events.sunset.happens()) << line;
      const int riseError = events.sunrise.seconds - SecondsOfText(rise);
      const int setError = events.sunset.seconds - SecondsOfText(set);
      // Within a minute of the calculator's moment, which the table rounds
      // to the minute: within 90 s of the minute printed.  Six rows of
      // seven are within 60 s of it; at 8000 m with the eye 4000 m above
      // its ground the Sun rises some 66 s earlier and sets 66 s later
      // than printed (docs/accuracy.md).
      EXPECT_LE(std::abs(riseError), kWithinAMinute) << TheoryKey(theory) << " sunrise: " << line;
      EXPECT_LE(std::abs(setError), kWithinAMinute) << TheoryKey(theory) << " sunset: " << line;
      std::printf("%s %s ht %5.0f el %5.0f: sunrise %+4d s, sunset %+4d s\n", TheoryKey(theory),
                  date.c_str(), elevation, eye, riseError, setError);
    }
  }
  EXPECT_EQ(rows, 7);
}

} // namespace
} // namespace ostrel::test
