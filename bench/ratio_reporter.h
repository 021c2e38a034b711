// SPDX-License-Identifier: GPL-3.0-or-later
// The console reporter of the peer benchmarks, which keeps each
// benchmark's CPU time so that the ratio of Ostrel's to the peer's can be
// printed after the table.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace ostrel::bench {

// The console table (plain, so that it can be copied from a log), keeping
// each benchmark's CPU time per iteration: the median when repetitions are
// asked for, else the last run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  RatioReporter() : ConsoleReporter(OO_None) {}

  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        medians_[name] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Iteration) {
        singles_[name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The time of a benchmark, or a negative number when it did not run.
  double TimeOf(const std::string &name) const {
    if (const auto m = medians_.find(name); m != medians_.end()) return m->second;
    if (const auto s = singles_.find(name); s != singles_.end()) return s->second;
    return -1;
  }
  bool HasMedians() const { return !medians_.empty(); }

private:
  std::map<std::string, double> medians_, singles_;
};

} // namespace ostrel::bench
