// SPDX-License-Identifier: GPL-3.0-or-later
// The committed reference vectors of the Sun (tests/data/sun-places.csv and
// sun-days.csv, written by tools/reference/make-vectors.mjs from
// astronomy-engine): their rows as records, and the two theories' answers
// for the same site and moment.  Read by ostrel_accuracy and by the core's
// accuracy tests, so that both measure the same thing.
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/day/day_events.h"
#include "core/run/records.h"
#include "core/sun/sun_day.h"

namespace ostrel::reference {

// A site as the vectors give it: degrees north and east, zone in hours.
struct ReferenceSite {
  double latDeg = 0;
  double longDeg = 0;
  float zoneHours = 0;
};

// The site as the calculation takes it, converted as the window converts
// (the program's own degree, kRad).
inline Site SiteOf(const ReferenceSite &s) {
  return Site{s.latDeg * kRad, s.longDeg / 15, s.zoneHours};
}

// The Sun at one moment, by the reference.
struct PlaceRow {
  ReferenceSite site;
  CivilDate date;
  int seconds = 0;           // after local midnight of the date
  double raHours = 0;        // apparent topocentric, of date
  double decDeg = 0;
  double altDeg = 0;         // true, of the centre
  double azDeg = 0;          // from north through east
  double gastHours = 0;      // Greenwich apparent sidereal time
  double longitudeDeg = 0;   // apparent geocentric ecliptic longitude of date
  double distanceAU = 0;     // true geometric distance
  double localHours() const { return seconds / 3600.0; }
};

// The day's events in the order of the vectors' columns.
enum DayEvent {
  kSunrise, kSunset, kCulmination, kCivilDawn, kCivilDusk, kNauticalDawn, kNauticalDusk,
  kAstronomicalDawn, kAstronomicalDusk, kDayEventCount
};
inline constexpr std::array<const char *, kDayEventCount> kDayEventNames{
    "sunrise",       "sunset",           "culmination",
    "civil dawn",    "civil dusk",       "nautical dawn",
    "nautical dusk", "astronomical dawn", "astronomical dusk"};

// Seconds after local midnight of each event, none when it does not happen
// on the date.
using DayMoments = std::array<std::optional<double>, kDayEventCount>;

// One local date at one site, by the reference.
struct DayRow {
  ReferenceSite site;
  CivilDate date;
  DayMoments events;
  double equationOfTimeMinutes = 0; // hour angle at local mean noon
};

// The fields of one line of comma-separated values, empty fields kept.
inline std::vector<std::string> Fields(const std::string &line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

// The data lines of a vectors file: no comments, no header.  Empty when the
// file cannot be read.
inline std::vector<std::vector<std::string>> DataLines(const std::string &path,
                                                       std::size_t fieldCount) {
  std::vector<std::vector<std::string>> lines;
  std::ifstream file(path);
  std::string line;
  bool header = true;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      continue;
    }
    std::vector<std::string> fields = Fields(line);
    if (fields.size() == fieldCount) lines.push_back(std::move(fields));
  }
  return lines;
}

inline double Number(const std::string &field) { return std::strtod(field.c_str(), nullptr); }

inline ReferenceSite SiteFields(const std::vector<std::string> &f) {
  return {Number(f[0]), Number(f[1]), float(Number(f[2]))};
}

inline CivilDate DateFields(const std::vector<std::string> &f) {
  return {int(Number(f[3])), int(Number(f[4])), int(Number(f[5]))};
}

inline std::vector<PlaceRow> ReadPlaces(const std::string &path) {
  std::vector<PlaceRow> rows;
  for (const auto &f : DataLines(path, 14)) {
    PlaceRow r;
    r.site = SiteFields(f);
    r.date = DateFields(f);
    r.seconds = int(Number(f[6]));
    r.raHours = Number(f[7]);
    r.decDeg = Number(f[8]);
    r.altDeg = Number(f[9]);
    r.azDeg = Number(f[10]);
    r.gastHours = Number(f[11]);
    r.longitudeDeg = Number(f[12]);
    r.distanceAU = Number(f[13]);
    rows.push_back(r);
  }
  return rows;
}

inline std::vector<DayRow> ReadDays(const std::string &path) {
  std::vector<DayRow> rows;
  for (const auto &f : DataLines(path, 6 + kDayEventCount + 1)) {
    DayRow r;
    r.site = SiteFields(f);
    r.date = DateFields(f);
    for (int e = 0; e < kDayEventCount; ++e) {
      if (!f[6 + e].empty()) r.events[e] = Number(f[6 + e]);
    }
    r.equationOfTimeMinutes = Number(f[6 + kDayEventCount]);
    rows.push_back(r);
  }
  return rows;
}

// A theory's events of a date in the vectors' order, from the day's events.
// One row of Horizons' table of the Earth's heliocentric vectors
// (Earth-heliocentric.txt): the TDB epoch, full Julian date, and the
// Earth-Sun distance, AU.
struct EarthDistance {
  double epochTdb = 0;
  double distanceAU = 0;
};

// The rows between $$SOE and $$EOE; none when the file cannot be read.
inline std::vector<EarthDistance> ReadHorizonsEarth(const std::string &path) {
  std::vector<EarthDistance> rows;
  std::ifstream table(path);
  std::string line;
  bool inTable = false;
  double epoch = 0;
  while (std::getline(table, line)) {
    if (line.rfind("$$SOE", 0) == 0) inTable = true;
    if (line.rfind("$$EOE", 0) == 0) break;
    if (!inTable) continue;
    double x = 0, y = 0, z = 0;
    if (std::sscanf(line.c_str(), "%lf = A.D.", &epoch) == 1) continue;
    if (std::sscanf(line.c_str(), " X =%lf Y =%lf Z =%lf", &x, &y, &z) != 3) continue;
    rows.push_back({epoch, std::sqrt(x * x + y * y + z * z)});
  }
  return rows;
}

inline DayMoments MomentsOf(const DayEvents &e) {
  const DayMoment moments[kDayEventCount] = {
      e.sunrise,   e.sunset,       e.culmination,  e.civilDawn,        e.civilDusk,
      e.nauticalDawn, e.nauticalDusk, e.astronomicalDawn, e.astronomicalDusk};
  DayMoments out;
  for (int k = 0; k < kDayEventCount; ++k) {
    if (moments[k].happens()) out[k] = moments[k].seconds;
  }
  return out;
}

// Differences brought into -half..half of a full turn.
inline double AngleDifference(double a, double b, double fullTurn) {
  return std::remainder(a - b, fullTurn);
}

} // namespace ostrel::reference
