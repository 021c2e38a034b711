// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's quarters: the instants at which the apparent geocentric
// ecliptic longitude of the Moon (eraMoon98, core/moon/moon_theory.h) less
// that of the Sun (the precise Sun, core/sun/precise_sun.h), both of the
// true ecliptic and equinox of date, is 0 (new moon), 90 (first quarter),
// 180 (full moon) or 270 degrees (last quarter) (Meeus, Astronomical
// Algorithms, 2nd ed., ch. 49, as almanacs define the phases).
//
// Instants are Julian dates UT (full); TT = UT + DeltaTSeconds.  Each is
// solved to a few milliseconds of the model; the model itself (eraMoon98's
// few seconds of arc, the Moon gaining 0.5" a second on the Sun) puts it
// within about ten seconds of the instants of JPL's ephemerides.  Meant
// for 1700 to 2100, where Delta T is known.
#pragma once

#include <vector>

namespace ostrel {

enum class MoonQuarter { NewMoon, FirstQuarter, FullMoon, LastQuarter };

struct QuarterInstant {
  MoonQuarter quarter = MoonQuarter::NewMoon;
  double julianDateUt = 0; // full Julian date, UT
};

// The Moon's ecliptic longitude less the Sun's, apparent, geocentric, of
// date, degrees 0 to 360, at a Julian date UT.
double MoonSunElongationDeg(double julianDateUt);

// Every quarter at or after `fromJulianDateUt` and before `toJulianDateUt`,
// in order.  None when the interval is empty or reversed.
std::vector<QuarterInstant> FindQuarters(double fromJulianDateUt, double toJulianDateUt);

// The last quarter at or before a moment and the first after it, and the
// last new moon at or before it (the Moon's age counts from it).
struct QuartersAround {
  QuarterInstant previous, next;
  double lastNewMoonJulianDateUt = 0;
};
QuartersAround FindQuartersAround(double julianDateUt);

} // namespace ostrel
