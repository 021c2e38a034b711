// SPDX-License-Identifier: GPL-3.0-or-later
// `ostrel-cli table --theory precise` from 1900-01-01 to 2099-12-31 (73,049
// dates) beside the same events computed by a peer library, astronomy-
// engine's C library (../shared/peers/astronomy-c, MIT licence in its
// LICENSE file there), for the same site and dates.
//
// For each date the peer searches what a row of the table holds: sunrise and
// sunset (Astronomy_SearchRiseSet), the upper culmination
// (Astronomy_SearchHourAngle) and the rising and setting crossings of -6,
// -12 and -18 degrees (Astronomy_SearchAltitude), each from local midnight
// over one day; it forms no text.  Ostrel's side is the whole command, its
// CSV rows formed and written to a stream that only counts them.  The aim is
// Ostrel no slower than the peer: the ratio of the two times is printed
// after the table.  One iteration each (about half a minute together).
//
//   build/bench/peer_table_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "astronomy.h"
#include "bench/counting_buffer.h"
#include "cli/commands.h"

namespace {

constexpr double kLatitudeDeg = 47, kLongitudeDeg = 28 + 50.0 / 60, kZoneHours = 3;
constexpr int kFirstYear = 1900, kLastYear = 2099;

using ostrel::bench::CountingBuffer;

double ostrelSeconds = 0, peerSeconds = 0;

void BM_OstrelTablePrecise(benchmark::State &state) {
  const std::vector<std::string> words = {
      "table", "--lat", "47:0N", "--lon", "28:50E", "--tz", "3", "--from",
      std::to_string(kFirstYear) + "-01-01", "--to", std::to_string(kLastYear) + "-12-31",
      "--format", "csv", "--theory", "precise"};
  for (auto _ : state) {
    CountingBuffer buffer;
    std::ostream out(&buffer), err(&buffer);
    const auto start = std::chrono::steady_clock::now();
    if (ostrel::cli::Run(words, out, err, {}) != ostrel::cli::kDone) {
      state.SkipWithError("the table was not written");
      return;
    }
    ostrelSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["bytes"] = double(buffer.bytes);
  }
}
BENCHMARK(BM_OstrelTablePrecise)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PeerTable(benchmark::State &state) {
  const astro_observer_t observer = Astronomy_MakeObserver(kLatitudeDeg, kLongitudeDeg, 0);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    int found = 0;
    // Local midnights, one day apart, from the first date to the last.
    astro_time_t midnight =
        Astronomy_AddDays(Astronomy_MakeTime(kFirstYear, 1, 1, 0, 0, 0), -kZoneHours / 24);
    const astro_time_t end =
        Astronomy_AddDays(Astronomy_MakeTime(kLastYear, 12, 31, 0, 0, 0), -kZoneHours / 24);
    for (; midnight.ut <= end.ut + 0.5; midnight = Astronomy_AddDays(midnight, 1)) {
      found += Astronomy_SearchRiseSet(BODY_SUN, observer, DIRECTION_RISE, midnight, 1).status ==
               ASTRO_SUCCESS;
      found += Astronomy_SearchRiseSet(BODY_SUN, observer, DIRECTION_SET, midnight, 1).status ==
               ASTRO_SUCCESS;
      found += Astronomy_SearchHourAngle(BODY_SUN, observer, 0, midnight).status == ASTRO_SUCCESS;
      for (double level : {-6.0, -12.0, -18.0}) {
        for (astro_direction_t way : {DIRECTION_RISE, DIRECTION_SET}) {
          found += Astronomy_SearchAltitude(BODY_SUN, observer, way, midnight, 1, level).status ==
                   ASTRO_SUCCESS;
        }
      }
    }
    peerSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["events"] = found;
  }
}
BENCHMARK(BM_PeerTable)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (ostrelSeconds > 0 && peerSeconds > 0) {
    std::printf("precise table %.2f s, peer %.2f s: Ostrel takes %.2f of the peer's time\n",
                ostrelSeconds, peerSeconds, ostrelSeconds / peerSeconds);
  }
  return 0;
}
