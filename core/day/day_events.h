// SPDX-License-Identifier: GPL-3.0-or-later
// The events of one local civil date at a site: sunrise and sunset,
// culmination, the three twilights, the golden and blue hours, and the
// crossings of any altitude, each to the second.
//
// Altitudes are of the Sun's centre, true (geometric), without refraction;
// the theory's horizon altitude of sunrise and sunset already holds
// refraction and the semi-diameter.  Each crossing is bracketed between
// samples of the day (the extremes of the altitude near the meridian
// passages among them) and refined to a few milliseconds; moments are then
// rounded to the nearest second, and one that rounds to 24:00:00 belongs to
// the next date.  Where one level is crossed twice in one direction on one
// date (near the polar circles) the first crossing is given.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "core/sun/sun_day.h"

namespace ostrel {

// The altitudes of the named events, degrees.
inline constexpr double kCivilTwilightDeg = -6;
inline constexpr double kNauticalTwilightDeg = -12;
inline constexpr double kAstronomicalTwilightDeg = -18;
inline constexpr double kGoldenHourLowDeg = -4;  // the golden hour lies between
inline constexpr double kGoldenHourHighDeg = 6;  // these, the blue hour between
inline constexpr double kBlueHourLowDeg = -6;    // -6 and -4 degrees

// Why an event does not happen on the date.
enum class Absence {
  None,        // it happens
  AlwaysAbove, // the Sun stays above the level all date
  AlwaysBelow, // the Sun stays below the level all date
  OtherDate,   // the Sun crosses the level on this date only the other way:
               // this crossing falls on the date before or after
};

// A moment of the date, local civil time, whole seconds 0 to 86399.
struct DayMoment {
  int seconds = 0;
  Absence absence = Absence::OtherDate;
  bool happens() const { return absence == Absence::None; }
  static DayMoment At(int seconds) { return {seconds, Absence::None}; }
  static DayMoment Missing(Absence why) { return {0, why}; }
};

// The rising and the setting moment of one altitude, with how many times
// the Sun crosses it each way on the date.
struct LevelCrossings {
  double altitudeDeg = 0;
  DayMoment rising, setting;
  int risings = 0, settings = 0;
};

enum class Polar { None, Day, Night };

// A stretch of the date in which the Sun's upper limb stands above the
// observer's horizon: its rising and its setting, either of which is
// missing (Absence::OtherDate) where the stretch begins before the date or
// ends after it.
struct VisibleSpan {
  DayMoment rising, setting;
};

// What the observer's day adds (core/observer/observer_day.h).
struct ObserverEvents {
  // Every stretch of the date above the observer's horizon, in time order:
  // more than one behind a jagged skyline.
  std::vector<VisibleSpan> visible;
  // The time of direct sun: the seconds of the date in those stretches.
  int directSunSeconds = 0;
  // Sunrise and sunset as the same theory gives them without an observer
  // (FindDayEvents), so that both can be read.
  DayMoment seaLevelSunrise, seaLevelSunset;
};

// A start and an end, either of which may be missing.
using Interval = std::array<DayMoment, 2>;

struct DayEvents {
  Polar polar = Polar::None;
  DayMoment sunrise, sunset;
  DayMoment culmination; // the upper meridian passage
  std::optional<double> culminationAltitudeDeg;
  DayMoment civilDawn, civilDusk, nauticalDawn, nauticalDusk, astronomicalDawn,
      astronomicalDusk;
  // Only when asked for (DayEventSet::Full).
  Interval morningGoldenHour, eveningGoldenHour, morningBlueHour, eveningBlueHour;
  // Sunset minus sunrise when each happens once, sunrise first; 86400 on a
  // polar day, 0 on a polar night, none otherwise.
  std::optional<int> dayLengthSeconds;
  // One entry per altitude asked for, in the order asked.
  std::vector<LevelCrossings> altitudes;
  // Only for an observer (FindObserverDayEvents); then sunrise, sunset,
  // polar and dayLengthSeconds are the observer's.
  std::optional<ObserverEvents> observer;
};

enum class DayEventSet {
  Full,     // everything above
  Twilights, // no golden and blue hours: what a year's table needs
  Horizon    // the rising, the setting, the culmination and the altitudes
             // asked for alone (the twilights are left missing): what the
             // Moon's day needs
};

DayEvents FindDayEvents(const SunDay &day, std::span<const double> altitudesDeg = {},
                        DayEventSet set = DayEventSet::Full);

// The crossings of one altitude alone, degrees.
LevelCrossings FindCrossings(const SunDay &day, double altitudeDeg);

// A stable key for an absence, for programs: "above", "below", "other_date"
// (and "" for None).
const char *AbsenceKey(Absence absence);

} // namespace ostrel
