// SPDX-License-Identifier: GPL-3.0-or-later
// `ostrel-cli table` over the whole range, 1700-01-01 to 2100-12-31
// (146,462 dates), written as CSV: the day's events without the golden and
// blue hours for every date, and the forming and writing of its rows.  The
// rows go to a stream that only counts them, so the disk is not timed.
// The aim is under 3 seconds a table.
//
//   build/bench/cli_table_bench --benchmark_repetitions=3
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <ostream>
#include <string>
#include <vector>

#include "bench/counting_buffer.h"
#include "cli/commands.h"

namespace {

using ostrel::bench::CountingBuffer;

void BM_TableCsvWholeRange(benchmark::State &state) {
  const std::vector<std::string> words = {"table", "--lat", "47:0N", "--lon", "28:50E",
                                          "--tz", "3", "--from", "1700-01-01", "--to",
                                          "2100-12-31", "--format", "csv"};
  std::size_t bytes = 0;
  for (auto _ : state) {
    CountingBuffer buffer;
    std::ostream out(&buffer);
    std::ostream err(&buffer);
    const int status = ostrel::cli::Run(words, out, err, {});
    if (status != ostrel::cli::kDone) {
      state.SkipWithError("the table was not written");
      return;
    }
    bytes = buffer.bytes;
  }
  state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_TableCsvWholeRange)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
