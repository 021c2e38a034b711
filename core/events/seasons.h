// SPDX-License-Identifier: GPL-3.0-or-later
// The seasons of a year in the precise theory: the equinoxes, the solstices
// and the Earth's perihelion and aphelion.
#pragma once

#include <optional>
#include <span>

namespace ostrel {

// The years FindSeasons answers for: those of the precise theory's Delta T
// (Espenak and Meeus' expressions from 1700) and of the application.
constexpr int kFirstSeasonsYear = 1700;
constexpr int kLastSeasonsYear = 2100;

// The seasons of one Gregorian year.  Every instant is a Julian date UT
// (full, not minus 2400000; UT taken as UT1), in the precise theory
// (core/sun/precise_sun.h): TT = UT + Delta T of Espenak and Meeus.
struct Seasons {
  // The Sun's apparent geocentric ecliptic longitude of the true equinox of
  // date at 0, 90, 180 and 270 degrees.  Julian dates UT.
  double marchEquinox = 0;
  double juneSolstice = 0;
  double septemberEquinox = 0;
  double decemberSolstice = 0;
  // The moments the Earth's centre is nearest to and furthest from the
  // Sun's (its heliocentric radial velocity is zero, from ERFA's eraEpv00).
  // The perihelion is the one nearest 3 January of the year, which may fall
  // on 28 to 31 December of the year before; the aphelion the one nearest
  // 4 July.  Julian dates UT.
  double perihelion = 0;
  double aphelion = 0;
  // The distance of the Earth's centre from the Sun's at those moments,
  // geometric, astronomical units.
  double perihelionAU = 0;
  double aphelionAU = 0;
};

// The seasons of a Gregorian year from kFirstSeasonsYear to
// kLastSeasonsYear, each instant to better than 0.01 s of the theory;
// std::nullopt for any other year.
//
// Each event is the root of a smooth function, monotonic for weeks about
// its calendar date: the apparent longitude less its target (Newton's
// method with the Sun's rate, two or three evaluations of the precise
// theory), the heliocentric radial velocity (a Newton step, then the
// secant method, four to six evaluations of eraEpv00).
std::optional<Seasons> FindSeasons(int year);

// The year's events in the order every list gives them: their keys (of the
// command line's JSON and CSV and of the event language, next_event.h),
// their English and Russian names, and where each instant stands in
// Seasons.
struct SeasonEventRow {
  const char *key;
  const char *english, *russian;
  double Seasons::*julianDateUt;
};
std::span<const SeasonEventRow> SeasonEventRows();

} // namespace ostrel
