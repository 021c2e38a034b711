// SPDX-License-Identifier: GPL-3.0-or-later
// The committed reference tables of the Moon (tests/data/moon-places.csv,
// moon-riseset.csv and moon-quarters.csv, copied by tools/reference/
// extract-moon-tables.mjs from JPL Horizons' and the U.S. Naval
// Observatory's tables): their rows as records, the time scales of
// Horizons, and the Moon's place at Horizons' own TT.  Read by
// ostrel_accuracy and by the core's accuracy tests, so that both measure
// the same thing.
#pragma once

#include <erfa.h>
#include <erfam.h>

#include <string>
#include <vector>

#include "core/moon/moon_theory.h"
#include "core/sun/precise_sun.h"
#include "tools/reference_vectors.h"

namespace ostrel::reference {

// A moment as the tables give it: a civil date and a clock time, UT.
struct TableTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  // The full Julian date; 0 for a date ERFA does not accept.
  double JulianDate() const {
    double mjd0 = 0, mjd = 0;
    if (eraCal2jd(year, month, day, &mjd0, &mjd) != 0) return 0;
    return mjd0 + mjd + (hour + minute / 60.0) / 24;
  }
  // The year with its fraction as DeltaTSeconds takes it (from J2000.0 in
  // Julian years, as the precise theories count it).
  double DecimalYear() const { return 2000 + (JulianDate() - ERFA_DJ00) / 365.25; }
};

inline TableTime TimeFields(const std::vector<std::string> &f, std::size_t first) {
  return {int(Number(f[first])), int(Number(f[first + 1])), int(Number(f[first + 2])),
          int(Number(f[first + 3])), int(Number(f[first + 4]))};
}

// One row of Horizons' table of the Moon from 29 N 279 E: degrees.
struct MoonPlaceRow {
  TableTime time;
  double raIcrfDeg = 0, decIcrfDeg = 0;         // astrometric, ICRF
  double raApparentDeg = 0, decApparentDeg = 0; // airless apparent, of date
};

inline std::vector<MoonPlaceRow> ReadMoonPlaces(const std::string &path) {
  std::vector<MoonPlaceRow> rows;
  for (const auto &f : DataLines(path, 9)) {
    rows.push_back({TimeFields(f, 0), Number(f[5]), Number(f[6]), Number(f[7]), Number(f[8])});
  }
  return rows;
}

// One moonrise or moonset of the Naval Observatory's tables, UT.
struct MoonRiseSetRow {
  double latDeg = 0, longDeg = 0; // north and east positive
  bool rise = true;
  TableTime time;
};

inline std::vector<MoonRiseSetRow> ReadMoonRiseSet(const std::string &path) {
  std::vector<MoonRiseSetRow> rows;
  for (const auto &f : DataLines(path, 8)) {
    rows.push_back({Number(f[0]), Number(f[1]), f[2] == "r", TimeFields(f, 3)});
  }
  return rows;
}

// One quarter of the Naval Observatory's table: 0 new moon, 1 first
// quarter, 2 full moon, 3 last quarter; UT.
struct MoonQuarterRow {
  int quarter = 0;
  TableTime time;
};

inline std::vector<MoonQuarterRow> ReadMoonQuarters(const std::string &path) {
  std::vector<MoonQuarterRow> rows;
  for (const auto &f : DataLines(path, 6)) {
    rows.push_back({int(Number(f[0])), TimeFields(f, 1)});
  }
  return rows;
}

// TT - UT of a Horizons time, seconds.  From 1962 its times are UTC and TT
// is UTC + 32.184 s + TAI - UTC (ERFA's table of leap seconds, the last one
// held after the table's end, as Horizons does: 69.184 s from 2017 on);
// before, they are UT1 and Horizons' own Delta T is not listed, so this
// theory's (DeltaTSeconds) stands in.
inline double HorizonsTtMinusUtSeconds(const TableTime &t) {
  if (t.year < 1962) return DeltaTSeconds(t.DecimalYear());
  double taiMinusUtc = 0;
  eraDat(t.year, t.month, t.day, (t.hour + t.minute / 60.0) / 24, &taiMinusUtc);
  return 32.184 + taiMinusUtc;
}

// A topocentric direction: right ascension in hours (0 to 24) and
// declination in degrees.
struct Direction {
  double raHours = 0, decDeg = 0;
};

// The Moon's apparent topocentric place of date (as MoonPlaceAt computes
// it) with the two uses of Delta T taken apart: the Earth turned to the
// Julian date UT (full) and the Moon, precession and nutation at
// TT = UT + ttMinusUtSeconds.  With Horizons' TT - UT this measures the
// theory apart from the two models of Delta T; moving the UT instead would
// also turn the site, and the parallax (up to 61') with it.
inline Direction MoonTopocentricAtTT(const Site &site, double julianDateUt,
                                     double ttMinusUtSeconds) {
  const EarthOrientation turn = EarthOrientationAt(julianDateUt);
  const double shiftDays =
      (ttMinusUtSeconds - DeltaTSeconds(2000 + (julianDateUt - ERFA_DJ00) / 365.25)) / 86400;
  const EarthOrientation atTT = EarthOrientationAt(julianDateUt + shiftDays);
  const GeocentricMoon moon = MoonAt(atTT);
  const std::array<double, 3> where = SiteVectorAu(site);
  const double c = std::cos(turn.gast), s = std::sin(turn.gast);
  const double observer[3] = {c * where[0] - s * where[1], s * where[0] + c * where[1], where[2]};
  double topocentric[3];
  for (int i = 0; i < 3; ++i) topocentric[i] = moon.ofDate[i] - observer[i];
  double ra = 0, dec = 0;
  eraC2s(topocentric, &ra, &dec);
  return {eraAnp(ra) / ERFA_D2PI * 24, dec * ERFA_DR2D};
}

// Horizons' site for the Moon's table: 29 N 279 E, zone 0 (10 m above the
// ellipsoid: 1.6e-3" of the Moon's parallax, nothing here).
inline Site MoonHorizonsSite() { return Site{29 * kRad, 279.0 / 15, 0}; }

} // namespace ostrel::reference
