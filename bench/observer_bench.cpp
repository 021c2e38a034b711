// SPDX-License-Identifier: GPL-3.0-or-later
// A day's events for an observer behind a 360-point skyline beside the
// same day's events without an observer, in both theories, over the
// sixteen sites and four dates of bench/day_cases.h.  The goal: within 3
// times (docs/speed.md).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "bench/day_cases.h"
#include "core/observer/observer_day.h"

namespace ostrel::bench {
namespace {

// A skyline of a point a degree: low hills with 1-degree teeth (trees, a
// roof's edge) and a notch every 30 degrees, 0 to about 9 degrees high.
HorizonProfile Skyline360() {
  std::vector<HorizonPoint> points;
  points.reserve(360);
  for (int azimuth = 0; azimuth < 360; ++azimuth) {
    const double radians = azimuth * std::numbers::pi / 180;
    double altitude = 4 + 3 * std::sin(2 * radians) + (azimuth % 2 == 0 ? 1.5 : 0);
    if (azimuth % 30 == 15) altitude = 0;
    points.push_back({double(azimuth), altitude});
  }
  return HorizonProfile(std::move(points));
}

Observer AHouseOnAHill() {
  Observer observer;
  observer.elevationM = 300; // the precise theory's site takes it
  observer.eyeM = 10;
  return observer;
}

void BM_DayWithoutObserver(benchmark::State &state) {
  const Theory theory = static_cast<Theory>(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) {
    const std::unique_ptr<SunDay> day =
        MakeSunDay(theory, OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)));
    benchmark::DoNotOptimize(FindDayEvents(*day));
    i = (i + 1) % kBenchDays;
  }
}

void BM_DayWithObserver(benchmark::State &state) {
  const Theory theory = static_cast<Theory>(state.range(0));
  const ObserverHorizon horizon(AHouseOnAHill(), state.range(1) ? Skyline360() : HorizonProfile());
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        FindObserverDayEvents(theory, OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)), horizon));
    i = (i + 1) % kBenchDays;
  }
}

// Arguments: the theory (0 classic, 1 precise); for the observer, the
// skyline (0 none: the dipped horizon alone, 1 the 360 points).
BENCHMARK(BM_DayWithoutObserver)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DayWithObserver)
    ->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ostrel::bench

BENCHMARK_MAIN();
