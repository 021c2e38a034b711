// SPDX-License-Identifier: GPL-3.0-or-later
// The events a user waits for, through ostrel-cli's Run() as a script
// calls it (as cli_table_bench times `table`): `next sunset --count 365`,
// a year of one event's next moments (aim: under 20 ms), and `ics` for a
// year of sunrises and sunsets (aim: under 50 ms).  Each at a fixed zone
// and, as a user in a town with summer time asks, at a --place whose zone
// gives each date's offset.  The output goes to a stream that only counts
// it, so the disk is not timed.
//
//   build/bench/events_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "bench/counting_buffer.h"
#include "cli/commands.h"

namespace {

using ostrel::bench::CountingBuffer;

// DTSTAMP of `ics`, as the program's clock gives it.
std::chrono::system_clock::time_point FixedInstant() {
  using namespace std::chrono;
  return sys_days{year{2026} / 1 / 1};
}

void RunCommand(benchmark::State &state, const std::vector<std::string> &words) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    CountingBuffer buffer;
    std::ostream out(&buffer);
    std::ostream err(&buffer);
    if (ostrel::cli::Run(words, out, err, FixedInstant) != ostrel::cli::kDone) {
      state.SkipWithError("the command did not succeed");
      return;
    }
    bytes = buffer.bytes;
  }
  state.counters["bytes"] = double(bytes);
}

const std::vector<std::string> kKishinev = {"--lat", "47:0N", "--lon", "28:50E", "--tz", "3"};
const std::vector<std::string> kBerlin = {"--place", "Berlin"};
// The precise theory: its day is some ten times the classic one's.
const std::vector<std::string> kKishinevPrecise = {"--lat",  "47:0N",    "--lon", "28:50E",
                                                   "--tz",   "3",        "--theory", "precise"};

std::vector<std::string> With(std::vector<std::string> words, const std::vector<std::string> &site) {
  words.insert(words.end(), site.begin(), site.end());
  return words;
}

void BM_NextSunset365(benchmark::State &state, const std::vector<std::string> &site) {
  RunCommand(state, With({"next", "sunset", "--after", "2026-01-01T00:00", "--count", "365"}, site));
}
BENCHMARK_CAPTURE(BM_NextSunset365, Kishinev, kKishinev)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NextSunset365, BerlinZone, kBerlin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NextSunset365, KishinevPrecise, kKishinevPrecise)
    ->Unit(benchmark::kMillisecond);

void BM_IcsYearSunriseSunset(benchmark::State &state, const std::vector<std::string> &site) {
  RunCommand(state, With({"ics", "--from", "2026-01-01", "--to", "2026-12-31", "--events",
                          "sunrise,sunset"},
                         site));
}
BENCHMARK_CAPTURE(BM_IcsYearSunriseSunset, Kishinev, kKishinev)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IcsYearSunriseSunset, BerlinZone, kBerlin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IcsYearSunriseSunset, KishinevPrecise, kKishinevPrecise)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
