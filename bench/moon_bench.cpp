// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's day beside the precise Sun's, and a year of the Moon's
// quarters.
//
// BM_PreciseSunDay and BM_MoonDay each set their body up for a site and a
// date and find its rising, setting and upper transit (DayEventSet::Horizon
// for the Sun, FindMoonDayEvents for the Moon), cycling through the 64 days
// of bench/day_cases.h.  The aim is the Moon's day within three times the
// Sun's.  BM_MoonQuartersYear lists the quarters of one whole year (about
// 50), cycling through the years 1700 to 2099; the aim is under 5 ms.
//
//   build/bench/moon_bench --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <erfa.h>

#include "bench/day_cases.h"
#include "core/day/day_events.h"
#include "core/moon/moon_day.h"
#include "core/moon/moon_quarters.h"
#include "core/sun/precise_sun.h"

namespace {

using namespace ostrel::bench;

void BM_PreciseSunDay(benchmark::State &state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const ostrel::PreciseSunDay day(OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)));
    ostrel::DayEvents events = ostrel::FindDayEvents(day, {}, ostrel::DayEventSet::Horizon);
    benchmark::DoNotOptimize(events);
    i = (i + 1) % kBenchDays;
  }
}
BENCHMARK(BM_PreciseSunDay);

void BM_MoonDay(benchmark::State &state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const ostrel::MoonDay day(OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)));
    ostrel::MoonDayEvents events = ostrel::FindMoonDayEvents(day);
    benchmark::DoNotOptimize(events);
    i = (i + 1) % kBenchDays;
  }
}
BENCHMARK(BM_MoonDay);

void BM_MoonQuartersYear(benchmark::State &state) {
  int year = 1700;
  for (auto _ : state) {
    double jd0 = 0, from = 0, to = 0;
    eraCal2jd(year, 1, 1, &jd0, &from);
    eraCal2jd(year + 1, 1, 1, &jd0, &to);
    auto quarters = ostrel::FindQuarters(jd0 + from, jd0 + to);
    benchmark::DoNotOptimize(quarters);
    year = year == 2099 ? 1700 : year + 1;
  }
}
BENCHMARK(BM_MoonQuartersYear)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
