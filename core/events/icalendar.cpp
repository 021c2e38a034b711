// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/icalendar.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <tuple>

#include "core/day/azimuth_crossings.h"
#include "core/day/day_events.h"
#include "core/day/day_table.h"
#include "core/events/seasons.h"
#include "core/moon/moon_day.h"
#include "core/moon/moon_place.h"
#include "core/moon/moon_quarters.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {

constexpr long long kDaySeconds = 86400;
// The Julian date of 1970-01-01 00:00 UT.
constexpr double kUnixEpochJulianDate = 2440587.5;
constexpr double kDegreesPerRadian = 180 / 3.14159265358979323846;
// RFC 5545 3.1: a content line is at most 75 octets without its CRLF.
constexpr std::size_t kLineOctets = 75;

struct Names {
  const char *english, *russian;
};

// The golden and blue hours as intervals, in the day's order; their names
// are the day list's without ", start" and ", end".
struct IntervalRow {
  const char *key;
  Names names;
  Interval DayEvents::*interval;
};
constexpr IntervalRow kIntervalRows[] = {
    {"morning_blue_hour", {"Morning blue hour", "Утренний синий час"}, &DayEvents::morningBlueHour},
    {"morning_golden_hour",
     {"Morning golden hour", "Утренний золотой час"},
     &DayEvents::morningGoldenHour},
    {"evening_golden_hour",
     {"Evening golden hour", "Вечерний золотой час"},
     &DayEvents::eveningGoldenHour},
    {"evening_blue_hour", {"Evening blue hour", "Вечерний синий час"}, &DayEvents::eveningBlueHour},
};

// The Moon's day, in the words of the day window's Moon rows.
Names MoonDayNames(MoonDayEvent event) {
  switch (event) {
  case MoonDayEvent::Moonrise: return {"Moonrise", "Восход Луны"};
  case MoonDayEvent::Moonset: return {"Moonset", "Заход Луны"};
  case MoonDayEvent::Transit: return {"Moon's upper transit", "Верхняя кульминация Луны"};
  }
  return {"", ""};
}

// Degrees to 0.001, as the day window and `day` write a level: "+6°",
// "-0.5°", "180°".
std::string DegreesText(double degrees, bool signed_) {
  return (signed_ && degrees > 0 ? "+" : "") + NumText(std::round(degrees * 1000) / 1000) + "°";
}

// The event's name in one language.
std::string Caption(const CalendarEvent &calendar, bool russian) {
  const auto in = [russian](const Names &names) {
    return std::string(russian ? names.russian : names.english);
  };
  if (calendar.interval) return in(kIntervalRows[*calendar.interval].names);
  const Event &event = calendar.event;
  switch (event.family) {
  case EventFamily::SunDay: {
    const DayEventRow &row = DayEventRows()[event.row];
    return in({row.english, row.russian});
  }
  case EventFamily::SunAltitude:
    return (russian ? "Солнце на высоте " : "Sun at ") + DegreesText(event.degrees, true) +
           (event.rising ? (russian ? ", подъём" : ", rising") : (russian ? ", спуск" : ", setting"));
  case EventFamily::SunAzimuth:
    return (russian ? "Солнце на азимуте " : "Sun at azimuth ") + DegreesText(event.degrees, false);
  case EventFamily::Season: {
    const SeasonEventRow &row = SeasonEventRows()[event.row];
    return in({row.english, row.russian});
  }
  case EventFamily::MoonDay: return in(MoonDayNames(event.moonDay));
  case EventFamily::MoonQuarter: {
    const MoonPhaseNames &names = NamesOf(PhaseOf(event.quarter));
    return in({names.english, names.russian});
  }
  }
  return calendar.key;
}

// What of the day's list a key needs: the horizon's events alone are a
// third of the work of the whole list.
DayEventSet SetFor(const CalendarEvent &calendar) {
  if (calendar.interval) return DayEventSet::Full;
  const DayEventRow &row = DayEventRows()[calendar.event.row];
  const std::string_view key = row.key;
  if (std::isnan(row.levelDeg) || key == "culmination") return DayEventSet::Horizon;
  return key.find("_hour_") != std::string_view::npos ? DayEventSet::Full : DayEventSet::Twilights;
}

// The wider of two sets (Full > Twilights > Horizon).
DayEventSet Wider(DayEventSet a, DayEventSet b) {
  const auto rank = [](DayEventSet set) {
    return set == DayEventSet::Full ? 2 : set == DayEventSet::Twilights ? 1 : 0;
  };
  return rank(a) >= rank(b) ? a : b;
}


long long OffsetSeconds(float offsetHours) { return std::llround(double(offsetHours) * 3600); }

long long SecondsOfJulianDate(double julianDateUt) {
  return std::llround((julianDateUt - kUnixEpochJulianDate) * 86400);
}

double JulianDateOfSeconds(long long seconds) {
  return kUnixEpochJulianDate + double(seconds) / 86400;
}

// "47.0000N", "28.8333E": a coordinate to 0.0001 degree with its
// hemisphere; `degreeSign` puts "°" before the letter.
std::string CoordinateText(double degrees, char positive, char negative, bool degreeSign) {
  const double rounded = std::round(degrees * 10000) / 10000;
  char text[48];
  std::snprintf(text, sizeof text, "%.4f%s%c", std::fabs(rounded), degreeSign ? "°" : "",
                rounded < 0 ? negative : positive);
  return text;
}

// One VEVENT to be: its instants (UT seconds), which key, the local date
// and the passage of the date (0 the first).
struct Occurrence {
  long long start;
  std::optional<long long> end;
  std::size_t keyIndex;
  CivilDate date;
  int passage;
};

void AddLine(std::string &out, std::string_view name, std::string_view value) {
  std::string line(name);
  line += ':';
  line += value;
  out += FoldedLine(line);
}

} // namespace

std::optional<CalendarEvent> ParseCalendarEvent(std::string_view key) {
  for (std::size_t i = 0; i < std::size(kIntervalRows); ++i) {
    if (key == kIntervalRows[i].key) return CalendarEvent{std::string(key), {}, i};
  }
  const std::optional<Event> event = ParseEvent(key);
  if (!event) return std::nullopt;
  return CalendarEvent{std::string(key), *event, std::nullopt};
}

const char *CalendarIntervalKeys() {
  return "morning_golden_hour, evening_golden_hour, morning_blue_hour, evening_blue_hour";
}

std::string UtcStamp(long long seconds) {
  const long long day = FloorDiv(seconds, kDaySeconds);
  const long long second = seconds - day * kDaySeconds;
  const CivilDate date = DateOfDay(day);
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02lld%02lld%02lldZ", date.year, date.month,
                date.day, second / 3600, second / 60 % 60, second % 60);
  return text;
}

std::string EscapedText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == ';' || c == ',') {
      escaped += '\\';
      escaped += c;
    } else if (c == '\n' || c == '\r') {
      // CRLF, LF and CR alone are each one line end.
      if (c == '\n' || i + 1 == text.size() || text[i + 1] != '\n') escaped += "\\n";
    } else if (byte >= 0x20 && byte != 0x7f) {
      escaped += c;
    }
    // RFC 5545 3.3.11 allows no other control character; a tab too is left
    // out, as a calendar would show it as nothing useful.
  }
  return escaped;
}

std::string FoldedLine(std::string_view line) {
  std::string folded;
  std::size_t limit = kLineOctets;
  while (line.size() > limit) {
    std::size_t cut = limit;
    // Back to the first octet of a UTF-8 character, never to nothing.
    while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    folded.append(line.substr(0, cut));
    folded += "\r\n ";
    line.remove_prefix(cut);
    limit = kLineOctets - 1; // the leading space is an octet of the line
  }
  folded.append(line);
  folded += "\r\n";
  return folded;
}

std::string WriteCalendar(const CalendarRequest &request) {
  // One key once, in the order first given.
  std::vector<const CalendarEvent *> keys;
  for (const CalendarEvent &event : request.events) {
    if (std::none_of(keys.begin(), keys.end(),
                     [&event](const CalendarEvent *kept) { return kept->key == event.key; }))
      keys.push_back(&event);
  }

  const long long firstDay = DayNumber(request.from), lastDay = DayNumber(request.to);
  std::vector<Occurrence> found;

  // What each date needs computed.
  std::optional<DayEventSet> daySet;
  bool sunDay = false, moonDay = false, yearEvents = false;
  for (const CalendarEvent *key : keys) {
    const EventFamily family = key->event.family;
    if (key->interval || family == EventFamily::SunDay)
      daySet = daySet ? Wider(*daySet, SetFor(*key)) : SetFor(*key);
    sunDay = sunDay || key->interval || family == EventFamily::SunDay ||
             family == EventFamily::SunAltitude || family == EventFamily::SunAzimuth;
    moonDay = moonDay || (!key->interval && family == EventFamily::MoonDay);
    yearEvents = yearEvents || (!key->interval && (family == EventFamily::Season ||
                                                   family == EventFamily::MoonQuarter));
  }

  for (long long dayNumber = firstDay; (sunDay || moonDay) && dayNumber <= lastDay; ++dayNumber) {
    const CivilDate date = DateOfDay(dayNumber);
    Site site = request.site;
    site.Timezon = request.offsetOn(date);
    const long long base = dayNumber * kDaySeconds - OffsetSeconds(site.Timezon);
    std::unique_ptr<SunDay> sun;
    if (sunDay) sun = MakeSunDay(request.theory, site, date);
    DayEvents events;
    if (daySet)
      events = request.observer ? FindObserverDayEvents(*sun, *request.observer, {}, *daySet)
                                : FindDayEvents(*sun, {}, *daySet);
    MoonDayEvents moon;
    if (moonDay) moon = FindMoonDayEvents(MoonDay(site, date));
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const CalendarEvent &key = *keys[i];
      const auto add = [&](const DayMoment &moment, int passage = 0) {
        if (moment.happens()) found.push_back({base + moment.seconds, {}, i, date, passage});
      };
      if (key.interval) {
        const Interval &interval = events.*kIntervalRows[*key.interval].interval;
        if (interval[0].happens() && interval[1].happens())
          found.push_back({base + interval[0].seconds, base + interval[1].seconds, i, date, 0});
        continue;
      }
      switch (key.event.family) {
      case EventFamily::SunDay: add(DayEventRows()[key.event.row].moment(events)); break;
      case EventFamily::SunAltitude: {
        const LevelCrossings crossings = FindCrossings(*sun, key.event.degrees);
        add(key.event.rising ? crossings.rising : crossings.setting);
        break;
      }
      case EventFamily::SunAzimuth: {
        const std::vector<AzimuthPassage> passages =
            FindAzimuthCrossings(*sun, key.event.degrees).passages;
        for (std::size_t p = 0; p < passages.size(); ++p)
          add(DayMoment::At(passages[p].seconds), int(p));
        break;
      }
      case EventFamily::MoonDay:
        add(key.event.moonDay == MoonDayEvent::Moonrise  ? moon.moonrise
            : key.event.moonDay == MoonDayEvent::Moonset ? moon.moonset
                                                         : moon.transit);
        break;
      case EventFamily::Season:
      case EventFamily::MoonQuarter: break;
      }
    }
  }

  if (yearEvents) {
    // The range from 00:00 of its first date to 24:00 of its last, local.
    const long long start = firstDay * kDaySeconds - OffsetSeconds(request.offsetOn(request.from));
    const long long end = (lastDay + 1) * kDaySeconds -
                          OffsetSeconds(request.offsetOn(DateOfDay(lastDay + 1)));
    // The local date of an instant, at the offset of its UT date.
    const auto localDate = [&request](long long instant) {
      const long long guess = FloorDiv(instant, kDaySeconds);
      return DateOfDay(FloorDiv(instant + OffsetSeconds(request.offsetOn(DateOfDay(guess))),
                                kDaySeconds));
    };
    const auto within = [start, end](long long instant) { return instant >= start && instant < end; };
    std::vector<Seasons> years;
    for (int year = std::max(request.from.year - 1, kFirstSeasonsYear);
         year <= std::min(request.to.year + 1, kLastSeasonsYear); ++year) {
      if (const std::optional<Seasons> seasons = FindSeasons(year)) years.push_back(*seasons);
    }
    std::vector<QuarterInstant> quarters;
    if (std::any_of(keys.begin(), keys.end(), [](const CalendarEvent *key) {
          return !key->interval && key->event.family == EventFamily::MoonQuarter;
        }))
      quarters = FindQuarters(JulianDateOfSeconds(start - kDaySeconds),
                              JulianDateOfSeconds(end + kDaySeconds));
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const CalendarEvent &key = *keys[i];
      if (key.interval) continue;
      std::vector<long long> instants;
      if (key.event.family == EventFamily::Season) {
        std::transform(years.begin(), years.end(), std::back_inserter(instants),
                       [&key](const Seasons &seasons) {
                         return SecondsOfJulianDate(
                             seasons.*SeasonEventRows()[key.event.row].julianDateUt);
                       });
      } else if (key.event.family == EventFamily::MoonQuarter) {
        for (const QuarterInstant &q : quarters) {
          if (q.quarter == key.event.quarter) instants.push_back(SecondsOfJulianDate(q.julianDateUt));
        }
      }
      for (long long instant : instants) {
        if (within(instant)) found.push_back({instant, {}, i, localDate(instant), 0});
      }
    }
  }

  std::sort(found.begin(), found.end(), [](const Occurrence &a, const Occurrence &b) {
    return std::tie(a.start, a.keyIndex, a.passage) < std::tie(b.start, b.keyIndex, b.passage);
  });

  const double latitudeDeg = request.site.LatRad * kDegreesPerRadian;
  const double longitudeDeg = request.site.LongHours * 15;
  const std::string siteUid = CoordinateText(latitudeDeg, 'N', 'S', false) + "-" +
                              CoordinateText(longitudeDeg, 'E', 'W', false);
  const std::string siteText =
      request.siteName.empty() ? CoordinateText(latitudeDeg, 'N', 'S', true) + " " +
                                     CoordinateText(longitudeDeg, 'E', 'W', true)
                               : request.siteName;
  std::vector<std::string> summaries;
  std::transform(keys.begin(), keys.end(), std::back_inserter(summaries),
                 [&](const CalendarEvent *key) {
                   return EscapedText(Caption(*key, request.russian) + " — " + siteText);
                 });
  const std::string stamp = UtcStamp(request.stampSeconds);

  std::string out;
  out.reserve(400 * found.size() + 200);
  out += "BEGIN:VCALENDAR\r\n"
         "VERSION:2.0\r\n"
         "PRODID:-//Ostrel//Ostrel events//EN\r\n"
         "CALSCALE:GREGORIAN\r\n";
  for (const Occurrence &o : found) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", o.date.year, o.date.month, o.date.day);
    std::string uid = keys[o.keyIndex]->key + "-" + date + "-" + siteUid;
    if (o.passage > 0) uid += "-" + std::to_string(o.passage + 1);
    out += "BEGIN:VEVENT\r\n";
    AddLine(out, "UID", EscapedText(uid + "@ostrel"));
    AddLine(out, "DTSTAMP", stamp);
    AddLine(out, "DTSTART", UtcStamp(o.start));
    if (o.end) AddLine(out, "DTEND", UtcStamp(*o.end));
    AddLine(out, "SUMMARY", summaries[o.keyIndex]);
    AddLine(out, "TRANSP", "TRANSPARENT"); // an event of the sky does not make one busy
    if (request.alarmMinutes) {
      out += "BEGIN:VALARM\r\n"
             "ACTION:DISPLAY\r\n";
      AddLine(out, "DESCRIPTION", summaries[o.keyIndex]);
      AddLine(out, "TRIGGER", "-PT" + std::to_string(*request.alarmMinutes) + "M");
      out += "END:VALARM\r\n";
    }
    out += "END:VEVENT\r\n";
  }
  out += "END:VCALENDAR\r\n";
  return out;
}

} // namespace ostrel
