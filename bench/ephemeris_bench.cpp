// SPDX-License-Identifier: GPL-3.0-or-later
// One whole run of MAINCALC (35 texts) beside a bare kernel of the
// arithmetic a run needs: six Kepler solutions and the trigonometry of one
// position and five evaluations, in local variables, with no fields and no
// texts.  The ratio of the two medians shows what the fields and the texts
// cost on top of the astronomy.
//
// Beside them, one whole day's events (BM_DayEvents: the classic theory set
// up for a site and date, then FindDayEvents with every event) and a year
// table's day (BM_DayEventsTable: no golden or blue hours), cycling through
// the 64 days of bench/day_cases.h.  The aim is a day's events within five
// runs of MAINCALC (compare the BM_DayEvents and BM_MAINCALC medians).
//
//   build/bench/ephemeris_bench --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/day_cases.h"
#include "core/day/day_events.h"
#include "core/run/ephemeris.h"
#include "core/sun/sun_day.h"
#include "core/sun/theory.h"

namespace {

using ostrel::kPi;
using ostrel::kRad;

void FillMoment(ostrel::CalcState &s, double hour) {
  // 47 00' N, 28 50' E, time zone +3, 21 June 2011.
  s.LongHours = (28 + 50.0 / 60) / 15;
  s.LatRad = 47 * kRad;
  s.Timezon = 3;
  s.DayBoundary = 0.5 - 3 / 24.0;
  s.DateYear = 2011;
  s.DateMonth = 6;
  s.DateDay = 21;
  s.UtHours = hour - 3;
  s.DayUt = s.UtHours / 24 + 21;
}

// Runs at moments a thousandth of an hour apart through one date.
void RunThroughTheDate(benchmark::State &state, ostrel::Theory theory) {
  ostrel::Ephemeris e;
  e.theory = theory;
  double hour = 9;
  for (auto _ : state) {
    FillMoment(e.state, hour);
    e.MAINCALC();
    benchmark::DoNotOptimize(e.report.AltMax.data());
    hour = hour < 20 ? hour + 0.001 : 9;
  }
}

void BM_MAINCALC(benchmark::State &state) { RunThroughTheDate(state, ostrel::Theory::Classic); }
BENCHMARK(BM_MAINCALC);

// The same run in the precise theory: the Sun's place at the moment, its
// transit, sunrise and sunset from ERFA, and the same 35 texts.  The aim is
// within ten classic runs (compare with BM_MAINCALC).
//
// A run keeps the day of the last run's site and date (its transit,
// sunrise and sunset, and the Sun's interpolation), so that the window's
// ticks, one date at one site, only add the Sun's place at the moment:
// BM_MAINCALCPrecise runs so, as BM_MAINCALC does.  BM_MAINCALCPreciseNewDate
// moves to another date every run, so that every run sets its day up anew:
// a typed moment of another date.
void BM_MAINCALCPrecise(benchmark::State &state) { RunThroughTheDate(state, ostrel::Theory::Precise); }
BENCHMARK(BM_MAINCALCPrecise);

void BM_MAINCALCPreciseNewDate(benchmark::State &state) {
  ostrel::Ephemeris e;
  e.theory = ostrel::Theory::Precise;
  int date = 0;
  for (auto _ : state) {
    FillMoment(e.state, 14.5);
    e.state.DateYear = 1900 + date % 200;
    e.state.DateMonth = 1 + date % 12;
    e.state.DateDay = 1 + date % 28;
    e.MAINCALC();
    benchmark::DoNotOptimize(e.report.AltMax.data());
    ++date;
  }
}
BENCHMARK(BM_MAINCALCPreciseNewDate);

struct Position {
  double declination, rightAscension, altitude, azimuth;
};

// The Sun at a Julian date (minus 2400000) for a local sidereal time.
Position Evaluate(double julDay, double obliquityRad, double lst, double latRad) {
  const double motion = (julDay - 44238.5) * (360 / 365.2422);
  double m = (motion / 360 - std::floor(motion / 360)) * 360 - 3.762863;
  if (m < 0) m += 360;
  const double meanAnomaly = m * kRad;
  double e = meanAnomaly;
  for (;;) {
    const double r = e - 0.0167086 * std::sin(e) - meanAnomaly;
    if (std::fabs(r) <= 1e-7) break;
    e -= r / (1 - 0.0167086 * std::cos(e));
  }
  const double nu = std::atan(std::sqrt(1.0167086 / 0.9832914) * std::tan(e / 2)) * 360 / kPi;
  const double lambda = (nu + 282.596403) * kRad;
  const double sinDecl = std::sin(lambda) * std::sin(obliquityRad);
  const double decl = std::atan(sinDecl / std::sqrt(1 - sinDecl * sinDecl));
  const double ra =
      std::atan(std::sin(lambda) * std::cos(obliquityRad) / std::cos(lambda)) / kRad / 15;
  const double h = (lst - ra) / 12 * kPi;
  const double sinAlt =
      std::sin(latRad) * std::sin(decl) + std::cos(decl) * std::cos(latRad) * std::cos(h);
  const double cosAlt = std::sqrt(1 - sinAlt * sinAlt);
  const double c = (std::sin(decl) - std::sin(latRad) * sinAlt) / std::cos(latRad) / cosAlt;
  const double azimuth = std::atan(std::sqrt(1 - c * c) / c) / kRad;
  return {decl, ra, std::atan(sinAlt / cosAlt) / kRad, azimuth + (std::sin(h) > 0 ? 180 : 0)};
}

void BM_BareKernel(benchmark::State &state) {
  const double latRad = 47 * kRad;
  double hour = 9;
  for (auto _ : state) {
    const double julDay = 55733.5 + (hour - 3) / 24;
    const double t = (55733.5 - 15020) / 36525;
    const double obliquity = (23.4523 - (46.845 * t + 0.0059 * t * t - 0.001811 * t * t * t) / 3600) * kRad;
    const double lst = std::fmod(6.6460656 + 2400.051262 * t + 1.002738 * (hour - 3), 24.0);
    Position p = Evaluate(julDay, obliquity, lst, latRad);
    // Refraction and airmass of the moment.
    const double z = 90 - p.altitude;
    const double tanZ = std::tan(z * kRad);
    const double refraction = 58.16 * tanZ - 0.067 * std::pow(tanZ, 3) + 0.000086 * std::pow(tanZ, 5);
    const double zeta = z - refraction / 3600;
    const double airmass = 1 / (std::cos(zeta * kRad) + 0.50572 * std::pow(96.07995 - zeta, -1.6364));
    benchmark::DoNotOptimize(airmass);
    // Five evaluations with the semi-diurnal arc of each.
    double at = 12 - 1.92;
    for (int k = 0; k < 5; ++k) {
      p = Evaluate(55733.5 + at / 24, obliquity, std::fmod(lst + at, 24.0), latRad);
      const double c = (-0.0145 - std::sin(latRad) * std::sin(p.declination)) /
                       std::cos(latRad) / std::cos(p.declination);
      const double arc = std::atan(std::sqrt(1 - c * c) / c) / kRad;
      benchmark::DoNotOptimize(p);
      at = 12 + arc / 15 - (k % 2 ? 24 : 0);
    }
    hour = hour < 20 ? hour + 0.001 : 9;
  }
}
BENCHMARK(BM_BareKernel);

// The days of the table, one per iteration.  Before timing, every day is
// computed once: a day at a mid latitude (within 60 degrees) without a
// sunrise and a sunset would mean the benchmark times a failure, and the
// mean number of moments found a day is reported beside the time
// (events_per_day; at most 13 with every event, 9 without the golden and
// blue hours).
void RunDays(benchmark::State &state, ostrel::DayEventSet set,
             ostrel::Theory theory = ostrel::Theory::Classic) {
  using namespace ostrel::bench;
  int found = 0;
  for (std::size_t i = 0; i < kBenchDays; ++i) {
    const auto day = ostrel::MakeSunDay(theory, OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)));
    const ostrel::DayEvents events = ostrel::FindDayEvents(*day, {}, set);
    const bool riseAndSet = events.sunrise.happens() && events.sunset.happens();
    if (std::fabs(SiteOfDay(i).latDeg) < 60 && !riseAndSet) {
      state.SkipWithError("a mid-latitude day without sunrise or sunset");
      return;
    }
    found += HappeningMoments(events);
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const auto day = ostrel::MakeSunDay(theory, OstrelSite(SiteOfDay(i)), OstrelDate(DateOfDay(i)));
    ostrel::DayEvents events = ostrel::FindDayEvents(*day, {}, set);
    benchmark::DoNotOptimize(events);
    i = i + 1 < kBenchDays ? i + 1 : 0;
  }
  state.counters["events_per_day"] = double(found) / kBenchDays;
}

void BM_DayEvents(benchmark::State &state) { RunDays(state, ostrel::DayEventSet::Full); }
BENCHMARK(BM_DayEvents);

void BM_DayEventsTable(benchmark::State &state) {
  RunDays(state, ostrel::DayEventSet::Twilights);
}
BENCHMARK(BM_DayEventsTable);

// The same days in the precise theory, set up afresh for each (nothing is
// kept between days).  The aim is within three classic days (BM_DayEvents).
void BM_DayEventsPrecise(benchmark::State &state) {
  RunDays(state, ostrel::DayEventSet::Full, ostrel::Theory::Precise);
}
BENCHMARK(BM_DayEventsPrecise);

} // namespace

BENCHMARK_MAIN();
