// SPDX-License-Identifier: GPL-3.0-or-later
// The events of a range of dates at a site as an iCalendar file (RFC 5545),
// for a calendar program to import: one VEVENT an occurrence.
//
// The keys are those of the event language (next_event.h) and the four
// golden and blue hours as intervals: morning_golden_hour,
// evening_golden_hour, morning_blue_hour, evening_blue_hour (from the day's
// ..._start to its ..._end).
//
// What the file holds:
//   - a moment is a VEVENT with DTSTART alone (RFC 5545 3.6.1: it then ends
//     where it starts); an interval has DTSTART and DTEND; both in UTC,
//     "YYYYMMDDTHHMMSSZ", to the second as the day's list gives them;
//   - an interval is written only where both its ends happen on the date
//     (where the Sun does not reach its far level, its ..._start and ..._end
//     keys give the end that happens);
//   - SUMMARY is the event's name in the language asked for, a dash and the
//     site's name (or its coordinates to 0.0001 degree);
//   - UID is "<key>-<YYYYMMDD>-<lat><N|S>-<lon><E|W>@ostrel", the local date
//     and the coordinates to 0.0001 degree (11 m), with "-2" and on for a
//     second passage of an azimuth on one date, so that a calendar that
//     imports the file again updates its events instead of doubling them;
//   - DTSTAMP is the instant the caller gives;
//   - a VALARM (ACTION:DISPLAY) the minutes asked for before each start;
//   - lines end in CRLF and are folded at 75 octets, never inside a UTF-8
//     character; TEXT values have backslash, semicolon, comma and line ends
//     escaped, and other control characters left out.
// The events of a date are the day's own (FindDayEvents, FindCrossings,
// FindAzimuthCrossings, FindMoonDayEvents) at the date's offset; the seasons
// and the Moon's quarters are those whose instant falls within the range's
// local dates.  An event that does not happen on a date (a polar day or
// night, a level the Sun does not reach) is simply absent.  The VEVENTs go
// in time order, events of one instant in the order of the keys.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/events/next_event.h"
#include "core/observer/observer_day.h"
#include "core/sun/sun_day.h"
#include "core/sun/theory.h"

namespace ostrel {

// One key of a calendar: an event of the language, or a golden or blue
// hour as an interval.
struct CalendarEvent {
  std::string key;                      // as given
  Event event;                          // when not an interval
  std::optional<std::size_t> interval;  // the golden or blue hour, by its row
};

// The calendar's event a key names; none for a key of no event.
std::optional<CalendarEvent> ParseCalendarEvent(std::string_view key);

// The interval keys, as a refusal lists them.
const char *CalendarIntervalKeys();

struct CalendarRequest {
  Site site;                   // latitude and longitude; Timezon is ignored
  std::string siteName;        // in SUMMARY; empty: the coordinates
  CivilDate from, to;          // local dates, from not after to
  std::vector<CalendarEvent> events; // one key once; a key given twice is kept once
  Theory theory = Theory::Classic;   // the Sun's; the Moon's and the seasons' are precise
  std::optional<int> alarmMinutes;   // before each start, 0 or more
  bool russian = false;              // the language of SUMMARY and the alarm
  long long stampSeconds = 0;        // DTSTAMP: UT seconds from 1970-01-01 00:00,
                                     // 0 to 253402300799 (9999-12-31T23:59:59)
  DateOffset offsetOn;               // each date's offset, hours
  // The observer whose sunrise and sunset the day's events are (as
  // FindObserverDayEvents gives them); none: the sea-level horizon.  The
  // other events keep their definitions.
  std::optional<ObserverHorizon> observer;
};

// The whole file.
std::string WriteCalendar(const CalendarRequest &request);

// "YYYYMMDDTHHMMSSZ" of UT seconds from 1970-01-01 00:00 (years 0 to 9999).
std::string UtcStamp(long long seconds);

// A TEXT value escaped (RFC 5545 3.3.11).
std::string EscapedText(std::string_view text);

// One content line folded at 75 octets (RFC 5545 3.1), each piece ended
// by CRLF, the pieces after the first begun by a space.
std::string FoldedLine(std::string_view line);

} // namespace ostrel
