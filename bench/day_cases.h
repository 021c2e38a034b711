// SPDX-License-Identifier: GPL-3.0-or-later
// The days the benchmarks of a day's events cycle through: sixteen sites,
// each on four dates, so that one run meets mid latitudes, the tropics, both
// polar circles and beyond, both hemispheres and the time zones -12 and +12,
// with ordinary days, polar days and polar nights among them.
//
// Coordinates are rounded to 0.01 degree; zones are standard time (no
// summer time), hours east of Greenwich.
#pragma once

#include <array>
#include <cstddef>

#include "core/day/day_events.h"
#include "core/sun/sun_day.h"

namespace ostrel::bench {

struct BenchSite {
  double latDeg;  // north positive
  double longDeg; // east positive
  float zoneHours;
};

inline constexpr std::array<BenchSite, 16> kBenchSites{{
    {47.00, 28.83, 3},      // the window's reference site
    {51.48, 0.00, 0},       // prime meridian
    {40.71, -74.01, -5},    // mid latitude, west
    {35.68, 139.69, 9},     // mid latitude, east
    {-33.87, 151.21, 10},   // southern mid latitude
    {-34.60, -58.38, -3},   // southern mid latitude, west
    {1.29, 103.85, 8},      // near the equator, zone far from the meridian
    {-23.55, -46.63, -3},   // on the southern tropic
    {19.43, -99.13, -6},    // northern tropics
    {66.50, 25.73, 2},      // at the northern polar circle
    {69.65, 18.96, 1},      // beyond it: polar day and night
    {78.22, 15.65, 1},      // high Arctic
    {-77.85, 166.67, 12},   // high Antarctic, zone +12
    {-36.85, 174.76, 12},   // zone +12
    {0.19, -176.48, -12},   // zone -12, on the equator
    {64.84, -147.72, -9},   // near the polar circle, far west
}};

struct BenchDate {
  int year, month, day;
};

// Near the solstices and equinoxes, in years across the accepted range.
inline constexpr std::array<BenchDate, 4> kBenchDates{{
    {1985, 2, 10},
    {2011, 6, 21},
    {2024, 9, 23},
    {2050, 12, 21},
}};

inline constexpr std::size_t kBenchDays = kBenchSites.size() * kBenchDates.size();

// Day `i` of the cycle: every site on one date, then on the next.
inline BenchSite SiteOfDay(std::size_t i) { return kBenchSites[i % kBenchSites.size()]; }
inline BenchDate DateOfDay(std::size_t i) {
  return kBenchDates[(i / kBenchSites.size()) % kBenchDates.size()];
}

// Radians by the calculation's own degree (kRad), as the window converts.
inline Site OstrelSite(const BenchSite &s) {
  return Site{s.latDeg * kRad, s.longDeg / 15, s.zoneHours};
}
inline CivilDate OstrelDate(const BenchDate &d) { return CivilDate{d.year, d.month, d.day}; }

// How many of the thirteen distinct moments of a full set happen on the
// date: sunrise, sunset, culmination, the six twilight bounds, and the
// crossings of -4 and +6 degrees each way (the blue hours' bounds repeat
// the -6 and -4 degree crossings).  The peer's thirteen searches are the
// same thirteen moments.
inline int HappeningMoments(const DayEvents &e) {
  const DayMoment moments[] = {
      e.sunrise, e.sunset, e.culmination, e.civilDawn, e.civilDusk, e.nauticalDawn,
      e.nauticalDusk, e.astronomicalDawn, e.astronomicalDusk, e.morningGoldenHour[0],
      e.morningGoldenHour[1], e.eveningGoldenHour[0], e.eveningGoldenHour[1]};
  int count = 0;
  for (const DayMoment &m : moments) count += m.happens() ? 1 : 0;
  return count;
}

} // namespace ostrel::bench
