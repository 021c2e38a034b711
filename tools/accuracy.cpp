// SPDX-License-Identifier: GPL-3.0-or-later
// ostrel_accuracy: how far each result the window shows is from a modern
// reference, in both theories, over the accepted years 1700 to 2100.
//
//   build/tools/ostrel_accuracy [--data DIR] [--shared DIR]
//
// References:
// - astronomy-engine, through the committed vectors (tests/data, written by
//   tools/reference/make-vectors.mjs): the apparent topocentric right
//   ascension and declination of date, the true altitude and azimuth, the
//   sidereal time, the apparent ecliptic longitude and the geometric
//   distance at 2000 moments; sunrise, sunset, culmination, the twilights
//   and the equation of time on 1320 dates; 22 sites up to 65 degrees of
//   latitude.  It takes UT and the same Delta T as the precise theory.  Its
//   own Earth is off by up to 2.8" in direction from 1900 to 2100 and 5" in
//   the 1700s, and by 1.6e-5 AU in distance (measured below the table when
//   its C library is beside the clone), so it cannot show errors smaller.
// - JPL Horizons (DE431 and DE441, the tables in ../shared/peers/horizons):
//   the Sun's astrometric place from 29N 81W every 10 days 1900-2100, its
//   refracted apparent place, azimuth and elevation there, and the Earth's
//   heliocentric distance every 8 days 1970-2040.  Its refraction is put
//   on this theory's place before comparing (HorizonsRefractionDeg).  Left
//   out, with a note, when the tables are not beside the clone.
//
// Each theory is asked what the window asks it: the place at the moment
// from the theory's Sun of the local date (the numbers the texts are formed
// from, before the texts' carries; for the classic theory within 16" of
// the run's own, whose single-precision steps and carries differ), the
// equation of time from the run itself, and the moments of the day from the
// day's events (the day window's seconds; the precise run's sunrise and
// sunset are these too).  The main window's rounded texts of culmination,
// sunrise, sunset and day length are measured as well, since the classic
// run finds them by its own five evaluations.
//
// The Moon (core/moon) is measured against the committed tables of
// tests/data/moon-*.csv (tools/reference/extract-moon-tables.mjs):
// - Horizons (DE431), the Moon from 29N 81W every 10 days 1900-2100,
//   airless apparent and astrometric: the right ascension and declination
//   with this theory's Delta T, as a user sees them, and at Horizons' own
//   TT with the Earth turned at the row's UT (MoonTopocentricAtTT), the
//   theory alone;
// - the U.S. Naval Observatory's moonrise and moonset tables (UT, to the
//   minute) at 29N, 45S, 61S and 80N to 85N, each of theirs against the
//   nearest of ours;
// - the U.S. Naval Observatory's quarters every tenth year 1800-2100.
//
// Prints two Markdown tables: for the Sun, per shown result the largest
// and the 95th percentile error of each theory, the precise theory's goal,
// and the shown digits that mean something; for the Moon, per result and
// period the largest and the 95th percentile error and the goal.  Exits
// with status 0 whatever it finds.
#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/day/day_events.h"
#include "core/moon/moon_day.h"
#include "core/moon/moon_place.h"
#include "core/moon/moon_quarters.h"
#include "core/run/ephemeris.h"
#include "core/sun/precise_sun.h"
#include "core/sun/theory.h"
#include "core/run/typed_input.h"
#include "tools/moon_reference.h"
#include "tools/reference_vectors.h"

#ifdef OSTREL_ACCURACY_PEER
#include "astronomy.h"
#endif

namespace {

using namespace ostrel;
using namespace ostrel::reference;

constexpr double kKmPerAU = 149597870.7;
constexpr double kSecondsPerDay = 86400;
// The window's diameter: 0.533128 degrees at 1 AU (a solar radius of
// 696,000 km), in both theories.
constexpr double kDiameterAt1AuArcmin = 0.533128 * 60;

// ---- Statistics ------------------------------------------------------------

class Errors {
public:
  void Add(double error) { values_.push_back(std::fabs(error)); }
  bool empty() const { return values_.empty(); }
  std::size_t size() const { return values_.size(); }
  double Largest() const {
    return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end());
  }
  // Nearest rank: the smallest value with at least 95 % of them at or below.
  double Percentile95() const {
    if (values_.empty()) return 0;
    std::vector<double> v = values_;
    const std::size_t rank = std::size_t(std::ceil(0.95 * double(v.size())));
    const auto k = std::ptrdiff_t(rank == 0 ? 0 : rank - 1);
    std::nth_element(v.begin(), v.begin() + k, v.end());
    return v[std::size_t(k)];
  }

private:
  std::vector<double> values_;
};

// ---- What the window shows -------------------------------------------------

// The places of a shown value from the coarsest to the finest, in the unit
// of its errors, each with what the value is good to when that place is the
// finest one that means something.  A place means something when the
// largest error is at most half a unit of it.
struct Place {
  double value;
  const char *goodTo;
};
struct Shown {
  const char *text;
  std::vector<Place> places; // the last is the finest shown
};

// Seconds of time; the finest place is 1 s (the day window).
const Shown kClockSeconds{"h m s",
                          {{3600, "to the hour"},
                           {600, "to 10 min"},
                           {60, "to the minute"},
                           {10, "to 10 s"},
                           {1, ""}}};
// Seconds of time; shown to the minute.
const Shown kClockMinutes{"h min", {{3600, "to the hour"}, {600, "to 10 min"}, {60, ""}}};
const Shown kSunEvent{"h min (main), h:m:s (day window)", kClockSeconds.places};
const Shown kTwilight{"h:m:s (day window)", kClockSeconds.places};
const Shown kSidereal{"h m s", kClockSeconds.places};
// Seconds of arc of right ascension (15" a second of time).
const Shown kRightAscension{"h m s",
                            {{54000, "to the hour"},
                             {900, "to the minute"},
                             {150, "to 10 s"},
                             {15, ""}}};
const Shown kDeclination{"° ′ ″",
                         {{3600, "to the degree"},
                          {600, "to 10′"},
                          {60, "to the minute"},
                          {10, "to 10″"},
                          {1, ""}}};
const Shown kLongitude{"0.0001°",
                       {{3600, "0 of 4 decimals"},
                        {360, "1 of 4 decimals"},
                        {36, "2 of 4 decimals"},
                        {3.6, "3 of 4 decimals"},
                        {0.36, ""}}};
const Shown kThousandthDegree{"0.001°",
                              {{3600, "0 of 3 decimals"},
                               {360, "1 of 3 decimals"},
                               {36, "2 of 3 decimals"},
                               {3.6, ""}}};
const Shown kDistanceAU{"1e-8 AU",
                        {{1e-1, "1 of 8 decimals"},
                         {1e-2, "2 of 8 decimals"},
                         {1e-3, "3 of 8 decimals"},
                         {1e-4, "4 of 8 decimals"},
                         {1e-5, "5 of 8 decimals"},
                         {1e-6, "6 of 8 decimals"},
                         {1e-7, "7 of 8 decimals"},
                         {1e-8, ""}}};
const Shown kDistanceKm{"1 km",
                        {{1e6, "to 1,000,000 km"},
                         {1e5, "to 100,000 km"},
                         {1e4, "to 10,000 km"},
                         {1e3, "to 1,000 km"},
                         {1e2, "to 100 km"},
                         {10, "to 10 km"},
                         {1, ""}}};
const Shown kDiameter{"′ ″", {{60, "to the minute"}, {10, "to 10″"}, {1, ""}}};
// Seconds of time; shown to 0.1 min.
const Shown kEquationOfTime{"0.1 min", {{600, "to 10 min"}, {60, "to the minute"}, {6, ""}}};

std::string Meaningful(const Shown &shown, const Errors &errors, bool rounded) {
  if (errors.empty()) return "—";
  const double largest = errors.Largest();
  const char *goodTo = "none";
  for (const Place &p : shown.places) {
    if (largest <= (rounded ? p.value : p.value / 2)) goodTo = p.goodTo;
  }
  return *goodTo == '\0' ? "all" : goodTo;
}

// ---- The table ---------------------------------------------------------------

enum class Unit { Arcsec, Seconds, AU, Km };

std::string Format(double value, Unit unit) {
  char text[48];
  switch (unit) {
  case Unit::AU:
    if (value == 0) return "0 AU";
    std::snprintf(text, sizeof text, "%.1e AU", value);
    return text;
  case Unit::Km:
    std::snprintf(text, sizeof text, value < 10 ? "%.1f km" : "%.0f km", value);
    return text;
  case Unit::Arcsec:
  case Unit::Seconds: {
    const char *suffix = unit == Unit::Arcsec ? "″" : " s";
    const char *format = value < 0.1 ? "%.3f%s" : value < 10 ? "%.2f%s" : value < 100 ? "%.1f%s"
                                                                                      : "%.0f%s";
    std::snprintf(text, sizeof text, format, value, suffix);
    return text;
  }
  }
  return "";
}

struct Goal {
  double limit;
  Unit unit;
};

struct Row {
  Row(std::string result, const Shown *shown, Unit unit, std::string reference,
      std::string years)
      : result(std::move(result)), shown(shown), unit(unit), reference(std::move(reference)),
        years(std::move(years)) {}
  std::string result;
  const Shown *shown;
  Unit unit;
  std::string reference;
  std::string years;
  Errors classic, precise;
  bool classicApplies = true;
  // Moments and texts rounded already: a digit means something when the
  // largest error is at most a whole unit of it.
  bool rounded = false;
  std::optional<Goal> goal;
  std::string note; // why a goal is missed
};

std::string Pair(const Errors &e, Unit unit) {
  if (e.empty()) return "—";
  return Format(e.Largest(), unit) + " / " + Format(e.Percentile95(), unit);
}

void PrintTable(const std::vector<Row> &rows) {
  std::printf("| shown result | shown to | reference | years | n | classic: largest / 95 %% | "
              "precise: largest / 95 %% | precise goal | meaningful digits, classic / "
              "precise |\n");
  std::printf("| --- | --- | --- | --- | --- | --- | --- | --- | --- |\n");
  for (const Row &r : rows) {
    std::string goal = "—";
    if (r.goal && !r.precise.empty()) {
      const bool met = r.precise.Largest() <= r.goal->limit;
      goal = Format(r.goal->limit, r.goal->unit) + (met ? ": met" : ": **missed**");
      if (!met && !r.note.empty()) goal += " (" + r.note + ")";
    } else if (!r.note.empty()) {
      goal = r.note;
    }
    const std::size_t n = std::max(r.precise.size(), r.classic.size());
    std::printf("| %s | %s | %s | %s | %zu | %s | %s | %s | %s / %s |\n", r.result.c_str(),
                r.shown->text, r.reference.c_str(), r.years.c_str(), n,
                r.classicApplies ? Pair(r.classic, r.unit).c_str() : "—",
                Pair(r.precise, r.unit).c_str(), goal.c_str(),
                r.classicApplies ? Meaningful(*r.shown, r.classic, r.rounded).c_str() : "—",
                Meaningful(*r.shown, r.precise, r.rounded).c_str());
  }
}

// ---- astronomy-engine's vectors ------------------------------------------------

constexpr const char *kEngine = "astronomy-engine";
constexpr int kTheories = 2;
constexpr Theory kTheoryOf[kTheories] = {Theory::Classic, Theory::Precise};

Errors &Of(Row &row, int theory) { return theory == 0 ? row.classic : row.precise; }

void PlaceRows(const std::vector<PlaceRow> &places, std::vector<Row> &out) {
  Row sidereal{"local sidereal time", &kSidereal, Unit::Seconds,
               std::string(kEngine) + " SiderealTime + longitude", "1700–2100"};
  sidereal.goal = Goal{0.05, Unit::Seconds};
  Row longitude{"ecliptic longitude", &kLongitude, Unit::Arcsec,
                std::string(kEngine) + " SunPosition", "1700–2100"};
  Row distance{"distance", &kDistanceAU, Unit::AU,
               std::string(kEngine) + " (its own error: up to 1.6e-5 AU)", "1700–2100"};
  Row distanceKm{"distance, km", &kDistanceKm, Unit::Km, distance.reference, "1700–2100"};
  Row diameter{"diameter", &kDiameter, Unit::Arcsec,
               std::string(kEngine) + " distance, the window's 959.63″ at 1 AU", "1700–2100"};
  const std::string of = std::string(kEngine) + " Equator (of date, aberration, topocentric)";
  Row raBefore{"right ascension", &kRightAscension, Unit::Arcsec, of, "1700–1899"};
  Row raAfter{"right ascension", &kRightAscension, Unit::Arcsec, of, "1900–2100"};
  Row decBefore{"declination", &kDeclination, Unit::Arcsec, of, "1700–1899"};
  Row decAfter{"declination", &kDeclination, Unit::Arcsec, of, "1900–2100"};
  raBefore.goal = decBefore.goal = Goal{5, Unit::Arcsec};
  raAfter.goal = decAfter.goal = Goal{2, Unit::Arcsec};
  // The reference's own Earth is off by as much (see below the table).
  raBefore.note = decBefore.note = "reference's own error up to 5″ here";
  raAfter.note = decAfter.note = "reference's own error up to 2.8″; see Horizons";
  Row altitude{"true altitude", &kThousandthDegree, Unit::Arcsec,
               std::string(kEngine) + " Horizon, no refraction", "1700–2100"};
  altitude.goal = Goal{5, Unit::Arcsec};
  // Near the zenith and the nadir any azimuth error grows as 1 / cos h:
  // rows farther than this from the horizon, degrees, are left out.
  constexpr double kAzimuthBelowDeg = 80;
  Row azimuth{"azimuth", &kThousandthDegree, Unit::Arcsec, altitude.reference + ", h within ±80°",
              "1700–2100"};

  for (const PlaceRow &row : places) {
    const Site site = SiteOf(row.site);
    const bool early = row.date.year < 1900;
    for (int t = 0; t < kTheories; ++t) {
      const SunPlace p = MakeSunDay(kTheoryOf[t], site, row.date)->PlaceAt(row.localHours());
      const double lst = row.gastHours + row.site.longDeg / 15;
      Of(sidereal, t).Add(AngleDifference(p.localSiderealHours, lst, 24) * 3600);
      Of(longitude, t).Add(AngleDifference(p.eclipticLongitudeDeg, row.longitudeDeg, 360) * 3600);
      Of(distance, t).Add(p.distanceAU - row.distanceAU);
      Of(distanceKm, t).Add((p.distanceAU - row.distanceAU) * kKmPerAU);
      Of(diameter, t).Add((kDiameterAt1AuArcmin / p.distanceAU -
                           kDiameterAt1AuArcmin / row.distanceAU) * 60);
      Of(early ? raBefore : raAfter, t)
          .Add(AngleDifference(p.rightAscensionHours, row.raHours, 24) * 15 * 3600);
      Of(early ? decBefore : decAfter, t).Add((p.declinationDeg - row.decDeg) * 3600);
      Of(altitude, t).Add((p.altitudeDeg - row.altDeg) * 3600);
      if (std::fabs(row.altDeg) <= kAzimuthBelowDeg) {
        Of(azimuth, t).Add(AngleDifference(p.azimuthDeg, row.azDeg, 360) * 3600);
      }
    }
  }
  for (Row *r : {&sidereal, &longitude, &distance, &distanceKm, &diameter, &raBefore, &raAfter,
                 &decBefore, &decAfter, &altitude, &azimuth}) {
    out.push_back(std::move(*r));
  }
}

// The main window's texts "H" and "M" of a clock time, seconds; none for
// "--".
std::optional<double> ClockSeconds(const std::string &hour, const std::string &minute) {
  if (hour == "--" || minute == "--" || hour.empty()) return std::nullopt;
  const double h = std::stod(hour), m = std::stod(minute);
  return (std::fabs(h) * 60 + m) * 60 * (hour[0] == '-' ? -1 : 1);
}

// Up to this latitude, degrees, the goals of the day's moments hold.
constexpr double kEventLatitudeDeg = 60;

struct DayRun {
  DayMoments moments;
  std::optional<double> dayLength;
  double equationOfTimeSeconds;
  std::optional<double> culminationText, riseText, setText, lengthText;
};

DayRun RunDay(int theory, const DayRow &row) {
  DayRun run{};
  const Site site = SiteOf(row.site);
  const DayEvents events =
      FindDayEvents(*MakeSunDay(kTheoryOf[theory], site, row.date), {}, DayEventSet::Twilights);
  run.moments = MomentsOf(events);
  if (events.dayLengthSeconds && events.polar == Polar::None) run.dayLength = *events.dayLengthSeconds;

  Ephemeris ephemeris;
  ephemeris.theory = kTheoryOf[theory];
  SetSite(ephemeris.state, site.LongHours, site.LatRad, site.Timezon);
  SetTypedMoment(ephemeris.state, row.date.year, row.date.month, row.date.day, 12, 0, 0);
  ephemeris.MAINCALC();
  run.equationOfTimeSeconds = ephemeris.state.EquationOfTime * 3600;
  const SunReport &r = ephemeris.report;
  run.culminationText = ClockSeconds(r.CulmHour, r.CulmMin);
  run.riseText = ClockSeconds(r.RiseHour, r.RiseMin);
  run.setText = ClockSeconds(r.SetHour, r.SetMin);
  run.lengthText = ClockSeconds(r.DurHour, r.DurMin);
  return run;
}

// Days on which an event happens by the theory or by the reference only.
struct OneOnly {
  int counts[kTheories][2][kDayEventCount] = {}; // theory, band, event
};

void DayRows(const std::vector<DayRow> &days, std::vector<Row> &out, OneOnly &oneOnly) {
  const std::string search = std::string(kEngine) + " searches";
  // Per event, the two latitude bands.
  std::vector<Row> events;
  for (int e = 0; e < kDayEventCount; ++e) {
    if (e == kCulmination) continue;
    for (int band = 0; band < 2; ++band) {
      const bool twilight = e >= kCivilDawn;
      Row row{kDayEventNames[e], twilight ? &kTwilight : &kSunEvent, Unit::Seconds, search,
              band == 0 ? "1700–2100, lat. up to ±60°" : "1700–2100, lat. ±60° to ±65°"};
      if (band == 0) row.goal = Goal{10, Unit::Seconds};
      events.push_back(std::move(row));
    }
  }
  const auto eventRow = [&events](int e, int band) -> Row & {
    const int index = (e > kCulmination ? e - 1 : e) * 2 + band;
    return events[std::size_t(index)];
  };
  Row culmination{"culmination", &kSunEvent, Unit::Seconds, search + " (hour angle 0)",
                  "1700–2100"};
  Row equation{"equation of time", &kEquationOfTime, Unit::Seconds,
               std::string(kEngine) + " HourAngle at local mean noon", "1700–2100"};
  Row length{"day length", &kSunEvent, Unit::Seconds, search, "1700–2100, lat. up to ±60°"};
  Row lengthHigh = length;
  lengthHigh.years = "1700–2100, lat. ±60° to ±65°";
  Row culmText{"culmination, main window text", &kClockMinutes, Unit::Seconds, search,
               "1700–2100"};
  Row riseText{"sunrise, main window text", &kClockMinutes, Unit::Seconds, search,
               "1700–2100, lat. up to ±60°"};
  Row setText{"sunset, main window text", &kClockMinutes, Unit::Seconds, search,
              "1700–2100, lat. up to ±60°"};
  Row lengthText{"day length, main window text", &kClockMinutes, Unit::Seconds, search,
                 "1700–2100, lat. up to ±60°"};

  for (const DayRow &row : days) {
    const int band = std::fabs(row.site.latDeg) <= kEventLatitudeDeg ? 0 : 1;
    const DayMoments &ref = row.events;
    for (int t = 0; t < kTheories; ++t) {
      const DayRun run = RunDay(t, row);
      for (int e = 0; e < kDayEventCount; ++e) {
        const std::optional<double> &ours = run.moments[e];
        if (ours.has_value() != ref[e].has_value()) {
          ++oneOnly.counts[t][band][e];
        } else if (ours) {
          Of(e == kCulmination ? culmination : eventRow(e, band), t).Add(*ours - *ref[e]);
        }
      }
      if (ref[kSunrise] && ref[kSunset] && *ref[kSunrise] < *ref[kSunset] && run.dayLength) {
        const double reference = *ref[kSunset] - *ref[kSunrise];
        Of(band == 0 ? length : lengthHigh, t).Add(*run.dayLength - reference);
        if (band == 0 && run.lengthText) Of(lengthText, t).Add(*run.lengthText - reference);
      }
      Of(equation, t).Add(run.equationOfTimeSeconds - row.equationOfTimeMinutes * 60);
      // The texts as shown, rounded to the minute; a time carried past
      // midnight by the run is compared on the clock.
      const auto text = [&](Row &target, const std::optional<double> &shown, int e) {
        if (shown && ref[e]) {
          Of(target, t).Add(std::remainder(*shown - *ref[e], kSecondsPerDay));
        }
      };
      text(culmText, run.culminationText, kCulmination);
      if (band == 0) {
        text(riseText, run.riseText, kSunrise);
        text(setText, run.setText, kSunset);
      }
    }
  }
  // The day's moments are whole seconds already.
  for (Row *r : {&culmination, &length, &lengthHigh}) r->rounded = true;
  for (Row &r : events) r.rounded = true;
  out.push_back(std::move(culmination));
  out.push_back(std::move(equation));
  for (Row &r : events) out.push_back(std::move(r));
  out.push_back(std::move(length));
  out.push_back(std::move(lengthHigh));
  for (Row *r : {&culmText, &riseText, &setText, &lengthText}) {
    r->rounded = true;
    out.push_back(std::move(*r));
  }
}

// ---- Horizons ------------------------------------------------------------------

// The Julian date of a Horizons time "YYYY-Mon-DD HH:MM", and the parts.
struct HorizonsTime {
  int year, month, day, hour, minute;
  double julianDate;
  double decimalYear() const { return 2000 + (julianDate - 2451545.0) / 365.25; }
};

std::optional<HorizonsTime> ParseHorizonsTime(const std::string &line) {
  static const char *kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  HorizonsTime t{};
  char month[4] = {};
  if (std::sscanf(line.c_str(), " %d-%3s-%d %d:%d", &t.year, month, &t.day, &t.hour,
                  &t.minute) != 5) {
    return std::nullopt;
  }
  t.month = 0;
  for (int m = 0; m < 12; ++m) {
    if (std::strcmp(month, kMonths[m]) == 0) t.month = m + 1;
  }
  double mjd0 = 0, mjd = 0;
  if (t.month == 0 || eraCal2jd(t.year, t.month, t.day, &mjd0, &mjd) != 0) return std::nullopt;
  t.julianDate = mjd0 + mjd + (t.hour + t.minute / 60.0) / 24;
  return t;
}

// TT - UT of Horizons' table at a row (HorizonsTtMinusUtSeconds).
double HorizonsDeltaTSeconds(const HorizonsTime &t) {
  return HorizonsTtMinusUtSeconds({t.year, t.month, t.day, t.hour, t.minute});
}

// Horizons' refraction, degrees, for a true altitude in degrees: Saemundsson's
// formula at standard conditions with the altitude held at -1 degree and
// below, so that every place below the horizon is lifted by 38.8'.  Found
// from the table itself: its elevations are the true altitude plus this to
// 0.3" on every row of 1900-1961.
double HorizonsRefractionDeg(double trueAltitudeDeg) {
  const double h = std::max(trueAltitudeDeg, -1.0);
  return 1.02 / std::tan((h + 10.3 / (h + 5.11)) * ERFA_DD2R) / 60;
}

// A topocentric place of date (right ascension and declination) refracted as
// Horizons refracts it, for the local sidereal time of the moment: the lift
// acts along the vertical.
std::pair<double, double> Refracted(double raHours, double decDeg, double lstHours,
                                    double latRad) {
  double azimuth = 0, altitude = 0, hourAngle = 0, dec = 0;
  eraHd2ae((lstHours - raHours) * 15 * ERFA_DD2R, decDeg * ERFA_DD2R, latRad, &azimuth,
           &altitude);
  altitude += HorizonsRefractionDeg(altitude * ERFA_DR2D) * ERFA_DD2R;
  eraAe2hd(azimuth, altitude, latRad, &hourAngle, &dec);
  return {lstHours - hourAngle * ERFA_DR2D / 15, dec * ERFA_DR2D};
}

// The angle between two directions, seconds of arc.
double Separation(double ra1Hours, double dec1Deg, double ra2Hours, double dec2Deg) {
  return eraSeps(ra1Hours * 15 * ERFA_DD2R, dec1Deg * ERFA_DD2R, ra2Hours * 15 * ERFA_DD2R,
                 dec2Deg * ERFA_DD2R) *
         ERFA_DR2D * 3600;
}

// The local date and hour at a Julian date UT for a site in zone 0.
std::pair<CivilDate, double> DateAndHour(double julianDateUt) {
  int y = 0, m = 0, d = 0;
  double fraction = 0;
  eraJd2cal(julianDateUt, 0, &y, &m, &d, &fraction);
  return {CivilDate{y, m, d}, fraction * 24};
}

// Where the Sun's true altitude is below this, degrees, Horizons' lift is
// the same 38.8' whatever the altitude, so that the right ascension and
// declination compared there do not hang on the altitude (nor on UT1 - UTC);
// the margin below -1 degree covers the classic theory's altitude errors.
constexpr double kConstantLiftBelowDeg = -1.5;

// The Horizons row's values, degrees.
struct HorizonsRow {
  HorizonsTime time;
  double raAstrometricDeg, decAstrometricDeg, raApparentDeg, decApparentDeg, azimuthDeg,
      elevationDeg;
};

std::vector<HorizonsRow> ReadHorizonsTopocentric(const std::string &path) {
  std::vector<HorizonsRow> rows;
  std::ifstream table(path);
  std::string line;
  bool inTable = false;
  while (std::getline(table, line)) {
    if (line.rfind("$$SOE", 0) == 0) inTable = true;
    if (line.rfind("$$EOE", 0) == 0) break;
    if (!inTable || line.size() < 20) continue;
    const std::optional<HorizonsTime> t = ParseHorizonsTime(line);
    if (!t) continue;
    // After the time, the presence marks of the Sun and the Moon, then six
    // numbers.
    std::istringstream fields(line.substr(19));
    std::string field;
    double v[6];
    int count = 0;
    while (count < 6 && fields >> field) {
      if (field.find_first_not_of("0123456789.-") == std::string::npos) v[count++] = std::stod(field);
    }
    if (count == 6) rows.push_back({*t, v[0], v[1], v[2], v[3], v[4], v[5]});
  }
  return rows;
}

// Horizons' site: 29 N 81 W (10 m above the ellipsoid: 7e-11 rad of
// parallax, nothing here).
const Site kHorizonsSite{29 * kRad, -81.0 / 15, 0};

void HorizonsTopocentric(const std::vector<HorizonsRow> &rows, std::vector<Row> &out) {
  const std::string horizons = "Horizons DE431, 29°N 81°W";
  const auto astrometricRow = [&](const char *years, bool sameTT) {
    Row row{"astrometric place (angle)", &kDeclination, Unit::Arcsec,
            horizons + ", astrometric" + (sameTT ? ", at Horizons' TT" : ""), years};
    row.classicApplies = false;
    return row;
  };
  Row fitted = astrometricRow("1900–2004", false);
  Row extrapolated = astrometricRow("2005–2024", false);
  Row recent = astrometricRow("1900–2024", true);
  Row future = astrometricRow("2025–2100", false);
  Row futureSameTT = astrometricRow("2025–2100", true);
  fitted.goal = extrapolated.goal = recent.goal = Goal{0.1, Unit::Arcsec};
  extrapolated.note = "Delta T: Espenak–Meeus is up to 5 s above TT − UTC by 2024";
  future.note = "Delta T of the two models parts by up to 134 s";
  const std::string lifted = ", refraction put back, Sun below −1.5°, at Horizons' TT";
  Row ra{"right ascension", &kRightAscension, Unit::Arcsec, horizons + lifted, "1900–2100"};
  Row dec{"declination", &kDeclination, Unit::Arcsec, horizons + lifted, "1900–2100"};
  ra.goal = dec.goal = Goal{2, Unit::Arcsec};
  Row altitude{"true altitude", &kThousandthDegree, Unit::Arcsec,
               horizons + ", refraction put back, UT1 rows", "1900–1961"};
  altitude.goal = Goal{5, Unit::Arcsec};
  Row azimuth{"azimuth", &kThousandthDegree, Unit::Arcsec, horizons + ", UT1 rows",
              "1900–1961"};
  Row azimuthUtc{"azimuth", &kThousandthDegree, Unit::Arcsec,
                 horizons + ", UTC rows (UT1 − UTC ≤ 0.9 s, up to 13.5″)", "1962–2100"};

  for (const HorizonsRow &h : rows) {
    const HorizonsTime &t = h.time;
    // The same instant of TT as Horizons: this theory's UT moved by the
    // difference of the two Delta T.  The site turns with it, which moves
    // its parallax (at most 8.8") by far below 0.01".
    const double shiftDays =
        (HorizonsDeltaTSeconds(t) - DeltaTSeconds(t.decimalYear())) / kSecondsPerDay;
    const double sameTT = t.julianDate + shiftDays;

    const AstrometricPlace a = PreciseAstrometricAt(kHorizonsSite, t.julianDate);
    const AstrometricPlace b = PreciseAstrometricAt(kHorizonsSite, sameTT);
    const double asIs = Separation(a.rightAscensionHours, a.declinationDeg,
                                   h.raAstrometricDeg / 15, h.decAstrometricDeg);
    const double atSameTT = Separation(b.rightAscensionHours, b.declinationDeg,
                                       h.raAstrometricDeg / 15, h.decAstrometricDeg);
    if (t.year < 2025) {
      (t.year < 2005 ? fitted : extrapolated).precise.Add(asIs);
      recent.precise.Add(atSameTT);
    } else {
      future.precise.Add(asIs);
      futureSameTT.precise.Add(atSameTT);
    }

    const auto [date, hours] = DateAndHour(t.julianDate);
    for (int th = 0; th < kTheories; ++th) {
      // The place at the row's UT; the precise theory's right ascension and
      // declination at Horizons' TT too.  The classic theory has no TT.
      const SunPlace atUt = MakeSunDay(kTheoryOf[th], kHorizonsSite, date)->PlaceAt(hours);
      const SunPlace atTT = th == 0 ? atUt : PrecisePlaceAt(kHorizonsSite, sameTT);
      if (atUt.altitudeDeg < kConstantLiftBelowDeg) {
        const auto [raLifted, decLifted] =
            Refracted(atTT.rightAscensionHours, atTT.declinationDeg, atUt.localSiderealHours,
                      kHorizonsSite.LatRad);
        Of(ra, th).Add(AngleDifference(raLifted, h.raApparentDeg / 15, 24) * 15 * 3600);
        Of(dec, th).Add((decLifted - h.decApparentDeg) * 3600);
      }
      if (t.year < 1962) {
        const double elevation = atUt.altitudeDeg + HorizonsRefractionDeg(atUt.altitudeDeg);
        Of(altitude, th).Add((elevation - h.elevationDeg) * 3600);
      }
      Of(t.year < 1962 ? azimuth : azimuthUtc, th)
          .Add(AngleDifference(atUt.azimuthDeg, h.azimuthDeg, 360) * 3600);
    }
  }
  for (Row *r : {&fitted, &extrapolated, &recent, &future, &futureSameTT, &ra, &dec, &altitude,
                 &azimuth, &azimuthUtc}) {
    out.push_back(std::move(*r));
  }
}

bool HorizonsEarth(const std::string &path, std::vector<Row> &out) {
  const std::vector<EarthDistance> table = ReadHorizonsEarth(path);
  if (table.empty()) return false;
  Row distance{"distance", &kDistanceAU, Unit::AU, "Horizons DE441, Earth's heliocentric vector",
               "1970–2040"};
  distance.goal = Goal{2e-7, Unit::AU};
  Row distanceKm{"distance, km", &kDistanceKm, Unit::Km, distance.reference, "1970–2040"};
  Row diameter{"diameter", &kDiameter, Unit::Arcsec,
               "Horizons DE441 distance, the window's 959.63″ at 1 AU", "1970–2040"};
  for (const auto &[epoch, reference] : table) {
    // The TDB epoch (TT within 2 ms) at the UT of this theory's Delta T.
    const double julianDateUt =
        epoch - DeltaTSeconds(2000 + (epoch - 2451545.0) / 365.25) / kSecondsPerDay;
    const auto [date, hours] = DateAndHour(julianDateUt);
    for (int th = 0; th < kTheories; ++th) {
      const double ours =
          MakeSunDay(kTheoryOf[th], Site{0, 0, 0}, date)->PlaceAt(hours).distanceAU;
      Of(distance, th).Add(ours - reference);
      Of(distanceKm, th).Add((ours - reference) * kKmPerAU);
      Of(diameter, th).Add((kDiameterAt1AuArcmin / ours - kDiameterAt1AuArcmin / reference) * 60);
    }
  }
  for (Row *r : {&distance, &distanceKm, &diameter}) out.push_back(std::move(*r));
  return true;
}

// ---- The Moon ------------------------------------------------------------------

// A formatted line of text.
template <typename... Args> std::string Text(const char *format, Args... args) {
  char text[400];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// One line of the Moon's table: the errors of one result over one period
// against one reference, and its goal.
struct MoonRow {
  std::string result, reference, years;
  Unit unit;
  Errors errors;
  std::optional<double> goal; // in the row's unit
  std::string note;
};

void PrintMoonTable(const std::vector<MoonRow> &rows) {
  std::printf("| result | reference | years | n | largest / 95 %% | goal |\n");
  std::printf("| --- | --- | --- | --- | --- | --- |\n");
  for (const MoonRow &r : rows) {
    std::string goal = r.note.empty() ? "—" : r.note;
    if (r.goal && !r.errors.empty()) {
      goal = Format(*r.goal, r.unit) + (r.errors.Largest() <= *r.goal ? ": met" : ": **missed**");
      if (!r.note.empty()) goal += " (" + r.note + ")";
    }
    std::printf("| %s | %s | %s | %zu | %s |  %s |\n", r.result.c_str(), r.reference.c_str(),
                r.years.c_str(), r.errors.size(), Pair(r.errors, r.unit).c_str(), goal.c_str());
  }
}

// Up to this separation on the sky, seconds of arc, the Moon's place meets
// its goal (eraMoon98's worst, 18.3" over 1950-2100 by ERFA, and some
// margin).
constexpr double kMoonPlaceGoalArcsec = 20;

// The Moon from 29 N 279 E against Horizons: the apparent right ascension
// (on the sky, times cos dec) and declination with this theory's Delta T
// (what a user sees) and at Horizons' TT (the theory alone), and the
// astrometric place at Horizons' TT.
void MoonPlaceRows(const std::vector<MoonPlaceRow> &table, std::vector<MoonRow> &out,
                   std::vector<std::string> &notes) {
  const std::string horizons = "Horizons DE431, 29°N 81°W, airless apparent";
  const char *periods[] = {"1900–1961", "1962–2024", "2025–2100"};
  const auto period = [](int year) { return year < 1962 ? 0 : year < 2025 ? 1 : 2; };
  std::vector<MoonRow> ra, dec, raTT, decTT, astrometric;
  for (const char *years : periods) {
    ra.push_back({"right ascension × cos δ, Ostrel's ΔT", horizons, years, Unit::Arcsec, {}, {}, {}});
    dec.push_back({"declination, Ostrel's ΔT", horizons, years, Unit::Arcsec, {}, {}, {}});
    raTT.push_back({"right ascension × cos δ, at Horizons' TT", horizons, years, Unit::Arcsec, {},
                    kMoonPlaceGoalArcsec, {}});
    decTT.push_back({"declination, at Horizons' TT", horizons, years, Unit::Arcsec, {},
                     kMoonPlaceGoalArcsec, {}});
    astrometric.push_back({"astrometric place (angle), Ostrel's ΔT",
                           "Horizons DE431, 29°N 81°W, astrometric", years, Unit::Arcsec, {}, {},
                           {}});
  }
  ra[0].note = dec[0].note = "Horizons' ΔT before 1962 not listed: the same as at its TT";
  ra[2].note = dec[2].note = "ΔT of the two models parts by up to 134 s";
  Errors deltaTGap;
  const Site site = MoonHorizonsSite();
  for (const MoonPlaceRow &row : table) {
    const double jd = row.time.JulianDate();
    const int p = period(row.time.year);
    const double cosDec = std::cos(row.decApparentDeg * ERFA_DD2R);
    const MoonPlace place = MoonPlaceAt(site, jd);
    ra[p].errors.Add(AngleDifference(place.rightAscensionHours * 15, row.raApparentDeg, 360) *
                     cosDec * 3600);
    dec[p].errors.Add((place.declinationDeg - row.decApparentDeg) * 3600);
    const double ttMinusUt = HorizonsTtMinusUtSeconds(row.time);
    deltaTGap.Add(DeltaTSeconds(row.time.DecimalYear()) - ttMinusUt);
    const Direction atTT = MoonTopocentricAtTT(site, jd, ttMinusUt);
    raTT[p].errors.Add(AngleDifference(atTT.raHours * 15, row.raApparentDeg, 360) * cosDec * 3600);
    decTT[p].errors.Add((atTT.decDeg - row.decApparentDeg) * 3600);
    const AstrometricPlace a = MoonAstrometricAt(site, jd);
    astrometric[p].errors.Add(
        Separation(a.rightAscensionHours, a.declinationDeg, row.raIcrfDeg / 15, row.decIcrfDeg));
  }
  for (std::size_t p = 0; p < std::size(periods); ++p) {
    out.push_back(std::move(ra[p]));
    out.push_back(std::move(dec[p]));
    out.push_back(std::move(raTT[p]));
    out.push_back(std::move(decTT[p]));
    out.push_back(std::move(astrometric[p]));
  }
  notes.push_back(Text("ΔT: Espenak–Meeus less Horizons' TT − UT over the Moon's table: "
                       "largest %.1f s.",
                       deltaTGap.Largest()));
}

// Where a moment is farther than this from every moment of the other side,
// seconds, the two disagree on the event itself.
constexpr double kUnmatchedSeconds = 1800;
// Up to this latitude, degrees, moonrise and moonset meet their goal.
constexpr double kMoonEventLatitudeDeg = 60;
constexpr double kMoonEventGoalSeconds = 60;

// The distance from a moment to the nearest of a sorted list, seconds.
double Nearest(const std::vector<double> &sorted, double julianDate) {
  auto next = std::lower_bound(sorted.begin(), sorted.end(), julianDate);
  double best = 1e9;
  if (next != sorted.end()) best = *next - julianDate;
  if (next != sorted.begin() && julianDate - *(next - 1) < std::fabs(best)) {
    best = *(next - 1) - julianDate;
  }
  return best * kSecondsPerDay;
}

// Moonrise and moonset against the Naval Observatory's tables: each of
// theirs against the nearest of ours of the same kind (found date by date,
// UT), in latitude bands; ours rounded to the minute against theirs too.
void MoonRiseSetRows(const std::vector<MoonRiseSetRow> &table, std::vector<MoonRow> &out,
                     std::vector<std::string> &notes) {
  struct Band {
    const char *name;
    double upToDeg;
  };
  const Band bands[] = {{"29°N (2019), 45°S (2050)", kMoonEventLatitudeDeg},
                        {"61°S (1944)", 61},
                        {"80°N to 85°N (2022–2037)", 90}};
  std::vector<MoonRow> rows;
  std::vector<int> sameMinute(std::size(bands)), unmatched(std::size(bands)),
      oursOnly(std::size(bands));
  for (const Band &b : bands) {
    for (const char *event : {"moonrise", "moonset"}) {
      MoonRow row{event, "USNO tables (UT, to the minute)", b.name, Unit::Seconds, {}, {}, {}};
      if (b.upToDeg <= kMoonEventLatitudeDeg) row.goal = kMoonEventGoalSeconds;
      rows.push_back(std::move(row));
    }
  }
  // The table holds one stretch of dates at each site.
  std::vector<std::pair<double, double>> sites;
  for (const MoonRiseSetRow &r : table) {
    if (std::find(sites.begin(), sites.end(), std::pair{r.latDeg, r.longDeg}) == sites.end()) {
      sites.emplace_back(r.latDeg, r.longDeg);
    }
  }
  for (const auto &[lat, lon] : sites) {
    std::size_t band = 0;
    while (std::fabs(lat) > bands[band].upToDeg) ++band;
    std::vector<double> theirs[2]; // rise, set: Julian dates UT
    for (const MoonRiseSetRow &r : table) {
      if (r.latDeg == lat && r.longDeg == lon) theirs[r.rise ? 0 : 1].push_back(r.time.JulianDate());
    }
    for (auto &t : theirs) std::sort(t.begin(), t.end());
    const double first = std::min(theirs[0].front(), theirs[1].front());
    const double last = std::max(theirs[0].back(), theirs[1].back());
    const Site site{lat * kRad, lon / 15, 0};
    std::vector<double> ours[2];
    for (double day0 = std::floor(first - 0.5) + 0.5 - 1; day0 <= last + 1; day0 += 1) {
      const auto [date, hours] = DateAndHour(day0);
      const MoonDayEvents e = FindMoonDayEvents(MoonDay(site, date));
      if (e.moonrise.happens()) ours[0].push_back(day0 + e.moonrise.seconds / kSecondsPerDay);
      if (e.moonset.happens()) ours[1].push_back(day0 + e.moonset.seconds / kSecondsPerDay);
    }
    for (int kind = 0; kind < 2; ++kind) {
      for (double when : theirs[kind]) {
        const double error = -Nearest(ours[kind], when);
        if (std::fabs(error) > kUnmatchedSeconds) {
          ++unmatched[band];
          continue;
        }
        rows[band * 2 + std::size_t(kind)].errors.Add(error);
        if (error >= -30 && error < 30) ++sameMinute[band];
      }
      for (double when : ours[kind]) {
        if (when >= first && when <= last && std::fabs(Nearest(theirs[kind], when)) > kUnmatchedSeconds) {
          ++oursOnly[band];
        }
      }
    }
  }
  for (MoonRow &r : rows) out.push_back(std::move(r));
  for (std::size_t b = 0; b < std::size(bands); ++b) {
    const std::size_t n = out[out.size() - rows.size() + b * 2].errors.size() +
                          out[out.size() - rows.size() + b * 2 + 1].errors.size();
    notes.push_back(Text("Moonrise and moonset, %s: ours rounded to the minute is the "
                         "USNO's minute in %d of %zu; USNO's without ours within 30 min: %d; "
                         "ours without theirs: %d.",
                         bands[b].name, sameMinute[b], n, unmatched[b], oursOnly[b]));
  }
}

constexpr double kQuarterGoalSeconds = 60;

// The quarters against the Naval Observatory's table: each of theirs
// against the nearest of ours of the same kind.
void MoonQuarterRows(const std::vector<MoonQuarterRow> &table, std::vector<MoonRow> &out,
                     std::vector<std::string> &notes) {
  const char *periods[] = {"1800–2069", "2070–2100"};
  std::vector<MoonRow> rows;
  for (const char *years : periods) {
    rows.push_back({"quarters (new, first, full, last)", "USNO phases (UT, to the minute), every "
                    "10th year", years, Unit::Seconds, {}, {}, {}});
  }
  rows[0].goal = kQuarterGoalSeconds;
  rows[1].note = "ΔT of Espenak–Meeus reaches 203 s by 2100";
  int sameMinute[2] = {}, unmatched[2] = {};
  std::vector<int> years;
  for (const MoonQuarterRow &r : table) {
    if (std::find(years.begin(), years.end(), r.time.year) == years.end()) {
      years.push_back(r.time.year);
    }
  }
  for (int year : years) {
    const double from = TableTime{year, 1, 1, 0, 0}.JulianDate() - 3;
    const double to = TableTime{year + 1, 1, 1, 0, 0}.JulianDate() + 3;
    std::vector<double> ours[4];
    for (const QuarterInstant &q : FindQuarters(from, to)) {
      ours[static_cast<int>(q.quarter)].push_back(q.julianDateUt);
    }
    const int p = year < 2070 ? 0 : 1;
    for (const MoonQuarterRow &r : table) {
      if (r.time.year != year) continue;
      const double when = r.time.JulianDate();
      const double error = -Nearest(ours[r.quarter], when);
      if (std::fabs(error) > kUnmatchedSeconds) {
        ++unmatched[p];
        continue;
      }
      rows[std::size_t(p)].errors.Add(error);
      if (error >= -30 && error < 30) ++sameMinute[p];
    }
  }
  for (int p = 0; p < 2; ++p) {
    notes.push_back(Text("Quarters, %s: ours rounded to the minute is the USNO's minute in %d "
                         "of %zu; USNO's without ours within 30 min: %d.",
                         periods[p], sameMinute[p], rows[std::size_t(p)].errors.size(),
                         unmatched[p]));
  }
  for (MoonRow &r : rows) out.push_back(std::move(r));
}

// ---- The reference's own error ---------------------------------------------------

#ifdef OSTREL_ACCURACY_PEER
// astronomy-engine's C library, the same code as the npm package that made
// the vectors: first that it gives the vectors' places, then how far its
// own Sun is from Horizons' and its own Earth from ERFA's (eraEpv00, whose
// heliocentric position is within 11 km, 0.015", of JPL's DE405 over
// 1900-2100 and about twice that by 1800, by its documentation).
void PrintReferenceError(const std::vector<PlaceRow> &places,
                         const std::vector<HorizonsRow> &horizons) {
  double vectors = 0;
  for (const PlaceRow &row : places) {
    double mjd0 = 0, mjd = 0;
    eraCal2jd(row.date.year, row.date.month, row.date.day, &mjd0, &mjd);
    const double ut = mjd0 + mjd - 2451545.0 + (row.seconds / 3600.0 - row.site.zoneHours) / 24;
    astro_time_t time = Astronomy_TimeFromDays(ut);
    const astro_observer_t observer = Astronomy_MakeObserver(row.site.latDeg, row.site.longDeg, 0);
    const astro_equatorial_t e =
        Astronomy_Equator(BODY_SUN, &time, observer, EQUATOR_OF_DATE, ABERRATION);
    vectors = std::max(vectors, Separation(e.ra, e.dec, row.raHours, row.decDeg));
  }
  std::printf("\nThe reference's own error: astronomy-engine's C library (../shared/peers)\n"
              "  gives the vectors' apparent places to %.1e″ (the same code);\n", vectors);

  Errors sun;
  const astro_observer_t site = Astronomy_MakeObserver(29, -81, 0);
  for (const HorizonsRow &h : horizons) {
    astro_time_t time = Astronomy_TerrestrialTime(h.time.julianDate - 2451545.0 +
                                                  HorizonsDeltaTSeconds(h.time) / kSecondsPerDay);
    const astro_equatorial_t e =
        Astronomy_Equator(BODY_SUN, &time, site, EQUATOR_J2000, NO_ABERRATION);
    sun.Add(Separation(e.ra, e.dec, h.raAstrometricDeg / 15, h.decAstrometricDeg));
  }
  if (!sun.empty()) {
    std::printf("  its astrometric Sun from 29°N 81°W against Horizons' at Horizons' TT, "
                "1900–2100: largest %s, 95 %% %s;\n",
                Format(sun.Largest(), Unit::Arcsec).c_str(),
                Format(sun.Percentile95(), Unit::Arcsec).c_str());
  }
  // Its heliocentric Earth against eraEpv00 at the same TT, every 3.7 days.
  Errors direction[2], distance[2];
  for (double days = -109500; days <= 36890; days += 3.7) {
    const astro_vector_t v = Astronomy_HelioVector(BODY_EARTH, Astronomy_TerrestrialTime(days));
    double heliocentric[2][3], barycentric[2][3];
    eraEpv00(2451545.0, days, heliocentric, barycentric);
    double engine[3] = {v.x, v.y, v.z};
    const int period = days < -36524.5 ? 0 : 1; // 1900 January 0.5
    direction[period].Add(eraSepp(engine, heliocentric[0]) * ERFA_DR2D * 3600);
    distance[period].Add(eraPm(engine) - eraPm(heliocentric[0]));
  }
  for (int period = 0; period < 2; ++period) {
    std::printf("  its heliocentric Earth against ERFA's, %s: direction largest %s (95 %% %s), "
                "distance largest %s.\n",
                period == 0 ? "1700–1899" : "1900–2100",
                Format(direction[period].Largest(), Unit::Arcsec).c_str(),
                Format(direction[period].Percentile95(), Unit::Arcsec).c_str(),
                Format(distance[period].Largest(), Unit::AU).c_str());
  }
}
#endif

} // namespace

int main(int argc, char **argv) {
  std::string data = OSTREL_REFERENCE_DIR;
  std::string shared = OSTREL_SHARED_DIR;
  for (int a = 1; a + 1 < argc; a += 2) {
    if (std::strcmp(argv[a], "--data") == 0) data = argv[a + 1];
    if (std::strcmp(argv[a], "--shared") == 0) shared = argv[a + 1];
  }
  const auto start = std::chrono::steady_clock::now();
  const std::vector<PlaceRow> places = ReadPlaces(data + "/sun-places.csv");
  const std::vector<DayRow> days = ReadDays(data + "/sun-days.csv");
  if (places.empty() || days.empty()) {
    std::fprintf(stderr, "ostrel_accuracy: no reference vectors in %s\n", data.c_str());
    return 1;
  }

  std::vector<Row> rows;
  OneOnly oneOnly;
  PlaceRows(places, rows);
  DayRows(days, rows, oneOnly);
  const std::string horizonsDir = shared + "/peers/horizons/";
  const std::vector<HorizonsRow> horizons =
      ReadHorizonsTopocentric(horizonsDir + "Sun-topocentric-29N-81W.txt");
  if (!horizons.empty()) HorizonsTopocentric(horizons, rows);
  const bool earth = HorizonsEarth(horizonsDir + "Earth-heliocentric.txt", rows);

  std::printf("Errors of the shown results, theory minus reference: the largest and the 95th "
              "percentile of\nthe absolute values over n cases.  Right ascension in seconds of "
              "arc (15″ a second of time,\nnot reduced by cos δ); azimuth as shown (not "
              "reduced by cos h).  A shown digit means something\nwhen the largest error is at "
              "most half a unit of it (a whole unit for moments and texts\nthat are "
              "rounded already).  %zu moments and %zu dates of astronomy-engine's vectors.\n\n",
              places.size(), days.size());
  PrintTable(rows);
  if (horizons.empty() || !earth) {
    std::printf("\nHorizons' tables not found in %s: their rows are left out.\n",
                horizonsDir.c_str());
  }
#ifdef OSTREL_ACCURACY_PEER
  PrintReferenceError(places, horizons);
#endif

  std::printf("\nDates on which an event happens by one side only (the theory or %s), "
              "of %zu:\n",
              kEngine, days.size());
  for (int t = 0; t < kTheories; ++t) {
    for (int band = 0; band < 2; ++band) {
      std::printf("  %-8s %-17s", TheoryKey(kTheoryOf[t]),
                  band == 0 ? "|lat| <= 60" : "60 < |lat| <= 65");
      for (int e = 0; e < kDayEventCount; ++e) {
        std::printf(" %s %d%s", kDayEventNames[e], oneOnly.counts[t][band][e],
                    e + 1 < kDayEventCount ? "," : "\n");
      }
    }
  }
  const std::vector<MoonPlaceRow> moonPlaces = ReadMoonPlaces(data + "/moon-places.csv");
  const std::vector<MoonRiseSetRow> moonRiseSet = ReadMoonRiseSet(data + "/moon-riseset.csv");
  const std::vector<MoonQuarterRow> moonQuarters = ReadMoonQuarters(data + "/moon-quarters.csv");
  if (moonPlaces.empty() || moonRiseSet.empty() || moonQuarters.empty()) {
    std::fprintf(stderr, "ostrel_accuracy: no Moon tables in %s\n", data.c_str());
    return 1;
  }
  std::vector<MoonRow> moonRows;
  std::vector<std::string> moonNotes;
  MoonPlaceRows(moonPlaces, moonRows, moonNotes);
  MoonRiseSetRows(moonRiseSet, moonRows, moonNotes);
  MoonQuarterRows(moonQuarters, moonRows, moonNotes);
  std::printf("\nThe Moon: Ostrel minus the reference, the largest and the 95th percentile of "
              "the absolute\nvalues over n cases.  Right ascension on the sky (times cos δ), "
              "seconds of arc; moments\nin seconds of time against tables rounded to the "
              "minute.\n\n");
  PrintMoonTable(moonRows);
  std::printf("\n");
  for (const std::string &note : moonNotes) std::printf("%s\n", note.c_str());

  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("\n%.1f s\n", elapsed);
  return 0;
}
