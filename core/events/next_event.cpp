// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/next_event.h"

#include <algorithm>
#include <iterator>
#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>

#include "core/day/azimuth_crossings.h"
#include "core/day/day_events.h"
#include "core/day/day_table.h"
#include "core/events/seasons.h"
#include "core/moon/moon_day.h"
#include "core/moon/moon_place.h"

namespace ostrel {
namespace {

constexpr long long kDaySeconds = 86400;
// The Julian date of 1970-01-01 00:00 UT.
constexpr double kUnixEpochJulianDate = 2440587.5;
// The widest offsets of local civil time from UT, hours (-12 and +14).
constexpr long long kWidestOffsetSeconds = 14LL * 3600;
// One event found twice, from the two offsets of a date before a change,
// lands on the same second; two distinct events of one key are hours apart.
constexpr long long kSameEventSeconds = 2;

// (cppcheck misses the members' use through the iterators of find_if.)
struct MoonDayKey {
  const char *key;
  // cppcheck-suppress unusedStructMember
  MoonDayEvent event;
};
constexpr MoonDayKey kMoonDayKeys[] = {{"moonrise", MoonDayEvent::Moonrise},
                                       {"moonset", MoonDayEvent::Moonset},
                                       {"moon_transit", MoonDayEvent::Transit}};

struct QuarterKey {
  // cppcheck-suppress unusedStructMember
  MoonQuarter quarter;
  MoonPhase phase; // whose name's key is the quarter's
};
constexpr QuarterKey kQuarterKeys[] = {{MoonQuarter::NewMoon, MoonPhase::NewMoon},
                                       {MoonQuarter::FirstQuarter, MoonPhase::FirstQuarter},
                                       {MoonQuarter::FullMoon, MoonPhase::FullMoon},
                                       {MoonQuarter::LastQuarter, MoonPhase::LastQuarter}};

// A plain decimal number: an optional sign, digits with at most one point.
std::optional<double> Degrees(std::string_view text) {
  std::size_t start = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-'))
    start = 1;
  int digits = 0, points = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && points == 0) {
      ++points;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0)
    return std::nullopt;
  // from_chars takes no '+'.
  const std::string_view number = text[0] == '+' ? text.substr(1) : text;
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size())
    return std::nullopt;
  return value;
}


long long SecondsOfJulianDate(double julianDateUt) {
  return std::llround((julianDateUt - kUnixEpochJulianDate) * 86400);
}

double JulianDateOfSeconds(long long seconds) {
  return kUnixEpochJulianDate + double(seconds) / 86400;
}

bool IsHorizonRow(const DayEventRow &row) {
  return std::isnan(row.levelDeg) || std::string_view(row.key) == "culmination";
}

// The event's moments on one local date at one offset: seconds of the date.
std::vector<int> SecondsOnDate(const NextEventSearch &search, CivilDate date, float offset) {
  Site site = search.site;
  site.Timezon = offset;
  const Event &event = search.event;
  std::vector<int> seconds;
  const auto keep = [&seconds](const DayMoment &moment) {
    if (moment.happens())
      seconds.push_back(moment.seconds);
  };
  switch (event.family) {
  case EventFamily::SunDay: {
    const DayEventRow &row = DayEventRows()[event.row];
    // The horizon's events alone where they suffice: a third of the work.
    const DayEventSet set = IsHorizonRow(row) ? DayEventSet::Horizon : DayEventSet::Full;
    if (search.observer) {
      keep(row.moment(FindObserverDayEvents(search.theory, site, date, *search.observer, {}, set)));
      break;
    }
    const std::unique_ptr<SunDay> day = MakeSunDay(search.theory, site, date);
    keep(row.moment(FindDayEvents(*day, {}, set)));
    break;
  }
  case EventFamily::SunAltitude: {
    const std::unique_ptr<SunDay> day = MakeSunDay(search.theory, site, date);
    const LevelCrossings crossings = FindCrossings(*day, event.degrees);
    keep(event.rising ? crossings.rising : crossings.setting);
    break;
  }
  case EventFamily::SunAzimuth: {
    const std::unique_ptr<SunDay> day = MakeSunDay(search.theory, site, date);
    const std::vector<AzimuthPassage> passages = FindAzimuthCrossings(*day, event.degrees).passages;
    std::transform(passages.begin(), passages.end(), std::back_inserter(seconds),
                   [](const AzimuthPassage &passage) { return passage.seconds; });
    break;
  }
  case EventFamily::MoonDay: {
    const MoonDayEvents moon = FindMoonDayEvents(MoonDay(site, date));
    keep(event.moonDay == MoonDayEvent::Moonrise  ? moon.moonrise
         : event.moonDay == MoonDayEvent::Moonset ? moon.moonset
                                                  : moon.transit);
    break;
  }
  case EventFamily::Season:
  case EventFamily::MoonQuarter:
    break;
  }
  return seconds;
}

// Sorts the moments and keeps one of each event found twice.
void SortOnce(std::vector<long long> &moments) {
  std::sort(moments.begin(), moments.end());
  moments.erase(std::unique(moments.begin(), moments.end(),
                            [](long long a, long long b) { return b - a <= kSameEventSeconds; }),
                moments.end());
}

} // namespace

std::optional<Event> ParseEvent(std::string_view key) {
  const auto rows = DayEventRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (key == rows[i].key)
      return Event{EventFamily::SunDay, i};
  }
  const auto seasons = SeasonEventRows();
  for (std::size_t i = 0; i < seasons.size(); ++i) {
    if (key == seasons[i].key)
      return Event{EventFamily::Season, i};
  }
  const auto moon = std::find_if(std::begin(kMoonDayKeys), std::end(kMoonDayKeys),
                                 [key](const MoonDayKey &k) { return key == k.key; });
  if (moon != std::end(kMoonDayKeys)) {
    Event event{EventFamily::MoonDay};
    event.moonDay = moon->event;
    return event;
  }
  const auto quarter = std::find_if(
      std::begin(kQuarterKeys), std::end(kQuarterKeys),
      [key](const QuarterKey &k) { return key == NamesOf(k.phase).key; });
  if (quarter != std::end(kQuarterKeys)) {
    Event event{EventFamily::MoonQuarter};
    event.quarter = quarter->quarter;
    return event;
  }
  constexpr std::string_view kAltitude = "altitude:", kAzimuth = "azimuth:";
  if (key.substr(0, kAltitude.size()) == kAltitude) {
    const std::string_view rest = key.substr(kAltitude.size());
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos)
      return std::nullopt;
    const std::string_view way = rest.substr(colon + 1);
    const std::optional<double> degrees = Degrees(rest.substr(0, colon));
    if (!degrees || std::fabs(*degrees) > 90 || (way != "rising" && way != "setting"))
      return std::nullopt;
    Event event{EventFamily::SunAltitude};
    event.degrees = *degrees;
    event.rising = way == "rising";
    return event;
  }
  if (key.substr(0, kAzimuth.size()) == kAzimuth) {
    const std::optional<double> degrees = Degrees(key.substr(kAzimuth.size()));
    if (!degrees || *degrees < 0 || *degrees > 360)
      return std::nullopt;
    Event event{EventFamily::SunAzimuth};
    event.degrees = *degrees;
    return event;
  }
  return std::nullopt;
}

const char *EventKeyExamples() {
  return "sunrise, sunset, culmination, civil_dawn, evening_golden_hour_start, "
         "altitude:DEG:rising|setting (DEG -90 to 90), azimuth:DEG (0 to 360), moonrise, "
         "moonset, moon_transit, new_moon, full_moon, march_equinox, perihelion";
}

std::vector<long long> FindNextEvents(const NextEventSearch &search) {
  const long long shift = static_cast<long long>(search.offsetMinutes) * 60;
  const long long after = search.afterSeconds;
  const long long last = after + kNextEventSpanSeconds;
  const std::size_t count = search.count < 1 ? 1 : static_cast<std::size_t>(search.count);
  const auto within = [&](long long moment) { return moment > after && moment <= last; };
  std::vector<long long> found;
  const auto finish = [&] {
    SortOnce(found);
    if (found.size() > count)
      found.resize(count);
    return found;
  };
  // The events' own instants lie in (after - shift, last - shift].
  const long long firstInstant = after - shift, lastInstant = last - shift;
  const long long firstDay =
      std::max(FloorDiv(firstInstant, kDaySeconds) - 1, DayNumber({1700, 1, 1}));
  const long long lastDay =
      std::min(FloorDiv(lastInstant, kDaySeconds) + 1, DayNumber({2100, 12, 31}));

  switch (search.event.family) {
  case EventFamily::Season: {
    const int firstYear = DateOfDay(firstDay).year, lastYear = DateOfDay(lastDay).year;
    const auto rows = SeasonEventRows();
    for (int year = firstYear; year <= lastYear; ++year) {
      const std::optional<Seasons> seasons = FindSeasons(year);
      if (!seasons)
        continue;
      const long long moment =
          SecondsOfJulianDate((*seasons).*rows[search.event.row].julianDateUt) + shift;
      if (within(moment))
        found.push_back(moment);
    }
    return finish();
  }
  case EventFamily::MoonQuarter: {
    for (const QuarterInstant &q : FindQuarters(JulianDateOfSeconds(firstDay * kDaySeconds),
                                                JulianDateOfSeconds((lastDay + 1) * kDaySeconds))) {
      const long long moment = SecondsOfJulianDate(q.julianDateUt) + shift;
      if (q.quarter == search.event.quarter && within(moment))
        found.push_back(moment);
    }
    return finish();
  }
  case EventFamily::SunDay:
  case EventFamily::SunAltitude:
  case EventFamily::SunAzimuth:
  case EventFamily::MoonDay:
    break;
  }

  float offset = search.offsetOn(DateOfDay(firstDay));
  for (long long dayNumber = firstDay; dayNumber <= lastDay; ++dayNumber) {
    const CivilDate date = DateOfDay(dayNumber);
    const float nextOffset =
        dayNumber < lastDay ? search.offsetOn(DateOfDay(dayNumber + 1)) : offset;
    const float offsets[] = {offset, nextOffset};
    for (std::size_t i = 0; i < (nextOffset == offset ? 1u : 2u); ++i) {
      for (int seconds : SecondsOnDate(search, date, offsets[i])) {
        const long long moment =
            dayNumber * kDaySeconds + seconds - std::llround(double(offsets[i]) * 3600) + shift;
        if (within(moment))
          found.push_back(moment);
      }
    }
    offset = nextOffset;
    // No later date can give a moment before its own 00:00 at the widest
    // offset.
    SortOnce(found);
    const long long laterFrom = (dayNumber + 1) * kDaySeconds - kWidestOffsetSeconds + shift;
    const auto settled = std::lower_bound(found.begin(), found.end(), laterFrom);
    if (static_cast<std::size_t>(settled - found.begin()) >= count)
      break;
  }
  return finish();
}

long long DayNumber(const CivilDate &date) {
  using namespace std::chrono;
  return sys_days{year{date.year} / month{unsigned(date.month)} / day{unsigned(date.day)}}
      .time_since_epoch()
      .count();
}

CivilDate DateOfDay(long long dayNumber) {
  using namespace std::chrono;
  const year_month_day ymd{sys_days{days{dayNumber}}};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

long long FloorDiv(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

} // namespace ostrel
