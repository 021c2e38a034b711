// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel-cli as a script sees it: statuses, the one-line refusals, and
// output that a JSON parser and a CSV reader take.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/day/day_events.h"
#include "core/day/day_table.h"
#include "core/moon/moon_day.h"
#include "core/moon/moon_place.h"
#include "core/run/ephemeris.h"
#include "core/sun/precise_sun.h"
#include "core/run/typed_input.h"

namespace ostrel::cli {
namespace {

struct Result {
  int status;
  std::string out, err;
};

// 2026-06-21 22:30:00 UTC.
std::chrono::system_clock::time_point FixedInstant() {
  using namespace std::chrono;
  return sys_days{year{2026} / 6 / 21} + hours{22} + minutes{30};
}

Result RunWords(const std::vector<std::string> &words) {
  std::ostringstream out, err;
  const int status = Run(words, out, err, FixedInstant);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Split(const std::string &text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, separator)) parts.push_back(part);
  return parts;
}

const std::vector<std::string> kSite = {"--lat", "47", "--lon", "28.85", "--tz", "3"};

std::vector<std::string> With(std::vector<std::string> words, const std::vector<std::string> &more) {
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

// Every refusal: status 2, one line on stderr naming the option and the
// value, nothing on stdout.
TEST(Cli, BadInputIsRefusedInOneLine) {
  const std::vector<std::string> day = With({"day"}, kSite);
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> named; // what the line must name
  } cases[] = {
      {{"day", "--lat", "95", "--lon", "0", "--tz", "0"}, {"--lat", "95", "-90 to 90"}},
      {{"day", "--lat", "abc", "--lon", "0", "--tz", "0"}, {"--lat", "abc"}},
      {{"day", "--lat", "nan", "--lon", "0", "--tz", "0"}, {"--lat", "nan"}},
      {{"day", "--lat", "1", "--lon", "inf", "--tz", "0"}, {"--lon", "inf"}},
      {{"day", "--lat", "1", "--lon", "200", "--tz", "0"}, {"--lon", "200", "-180 to 180"}},
      {{"day", "--lat", "1", "--lon", "2", "--tz", "15"}, {"--tz", "15", "-12 to 14"}},
      {{"day", "--lat", "1", "--lon", "2", "--tz", "-12.5"}, {"--tz", "-12.5"}},
      {{"day", "--lat", "-33:52.2S", "--lon", "2", "--tz", "0"}, {"--lat", "-33:52.2S"}},
      {{"day", "--lat", "33:60", "--lon", "2", "--tz", "0"}, {"--lat", "33:60"}},
      {{"day", "--lat", "90:0.5N", "--lon", "2", "--tz", "0"}, {"--lat", "90:0.5N"}},
      {{"day", "--lat", "10:5E", "--lon", "2", "--tz", "0"}, {"--lat", "10:5E"}},
      {With(day, {"--date", "2101-01-01"}), {"--date", "2101-01-01", "1700-01-01"}},
      {With(day, {"--date", "1699-12-31"}), {"--date", "1699-12-31"}},
      {With(day, {"--date", "2026-02-30"}), {"--date", "2026-02-30"}},
      {With(day, {"--date", "2100-02-29"}), {"--date", "2100-02-29"}},
      {With(day, {"--altitude", "91"}), {"--altitude", "91", "-90 to 90"}},
      {With(With({"now"}, kSite), {"--at", "2026-01-01T25:00"}), {"--at", "25:00"}},
      {With(With({"now"}, kSite), {"--at", "25:00"}), {"--at", "25:00"}},
      {With(With({"now"}, kSite), {"--azimuth", "east"}), {"--azimuth", "east"}},
      {With(With({"path"}, kSite), {"--step", "0"}), {"--step", "0", "1 to 1440"}},
      {With(With({"path"}, kSite), {"--step", "1441"}), {"--step", "1441"}},
      {With(With({"table"}, kSite), {"--from", "2026-02-01", "--to", "2026-01-01"}),
       {"--from", "2026-02-01", "--to", "2026-01-01"}},
      {With(With({"table"}, kSite), {"--from", "2026-02-01"}), {"--to", "missing"}},
      {With(day, {"--foo"}), {"--foo", "day"}},
      {With(day, {"--step", "5"}), {"--step", "day"}},
      {With(day, {"--format", "xml"}), {"--format", "xml"}},
      {With(day, {"--theory", "exact"}), {"--theory", "exact", "classic or precise"}},
      {{"day", "--lat", "1", "--lon", "2"}, {"--tz", "missing"}},
      {{"bogus"}, {"bogus", "now, day, table, path"}},
      {{}, {"command"}},
      {With(day, {"--date", "2026-01-01\nsecond line"}), {"--date"}},
      // An empty value, as a script's unset variable gives it, is not a
      // value left out.
      {With(day, {"--date", ""}), {"--date", "empty"}},
      {With(day, {"--date="}), {"--date", "empty"}},
      {With(With({"now"}, kSite), {"--at", ""}), {"--at", "empty"}},
      {With(With({"path"}, kSite), {"--step", ""}), {"--step", "empty"}},
      {{"day", "--lat", "", "--lon", "0", "--tz", "0"}, {"--lat", "empty"}},
      {{"day", "--lat=", "--lon", "0", "--tz", "0"}, {"--lat", "empty"}},
      {{"day", "--lat", "1", "--lon", "2", "--tz", ""}, {"--tz", "empty"}},
      {With(day, {"--place", ""}), {"--place", "empty"}},
      {With(day, {"--format", ""}), {"--format", "empty"}},
      {{"places", "berlin", "--format="}, {"--format", "empty"}},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(c.words);
    const std::string words = c.words.empty() ? "(none)" : c.words.back();
    EXPECT_EQ(r.status, kBadInput) << words;
    EXPECT_EQ(r.out, "") << words;
    ASSERT_FALSE(r.err.empty()) << words;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    for (const std::string &name : c.named)
      EXPECT_NE(r.err.find(name), std::string::npos) << r.err << " lacks " << name;
  }
}

TEST(Cli, HelpAndVersion) {
  for (const auto &words : std::vector<std::vector<std::string>>{
           {"--help"}, {"-h"}, {"day", "--help"}, {"day", "--help", ""}, {"--version"}}) {
    const Result r = RunWords(words);
    EXPECT_EQ(r.status, kDone) << words[0];
    EXPECT_EQ(r.err, "") << words[0];
    EXPECT_NE(r.out.find("ostrel-cli"), std::string::npos) << words[0];
  }
}

// The site's date comes from the clock in the site's zone: 22:30 UTC is
// already the next day at +3 and still the same day at -12.
TEST(Cli, DefaultDateIsTodayAtTheSite) {
  const struct {
    const char *zone;
    const char *date;
  } cases[] = {{"3", "2026-06-22"}, {"-12", "2026-06-21"}, {"1.5", "2026-06-22"},
               {"0", "2026-06-21"}, {"14", "2026-06-22"}};
  for (const auto &c : cases) {
    const Result r = RunWords({"day", "--lat", "10", "--lon", "0", "--tz", c.zone, "--format", "json"});
    ASSERT_EQ(r.status, kDone) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["date"], c.date) << "zone " << c.zone;
  }
  const Result now = RunWords({"now", "--lat", "10", "--lon", "0", "--tz", "-3.5", "--format", "json"});
  ASSERT_EQ(now.status, kDone) << now.err;
  EXPECT_EQ(nlohmann::json::parse(now.out)["moment"], "2026-06-21T19:00:00-03:30");
}

TEST(Cli, DayJsonReadsAndAgreesWithTheTable) {
  const Result day = RunWords(With(With({"day"}, kSite), {"--date", "2026-06-21", "--format", "json",
                                                          "--altitude", "30", "--altitude", "80"}));
  ASSERT_EQ(day.status, kDone) << day.err;
  const nlohmann::json d = nlohmann::json::parse(day.out);
  EXPECT_EQ(d["theory"], "classic");
  EXPECT_EQ(d["date"], "2026-06-21");
  EXPECT_TRUE(d["polar"].is_null());
  const std::regex moment(R"(2026-06-2[01]T\d\d:\d\d:\d\d\+03:00)");
  for (const char *key : {"sunrise", "sunset", "culmination", "civil_dawn", "civil_dusk",
                          "nautical_dawn", "nautical_dusk", "astronomical_dawn"}) {
    ASSERT_TRUE(d["events"][key].is_string()) << key;
    EXPECT_TRUE(std::regex_match(d["events"][key].get<std::string>(), moment)) << key;
  }
  for (const char *key : {"morning_golden_hour", "evening_golden_hour", "morning_blue_hour",
                          "evening_blue_hour"}) {
    ASSERT_EQ(d["events"][key].size(), 2u) << key;
  }
  // The blue hour ends where the golden hour begins (-4 degrees).
  EXPECT_EQ(d["events"]["morning_blue_hour"][1], d["events"]["morning_golden_hour"][0]);
  EXPECT_EQ(d["events"]["evening_golden_hour"][1], d["events"]["evening_blue_hour"][0]);
  ASSERT_EQ(d["altitudes"].size(), 2u);
  EXPECT_TRUE(d["altitudes"][0]["rising"].is_string());
  EXPECT_TRUE(d["altitudes"][1]["rising"].is_null());
  EXPECT_EQ(d["altitudes"][1]["absent"]["rising"], "below");
  // Day length: sunset minus sunrise.
  const auto seconds = [](const nlohmann::json &text) {
    const std::string s = text.get<std::string>();
    return std::stoi(s.substr(11, 2)) * 3600 + std::stoi(s.substr(14, 2)) * 60 +
           std::stoi(s.substr(17, 2));
  };
  EXPECT_EQ(d["day_length_s"], seconds(d["events"]["sunset"]) - seconds(d["events"]["sunrise"]));

  const Result table = RunWords(With(With({"table"}, kSite),
                                     {"--from", "2026-06-20", "--to", "2026-06-22", "--format", "csv"}));
  ASSERT_EQ(table.status, kDone) << table.err;
  const std::vector<std::string> lines = Split(table.out, '\n');
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "date,sunrise,sunset,culmination,day_length,civil_dawn,civil_dusk,"
                      "nautical_dawn,nautical_dusk,astronomical_dawn,astronomical_dusk,"
                      "culmination_altitude");
  const std::vector<std::string> row = Split(lines[2], ',');
  ASSERT_EQ(row.size(), 12u) << lines[2];
  EXPECT_EQ(row[0], "2026-06-21");
  EXPECT_EQ(row[1], d["events"]["sunrise"].get<std::string>().substr(11, 8));
  EXPECT_EQ(row[2], d["events"]["sunset"].get<std::string>().substr(11, 8));
  EXPECT_EQ(row[3], d["events"]["culmination"].get<std::string>().substr(11, 8));
  EXPECT_EQ(row[9], d["events"]["astronomical_dawn"].get<std::string>().substr(11, 8));
  EXPECT_NEAR(std::stod(row[11]), d["culmination_altitude_deg"].get<double>(), 1e-4);
}

// `--theory precise` reaches every command: the texts of `now` are the
// precise run's, its values the precise place, and `day` and `table` the
// precise day's events, which differ from the classic ones by seconds.
TEST(Cli, PreciseTheoryReachesEveryCommand) {
  const Site site{LatitudeRadians(47, 0, false), LongitudeHours(28.85, 0, false), 3};
  const CivilDate date{2026, 6, 21};
  const auto run = [](std::vector<std::string> words, const char *theory) {
    const Result r = RunWords(With(With(words, kSite), {"--format", "json", "--theory", theory}));
    EXPECT_EQ(r.status, kDone) << r.err;
    return nlohmann::json::parse(r.out);
  };

  const nlohmann::json now = run({"now", "--at", "2026-06-21T14:30"}, "precise");
  EXPECT_EQ(now["theory"], "precise");
  Ephemeris precise;
  precise.theory = Theory::Precise;
  SetSite(precise.state, site.LongHours, site.LatRad, site.Timezon);
  SetTypedMoment(precise.state, 2026, 6, 21, 14, 30, 0);
  precise.MAINCALC();
  for (const auto &[name, text] : SunReport::Labels) EXPECT_EQ(now["texts"][name], precise.report.*text) << name;
  const SunPlace exact = PrecisePlaceAt(site, now["values"]["julian_date"].get<double>());
  EXPECT_NEAR(now["values"]["right_ascension_h"].get<double>(), exact.rightAscensionHours, 1e-7);
  EXPECT_NEAR(now["values"]["declination_deg"].get<double>(), exact.declinationDeg, 1e-6);
  EXPECT_NEAR(now["values"]["altitude_true_deg"].get<double>(), exact.altitudeDeg, 1e-6);
  EXPECT_NEAR(now["values"]["distance_au"].get<double>(), exact.distanceAU, 1e-9);
  const nlohmann::json classicNow = run({"now", "--at", "2026-06-21T14:30"}, "classic");
  EXPECT_NE(now["texts"]["LongSun"], classicNow["texts"]["LongSun"]);

  const PreciseSunDay day(site, date);
  const DayEvents events = FindDayEvents(day);
  const nlohmann::json d = run({"day", "--date", "2026-06-21"}, "precise");
  EXPECT_EQ(d["theory"], "precise");
  EXPECT_EQ(d["events"]["sunrise"].get<std::string>().substr(11, 8), ClockText(events.sunrise.seconds));
  EXPECT_EQ(d["events"]["civil_dusk"].get<std::string>().substr(11, 8), ClockText(events.civilDusk.seconds));
  EXPECT_NE(d["events"]["sunrise"], run({"day", "--date", "2026-06-21"}, "classic")["events"]["sunrise"]);

  const Result table = RunWords(With(With({"table"}, kSite), {"--from", "2026-06-21", "--to", "2026-06-21",
                                                              "--format", "csv", "--theory", "precise"}));
  ASSERT_EQ(table.status, kDone) << table.err;
  EXPECT_EQ(table.out, TableCsvHeader() + TableCsvRow(date, FindDayEvents(day, {}, DayEventSet::Twilights)));
}

// A polar day: null moments, a day length of a whole day, and the reason.
TEST(Cli, PolarDayInEveryFormat) {
  const std::vector<std::string> tromso = {"--lat", "69:39N", "--lon", "18:57E", "--tz", "2",
                                           "--date", "2026-06-21"};
  const Result json = RunWords(With(With({"day"}, tromso), {"--format", "json"}));
  ASSERT_EQ(json.status, kDone) << json.err;
  const nlohmann::json d = nlohmann::json::parse(json.out);
  EXPECT_EQ(d["polar"], "day");
  EXPECT_TRUE(d["events"]["sunrise"].is_null());
  EXPECT_EQ(d["absent"]["sunrise"], "above");
  EXPECT_EQ(d["day_length_s"], 86400);
  const Result csv = RunWords(With(With({"day"}, tromso), {"--format", "csv"}));
  EXPECT_NE(csv.out.find("\nsunrise,,-0.8"), std::string::npos) << csv.out;
  EXPECT_NE(csv.out.find("\nday_length,24:00:00,"), std::string::npos) << csv.out;
  const Result text = RunWords(With({"day"}, tromso));
  EXPECT_NE(text.out.find("Polar day"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("stays above"), std::string::npos) << text.out;
}

TEST(Cli, PathCoversTheDayAtItsStep) {
  const struct {
    const char *step;
    std::size_t rows;
    const char *last;
  } cases[] = {{"10", 145, "24:00"}, {"60", 25, "24:00"}, {"7", 206, "23:55"}, {"1440", 2, "24:00"}};
  for (const auto &c : cases) {
    const Result r = RunWords(With(With({"path"}, kSite),
                                   {"--date", "2026-03-20", "--step", c.step, "--format", "csv"}));
    ASSERT_EQ(r.status, kDone) << r.err;
    const std::vector<std::string> lines = Split(r.out, '\n');
    ASSERT_EQ(lines.size(), c.rows + 1) << c.step;
    EXPECT_EQ(lines[0], "time,altitude_true,altitude_apparent,azimuth,shadow_ratio,shadow_azimuth");
    EXPECT_EQ(lines[1].substr(0, 6), "00:00,");
    EXPECT_EQ(Split(lines.back(), ',')[0], c.last) << c.step;
  }
  const Result json = RunWords(With(With({"path"}, kSite), {"--date", "2026-03-20", "--format", "json"}));
  const nlohmann::json p = nlohmann::json::parse(json.out);
  ASSERT_EQ(p["points"].size(), 145u);
  // Near noon the Sun stands high in the south, at midnight low in the north.
  const nlohmann::json &noon = p["points"][78]; // 13:00
  EXPECT_NEAR(noon["azimuth_deg"].get<double>(), 180, 15);
  EXPECT_NEAR(noon["altitude_true_deg"].get<double>(), 43, 1.5);
  EXPECT_GT(noon["altitude_apparent_deg"].get<double>(), noon["altitude_true_deg"].get<double>());
}

// The table of the whole range has one row a date.
TEST(Cli, TableOfTheWholeRange) {
  const Result r = RunWords(With(With({"table"}, kSite), {"--from", "1700-01-01", "--to", "2100-12-31",
                                                          "--format", "csv"}));
  ASSERT_EQ(r.status, kDone);
  std::size_t lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 146462u + 1);
}

// Output that the stream does not take ends the run with status 1.
TEST(Cli, OutputThatCannotBeWrittenIsNotSuccess) {
  std::ostringstream out, err;
  out.setstate(std::ios::badbit);
  EXPECT_EQ(cli::Run(With(With({"table"}, kSite), {"--from", "2026-01-01", "--to", "2026-12-31"}), out,
                err, FixedInstant),
            kNotWritten);
  out.clear();
  out.setstate(std::ios::badbit);
  EXPECT_EQ(cli::Run(With({"day"}, kSite), out, err, FixedInstant), kNotWritten);
}

// The program itself, writing to a full disk and to a pipe closed early.
TEST(Cli, ProgramReportsAFailedWrite) {
  const std::string program = OSTREL_CLI_PATH;
  const std::string errFile = ::testing::TempDir() + "ostrel_cli_err.txt";
  const struct {
    const char *what;
    std::string command;
  } cases[] = {
      {"full disk", program + " day --lat 1 --lon 2 --tz 0 >/dev/full 2>" + errFile +
                        "; echo $? >" + errFile + ".status"},
      {"closed pipe",
       "(" + program + " table --lat 1 --lon 2 --tz 0 --from 1700-01-01 --to 2100-12-31 2>" +
           errFile + "; echo $? >" + errFile + ".status) | head -c 10 >/dev/null"},
  };
  for (const auto &c : cases) {
    ASSERT_EQ(std::system(c.command.c_str()), 0) << c.what;
    std::ifstream status(errFile + ".status"), message(errFile);
    int code = -1;
    status >> code;
    std::string line;
    std::getline(message, line);
    EXPECT_EQ(code, kNotWritten) << c.what;
    EXPECT_NE(line.find("could not be written"), std::string::npos) << c.what << ": " << line;
  }
}

} // namespace
} // namespace ostrel::cli

namespace ostrel::cli {
namespace {

// `places`: names in any case and without accents, other names, namesakes
// by population with the country qualifier, and the offset in force at the
// clock's instant (2026-06-21 22:30 UTC: summer in the north).
TEST(CliPlaces, ListsTheTownsANameMayMean) {
  const struct {
    const char *query;
    const char *name, *country, *zone;
    double offset;
  } cases[] = {
      {"kyiv", "Kyiv", "UA", "Europe/Kyiv", 3},
      {"KIEV", "Kyiv", "UA", "Europe/Kyiv", 3},
      {"zurich", "Zürich", "CH", "Europe/Zurich", 2},
      {"sao paulo", "São Paulo", "BR", "America/Sao_Paulo", -3},
      {"kathmandu", "Kathmandu", "NP", "Asia/Kathmandu", 5.75},
      {"sydney", "Sydney", "AU", "Australia/Sydney", 10},
      {"london, ca", "London", "CA", "America/Toronto", -4},
  };
  for (const auto &c : cases) {
    const Result r = RunWords({"places", c.query, "--format", "json"});
    ASSERT_EQ(r.status, kDone) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["query"], c.query);
    ASSERT_FALSE(j["places"].empty()) << c.query;
    const nlohmann::json &first = j["places"][0];
    EXPECT_EQ(first["name"], c.name) << c.query;
    EXPECT_EQ(first["country"], c.country) << c.query;
    EXPECT_EQ(first["zone"], c.zone) << c.query;
    EXPECT_EQ(first["offset"], c.offset) << c.query;
  }

  // Equal names first, most populous first, then names that begin so.
  const nlohmann::json london = nlohmann::json::parse(RunWords({"places", "london", "--format", "json"}).out);
  ASSERT_GE(london["places"].size(), 3u);
  EXPECT_EQ(london["places"][0]["country"], "GB");
  bool prefixSeen = false;
  long long previous = std::numeric_limits<long long>::max();
  for (const auto &place : london["places"]) {
    const bool equal = place["name"] == "London";
    if (!equal) prefixSeen = true;
    EXPECT_FALSE(equal && prefixSeen) << "an equal name after a longer one";
    if (equal) {
      EXPECT_LE(place["population"].get<long long>(), previous);
      previous = place["population"].get<long long>();
    }
  }
  const nlohmann::json us = nlohmann::json::parse(RunWords({"places", "springfield, US", "--format", "json"}).out);
  ASSERT_GE(us["places"].size(), 3u);
  for (const auto &place : us["places"]) EXPECT_EQ(place["country"], "US");

  const Result none = RunWords({"places", "xyzzyq", "--format", "json"});
  EXPECT_EQ(none.status, kDone);
  EXPECT_TRUE(nlohmann::json::parse(none.out)["places"].empty());
  EXPECT_EQ(RunWords({"places", "a", "--format", "json"}).out.find("\"places\": []"), std::string::npos);
  EXPECT_LE(nlohmann::json::parse(RunWords({"places", "sa", "--format", "json"}).out)["places"].size(), 20u);
}

// --place: the town's coordinates and the offset of its zone at noon of the
// date (day), at the moment (now) and of each date (table), summer time
// included on both sides of a change; an explicit --tz wins.
TEST(CliPlaces, PlaceGivesCoordinatesAndTheOffsetOfEachDate) {
  const struct {
    std::vector<std::string> words;
    double timezone;
  } cases[] = {
      {{"day", "--place", "Berlin", "--date", "2026-03-28"}, 1},
      {{"day", "--place", "Berlin", "--date", "2026-03-29"}, 2},
      {{"day", "--place", "Sydney", "--date", "2026-04-04"}, 11},
      {{"day", "--place", "Sydney", "--date", "2026-04-05"}, 10},
      {{"day", "--place", "Tokyo", "--date", "2026-07-01"}, 9},
      {{"day", "--place", "Kolkata", "--date", "2026-07-01"}, 5.5},
      {{"day", "--place", "Auckland", "--date", "2026-01-15"}, 13},
      {{"day", "--place", "Berlin", "--date", "2026-07-01", "--tz", "0"}, 0},
      {{"now", "--place", "Berlin", "--at", "2026-10-25T01:30"}, 2},
      {{"now", "--place", "Berlin", "--at", "2026-10-25T04:00"}, 1},
      {{"now", "--place", "Berlin"}, 2},
      {{"path", "--place", "Los Angeles", "--date", "2026-12-01"}, -8},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(With(c.words, {"--format", "json"}));
    ASSERT_EQ(r.status, kDone) << r.err;
    const nlohmann::json site = nlohmann::json::parse(r.out)["site"];
    EXPECT_EQ(site["timezone"], c.timezone) << c.words[2] << " " << c.words.back();
    EXPECT_EQ(site["place"]["name"], c.words[2]);
  }
  // now without --at: the clock's instant in the town's zone.
  const nlohmann::json now = nlohmann::json::parse(RunWords({"now", "--place", "Berlin", "--format", "json"}).out);
  EXPECT_EQ(now["moment"], "2026-06-22T00:30:00+02:00");
  EXPECT_NEAR(now["site"]["latitude"].get<double>(), 52.52, 0.01);
  EXPECT_NEAR(now["site"]["longitude"].get<double>(), 13.40, 0.02);

  // A table across the night the clocks go forward: each row its own offset.
  const Result table = RunWords({"table", "--place", "Berlin", "--from", "2026-03-28", "--to",
                                 "2026-03-29", "--format", "json"});
  ASSERT_EQ(table.status, kDone) << table.err;
  const nlohmann::json days = nlohmann::json::parse(table.out)["days"];
  ASSERT_EQ(days.size(), 2u);
  EXPECT_NE(days[0]["sunrise"].get<std::string>().find("+01:00"), std::string::npos);
  EXPECT_NE(days[1]["sunrise"].get<std::string>().find("+02:00"), std::string::npos);
}

TEST(CliPlaces, UnknownOrDoubleSiteIsRefused) {
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> named;
  } cases[] = {
      {{"day", "--place", "Zurch"}, {"--place", "Zurch", "Zürich"}},
      {{"day", "--place", "Qqqqqqqqqq"}, {"--place", "Qqqqqqqqqq"}},
      {{"day", "--place", "Berlin", "--lat", "1"}, {"--place", "--lat"}},
      {{"day", "--lat", "1", "--lon", "2"}, {"--tz", "missing", "--place"}},
      {{"places", "berlin", "--format", "csv"}, {"--format", "csv"}},
      {{"places"}, {"query"}},
      {{"places", "K\xffiv"}, {"QUERY", "UTF-8"}},
      // "/" in two bytes (an overlong form), a lone surrogate, U+110000.
      {{"places", "Ki\xc0\xafv"}, {"QUERY", "UTF-8"}},
      {{"places", "Ki\xed\xa0\x80v"}, {"QUERY", "UTF-8"}},
      {{"places", "Ki\xf4\x90\x80\x80v"}, {"QUERY", "UTF-8"}},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(c.words);
    EXPECT_EQ(r.status, kBadInput) << c.words.back();
    EXPECT_EQ(r.out, "");
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    for (const std::string &name : c.named)
      EXPECT_NE(r.err.find(name), std::string::npos) << r.err << " lacks " << name;
  }
}

} // namespace
} // namespace ostrel::cli

namespace ostrel::cli {
namespace {

// ---- The Moon on the command line ----------------------------------------

// The site of the Naval Observatory's rows below: 29 N 81 W.
const std::vector<std::string> kFlorida = {"--lat", "29", "--lon", "-81"};

// A number as the CSV writes it, to 6 decimals.
std::string Fixed6(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

// Seconds of the day of a local ISO 8601 moment "YYYY-MM-DDTHH:MM:SS+hh:mm".
int SecondsOfMoment(const std::string &moment) {
  return std::stoi(moment.substr(11, 2)) * 3600 + std::stoi(moment.substr(14, 2)) * 60 +
         std::stoi(moment.substr(17, 2));
}

TEST(CliMoon, BadInputIsRefusedInOneLine) {
  const std::vector<std::string> moonDay = With(With({"day"}, kSite), {"--body", "moon"});
  const std::vector<std::string> phases = {"phases", "--from", "2026-01-01", "--to", "2026-01-31"};
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> named; // what the line must name
  } cases[] = {
      // The Moon has one theory.
      {With(moonDay, {"--theory", "classic"}), {"--theory", "classic", "precise"}},
      {With(With({"now"}, kSite), {"--theory", "classic", "--body", "moon"}),
       {"--theory", "classic", "precise"}},
      {With(With({"table"}, kSite), {"--body", "moon", "--theory", "classic", "--from", "2026-01-01",
                                     "--to", "2026-01-02"}),
       {"--theory", "classic"}},
      {With(moonDay, {"--theory", "exact"}), {"--theory", "exact", "precise"}},
      {With(moonDay, {"--theory", ""}), {"--theory", "empty"}},
      {With(With({"day"}, kSite), {"--body", ""}), {"--body", "empty", "sun or moon"}},
      {With(With({"path"}, kSite), {"--body="}), {"--body", "empty"}},
      {With(With({"now"}, kSite), {"--body", "mars"}), {"--body", "mars", "sun or moon"}},
      {With(With({"now"}, kSite), {"--body", "Moon"}), {"--body", "Moon"}},
      {With(With({"now"}, kSite), {"--body", "moon", "--azimuth", "south"}), {"--azimuth", "south"}},
      {{"places", "berlin", "--body", "moon"}, {"--body", "places"}},
      // phases
      {{"phases", "--from", "2026-02-01", "--to", "2026-01-31"}, {"--from", "2026-02-01", "--to"}},
      {{"phases", "--from", "1699-12-31", "--to", "1700-01-02"}, {"--from", "1699-12-31", "1700-01-01"}},
      {{"phases", "--from", "2100-12-01", "--to", "2101-01-01"}, {"--to", "2101-01-01"}},
      {{"phases", "--from", "2026-02-30", "--to", "2026-03-01"}, {"--from", "2026-02-30"}},
      {{"phases", "--from", "2026-01-01"}, {"--to", "missing"}},
      {{"phases", "--to", "2026-01-01"}, {"--from", "missing"}},
      {With(phases, {"--tz", "3", "--place", "Berlin"}), {"--place", "--tz"}},
      {With(phases, {"--tz", "15"}), {"--tz", "15", "-12 to 14"}},
      {With(phases, {"--place", "Zurch"}), {"--place", "Zurch", "Zürich"}},
      {With(phases, {"--format", "xml"}), {"--format", "xml"}},
      {With(phases, {"--body", "moon"}), {"--body", "phases"}},
      {With(phases, {"--lat", "1"}), {"--lat", "phases"}},
      {{"phases", "--from", "", "--to", "2026-01-31"}, {"--from", "empty"}},
      {With(phases, {"--tz="}), {"--tz", "empty"}},
      {With(phases, {"--place", ""}), {"--place", "empty"}},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(c.words);
    std::string words;
    for (const std::string &word : c.words) words += word + " ";
    EXPECT_EQ(r.status, kBadInput) << words;
    EXPECT_EQ(r.out, "") << words;
    ASSERT_FALSE(r.err.empty()) << words;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    for (const std::string &name : c.named)
      EXPECT_NE(r.err.find(name), std::string::npos) << r.err << " lacks " << name;
  }
}

// Every key the Moon's `now` and `day` promise, with its JSON type.
TEST(CliMoon, JsonKeysAndTypes) {
  enum class Type { Number, String, Null, Object, Array };
  const std::vector<std::string> now =
      With(With({"now"}, kSite), {"--at", "2026-06-21T14:30", "--body", "moon", "--format", "json"});
  // 2019-07-16 at 29 N 81 W, UT: no moonrise (the USNO row below).
  const std::vector<std::string> day = With(With({"day"}, kFlorida),
                                            {"--tz", "0", "--date", "2019-07-16", "--body", "moon",
                                             "--format", "json", "--altitude", "30"});
  const struct {
    const std::vector<std::string> *words;
    std::vector<std::string> path; // keys from the document's top
    Type type;
  } cases[] = {
      {&now, {"body"}, Type::String},
      {&now, {"theory"}, Type::String},
      {&now, {"site", "latitude"}, Type::Number},
      {&now, {"moment"}, Type::String},
      {&now, {"values", "right_ascension_h"}, Type::Number},
      {&now, {"values", "declination_deg"}, Type::Number},
      {&now, {"values", "ecliptic_longitude_deg"}, Type::Number},
      {&now, {"values", "ecliptic_latitude_deg"}, Type::Number},
      {&now, {"values", "distance_km"}, Type::Number},
      {&now, {"values", "topocentric_distance_km"}, Type::Number},
      {&now, {"values", "horizontal_parallax_deg"}, Type::Number},
      {&now, {"values", "semi_diameter_arcmin"}, Type::Number},
      {&now, {"values", "altitude_true_deg"}, Type::Number},
      {&now, {"values", "altitude_apparent_deg"}, Type::Number},
      {&now, {"values", "azimuth_deg"}, Type::Number},
      {&now, {"values", "illuminated_fraction"}, Type::Number},
      {&now, {"values", "phase_angle_deg"}, Type::Number},
      {&now, {"values", "elongation_deg"}, Type::Number},
      {&now, {"values", "age_days"}, Type::Number},
      {&now, {"values", "phase"}, Type::String},
      {&now, {"values", "bright_limb_angle_deg"}, Type::Number},
      {&day, {"body"}, Type::String},
      {&day, {"theory"}, Type::String},
      {&day, {"site"}, Type::Object},
      {&day, {"date"}, Type::String},
      {&day, {"events", "moonrise"}, Type::Null},
      {&day, {"events", "moonset"}, Type::String},
      {&day, {"events", "transit"}, Type::String},
      {&day, {"transit_altitude_deg"}, Type::Number},
      {&day, {"absent", "moonrise"}, Type::String},
      {&day, {"illuminated_fraction"}, Type::Number},
      {&day, {"phase"}, Type::String},
      {&day, {"altitudes"}, Type::Array},
  };
  const auto typeOf = [](const nlohmann::json &j) {
    return j.is_number() ? Type::Number
           : j.is_string() ? Type::String
           : j.is_null()   ? Type::Null
           : j.is_object() ? Type::Object
                           : Type::Array;
  };
  for (const auto &c : cases) {
    const Result r = RunWords(*c.words);
    ASSERT_EQ(r.status, kDone) << r.err;
    const nlohmann::json document = nlohmann::json::parse(r.out);
    const nlohmann::json *j = &document;
    std::string path;
    for (const std::string &key : c.path) {
      path += "/" + key;
      ASSERT_TRUE(j->contains(key)) << (*c.words)[0] << " lacks " << path;
      j = &(*j)[key];
    }
    EXPECT_EQ(typeOf(*j), c.type) << (*c.words)[0] << " " << path;
  }
  // Exactly these keys, in this order; no window texts, which are the Sun's.
  const nlohmann::ordered_json n = nlohmann::ordered_json::parse(RunWords(now).out);
  std::string keys;
  for (const auto &item : n.items()) keys += item.key() + " ";
  EXPECT_EQ(keys, "body theory site moment values ");
  EXPECT_EQ(n["values"].size(), 17u);
  EXPECT_EQ(n["body"], "moon");
  EXPECT_EQ(n["theory"], "precise");
  const nlohmann::ordered_json d = nlohmann::ordered_json::parse(RunWords(day).out);
  keys.clear();
  for (const auto &item : d.items()) keys += item.key() + " ";
  EXPECT_EQ(keys, "body theory site date events transit_altitude_deg absent illuminated_fraction "
                  "phase altitudes ");
  EXPECT_EQ(d["theory"], "precise");
  // --theory precise is accepted and the same as leaving it out.
  EXPECT_EQ(RunWords(With(now, {"--theory", "precise"})).out, RunWords(now).out);
}

// `now --body moon` gives the core's place at the typed moment, unchanged.
TEST(CliMoon, NowReportsTheCoresPlace) {
  const Site site{LatitudeRadians(47, 0, false), LongitudeHours(28.85, 0, false), 3};
  const MoonPlace exact = MoonPlaceAt(site, MoonDay(site, {2026, 6, 21}).JulianDateUt(14.5));
  const nlohmann::json v = nlohmann::json::parse(
      RunWords(With(With({"now"}, kSite), {"--at", "2026-06-21T14:30", "--body", "moon", "--format",
                                           "json"}))
          .out)["values"];
  const struct {
    const char *key;
    double expected;
  } cases[] = {
      {"right_ascension_h", exact.rightAscensionHours},
      {"declination_deg", exact.declinationDeg},
      {"ecliptic_longitude_deg", exact.eclipticLongitudeDeg},
      {"ecliptic_latitude_deg", exact.eclipticLatitudeDeg},
      {"distance_km", exact.geocentricDistanceKm},
      {"topocentric_distance_km", exact.topocentricDistanceKm},
      {"horizontal_parallax_deg", exact.horizontalParallaxDeg},
      {"semi_diameter_arcmin", exact.semiDiameterDeg * 60},
      {"altitude_true_deg", exact.altitudeDeg},
      {"altitude_apparent_deg", exact.apparentAltitudeDeg},
      {"azimuth_deg", exact.azimuthDeg},
      {"illuminated_fraction", exact.illuminatedFraction},
      {"phase_angle_deg", exact.phaseAngleDeg},
      {"elongation_deg", exact.elongationDeg},
      {"age_days", exact.ageDays},
      {"bright_limb_angle_deg", exact.brightLimbAngleDeg},
  };
  for (const auto &c : cases) EXPECT_DOUBLE_EQ(v[c.key].get<double>(), c.expected) << c.key;
  EXPECT_EQ(v["phase"], NamesOf(exact.phase).key);
  // Moments within the Moon's first week: the quarter near 2026-06-21
  // names it, the fraction lies between 0 and 1.
  EXPECT_GE(v["illuminated_fraction"].get<double>(), 0);
  EXPECT_LE(v["illuminated_fraction"].get<double>(), 1);
}

// The Naval Observatory's moonrise and moonset (UT to the minute; the rows
// of tests/core/moon_day_test.cpp) appear in `day --body moon` as local
// times of the zone asked for, within the table's rounding and the model's
// 30 s.
TEST(CliMoon, DayShowsTheNavalObservatorysMoonriseAndMoonset) {
  const struct {
    const char *lat, *lon, *tz, *date;
    const char *offset;
    int riseSeconds, setSeconds; // local, from the table's UT
  } cases[] = {
      // UT 23:39 and 09:23; at UT-4 19:39 and 05:23 of the same date.
      {"29", "-81", "-4", "2019-07-15", "-04:00", (19 * 60 + 39) * 60, (5 * 60 + 23) * 60},
      // UT 21:41 and 08:26.
      {"29", "-81", "-4", "2019-10-10", "-04:00", (17 * 60 + 41) * 60, (4 * 60 + 26) * 60},
      {"29", "-81", "0", "2019-12-14", "+00:00", (0 * 60 + 1) * 60, (14 * 60 + 22) * 60},
      // UT 14:01 and 02:10; at UT+9 23:01 and 11:10.
      {"80", "130", "9", "2034-01-10", "+09:00", (23 * 60 + 1) * 60, (11 * 60 + 10) * 60},
  };
  for (const auto &c : cases) {
    const Result r = RunWords({"day", "--lat", c.lat, "--lon", c.lon, "--tz", c.tz, "--date", c.date,
                               "--body", "moon", "--format", "json"});
    ASSERT_EQ(r.status, kDone) << r.err;
    const nlohmann::json d = nlohmann::json::parse(r.out);
    for (const auto &[key, expected] : {std::pair{"moonrise", c.riseSeconds},
                                        std::pair{"moonset", c.setSeconds}}) {
      ASSERT_TRUE(d["events"][key].is_string()) << c.date << " " << key;
      const std::string moment = d["events"][key];
      EXPECT_EQ(moment.substr(0, 11), std::string(c.date) + "T") << moment;
      EXPECT_EQ(moment.substr(19), c.offset) << moment;
      EXPECT_NEAR(SecondsOfMoment(moment), expected, 60) << c.date << " " << key;
    }
  }
}

// Dates without a moonrise or moonset: null and the reason, in every
// format (USNO: at 29 N 81 W the Moon rises at 23:39 UT on 2019-07-15 and
// next at 00:28 on the 17th; at 80 N 130 E it stays down from January 12
// to 23 of 2034 and up from January 26 to February 5).
TEST(CliMoon, ADateWithoutAnEventSaysWhy) {
  const struct {
    std::vector<std::string> site;
    const char *date;
    const char *key, *reason, *text;
  } cases[] = {
      {With(kFlorida, {"--tz", "0"}), "2019-07-16", "moonrise", "other_date",
       "it falls on the day before or after"},
      {{"--lat", "80", "--lon", "130", "--tz", "0"}, "2034-01-17", "moonrise", "below",
       "the Moon stays below the horizon all day"},
      {{"--lat", "80", "--lon", "130", "--tz", "0"}, "2034-02-01", "moonset", "above",
       "the Moon stays above the horizon all day"},
  };
  for (const auto &c : cases) {
    const std::vector<std::string> words =
        With(With({"day"}, c.site), {"--date", c.date, "--body", "moon", "--format"});
    const nlohmann::json d = nlohmann::json::parse(RunWords(With(words, {"json"})).out);
    EXPECT_TRUE(d["events"][c.key].is_null()) << c.date;
    EXPECT_EQ(d["absent"][c.key], c.reason) << c.date;
    const std::string csv = RunWords(With(words, {"csv"})).out;
    EXPECT_NE(csv.find("\n" + std::string(c.key) + ",,," + c.reason + "\n"), std::string::npos) << csv;
    const std::string text = RunWords(With(words, {"text"})).out;
    EXPECT_NE(text.find(std::string("--:--:--  ") + c.text), std::string::npos) << text;
  }
}

// `phases`: the last quarter of 2030 December 18 00:01 UT (USNO) is 12:01
// of the 18th at UT+12 and 12:01 of the 17th at UT-12; UT by default; a
// town's zone with its summer time (Sydney in December, +11).
TEST(CliMoon, PhasesFallOnTheLocalDate) {
  const struct {
    std::vector<std::string> zone;
    const char *from, *to;
    const char *phase;        // null: none listed
    const char *date, *offset; // of the moment listed
    int seconds;              // local, from the table's UT
  } cases[] = {
      {{"--tz", "12"}, "2030-12-18", "2030-12-18", "last_quarter", "2030-12-18", "+12:00", (12 * 60 + 1) * 60},
      {{"--tz", "12"}, "2030-12-17", "2030-12-17", nullptr, nullptr, nullptr, 0},
      {{"--tz", "-12"}, "2030-12-17", "2030-12-17", "last_quarter", "2030-12-17", "-12:00", (12 * 60 + 1) * 60},
      {{"--tz", "-12"}, "2030-12-18", "2030-12-18", nullptr, nullptr, nullptr, 0},
      {{}, "2030-12-18", "2030-12-18", "last_quarter", "2030-12-18", "+00:00", 60},
      {{}, "2030-12-17", "2030-12-17", nullptr, nullptr, nullptr, 0},
      // First quarter 2020-12-21 23:41 UT; new moon 2020-12-14 16:16 UT.
      {{"--place", "Sydney"}, "2020-12-22", "2020-12-22", "first_quarter", "2020-12-22", "+11:00",
       (10 * 60 + 41) * 60},
      {{"--place", "Berlin"}, "2020-12-14", "2020-12-14", "new_moon", "2020-12-14", "+01:00",
       (17 * 60 + 16) * 60},
      {{"--tz", "5.75"}, "2020-12-30", "2020-12-30", "full_moon", "2020-12-30", "+05:45",
       (9 * 60 + 13) * 60},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(With(With({"phases", "--from", c.from, "--to", c.to}, c.zone),
                                   {"--format", "json"}));
    ASSERT_EQ(r.status, kDone) << r.err;
    const nlohmann::json p = nlohmann::json::parse(r.out);
    EXPECT_EQ(p["from"], c.from);
    EXPECT_EQ(p["to"], c.to);
    const std::string where = std::string(c.from) + (c.zone.empty() ? "" : " " + c.zone[1]);
    if (!c.phase) {
      EXPECT_TRUE(p["phases"].empty()) << where << ": " << r.out;
      continue;
    }
    ASSERT_EQ(p["phases"].size(), 1u) << where << ": " << r.out;
    EXPECT_EQ(p["phases"][0]["phase"], c.phase) << where;
    const std::string moment = p["phases"][0]["moment"];
    EXPECT_EQ(moment.substr(0, 11), std::string(c.date) + "T") << moment;
    EXPECT_EQ(moment.substr(19), c.offset) << moment;
    // The table's rounding (30 s) and eraMoon98's worst error (36 s).
    EXPECT_NEAR(SecondsOfMoment(moment), c.seconds, 66) << where;
  }
}

// A town's offset is that of each instant: Berlin's clocks go forward on
// 2026-03-29 (the last Sunday of March), so the quarters before it are at
// +01:00 and those after at +02:00; the range begins at 00:00 +01:00.
TEST(CliMoon, PhasesTakeEachInstantsOffset) {
  const nlohmann::json p = nlohmann::json::parse(
      RunWords({"phases", "--from", "2026-03-01", "--to", "2026-04-30", "--place", "Berlin", "--format",
                "json"})
          .out);
  ASSERT_GE(p["phases"].size(), 8u);
  for (const auto &phase : p["phases"]) {
    const std::string moment = phase["moment"];
    EXPECT_EQ(moment.substr(19), moment.substr(0, 10) < "2026-03-29" ? "+01:00" : "+02:00") << moment;
  }
}

// The quarters of 2020 in UT: 50 in the USNO table, the first the first
// quarter of January 3 04:45 UT; CSV and text list the same as JSON.
TEST(CliMoon, PhasesOfAYearInEveryFormat) {
  const std::vector<std::string> year = {"phases", "--from", "2020-01-01", "--to", "2020-12-31", "--format"};
  const nlohmann::json p = nlohmann::json::parse(RunWords(With(year, {"json"})).out);
  ASSERT_EQ(p["phases"].size(), 50u);
  EXPECT_EQ(p["phases"][0]["phase"], "first_quarter");
  EXPECT_EQ(p["phases"][0]["moment"].get<std::string>().substr(0, 11), "2020-01-03T");
  EXPECT_NEAR(SecondsOfMoment(p["phases"][0]["moment"]), (4 * 60 + 45) * 60, 66);
  const std::vector<std::string> csv = Split(RunWords(With(year, {"csv"})).out, '\n');
  ASSERT_EQ(csv.size(), 51u);
  EXPECT_EQ(csv[0], "phase,moment");
  const std::vector<std::string> text = Split(RunWords(With(year, {"text"})).out, '\n');
  ASSERT_EQ(text.size(), 52u); // a title and an empty line
  const std::map<std::string, std::string> names = {{"new_moon", "New moon"},
                                                    {"first_quarter", "First quarter"},
                                                    {"full_moon", "Full moon"},
                                                    {"last_quarter", "Last quarter"}};
  for (std::size_t i = 0; i < 50; ++i) {
    const std::string key = p["phases"][i]["phase"], moment = p["phases"][i]["moment"];
    EXPECT_EQ(csv[i + 1], key + "," + moment);
    // "2020-01-03 04:45:xx UTC+00:00  First quarter"
    EXPECT_EQ(text[i + 2], moment.substr(0, 10) + " " + moment.substr(11, 8) + " UTC" +
                               moment.substr(19) + "  " + names.at(key));
  }
}

// The Moon's table: its header, and each row the day's answer of `day`.
TEST(CliMoon, TableAgreesWithTheDay) {
  const std::vector<std::string> site = With(kFlorida, {"--tz", "-4", "--body", "moon"});
  const Result table = RunWords(With(With({"table"}, site),
                                     {"--from", "2019-07-14", "--to", "2019-07-16", "--format", "csv"}));
  ASSERT_EQ(table.status, kDone) << table.err;
  const std::vector<std::string> lines = Split(table.out, '\n');
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "date,moonrise,moonset,transit,transit_altitude,illuminated_fraction,phase");
  const nlohmann::json json = nlohmann::json::parse(RunWords(With(With({"table"}, site),
      {"--from", "2019-07-14", "--to", "2019-07-16", "--format", "json"})).out);
  EXPECT_EQ(json["body"], "moon");
  EXPECT_EQ(json["theory"], "precise");
  ASSERT_EQ(json["days"].size(), 3u);
  const auto clock = [](const nlohmann::json &moment) {
    return moment.is_null() ? std::string() : moment.get<std::string>().substr(11, 8);
  };
  for (int i = 0; i < 3; ++i) {
    const std::vector<std::string> row = Split(lines[i + 1] + ",", ',');
    ASSERT_EQ(row.size(), 7u) << lines[i + 1];
    const nlohmann::json d = nlohmann::json::parse(
        RunWords(With(With({"day"}, site), {"--date", row[0], "--format", "json"})).out);
    EXPECT_EQ(row[1], clock(d["events"]["moonrise"])) << row[0];
    EXPECT_EQ(row[2], clock(d["events"]["moonset"])) << row[0];
    EXPECT_EQ(row[3], clock(d["events"]["transit"])) << row[0];
    if (d["transit_altitude_deg"].is_null()) {
      EXPECT_EQ(row[4], "") << row[0];
    } else {
      EXPECT_NEAR(std::stod(row[4]), d["transit_altitude_deg"].get<double>(), 0.5e-4) << row[0];
    }
    EXPECT_EQ(row[5].size(), 5u) << row[5]; // 0.001
    EXPECT_NEAR(std::stod(row[5]), d["illuminated_fraction"].get<double>(), 0.5e-3) << row[0];
    EXPECT_EQ(row[6], d["phase"]) << row[0];
    const nlohmann::json &day = json["days"][i];
    EXPECT_EQ(day["moonrise"], d["events"]["moonrise"]);
    EXPECT_EQ(day["transit_altitude_deg"], d["transit_altitude_deg"]);
    EXPECT_EQ(day["phase"], d["phase"]);
  }
  // The full moon of 2019-07-16 21:38 UT (USNO) is named at 12:00 of the 16th.
  EXPECT_EQ(Split(lines[3], ',')[6], "full_moon");
  // 2019-07-14 at UT-4 has no transit (it falls just after midnight of the 15th).
  EXPECT_EQ(Split(lines[1], ',')[3], "");
}

// `path --body moon`: the Moon's place through the day, as the core's
// Moon day gives it.
TEST(CliMoon, PathFollowsTheMoon) {
  const Site site{LatitudeRadians(29, 0, false), LongitudeHours(81, 0, true), -4};
  const MoonDay day(site, {2019, 7, 15});
  const nlohmann::json p = nlohmann::json::parse(
      RunWords(With(With({"path"}, kFlorida), {"--tz", "-4", "--date", "2019-07-15", "--step", "360",
                                               "--body", "moon", "--format", "json"}))
          .out);
  EXPECT_EQ(p["body"], "moon");
  ASSERT_EQ(p["points"].size(), 5u);
  for (int i = 0; i < 5; ++i) {
    const SunPlace place = day.PlaceAt(6.0 * i);
    EXPECT_DOUBLE_EQ(p["points"][i]["altitude_true_deg"].get<double>(), place.altitudeDeg) << i;
    EXPECT_DOUBLE_EQ(p["points"][i]["azimuth_deg"].get<double>(), place.azimuthDeg) << i;
  }
}

// The Sun's JSON names its body first, then its theory, in every command.
TEST(CliMoon, SunDocumentsBeginWithTheirBody) {
  const std::vector<std::vector<std::string>> commands = {
      With(With({"now"}, kSite), {"--at", "2026-06-21T14:30"}),
      With(With({"day"}, kSite), {"--date", "2026-06-21"}),
      With(With({"table"}, kSite), {"--from", "2026-06-21", "--to", "2026-06-22"}),
      With(With({"path"}, kSite), {"--date", "2026-06-21"}),
      With(With({"day"}, kSite), {"--date", "2026-06-21", "--body", "sun", "--theory", "precise"}),
  };
  for (const auto &words : commands) {
    const nlohmann::ordered_json j =
        nlohmann::ordered_json::parse(RunWords(With(words, {"--format", "json"})).out);
    auto item = j.items().begin();
    EXPECT_EQ(item.key(), "body") << words[0];
    EXPECT_EQ(item.value(), "sun") << words[0];
    ++item;
    EXPECT_EQ(item.key(), "theory") << words[0];
  }
}

// ---- seasons ------------------------------------------------------------------

TEST(CliSeasons, BadInputIsRefusedInOneLine) {
  const std::vector<std::string> seasons = {"seasons", "--year", "2026"};
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> named; // what the line must name
  } cases[] = {
      {{"seasons", "--year", "1699"}, {"--year", "1699", "1700 to 2100"}},
      {{"seasons", "--year", "2101"}, {"--year", "2101", "1700 to 2100"}},
      {{"seasons", "--year", "-2026"}, {"--year"}},
      {{"seasons", "--year", "2026.5"}, {"--year", "2026.5"}},
      {{"seasons", "--year", "MMXXVI"}, {"--year", "MMXXVI"}},
      {{"seasons", "--year", ""}, {"--year", "empty"}},
      {{"seasons", "--year="}, {"--year", "empty"}},
      {{"seasons"}, {"--year", "missing"}},
      {With(seasons, {"--tz", ""}), {"--tz", "empty"}},
      {With(seasons, {"--tz", "15"}), {"--tz", "15", "-12 to 14"}},
      {With(seasons, {"--place", ""}), {"--place", "empty"}},
      {With(seasons, {"--place", "Zurch"}), {"--place", "Zurch", "Zürich"}},
      {With(seasons, {"--tz", "3", "--place", "Berlin"}), {"--place", "--tz"}},
      {With(seasons, {"--format", "xml"}), {"--format", "xml"}},
      {With(seasons, {"--format", ""}), {"--format", "empty"}},
      // Always the precise theory: --theory is not an option of seasons.
      {With(seasons, {"--theory", "precise"}), {"--theory", "precise theory"}},
      {With(seasons, {"--theory", "classic"}), {"--theory", "precise theory"}},
      {With(seasons, {"--lat", "47"}), {"--lat", "seasons"}},
      {With(seasons, {"--body", "moon"}), {"--body", "seasons"}},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(c.words);
    EXPECT_EQ(r.status, kBadInput) << c.words.back();
    EXPECT_EQ(r.out, "") << c.words.back();
    ASSERT_FALSE(r.err.empty()) << c.words.back();
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    for (const std::string &name : c.named)
      EXPECT_NE(r.err.find(name), std::string::npos) << r.err << " lacks " << name;
  }
}

// The events against the U.S. Naval Observatory's table of the seasons and
// apsides (tests/data/usno-seasons.txt, UT to the minute), each moved to a
// zone by hand: UT by default, --tz, and a town's zone with its summer time
// at each instant (Berlin +01:00 in winter, +02:00 from the last Sunday of
// March to the last of October).  The perihelion of 1851 is the one nearest
// its 3 January: 1850-12-31 21:16 UT.  Tolerance 90 s: the table's rounding
// (30 s) and the largest difference tests/core/seasons_test.cpp measures to
// 2050 (57.5 s).
TEST(CliSeasons, EventsAtTheNavalObservatorysMinuteInTheAskedZone) {
  const struct {
    std::vector<std::string> zone;
    const char *year, *key;
    const char *date, *offset; // of the local moment
    int seconds;               // local, from the table's UT
  } cases[] = {
      {{}, "2026", "march_equinox", "2026-03-20", "+00:00", (14 * 60 + 46) * 60},
      {{}, "2026", "june_solstice", "2026-06-21", "+00:00", (8 * 60 + 24) * 60},
      {{}, "2026", "september_equinox", "2026-09-23", "+00:00", 5 * 60},
      {{}, "2026", "december_solstice", "2026-12-21", "+00:00", (20 * 60 + 50) * 60},
      {{}, "2026", "perihelion", "2026-01-03", "+00:00", (17 * 60 + 15) * 60},
      {{}, "2026", "aphelion", "2026-07-06", "+00:00", (17 * 60 + 30) * 60},
      {{"--place", "Berlin"}, "2026", "march_equinox", "2026-03-20", "+01:00", (15 * 60 + 46) * 60},
      {{"--place", "Berlin"}, "2026", "june_solstice", "2026-06-21", "+02:00", (10 * 60 + 24) * 60},
      {{"--place", "Berlin"}, "2026", "september_equinox", "2026-09-23", "+02:00", (2 * 60 + 5) * 60},
      {{"--place", "Berlin"}, "2026", "december_solstice", "2026-12-21", "+01:00", (21 * 60 + 50) * 60},
      {{"--tz", "-3.5"}, "2026", "september_equinox", "2026-09-22", "-03:30", (20 * 60 + 35) * 60},
      {{"--tz", "-12"}, "2000", "perihelion", "2000-01-02", "-12:00", (17 * 60 + 18) * 60},
      {{"--tz", "14"}, "1900", "december_solstice", "1900-12-22", "+14:00", (20 * 60 + 41) * 60},
      {{}, "1851", "perihelion", "1850-12-31", "+00:00", (21 * 60 + 16) * 60},
      {{"--tz", "5"}, "1851", "perihelion", "1851-01-01", "+05:00", (2 * 60 + 16) * 60},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(With(With({"seasons", "--year", c.year}, c.zone), {"--format", "json"}));
    ASSERT_EQ(r.status, kDone) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    const std::string where = std::string(c.year) + " " + c.key + (c.zone.empty() ? "" : " " + c.zone[1]);
    EXPECT_EQ(j["year"], std::stoi(c.year)) << where;
    const std::string moment = j["events"][c.key];
    EXPECT_EQ(moment.substr(0, 11), std::string(c.date) + "T") << where << ": " << moment;
    EXPECT_EQ(moment.substr(19), c.offset) << where << ": " << moment;
    EXPECT_NEAR(SecondsOfMoment(moment), c.seconds, 90) << where << ": " << moment;
  }
}

// Every format lists the six events in one order, at the same moments; the
// JSON has the keys the documentation names, and the distances lie between
// the Earth's mean perihelion and aphelion distances a(1 -+ e) = 0.9833 and
// 1.0167 AU (Standish's mean orbit) to within 1e-4 AU.
TEST(CliSeasons, EveryFormatListsTheSameEvents) {
  const std::vector<std::string> seasons = {"seasons", "--year", "2026", "--place", "Sydney", "--format"};
  const char *const keys[] = {"march_equinox",     "june_solstice", "september_equinox",
                              "december_solstice", "perihelion",    "aphelion"};
  const char *const captions[] = {"March equinox",     "June solstice", "September equinox",
                                  "December solstice", "Perihelion",    "Aphelion"};
  const Result json = RunWords(With(seasons, {"json"}));
  ASSERT_EQ(json.status, kDone) << json.err;
  const nlohmann::ordered_json j = nlohmann::ordered_json::parse(json.out);
  std::vector<std::string> documentKeys;
  for (const auto &item : j.items()) documentKeys.push_back(item.key());
  EXPECT_EQ(documentKeys, (std::vector<std::string>{"year", "events", "perihelion_au", "aphelion_au"}));
  EXPECT_NEAR(j["perihelion_au"].get<double>(), 0.9833, 1e-4);
  EXPECT_NEAR(j["aphelion_au"].get<double>(), 1.0167, 1e-4);
  ASSERT_EQ(j["events"].size(), 6u);

  const std::vector<std::string> csv = Split(RunWords(With(seasons, {"csv"})).out, '\n');
  const std::vector<std::string> text = Split(RunWords(With(seasons, {"text"})).out, '\n');
  ASSERT_EQ(csv.size(), 7u);
  EXPECT_EQ(csv[0], "event,moment");
  ASSERT_EQ(text.size(), 8u);
  EXPECT_NE(text[0].find("2026"), std::string::npos) << text[0];
  EXPECT_NE(text[0].find("Sydney"), std::string::npos) << text[0];
  for (int i = 0; i < 6; ++i) {
    auto item = j["events"].items().begin();
    std::advance(item, i);
    EXPECT_EQ(item.key(), keys[i]);
    const std::string moment = item.value();
    EXPECT_EQ(csv[i + 1], std::string(keys[i]) + "," + moment);
    // "2026-03-21 01:45:51 UTC+11:00  March equinox": the same moment.
    const std::string expected = moment.substr(0, 10) + " " + moment.substr(11, 8) + " UTC" +
                                 moment.substr(19) + "  " + captions[i];
    EXPECT_EQ(text[i + 2].substr(0, expected.size()), expected);
  }
}


// ---- shadows --------------------------------------------------------------------

// The shadow of a vertical object at the culmination, where the Sun's
// altitude is 90 - |latitude - declination| degrees: on an equinox
// (declination 0) at 45 degrees of latitude the Sun stands at 45 and the
// shadow is as long as the object; on the June solstice (declination
// +23.44) at 50 N at 63.44 = atan 2 and the shadow is half the object; on
// the December solstice (-23.44) at 40 N at 26.56 = atan(1/2), twice the
// object.  It points away from the Sun: north where the Sun culminates in
// the south.  Tolerance 0.01: the declination's change over the day and
// refraction (up to 2', 0.003 of the ratio at 26.56 degrees).
TEST(CliShadow, AtTheCulminationByGeometry) {
  const struct {
    const char *lat, *date;
    double ratio, shadowAzimuthDeg;
  } cases[] = {
      {"45", "2026-03-20", 1, 0},
      {"-45", "2026-03-20", 1, 180},
      {"50", "2026-06-21", 0.5, 0},
      {"40", "2026-12-21", 2, 0},
      {"-40", "2026-06-21", 2, 180},
  };
  for (const auto &c : cases) {
    const std::vector<std::string> site = {"--lat", c.lat, "--lon", "0", "--tz", "0", "--theory", "precise",
                                           "--format", "json"};
    const Result day = RunWords(With(With({"day"}, site), {"--date", c.date}));
    ASSERT_EQ(day.status, kDone) << day.err;
    const std::string culmination = nlohmann::json::parse(day.out)["events"]["culmination"];
    const Result now = RunWords(With(With({"now"}, site), {"--at", culmination.substr(0, 19)}));
    ASSERT_EQ(now.status, kDone) << now.err;
    const nlohmann::json values = nlohmann::json::parse(now.out)["values"];
    const std::string where = std::string(c.lat) + " " + c.date;
    EXPECT_NEAR(values["shadow_ratio"].get<double>(), c.ratio, 0.01) << where;
    const double azimuth = values["shadow_azimuth_deg"].get<double>();
    EXPECT_NEAR(std::fmod(azimuth - c.shadowAzimuthDeg + 540, 360) - 180, 0, 0.5) << where << ": " << azimuth;
  }
}

// Every value of `now` and every point of `path` carries the shadow of its
// own Sun: 1 / tan of the apparent altitude, pointing to the azimuth + 180;
// null (JSON) or empty (CSV) with the Sun at or below the horizon.  The
// Moon's outputs have no shadow.
TEST(CliShadow, NowAndPathGiveTheShadowOfTheirSun) {
  const auto check = [](const nlohmann::json &v, const std::string &where) {
    const double apparent = v["altitude_apparent_deg"], azimuth = v["azimuth_deg"];
    if (apparent <= 0) {
      EXPECT_TRUE(v["shadow_ratio"].is_null()) << where;
      EXPECT_TRUE(v["shadow_azimuth_deg"].is_null()) << where;
      return false;
    }
    // ratio x tan h = 1, relatively: near the horizon the ratio is in the hundreds.
    EXPECT_NEAR(v["shadow_ratio"].get<double>() * std::tan(apparent * 3.14159265358979323846 / 180), 1, 1e-9)
        << where;
    EXPECT_NEAR(v["shadow_azimuth_deg"].get<double>(), std::fmod(azimuth + 180, 360), 1e-9) << where;
    return true;
  };
  const struct {
    const char *at;
    bool above;
  } moments[] = {{"2026-06-21T12:00", true}, {"2026-06-21T23:00", false}, {"2026-12-21T10:00", true},
                 {"2026-12-21T06:00", false}};
  for (const auto &m : moments) {
    const Result r = RunWords(With(With({"now"}, kSite), {"--at", m.at, "--format", "json"}));
    ASSERT_EQ(r.status, kDone) << r.err;
    EXPECT_EQ(check(nlohmann::json::parse(r.out)["values"], m.at), m.above) << m.at;
  }
  const std::vector<std::string> path = With(With({"path"}, kSite), {"--date", "2026-06-21", "--format"});
  int above = 0, below = 0;
  const nlohmann::json points = nlohmann::json::parse(RunWords(With(path, {"json"})).out)["points"];
  ASSERT_EQ(points.size(), 145u);
  for (const auto &point : points) (check(point, point["time"]) ? above : below) += 1;
  EXPECT_GT(above, 0);
  EXPECT_GT(below, 0);
  const std::vector<std::string> csv = Split(RunWords(With(path, {"csv"})).out, '\n');
  ASSERT_EQ(csv.size(), 146u);
  for (std::size_t i = 1; i < csv.size(); ++i) {
    const std::vector<std::string> fields = Split(csv[i] + ",", ',');
    ASSERT_EQ(fields.size(), 6u) << csv[i];
    EXPECT_EQ(fields[4].empty(), std::stod(fields[2]) <= 0) << csv[i];
    EXPECT_EQ(fields[5].empty(), fields[4].empty()) << csv[i];
  }
  const Result moonNow = RunWords(With(With({"now"}, kSite), {"--at", "2026-06-21T12:00", "--body", "moon",
                                                                "--format", "json"}));
  EXPECT_FALSE(nlohmann::json::parse(moonNow.out)["values"].contains("shadow_ratio"));
  const Result moonPath = RunWords(With(path, {"csv", "--body", "moon"}));
  EXPECT_EQ(Split(moonPath.out, '\n')[0], "time,altitude_true,altitude_apparent,azimuth");
}


// ---- day --azimuth ----------------------------------------------------------------

TEST(CliAzimuth, BadInputIsRefusedInOneLine) {
  const std::vector<std::string> day = With({"day"}, kSite);
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> named; // what the line must name
  } cases[] = {
      {With(day, {"--azimuth", "361"}), {"--azimuth", "361", "0 to 360"}},
      {With(day, {"--azimuth", "-1"}), {"--azimuth", "-1", "0 to 360"}},
      {With(day, {"--azimuth", "south"}), {"--azimuth", "south", "0 to 360"}},
      {With(day, {"--azimuth", "nan"}), {"--azimuth", "nan"}},
      {With(day, {"--azimuth", ""}), {"--azimuth", "empty", "0 to 360"}},
      {With(day, {"--azimuth="}), {"--azimuth", "empty", "0 to 360"}},
      {With(day, {"--azimuth"}), {"--azimuth", "missing", "0 to 360"}},
      {With(day, {"--azimuth", "90", "--body", "moon"}), {"--azimuth", "90", "Sun"}},
      // `now`'s --azimuth is still its way of counting.
      {With(With({"now"}, kSite), {"--azimuth", "90"}), {"--azimuth", "90", "north, south"}},
  };
  for (const auto &c : cases) {
    const Result r = RunWords(c.words);
    EXPECT_EQ(r.status, kBadInput) << c.words.back();
    EXPECT_EQ(r.out, "") << c.words.back();
    ASSERT_FALSE(r.err.empty()) << c.words.back();
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    for (const std::string &name : c.named)
      EXPECT_NE(r.err.find(name), std::string::npos) << r.err << " lacks " << name;
  }
}

// The passages in every format, by geometry (tests/core/azimuth_crossings_test.cpp):
// at 47 N the Sun is due south at its culmination; at 20 N on the June
// solstice it passes 70 twice (at altitudes 14.73 and 78.83 degrees, from
// sin d = sin f sin h + cos f cos h cos A) and never 180.
TEST(CliAzimuth, DayListsThePassagesInEveryFormat) {
  const struct {
    std::vector<std::string> site;
    const char *date, *azimuth;
    std::vector<double> altitudes; // expected, in time order; -99: the culmination's
  } cases[] = {
      {kSite, "2026-06-21", "180", {-99}},
      {{"--lat", "20", "--lon", "0", "--tz", "0"}, "2026-06-21", "70", {14.73, 78.83}},
      {{"--lat", "20", "--lon", "0", "--tz", "0"}, "2026-06-21", "180", {}},
  };
  // Without --azimuth the CSV keeps its four columns, as files read before.
  const std::vector<std::string> fourColumns =
      Split(RunWords(With(With({"day"}, kSite), {"--date", "2026-06-21", "--format", "csv"})).out, '\n');
  EXPECT_EQ(fourColumns[0], "event,time,altitude_deg,absent");
  EXPECT_EQ(std::count(fourColumns[1].begin(), fourColumns[1].end(), ','), 3) << fourColumns[1];
  for (const auto &c : cases) {
    const std::vector<std::string> words =
        With(With({"day"}, c.site), {"--date", c.date, "--azimuth", c.azimuth, "--format"});
    const Result json = RunWords(With(words, {"json"}));
    ASSERT_EQ(json.status, kDone) << json.err;
    const nlohmann::json d = nlohmann::json::parse(json.out);
    ASSERT_EQ(d["azimuths"].size(), 1u);
    const nlohmann::json &a = d["azimuths"][0];
    const std::string where = std::string(c.azimuth) + " at " + c.site[1];
    EXPECT_EQ(a["azimuth_deg"].get<double>(), std::stod(c.azimuth)) << where;
    ASSERT_EQ(a["moments"].size(), c.altitudes.size()) << where;
    ASSERT_EQ(a["altitudes_deg"].size(), c.altitudes.size()) << where;
    const std::vector<std::string> csv = Split(RunWords(With(words, {"csv"})).out, '\n');
    const std::string text = RunWords(With(words, {"text"})).out;
    EXPECT_EQ(csv[0], "event,time,altitude_deg,absent,azimuth_deg");
    std::vector<std::string> rows;
    for (const std::string &line : csv) {
      if (line.rfind("azimuth_crossing,", 0) == 0) rows.push_back(line);
    }
    if (c.altitudes.empty()) {
      ASSERT_EQ(rows.size(), 1u) << where;
      EXPECT_EQ(rows[0], "azimuth_crossing,,,not_passed," + Fixed6(std::stod(c.azimuth))) << where;
      EXPECT_NE(text.find("does not pass it"), std::string::npos) << text;
      continue;
    }
    ASSERT_EQ(rows.size(), c.altitudes.size()) << where;
    for (std::size_t i = 0; i < c.altitudes.size(); ++i) {
      const std::string moment = a["moments"][i];
      EXPECT_EQ(moment.substr(0, 11), std::string(c.date) + "T") << moment;
      const double altitude = a["altitudes_deg"][i];
      if (c.altitudes[i] == -99) {
        EXPECT_EQ(moment, d["events"]["culmination"]) << where;
        EXPECT_NEAR(altitude, d["culmination_altitude_deg"].get<double>(), 0.01) << where;
      } else {
        EXPECT_NEAR(altitude, c.altitudes[i], 0.1) << where << ", passage " << i;
      }
      const std::vector<std::string> fields = Split(rows[i], ',');
      ASSERT_EQ(fields.size(), 5u) << rows[i];
      EXPECT_EQ(fields[1], moment.substr(11, 8)) << rows[i];
      EXPECT_NEAR(std::stod(fields[2]), altitude, 1e-6) << rows[i];
      EXPECT_EQ(fields[3], "") << rows[i];
      EXPECT_EQ(std::stod(fields[4]), std::stod(c.azimuth)) << rows[i];
      EXPECT_NE(text.find("Sun at azimuth " + std::string(c.azimuth) + "°"), std::string::npos) << text;
      EXPECT_NE(text.find(moment.substr(11, 8) + "  altitude "), std::string::npos) << text;
    }
  }
  // Without --azimuth the list is empty.
  const nlohmann::json plain =
      nlohmann::json::parse(RunWords(With(With({"day"}, kSite), {"--date", "2026-06-21", "--format", "json"})).out);
  EXPECT_TRUE(plain["azimuths"].is_array());
  EXPECT_TRUE(plain["azimuths"].empty());
}

// ---- next -------------------------------------------------------------------

using Json = nlohmann::json;

Json JsonOf(const std::vector<std::string> &words) {
  const Result result = RunWords(words);
  EXPECT_EQ(result.status, 0) << result.err;
  return Json::parse(result.out, nullptr, false);
}

// The moments `next` writes as JSON.
std::vector<std::string> NextMoments(const std::vector<std::string> &words) {
  const Json document = JsonOf(With(words, {"--format", "json"}));
  std::vector<std::string> moments;
  for (const Json &moment : document.at("moments"))
    moments.push_back(moment.get<std::string>());
  return moments;
}

// The ISO moment "YYYY-MM-DDTHH:MM:SS+HH:MM" moved by whole seconds, its
// offset kept.
std::string Moved(const std::string &iso, int seconds) {
  using namespace std::chrono;
  const sys_days day{year{std::stoi(iso.substr(0, 4))} / std::stoi(iso.substr(5, 2)) /
                     std::stoi(iso.substr(8, 2))};
  const long long at = day.time_since_epoch().count() * 86400LL +
                       std::stoi(iso.substr(11, 2)) * 3600 + std::stoi(iso.substr(14, 2)) * 60 +
                       std::stoi(iso.substr(17, 2)) + seconds;
  const sys_days movedDay{days{at / 86400}};
  const year_month_day ymd{movedDay};
  const int second = int(at % 86400);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", int(ymd.year()),
                unsigned(ymd.month()), unsigned(ymd.day()), second / 3600, second / 60 % 60,
                second % 60);
  return text + iso.substr(19);
}

// `next` for the Sun's and the Moon's day events against `day` of the date
// each should fall on: the day's own list is the reference.
TEST(CliNext, DayEventsAreTheDaysOwn) {
  const std::vector<std::string> berlin = {"--place", "Berlin"};
  const struct {
    const char *what;
    std::vector<std::string> next;      // next's words, without --format
    std::vector<std::string> reference; // day's words, without --format
    std::vector<std::string> path;      // where day's JSON holds the moment
    int offsetSeconds;                  // next's --offset
  } cases[] = {
      {"sunset after a date's evening: the next date's",
       With({"next", "sunset", "--after", "2026-03-20T20:00"}, kSite),
       With({"day", "--date", "2026-03-21"}, kSite),
       {"events", "sunset"},
       0},
      {"sunset over the spring change of Berlin's clocks (2026-03-29)",
       With({"next", "sunset", "--after", "2026-03-28T20:00"}, berlin),
       With({"day", "--date", "2026-03-29"}, berlin),
       {"events", "sunset"},
       0},
      {"sunset over the autumn change (2026-10-25)",
       With({"next", "sunset", "--after", "2026-10-24T20:00"}, berlin),
       With({"day", "--date", "2026-10-25"}, berlin),
       {"events", "sunset"},
       0},
      {"civil dusk",
       With({"next", "civil_dusk", "--after", "2026-06-21T12:00"}, berlin),
       With({"day", "--date", "2026-06-21"}, berlin),
       {"events", "civil_dusk"},
       0},
      {"a golden hour's end",
       With({"next", "morning_golden_hour_end", "--after", "2026-06-21T12:00"}, berlin),
       With({"day", "--date", "2026-06-22"}, berlin),
       {"events", "morning_golden_hour", "1"},
       0},
      {"an altitude rising",
       With({"next", "altitude:10:rising", "--after", "2026-03-01T00:00"}, berlin),
       With({"day", "--date", "2026-03-01", "--altitude", "10"}, berlin),
       {"altitudes", "0", "rising"},
       0},
      {"an altitude setting, precise theory",
       With({"next", "altitude:-3.5:setting", "--after", "2026-03-01T00:00", "--theory", "precise"},
            berlin),
       With({"day", "--date", "2026-03-01", "--altitude", "-3.5", "--theory", "precise"}, berlin),
       {"altitudes", "0", "setting"},
       0},
      {"an azimuth",
       With({"next", "azimuth:180", "--after", "2026-03-01T00:00"}, berlin),
       With({"day", "--date", "2026-03-01", "--azimuth", "180"}, berlin),
       {"azimuths", "0", "moments", "0"},
       0},
      {"an offset that crosses midnight: two hours before a culmination at 00:42",
       {"next", "culmination", "--lat", "0", "--lon", "22.5", "--tz", "14", "--after",
        "2026-03-01T20:00", "--offset", "-120"},
       {"day", "--lat", "0", "--lon", "22.5", "--tz", "14", "--date", "2026-03-02"},
       {"events", "culmination"},
       -7200},
      {"an offset after the event",
       With({"next", "sunrise", "--after", "2026-03-20T09:00", "--offset", "+90"}, berlin),
       With({"day", "--date", "2026-03-21"}, berlin),
       {"events", "sunrise"},
       5400},
      {"moonrise",
       With({"next", "moonrise", "--after", "2026-03-01T00:00"}, berlin),
       With({"day", "--body", "moon", "--date", "2026-03-01"}, berlin),
       {"events", "moonrise"},
       0},
      {"the Moon's transit",
       With({"next", "moon_transit", "--after", "2026-03-01T23:10"}, berlin),
       With({"day", "--body", "moon", "--date", "2026-03-02"}, berlin),
       {"events", "transit"},
       0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    Json expected = JsonOf(With(c.reference, {"--format", "json"}));
    for (const std::string &step : c.path)
      expected = expected.is_array() ? expected.at(std::stoul(step)) : expected.at(step);
    ASSERT_TRUE(expected.is_string()) << expected.dump();
    const std::vector<std::string> moments = NextMoments(c.next);
    ASSERT_EQ(moments.size(), 1u);
    EXPECT_EQ(moments[0], Moved(expected.get<std::string>(), c.offsetSeconds));
  }
}

// Strictly after: the moment of a date's sunset itself gives the next
// date's.
TEST(CliNext, StrictlyAfterTheMomentGiven) {
  const std::string today =
      JsonOf(With({"day", "--date", "2026-03-20", "--format", "json"}, kSite))["events"]["sunset"];
  const std::string tomorrow =
      JsonOf(With({"day", "--date", "2026-03-21", "--format", "json"}, kSite))["events"]["sunset"];
  const std::vector<std::string> moments =
      NextMoments(With({"next", "sunset", "--after", today.substr(0, 19), "--count", "2"}, kSite));
  ASSERT_EQ(moments.size(), 2u);
  EXPECT_EQ(moments[0], tomorrow);
  EXPECT_EQ(moments[1], JsonOf(With({"day", "--date", "2026-03-22", "--format", "json"},
                                    kSite))["events"]["sunset"]);
}

// The end of a polar night at 78 N: the first sunrise after 1 December is
// in February, on a date whose day has it and after a date without one.
TEST(CliNext, PolarNightEndsInFebruary) {
  const std::vector<std::string> polar = {"--lat", "78", "--lon", "15", "--tz", "1"};
  const std::vector<std::string> moments =
      NextMoments(With({"next", "sunrise", "--after", "2026-12-01T00:00"}, polar));
  ASSERT_EQ(moments.size(), 1u);
  EXPECT_EQ(moments[0].substr(0, 8), "2027-02-");
  const std::string date = moments[0].substr(0, 10);
  EXPECT_EQ(JsonOf(With({"day", "--date", date, "--format", "json"}, polar))["events"]["sunrise"],
            moments[0]);
  const std::string before = Moved(moments[0], -86400).substr(0, 10);
  EXPECT_TRUE(
      JsonOf(With({"day", "--date", before, "--format", "json"}, polar))["events"]["sunrise"]
          .is_null());
}

// A year's sunsets: one a date, in order, the last within a year and a day.
TEST(CliNext, CountGivesOneSunsetADate) {
  const std::vector<std::string> moments =
      NextMoments(With({"next", "sunset", "--after", "2026-01-01T00:00", "--count", "365"}, kSite));
  ASSERT_EQ(moments.size(), 365u);
  EXPECT_EQ(moments.front().substr(0, 10), "2026-01-01");
  EXPECT_EQ(moments.back().substr(0, 10), "2026-12-31");
  for (std::size_t i = 1; i < moments.size(); ++i)
    EXPECT_EQ(moments[i].substr(0, 10), Moved(moments[i - 1], 86400).substr(0, 10)) << i;
}

// Fewer found than asked for within a year and a day: those found, status
// 0.  From June one March equinox falls within the span; from the day
// before one, two do (the year is 365.24 days, the span 367).
TEST(CliNext, FewerThanAskedAreWrittenAsFound) {
  const struct {
    const char *after;
    std::vector<const char *> years; // of the seasons command
  } cases[] = {{"2026-06-01T00:00", {"2027"}}, {"2026-03-19T00:00", {"2026", "2027"}}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.after);
    const std::vector<std::string> moments =
        NextMoments(With({"next", "march_equinox", "--after", c.after, "--count", "3"}, kSite));
    ASSERT_EQ(moments.size(), c.years.size());
    for (std::size_t i = 0; i < moments.size(); ++i) {
      const Json year = JsonOf({"seasons", "--year", c.years[i], "--tz", "3", "--format", "json"});
      EXPECT_EQ(moments[i], year["events"]["march_equinox"]);
    }
  }
}

// The Moon's quarters and the seasons as `phases` and `seasons` give them.
TEST(CliNext, QuartersAndSeasonsAreTheirCommands) {
  const std::vector<std::string> berlin = {"--place", "Berlin"};
  const auto firstOf = [](const Json &list, const char *key) {
    for (const Json &item : list)
      if (item["phase"] == key)
        return item["moment"].get<std::string>();
    return std::string();
  };
  const Json phases = JsonOf(
      With({"phases", "--from", "2026-03-01", "--to", "2026-04-30", "--format", "json"}, berlin));
  for (const char *key : {"new_moon", "first_quarter", "full_moon", "last_quarter"}) {
    SCOPED_TRACE(key);
    const std::vector<std::string> moments =
        NextMoments(With({"next", key, "--after", "2026-03-01T00:00"}, berlin));
    ASSERT_EQ(moments.size(), 1u);
    EXPECT_EQ(moments[0], firstOf(phases["phases"], key));
  }
  const struct {
    const char *key, *after, *year;
  } seasons[] = {
      {"march_equinox", "2026-01-01T00:00", "2026"},
      {"march_equinox", "2026-03-21T00:00", "2027"},
      {"june_solstice", "2026-01-01T00:00", "2026"},
      {"september_equinox", "2026-10-01T00:00", "2027"},
      {"december_solstice", "2026-01-01T00:00", "2026"},
      {"perihelion", "2026-01-05T00:00", "2027"},
      {"aphelion", "2026-01-01T00:00", "2026"},
  };
  for (const auto &s : seasons) {
    SCOPED_TRACE(std::string(s.key) + " after " + s.after);
    const Json year = JsonOf(With({"seasons", "--year", s.year, "--format", "json"}, berlin));
    const std::vector<std::string> moments =
        NextMoments(With({"next", s.key, "--after", s.after}, berlin));
    ASSERT_EQ(moments.size(), 1u);
    EXPECT_EQ(moments[0], year["events"][s.key]);
  }
}

// Every format writes the same moments.
TEST(CliNext, FormatsAgree) {
  const std::vector<std::string> words =
      With({"next", "full_moon", "--after", "2026-01-01T00:00", "--count", "3", "--offset", "-30"},
           kSite);
  const Json document = JsonOf(With(words, {"--format", "json"}));
  EXPECT_EQ(document["event"], "full_moon");
  EXPECT_EQ(document["offset_min"], -30);
  const Result text = RunWords(words);
  const Result csv = RunWords(With(words, {"--format", "csv"}));
  const std::vector<std::string> lines = Split(text.out, '\n');
  const std::vector<std::string> rows = Split(csv.out, '\n');
  ASSERT_EQ(document["moments"].size(), 3u);
  ASSERT_EQ(lines.size(), 3u);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "event,moment");
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i], document["moments"][i]);
    EXPECT_EQ(rows[i + 1], "full_moon," + document["moments"][i].get<std::string>());
  }
}

// An event that does not come within a year and a day: status 3, one line
// naming it, nothing on stdout.  At 60 degrees of latitude the Sun stays
// within 90 - 60 + 23.44 = 53.44 degrees of the horizon, above and below
// (its upper and lower culminations at the solstices); at the North Pole
// it rises once a year, near the March equinox, and the search ends with
// 2100.
TEST(CliNext, AnEventThatNeverComes) {
  const struct {
    std::vector<std::string> words;
  } cases[] = {
      {{"next", "altitude:80:rising", "--lat", "60", "--lon", "0", "--tz", "0", "--after",
        "2026-01-01T00:00"}},
      {{"next", "altitude:54:setting", "--lat", "60", "--lon", "10", "--tz", "1", "--count", "5"}},
      {{"next", "altitude:-60:rising", "--lat", "-60", "--lon", "0", "--tz", "0"}},
      {{"next", "sunrise", "--lat", "90", "--lon", "0", "--tz", "0", "--after",
        "2100-09-30T00:00"}},
  };
  for (const auto &c : cases) {
    const Result result = RunWords(c.words);
    EXPECT_EQ(result.status, kNotFound) << result.out;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find(c.words[1]), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("year and a day"), std::string::npos) << result.err;
  }
}

// Bad input to `next`: status 2, one line naming the value.
TEST(CliNext, BadInputIsRefusedInOneLine) {
  const struct {
    std::vector<std::string> words;
    std::vector<std::string> named;
  } cases[] = {
      {With({"next", "sunsett"}, kSite), {"sunsett", "sunrise", "altitude:DEG:rising|setting"}},
      {With({"next", "Sunset"}, kSite), {"Sunset"}},
      {With({"next", "transit"}, kSite), {"transit", "moon_transit"}},
      {With({"next", "altitude:95:rising"}, kSite), {"altitude:95:rising"}},
      {With({"next", "altitude:10"}, kSite), {"altitude:10"}},
      {With({"next", "altitude:10:up"}, kSite), {"altitude:10:up"}},
      {With({"next", "altitude:abc:rising"}, kSite), {"altitude:abc:rising"}},
      {With({"next", "azimuth:361"}, kSite), {"azimuth:361"}},
      {With({"next", "azimuth:"}, kSite), {"azimuth:"}},
      {With({"next", "azimuth:-1"}, kSite), {"azimuth:-1"}},
      {With({"next", "sunset", "--count", "0"}, kSite), {"--count", "0", "1 to 1000"}},
      {With({"next", "sunset", "--count", "1001"}, kSite), {"--count", "1001"}},
      {With({"next", "sunset", "--offset", "1441"}, kSite), {"--offset", "1441"}},
      {With({"next", "sunset", "--offset", "1.5"}, kSite), {"--offset", "1.5"}},
      {With({"next", "sunset", "--after", "2026-02-30T10:00"}, kSite),
       {"--after", "2026-02-30T10:00"}},
      {With({"next", "sunset", "--after", ""}, kSite), {"--after", "empty"}},
      {With({"next", "sunset", "--body", "moon"}, kSite), {"--body"}},
      {With({"next", "sunset", "--theory", "modern"}, kSite), {"--theory", "modern"}},
      {{"next", "sunset", "--lat", "47", "--lon", "28"}, {"--tz"}},
      {{"next", "--place", "Berlin"}, {"EVENT is missing", "sunrise", "altitude:DEG"}},
  };
  for (const auto &c : cases) {
    const Result result = RunWords(c.words);
    EXPECT_EQ(result.status, kBadInput) << result.out;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    for (const std::string &name : c.named)
      EXPECT_NE(result.err.find(name), std::string::npos) << result.err;
  }
}

// Without --after the moments follow the clock's (FixedInstant, 2026-06-22
// 01:30 at +3): the first sunset is that date's.
TEST(CliNext, DefaultMomentIsTheClocks) {
  const std::vector<std::string> moments = NextMoments(With({"next", "sunset"}, kSite));
  ASSERT_EQ(moments.size(), 1u);
  EXPECT_EQ(moments[0], JsonOf(With({"day", "--date", "2026-06-22", "--format", "json"},
                                    kSite))["events"]["sunset"]);
}

// ---- ics ----------------------------------------------------------------

// SOURCE_DATE_EPOCH set for one scope, or left unset.
class StampFromEnvironment {
public:
  explicit StampFromEnvironment(const char *value) {
    if (value) {
      setenv("SOURCE_DATE_EPOCH", value, 1);
    } else {
      unsetenv("SOURCE_DATE_EPOCH");
    }
  }
  ~StampFromEnvironment() { unsetenv("SOURCE_DATE_EPOCH"); }
  StampFromEnvironment(const StampFromEnvironment &) = delete;
  StampFromEnvironment &operator=(const StampFromEnvironment &) = delete;
};

TEST(CliIcs, BadInputIsRefusedInOneLine) {
  const std::vector<std::string> kIcs =
      With({"ics", "--from", "2026-01-01", "--to", "2026-12-31"}, kSite);
  const struct {
    const char *epoch; // SOURCE_DATE_EPOCH, or unset
    std::vector<std::string> words;
    std::vector<std::string> named;
  } cases[] = {
      {nullptr, kIcs, {"--events is missing"}},
      {nullptr, With(kIcs, {"--events", "sunsett"}), {"sunsett", "morning_golden_hour"}},
      {nullptr, With(kIcs, {"--events", "sunrise,,sunset"}), {"an empty key"}},
      {nullptr, With(kIcs, {"--events", "sunrise,"}), {"an empty key"}},
      {nullptr, With(kIcs, {"--events", "golden_hour"}), {"golden_hour"}},
      {nullptr, With(kIcs, {"--events", "altitude:95:rising"}), {"altitude:95:rising"}},
      {nullptr, With(kIcs, {"--events", ""}), {"--events", "empty"}},
      {nullptr, With(kIcs, {"--events", "sunrise", "--alarm", "1441"}), {"--alarm", "1441"}},
      {nullptr, With(kIcs, {"--events", "sunrise", "--alarm", "-5"}), {"--alarm", "-5"}},
      {nullptr, With(kIcs, {"--events", "sunrise", "--lang", "de"}), {"--lang", "de"}},
      {nullptr, With(kIcs, {"--events", "sunrise", "--theory", "modern"}), {"--theory"}},
      {nullptr, With(kIcs, {"--events", "sunrise", "--format", "json"}), {"--format"}},
      {nullptr,
       With({"ics", "--from", "2026-01-01", "--to", "2029-01-01", "--events", "sunrise"}, kSite),
       {"--to", "2029-01-01", "three years"}},
      {nullptr,
       With({"ics", "--from", "2026-02-01", "--to", "2026-01-01", "--events", "sunrise"}, kSite),
       {"--from", "after"}},
      {nullptr, {"ics", "--lat", "47", "--lon", "28", "--from", "2026-01-01", "--to", "2026-01-01",
                 "--events", "sunrise"}, {"--tz"}},
      {"", With(kIcs, {"--events", "sunrise"}), {"SOURCE_DATE_EPOCH", "''"}},
      {"12ab", With(kIcs, {"--events", "sunrise"}), {"SOURCE_DATE_EPOCH", "12ab"}},
      {"-1", With(kIcs, {"--events", "sunrise"}), {"SOURCE_DATE_EPOCH", "-1"}},
      {"253402300800", With(kIcs, {"--events", "sunrise"}), {"SOURCE_DATE_EPOCH"}},
  };
  for (const auto &c : cases) {
    const StampFromEnvironment epoch(c.epoch);
    const Result result = RunWords(c.words);
    EXPECT_EQ(result.status, kBadInput) << result.out;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    for (const std::string &name : c.named)
      EXPECT_NE(result.err.find(name), std::string::npos) << result.err;
  }
}

// DTSTAMP is SOURCE_DATE_EPOCH where set, else the clock's instant
// (FixedInstant); a longest range is written.
TEST(CliIcs, StampFromTheEnvironmentOrTheClock) {
  const std::vector<std::string> words = With(
      {"ics", "--from", "2026-01-01", "--to", "2028-12-31", "--events", "sunrise,sunrise"}, kSite);
  const struct {
    const char *epoch;
    const char *stamp;
  } kStamps[] = {
      {nullptr, "DTSTAMP:20260621T223000Z\r\n"},
      {"0", "DTSTAMP:19700101T000000Z\r\n"},
      {"1767225600", "DTSTAMP:20260101T000000Z\r\n"},
  };
  for (const auto &s : kStamps) {
    const StampFromEnvironment epoch(s.epoch);
    const Result result = RunWords(words);
    ASSERT_EQ(result.status, kDone) << result.err;
    EXPECT_NE(result.out.find(s.stamp), std::string::npos) << s.stamp;
    // One VEVENT a date of the three years: the key given twice is kept once.
    std::size_t events = 0;
    for (std::size_t at = result.out.find("BEGIN:VEVENT"); at != std::string::npos;
         at = result.out.find("BEGIN:VEVENT", at + 1))
      ++events;
    EXPECT_EQ(events, 1096u);
  }
}

} // namespace
} // namespace ostrel::cli
