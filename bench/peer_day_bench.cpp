// SPDX-License-Identifier: GPL-3.0-or-later
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
//
// `peer_day_bench --accuracy` times nothing either: it takes the peer as
// the reference and measures Ostrel's sunrise, sunset, civil dawn and civil
// dusk against it over the accepted years 1700 to 2100 (every fifth year,
// the 1st and 15th of each month, 31 latitudes in four bands, five
// longitudes), and prints per century and latitude band the largest and the
// 99th-percentile absolute difference, seconds, and how many days have an
// event by one theory only.  About 300 000 days, four peer searches each
// (some 40 s on one core); it always exits with status 0.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "astronomy.h"
#include "bench/day_cases.h"
#include "bench/peer_moments.h"
#include "bench/ratio_reporter.h"
#include "core/day/day_events.h"
#include "core/sun/sun_day.h"

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

// ---- --accuracy ----------------------------------------------------------

// Every fifth year of the accepted range, both ends included: 81 years.
constexpr int kFirstYear = 1700;
constexpr int kLastYear = 2100;
constexpr int kYearStep = 5;
// Two dates a month spread the days over the seasons: 24 a year.
constexpr std::array<int, 2> kDaysOfMonth{1, 15};

// Latitude bands by |latitude|, degrees, each sampled in both hemispheres
// up to its upper edge.  The last band stops at 65.5 degrees, about a
// degree short of the polar circles (some 66.5 degrees), where sunrise and sunset
// still happen on most dates but the Sun crosses the horizon at a grazing
// angle, so that a small error of altitude becomes a large error of time.
struct LatitudeBand {
  const char *name;
  std::vector<double> latitudesDeg;
};
const std::array<LatitudeBand, 4> kBands{{
    {"|lat|<=30", {0, 10, -10, 20, -20, 30, -30}},
    {"30-45", {34, -34, 38, -38, 42, -42, 45, -45}},
    {"45-60", {48, -48, 52, -52, 56, -56, 60, -60}},
    {"60-65.5", {62, -62, 64, -64, 65, -65, 65.5, -65.5}},
}};

// Longitudes, degrees east, off their zone meridians (zone = round(lon/15)
// hours) and out to the zones -12 and +12, so that local midnight falls at
// different moments of UT.
constexpr std::array<double, 5> kLongitudesDeg{-176.5, -74.0, 2.35, 37.6, 174.8};

// The compared events: their index in DayMoments and in the peer's four.
constexpr int kAccuracyEvents = 4;
constexpr std::array<int, kAccuracyEvents> kAccuracyMoment{0, 1, 3, 4};
constexpr std::array<const char *, kAccuracyEvents> kAccuracyNames{"sunrise", "sunset",
                                                                   "civil dawn", "civil dusk"};

// The peer's search for event `e` (kAccuracyNames) from `start`, over
// `limitDays`.
astro_search_result_t PeerEventSearch(int e, const PeerDay &d, astro_time_t start,
                                      double limitDays) {
  const astro_direction_t direction = e % 2 == 0 ? DIRECTION_RISE : DIRECTION_SET;
  if (e < 2) return Astronomy_SearchRiseSet(BODY_SUN, d.observer, direction, start, limitDays);
  return Astronomy_SearchAltitude(BODY_SUN, d.observer, direction, start, limitDays,
                                  ostrel::kCivilTwilightDeg);
}

// Seconds after local midnight of the peer's sunrise, sunset, civil dawn
// and civil dusk (-1 when not on the date): only the four searches needed,
// each as in PeerSearch.  A moment within half a second of the next
// midnight belongs to the next date, as Ostrel's moments rounded to
// 24:00:00 do.
std::array<double, kAccuracyEvents> PeerSunTimes(const PeerDay &d) {
  std::array<double, kAccuracyEvents> out{};
  for (int e = 0; e < kAccuracyEvents; ++e) {
    const astro_search_result_t r = PeerEventSearch(e, d, d.midnight, 1);
    const double s = (r.time.ut - d.midnight.ut) * kSecondsPerDay;
    out[e] = r.status == ASTRO_SUCCESS && s < kSecondsPerDay - 0.5 ? s : -1.0;
  }
  return out;
}

// Within this time, seconds, a moment of the other theory is taken for the
// same crossing of the level: the two differ by seconds to minutes, and
// the two crossings of one level in one direction near the polar circles,
// or the same crossing on two dates, lie nearly a day apart.
constexpr double kSameCrossingSeconds = 3600;

// The peer's crossing of event `e` nearest to Ostrel's moment `ours`,
// seconds after local midnight (negative or past 86400 when on the date
// before or after), or none within kSameCrossingSeconds.
std::optional<double> PeerNear(int e, const PeerDay &d, double ours) {
  const astro_time_t from =
      Astronomy_AddDays(d.midnight, (ours - kSameCrossingSeconds) / kSecondsPerDay);
  const astro_search_result_t r =
      PeerEventSearch(e, d, from, 2 * kSameCrossingSeconds / kSecondsPerDay);
  if (r.status != ASTRO_SUCCESS) return std::nullopt;
  return (r.time.ut - d.midnight.ut) * kSecondsPerDay;
}

// The civil date `step` days (-1 or +1) from `date`, Gregorian.
BenchDate AdjacentDate(BenchDate date, int step) {
  const auto daysIn = [](int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
  };
  date.day += step;
  if (date.day < 1) {
    if (--date.month < 1) date = {date.year - 1, 12, date.day};
    date.day = daysIn(date.year, date.month);
  } else if (date.day > daysIn(date.year, date.month)) {
    date.day = 1;
    if (++date.month > 12) date = {date.year + 1, 1, 1};
  }
  return date;
}

// Whether Ostrel has event `e` on the date before or after within
// kSameCrossingSeconds of the peer's moment `peer` (seconds after local
// midnight of `date`): the same crossing, fallen on the other side of a
// midnight.
bool OstrelAcrossMidnight(int e, const BenchSite &site, const BenchDate &date, double peer) {
  for (int step : {-1, 1}) {
    const double s = OstrelMoments(site, AdjacentDate(date, step))[kAccuracyMoment[e]];
    if (s >= 0 && std::fabs(s + step * kSecondsPerDay - peer) <= kSameCrossingSeconds) {
      return true;
    }
  }
  return false;
}

// The differences of one century and band.
struct AccuracyCell {
  int days = 0;
  // |Ostrel - peer|, seconds, of each event on the days it happens by both.
  std::array<std::vector<double>, kAccuracyEvents> diffs;
  // Days on which sunrise or sunset (civil dawn or dusk) happens by one
  // theory only, and of those civil ones the days where the other theory
  // has the crossing on the date before or after, within an hour.
  int oneOnlyRiseSet = 0, oneOnlyCivil = 0, oneOnlyCivilAcross = 0;
};

// The largest difference of one event overall in a band, to show where the
// extremes lie.
struct Worst {
  double diff = -1;
  double latDeg = 0, longDeg = 0;
  BenchDate date{};
  double ours = 0, peer = 0;
};

double Percentile(std::vector<double> v, double fraction) {
  if (v.empty()) return 0;
  // Nearest rank: the smallest value with at least `fraction` of the
  // values at or below it.
  const std::size_t rank = std::size_t(std::ceil(fraction * double(v.size())));
  const std::size_t k = rank == 0 ? 0 : rank - 1;
  std::nth_element(v.begin(), v.begin() + long(k), v.end());
  return v[k];
}

// A moment relative to local midnight of the date, as a clock time with
// the day it falls on when it is not the date.
std::string ClockAcrossDates(double seconds) {
  if (seconds < 0) return Clock(seconds + kSecondsPerDay) + "(-1d)";
  if (seconds >= kSecondsPerDay) return Clock(seconds - kSecondsPerDay) + "(+1d)";
  return Clock(seconds);
}

int CenturyOf(int year) { return year >= 2000 ? 3 : (year - 1700) / 100; }

int Accuracy() {
  const auto start = std::chrono::steady_clock::now();
  constexpr int kCenturies = 4;
  constexpr std::array<const char *, kCenturies> kCenturyNames{"1700s", "1800s", "1900s",
                                                               "2000-2100"};
  std::array<std::array<AccuracyCell, kBands.size()>, kCenturies> cells{};
  std::array<std::array<Worst, kAccuracyEvents>, kBands.size()> worst{};
  int repaired = 0, acrossRiseSet = 0;

  for (int year = kFirstYear; year <= kLastYear; year += kYearStep) {
    const int century = CenturyOf(year);
    for (int month = 1; month <= 12; ++month) {
      for (int dayOfMonth : kDaysOfMonth) {
        const BenchDate date{year, month, dayOfMonth};
        for (std::size_t b = 0; b < kBands.size(); ++b) {
          AccuracyCell &cell = cells[century][b];
          for (double lat : kBands[b].latitudesDeg) {
            for (double lon : kLongitudesDeg) {
              const BenchSite site{lat, lon, float(std::lround(lon / 15))};
              const DayMoments ours = OstrelMoments(site, date);
              const PeerDay peerDay = PeerSetUp(site, date);
              const std::array<double, kAccuracyEvents> peer = PeerSunTimes(peerDay);
              ++cell.days;
              bool oneOnly[kAccuracyEvents] = {}, across[kAccuracyEvents] = {};
              for (int e = 0; e < kAccuracyEvents; ++e) {
                const double o = ours[kAccuracyMoment[e]];
                double p = peer[e];
                if ((o >= 0) != (p >= 0)) {
                  oneOnly[e] = true;
                  across[e] = o >= 0 ? PeerNear(e, peerDay, o).has_value()
                                     : OstrelAcrossMidnight(e, site, date, p);
                } else if (o >= 0) {
                  // Where a level is crossed twice one way on the date (one
                  // crossing just after midnight, the next before the
                  // following midnight), the two theories may give
                  // different ones: compare with the peer's same crossing.
                  if (std::fabs(o - p) > kSameCrossingSeconds) {
                    if (const std::optional<double> near = PeerNear(e, peerDay, o)) {
                      p = *near;
                      ++repaired;
                    }
                  }
                  const double d = std::fabs(o - p);
                  cell.diffs[e].push_back(d);
                  Worst &w = worst[b][e];
                  if (d > w.diff) w = Worst{d, lat, lon, date, o, p};
                }
              }
              cell.oneOnlyRiseSet += (oneOnly[0] || oneOnly[1]) ? 1 : 0;
              cell.oneOnlyCivil += (oneOnly[2] || oneOnly[3]) ? 1 : 0;
              cell.oneOnlyCivilAcross +=
                  ((oneOnly[2] || oneOnly[3]) && (across[2] || !oneOnly[2]) &&
                   (across[3] || !oneOnly[3]))
                      ? 1
                      : 0;
              acrossRiseSet += ((oneOnly[0] && across[0]) || (oneOnly[1] && across[1])) ? 1 : 0;
            }
          }
        }
      }
    }
  }

  std::printf("Ostrel (classic theory) against the peer, years %d-%d every %d, the 1st and "
              "15th of each month,\n%zu longitudes, zone = round(long/15).  |Ostrel - peer|, "
              "seconds, on days the event happens by both;\n\"one only\": days a sunrise or "
              "sunset (civil dawn or dusk) happens by one theory only,\n\"x-mid\": of those "
              "civil ones, days where the other theory has it within an hour\non the date "
              "before or after (the same crossing on the other side of midnight).\n\n",
              kFirstYear, kLastYear, kYearStep, kLongitudesDeg.size());
  std::printf("%-9s %-9s %6s | %-11s | %-11s | %-11s | %-11s | %-14s\n", "", "", "",
              "  sunrise", "  sunset", " civil dawn", " civil dusk", "   one only");
  std::printf("%-9s %-9s %6s | %5s %5s | %5s %5s | %5s %5s | %5s %5s | %4s %4s %5s\n", "years",
              "band", "days", "max", "p99", "max", "p99", "max", "p99", "max", "p99", "r/s",
              "civ", "x-mid");
  for (int c = 0; c < kCenturies; ++c) {
    for (std::size_t b = 0; b < kBands.size(); ++b) {
      const AccuracyCell &cell = cells[c][b];
      std::printf("%-9s %-9s %6d |", kCenturyNames[c], kBands[b].name, cell.days);
      for (int e = 0; e < kAccuracyEvents; ++e) {
        const std::vector<double> &d = cell.diffs[e];
        const double largest = d.empty() ? 0 : *std::max_element(d.begin(), d.end());
        std::printf(" %5.0f %5.0f |", largest, Percentile(d, 0.99));
      }
      std::printf(" %4d %4d %5d\n", cell.oneOnlyRiseSet, cell.oneOnlyCivil,
                  cell.oneOnlyCivilAcross);
    }
  }

  std::printf("\nLargest difference of each event by band, all years:\n");
  for (std::size_t b = 0; b < kBands.size(); ++b) {
    for (int e = 0; e < kAccuracyEvents; ++e) {
      const Worst &w = worst[b][e];
      if (w.diff < 0) continue;
      std::printf("  %-9s %-10s %5.0f s  lat %6.2f long %7.2f  %04d-%02d-%02d  ours %s peer %s\n",
                  kBands[b].name, kAccuracyNames[e], w.diff, w.latDeg, w.longDeg, w.date.year,
                  w.date.month, w.date.day, Clock(w.ours).c_str(),
                  ClockAcrossDates(w.peer).c_str());
    }
  }
  std::printf("\nCompared with the peer's other crossing of the same level (the two gave "
              "different ones of a date): %d\nSunrises or sunsets by one theory only across a "
              "midnight: %d\n",
              repaired, acrossRiseSet);
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("\n%.1f s wall time\n", elapsed);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--compare") == 0) return Compare();
    if (std::strcmp(argv[a], "--accuracy") == 0) return Accuracy();
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
