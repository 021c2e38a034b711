// SPDX-License-Identifier: GPL-3.0-or-later
// The nine commands.  Each asks the core once and hands what it answers to
// one writer per format (text, JSON, CSV): `now` the window's run for the
// typed values (or the Moon's place), `day` and `table` the day's events
// (the Sun's or the Moon's), `path` the body's place through the day,
// `phases` the Moon's quarters, `seasons` a year's equinoxes, solstices and
// apsides, `places` the towns a name may mean, `next` an event's next
// moments, `ics` a range of dates' events as an iCalendar file; `wait` the moment to wait for
// (the sleep itself is the caller's, cli/wait.h).
#include "cli/commands.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "cli/arguments.h"
#include "cli/zone.h"
#include "core/day/azimuth_crossings.h"
#include "core/day/day_events.h"
#include "core/day/day_table.h"
#include "core/events/icalendar.h"
#include "core/events/next_event.h"
#include "core/events/seasons.h"
#include "core/moon/moon_day.h"
#include "core/moon/moon_place.h"
#include "core/moon/moon_quarters.h"
#include "core/observer/observer_day.h"
#include "core/places/places.h"
#include "core/run/ephemeris.h"
#include "core/run/typed_input.h"
#include "core/sun/shadow.h"
#include "core/sun/theory.h"
#include "core/text/numtext.h"

namespace ostrel::cli {
namespace {

using Json = nlohmann::ordered_json;

// Seconds of local noon, where a date's offset is taken.
constexpr int kNoon = 12 * 3600;
// The most towns `places` lists.
constexpr std::size_t kPlacesListed = 20;

// ---- Moments and numbers as text --------------------------------------

// The zone's offset to the minute: "+03:00", "-03:30", "+00:00".
std::string OffsetText(float timezone) {
  const long long minutes = std::llround(double(timezone) * 60);
  const long long magnitude = minutes < 0 ? -minutes : minutes;
  char text[48];
  std::snprintf(text, sizeof text, "%c%02lld:%02lld", minutes < 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return text;
}

std::string IsoMoment(const CivilDate &date, int seconds, float timezone) {
  return DateText(date) + "T" + ClockText(seconds) + OffsetText(timezone);
}

Json MomentJson(const DayMoment &moment, const CivilDate &date, float timezone) {
  return moment.happens() ? Json(IsoMoment(date, moment.seconds, timezone)) : Json(nullptr);
}

// The crossings of the altitudes asked for, the Sun's or the Moon's, with
// why a missing one is missing.
Json AltitudesJson(const std::vector<LevelCrossings> &levels, const CivilDate &date,
                   float timezone) {
  Json altitudes = Json::array();
  for (const LevelCrossings &level : levels) {
    Json entry{{"altitude_deg", level.altitudeDeg},
               {"rising", MomentJson(level.rising, date, timezone)},
               {"setting", MomentJson(level.setting, date, timezone)}};
    Json absent = Json::object();
    if (!level.rising.happens()) absent["rising"] = AbsenceKey(level.rising.absence);
    if (!level.setting.happens()) absent["setting"] = AbsenceKey(level.setting.absence);
    entry["absent"] = absent;
    altitudes.push_back(entry);
  }
  return altitudes;
}

template <typename T>
Json OrNull(const std::optional<T> &value) {
  return value ? Json(*value) : Json(nullptr);
}

Json PolarJson(Polar polar) {
  return polar == Polar::Day ? Json("day") : polar == Polar::Night ? Json("night") : Json(nullptr);
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Shortest(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// The time zone as it was typed and kept in single precision: 5.75, -3.5.
double TimezoneValue(float timezone) { return ParseNumber(NumText(timezone)); }

// "47°00.00′N" from the typed fields.
std::string AngleText(const TypedAngle &angle, char positive, char negative) {
  const double degrees = DecimalDegrees(angle);
  const double magnitude = std::fabs(degrees);
  double whole = std::floor(magnitude);
  double minutes = std::round((magnitude - whole) * 6000) / 100;
  if (minutes >= 60) {
    whole += 1;
    minutes = 0;
  }
  char text[48];
  std::snprintf(text, sizeof text, "%.0f°%05.2f′%c", whole, minutes,
                degrees < 0 ? negative : positive);
  return text;
}

std::string SiteText(const Request &r) {
  std::string town;
  if (r.place) {
    town = std::string(r.place->name) + ", " + std::string(r.place->country) + " (" +
           std::string(r.place->zone) + "), ";
  }
  return town + AngleText(r.latitude, 'N', 'S') + " " + AngleText(r.longitude, 'E', 'W') +
         ", UTC" + OffsetText(r.timezone);
}

std::string TheoryText(const Request &r) {
  return std::string(" (") + TheoryKey(r.theory) + " theory)";
}

Json SiteJson(const Request &r) {
  Json site{{"latitude", DecimalDegrees(r.latitude)},
            {"longitude", DecimalDegrees(r.longitude)},
            {"timezone", TimezoneValue(r.timezone)}};
  if (r.place) {
    site["place"] = Json{{"name", r.place->name},
                         {"country", r.place->country},
                         {"zone", r.place->zone}};
  }
  if (r.observer) {
    // The pressure and temperature in use, defaults included.
    site["observer"] = Json{{"elevation_m", r.observer->elevationM},
                            {"eye_m", r.observer->eyeM},
                            {"pressure_hpa", PressureInUse(*r.observer)},
                            {"temperature_c", r.observer->temperatureC},
                            {"horizon", r.horizonFile.empty() ? Json(nullptr)
                                                              : Json(r.horizonFile)}};
  }
  return site;
}

// The observer for a person, as a line under a title; nothing without one.
std::string ObserverText(const Request &r) {
  if (!r.observer) return "";
  const Observer &o = *r.observer;
  return "Observer: the eye " + NumText(o.elevationM) + " m above sea level and " +
         NumText(o.eyeM) + " m above the ground of its horizon; " +
         Fixed(PressureInUse(o), 1) + " hPa, " + NumText(o.temperatureC) + " °C" +
         (r.horizonFile.empty() ? "" : "; skyline " + r.horizonFile) + "\n";
}

// The observer's horizon, when the request has an observer.
std::optional<ObserverHorizon> HorizonOf(const Request &r) {
  if (!r.observer) return std::nullopt;
  return ObserverHorizon(*r.observer, r.horizon);
}

const char *BodyKey(Body body) { return body == Body::Moon ? "moon" : "sun"; }

// The body's name, as a title or a reason says it.
std::string BodyName(const Request &r) { return r.body == Body::Moon ? "Moon" : "Sun"; }

// What every JSON document of a site begins with; the command adds its own.
Json SiteDocument(const Request &r) {
  return Json{{"body", BodyKey(r.body)}, {"theory", TheoryKey(r.theory)}, {"site", SiteJson(r)}};
}

// The body over the request's site on a date: the Sun from the request's
// theory, or the Moon (whose theory is the precise one).
std::unique_ptr<SunDay> MakeBodyDay(const Request &r, const Site &site, CivilDate date) {
  if (r.body == Body::Moon) return std::make_unique<MoonDay>(site, date);
  return MakeSunDay(r.theory, site, date);
}

// A CSV field: quoted only where it has to be.
std::string CsvField(const std::string &text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// Characters of a UTF-8 text, for aligning columns.
std::size_t DisplayWidth(const std::string &text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80; // not a continuation byte
  }));
}

// `text` and the spaces that fill a column `width` characters wide, at
// least one.
std::string Padded(const std::string &text, std::size_t width) {
  return text + std::string(width - std::min(width - 1, DisplayWidth(text)), ' ');
}

// ---- Writing a command's results -----------------------------------------

// A command's writers, one per format.  `places` has no CSV: the parse
// refuses it there.
template <typename Results>
struct Writers {
  void (*text)(const Request &, const Results &, std::ostream &);
  void (*json)(const Request &, const Results &, std::ostream &);
  void (*csv)(const Request &, const Results &, std::ostream &);
};

template <typename Results>
int Write(const Request &r, const Results &results, const Writers<Results> &writers,
          std::ostream &out) {
  switch (r.format) {
  case Format::Text: writers.text(r, results, out); break;
  case Format::Json: writers.json(r, results, out); break;
  case Format::Csv: writers.csv(r, results, out); break;
  }
  return out ? kDone : kNotWritten;
}

// ---- The local date and moment from the clock ---------------------------

// The local civil moment, to the whole second, of an instant at a zone's
// offset, whatever its year.
LocalMoment LocalMomentAt(float timezone, std::chrono::system_clock::time_point instant) {
  using namespace std::chrono;
  const long long utc = floor<seconds>(instant.time_since_epoch()).count();
  const long long local = utc + std::llround(double(timezone) * 3600);
  long long day = local / 86400;
  long long second = local % 86400;
  if (second < 0) {
    second += 86400;
    day -= 1;
  }
  const CivilDate date = DateOf(sys_days{days{day}});
  const int secondOfDay = int(second);
  return LocalMoment{date, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

// The local civil moment at the site of an instant; none outside the years
// the program computes.
std::optional<LocalMoment> LocalNowAt(float timezone, std::chrono::system_clock::time_point now) {
  const LocalMoment moment = LocalMomentAt(timezone, now);
  if (moment.date.year < 1700 || moment.date.year > 2100) return std::nullopt;
  return moment;
}

// Fixes what the command line leaves open, so that the commands find it
// given: the moment (`now`, `next`, `wait`) or the date (`day`, `path`) from
// the clock, today at the site, and the time zone of a --place without --tz,
// the offset of the town's zone at the moment (`now`, `next`, `wait`), at noon of the date
// (`day`, `path`, `table`'s first date), at 00:00 of `phases`' first date
// (where the range begins) or of 1 January of `seasons`' year.  The clock is read once.  False,
// with the refusal written, when the clock is out of range or the system's time-zone database lacks
// the town's zone.
bool Settle(Request &r, const Clock &clock, std::ostream &err) {
  const bool byZone = r.place && !r.timezoneGiven;
  const bool momentByClock =
      r.command == Command::Now || r.command == Command::Next || r.command == Command::Wait;
  const bool byClock =
      momentByClock ? !r.at : (r.command == Command::Day || r.command == Command::Path) && !r.date;
  const auto lacking = [&] {
    err << "ostrel-cli: the system's time-zone database has no zone " << r.place->zone
        << " (of --place " << r.place->name << "); update tzdata or give --tz\n";
    return false;
  };
  std::optional<float> offset;
  if (byClock) {
    const auto instant = clock();
    if (byZone) {
      offset = OffsetAt(r.place->zone, instant);
      if (!offset) return lacking();
    }
    const std::optional<LocalMoment> now = LocalNowAt(offset.value_or(r.timezone), instant);
    if (!now) {
      err << "ostrel-cli: the computer's clock is outside the years 1700 to 2100\n";
      return false;
    }
    if (momentByClock) {
      r.at = now;
    } else {
      r.date = now->date;
    }
  }
  if (!byZone) return true;
  // `now`, `next` and `wait` from the clock have the offset of the clock's
  // instant already.
  if (momentByClock) {
    if (!byClock)
      offset = OffsetAtLocal(r.place->zone, r.at->date, SecondsOfDay(*r.at));
  } else if (r.command == Command::Phases) {
    offset = OffsetAtLocal(r.place->zone, r.from, 0);
  } else if (r.command == Command::Seasons) {
    offset = OffsetAtLocal(r.place->zone, CivilDate{r.year, 1, 1}, 0);
  } else {
    const bool range = r.command == Command::Table || r.command == Command::Ics;
    offset = OffsetAtLocal(r.place->zone, range ? r.from : *r.date, kNoon);
  }
  if (!offset) return lacking();
  r.timezone = *offset;
  return true;
}

// ---- Why an event is missing ------------------------------------------

// Degrees to 0.001 with the sign: "+6°", "-0.831°".
std::string LevelText(double altitudeDeg) {
  std::string text = NumText(std::round(altitudeDeg * 1000) / 1000);
  return (altitudeDeg > 0 ? "+" : "") + text + "°";
}

std::string WhyMissing(Absence absence, const std::string &level, const std::string &body) {
  switch (absence) {
  case Absence::AlwaysAbove: return "the " + body + " stays above " + level + " all day";
  case Absence::AlwaysBelow: return "the " + body + " stays below " + level + " all day";
  case Absence::OtherDate: return "it falls on the day before or after";
  case Absence::None: break;
  }
  return "";
}

// "HH:MM:SS", or the placeholder and why the moment is missing; `level`
// names the altitude crossed ("+6°", "the horizon").
std::string MomentOrWhy(const DayMoment &moment, const std::string &level,
                        const std::string &body = "Sun") {
  return moment.happens() ? ClockText(moment.seconds)
                          : "--:--:--  " + WhyMissing(moment.absence, level, body);
}

std::string MomentOrWhy(const DayMoment &moment, double levelDeg) {
  return MomentOrWhy(moment, LevelText(levelDeg));
}

// ---- now ----------------------------------------------------------------

struct NowResults {
  LocalMoment moment;
  SunReport texts; // the window's result texts
  // The unrounded values, each key naming its unit; none where a value
  // does not exist (the shadow with the Sun below the horizon).
  std::vector<std::pair<const char *, std::optional<double>>> values;
};

NowResults FindNow(const Request &r) {
  const LocalMoment &moment = *r.at;
  const Site site = SiteOf(r);
  Ephemeris run;
  SetSite(run.state, site.LongHours, site.LatRad, site.Timezon);
  run.state.AzimuthMode = r.azimuthMode;
  run.theory = r.theory;
  SetTypedMoment(run.state, moment.date.year, moment.date.month, moment.date.day, moment.hour,
                 moment.minute, moment.second);
  run.MAINCALC();
  const double hours = (double(moment.minute) / 60 + moment.hour) + double(moment.second) / 3600;
  const SunPlace place = MakeSunDay(r.theory, site, moment.date)->PlaceAt(hours);
  const std::optional<Shadow> shadow = ShadowOf(ApparentAltitude(place.altitudeDeg), place.azimuthDeg);
  return {moment,
          run.report,
          {
              {"julian_date", place.julDay + 2400000},
              {"right_ascension_h", place.rightAscensionHours},
              {"declination_deg", place.declinationDeg},
              {"ecliptic_longitude_deg", place.eclipticLongitudeDeg},
              {"distance_au", place.distanceAU},
              {"local_sidereal_time_h", place.localSiderealHours},
              {"hour_angle_h", place.hourAngleHours},
              {"altitude_true_deg", place.altitudeDeg},
              {"altitude_apparent_deg", ApparentAltitude(place.altitudeDeg)},
              {"azimuth_deg", place.azimuthDeg},
              {"equation_of_time_min", run.state.EquationOfTime * 60},
              {"shadow_ratio", shadow ? std::optional(shadow->ratio) : std::nullopt},
              {"shadow_azimuth_deg", shadow ? std::optional(shadow->azimuthDeg) : std::nullopt},
          }};
}

// With an observer, the apparent altitude by its air's refraction as well.
NowResults FindObserverNow(const Request &r) {
  NowResults now = FindNow(r);
  if (r.observer) {
    const auto trueAltitude = std::find_if(now.values.begin(), now.values.end(), [](const auto &v) {
      return std::string_view(v.first) == "altitude_true_deg";
    });
    now.values.emplace_back("altitude_apparent_observer_deg",
                            ObserverApparentAltitudeDeg(*trueAltitude->second, *r.observer));
  }
  return now;
}

std::string NowMoment(const Request &r, const NowResults &now) {
  return IsoMoment(now.moment.date, SecondsOfDay(now.moment), r.timezone);
}

void NowJson(const Request &r, const NowResults &now, std::ostream &out) {
  Json texts = Json::object();
  for (const auto &[name, text] : SunReport::Labels) texts[name] = now.texts.*text;
  Json values = Json::object();
  for (const auto &[key, value] : now.values) values[key] = OrNull(value);
  Json document = SiteDocument(r);
  document["moment"] = NowMoment(r, now);
  document["texts"] = texts;
  document["values"] = values;
  out << document.dump(2) << '\n';
}

void NowCsv(const Request &r, const NowResults &now, std::ostream &out) {
  std::string header = "moment", row = NowMoment(r, now);
  for (const auto &[name, text] : SunReport::Labels) {
    header += std::string(",") + name;
    row += "," + CsvField(now.texts.*text);
  }
  for (const auto &[key, value] : now.values) {
    header += std::string(",") + key;
    row += "," + (value ? Shortest(*value) : "");
  }
  out << header << '\n' << row << '\n';
}

// The window's placeholders ("--", "--------", "- - - - - -") stand for a
// value that does not exist: they take no unit.
bool IsPlaceholder(const std::string &text) {
  return text.rfind('-', 0) == 0 && text.find_first_of("0123456789") == std::string::npos;
}

// Texts joined with their units, or the first text's placeholder alone.
std::string WithUnits(std::initializer_list<std::pair<std::string, const char *>> parts) {
  if (IsPlaceholder(parts.begin()->first)) return parts.begin()->first;
  std::string text;
  for (const auto &[value, unit] : parts) text += value + unit;
  return text;
}

void NowText(const Request &r, const NowResults &now, std::ostream &out) {
  const SunReport &texts = now.texts;
  const char *azimuthCaption = r.azimuthMode == FromNorth   ? "Azimuth (from north)"
                               : r.azimuthMode == FromSouth ? "Azimuth (from south)"
                                                            : "Azimuth (signed, from south)";
  const std::string declinationSign = texts.Label33.empty() ? "+" : texts.Label33;
  const std::pair<std::string, std::string> lines[] = {
      {"Day of Year", texts.DOY},
      {"Julian date (modified)", texts.JulianDate},
      {"Sidereal Time",
       WithUnits({{texts.SidHour, " h "}, {texts.SidMin, " min "}, {texts.SidSec, " s"}})},
      {"Longitude (ecliptic)", WithUnits({{texts.LongSun, "°"}})},
      {"Right Ascension",
       WithUnits({{texts.RAHour, " h "}, {texts.RAMin, " min "}, {texts.RASec, " s"}})},
      {"Declination", WithUnits({{declinationSign + texts.DeclGrad, "° "},
                                 {texts.DeclMin, "′ "},
                                 {texts.DeclSec, "″"}})},
      {"Altitude, True", WithUnits({{texts.AltTrue, "°"}})},
      {"Altitude, App.", WithUnits({{texts.AltApp, "°"}})},
      {"Zenith angle, True", WithUnits({{texts.ZenTrue, "°"}})},
      {"Zenith angle, App.", WithUnits({{texts.ZenApp, "°"}})},
      {azimuthCaption, WithUnits({{texts.AzimTrue, "°"}})},
      {"Airmass", texts.Airmass},
      {"Distance from Earth", WithUnits({{texts.DistAU, " AU, "}, {texts.Distkm, " km"}})},
      {"Sun's angular diameter", WithUnits({{texts.DiamMin, "′ "}, {texts.DiamSec, "″"}})},
      {"Upper culmination time", WithUnits({{texts.CulmHour, " h "}, {texts.CulmMin, " min"}})},
      {"Max.True altitude", WithUnits({{texts.AltMax, "°"}})},
      {"Equation of time in local noon", WithUnits({{texts.EquMin, " min"}})},
      {"Sunrise", WithUnits({{texts.RiseHour, " h "},
                             {texts.RiseMin, " min, azimuth "},
                             {texts.RiseAzim, "°"}})},
      {"Sunset", WithUnits({{texts.SetHour, " h "},
                            {texts.SetMin, " min, azimuth "},
                            {texts.SetAzim, "°"}})},
      {"Duration of day", WithUnits({{texts.DurHour, " h "}, {texts.DurMin, " min"}})},
  };
  out << "The Sun at " << DateText(now.moment.date) << " " << ClockText(SecondsOfDay(now.moment))
      << " UTC" << OffsetText(r.timezone) << ", " << AngleText(r.latitude, 'N', 'S') << " "
      << AngleText(r.longitude, 'E', 'W') << TheoryText(r) << "\n" << ObserverText(r) << "\n";
  for (const auto &[caption, value] : lines) out << Padded(caption, 32) << value << '\n';
  if (r.observer) {
    // The last value: FindObserverNow's.
    out << Padded("Altitude, App. (observer's air)", 32)
        << Fixed(*now.values.back().second, 4) << "°\n";
  }
}

// ---- day ------------------------------------------------------------------

// The list's rows with this day's moments and the horizon's altitude.
struct EventRow {
  const char *key;     // as JSON and the day window name it
  const char *caption; // for a person
  DayMoment moment;
  double levelDeg;     // the altitude it crosses, degrees
  // Sunrise and sunset over an observer's horizon, whose level changes
  // with the azimuth: levelDeg is then the Sun's altitude at the moment.
  bool observerHorizon = false;
};

struct DayResults {
  CivilDate date;
  DayEvents events;
  std::vector<EventRow> rows;
  std::vector<AzimuthCrossings> azimuths; // one per --azimuth, in its order
  double seaLevelSinAltitude = 0;         // the theory's horizon, without an observer
};

DayResults FindDay(const Request &r) {
  const std::unique_ptr<SunDay> day = MakeSunDay(r.theory, SiteOf(r), *r.date);
  const std::optional<ObserverHorizon> horizon = HorizonOf(r);
  DayResults results{*r.date,
                     horizon ? FindObserverDayEvents(r.theory, SiteOf(r), *r.date, *horizon,
                                                     r.altitudes)
                             : FindDayEvents(*day, r.altitudes),
                     {},
                     {}};
  const double horizonDeg = std::asin(day->HorizonSinAltitude()) / kRad;
  const auto table = DayEventRows();
  std::transform(table.begin(), table.end(), std::back_inserter(results.rows),
                 [&](const DayEventRow &row) {
                   EventRow event{row.key, row.english, row.moment(results.events),
                                  std::isnan(row.levelDeg) ? horizonDeg : row.levelDeg};
                   if (horizon && std::isnan(row.levelDeg)) {
                     event.observerHorizon = true;
                     event.levelDeg = event.moment.happens()
                                          ? day->PlaceAt(event.moment.seconds / 3600.0).altitudeDeg
                                          : 0;
                   }
                   return event;
                 });
  for (double azimuthDeg : r.azimuths) results.azimuths.push_back(FindAzimuthCrossings(*day, azimuthDeg));
  results.seaLevelSinAltitude = day->HorizonSinAltitude();
  return results;
}

bool IsCulmination(const EventRow &row) { return std::string_view(row.key) == "culmination"; }

void DayJson(const Request &r, const DayResults &day, std::ostream &out) {
  const DayEvents &e = day.events;
  const auto at = [&](const DayMoment &m) { return MomentJson(m, day.date, r.timezone); };
  // The moments the table has, under its names, then the golden and blue
  // hours as [start, end].
  Json events = Json::object();
  for (const TableColumn &column : TableColumnList()) {
    if (column.value == TableValue::Moment) events[column.name] = at(column.moment(e));
  }
  for (const auto &[key, interval] : {std::pair{"morning_golden_hour", &e.morningGoldenHour},
                                      std::pair{"evening_golden_hour", &e.eveningGoldenHour},
                                      std::pair{"morning_blue_hour", &e.morningBlueHour},
                                      std::pair{"evening_blue_hour", &e.eveningBlueHour}}) {
    events[key] = Json::array({at((*interval)[0]), at((*interval)[1])});
  }
  Json absent = Json::object();
  for (const EventRow &row : day.rows) {
    if (!row.moment.happens()) absent[row.key] = AbsenceKey(row.moment.absence);
  }
  const Json altitudes = AltitudesJson(e.altitudes, day.date, r.timezone);
  Json document = SiteDocument(r);
  document["date"] = DateText(day.date);
  document["polar"] = PolarJson(e.polar);
  document["events"] = events;
  document["culmination_altitude_deg"] = OrNull(e.culminationAltitudeDeg);
  document["day_length_s"] = OrNull(e.dayLengthSeconds);
  document["altitudes"] = altitudes;
  document["absent"] = absent;
  Json azimuths = Json::array();
  for (const AzimuthCrossings &azimuth : day.azimuths) {
    Json moments = Json::array(), altitudesDeg = Json::array();
    for (const AzimuthPassage &passage : azimuth.passages) {
      moments.push_back(IsoMoment(day.date, passage.seconds, r.timezone));
      altitudesDeg.push_back(passage.altitudeDeg);
    }
    azimuths.push_back(
        {{"azimuth_deg", azimuth.azimuthDeg}, {"moments", moments}, {"altitudes_deg", altitudesDeg}});
  }
  document["azimuths"] = azimuths;
  if (e.observer) {
    Json visible = Json::array();
    std::transform(e.observer->visible.begin(), e.observer->visible.end(),
                   std::back_inserter(visible), [&at](const VisibleSpan &span) {
                     return Json{{"rising", at(span.rising)}, {"setting", at(span.setting)}};
                   });
    document["visible"] = visible;
    document["direct_sun_s"] = e.observer->directSunSeconds;
    document["sea_level"] = {{"sunrise", at(e.observer->seaLevelSunrise)},
                             {"sunset", at(e.observer->seaLevelSunset)}};
  }
  out << document.dump(2) << '\n';
}

// "180°", "93.5°": an azimuth as asked, to 0.001 degree.
std::string AzimuthText(double azimuthDeg) {
  return NumText(std::round(azimuthDeg * 1000) / 1000) + "°";
}

void DayCsv(const Request &, const DayResults &day, std::ostream &out) {
  const DayEvents &e = day.events;
  const auto time = [](const DayMoment &m) { return m.happens() ? ClockText(m.seconds) : ""; };
  // A last column, the azimuth, only when azimuths are asked for: it is
  // the azimuth rows' alone, and a file without them stays as it was.
  const bool azimuths = !day.azimuths.empty();
  const char *rowEnd = azimuths ? ",\n" : "\n";
  out << "event,time,altitude_deg,absent" << (azimuths ? ",azimuth_deg\n" : "\n");
  for (const EventRow &row : day.rows) {
    // The culmination's altitude is the Sun's there, not a level crossed.
    const bool culmination = IsCulmination(row);
    const double level = culmination && e.culminationAltitudeDeg ? *e.culminationAltitudeDeg
                                                                  : row.levelDeg;
    const bool noLevel = (culmination && !e.culminationAltitudeDeg) ||
                         (row.observerHorizon && !row.moment.happens());
    out << row.key << ',' << time(row.moment) << ',' << (noLevel ? "" : Fixed(level, 6)) << ','
        << AbsenceKey(row.moment.absence) << rowEnd;
  }
  out << "day_length," << DayLengthText(e) << ",," << rowEnd;
  if (e.observer) {
    // Each crossing of the observer's horizon, the time of direct sun, and
    // sea level's sunrise and sunset at the theory's horizon.
    for (const VisibleSpan &span : e.observer->visible) {
      for (const auto &[key, m] : {std::pair{"visible_rising", span.rising},
                                   std::pair{"visible_setting", span.setting}}) {
        out << key << ',' << time(m) << ",," << AbsenceKey(m.absence) << rowEnd;
      }
    }
    out << "direct_sun," << ClockText(e.observer->directSunSeconds) << ",," << rowEnd;
    const double seaLevelDeg = std::asin(day.seaLevelSinAltitude) / kRad;
    for (const auto &[key, m] : {std::pair{"sea_level_sunrise", e.observer->seaLevelSunrise},
                                 std::pair{"sea_level_sunset", e.observer->seaLevelSunset}}) {
      out << key << ',' << time(m) << ',' << Fixed(seaLevelDeg, 6) << ','
          << AbsenceKey(m.absence) << rowEnd;
    }
  }
  for (const LevelCrossings &level : e.altitudes) {
    for (const auto &[key, m] : {std::pair{"altitude_rising", level.rising},
                                 std::pair{"altitude_setting", level.setting}}) {
      out << key << ',' << time(m) << ',' << Fixed(level.altitudeDeg, 6) << ','
          << AbsenceKey(m.absence) << rowEnd;
    }
  }
  // A row a passage, with the Sun's altitude there; an azimuth not passed
  // on the date has one row, its time and altitude empty.
  for (const AzimuthCrossings &azimuth : day.azimuths) {
    const std::string azimuthDeg = Fixed(azimuth.azimuthDeg, 6);
    if (azimuth.passages.empty()) out << "azimuth_crossing,,,not_passed," << azimuthDeg << '\n';
    for (const AzimuthPassage &passage : azimuth.passages) {
      out << "azimuth_crossing," << ClockText(passage.seconds) << ','
          << Fixed(passage.altitudeDeg, 6) << ",," << azimuthDeg << '\n';
    }
  }
}

void DayText(const Request &r, const DayResults &day, std::ostream &out) {
  const DayEvents &e = day.events;
  out << "The Sun's day at " << SiteText(r) << ", " << DateText(day.date) << TheoryText(r) << "\n"
      << ObserverText(r);
  const char *horizonName = e.observer ? "the observer's horizon" : "the horizon";
  if (e.polar == Polar::Day) out << "Polar day: the Sun stays above " << horizonName << " all day.\n";
  if (e.polar == Polar::Night) out << "Polar night: the Sun stays below " << horizonName << " all day.\n";
  out << '\n';
  const auto line = [&out](const std::string &caption, const std::string &value) {
    out << Padded(caption, 30) << value << '\n';
  };
  for (const EventRow &row : day.rows) {
    std::string value = row.observerHorizon ? MomentOrWhy(row.moment, horizonName)
                                            : MomentOrWhy(row.moment, row.levelDeg);
    if (row.moment.happens() && IsCulmination(row) && e.culminationAltitudeDeg)
      value += "  altitude " + Fixed(*e.culminationAltitudeDeg, 2) + "°";
    line(row.caption, value);
  }
  line("Duration of day", e.dayLengthSeconds ? DayLengthText(e)
                                             : "--:--:--  sunrise and sunset do not frame one day");
  if (e.observer) {
    for (const VisibleSpan &span : e.observer->visible) {
      line("Visible rising", MomentOrWhy(span.rising, horizonName));
      line("Visible setting", MomentOrWhy(span.setting, horizonName));
    }
    line("Direct sun", ClockText(e.observer->directSunSeconds));
    const double seaLevelDeg = std::asin(day.seaLevelSinAltitude) / kRad;
    line("Sunrise at sea level", MomentOrWhy(e.observer->seaLevelSunrise, seaLevelDeg));
    line("Sunset at sea level", MomentOrWhy(e.observer->seaLevelSunset, seaLevelDeg));
  }
  for (const LevelCrossings &level : e.altitudes) {
    const std::string name = "Sun at " + LevelText(level.altitudeDeg);
    line(name + ", rising", MomentOrWhy(level.rising, level.altitudeDeg));
    line(name + ", setting", MomentOrWhy(level.setting, level.altitudeDeg));
  }
  for (const AzimuthCrossings &azimuth : day.azimuths) {
    const std::string name = "Sun at azimuth " + AzimuthText(azimuth.azimuthDeg);
    if (azimuth.passages.empty()) line(name, "--:--:--  the Sun does not pass it on this date");
    for (const AzimuthPassage &passage : azimuth.passages)
      line(name, ClockText(passage.seconds) + "  altitude " + Fixed(passage.altitudeDeg, 2) + "°");
  }
}

// ---- table ----------------------------------------------------------------

// One date of the table with its events and the offset in force.
struct TableDay {
  CivilDate date;
  float timezone; // hours
  DayEvents events;
};

TableDay FindTableDay(const Request &r, const Site &site, CivilDate date) {
  return {date, site.Timezon,
          FindDayEvents(*MakeSunDay(r.theory, site, date), {}, DayEventSet::Twilights)};
}

// The same for the request's observer (Request::observer set).
TableDay FindObserverTableDay(const Request &r, const Site &site, CivilDate date) {
  const ObserverHorizon horizon(*r.observer, r.horizon);
  return {date, site.Timezon,
          FindObserverDayEvents(r.theory, site, date, horizon, {}, DayEventSet::Twilights)};
}

// The finder of a table's dates: with the observer's horizon or without.
TableDay (*TableDayFinder(const Request &r))(const Request &, const Site &, CivilDate) {
  return r.observer ? FindObserverTableDay : FindTableDay;
}

// Writes the table's rows, the text `row(day, first)` of each date from
// --from to --to, found by `find` for the date's site (its offset in force)
// as it is written: the whole range is 146,462 dates.  The rows go out in
// chunks, and output that fails stops the work; false then.
template <typename Day>
bool WriteTableRows(const Request &r, std::ostream &out,
                    Day (*find)(const Request &, const Site &, CivilDate),
                    std::string (*row)(const Day &, bool first)) {
  using namespace std::chrono;
  const Site site = SiteOf(r);
  const sys_days first = DaysOf(r.from), last = DaysOf(r.to);
  std::string chunk;
  for (sys_days d = first; d <= last; d += days{1}) {
    const CivilDate date = DateOf(d);
    Site dateSite = site;
    if (r.place && !r.timezoneGiven) {
      // The zone is known: it gave the first date's offset.
      dateSite.Timezon = OffsetAtLocal(r.place->zone, date, kNoon).value_or(site.Timezon);
    }
    chunk += row(find(r, dateSite, date), d == first);
    if (chunk.size() > (1 << 15)) {
      if (!out.write(chunk.data(), std::streamsize(chunk.size()))) return false;
      chunk.clear();
    }
  }
  return bool(out.write(chunk.data(), std::streamsize(chunk.size())));
}

// The table's JSON up to its first row: what SiteDocument gives, written by
// hand so that the rows can follow as they are computed.
void TableJsonStart(const Request &r, std::ostream &out) {
  out << "{\n  \"body\": \"" << BodyKey(r.body) << "\",\n  \"theory\": \"" << TheoryKey(r.theory)
      << "\",\n  \"site\": " << SiteJson(r).dump() << ",\n  \"from\": \"" << DateText(r.from)
      << "\",\n  \"to\": \"" << DateText(r.to) << "\",\n  \"days\": [";
}

void TableText(const Request &r, const Request &, std::ostream &out) {
  out << "The Sun's days at " << SiteText(r) << TheoryText(r) << ", local times\n"
      << ObserverText(r) << "\n"
      << "date        sunrise   sunset    culmin.   day       " << (r.observer ? "direct    " : "")
      << "civil dawn/dusk     nautical dawn/dusk  astron. dawn/dusk   culm. alt.\n";
  const auto row = [](const TableDay &day, bool) {
    const auto fields = TableFields(day.date, day.events, TableColumnList(bool(day.events.observer)));
    std::string line = fields[0] + "  ";
    for (std::size_t i = 1; i + 1 < fields.size(); ++i)
      line += (fields[i].empty() ? std::string("--:--:--") : fields[i]) + "  ";
    return line + fields.back() + '\n';
  };
  WriteTableRows<TableDay>(r, out, TableDayFinder(r), row);
}

void TableJson(const Request &r, const Request &, std::ostream &out) {
  TableJsonStart(r, out);
  const auto row = [](const TableDay &day, bool first) {
    const DayEvents &e = day.events;
    Json json;
    for (const TableColumn &column : TableColumnList(bool(e.observer))) {
      switch (column.value) {
      case TableValue::Date:
        json[column.name] = DateText(day.date);
        // A polar day or night, which the CSV leaves to its empty times.
        json["polar"] = PolarJson(e.polar);
        break;
      case TableValue::Moment:
        json[column.name] = MomentJson(column.moment(e), day.date, day.timezone);
        break;
      case TableValue::DayLength:
        json[std::string(column.name) + "_s"] = OrNull(e.dayLengthSeconds);
        break;
      case TableValue::Culmination:
        json[std::string(column.name) + "_deg"] = OrNull(e.culminationAltitudeDeg);
        break;
      case TableValue::DirectSun:
        json[std::string(column.name) + "_s"] = e.observer->directSunSeconds;
        break;
      }
    }
    return (first ? "\n    " : ",\n    ") + json.dump();
  };
  if (WriteTableRows<TableDay>(r, out, TableDayFinder(r), row)) out << "\n  ]\n}\n";
}

void TableCsv(const Request &r, const Request &, std::ostream &out) {
  out << TableCsvHeader(TableColumnList(r.observer.has_value()));
  WriteTableRows<TableDay>(r, out, TableDayFinder(r), [](const TableDay &day, bool) {
    return TableCsvRow(day.date, day.events, TableColumnList(bool(day.events.observer)));
  });
}

// ---- path -----------------------------------------------------------------

struct PathPoint {
  int minutes; // from 00:00 of the date
  double altitudeDeg, apparentAltitudeDeg, azimuthDeg;
  std::optional<Shadow> shadow; // the Sun's, above the horizon
  // With an observer: the apparent altitude by its air's refraction, and
  // its horizon's apparent altitude at the Sun's azimuth.
  double observerApparentDeg = 0, horizonDeg = 0;
};

struct PathResults {
  CivilDate date;
  bool shadows; // the Sun's path has them; the Moon's has not
  std::vector<PathPoint> points;
};

PathResults FindPath(const Request &r) {
  const std::unique_ptr<SunDay> day = MakeBodyDay(r, SiteOf(r), *r.date);
  PathResults path{*r.date, r.body == Body::Sun, {}};
  const std::optional<ObserverHorizon> horizon = HorizonOf(r);
  for (int minutes = 0; minutes <= 1440; minutes += r.stepMinutes) {
    const SunPlace place = day->PlaceAt(minutes / 60.0);
    const double apparent = ApparentAltitude(place.altitudeDeg);
    path.points.push_back({minutes, place.altitudeDeg, apparent, place.azimuthDeg,
                           path.shadows ? ShadowOf(apparent, place.azimuthDeg) : std::nullopt});
    if (horizon) {
      path.points.back().observerApparentDeg =
          ObserverApparentAltitudeDeg(place.altitudeDeg, horizon->observer());
      path.points.back().horizonDeg = horizon->ApparentAltitudeDeg(place.azimuthDeg);
    }
  }
  return path;
}

// "HH:MM", 24:00 for the end of the date.
std::string PathTime(int minutes) {
  char time[24];
  std::snprintf(time, sizeof time, "%02d:%02d", minutes / 60, minutes % 60);
  return time;
}

void PathJson(const Request &r, const PathResults &path, std::ostream &out) {
  Json points = Json::array();
  std::transform(path.points.begin(), path.points.end(), std::back_inserter(points),
                 [&path, &r](const PathPoint &p) {
                   Json point{{"time", PathTime(p.minutes)},
                              {"altitude_true_deg", p.altitudeDeg},
                              {"altitude_apparent_deg", p.apparentAltitudeDeg},
                              {"azimuth_deg", p.azimuthDeg}};
                   if (path.shadows) {
                     point["shadow_ratio"] = p.shadow ? Json(p.shadow->ratio) : Json(nullptr);
                     point["shadow_azimuth_deg"] =
                         p.shadow ? Json(p.shadow->azimuthDeg) : Json(nullptr);
                   }
                   if (r.observer) {
                     point["altitude_apparent_observer_deg"] = p.observerApparentDeg;
                     point["horizon_deg"] = p.horizonDeg;
                   }
                   return point;
                 });
  Json document = SiteDocument(r);
  document["date"] = DateText(path.date);
  document["step_min"] = r.stepMinutes;
  document["points"] = points;
  out << document.dump(2) << '\n';
}

void PathCsv(const Request &r, const PathResults &path, std::ostream &out) {
  out << "time,altitude_true,altitude_apparent,azimuth"
      << (path.shadows ? ",shadow_ratio,shadow_azimuth" : "")
      << (r.observer ? ",altitude_apparent_observer,horizon" : "") << '\n';
  for (const PathPoint &p : path.points) {
    out << PathTime(p.minutes) << ',' << Fixed(p.altitudeDeg, 6) << ','
        << Fixed(p.apparentAltitudeDeg, 6) << ',' << Fixed(p.azimuthDeg, 6);
    if (path.shadows) {
      out << ',' << (p.shadow ? Fixed(p.shadow->ratio, 6) : "") << ','
          << (p.shadow ? Fixed(p.shadow->azimuthDeg, 6) : "");
    }
    if (r.observer) out << ',' << Fixed(p.observerApparentDeg, 6) << ',' << Fixed(p.horizonDeg, 6);
    out << '\n';
  }
}

void PathText(const Request &r, const PathResults &path, std::ostream &out) {
  out << "The " << BodyName(r) << "'s path at " << SiteText(r) << ", " << DateText(path.date) << TheoryText(r)
      << "\n" << ObserverText(r) << "\n"
      << "time    altitude true  altitude app.  azimuth (from north)"
      << (path.shadows ? "  shadow ratio  shadow azimuth" : "")
      << (r.observer ? "  observer's app.  horizon" : "") << '\n';
  for (const PathPoint &p : path.points) {
    char line[160];
    std::snprintf(line, sizeof line, "%s  %12.3f°  %12.3f°  %12.3f°",
                  PathTime(p.minutes).c_str(), p.altitudeDeg, p.apparentAltitudeDeg, p.azimuthDeg);
    out << line;
    if (path.shadows) {
      // Under the header's words: the azimuth's column is 8 characters
      // wider than its numbers.
      if (p.shadow) {
        std::snprintf(line, sizeof line, "%8s  %12.3f  %13.3f°", "", p.shadow->ratio,
                      p.shadow->azimuthDeg);
      } else {
        std::snprintf(line, sizeof line, "%8s  %12s  %14s", "", "--", "--");
      }
      out << line;
    }
    if (r.observer) {
      std::snprintf(line, sizeof line, "  %14.3f°  %6.3f°", p.observerApparentDeg, p.horizonDeg);
      out << line;
    }
    out << '\n';
  }
}

// ---- The Moon: now --------------------------------------------------------

// One value of the Moon's place: its key (JSON, CSV, naming its unit), its
// caption and unit for a person, and how it is read from the core's record.
// The phase, a name and not a number, has no reader.
struct MoonValue {
  const char *key;
  const char *caption;
  const char *unit;
  int decimals;
  double (*value)(const MoonPlace &);
};

const MoonValue kMoonValues[] = {
    {"right_ascension_h", "Right Ascension", " h", 6,
     [](const MoonPlace &p) { return p.rightAscensionHours; }},
    {"declination_deg", "Declination", "°", 5, [](const MoonPlace &p) { return p.declinationDeg; }},
    {"ecliptic_longitude_deg", "Longitude (ecliptic)", "°", 5,
     [](const MoonPlace &p) { return p.eclipticLongitudeDeg; }},
    {"ecliptic_latitude_deg", "Latitude (ecliptic)", "°", 5,
     [](const MoonPlace &p) { return p.eclipticLatitudeDeg; }},
    {"distance_km", "Distance from Earth's centre", " km", 1,
     [](const MoonPlace &p) { return p.geocentricDistanceKm; }},
    {"topocentric_distance_km", "Distance from the site", " km", 1,
     [](const MoonPlace &p) { return p.topocentricDistanceKm; }},
    {"horizontal_parallax_deg", "Horizontal parallax", "°", 5,
     [](const MoonPlace &p) { return p.horizontalParallaxDeg; }},
    {"semi_diameter_arcmin", "Semi-diameter", "′", 3,
     [](const MoonPlace &p) { return p.semiDiameterDeg * 60; }},
    {"altitude_true_deg", "Altitude, True", "°", 3, [](const MoonPlace &p) { return p.altitudeDeg; }},
    {"altitude_apparent_deg", "Altitude, App.", "°", 3,
     [](const MoonPlace &p) { return p.apparentAltitudeDeg; }},
    {"azimuth_deg", "Azimuth (from north)", "°", 3, [](const MoonPlace &p) { return p.azimuthDeg; }},
    {"illuminated_fraction", "Illuminated fraction", "", 4,
     [](const MoonPlace &p) { return p.illuminatedFraction; }},
    {"phase_angle_deg", "Phase angle", "°", 3, [](const MoonPlace &p) { return p.phaseAngleDeg; }},
    {"elongation_deg", "Elongation from the Sun", "°", 3,
     [](const MoonPlace &p) { return p.elongationDeg; }},
    {"age_days", "Age (since new moon)", " days", 3, [](const MoonPlace &p) { return p.ageDays; }},
    {"phase", "Phase", "", 0, nullptr},
    {"bright_limb_angle_deg", "Position angle of bright limb", "°", 3,
     [](const MoonPlace &p) { return p.brightLimbAngleDeg; }},
};

struct MoonNowResults {
  LocalMoment moment;
  MoonPlace place;
};

MoonNowResults FindMoonNow(const Request &r) {
  const LocalMoment &moment = *r.at;
  const Site site = SiteOf(r);
  const double hours = double(SecondsOfDay(moment)) / 3600;
  const MoonDay day(site, moment.date);
  return {moment, MoonPlaceAt(site, day.JulianDateUt(hours))};
}

Json MoonValueJson(const MoonValue &value, const MoonPlace &place) {
  return value.value ? Json(value.value(place)) : Json(NamesOf(place.phase).key);
}

void MoonNowJson(const Request &r, const MoonNowResults &now, std::ostream &out) {
  Json values = Json::object();
  for (const MoonValue &value : kMoonValues) values[value.key] = MoonValueJson(value, now.place);
  Json document = SiteDocument(r);
  document["moment"] = IsoMoment(now.moment.date, SecondsOfDay(now.moment), r.timezone);
  document["values"] = values;
  out << document.dump(2) << '\n';
}

void MoonNowCsv(const Request &r, const MoonNowResults &now, std::ostream &out) {
  std::string header = "moment", row = IsoMoment(now.moment.date, SecondsOfDay(now.moment), r.timezone);
  for (const MoonValue &value : kMoonValues) {
    header += std::string(",") + value.key;
    row += "," + (value.value ? Shortest(value.value(now.place)) : NamesOf(now.place.phase).key);
  }
  out << header << '\n' << row << '\n';
}

void MoonNowText(const Request &r, const MoonNowResults &now, std::ostream &out) {
  out << "The Moon at " << DateText(now.moment.date) << " " << ClockText(SecondsOfDay(now.moment))
      << " UTC" << OffsetText(r.timezone) << ", " << AngleText(r.latitude, 'N', 'S') << " "
      << AngleText(r.longitude, 'E', 'W') << TheoryText(r) << "\n\n";
  for (const MoonValue &value : kMoonValues) {
    const std::string text = value.value ? Fixed(value.value(now.place), value.decimals) + value.unit
                                         : NamesOf(now.place.phase).english;
    out << Padded(value.caption, 32) << text << '\n';
  }
}

// ---- The Moon: day ----------------------------------------------------------

// The Moon's events of a date, in the order every writer lists them.
struct MoonEventRow {
  const char *key;     // JSON, CSV
  const char *caption; // for a person
  DayMoment MoonDayEvents::*moment;
};

const MoonEventRow kMoonEventRows[] = {
    {"moonrise", "Moonrise", &MoonDayEvents::moonrise},
    {"moonset", "Moonset", &MoonDayEvents::moonset},
    {"transit", "Upper transit", &MoonDayEvents::transit},
};

struct MoonDayResults {
  CivilDate date;
  MoonDayEvents events;
  MoonPlace noon; // at 12:00 local civil time of the date
};

MoonDayResults FindMoonDay(const Request &r) {
  const MoonDay day(SiteOf(r), *r.date);
  return {*r.date, FindMoonDayEvents(day, r.altitudes), MoonPlaceAt(day.site(), day.JulianDateUt(12))};
}

void MoonDayJson(const Request &r, const MoonDayResults &day, std::ostream &out) {
  const MoonDayEvents &e = day.events;
  const auto at = [&](const DayMoment &m) { return MomentJson(m, day.date, r.timezone); };
  Json events = Json::object(), absent = Json::object();
  for (const MoonEventRow &row : kMoonEventRows) {
    events[row.key] = at(e.*row.moment);
    if (!(e.*row.moment).happens()) absent[row.key] = AbsenceKey((e.*row.moment).absence);
  }
  const Json altitudes = AltitudesJson(e.altitudes, day.date, r.timezone);
  Json document = SiteDocument(r);
  document["date"] = DateText(day.date);
  document["events"] = events;
  document["transit_altitude_deg"] = OrNull(e.transitAltitudeDeg);
  document["absent"] = absent;
  document["illuminated_fraction"] = day.noon.illuminatedFraction;
  document["phase"] = NamesOf(day.noon.phase).key;
  document["altitudes"] = altitudes;
  out << document.dump(2) << '\n';
}

// As the Sun's: moonrise and moonset leave the altitude empty, for the
// limb's level changes with the Moon's distance; the day's value rows
// (the phase at 12:00) hold their value in the time column, as the Sun's
// day length does.
void MoonDayCsv(const Request &, const MoonDayResults &day, std::ostream &out) {
  const MoonDayEvents &e = day.events;
  const auto time = [](const DayMoment &m) { return m.happens() ? ClockText(m.seconds) : ""; };
  out << "event,time,altitude_deg,absent\n";
  for (const MoonEventRow &row : kMoonEventRows) {
    const DayMoment &m = e.*row.moment;
    const bool transit = row.moment == &MoonDayEvents::transit;
    out << row.key << ',' << time(m) << ','
        << (transit && e.transitAltitudeDeg ? Fixed(*e.transitAltitudeDeg, 6) : "") << ','
        << AbsenceKey(m.absence) << '\n';
  }
  out << "illuminated_fraction," << Fixed(day.noon.illuminatedFraction, 3) << ",,\n"
      << "phase," << NamesOf(day.noon.phase).key << ",,\n";
  for (const LevelCrossings &level : e.altitudes) {
    for (const auto &[key, m] : {std::pair{"altitude_rising", level.rising},
                                 std::pair{"altitude_setting", level.setting}}) {
      out << key << ',' << time(m) << ',' << Fixed(level.altitudeDeg, 6) << ','
          << AbsenceKey(m.absence) << '\n';
    }
  }
}

void MoonDayText(const Request &r, const MoonDayResults &day, std::ostream &out) {
  const MoonDayEvents &e = day.events;
  out << "The Moon's day at " << SiteText(r) << ", " << DateText(day.date) << TheoryText(r)
      << "\n\n";
  const auto line = [&out](const std::string &caption, const std::string &value) {
    out << Padded(caption, 30) << value << '\n';
  };
  for (const MoonEventRow &row : kMoonEventRows) {
    const DayMoment &m = e.*row.moment;
    std::string value = MomentOrWhy(m, "the horizon", "Moon");
    if (m.happens() && row.moment == &MoonDayEvents::transit && e.transitAltitudeDeg)
      value += "  altitude " + Fixed(*e.transitAltitudeDeg, 2) + "°";
    line(row.caption, value);
  }
  line("Phase at 12:00", std::string(NamesOf(day.noon.phase).english) + ", " +
                             Fixed(day.noon.illuminatedFraction * 100, 1) + "% illuminated");
  for (const LevelCrossings &level : e.altitudes) {
    const std::string name = "Moon at " + LevelText(level.altitudeDeg);
    line(name + ", rising", MomentOrWhy(level.rising, LevelText(level.altitudeDeg), "Moon"));
    line(name + ", setting", MomentOrWhy(level.setting, LevelText(level.altitudeDeg), "Moon"));
  }
}

// ---- The Moon: table --------------------------------------------------------

struct MoonTableDay {
  CivilDate date;
  float timezone; // hours
  MoonDayEvents events;
  MoonPlace noon; // at 12:00 local civil time
};

MoonTableDay FindMoonTableDay(const Request &, const Site &site, CivilDate date) {
  const MoonDay day(site, date);
  return {date, site.Timezon, FindMoonDayEvents(day), MoonPlaceAt(site, day.JulianDateUt(12))};
}

enum class MoonColumnValue { Date, Moment, TransitAltitude, IlluminatedFraction, Phase };

// The Moon's table: its columns in order, as every writer writes them.
struct MoonTableColumn {
  const char *name;    // the CSV header's; JSON adds "_deg" to an altitude
  const char *caption; // the text's header
  std::size_t width;   // the text's column, characters
  MoonColumnValue value;
  DayMoment MoonDayEvents::*moment; // null but for a moment
};

const MoonTableColumn kMoonTableColumns[] = {
    {"date", "date", 12, MoonColumnValue::Date, nullptr},
    {"moonrise", "moonrise", 10, MoonColumnValue::Moment, &MoonDayEvents::moonrise},
    {"moonset", "moonset", 10, MoonColumnValue::Moment, &MoonDayEvents::moonset},
    {"transit", "transit", 10, MoonColumnValue::Moment, &MoonDayEvents::transit},
    {"transit_altitude", "transit alt.", 14, MoonColumnValue::TransitAltitude, nullptr},
    {"illuminated_fraction", "illum.", 8, MoonColumnValue::IlluminatedFraction, nullptr},
    {"phase", "phase", 0, MoonColumnValue::Phase, nullptr},
};

// A field as the CSV has it: times "HH:MM:SS" or empty, the transit's
// altitude to 0.0001 degree (as the Sun's culmination), the fraction to
// 0.001, the phase's key.
std::string MoonTableField(const MoonTableColumn &column, const MoonTableDay &day) {
  switch (column.value) {
  case MoonColumnValue::Date: return DateText(day.date);
  case MoonColumnValue::Moment: {
    const DayMoment &m = day.events.*column.moment;
    return m.happens() ? ClockText(m.seconds) : "";
  }
  case MoonColumnValue::TransitAltitude:
    return day.events.transitAltitudeDeg ? Fixed(*day.events.transitAltitudeDeg, 4) : "";
  case MoonColumnValue::IlluminatedFraction: return Fixed(day.noon.illuminatedFraction, 3);
  case MoonColumnValue::Phase: return NamesOf(day.noon.phase).key;
  }
  return "";
}

void MoonTableText(const Request &r, const Request &, std::ostream &out) {
  std::string header;
  for (const MoonTableColumn &column : kMoonTableColumns)
    header += column.width ? Padded(column.caption, column.width) : column.caption;
  out << "The Moon's days at " << SiteText(r) << TheoryText(r)
      << ", local times, the phase at 12:00\n\n"
      << header << '\n';
  WriteTableRows<MoonTableDay>(r, out, FindMoonTableDay, [](const MoonTableDay &day, bool) {
    std::string line;
    for (const MoonTableColumn &column : kMoonTableColumns) {
      std::string field = MoonTableField(column, day);
      if (field.empty()) field = column.value == MoonColumnValue::Moment ? "--:--:--" : "--";
      line += column.width ? Padded(field, column.width) : field;
    }
    return line + '\n';
  });
}

void MoonTableJson(const Request &r, const Request &, std::ostream &out) {
  TableJsonStart(r, out);
  const auto row = [](const MoonTableDay &day, bool first) {
    Json json;
    for (const MoonTableColumn &column : kMoonTableColumns) {
      switch (column.value) {
      case MoonColumnValue::Date: json[column.name] = DateText(day.date); break;
      case MoonColumnValue::Moment:
        json[column.name] = MomentJson(day.events.*column.moment, day.date, day.timezone);
        break;
      case MoonColumnValue::TransitAltitude:
        json[std::string(column.name) + "_deg"] = OrNull(day.events.transitAltitudeDeg);
        break;
      case MoonColumnValue::IlluminatedFraction:
        json[column.name] = day.noon.illuminatedFraction;
        break;
      case MoonColumnValue::Phase: json[column.name] = NamesOf(day.noon.phase).key; break;
      }
    }
    return (first ? "\n    " : ",\n    ") + json.dump();
  };
  if (WriteTableRows<MoonTableDay>(r, out, FindMoonTableDay, row)) out << "\n  ]\n}\n";
}

void MoonTableCsv(const Request &r, const Request &, std::ostream &out) {
  std::string header;
  for (const MoonTableColumn &column : kMoonTableColumns)
    header += (header.empty() ? "" : ",") + std::string(column.name);
  out << header << '\n';
  WriteTableRows<MoonTableDay>(r, out, FindMoonTableDay, [](const MoonTableDay &day, bool) {
    std::string line;
    for (const MoonTableColumn &column : kMoonTableColumns)
      line += (line.empty() ? "" : ",") + MoonTableField(column, day);
    return line + '\n';
  });
}

// ---- phases -----------------------------------------------------------------

// The Julian date of the Unix epoch, 1970-01-01 00:00 UT.
constexpr double kUnixEpochJulianDate = 2440587.5;

struct PhaseMoment {
  MoonQuarter quarter;
  LocalMoment moment; // local civil time, to the second
  float timezone;     // hours, the offset in force at the instant
};

// Seconds from 1970-01-01 00:00 UT of 00:00 local time of a date.
long long StartOfDate(const CivilDate &date, float timezone) {
  return static_cast<long long>(DaysOf(date).time_since_epoch().count()) * 86400 -
         std::llround(double(timezone) * 3600);
}

// The quarters whose instants, rounded to the second, fall from 00:00 of
// --from to 24:00 of --to, local time: of --tz, or of the --place's zone
// at the range's ends and at each instant.
std::vector<PhaseMoment> FindPhases(const Request &r) {
  using namespace std::chrono;
  const bool byZone = r.place != nullptr;
  const CivilDate after = DateOf(DaysOf(r.to) + days{1});
  // Settle gave r.timezone the offset at the start.
  const long long start = StartOfDate(r.from, r.timezone);
  const long long end =
      StartOfDate(after, byZone ? OffsetAtLocal(r.place->zone, after, 0).value_or(r.timezone)
                                : r.timezone);
  const auto julian = [](long long seconds) { return kUnixEpochJulianDate + double(seconds) / 86400; };
  std::vector<PhaseMoment> phases;
  for (const QuarterInstant &q : FindQuarters(julian(start - 1), julian(end + 1))) {
    const long long instant = std::llround((q.julianDateUt - kUnixEpochJulianDate) * 86400);
    if (instant < start || instant >= end) continue;
    const system_clock::time_point when{seconds{instant}};
    const float offset = byZone ? OffsetAt(r.place->zone, when).value_or(r.timezone) : r.timezone;
    const std::optional<LocalMoment> local = LocalNowAt(offset, when);
    if (local) phases.push_back({q.quarter, *local, offset});
  }
  return phases;
}

std::string PhaseMomentText(const PhaseMoment &p) {
  return IsoMoment(p.moment.date, SecondsOfDay(p.moment), p.timezone);
}

void PhasesJson(const Request &r, const std::vector<PhaseMoment> &phases, std::ostream &out) {
  Json list = Json::array();
  std::transform(phases.begin(), phases.end(), std::back_inserter(list), [](const PhaseMoment &p) {
    return Json{{"phase", NamesOf(PhaseOf(p.quarter)).key}, {"moment", PhaseMomentText(p)}};
  });
  out << Json{{"from", DateText(r.from)}, {"to", DateText(r.to)}, {"phases", list}}.dump(2) << '\n';
}

void PhasesCsv(const Request &, const std::vector<PhaseMoment> &phases, std::ostream &out) {
  out << "phase,moment\n";
  for (const PhaseMoment &p : phases)
    out << NamesOf(PhaseOf(p.quarter)).key << ',' << PhaseMomentText(p) << '\n';
}

void PhasesText(const Request &r, const std::vector<PhaseMoment> &phases, std::ostream &out) {
  const std::string zone = r.place ? std::string(r.place->name) + " (" + std::string(r.place->zone) + ")"
                                   : "UTC" + OffsetText(r.timezone);
  out << "The Moon's quarters from " << DateText(r.from) << " to " << DateText(r.to) << ", " << zone
      << "\n\n";
  for (const PhaseMoment &p : phases) {
    out << DateText(p.moment.date) << " " << ClockText(SecondsOfDay(p.moment)) << " UTC"
        << OffsetText(p.timezone) << "  " << NamesOf(PhaseOf(p.quarter)).english << '\n';
  }
}

// ---- seasons ----------------------------------------------------------------

struct SeasonMoment {
  LocalMoment moment; // local civil time, to the second
  float timezone;     // hours, the offset in force at the instant
};

struct SeasonsResults {
  Seasons seasons;
  std::vector<SeasonMoment> moments; // one per SeasonEventRows(), in its order
};

// The year's events, each at the offset of --tz or of the --place's zone at
// its instant.  The year was checked against FindSeasons' range.
SeasonsResults FindSeasonMoments(const Request &r) {
  using namespace std::chrono;
  SeasonsResults results{FindSeasons(r.year).value(), {}};
  for (const SeasonEventRow &event : SeasonEventRows()) {
    const double julianDateUt = results.seasons.*event.julianDateUt;
    const system_clock::time_point when{
        seconds{std::llround((julianDateUt - kUnixEpochJulianDate) * 86400)}};
    const float offset =
        r.place ? OffsetAt(r.place->zone, when).value_or(r.timezone) : r.timezone;
    results.moments.push_back({LocalMomentAt(offset, when), offset});
  }
  return results;
}

std::string SeasonMomentText(const SeasonMoment &m) {
  return IsoMoment(m.moment.date, SecondsOfDay(m.moment), m.timezone);
}

void SeasonsJson(const Request &r, const SeasonsResults &s, std::ostream &out) {
  Json events = Json::object();
  for (std::size_t i = 0; i < SeasonEventRows().size(); ++i)
    events[SeasonEventRows()[i].key] = SeasonMomentText(s.moments[i]);
  out << Json{{"year", r.year},
              {"events", events},
              {"perihelion_au", s.seasons.perihelionAU},
              {"aphelion_au", s.seasons.aphelionAU}}
             .dump(2)
      << '\n';
}

void SeasonsCsv(const Request &, const SeasonsResults &s, std::ostream &out) {
  out << "event,moment\n";
  for (std::size_t i = 0; i < SeasonEventRows().size(); ++i)
    out << SeasonEventRows()[i].key << ',' << SeasonMomentText(s.moments[i]) << '\n';
}

void SeasonsText(const Request &r, const SeasonsResults &s, std::ostream &out) {
  const std::string zone = r.place ? std::string(r.place->name) + " (" + std::string(r.place->zone) + ")"
                                   : "UTC" + OffsetText(r.timezone);
  out << "The seasons of " << r.year << " (precise theory), " << zone << "\n\n";
  for (std::size_t i = 0; i < SeasonEventRows().size(); ++i) {
    const SeasonMoment &m = s.moments[i];
    out << DateText(m.moment.date) << " " << ClockText(SecondsOfDay(m.moment)) << " UTC"
        << OffsetText(m.timezone) << "  " << SeasonEventRows()[i].english;
    if (SeasonEventRows()[i].julianDateUt == &Seasons::perihelion)
      out << ", " << Fixed(s.seasons.perihelionAU, 6) << " AU";
    if (SeasonEventRows()[i].julianDateUt == &Seasons::aphelion)
      out << ", " << Fixed(s.seasons.aphelionAU, 6) << " AU";
    out << '\n';
  }
}

// ---- next -------------------------------------------------------------------

struct NextMoment {
  LocalMoment moment; // local civil time, to the second
  float timezone;     // hours, the offset in force at the moment
};

struct NextResults {
  std::vector<NextMoment> moments;
};

// The event's next moments after --after or the clock's moment.  With
// --place and no --tz, the search takes each date's offset from the zone
// (at its noon, as `day` does) and each moment is written at the offset in
// force at it.
NextEventSearch SearchOf(const Request &r) {
  const bool byZone = r.place && !r.timezoneGiven;
  const float timezone = r.timezone; // Settle's: in force at the moment asked
  NextEventSearch search;
  search.event = r.event;
  search.site = SiteOf(r);
  search.theory = r.theory;
  search.afterSeconds = StartOfDate(r.at->date, timezone) + SecondsOfDay(*r.at);
  search.offsetMinutes = r.offsetMinutes;
  search.count = r.count;
  search.observer = HorizonOf(r);
  search.offsetOn = [&r, byZone, timezone](const CivilDate &date) {
    return byZone ? OffsetAtLocal(r.place->zone, date, kNoon).value_or(timezone) : timezone;
  };
  return search;
}

// An instant (UT seconds from 1970-01-01) as local time at the offset in
// force at it.
NextMoment MomentAt(const Request &r, long long instant) {
  using namespace std::chrono;
  const system_clock::time_point when{seconds{instant}};
  const float offset = r.place && !r.timezoneGiven
                           ? OffsetAt(r.place->zone, when).value_or(r.timezone)
                           : r.timezone;
  return {LocalMomentAt(offset, when), offset};
}

NextResults FindNext(const Request &r) {
  NextResults results;
  const std::vector<long long> found = FindNextEvents(SearchOf(r));
  std::transform(found.begin(), found.end(), std::back_inserter(results.moments),
                 [&r](long long moment) { return MomentAt(r, moment); });
  return results;
}

std::string NextMomentText(const NextMoment &m) {
  return IsoMoment(m.moment.date, SecondsOfDay(m.moment), m.timezone);
}

void NextJson(const Request &r, const NextResults &next, std::ostream &out) {
  Json moments = Json::array();
  std::transform(next.moments.begin(), next.moments.end(), std::back_inserter(moments),
                 [](const NextMoment &m) { return NextMomentText(m); });
  out << Json{{"event", r.eventKey}, {"offset_min", r.offsetMinutes}, {"moments", moments}}.dump(2)
      << '\n';
}

void NextCsv(const Request &r, const NextResults &next, std::ostream &out) {
  out << "event,moment\n";
  for (const NextMoment &m : next.moments)
    out << CsvField(r.eventKey) << ',' << NextMomentText(m) << '\n';
}

void NextText(const Request &, const NextResults &next, std::ostream &out) {
  for (const NextMoment &m : next.moments)
    out << NextMomentText(m) << '\n';
}

// ---- ics -------------------------------------------------------------------

// The latest DTSTAMP a file can hold: 9999-12-31T23:59:59Z.
constexpr long long kLastStampSeconds = 253402300799;

// DTSTAMP: SOURCE_DATE_EPOCH when it is set (whole seconds from
// 1970-01-01 00:00 UT, as reproducible builds give it), else the clock's
// instant.  None, with the refusal written, for a value that is not such a
// number.
std::optional<long long> CalendarStamp(const Clock &clock, std::ostream &err) {
  if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    const std::string_view text = epoch;
    long long seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || text[0] == '-' || error != std::errc() ||
        end != text.data() + text.size() || seconds > kLastStampSeconds) {
      std::string shown(text.substr(0, 32));
      std::replace_if(shown.begin(), shown.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
      err << "ostrel-cli: SOURCE_DATE_EPOCH '" << shown
          << "': not a whole number of seconds from 1970-01-01 00:00 UTC, 0 to "
          << kLastStampSeconds << '\n';
      return std::nullopt;
    }
    return seconds;
  }
  const long long now =
      std::chrono::floor<std::chrono::seconds>(clock().time_since_epoch()).count();
  if (now < 0 || now > kLastStampSeconds) {
    err << "ostrel-cli: the computer's clock is before 1970 or after 9999\n";
    return std::nullopt;
  }
  return now;
}

// The calendar of --from to --to.  With --place and no --tz each date's
// events are found at the offset of the town's zone at its noon, as `day`
// and `table` find them.
int WriteIcs(const Request &r, const Clock &clock, std::ostream &out, std::ostream &err) {
  const std::optional<long long> stamp = CalendarStamp(clock, err);
  if (!stamp) return kBadInput;
  const bool byZone = r.place && !r.timezoneGiven;
  CalendarRequest request;
  request.site = SiteOf(r);
  if (r.place) request.siteName = std::string(r.place->name) + ", " + std::string(r.place->country);
  request.from = r.from;
  request.to = r.to;
  request.events = r.calendarEvents;
  request.theory = r.theory;
  request.alarmMinutes = r.alarmMinutes;
  request.russian = r.russian;
  request.stampSeconds = *stamp;
  request.observer = HorizonOf(r);
  request.offsetOn = [&r, byZone](const CivilDate &date) {
    return byZone ? OffsetAtLocal(r.place->zone, date, kNoon).value_or(r.timezone) : r.timezone;
  };
  const std::string calendar = WriteCalendar(request);
  out.write(calendar.data(), std::streamsize(calendar.size()));
  return out ? kDone : kNotWritten;
}

// The one line of `next` and `wait` when the event does not come.
void NotFound(const Request &r, std::ostream &err) {
  err << "ostrel-cli: " << r.eventKey << " does not happen at this site within a year and a day"
      << " after " << DateText(r.at->date) << "T" << ClockText(SecondsOfDay(*r.at))
      << OffsetText(r.timezone)
      << (r.at->date.year == 2100 && (r.at->date.month > 1 || r.at->date.day > 1)
              ? ", the search ending with 2100"
              : "")
      << '\n';
}

// ---- wait -------------------------------------------------------------------

struct WaitTarget {
  // cppcheck-suppress unusedStructMember
  long long instant; // UT seconds from 1970-01-01 00:00
  // cppcheck-suppress unusedStructMember
  NextMoment moment; // the same, local
};

// UT seconds of a local time of a date: at --tz, or at the offset of the
// --place's zone in force at that local time (a time the clocks skip is
// taken at the offset before the change, so it falls after the change).
long long InstantOfLocal(const Request &r, const CivilDate &date, int secondsOfDay) {
  const float offset = r.place && !r.timezoneGiven
                           ? OffsetAtLocal(r.place->zone, date, secondsOfDay).value_or(r.timezone)
                           : r.timezone;
  return StartOfDate(date, offset) + secondsOfDay;
}

// The moment `wait` sleeps until: the event's next moment after the clock's,
// moved by --offset, as `next` finds it; then moved into the local window
// [--not-before, --not-after] of its own local date.  A moment the window
// moves back to the clock's or before it (the latest time of today already
// past) gives way to the event's following moment, kept in the window of its
// date in turn.  None when the event does not come within the span.
std::optional<WaitTarget> FindWaitTarget(const Request &r) {
  NextEventSearch search = SearchOf(r);
  search.count = 1;
  const long long now = search.afterSeconds;
  // Only a moment of today's local date can be moved back before now, so
  // this ends after the few moments an event has in one date.
  for (;;) {
    const std::vector<long long> found = FindNextEvents(search);
    if (found.empty()) return std::nullopt;
    const NextMoment event = MomentAt(r, found.front());
    const int second = SecondsOfDay(event.moment);
    long long target = found.front();
    if (r.notBefore && second < *r.notBefore)
      target = InstantOfLocal(r, event.moment.date, *r.notBefore);
    else if (r.notAfter && second > *r.notAfter)
      target = InstantOfLocal(r, event.moment.date, *r.notAfter);
    if (target > now) return WaitTarget{target, MomentAt(r, target)};
    search.afterSeconds = found.front();
  }
}

// Writes the target's line, then sleeps until it (without a sleeper, ends
// at once).
int Wait(const Request &r, std::ostream &out, std::ostream &err, const Sleeper &sleep) {
  const std::optional<WaitTarget> target = FindWaitTarget(r);
  if (!target) {
    NotFound(r, err);
    return kNotFound;
  }
  const auto announce = [&out, &target] {
    out << NextMomentText(target->moment) << '\n';
    return static_cast<bool>(out.flush());
  };
  if (!sleep) return announce() ? kDone : kNotWritten;
  const std::chrono::system_clock::time_point when{std::chrono::seconds{target->instant}};
  return sleep(when, announce, err);
}

// ---- places ---------------------------------------------------------------

// A town the query may mean, with its zone's offset in force at the clock's
// instant (hours; none where the system's database lacks the zone).
// (cppcheck misses the members' use through structured bindings.)
struct ListedTown {
  // cppcheck-suppress unusedStructMember
  const Place *place;
  std::optional<float> offset;
};

std::vector<ListedTown> FindTowns(const Request &r, const Clock &clock) {
  const auto instant = clock();
  const std::vector<const Place *> found = FindPlaces(r.query, kPlacesListed);
  std::vector<ListedTown> towns;
  std::transform(found.begin(), found.end(), std::back_inserter(towns), [&](const Place *place) {
    return ListedTown{place, OffsetAt(place->zone, instant)};
  });
  return towns;
}

void PlacesJson(const Request &r, const std::vector<ListedTown> &towns, std::ostream &out) {
  Json places = Json::array();
  for (const auto &[place, offset] : towns) {
    places.push_back({{"name", place->name},
                      {"country", place->country},
                      {"region", place->region},
                      {"latitude", place->latitudeDeg},
                      {"longitude", place->longitudeDeg},
                      {"zone", place->zone},
                      {"offset", offset ? Json(TimezoneValue(*offset)) : Json(nullptr)},
                      {"population", place->population}});
  }
  out << Json{{"query", r.query}, {"places", places}}.dump(2) << '\n';
}

void PlacesText(const Request &r, const std::vector<ListedTown> &towns, std::ostream &out) {
  if (towns.empty()) {
    out << "No town of the list is called \"" << r.query << "\" or begins so.\n";
    return;
  }
  out << "Towns for \"" << r.query << "\", most populous first; offsets in force now\n\n";
  for (const auto &[place, offset] : towns) {
    const std::string name = std::string(place->name) +
                             (place->region.empty() ? "" : ", " + std::string(place->region)) +
                             ", " + std::string(place->country);
    char line[160];
    std::snprintf(line, sizeof line, "%9.4f %9.4f  %-30s UTC%s  %10lld\n", place->latitudeDeg,
                  place->longitudeDeg, std::string(place->zone).c_str(),
                  offset ? OffsetText(*offset).c_str() : " ?    ",
                  static_cast<long long>(place->population));
    out << Padded(name, 40) << line;
  }
}

} // namespace

int Run(std::span<const std::string> arguments, std::ostream &out, std::ostream &err,
        const Clock &clock, const Sleeper &sleep) {
  const Parsed parsed = ParseArguments(arguments);
  switch (parsed.outcome) {
  case Parsed::Outcome::Help:
  case Parsed::Outcome::Version:
    out << parsed.text;
    return out ? kDone : kNotWritten;
  case Parsed::Outcome::Refused:
    err << parsed.text << '\n';
    return kBadInput;
  case Parsed::Outcome::Run:
    break;
  }
  Request r = parsed.request;
  if (r.command == Command::Places)
    return Write(r, FindTowns(r, clock), {PlacesText, PlacesJson, nullptr}, out);
  if (!Settle(r, clock, err)) return kBadInput;
  const bool moon = r.body == Body::Moon;
  switch (r.command) {
  case Command::Now:
    if (moon) return Write(r, FindMoonNow(r), {MoonNowText, MoonNowJson, MoonNowCsv}, out);
    return Write(r, FindObserverNow(r), {NowText, NowJson, NowCsv}, out);
  case Command::Day:
    if (moon) return Write(r, FindMoonDay(r), {MoonDayText, MoonDayJson, MoonDayCsv}, out);
    return Write(r, FindDay(r), {DayText, DayJson, DayCsv}, out);
  // The table's dates are computed as they are written (WriteTableRows).
  case Command::Table:
    if (moon) return Write(r, r, {MoonTableText, MoonTableJson, MoonTableCsv}, out);
    return Write(r, r, {TableText, TableJson, TableCsv}, out);
  case Command::Path: return Write(r, FindPath(r), {PathText, PathJson, PathCsv}, out);
  case Command::Phases: return Write(r, FindPhases(r), {PhasesText, PhasesJson, PhasesCsv}, out);
  case Command::Seasons:
    return Write(r, FindSeasonMoments(r), {SeasonsText, SeasonsJson, SeasonsCsv}, out);
  case Command::Next: {
    const NextResults next = FindNext(r);
    if (next.moments.empty()) {
      NotFound(r, err);
      return kNotFound;
    }
    return Write(r, next, {NextText, NextJson, NextCsv}, out);
  }
  case Command::Ics: return WriteIcs(r, clock, out, err);
  case Command::Wait: return Wait(r, out, err, sleep);
  case Command::Places: break;
  }
  return kBadInput;
}

} // namespace ostrel::cli
