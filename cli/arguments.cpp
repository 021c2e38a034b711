// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the command line: CLI11 takes the words apart; the values are
// checked here, so that each refusal can say what is accepted.
#include "cli/arguments.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

#include "core/events/seasons.h"
#include "core/text/numtext.h"
#include "core/text/utf8.h"
#include "core/run/typed_input.h"

namespace ostrel::cli {
namespace {

// What each option accepts, as a refusal says it.
const std::map<std::string, std::string> kAccepted = {
    {"--lat", "LAT is decimal degrees from -90 to 90, north positive (-33.87), "
              "or D:M with N or S (47:0N, 33:52.2S)"},
    {"--lon", "LON is decimal degrees from -180 to 180, east positive (28.85), "
              "or D:M with E or W (28:51E, 73:59.5W)"},
    {"--tz", "HOURS is the time zone from -12 to 14, local time = UT + HOURS (3, -3.5)"},
    {"--at", "LOCAL is YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS, local time at the site, "
             "from 1700-01-01T00:00 to 2100-12-31T23:59:59"},
    {"--azimuth", "the azimuth is north, south or south-signed"},
    {"--date", "DATE is YYYY-MM-DD from 1700-01-01 to 2100-12-31"},
    {"--from", "DATE is YYYY-MM-DD from 1700-01-01 to 2100-12-31"},
    {"--to", "DATE is YYYY-MM-DD from 1700-01-01 to 2100-12-31"},
    {"--year", "YEAR is a whole number from 1700 to 2100"},
    {"--altitude", "DEG is degrees from -90 to 90"},
    {"--step", "MINUTES is a whole number from 1 to 1440"},
    {"--format", "the format is text, json or csv"},
    {"--theory", "the theory is classic or precise"},
    {"--body", "the body is sun or moon"},
    {"--after", "LOCAL is YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS, local time at the site, "
                "from 1700-01-01T00:00 to 2100-12-31T23:59:59"},
    {"--offset", "MINUTES is a whole number of minutes from -1440 to 1440 (-120, +30)"},
    {"--count", "N is a whole number from 1 to 1000"},
    {"--events", "KEY[,KEY...] is up to 32 events separated by commas: sunrise, sunset, "
                 "civil_dawn and the other keys of 'day', morning_golden_hour, "
                 "evening_golden_hour, morning_blue_hour, evening_blue_hour, "
                 "altitude:DEG:rising|setting, azimuth:DEG, moonrise, moonset, moon_transit, "
                 "new_moon, first_quarter, full_moon, last_quarter, march_equinox, "
                 "june_solstice, september_equinox, december_solstice, perihelion, aphelion"},
    {"--alarm", "MINUTES is a whole number of minutes before each event, from 0 to 1440"},
    {"--lang", "the language is en or ru"},
    {"--elevation", "METRES is the eye's height above sea level, -500 to 9000"},
    {"--eye", "METRES is the eye's height above the ground or sea that forms its horizon, "
              "0 to 10000 and at most the elevation plus 500"},
    {"--pressure", "HPA is the air's pressure, 100 to 1100 (default: the standard "
                   "atmosphere's at the ground below the eye)"},
    {"--temperature", "CELSIUS is the air's temperature, -60 to 50 (default 10)"},
    {"--horizon", "FILE is a text file of 'azimuth altitude' lines in degrees (azimuth from "
                  "north through east, altitude -5 to 90), or the horizon CSV of PVGIS"},
    {"--not-before", "HH:MM is a local time from 00:00 to 23:59 (7:30, 18:00)"},
    {"--not-after", "HH:MM is a local time from 00:00 to 23:59 (7:30, 18:00)"},
    {"--place", "NAME is a town of 15,000 people or more, as 'ostrel-cli places NAME' "
                "lists it first (Kyiv; Springfield, US)"},
};

// `places` writes no CSV.
const std::string kPlacesFormats = "the format of places is text or json";
// The Moon's place, day and quarters come from the precise theory alone
// (core/moon/moon_theory.h).
const std::string kMoonTheory = "the Moon has one theory: with --body moon the theory is precise "
                                "or left out";
// The observer's horizon and refraction are the Sun's events'.
const std::string kMoonObserver = "the observer's options are the Sun's: with --body moon leave "
                                  "out --elevation, --eye, --pressure, --temperature and --horizon";
// The largest horizon file read, bytes: a skyline of a point every
// hundredth of a degree is well under it.
constexpr std::size_t kLargestHorizonFile = 4 << 20;
// The Moon's azimuth is written as the core gives it.
const std::string kMoonAzimuth = "with --body moon the azimuth is north (from north through east)";
// `phases` and `seasons` have no site: only a time zone.
const std::string kPhasesZone = "give either --tz or --place, not both";
// The seasons come from the precise theory alone: the classic orbit's
// longitude is off by up to 0.17 degree, some four hours of the Sun's
// motion at an equinox (docs/accuracy.md).
const std::string kSeasonsTheory = "not an option of 'seasons', whose events are always of the "
                                   "precise theory";

// `day --azimuth` is an azimuth the Sun passes, not `now`'s way of counting.
const std::string kDayAzimuth = "DEG is degrees from 0 to 360, from north through east";
// The Moon's day has no azimuth passages.
const std::string kMoonDayAzimuth = "with --body moon the day has no azimuth passages: they are "
                                    "the Sun's";

// What an option of a command accepts.
const std::string &Accepted(Command which, const std::string &option) {
  if (which == Command::Places && option == "--format") return kPlacesFormats;
  if (which == Command::Day && option == "--azimuth") return kDayAzimuth;
  return kAccepted.at(option);
}

constexpr std::array<const char *, 10> kCommands = {"now",    "day",     "table", "path", "places",
                                                   "phases", "seasons", "next",  "ics",
                                                   "wait"};

// A value as a refusal quotes it: on one line, not too long.
std::string Quoted(std::string_view value) {
  std::string text;
  for (char c : value.substr(0, 64)) {
    const auto byte = static_cast<unsigned char>(c);
    text += byte < 0x20 || byte == 0x7f ? '?' : c;
  }
  if (value.size() > 64) text += "...";
  return text.empty() ? "''" : text;
}

struct Refusal {
  std::string text;
};

[[noreturn]] void Refuse(const std::string &option, std::string_view value) {
  throw Refusal{option + " " + Quoted(value) + ": " + kAccepted.at(option)};
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number: an optional sign, digits with at most one point,
// at least one digit.  Read by the window's own field parse, so that a value
// is the one the same text gives in a field.
std::optional<double> DecimalNumber(std::string_view text, bool signAllowed = true) {
  std::size_t i = 0;
  if (signAllowed && i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  int digits = 0, points = 0;
  for (; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++digits;
    } else if (text[i] == '.' && points == 0) {
      ++points;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  const std::string_view unsigned_ = text[0] == '+' ? text.substr(1) : text;
  const double value = ParseNumber(unsigned_);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  if (text.empty() || text.size() > 9) return std::nullopt;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The window's bound of the minute fields, in single precision.
constexpr float kMinutesBound = 59.99f;

// LAT or LON: decimal degrees, or D:M with a sign or a hemisphere letter.
TypedAngle ReadAngle(const std::string &option, const std::string &text, double limit,
                     char positive, char negative) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) {
    const std::optional<double> value = DecimalNumber(text);
    if (!value || std::fabs(*value) > limit) Refuse(option, text);
    return {*value, 0, false};
  }
  std::string_view degrees(text.data(), colon);
  std::string_view minutes(text.data() + colon + 1, text.size() - colon - 1);
  bool other = false;
  bool signed_ = false;
  if (!degrees.empty() && (degrees[0] == '-' || degrees[0] == '+')) {
    other = degrees[0] == '-';
    signed_ = true;
    degrees.remove_prefix(1);
  }
  if (!minutes.empty()) {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(minutes.back())));
    if (letter == positive || letter == negative) {
      if (signed_) Refuse(option, text); // a sign and a letter together
      other = letter == negative;
      minutes.remove_suffix(1);
    }
  }
  const std::optional<int> whole = WholeNumber(degrees);
  const std::optional<double> arcMinutes = DecimalNumber(minutes, false);
  if (!whole || !arcMinutes) Refuse(option, text);
  const float kept = RoundToSingle(*arcMinutes);
  if (kept > kMinutesBound || *whole + double(kept) / 60 > limit) Refuse(option, text);
  return {double(*whole), kept, other};
}

std::optional<Format> FormatOf(const std::string &name) {
  if (name == "text") return Format::Text;
  if (name == "json") return Format::Json;
  if (name == "csv") return Format::Csv;
  return std::nullopt;
}

std::optional<Body> BodyOf(const std::string &name) {
  if (name == "sun") return Body::Sun;
  if (name == "moon") return Body::Moon;
  return std::nullopt;
}

bool InRange(const CivilDate &date) {
  using namespace std::chrono;
  const year_month_day ymd{year{date.year}, month{unsigned(date.month)}, day{unsigned(date.day)}};
  return ymd.ok() && date.year >= 1700 && date.year <= 2100;
}

// YYYY-MM-DD at the start of `text`; the rest is handed back.
std::optional<CivilDate> DatePart(std::string_view text, std::string_view &rest) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = WholeNumber(text.substr(0, 4));
  const auto month = WholeNumber(text.substr(5, 2));
  const auto day = WholeNumber(text.substr(8, 2));
  if (!year || !month || !day) return std::nullopt;
  const CivilDate date{*year, *month, *day};
  if (!InRange(date)) return std::nullopt;
  rest = text.substr(10);
  return date;
}

CivilDate ReadDate(const std::string &option, const std::string &text) {
  std::string_view rest;
  const std::optional<CivilDate> date = DatePart(text, rest);
  if (!date || !rest.empty()) Refuse(option, text);
  return *date;
}

LocalMoment ReadMoment(const std::string &option, const std::string &text) {
  std::string_view rest;
  const std::optional<CivilDate> date = DatePart(text, rest);
  if (!date || (rest.size() != 6 && rest.size() != 9) || rest[0] != 'T' || rest[3] != ':')
    Refuse(option, text);
  const auto hour = WholeNumber(rest.substr(1, 2));
  const auto minute = WholeNumber(rest.substr(4, 2));
  std::optional<int> second = 0;
  if (rest.size() == 9) second = rest[6] == ':' ? WholeNumber(rest.substr(7, 2)) : std::nullopt;
  if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59)
    Refuse(option, text);
  return {*date, *hour, *minute, *second};
}

std::string CommandList() {
  std::string list;
  for (const char *command : kCommands) list += (list.empty() ? "" : ", ") + std::string(command);
  return list;
}

struct Options {
  // `theory` stays empty when left out: its default depends on the body.
  std::string lat, lon, tz, at, azimuth = "north", date, from, to, step, format = "text", theory,
                                body = "sun", place, query, year, event, after, offset, count, events,
                                alarm, notBefore, notAfter, lang = "en";
  std::vector<std::string> altitudes, azimuths;
  // The observer's, for every command with a SITE (AddObserverOptions).
  std::string elevation, eye, pressure, temperature, horizon;
};

// The observer's options of a SITE: one list for every command that has a
// site, read by ReadObserver.
void AddObserverOptions(CLI::App &command, Options &o) {
  command.add_option("--elevation", o.elevation, "METRES: the eye above sea level, -500 to 9000 "
                                                 "(default: the eye's height)");
  command.add_option("--eye", o.eye, "METRES: the eye above the ground or sea of its horizon, "
                                     "0 to 10000 (default 0)");
  command.add_option("--pressure", o.pressure, "HPA: 100 to 1100 (default: the standard "
                                               "atmosphere's at the ground)");
  command.add_option("--temperature", o.temperature, "CELSIUS: -60 to 50 (default 10)");
  command.add_option("--horizon", o.horizon, "FILE: the skyline, 'azimuth altitude' lines or "
                                             "PVGIS's CSV");
}

// The options of one command in the order its help lists them.
void AddOptions(CLI::App &command, Command which, Options &o) {
  if (which == Command::Places) {
    command.add_option("query", o.query, "QUERY: a town's name, or its beginning; ', CC' "
                                         "keeps one country")
        ->required();
    command.add_option("--format", o.format, "text or json (default text)");
    return;
  }
  if (which == Command::Phases || which == Command::Seasons) {
    if (which == Command::Phases) {
      command.add_option("--from", o.from, "DATE: first date")->required();
      command.add_option("--to", o.to, "DATE: last date")->required();
    } else {
      command.add_option("--year", o.year, "YEAR: 1700 to 2100")->required();
    }
    command.add_option("--tz", o.tz, "HOURS: time zone, local = UT + HOURS (default 0, UT)");
    command.add_option("--place", o.place, "NAME: a town whose zone gives the offset of each "
                                           "instant");
    command.add_option("--format", o.format, "text, json or csv (default text)");
    return;
  }
  if (which == Command::Next || which == Command::Wait)
    command.add_option("event", o.event, "EVENT: sunrise, altitude:DEG:rising, new_moon, ...")
        ->required();
  command.add_option("--lat", o.lat, "LAT: latitude");
  command.add_option("--lon", o.lon, "LON: longitude");
  command.add_option("--tz", o.tz, "HOURS: time zone, local = UT + HOURS");
  command.add_option("--place", o.place, "NAME: a town in place of --lat, --lon and --tz");
  AddObserverOptions(command, o);
  if (which == Command::Day || which == Command::Path)
    command.add_option("--date", o.date, "DATE: YYYY-MM-DD (default: today at the site)");
  switch (which) {
  case Command::Now:
    command.add_option("--at", o.at, "LOCAL: local time YYYY-MM-DDTHH:MM[:SS] (default: now)");
    command.add_option("--azimuth", o.azimuth, "north, south or south-signed (default north)");
    break;
  case Command::Day:
    command.add_option("--altitude", o.altitudes, "DEG: rising and setting at this altitude")
        ->allow_extra_args(false);
    command.add_option("--azimuth", o.azimuths, "DEG: the Sun passing this azimuth, 0 to 360 "
                                                "from north through east")
        ->allow_extra_args(false);
    break;
  case Command::Table:
    command.add_option("--from", o.from, "DATE: first date")->required();
    command.add_option("--to", o.to, "DATE: last date")->required();
    break;
  case Command::Path:
    command.add_option("--step", o.step, "MINUTES: 1 to 1440 (default 10)");
    break;
  case Command::Next:
    command.add_option("--after", o.after,
                       "LOCAL: local time YYYY-MM-DDTHH:MM[:SS] (default: now)");
    command.add_option("--offset", o.offset,
                       "MINUTES: added to each moment, -1440 to 1440 "
                       "(default 0)");
    command.add_option("--count", o.count, "N: how many moments, 1 to 1000 (default 1)");
    command.add_option("--format", o.format, "text, json or csv (default text)");
    command.add_option("--theory", o.theory,
                       "classic (default) or precise, for the Sun's day; "
                       "the Moon's and the seasons' are precise");
    return;
  case Command::Ics:
    command.add_option("--from", o.from, "DATE: first date")->required();
    command.add_option("--to", o.to, "DATE: last date; at most 1096 dates in all")
        ->required();
    command.add_option("--events", o.events,
                       "KEY[,KEY...]: sunrise, sunset, morning_golden_hour, full_moon, ...")
        ->required();
    command.add_option("--alarm", o.alarm, "MINUTES: an alarm before each event, 0 to 1440");
    command.add_option("--lang", o.lang, "en (default) or ru: the events' names");
    command.add_option("--theory", o.theory,
                       "classic (default) or precise, for the Sun's day; "
                       "the Moon's and the seasons' are precise");
    return;
  case Command::Wait:
    command.add_option("--offset", o.offset,
                       "MINUTES: added to the moment, -1440 to 1440 (default 0)");
    command.add_option("--not-before", o.notBefore,
                       "HH:MM: a moment earlier in its local date is moved to HH:MM");
    command.add_option("--not-after", o.notAfter,
                       "HH:MM: a moment later in its local date is moved to HH:MM");
    command.add_option("--theory", o.theory,
                       "classic (default) or precise, for the Sun's day; "
                       "the Moon's and the seasons' are precise");
    return;
  case Command::Places:
  case Command::Phases:
  case Command::Seasons:
    break;
  }
  command.add_option("--body", o.body, "sun (default) or moon");
  command.add_option("--format", o.format, "text, json or csv (default text)");
  command.add_option("--theory", o.theory, "classic (default) or precise; the Moon's is precise");
}

// The names of the options a command has, for a refusal.
std::string OptionList(const CLI::App &command) {
  std::string list;
  for (const CLI::Option *option : command.get_options()) {
    const std::string name = option->get_name();
    if (name.rfind("--", 0) != 0 || name == "--help") continue;
    list += (list.empty() ? "" : ", ") + name;
  }
  return list;
}

// The first option of `command` among `words` that is given an empty
// value: an empty word after it, as a script's unset variable gives
// ("--date ''"), or nothing after its '=' ("--date=", which CLI11 would
// read as an option without a value and give the next word).  The words are
// walked as CLI11 reads them: each option takes the word after it.
std::optional<std::string> EmptyValue(const CLI::App &command, std::span<const std::string> words) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string &word = words[i];
    if (word == "--") break; // the rest is not options
    if (word.rfind("--", 0) != 0) continue;
    const std::size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    const CLI::Option *option = command.get_option_no_throw(name);
    if (option == nullptr || option->get_items_expected_max() == 0) continue; // not ours, or a flag
    if (equals != std::string::npos) {
      if (equals + 1 == word.size()) return name;
    } else if (i + 1 < words.size()) {
      if (words[i + 1].empty()) return name;
      ++i; // its value
    }
  }
  return std::nullopt;
}

std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Up to three names of the list nearest to `name` (fewest letters to
// change, the more populous first), for a refusal of --place.
std::string NearestNames(const std::string &name) {
  const std::string folded = FoldName(name);
  // The edit distance of two folded names, bounded: beyond `limit` only
  // "more" matters.
  const auto distance = [](std::string_view a, std::string_view b, std::size_t limit) {
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit) return limit + 1;
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
      std::size_t diagonal = row[0];
      row[0] = i;
      for (std::size_t j = 1; j <= b.size(); ++j) {
        const std::size_t above = row[j];
        row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
        diagonal = above;
      }
    }
    return row[b.size()];
  };
  std::vector<std::pair<std::size_t, const Place *>> nearest;
  for (const Place &place : AllPlaces()) {
    const std::size_t d = distance(folded, FoldName(place.name), 3);
    if (d <= 3) nearest.emplace_back(d, &place);
  }
  std::stable_sort(nearest.begin(), nearest.end(),
                   [](const auto &a, const auto &b) { return a.first < b.first; });
  std::string list;
  for (std::size_t i = 0; i < nearest.size() && i < 3; ++i) {
    list += (i ? ", " : "") + std::string(nearest[i].second->name) + " (" +
            std::string(nearest[i].second->country) + ")";
  }
  return list;
}

// The town of --place, or a refusal with the nearest names.
const Place *PlaceNamed(const std::string &name) {
  const std::vector<const Place *> found = FindPlaces(name, 1);
  if (found.empty()) {
    const std::string nearest = NearestNames(name);
    throw Refusal{"--place " + Quoted(name) + ": no such town in the list" +
                  (nearest.empty() ? "" : "; the nearest names are " + nearest) + "; " +
                  kAccepted.at("--place")};
  }
  return found.front();
}

// --tz as a zone's offset, hours, kept in single precision as the window
// keeps it.
float ReadTimezone(const std::string &text) {
  const std::optional<double> tz = DecimalNumber(text);
  if (!tz) Refuse("--tz", text);
  const float timezone = RoundToSingle(*tz);
  if (timezone < -12 || timezone > 14) Refuse("--tz", text);
  return timezone;
}

// EVENT and --offset of `next` and `wait`.
void ReadEvent(const Options &o, Request &r) {
  const std::optional<Event> event = ParseEvent(o.event);
  if (!event) {
    throw Refusal{"EVENT " + Quoted(o.event) + ": not an event; the events are " +
                  EventKeyExamples() + " and the other keys of 'day'"};
  }
  r.eventKey = o.event;
  r.event = *event;
  if (!o.offset.empty()) {
    const bool negative = o.offset[0] == '-';
    const std::optional<int> minutes =
        WholeNumber(o.offset[0] == '-' || o.offset[0] == '+' ? o.offset.substr(1) : o.offset);
    if (!minutes || *minutes > 1440)
      Refuse("--offset", o.offset);
    r.offsetMinutes = negative ? -*minutes : *minutes;
  }
}

// --not-before or --not-after: H:MM or HH:MM, seconds from the start of the
// date.
int ReadClock(const std::string &option, const std::string &text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon > 2 || text.size() != colon + 3)
    Refuse(option, text);
  const std::optional<int> hour = WholeNumber(std::string_view(text).substr(0, colon));
  const std::optional<int> minute = WholeNumber(std::string_view(text).substr(colon + 1));
  if (!hour || !minute || *hour > 23 || *minute > 59) Refuse(option, text);
  return *hour * 3600 + *minute * 60;
}

// --from and --to, the first not after the last.
void ReadDateRange(const Options &o, Request &r) {
  r.from = ReadDate("--from", o.from);
  r.to = ReadDate("--to", o.to);
  if (DaysOf(r.from) > DaysOf(r.to)) {
    throw Refusal{"--from " + o.from + ": after --to " + o.to +
                  "; the first date must not be after the last"};
  }
}

// A number of an observer's option within its range.
double ObserverValue(const std::string &option, const std::string &text, double low, double high) {
  const std::optional<double> value = DecimalNumber(text);
  if (!value || *value < low || *value > high) Refuse(option, text);
  return *value;
}

// The whole of a horizon file, or a refusal that says why it cannot be.
std::string HorizonFileText(const std::string &file) {
  std::ifstream in(file, std::ios::binary);
  const auto refuse = [&file](const std::string &why) {
    throw Refusal{"--horizon " + Quoted(file) + ": " + why};
  };
  if (!in) refuse(std::string("cannot be opened: ") + std::strerror(errno));
  std::string text;
  char buffer[1 << 14];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kLargestHorizonFile) refuse("larger than 4 MB: not a horizon");
  }
  if (in.bad() || !in.eof()) refuse("cannot be read (a folder?)");
  return text;
}

// The observer's options into the request, each checked; nothing when none
// is given.  The Moon refuses them.
void ReadObserver(const Options &o, Request &r) {
  const std::pair<const char *, const std::string *> given[] = {
      {"--elevation", &o.elevation}, {"--eye", &o.eye},         {"--pressure", &o.pressure},
      {"--temperature", &o.temperature}, {"--horizon", &o.horizon}};
  const auto first = std::find_if(std::begin(given), std::end(given),
                                  [](const auto &option) { return !option.second->empty(); });
  if (first == std::end(given)) return;
  if (r.body == Body::Moon)
    throw Refusal{std::string(first->first) + " " + Quoted(*first->second) + ": " + kMoonObserver};
  Observer observer;
  if (!o.eye.empty())
    observer.eyeM = ObserverValue("--eye", o.eye, 0, kHighestEyeM);
  observer.elevationM = o.elevation.empty() ? observer.eyeM
                                            : ObserverValue("--elevation", o.elevation,
                                                            kLowestElevationM, kHighestElevationM);
  if (!o.pressure.empty())
    observer.pressureHpa =
        ObserverValue("--pressure", o.pressure, kLowestPressureHpa, kHighestPressureHpa);
  if (!o.temperature.empty())
    observer.temperatureC =
        ObserverValue("--temperature", o.temperature, kLowestTemperatureC, kHighestTemperatureC);
  if (const std::optional<std::string> problem = ObserverProblem(observer))
    throw Refusal{"--eye " + Quoted(o.eye) + ": " + *problem};
  if (!o.horizon.empty()) {
    // The JSON's site names the file.
    if (!IsUtf8(o.horizon))
      throw Refusal{"--horizon " + Quoted(o.horizon) + ": the file's name is not UTF-8 text"};
    const HorizonParse parse = ParseHorizonProfile(HorizonFileText(o.horizon));
    if (!parse.profile) {
      throw Refusal{"--horizon " + Quoted(o.horizon) + ": " +
                    (parse.line > 0 ? "line " + std::to_string(parse.line) + ": " : "") +
                    parse.error};
    }
    r.horizonFile = o.horizon;
    r.horizon = *parse.profile;
  }
  r.observer = observer;
}

Request Check(Command which, const Options &o) {
  Request r;
  r.command = which;
  if (which == Command::Phases || which == Command::Seasons) {
    if (!o.place.empty() && !o.tz.empty())
      throw Refusal{"--place " + Quoted(o.place) + ": " + kPhasesZone};
    if (!o.place.empty()) r.place = PlaceNamed(o.place);
    r.timezoneGiven = !o.tz.empty();
    if (r.timezoneGiven) r.timezone = ReadTimezone(o.tz);
    const std::optional<Format> format = FormatOf(o.format);
    if (!format) Refuse("--format", o.format);
    r.format = *format;
    if (which == Command::Phases) {
      ReadDateRange(o, r);
    } else {
      const std::optional<int> year = WholeNumber(o.year);
      if (!year || *year < kFirstSeasonsYear || *year > kLastSeasonsYear) Refuse("--year", o.year);
      r.year = *year;
    }
    return r;
  }
  if (which == Command::Places) {
    if (!IsUtf8(o.query)) throw Refusal{"QUERY " + Quoted(o.query) + ": not a UTF-8 text"};
    r.query = o.query;
    const std::optional<Format> format = FormatOf(o.format);
    if (!format || *format == Format::Csv)
      throw Refusal{"--format " + Quoted(o.format) + ": " + kPlacesFormats};
    r.format = *format;
    return r;
  }
  if (!o.place.empty()) {
    if (!o.lat.empty() || !o.lon.empty()) {
      throw Refusal{"--place " + Quoted(o.place) +
                    ": give either --place or --lat and --lon, not both"};
    }
    r.place = PlaceNamed(o.place);
    r.latitude = {std::fabs(r.place->latitudeDeg), 0, r.place->latitudeDeg < 0};
    r.longitude = {std::fabs(r.place->longitudeDeg), 0, r.place->longitudeDeg < 0};
  } else {
    for (const auto &[option, value] : {std::pair{"--lat", &o.lat}, std::pair{"--lon", &o.lon},
                                        std::pair{"--tz", &o.tz}}) {
      if (value->empty()) {
        throw Refusal{std::string(option) + " is missing: " + kCommands[int(which)] +
                      " needs it, or --place; " + kAccepted.at(option)};
      }
    }
    r.latitude = ReadAngle("--lat", o.lat, 90, 'N', 'S');
    r.longitude = ReadAngle("--lon", o.lon, 180, 'E', 'W');
  }
  r.timezoneGiven = !o.tz.empty();
  if (r.timezoneGiven) r.timezone = ReadTimezone(o.tz);
  const std::optional<Format> format = FormatOf(o.format);
  if (!format) Refuse("--format", o.format);
  r.format = *format;
  const std::optional<Body> body = BodyOf(o.body);
  if (!body) Refuse("--body", o.body);
  r.body = *body;
  if (r.body == Body::Moon) {
    if (!o.theory.empty() && o.theory != TheoryKey(Theory::Precise))
      throw Refusal{"--theory " + Quoted(o.theory) + ": " + kMoonTheory};
    r.theory = Theory::Precise;
  } else {
    const std::optional<Theory> theory = TheoryFromKey(o.theory.empty() ? "classic" : o.theory);
    if (!theory) Refuse("--theory", o.theory);
    r.theory = *theory;
  }
  ReadObserver(o, r);
  if (which == Command::Day || which == Command::Path) {
    if (!o.date.empty()) r.date = ReadDate("--date", o.date);
  }
  switch (which) {
  case Command::Now:
    if (!o.at.empty()) r.at = ReadMoment("--at", o.at);
    if (o.azimuth == "north") {
      r.azimuthMode = FromNorth;
    } else if (o.azimuth == "south") {
      r.azimuthMode = FromSouth;
    } else if (o.azimuth == "south-signed") {
      r.azimuthMode = FromSouthSigned;
    } else {
      Refuse("--azimuth", o.azimuth);
    }
    if (r.body == Body::Moon && r.azimuthMode != FromNorth)
      throw Refusal{"--azimuth " + Quoted(o.azimuth) + ": " + kMoonAzimuth};
    break;
  case Command::Day:
    for (const std::string &text : o.altitudes) {
      const std::optional<double> altitude = DecimalNumber(text);
      if (!altitude || std::fabs(*altitude) > 90) Refuse("--altitude", text);
      r.altitudes.push_back(*altitude);
    }
    for (const std::string &text : o.azimuths) {
      const std::optional<double> azimuth = DecimalNumber(text);
      if (!azimuth || *azimuth < 0 || *azimuth > 360)
        throw Refusal{"--azimuth " + Quoted(text) + ": " + kDayAzimuth};
      if (r.body == Body::Moon) throw Refusal{"--azimuth " + Quoted(text) + ": " + kMoonDayAzimuth};
      r.azimuths.push_back(*azimuth);
    }
    break;
  case Command::Table:
    ReadDateRange(o, r);
    break;
  case Command::Path:
    if (!o.step.empty()) {
      const std::optional<int> step = WholeNumber(o.step);
      if (!step || *step < 1 || *step > 1440) Refuse("--step", o.step);
      r.stepMinutes = *step;
    }
    break;
  case Command::Next:
    ReadEvent(o, r);
    if (!o.after.empty())
      r.at = ReadMoment("--after", o.after);
    if (!o.count.empty()) {
      const std::optional<int> count = WholeNumber(o.count);
      if (!count || *count < 1 || *count > 1000)
        Refuse("--count", o.count);
      r.count = *count;
    }
    break;
  case Command::Ics: {
    ReadDateRange(o, r);
    if ((DaysOf(r.to) - DaysOf(r.from)).count() >= kMostCalendarDates) {
      throw Refusal{"--to " + o.to + ": more than " + std::to_string(kMostCalendarDates) +
                    " dates from --from " + o.from + "; a calendar is written for at most "
                    "three years at a time"};
    }
    std::string_view list = o.events;
    while (true) {
      const std::size_t comma = list.find(',');
      const std::string_view key = list.substr(0, comma);
      const std::optional<CalendarEvent> event = ParseCalendarEvent(key);
      if (!event) {
        throw Refusal{"--events " + Quoted(o.events) + ": " +
                      (key.empty() ? std::string("an empty key") : Quoted(key) + " is not an event") +
                      "; " + kAccepted.at("--events")};
      }
      if (std::none_of(r.calendarEvents.begin(), r.calendarEvents.end(),
                       [&key](const CalendarEvent &kept) { return kept.key == key; }))
        r.calendarEvents.push_back(*event);
      if (comma == std::string_view::npos) break;
      list.remove_prefix(comma + 1);
    }
    if (r.calendarEvents.size() > kMostCalendarKeys) Refuse("--events", o.events);
    if (!o.alarm.empty()) {
      const std::optional<int> minutes = WholeNumber(o.alarm);
      if (!minutes || *minutes > 1440) Refuse("--alarm", o.alarm);
      r.alarmMinutes = *minutes;
    }
    if (o.lang != "en" && o.lang != "ru") Refuse("--lang", o.lang);
    r.russian = o.lang == "ru";
    break;
  }
  case Command::Wait:
    ReadEvent(o, r);
    if (!o.notBefore.empty()) r.notBefore = ReadClock("--not-before", o.notBefore);
    if (!o.notAfter.empty()) r.notAfter = ReadClock("--not-after", o.notAfter);
    // A window across midnight would leave open which date a moment
    // belongs to: it is refused rather than guessed.
    if (r.notBefore && r.notAfter && *r.notBefore > *r.notAfter) {
      throw Refusal{"--not-before " + o.notBefore + ": after --not-after " + o.notAfter +
                    "; the window must not end before it begins (one local date, "
                    "not across midnight)"};
    }
    break;
  case Command::Places: // checked above
  case Command::Phases:
  case Command::Seasons:
    break;
  }
  return r;
}

const char *kUsage =
    "Usage:\n"
    "  ostrel-cli now   SITE [--at LOCAL] [--azimuth north|south|south-signed] [OUT]\n"
    "  ostrel-cli day   SITE [--date DATE] [--altitude DEG]... [--azimuth DEG]... [OUT]\n"
    "  ostrel-cli table SITE --from DATE --to DATE [OUT]\n"
    "  ostrel-cli path  SITE [--date DATE] [--step MINUTES] [OUT]\n"
    "  ostrel-cli phases --from DATE --to DATE [--tz HOURS | --place NAME] [--format "
    "text|json|csv]\n"
    "  ostrel-cli seasons --year YEAR [--tz HOURS | --place NAME] [--format text|json|csv]\n"
    "  ostrel-cli places QUERY [--format text|json]\n"
    "  ostrel-cli next  EVENT SITE [--after LOCAL] [--offset MINUTES] [--count N]\n"
    "                   [--format text|json|csv] [--theory classic|precise]\n"
    "  ostrel-cli ics   SITE --from DATE --to DATE --events KEY[,KEY...] [--alarm MINUTES]\n"
    "                   [--lang en|ru] [--theory classic|precise]\n"
    "  ostrel-cli wait  EVENT SITE [--offset MINUTES] [--not-before HH:MM]\n"
    "                   [--not-after HH:MM] [--theory classic|precise]\n"
    "  SITE = --lat LAT --lon LON --tz HOURS | --place NAME [--tz HOURS] [OBSERVER]\n"
    "  OUT  = [--body sun|moon] [--format text|json|csv] [--theory classic|precise]\n"
    "  OBSERVER = [--elevation METRES] [--eye METRES] [--pressure HPA]\n"
    "             [--temperature CELSIUS] [--horizon FILE]\n"
    "\n"
    "  now    the Sun at a moment: the 35 results of the window and their values;\n"
    "         the Moon: its place, distance, illuminated fraction and phase\n"
    "  day    sunrise, sunset, culmination, twilights, golden and blue hours,\n"
    "         the Sun passing each --azimuth (degrees from north through east);\n"
    "         the Moon: moonrise, moonset, transit, the phase at 12:00\n"
    "  table  one line a date: rise, set, culmination, day length, twilights;\n"
    "         the Moon: moonrise, moonset, transit, the phase at 12:00\n"
    "  path   altitude and azimuth through the day at a step\n"
    "  phases the Moon's quarters from 00:00 of the first date to 24:00 of the last\n"
    "  seasons the equinoxes, solstices, perihelion and aphelion of a year\n"
    "         (always the precise theory)\n"
    "  places the towns a name may mean, with their coordinates and time zones\n"
    "  next   the next N moments of an EVENT after LOCAL, each moved by MINUTES,\n"
    "         within a year and a day: sunrise, civil_dusk and the other keys of\n"
    "         day's JSON, altitude:DEG:rising|setting, azimuth:DEG, moonrise,\n"
    "         moonset, moon_transit, new_moon, first_quarter, full_moon,\n"
    "         last_quarter, march_equinox, june_solstice, september_equinox,\n"
    "         december_solstice, perihelion, aphelion\n"
    "  ics    an iCalendar file of the events (KEYs as next's, and\n"
    "         morning_golden_hour, evening_golden_hour, morning_blue_hour,\n"
    "         evening_blue_hour as intervals) on up to three years of dates, in UTC;\n"
    "         DTSTAMP from SOURCE_DATE_EPOCH when it is set, else now\n"
    "  wait   prints the next moment of an EVENT moved by MINUTES (as next finds\n"
    "         it), kept within HH:MM to HH:MM of its local date, then sleeps until\n"
    "         it by the wall clock; a moment so kept that is already past gives\n"
    "         way to the event's following one\n"
    "\n"
    "  --body sun (default) or moon; the Moon has one theory, the precise one\n"
    "\n"
    "  LAT    decimal degrees, north positive (-33.87), or D:M with N or S (33:52.2S)\n"
    "  LON    decimal degrees, east positive (28.85), or D:M with E or W (28:51E)\n"
    "  HOURS  time zone, local time = UT + HOURS, -12 to 14 (3, -3.5)\n"
    "  NAME   a town, as 'places' lists it first; its zone gives HOURS for each date\n"
    "         (for phases and seasons, for each instant; without --tz or --place,\n"
    "         they are in UT)\n"
    "  LOCAL  YYYY-MM-DDTHH:MM[:SS], local time at the site (default: now)\n"
    "  DATE   YYYY-MM-DD, 1700-01-01 to 2100-12-31 (default: today at the site)\n"
    "  YEAR   1700 to 2100\n"
    "  OBSERVER  the Sun's (not with --body moon): the eye's height above sea level\n"
    "         (--elevation, default the eye's) and above the ground or sea of its\n"
    "         horizon (--eye, default 0), the air (--pressure, default the standard\n"
    "         atmosphere's at that ground; --temperature, default 10), the skyline\n"
    "         (--horizon); sunrise and sunset are then the upper limb on that horizon\n"
    "\n"
    "Exit status: 0 done, 1 output not written, 2 bad input, 3 the event does not\n"
    "happen within the span searched (next, wait), 4 the system refused wait its\n"
    "timer, 130 and 143 wait ended by SIGINT and SIGTERM.\n"
    "'ostrel-cli COMMAND --help' lists a command's options.\n";

} // namespace

double DecimalDegrees(const TypedAngle &angle) {
  const double degrees = double(angle.minutes) / 60 + angle.degrees;
  return angle.otherHemisphere ? -degrees : degrees;
}

std::chrono::sys_days DaysOf(const CivilDate &date) {
  using namespace std::chrono;
  return sys_days{year{date.year} / month{unsigned(date.month)} / day{unsigned(date.day)}};
}

CivilDate DateOf(std::chrono::sys_days day) {
  const std::chrono::year_month_day ymd{day};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

Site SiteOf(const Request &request) {
  Site site;
  site.LatRad = LatitudeRadians(request.latitude.degrees, request.latitude.minutes,
                                request.latitude.otherHemisphere);
  site.LongHours = LongitudeHours(request.longitude.degrees, request.longitude.minutes,
                                  request.longitude.otherHemisphere);
  site.Timezon = request.timezone;
  if (request.observer) site.elevationM = request.observer->elevationM;
  return site;
}

Parsed ParseArguments(std::span<const std::string> arguments) {
  Parsed parsed;
  const auto refuse = [&parsed](std::string text) {
    parsed.outcome = Parsed::Outcome::Refused;
    parsed.text = "ostrel-cli: " + OneLine(std::move(text));
    return parsed;
  };
  if (arguments.empty()) return refuse("a command is missing; the commands are " + CommandList());
  const std::string &first = arguments[0];
  if (first == "--help" || first == "-h") {
    parsed.outcome = Parsed::Outcome::Help;
    parsed.text = kUsage;
    return parsed;
  }
  if (first == "--version") {
    parsed.outcome = Parsed::Outcome::Version;
    parsed.text = "ostrel-cli " OSTREL_VERSION "\n";
    return parsed;
  }
  Command which = Command::Now;
  std::size_t index = 0;
  while (index < kCommands.size() && first != kCommands[index]) ++index;
  if (index == kCommands.size())
    return refuse(Quoted(first) + ": not a command; the commands are " + CommandList());
  which = static_cast<Command>(index);

  CLI::App command("ostrel-cli " + first, "ostrel-cli " + first);
  command.allow_extras();
  Options options;
  AddOptions(command, which, options);
  if (const std::optional<std::string> option = EmptyValue(command, arguments.subspan(1)))
    return refuse(*option + ": the value is empty; " + Accepted(which, *option));
  // CLI11 takes the words from the back.
  std::vector<std::string> words(arguments.begin() + 1, arguments.end());
  std::reverse(words.begin(), words.end());
  try {
    command.parse(words);
  } catch (const CLI::CallForHelp &) {
    parsed.outcome = Parsed::Outcome::Help;
    parsed.text = command.help();
    return parsed;
  } catch (const CLI::RequiredError &e) {
    const std::string what = e.what();
    const std::string option = what.substr(0, what.find(' '));
    if ((which == Command::Next || which == Command::Wait) && option == "event")
      return refuse("EVENT is missing: " + first + " needs it; the events are " +
                    EventKeyExamples() + " and the other keys of 'day'");
    if (kAccepted.count(option))
      return refuse(option + " is missing: " + first + " needs it; " + Accepted(which, option));
    return refuse(what);
  } catch (const CLI::ArgumentMismatch &e) {
    const std::string what = e.what();
    const std::string option = what.substr(0, what.find(':'));
    if (kAccepted.count(option)) {
      if (what.find("missing") != std::string::npos)
        return refuse(option + ": its value is missing; " + Accepted(which, option));
      return refuse(option + ": given more than once; " + Accepted(which, option));
    }
    return refuse(what);
  } catch (const CLI::ParseError &e) {
    return refuse(e.what());
  }
  const std::vector<std::string> extras = command.remaining();
  if (!extras.empty() && which == Command::Seasons && extras.front().rfind("--theory", 0) == 0)
    return refuse("--theory: " + kSeasonsTheory);
  if (!extras.empty()) {
    return refuse(Quoted(extras.front()) + ": not an option of '" + first +
                  "'; its options are " + OptionList(command));
  }
  try {
    parsed.request = Check(which, options);
  } catch (const Refusal &refusal) {
    return refuse(refusal.text);
  }
  parsed.outcome = Parsed::Outcome::Run;
  return parsed;
}

} // namespace ostrel::cli
