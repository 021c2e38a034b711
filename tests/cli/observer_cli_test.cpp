// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel-cli with an observer: its options refused in one line (a file's
// fault with its line), the table's direct_sun column from the core's
// list, and every output without an observer as it was.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/day/day_table.h"
#include "core/observer/observer_day.h"

namespace ostrel::cli {
namespace {

struct Result {
  int status;
  std::string out, err;
};

Result RunWords(std::vector<std::string> words, const std::vector<std::string> &more = {}) {
  words.insert(words.end(), more.begin(), more.end());
  std::ostringstream out, err;
  const int status = Run(words, out, err, [] {
    using namespace std::chrono;
    return system_clock::time_point{sys_days{year{2026} / 6 / 21}};
  });
  return {status, out.str(), err.str()};
}

const std::vector<std::string> kDay = {"day",  "--lat",  "47",         "--lon", "28.85",
                                       "--tz", "2",      "--date",     "2024-03-20"};
const std::vector<std::string> kTable = {"table", "--lat",  "47",         "--lon",
                                         "28.85", "--tz",   "2",          "--from",
                                         "2024-03-19", "--to", "2024-03-21"};

// A file under the test's temporary folder with this text; its path.
std::string FileWith(const std::string &name, const std::string &text) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(CliObserver, BadValuesAndFilesAreRefusedInOneLine) {
  const std::string words = FileWith("words.txt", "0 1\n90 2\n# a comment\nsouth 3\n");
  const std::string high = FileWith("high.txt", "0 1\n90 95\n");
  const std::string twice = FileWith("twice.txt", "0 1\n90 2\n90 3\n");
  const std::string one = FileWith("one.txt", "0 1\n");
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> named; // what the line must name
  } cases[] = {
      {{"--elevation", "9001"}, {"--elevation", "9001", "-500 to 9000"}},
      {{"--elevation", "abc"}, {"--elevation", "abc"}},
      {{"--eye", "-1"}, {"--eye", "-1", "0 to 10000"}},
      {{"--elevation", "100", "--eye", "601"}, {"--eye", "601", "plus 500"}},
      {{"--pressure", "1200"}, {"--pressure", "1200", "100 to 1100"}},
      {{"--temperature", "-70"}, {"--temperature", "-70", "-60 to 50"}},
      {{"--temperature", ""}, {"--temperature", "empty"}},
      {{"--horizon", testing::TempDir() + "missing.txt"}, {"--horizon", "cannot be opened"}},
      {{"--horizon", testing::TempDir()}, {"--horizon", "cannot be read"}},
      {{"--horizon", words}, {"line 4", "not two numbers", "south 3"}},
      {{"--horizon", high}, {"line 2", "altitude 95"}},
      {{"--horizon", twice}, {"line 3", "given twice", "first on line 2"}},
      {{"--horizon", one}, {"--horizon", "at least two points"}},
      {{"--eye", "2", "--body", "moon"}, {"--eye", "with --body moon"}},
      {{"--horizon", testing::TempDir() + "\xff.txt", "--format", "json"}, {"not UTF-8"}},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(kDay, c.words);
    EXPECT_EQ(r.status, kBadInput) << c.named[0];
    EXPECT_TRUE(r.out.empty()) << r.out;
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    for (const std::string &name : c.named)
      EXPECT_NE(r.err.find(name), std::string::npos) << "'" << name << "' not in: " << r.err;
  }
}

TEST(CliObserver, TableGainsDirectSunFromTheCoresColumns) {
  // Without an observer the table is as it was; with one its header is
  // the core's observer list, and its rows are the core's for the same
  // observer, as the year window's CSV takes them.
  const std::string valley = FileWith("valley.txt", "0 0\n60 8\n120 8\n180 0\n240 8\n300 8\n");
  const Result plain = RunWords(kTable, {"--format", "csv"});
  const Result observer = RunWords(kTable, {"--format", "csv", "--eye", "40", "--temperature",
                                            "-30", "--horizon", valley});
  ASSERT_EQ(plain.status, kDone) << plain.err;
  ASSERT_EQ(observer.status, kDone) << observer.err;
  std::string expectedPlain = TableCsvHeader(), expectedObserver =
                                                    TableCsvHeader(TableColumnList(true));
  Observer o;
  o.elevationM = o.eyeM = 40;
  o.temperatureC = -30;
  const ObserverHorizon horizon(o, *ParseHorizonProfile("0 0\n60 8\n120 8\n180 0\n240 8\n300 8\n").profile);
  for (int day = 19; day <= 21; ++day) {
    const Site site{47 * 3.14159265358979323846 / 180, 28.85 / 15, 2};
    const CivilDate date{2024, 3, day};
    expectedPlain += TableCsvRow(date, FindDayEvents(ClassicSunDay(site, date), {},
                                                     DayEventSet::Twilights));
    expectedObserver += TableCsvRow(
        date, FindObserverDayEvents(Theory::Classic, site, date, horizon, {}, DayEventSet::Twilights),
        TableColumnList(true));
  }
  EXPECT_EQ(plain.out, expectedPlain);
  EXPECT_EQ(observer.out, expectedObserver);
  EXPECT_EQ(observer.out.substr(0, observer.out.find('\n')),
            "date,sunrise,sunset,culmination,day_length,direct_sun,civil_dawn,civil_dusk,"
            "nautical_dawn,nautical_dusk,astronomical_dawn,astronomical_dusk,culmination_altitude");

  // The JSON's rows hold the same time in seconds; text has the column.
  const Result json = RunWords(kTable, {"--eye", "40", "--format", "json"});
  ASSERT_EQ(json.status, kDone) << json.err;
  const nlohmann::json t = nlohmann::json::parse(json.out);
  EXPECT_EQ(t["site"]["observer"]["eye_m"], 40);
  EXPECT_EQ(t["days"][1]["direct_sun_s"], t["days"][1]["day_length_s"]); // a flat horizon
  const Result text = RunWords(kTable, {"--eye", "40", "--format", "text"});
  EXPECT_NE(text.out.find("day       direct    civil"), std::string::npos) << text.out;
}

TEST(CliObserver, DayAndNowReportTheObserverAndSeaLevel) {
  const Result plain = RunWords(kDay, {"--format", "json"});
  const Result seen = RunWords(kDay, {"--format", "json", "--elevation", "1000", "--eye", "800"});
  ASSERT_EQ(seen.status, kDone) << seen.err;
  const nlohmann::json p = nlohmann::json::parse(plain.out), d = nlohmann::json::parse(seen.out);
  for (const char *key : {"visible", "direct_sun_s", "sea_level"}) EXPECT_FALSE(p.contains(key)) << key;
  EXPECT_FALSE(p["site"].contains("observer"));
  // The default pressure is the standard atmosphere's at the plain, 200 m:
  // 1010 (1 - 2.25577e-5 * 200)^5.25588 = 986.28 hPa.
  const nlohmann::json &observer = d["site"]["observer"];
  EXPECT_NEAR(observer["pressure_hpa"].get<double>(), 986.28, 0.005);
  EXPECT_EQ(observer["temperature_c"], 10);
  EXPECT_TRUE(observer["horizon"].is_null());
  EXPECT_EQ(d["sea_level"]["sunrise"], p["events"]["sunrise"]);
  EXPECT_EQ(d["sea_level"]["sunset"], p["events"]["sunset"]);
  ASSERT_EQ(d["visible"].size(), 1u);
  EXPECT_EQ(d["visible"][0]["rising"], d["events"]["sunrise"]);
  EXPECT_LT(d["events"]["sunrise"].get<std::string>(), p["events"]["sunrise"].get<std::string>());
  EXPECT_EQ(d["direct_sun_s"], d["day_length_s"]);
  EXPECT_EQ(d["events"]["civil_dawn"], p["events"]["civil_dawn"]);

  // `now`: the apparent altitude in the observer's air beside the window's.
  const std::vector<std::string> now = {"now", "--lat", "47", "--lon", "28.85", "--tz", "2",
                                        "--at", "2024-03-20T07:00", "--format", "json"};
  const nlohmann::json a = nlohmann::json::parse(RunWords(now).out);
  const nlohmann::json b = nlohmann::json::parse(
      RunWords(now, {"--temperature", "-30", "--pressure", "1030"}).out);
  EXPECT_FALSE(a["values"].contains("altitude_apparent_observer_deg"));
  EXPECT_EQ(a["texts"], b["texts"]);
  const double trueDeg = b["values"]["altitude_true_deg"];
  const double apparentDeg = b["values"]["altitude_apparent_observer_deg"];
  Observer frost;
  frost.pressureHpa = 1030;
  frost.temperatureC = -30;
  EXPECT_NEAR(apparentDeg - ScaledRefractionDeg(apparentDeg, frost), trueDeg, 1e-9);
}

} // namespace
} // namespace ostrel::cli
