// SPDX-License-Identifier: GPL-3.0-or-later
// The seasons of a year (core/events/seasons.h): the six events and the two
// distances, and the single evaluations they are made of.
#include <benchmark/benchmark.h>

#include "core/events/seasons.h"
#include "core/sun/precise_sun.h"

namespace {

// One year's seasons, the years taken in turn over the range.
void BM_FindSeasons(benchmark::State &state) {
  int year = ostrel::kFirstSeasonsYear;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ostrel::FindSeasons(year));
    if (++year > ostrel::kLastSeasonsYear) year = ostrel::kFirstSeasonsYear;
  }
}
BENCHMARK(BM_FindSeasons)->Unit(benchmark::kMicrosecond);

// One evaluation of the Sun's apparent geocentric longitude, as the
// equinoxes and solstices take it.
void BM_PreciseGeocentricAt(benchmark::State &state) {
  double jd = 2451545.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ostrel::PreciseGeocentricAt(jd));
    jd += 0.37;
  }
}
BENCHMARK(BM_PreciseGeocentricAt)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
