// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's quarters by the local civil dates they fall on: FindQuarters
// (core/moon/moon_quarters.h) over 00:00 of the first date to 24:00 of the
// last at a fixed offset from UT, each instant rounded to the second and
// placed on its local date, as `ostrel-cli phases --tz` places them.  A
// year's chart marks its new and full moons on these dates.
#pragma once

#include <vector>

#include "core/moon/moon_quarters.h"
#include "core/sun/sun_day.h"

namespace ostrel {

struct QuarterOnDate {
  MoonQuarter quarter = MoonQuarter::NewMoon;
  CivilDate date;  // local civil date
  int seconds = 0; // local civil time, seconds from 00:00 of the date
};

// Every quarter from 00:00 of `first` to 24:00 of `last`, local civil time
// = UT + timezoneHours, in order; none when `last` is before `first`.
std::vector<QuarterOnDate> QuartersOnDates(CivilDate first, CivilDate last, double timezoneHours);

} // namespace ostrel
