// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the site-and-moment group of CalcState the way the two callers of
// the window do, so that each test reads as a site, a date and a time.
#pragma once

#include <cmath>

#include "core/run/ephemeris.h"
#include "core/text/numtext.h"

namespace ostrel::test {

struct Site {
  double longitudeDeg = 0; // east positive, degrees with fraction
  double latitudeDeg = 0;  // north positive
  float timezone = 0;      // hours
};

struct Moment {
  double year, month, day, hour = 0, minute = 0, second = 0;
};

// Degrees and minutes as typed, with the hemisphere lists: the order of the
// sums is the window's, minutes in single precision.
inline double LongitudeHours(double degrees, float minutes, bool west) {
  const double hours = (minutes / 60.0 + degrees) / 15;
  return west ? -hours : hours;
}
inline double LatitudeRadians(double degrees, float minutes, bool south) {
  const double radians = (minutes / 60.0 + degrees) * kRad;
  return south ? -radians : radians;
}

inline void SetSite(CalcState &s, double longHours, double latRad, float timezone) {
  s.LongHours = longHours;
  s.LatRad = latRad;
  s.Timezon = timezone;
  s.DayBoundary = 0.5 - timezone / 24.0;
}

// The "Calculate" button: double precision, sums in the window's order.
inline void SetManualMoment(CalcState &s, const Moment &m) {
  s.DateYear = m.year;
  s.DateMonth = m.month;
  s.DateDay = m.day;
  s.UtHours = ((m.minute / 60 + m.hour) + m.second / 3600) - s.Timezon;
  s.DayUt = s.UtHours / 24 + m.day;
}

// A timer tick: the seconds since local midnight, UtHours and DayUt held in
// single precision.
inline void SetClockMoment(CalcState &s, const Moment &m) {
  s.DateYear = m.year;
  s.DateMonth = m.month;
  s.DateDay = m.day;
  const double seconds = m.hour * 3600 + m.minute * 60 + m.second;
  const float utHours = static_cast<float>(seconds / 3600 - s.Timezon);
  s.UtHours = utHours;
  s.DayUt = static_cast<float>(m.day + static_cast<float>(utHours / 24));
}

inline Ephemeris Compute(const Site &site, const Moment &moment,
                     std::int16_t azimuthMode = FromNorth) {
  Ephemeris e;
  SetSite(e.state, site.longitudeDeg / 15, site.latitudeDeg * kRad, site.timezone);
  e.state.AzimuthMode = azimuthMode;
  SetManualMoment(e.state, moment);
  e.MAINCALC();
  return e;
}

} // namespace ostrel::test
