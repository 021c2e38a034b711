// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's day by Ostrel beside the same events by a peer library,
// astronomy-engine's C library (../shared/peers/astronomy-c, MIT licence in
// its LICENSE file there), over the 64 days of bench/day_cases.h.
//
// The peer answers each event with its own search, each started at local
// midnight of the date and limited to one day: moonrise and moonset
// (Astronomy_SearchRiseSet with BODY_MOON: the upper limb, with its
// standard refraction) and the upper transit (Astronomy_SearchHourAngle,
// hour angle 0, whose moment is kept when it falls before the next local
// midnight): three searches.  Ostrel's side is a MoonDay and
// FindMoonDayEvents, the same three moments, the Moon's set-up for the site
// and date included, as the peer's observer and start time are.  The aim
// is Ostrel at most half the peer's time: the ratio of the medians (CPU
// time) is printed after the table.
//
//   build/bench/peer_moon_bench --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
//
// `peer_moon_bench --compare` times nothing: it prints, for every day, the
// moonrise, moonset and transit of both, local time, and the largest
// differences over the days within 60 degrees of the equator.  The two
// theories differ (eraMoon98, a truncated ELP 2000-82 good to some 18",
// against the peer's own lunar series) by seconds of arc, which away from
// the poles move a moonrise by seconds of time; it exits with status 1
// when a moment of those days differs by more than two minutes, or when an
// event happens by one and not by the other.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "astronomy.h"
#include "bench/day_cases.h"
#include "bench/peer_moments.h"
#include "bench/ratio_reporter.h"
#include "core/moon/moon_day.h"

namespace {

using namespace ostrel::bench;

constexpr int kMoments = 3;
constexpr double kSecondsPerDay = 86400;
// Within this latitude, degrees, the moments of the two are compared
// against kToleranceSeconds.
constexpr double kMidLatitudeDeg = 60;
constexpr double kToleranceSeconds = 120;

constexpr std::array<const char *, kMoments> kMomentNames{"moonrise", "moonset", "transit"};

// Seconds after local midnight of each moment; negative when it does not
// happen on the date.
using DayMoments = std::array<double, kMoments>;

struct PeerDay {
  astro_observer_t observer;
  astro_time_t midnight; // local midnight of the date
};

PeerDay PeerSetUp(const BenchSite &site, const BenchDate &date) {
  PeerDay d;
  d.observer = Astronomy_MakeObserver(site.latDeg, site.longDeg, 0);
  d.midnight = Astronomy_AddDays(Astronomy_MakeTime(date.year, date.month, date.day, 0, 0, 0),
                                 -double(site.zoneHours) / 24);
  return d;
}

struct PeerResults {
  astro_search_result_t rise, set;
  astro_hour_angle_t transit;
};

PeerResults PeerSearch(const PeerDay &d) {
  PeerResults r;
  r.rise = Astronomy_SearchRiseSet(BODY_MOON, d.observer, DIRECTION_RISE, d.midnight, 1);
  r.set = Astronomy_SearchRiseSet(BODY_MOON, d.observer, DIRECTION_SET, d.midnight, 1);
  r.transit = Astronomy_SearchHourAngle(BODY_MOON, d.observer, 0, d.midnight);
  return r;
}

DayMoments PeerMoments(const BenchSite &site, const BenchDate &date) {
  const PeerDay d = PeerSetUp(site, date);
  const PeerResults r = PeerSearch(d);
  const auto seconds = [&d](astro_status_t status, astro_time_t t) {
    if (status != ASTRO_SUCCESS) return -1.0;
    const double s = (t.ut - d.midnight.ut) * kSecondsPerDay;
    return s < kSecondsPerDay ? s : -1.0;
  };
  return {seconds(r.rise.status, r.rise.time), seconds(r.set.status, r.set.time),
          seconds(r.transit.status, r.transit.time)};
}

DayMoments OstrelMoments(const BenchSite &site, const BenchDate &date) {
  const ostrel::MoonDay day(OstrelSite(site), OstrelDate(date));
  const ostrel::MoonDayEvents e = ostrel::FindMoonDayEvents(day);
  const ostrel::DayMoment moments[kMoments] = {e.moonrise, e.moonset, e.transit};
  DayMoments out{};
  for (int k = 0; k < kMoments; ++k) out[k] = moments[k].happens() ? moments[k].seconds : -1.0;
  return out;
}

void BM_PeerMoonDay(benchmark::State &state) {
  int found = 0;
  for (std::size_t i = 0; i < kBenchDays; ++i) {
    found += Happening(PeerMoments(SiteOfDay(i), DateOfDay(i)));
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const PeerDay d = PeerSetUp(SiteOfDay(i), DateOfDay(i));
    PeerResults r = PeerSearch(d);
    benchmark::DoNotOptimize(r);
    i = i + 1 < kBenchDays ? i + 1 : 0;
  }
  state.counters["events_per_day"] = double(found) / kBenchDays;
}
BENCHMARK(BM_PeerMoonDay)->Unit(benchmark::kMicrosecond);

void BM_OstrelMoonDay(benchmark::State &state) {
  int found = 0;
  for (std::size_t i = 0; i < kBenchDays; ++i) {
    found += Happening(OstrelMoments(SiteOfDay(i), DateOfDay(i)));
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const ostrel::MoonDay day(OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)));
    ostrel::MoonDayEvents events = ostrel::FindMoonDayEvents(day);
    benchmark::DoNotOptimize(events);
    i = i + 1 < kBenchDays ? i + 1 : 0;
  }
  state.counters["events_per_day"] = double(found) / kBenchDays;
}
BENCHMARK(BM_OstrelMoonDay)->Unit(benchmark::kMicrosecond);

int Compare() {
  std::printf("Moonrise, moonset and transit, local time: Ostrel and the peer\n");
  std::printf("%7s %8s %5s %-10s |", "lat", "long", "zone", "date");
  for (const char *name : kMomentNames) std::printf(" %-8s %-8s %6s |", name, "peer", "diff s");
  std::printf("\n");
  std::array<double, kMoments> largest{};
  int disagreements = 0;
  for (std::size_t i = 0; i < kBenchDays; ++i) {
    const BenchSite site = SiteOfDay(i);
    const BenchDate date = DateOfDay(i);
    const DayMoments ours = OstrelMoments(site, date);
    const DayMoments peer = PeerMoments(site, date);
    std::printf("%7.2f %8.2f %+5.0f %04d-%02d-%02d |", site.latDeg, site.longDeg,
                double(site.zoneHours), date.year, date.month, date.day);
    for (int k = 0; k < kMoments; ++k) {
      char diff[16] = "    --";
      if (ours[k] >= 0 && peer[k] >= 0) {
        std::snprintf(diff, sizeof diff, "%6.0f", ours[k] - peer[k]);
      }
      std::printf(" %s %s %s |", Clock(ours[k]).c_str(), Clock(peer[k]).c_str(), diff);
    }
    std::printf("\n");
    if (std::fabs(site.latDeg) >= kMidLatitudeDeg) continue;
    for (int k = 0; k < kMoments; ++k) {
      if ((ours[k] >= 0) != (peer[k] >= 0)) {
        std::printf("  %s happens by one only\n", kMomentNames[k]);
        ++disagreements;
      } else if (ours[k] >= 0) {
        const double d = std::fabs(ours[k] - peer[k]);
        largest[k] = std::max(largest[k], d);
        if (d > kToleranceSeconds) ++disagreements;
      }
    }
  }
  std::printf("\nLargest difference within %.0f degrees of the equator, seconds:\n",
              kMidLatitudeDeg);
  for (int k = 0; k < kMoments; ++k) std::printf("  %-9s %5.0f\n", kMomentNames[k], largest[k]);
  std::printf("%s\n", disagreements == 0
                          ? "The moments agree within two minutes there."
                          : "A moment differs by more than two minutes there, "
                            "or happens by one only.");
  return disagreements == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--compare") == 0) return Compare();
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const double ours = reporter.TimeOf("BM_OstrelMoonDay");
  const double peer = reporter.TimeOf("BM_PeerMoonDay");
  if (ours > 0 && peer > 0) {
    std::printf("Ostrel/peer, %s CPU time a day: %.4f (aim: at most 0.5)\n",
                reporter.HasMedians() ? "median" : "single run", ours / peer);
  }
  return 0;
}
