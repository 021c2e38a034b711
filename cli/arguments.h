// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of ostrel-cli: what it asks for, read and checked.
//
//   ostrel-cli now   SITE [--at LOCAL] [--azimuth north|south|south-signed] [OUT]
//   ostrel-cli day   SITE [--date DATE] [--altitude DEG]... [--azimuth DEG]... [OUT]
//   ostrel-cli table SITE --from DATE --to DATE [OUT]
//   ostrel-cli path  SITE [--date DATE] [--step MINUTES] [OUT]
//   ostrel-cli phases --from DATE --to DATE [--tz HOURS | --place NAME] [--format text|json|csv]
//   ostrel-cli seasons --year YEAR [--tz HOURS | --place NAME] [--format text|json|csv]
//   ostrel-cli places QUERY [--format text|json]
//   ostrel-cli next  EVENT SITE [--after LOCAL] [--offset MINUTES] [--count N]
//                    [--format text|json|csv] [--theory classic|precise]
//   ostrel-cli ics   SITE --from DATE --to DATE --events KEY[,KEY...] [--alarm MINUTES]
//                    [--lang en|ru] [--theory classic|precise]
//   ostrel-cli wait  EVENT SITE [--offset MINUTES] [--not-before HH:MM]
//                    [--not-after HH:MM] [--theory classic|precise]
//   SITE = --lat LAT --lon LON --tz HOURS | --place NAME [--tz HOURS] [OBSERVER]
//   OUT  = [--body sun|moon] [--format text|json|csv] [--theory classic|precise]
//   OBSERVER = [--elevation METRES] [--eye METRES] [--pressure HPA]
//              [--temperature CELSIUS] [--horizon FILE]
//
// The observer's options are the Sun's: with --body moon they are refused.
// Any of them makes an observer (core/observer/observer.h); --eye left out
// is 0 (the eye on the ground), --elevation left out is the eye's height
// (the ground at sea level), the pressure and temperature the core's
// defaults.  --horizon's file is read here, and a fault in it refused with
// its line number.
//
// The Moon has one theory, the precise one: with --body moon, --theory may
// be left out or be precise.
//
// Every value is checked here; a refusal is one line that names the option,
// the value and what is accepted.  An empty value (a script's unset
// variable, "--date ''" or "--date=") is refused as such, never taken for
// an option left out.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/events/icalendar.h"
#include "core/events/next_event.h"
#include "core/observer/horizon_profile.h"
#include "core/observer/observer.h"
#include "core/places/places.h"
#include "core/sun/sun_day.h"
#include "core/sun/theory.h"

namespace ostrel::cli {

// In the order of the command names (arguments.cpp, kCommands).
enum class Command { Now, Day, Table, Path, Places, Phases, Seasons, Next, Ics, Wait };
enum class Body { Sun, Moon };
enum class Format { Text, Json, Csv };

// An angle as the window's three fields hold it: whole or decimal degrees,
// minutes in single precision, and the hemisphere list (South or West
// chosen when `otherHemisphere`).
struct TypedAngle {
  double degrees = 0;
  float minutes = 0;
  bool otherHemisphere = false;
};

// A local civil moment as typed.
struct LocalMoment {
  CivilDate date;
  int hour = 0, minute = 0, second = 0;
};

// Seconds of a moment from the start of its date.
inline int SecondsOfDay(const LocalMoment &moment) {
  return moment.hour * 3600 + moment.minute * 60 + moment.second;
}

// The day of a date counted from 1970-01-01, and the date of such a day.
std::chrono::sys_days DaysOf(const CivilDate &date);
CivilDate DateOf(std::chrono::sys_days day);

struct Request {
  Command command = Command::Now;
  TypedAngle latitude, longitude;
  float timezone = 0;                // hours, local = UT + timezone
  std::optional<LocalMoment> at;     // now: the moment; next: the moment the
                                     // moments follow; none means the clock
                                     // (always, for wait)
  std::string eventKey;              // next, wait: the event as typed
  Event event;                       // next, wait: the event it names
  int offsetMinutes = 0;             // next, wait: added to each event's moment
  // wait: the local window the moment is moved into, seconds from the start
  // of its date; none where the limit is not given.  Never notBefore after
  // notAfter.
  std::optional<int> notBefore, notAfter;
  int count = 1;                     // next: how many moments
  std::optional<CivilDate> date;     // day, path: none means today at the site
  CivilDate from, to;                // table, phases, ics
  std::vector<CalendarEvent> calendarEvents; // ics: the keys, each once
  std::optional<int> alarmMinutes;   // ics: an alarm this long before each event
  bool russian = false;              // ics: the language of the events' names
  int year = 2000;                   // seasons
  std::vector<double> altitudes;     // day: degrees
  std::vector<double> azimuths;      // day: degrees from north through east
  int stepMinutes = 10;              // path
  std::int16_t azimuthMode = 0;      // now: FromNorth, FromSouth, FromSouthSigned
  Format format = Format::Text;
  Body body = Body::Sun;             // now, day, table, path
  Theory theory = Theory::Classic;   // the Moon's is always Theory::Precise
  std::string query;                 // places: the name asked for
  // --place: the town, whose zone gives the time zone where --tz is not
  // given (the offset is then found for each date or moment; for `phases`
  // and `seasons`, which have no site, at each quarter's or event's
  // instant).
  const Place *place = nullptr;
  bool timezoneGiven = true;
  // The observer of the SITE options, when any is given; --horizon's file
  // as typed (empty when none) and its skyline.
  std::optional<Observer> observer;
  std::string horizonFile;
  HorizonProfile horizon;
};

struct Parsed {
  enum class Outcome { Run, Help, Version, Refused };
  Outcome outcome = Outcome::Refused;
  Request request;
  std::string text; // the help text, or the one-line refusal (no line end)
};

// `arguments` without the program's name.
Parsed ParseArguments(std::span<const std::string> arguments);

// The most dates `ics` writes: three years, a leap day among them.  A
// calendar program takes a file of a few thousand events in one import;
// a longer range is better asked for again later.
inline constexpr int kMostCalendarDates = 3 * 365 + 1;
// The most keys of one `ics`.
inline constexpr std::size_t kMostCalendarKeys = 32;

// Latitude and longitude in the calculation's units, from the typed fields
// by the window's sums, and the observer's elevation (0 without one).
Site SiteOf(const Request &request);
// Signed decimal degrees of a typed angle, by the same sum.
double DecimalDegrees(const TypedAngle &angle);

} // namespace ostrel::cli
