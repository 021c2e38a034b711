// SPDX-License-Identifier: GPL-3.0-or-later
// One language for the events the program finds, and the search for the
// next moments of any of them.
//
// The keys:
//   the day's list (core/day/day_table.h, DayEventRows): sunrise, sunset,
//     culmination, civil_dawn ... astronomical_dusk, morning_golden_hour_start
//     ... evening_blue_hour_end;
//   altitude:DEG:rising, altitude:DEG:setting: the Sun's centre, true
//     altitude, DEG from -90 to 90 (day_events.h);
//   azimuth:DEG: the Sun's centre passing an azimuth, DEG from 0 to 360 from
//     north through east (azimuth_crossings.h);
//   the seasons (core/events/seasons.h, SeasonEventRows): march_equinox,
//     june_solstice, september_equinox, december_solstice, perihelion,
//     aphelion;
//   the Moon: moonrise, moonset, moon_transit (core/moon/moon_day.h) and its
//     quarters new_moon, first_quarter, full_moon, last_quarter
//     (core/moon/moon_quarters.h, the keys of moon_place.h's phase names).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/moon/moon_quarters.h"
#include "core/sun/sun_day.h"
#include "core/observer/observer_day.h"
#include "core/sun/theory.h"

namespace ostrel {

enum class EventFamily {
  SunDay,      // a row of DayEventRows()
  SunAltitude, // the Sun's centre crossing an altitude one way
  SunAzimuth,  // the Sun's centre passing an azimuth
  Season,      // a row of SeasonEventRows()
  MoonDay,     // moonrise, moonset, moon_transit
  MoonQuarter, // new moon, first quarter, full moon, last quarter
};

enum class MoonDayEvent { Moonrise, Moonset, Transit };

struct Event {
  EventFamily family = EventFamily::SunDay;
  std::size_t row = 0; // SunDay: index in DayEventRows(); Season: in SeasonEventRows()
  double degrees = 0;  // SunAltitude: altitude; SunAzimuth: azimuth from north
  bool rising = true;  // SunAltitude: rising, else setting
  MoonDayEvent moonDay = MoonDayEvent::Moonrise;
  MoonQuarter quarter = MoonQuarter::NewMoon;
};

// The event a key names; none for a key of no event (or a degree out of
// its range).
std::optional<Event> ParseEvent(std::string_view key);

// The days from 1970-01-01 to a date (negative before it), the date of
// such a day, and a division that rounds toward minus infinity (the day
// of an instant in seconds), for the searches across dates.
long long DayNumber(const CivilDate &date);
CivilDate DateOfDay(long long dayNumber);
long long FloorDiv(long long a, long long b);

// A few keys of each kind, as a refusal lists them.
const char *EventKeyExamples();

// Where the search for the next moments stops: a year and a day, a leap
// year's 366 days and one, seconds.
inline constexpr long long kNextEventSpanSeconds = 367LL * 86400;

// The offset in force on a local date, hours (local civil time = UT +
// offset), as the day's events take it.
using DateOffset = std::function<float(const CivilDate &)>;

struct NextEventSearch {
  Event event;
  Site site;                       // latitude and longitude; Timezon is ignored
  Theory theory = Theory::Classic; // the Sun's; the Moon's and the seasons' are precise
  long long afterSeconds = 0;      // UT seconds from 1970-01-01 00:00
  int offsetMinutes = 0;           // added to every event's instant
  int count = 1;
  DateOffset offsetOn; // each date's offset (a zone's summer time)
  // The observer whose sunrise and sunset the day's events are (the
  // first rising and the last setting over its horizon), or none.  Held
  // by value, so that a search outlives whatever it was built from.
  std::optional<ObserverHorizon> observer;
};

// The first `count` moments (each event's instant plus offsetMinutes, UT
// seconds from 1970-01-01 00:00, in time order) that fall strictly after
// afterSeconds and at most kNextEventSpanSeconds after it, and no later
// than 2100-12-31 at the site; fewer, or none, where the event does not
// come so often within that span.
//
// The events of a date are the day's own (FindDayEvents, FindCrossings,
// FindAzimuthCrossings, FindMoonDayEvents) at that date's offset, so each
// moment is the one the day's list gives for its date; a date before a
// change of offset is searched at both offsets, so that the hour the clocks
// skip or repeat is searched once and only once.  A level crossed twice in
// one direction on one date gives its first crossing alone (as the day's
// list).  The seasons come from FindSeasons and the quarters from
// FindQuarters, each rounded to the second.
std::vector<long long> FindNextEvents(const NextEventSearch &search);

} // namespace ostrel
