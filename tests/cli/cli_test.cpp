// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel-cli as a script sees it: statuses, the one-line refusals, and
// output that a JSON parser and a CSV reader take.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/day/day_events.h"
#include "core/day/day_table.h"
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
    EXPECT_EQ(lines[0], "time,altitude_true,altitude_apparent,azimuth");
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
