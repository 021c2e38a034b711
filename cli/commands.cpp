// SPDX-License-Identifier: GPL-3.0-or-later
// The four commands.  Each asks the core and only writes what it answers:
// `now` the window's run for the typed values, `day` and `table` the day's
// events, `path` the Sun's place through the day.
#include "cli/commands.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <vector>

#include "cli/arguments.h"
#include "cli/zone.h"
#include "core/day/day_events.h"
#include "core/day/day_table.h"
#include "core/run/ephemeris.h"
#include "core/text/numtext.h"
#include "core/places/places.h"
#include "core/sun/theory.h"
#include "core/run/typed_input.h"

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

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
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

Json SiteJson(const Request &r) {
  Json site{{"latitude", DecimalDegrees(r.latitude)},
            {"longitude", DecimalDegrees(r.longitude)},
            {"timezone", TimezoneValue(r.timezone)}};
  if (r.place) {
    site["place"] = Json{{"name", r.place->name},
                         {"country", r.place->country},
                         {"zone", r.place->zone}};
  }
  return site;
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

std::string Shortest(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// Characters of a UTF-8 text, for aligning columns.
std::size_t DisplayWidth(const std::string &text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80; // not a continuation byte
  }));
}

// ---- The local date and moment from the clock ---------------------------

// The local civil moment at the site, to the whole second, of an instant.
std::optional<LocalMoment> LocalNowAt(float timezone, std::chrono::system_clock::time_point now) {
  using namespace std::chrono;
  const long long utc = floor<seconds>(now.time_since_epoch()).count();
  const long long local = utc + std::llround(double(timezone) * 3600);
  long long day = local / 86400;
  long long second = local % 86400;
  if (second < 0) {
    second += 86400;
    day -= 1;
  }
  const year_month_day ymd{sys_days{days{day}}};
  const CivilDate date{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
  if (date.year < 1700 || date.year > 2100) return std::nullopt;
  const int secondOfDay = int(second);
  return LocalMoment{date, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
}

// ---- Why an event is missing ------------------------------------------

// Degrees to 0.001 with the sign: "+6°", "-0.831°".
std::string LevelText(double altitudeDeg) {
  std::string text = NumText(std::round(altitudeDeg * 1000) / 1000);
  return (altitudeDeg > 0 ? "+" : "") + text + "°";
}

std::string WhyMissing(Absence absence, const std::string &level) {
  switch (absence) {
  case Absence::AlwaysAbove: return "the Sun stays above " + level + " all day";
  case Absence::AlwaysBelow: return "the Sun stays below " + level + " all day";
  case Absence::OtherDate: return "it falls on the day before or after";
  case Absence::None: break;
  }
  return "";
}

// ---- now ----------------------------------------------------------------

constexpr const char *kClockOutOfRange =
    "ostrel-cli: the computer's clock is outside the years 1700 to 2100\n";

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

int Now(const Request &r, std::ostream &out, std::ostream &err, const Clock &clock) {
  LocalMoment moment;
  if (r.at) {
    moment = *r.at;
  } else {
    const std::optional<LocalMoment> now = LocalNowAt(r.timezone, clock());
    if (!now) {
      err << kClockOutOfRange;
      return kBadInput;
    }
    moment = *now;
  }
  const Site site = SiteOf(r);
  Ephemeris run;
  SetSite(run.state, site.LongHours, site.LatRad, site.Timezon);
  run.state.AzimuthMode = r.azimuthMode;
  run.theory = r.theory;
  SetTypedMoment(run.state, moment.date.year, moment.date.month, moment.date.day, moment.hour,
                 moment.minute, moment.second);
  run.MAINCALC();
  const SunReport &texts = run.report;
  const double hours = (double(moment.minute) / 60 + moment.hour) + double(moment.second) / 3600;
  const SunPlace place = MakeSunDay(r.theory, site, moment.date)->PlaceAt(hours);
  const int secondsOfDay = moment.hour * 3600 + moment.minute * 60 + moment.second;
  const std::string when = IsoMoment(moment.date, secondsOfDay, r.timezone);

  Json values{
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
  };

  if (r.format == Format::Json) {
    Json textJson = Json::object();
    for (const auto &[name, text] : SunReport::Labels) textJson[name] = texts.*text;
    const Json document{{"theory", TheoryKey(r.theory)}, {"site", SiteJson(r)}, {"moment", when},
                        {"texts", textJson}, {"values", values}};
    out << document.dump(2) << '\n';
    return out ? kDone : kNotWritten;
  }
  if (r.format == Format::Csv) {
    std::string header = "moment", row = when;
    for (const auto &[name, text] : SunReport::Labels) {
      header += std::string(",") + name;
      row += "," + CsvField(texts.*text);
    }
    for (const auto &[key, value] : values.items()) {
      header += "," + key;
      row += "," + Shortest(value.get<double>());
    }
    out << header << '\n' << row << '\n';
    return out ? kDone : kNotWritten;
  }

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
  out << "The Sun at " << DateText(moment.date) << " " << ClockText(secondsOfDay) << " UTC"
      << OffsetText(r.timezone) << ", " << AngleText(r.latitude, 'N', 'S') << " "
      << AngleText(r.longitude, 'E', 'W') << " (" << TheoryKey(r.theory) << " theory)\n\n";
  for (const auto &[caption, value] : lines) {
    out << caption << std::string(32 - std::min<std::size_t>(31, caption.size()), ' ')
        << value << '\n';
  }
  return out ? kDone : kNotWritten;
}

// ---- day ------------------------------------------------------------------

// The list's rows with this day's moments and the horizon's altitude.
struct EventRow {
  const char *key;     // as JSON and the day window name it
  const char *caption; // for a person
  DayMoment moment;
  double levelDeg;     // the altitude it crosses, degrees
};

std::vector<EventRow> EventRows(const DayEvents &e, double horizonDeg) {
  std::vector<EventRow> rows;
  const auto table = DayEventRows();
  std::transform(table.begin(), table.end(), std::back_inserter(rows),
                 [&](const DayEventRow &row) {
                   return EventRow{row.key, row.english, row.moment(e),
                                   std::isnan(row.levelDeg) ? horizonDeg : row.levelDeg};
                 });
  return rows;
}

const char *PolarKey(Polar polar) {
  return polar == Polar::Day ? "day" : polar == Polar::Night ? "night" : nullptr;
}

CivilDate DateOrToday(const Request &r, const Clock &clock, bool &clockOk) {
  clockOk = true;
  if (r.date) return *r.date;
  const std::optional<LocalMoment> now = LocalNowAt(r.timezone, clock());
  if (!now) {
    clockOk = false;
    return {};
  }
  return now->date;
}

int Day(const Request &r, std::ostream &out, std::ostream &err, const Clock &clock) {
  bool clockOk = true;
  const CivilDate date = DateOrToday(r, clock, clockOk);
  if (!clockOk) {
    err << kClockOutOfRange;
    return kBadInput;
  }
  const std::unique_ptr<SunDay> sunDay = MakeSunDay(r.theory, SiteOf(r), date);
  const SunDay &day = *sunDay;
  const DayEvents e = FindDayEvents(day, r.altitudes);
  const double horizonDeg = std::asin(day.HorizonSinAltitude()) / kRad;
  const std::vector<EventRow> rows = EventRows(e, horizonDeg);

  if (r.format == Format::Json) {
    const auto at = [&](const DayMoment &m) { return MomentJson(m, date, r.timezone); };
    Json events{
        {"sunrise", at(e.sunrise)},
        {"sunset", at(e.sunset)},
        {"culmination", at(e.culmination)},
        {"civil_dawn", at(e.civilDawn)},
        {"civil_dusk", at(e.civilDusk)},
        {"nautical_dawn", at(e.nauticalDawn)},
        {"nautical_dusk", at(e.nauticalDusk)},
        {"astronomical_dawn", at(e.astronomicalDawn)},
        {"astronomical_dusk", at(e.astronomicalDusk)},
        {"morning_golden_hour", Json::array({at(e.morningGoldenHour[0]), at(e.morningGoldenHour[1])})},
        {"evening_golden_hour", Json::array({at(e.eveningGoldenHour[0]), at(e.eveningGoldenHour[1])})},
        {"morning_blue_hour", Json::array({at(e.morningBlueHour[0]), at(e.morningBlueHour[1])})},
        {"evening_blue_hour", Json::array({at(e.eveningBlueHour[0]), at(e.eveningBlueHour[1])})},
    };
    Json absent = Json::object();
    for (const EventRow &row : rows) {
      if (!row.moment.happens()) absent[row.key] = AbsenceKey(row.moment.absence);
    }
    Json altitudes = Json::array();
    for (const LevelCrossings &level : e.altitudes) {
      Json entry{{"altitude_deg", level.altitudeDeg},
                 {"rising", at(level.rising)},
                 {"setting", at(level.setting)}};
      Json levelAbsent = Json::object();
      if (!level.rising.happens()) levelAbsent["rising"] = AbsenceKey(level.rising.absence);
      if (!level.setting.happens()) levelAbsent["setting"] = AbsenceKey(level.setting.absence);
      entry["absent"] = levelAbsent;
      altitudes.push_back(entry);
    }
    const Json document{
        {"theory", TheoryKey(r.theory)},
        {"site", SiteJson(r)},
        {"date", DateText(date)},
        {"polar", PolarKey(e.polar) ? Json(PolarKey(e.polar)) : Json(nullptr)},
        {"events", events},
        {"culmination_altitude_deg",
         e.culminationAltitudeDeg ? Json(*e.culminationAltitudeDeg) : Json(nullptr)},
        {"day_length_s", e.dayLengthSeconds ? Json(*e.dayLengthSeconds) : Json(nullptr)},
        {"altitudes", altitudes},
        {"absent", absent},
    };
    out << document.dump(2) << '\n';
    return out ? kDone : kNotWritten;
  }

  if (r.format == Format::Csv) {
    out << "event,time,altitude_deg,absent\n";
    for (const EventRow &row : rows) {
      const bool culmination = std::string_view(row.key) == "culmination";
      const double level = culmination && e.culminationAltitudeDeg ? *e.culminationAltitudeDeg
                                                                    : row.levelDeg;
      out << row.key << ',' << (row.moment.happens() ? ClockText(row.moment.seconds) : "") << ','
          << (culmination && !e.culminationAltitudeDeg ? "" : Fixed(level, 6)) << ','
          << AbsenceKey(row.moment.absence) << '\n';
    }
    out << "day_length," << DayLengthText(e) << ",,\n";
    for (const LevelCrossings &level : e.altitudes) {
      for (const auto &[key, m] : {std::pair{"altitude_rising", level.rising},
                                   std::pair{"altitude_setting", level.setting}}) {
        out << key << ',' << (m.happens() ? ClockText(m.seconds) : "") << ','
            << Fixed(level.altitudeDeg, 6) << ',' << AbsenceKey(m.absence) << '\n';
      }
    }
    return out ? kDone : kNotWritten;
  }

  out << "The Sun's day at " << SiteText(r) << ", " << DateText(date) << " (" << TheoryKey(r.theory) << " theory)\n";
  if (e.polar == Polar::Day) out << "Polar day: the Sun stays above the horizon all day.\n";
  if (e.polar == Polar::Night) out << "Polar night: the Sun stays below the horizon all day.\n";
  out << '\n';
  const auto line = [&out](const std::string &caption, const std::string &value) {
    out << caption << std::string(30 - std::min<std::size_t>(29, DisplayWidth(caption)), ' ')
        << value << '\n';
  };
  for (const EventRow &row : rows) {
    std::string value;
    if (row.moment.happens()) {
      value = ClockText(row.moment.seconds);
      if (std::string_view(row.key) == "culmination" && e.culminationAltitudeDeg)
        value += "  altitude " + Fixed(*e.culminationAltitudeDeg, 2) + "°";
    } else {
      value = "--:--:--  " + WhyMissing(row.moment.absence, LevelText(row.levelDeg));
    }
    line(row.caption, value);
  }
  line("Duration of day", e.dayLengthSeconds ? DayLengthText(e)
                                             : "--:--:--  sunrise and sunset do not frame one day");
  for (const LevelCrossings &level : e.altitudes) {
    const std::string name = "Sun at " + LevelText(level.altitudeDeg);
    for (const auto &[way, m] : {std::pair{", rising", level.rising},
                                 std::pair{", setting", level.setting}}) {
      line(name + way, m.happens() ? ClockText(m.seconds)
                                   : "--:--:--  " + WhyMissing(m.absence, LevelText(level.altitudeDeg)));
    }
  }
  return out ? kDone : kNotWritten;
}

// ---- table ----------------------------------------------------------------

int Table(const Request &r, std::ostream &out) {
  using namespace std::chrono;
  const Site site = SiteOf(r);
  const auto daysOf = [](const CivilDate &d) {
    return sys_days{year{d.year} / month{unsigned(d.month)} / day{unsigned(d.day)}};
  };
  const sys_days first = daysOf(r.from), last = daysOf(r.to);

  if (r.format == Format::Json) {
    out << "{\n  \"theory\": \"" << TheoryKey(r.theory) << "\",\n  \"site\": " << SiteJson(r).dump() << ",\n  \"from\": \""
        << DateText(r.from) << "\",\n  \"to\": \"" << DateText(r.to) << "\",\n  \"days\": [";
  } else if (r.format == Format::Csv) {
    out << TableCsvHeader();
  } else {
    out << "The Sun's days at " << SiteText(r) << " (" << TheoryKey(r.theory) << " theory), local times\n\n"
        << "date        sunrise   sunset    culmin.   day       civil dawn/dusk     "
           "nautical dawn/dusk  astron. dawn/dusk   culm. alt.\n";
  }
  std::string chunk;
  for (sys_days d = first; d <= last; d += days{1}) {
    const year_month_day ymd{d};
    const CivilDate date{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
    Site dateSite = site;
    if (r.place && !r.timezoneGiven) {
      // The zone is known: it gave the first date's offset.
      dateSite.Timezon = OffsetAtLocal(r.place->zone, date, kNoon).value_or(site.Timezon);
    }
    const DayEvents e = FindDayEvents(*MakeSunDay(r.theory, dateSite, date), {}, DayEventSet::Twilights);
    if (r.format == Format::Json) {
      const auto at = [&](const DayMoment &m) { return MomentJson(m, date, dateSite.Timezon); };
      const Json row{
          {"date", DateText(date)},
          {"polar", PolarKey(e.polar) ? Json(PolarKey(e.polar)) : Json(nullptr)},
          {"sunrise", at(e.sunrise)},
          {"sunset", at(e.sunset)},
          {"culmination", at(e.culmination)},
          {"day_length_s", e.dayLengthSeconds ? Json(*e.dayLengthSeconds) : Json(nullptr)},
          {"civil_dawn", at(e.civilDawn)},
          {"civil_dusk", at(e.civilDusk)},
          {"nautical_dawn", at(e.nauticalDawn)},
          {"nautical_dusk", at(e.nauticalDusk)},
          {"astronomical_dawn", at(e.astronomicalDawn)},
          {"astronomical_dusk", at(e.astronomicalDusk)},
          {"culmination_altitude_deg",
           e.culminationAltitudeDeg ? Json(*e.culminationAltitudeDeg) : Json(nullptr)},
      };
      chunk += (d == first ? "\n    " : ",\n    ") + row.dump();
    } else if (r.format == Format::Csv) {
      chunk += TableCsvRow(date, e);
    } else {
      const auto cell = [](const std::string &text) {
        return (text.empty() ? std::string("--:--:--") : text) + "  ";
      };
      const auto fields = TableFields(date, e);
      chunk += fields[0] + "  ";
      for (std::size_t i = 1; i + 1 < fields.size(); ++i) chunk += cell(fields[i]);
      chunk += fields.back() + '\n';
    }
    if (chunk.size() > (1 << 15)) {
      if (!out.write(chunk.data(), std::streamsize(chunk.size()))) return kNotWritten;
      chunk.clear();
    }
  }
  if (r.format == Format::Json) chunk += "\n  ]\n}\n";
  out.write(chunk.data(), std::streamsize(chunk.size()));
  return out ? kDone : kNotWritten;
}

// ---- path -----------------------------------------------------------------

int Path(const Request &r, std::ostream &out, std::ostream &err, const Clock &clock) {
  bool clockOk = true;
  const CivilDate date = DateOrToday(r, clock, clockOk);
  if (!clockOk) {
    err << kClockOutOfRange;
    return kBadInput;
  }
  const std::unique_ptr<SunDay> sunDay = MakeSunDay(r.theory, SiteOf(r), date);
  const SunDay &day = *sunDay;
  Json points = Json::array();
  if (r.format == Format::Csv) {
    out << "time,altitude_true,altitude_apparent,azimuth\n";
  } else if (r.format == Format::Text) {
    out << "The Sun's path at " << SiteText(r) << ", " << DateText(date)
        << " (" << TheoryKey(r.theory) << " theory)\n\n"
        << "time    altitude true  altitude app.  azimuth (from north)\n";
  }
  for (int minutes = 0; minutes <= 1440; minutes += r.stepMinutes) {
    const SunPlace place = day.PlaceAt(minutes / 60.0);
    const double apparent = ApparentAltitude(place.altitudeDeg);
    char time[24];
    std::snprintf(time, sizeof time, "%02d:%02d", minutes / 60, minutes % 60);
    if (r.format == Format::Json) {
      points.push_back({{"time", time},
                        {"altitude_true_deg", place.altitudeDeg},
                        {"altitude_apparent_deg", apparent},
                        {"azimuth_deg", place.azimuthDeg}});
    } else if (r.format == Format::Csv) {
      out << time << ',' << Fixed(place.altitudeDeg, 6) << ',' << Fixed(apparent, 6) << ','
          << Fixed(place.azimuthDeg, 6) << '\n';
    } else {
      char line[96];
      std::snprintf(line, sizeof line, "%s  %12.3f°  %12.3f°  %12.3f°\n", time,
                    place.altitudeDeg, apparent, place.azimuthDeg);
      out << line;
    }
  }
  if (r.format == Format::Json) {
    const Json document{{"theory", TheoryKey(r.theory)}, {"site", SiteJson(r)}, {"date", DateText(date)},
                        {"step_min", r.stepMinutes}, {"points", points}};
    out << document.dump(2) << '\n';
  }
  return out ? kDone : kNotWritten;
}

// ---- places ---------------------------------------------------------------

int Places(const Request &r, std::ostream &out, const Clock &clock) {
  const std::vector<const Place *> found = FindPlaces(r.query, kPlacesListed);
  const auto instant = clock();
  const auto offsetNow = [&](const Place &place) { return OffsetAt(place.zone, instant); };
  if (r.format == Format::Json) {
    Json places = Json::array();
    for (const Place *place : found) {
      const std::optional<float> offset = offsetNow(*place);
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
    return out ? kDone : kNotWritten;
  }
  if (found.empty()) {
    out << "No town of the list is called \"" << r.query << "\" or begins so.\n";
    return out ? kDone : kNotWritten;
  }
  out << "Towns for \"" << r.query << "\", most populous first; offsets in force now\n\n";
  for (const Place *place : found) {
    const std::optional<float> offset = offsetNow(*place);
    std::string name = std::string(place->name) +
                       (place->region.empty() ? "" : ", " + std::string(place->region)) + ", " +
                       std::string(place->country);
    name += std::string(40 - std::min<std::size_t>(39, DisplayWidth(name)), ' ');
    char line[160];
    std::snprintf(line, sizeof line, "%9.4f %9.4f  %-30s UTC%s  %10lld\n", place->latitudeDeg,
                  place->longitudeDeg, std::string(place->zone).c_str(),
                  offset ? OffsetText(*offset).c_str() : " ?    ",
                  static_cast<long long>(place->population));
    out << name << line;
  }
  return out ? kDone : kNotWritten;
}

// The time zone of a request with --place and without --tz: the offset of
// the town's zone at the moment (`now`) or at noon of the date (`day`,
// `path`, `table`'s first date); the date or moment from the clock is fixed
// here too, so that the clock is read once.  False, with the message
// written, when the system's time-zone database lacks the zone or the
// clock is out of range.
bool ResolveZone(Request &r, const Clock &clock, std::ostream &err) {
  if (!r.place || r.timezoneGiven) return true;
  const auto lacking = [&] {
    err << "ostrel-cli: the system's time-zone database has no zone " << r.place->zone
        << " (of --place " << r.place->name << "); update tzdata or give --tz\n";
    return false;
  };
  const std::string_view zone = r.place->zone;
  std::optional<float> offset;
  if (r.command == Command::Now && r.at) {
    offset = OffsetAtLocal(zone, r.at->date, r.at->hour * 3600 + r.at->minute * 60 + r.at->second);
  } else if (r.command == Command::Now) {
    const auto instant = clock();
    offset = OffsetAt(zone, instant);
    if (!offset) return lacking();
    r.at = LocalNowAt(*offset, instant);
    if (!r.at) {
      err << kClockOutOfRange;
      return false;
    }
  } else {
    CivilDate date = r.command == Command::Table ? r.from : CivilDate{};
    if (r.command != Command::Table) {
      if (!r.date) {
        const auto instant = clock();
        const std::optional<float> now = OffsetAt(zone, instant);
        if (!now) return lacking();
        const std::optional<LocalMoment> today = LocalNowAt(*now, instant);
        if (!today) {
          err << kClockOutOfRange;
          return false;
        }
        r.date = today->date;
      }
      date = *r.date;
    }
    offset = OffsetAtLocal(zone, date, kNoon);
  }
  if (!offset) return lacking();
  r.timezone = *offset;
  return true;
}

} // namespace

int Run(std::span<const std::string> arguments, std::ostream &out, std::ostream &err,
        const Clock &clock) {
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
  if (r.command == Command::Places) return Places(r, out, clock);
  if (!ResolveZone(r, clock, err)) return kBadInput;
  switch (r.command) {
  case Command::Now: return Now(r, out, err, clock);
  case Command::Day: return Day(r, out, err, clock);
  case Command::Table: return Table(r, out);
  case Command::Path: return Path(r, out, err, clock);
  case Command::Places: break;
  }
  return kBadInput;
}

} // namespace ostrel::cli
