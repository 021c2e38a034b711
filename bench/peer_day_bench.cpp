// A day's events by Ostrel beside the same events by a peer library,
// astronomy-engine's C library (../shared/peers/astronomy-c, MIT licence in
// its LICENSE file there), over the 64 days of bench/day_cases.h.
//
// The peer answers each event with its own search, each started at local
// midnight of the date and limited to one day: sunrise and sunset
// (Astronomy_SearchRiseSet: the upper limb, with its standard refraction),
// the upper culmination (Astronomy_SearchHourAngle, hour angle 0), and the
// rising and setting crossings of the centre's true altitude at -6, -12,
// -18, -4 and +6 degrees (Astronomy_SearchAltitude): thirteen searches.
// Ostrel's side is FindDayEvents with every event, the same thirteen
// moments, the theory's set-up for the site and date included, as the
// peer's observer and start time are.  The aim is Ostrel at most half the
// peer's time: the ratio of the medians (CPU time) is printed after the
// table.
//
//   build/bench/peer_day_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true
//
// `peer_day_bench --compare` times nothing: it prints, for every day, the
// sunrise and sunset of both, local time, and the largest differences of
// each event over the days within 60 degrees of the equator.  The two
// theories differ (a fixed Keplerian orbit of epoch 1980 against the peer's
// planetary theory with nutation and Delta T), so a minute or two is
// expected there; it exits with status 1 when a sunrise or sunset of those
// days differs by more than two minutes, or when an event happens by one
// and not by the other.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "astronomy.h"
#include "bench/day_cases.h"
#include "core/day_events.h"
#include "core/sun_day.h"

namespace {

using namespace ostrel::bench;

constexpr int kMoments = 13;
constexpr double kSecondsPerDay = 86400;
// Within this latitude, degrees, sunrise and sunset of the two theories are
// compared against kMidLatitudeToleranceSeconds.
constexpr double kMidLatitudeDeg = 60;
constexpr double kMidLatitudeToleranceSeconds = 120;

// The order of the thirteen moments on both sides.
constexpr std::array<const char *, kMoments> kMomentNames{
    "sunrise",           "sunset",        "culmination",    "civil dawn",
    "civil dusk",        "nautical dawn", "nautical dusk",  "astronomical dawn",
    "astronomical dusk", "-4 deg rising", "+6 deg rising",  "+6 deg setting",
    "-4 deg setting"};

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

// The peer's thirteen searches, as the peer's results.
struct PeerResults {
  astro_search_result_t rise, set;
  astro_hour_angle_t culmination;
  std::array<astro_search_result_t, 10> levels; // rising and setting, kLevelsDeg
};

constexpr std::array<double, 5> kLevelsDeg{-6, -12, -18, -4, 6};

PeerResults PeerSearch(const PeerDay &d) {
  PeerResults r;
  r.rise = Astronomy_SearchRiseSet(BODY_SUN, d.observer, DIRECTION_RISE, d.midnight, 1);
  r.set = Astronomy_SearchRiseSet(BODY_SUN, d.observer, DIRECTION_SET, d.midnight, 1);
  r.culmination = Astronomy_SearchHourAngle(BODY_SUN, d.observer, 0, d.midnight);
  for (std::size_t k = 0; k < kLevelsDeg.size(); ++k) {
    r.levels[2 * k] = Astronomy_SearchAltitude(BODY_SUN, d.observer, DIRECTION_RISE, d.midnight,
                                               1, kLevelsDeg[k]);
    r.levels[2 * k + 1] = Astronomy_SearchAltitude(BODY_SUN, d.observer, DIRECTION_SET,
                                                   d.midnight, 1, kLevelsDeg[k]);
  }
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
  const auto level = [&](int k, bool rising) {
    const astro_search_result_t &x = r.levels[2 * k + (rising ? 0 : 1)];
    return seconds(x.status, x.time);
  };
  return {seconds(r.rise.status, r.rise.time),
          seconds(r.set.status, r.set.time),
          seconds(r.culmination.status, r.culmination.time),
          level(0, true), level(0, false), level(1, true), level(1, false),
          level(2, true), level(2, false),
          level(3, true), level(4, true), level(4, false), level(3, false)};
}

DayMoments OstrelMoments(const BenchSite &site, const BenchDate &date) {
  const ostrel::ClassicSunDay day(OstrelSite(site), OstrelDate(date));
  const ostrel::DayEvents e = ostrel::FindDayEvents(day);
  const ostrel::DayMoment moments[kMoments] = {
      e.sunrise,          e.sunset,           e.culmination,
      e.civilDawn,        e.civilDusk,        e.nauticalDawn,
      e.nauticalDusk,     e.astronomicalDawn, e.astronomicalDusk,
      e.morningGoldenHour[0], e.morningGoldenHour[1], e.eveningGoldenHour[0],
      e.eveningGoldenHour[1]};
  DayMoments out{};
  for (int k = 0; k < kMoments; ++k) out[k] = moments[k].happens() ? moments[k].seconds : -1.0;
  return out;
}

int Happening(const DayMoments &m) {
  int count = 0;
  for (double s : m) count += s >= 0 ? 1 : 0;
  return count;
}

void BM_PeerDayEvents(benchmark::State &state) {
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
BENCHMARK(BM_PeerDayEvents)->Unit(benchmark::kMicrosecond);

void BM_OstrelDayEvents(benchmark::State &state) {
  int found = 0;
  for (std::size_t i = 0; i < kBenchDays; ++i) {
    found += Happening(OstrelMoments(SiteOfDay(i), DateOfDay(i)));
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const ostrel::ClassicSunDay day(OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)));
    ostrel::DayEvents events = ostrel::FindDayEvents(day);
    benchmark::DoNotOptimize(events);
    i = i + 1 < kBenchDays ? i + 1 : 0;
  }
  state.counters["events_per_day"] = double(found) / kBenchDays;
}
BENCHMARK(BM_OstrelDayEvents)->Unit(benchmark::kMicrosecond);

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

std::string Clock(double seconds) {
  if (seconds < 0) return "   --   ";
  const long s = std::lround(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  return text;
}

int Compare() {
  std::printf("Sunrise and sunset, local time: Ostrel (classic theory) and the peer\n");
  std::printf("%7s %8s %5s %-10s | %-8s %-8s %7s | %-8s %-8s %7s\n", "lat", "long", "zone",
              "date", "rise", "peer", "diff s", "set", "peer", "diff s");
  std::array<double, kMoments> largest{};
  int disagreements = 0;
  for (std::size_t i = 0; i < kBenchDays; ++i) {
    const BenchSite site = SiteOfDay(i);
    const BenchDate date = DateOfDay(i);
    const DayMoments ours = OstrelMoments(site, date);
    const DayMoments peer = PeerMoments(site, date);
    const auto diff = [&](int k) {
      char text[16] = "     --";
      if (ours[k] >= 0 && peer[k] >= 0) {
        std::snprintf(text, sizeof text, "%7.0f", ours[k] - peer[k]);
      }
      return std::string(text);
    };
    char dateText[16];
    std::snprintf(dateText, sizeof dateText, "%04d-%02d-%02d", date.year, date.month, date.day);
    std::printf("%7.2f %8.2f %+5.0f %-10s | %s %s %s | %s %s %s\n", site.latDeg, site.longDeg,
                double(site.zoneHours), dateText, Clock(ours[0]).c_str(), Clock(peer[0]).c_str(),
                diff(0).c_str(), Clock(ours[1]).c_str(), Clock(peer[1]).c_str(),
                diff(1).c_str());
    if (std::fabs(site.latDeg) >= kMidLatitudeDeg) continue;
    for (int k = 0; k < kMoments; ++k) {
      if ((ours[k] >= 0) != (peer[k] >= 0)) {
        std::printf("  %s happens by one only\n", kMomentNames[k]);
        ++disagreements;
      } else if (ours[k] >= 0) {
        largest[k] = std::max(largest[k], std::fabs(ours[k] - peer[k]));
        if (k < 2 && std::fabs(ours[k] - peer[k]) > kMidLatitudeToleranceSeconds) ++disagreements;
      }
    }
  }
  std::printf("\nLargest difference within %.0f degrees of the equator, seconds:\n",
              kMidLatitudeDeg);
  for (int k = 0; k < kMoments; ++k) std::printf("  %-18s %5.0f\n", kMomentNames[k], largest[k]);
  std::printf("%s\n", disagreements == 0
                          ? "Sunrise and sunset agree within two minutes there."
                          : "Sunrise or sunset differ by more than two minutes there, "
                            "or an event happens by one only.");
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
  const double ours = reporter.TimeOf("BM_OstrelDayEvents");
  const double peer = reporter.TimeOf("BM_PeerDayEvents");
  if (ours > 0 && peer > 0) {
    std::printf("Ostrel/peer, %s CPU time a day: %.4f (aim: at most 0.5)\n",
                reporter.HasMedians() ? "median" : "single run", ours / peer);
  }
  return 0;
}
