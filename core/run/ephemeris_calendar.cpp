// SPDX-License-Identifier: GPL-3.0-or-later
// Steps of the run: the day of the year, the Julian dates and the local
// sidereal time, with their texts.  The formulas and their sources are in
// core/sun/classic_theory.cpp.
#include <cmath>

#include "core/run/ephemeris.h"
#include "core/sun/classic_theory.h"

namespace ostrel {
void Ephemeris::DayOfYear() {
  report.DOY = texts::DayOfYear(state.DateYear, state.DateMonth, state.DateDay, format_);
}

// JulDay for the moment, and JulDay0 for 0 h UT of the local civil date.
//
// JulDay0 must be 0 h UT of the local date at every local time, at local
// midnight exactly too, whatever the time zone.  Selecting it from the
// fraction of JulDay against DayBoundary is right in exact arithmetic, but
// JulDay is a sum of large and small numbers and its fraction can land a
// rounding error on the wrong side of the boundary at midnight or just
// before 24 h.  For a whole day of the month the date itself gives JulDay0
// exactly; a typed fractional day keeps the selection rule.
void Ephemeris::JulianDates() {
  CalcState &s = state;
  s.JulDay = classic::JulianDate(s.DateYear, s.DateMonth, s.DayUt).julDay;
  report.JulianDate = texts::JulianDate(s.JulDay, format_);
  if (s.DateDay == std::floor(s.DateDay)) {
    s.JulDay0 = classic::JulianDate(s.DateYear, s.DateMonth, s.DateDay).julDay;
  } else {
    const double whole = std::floor(s.JulDay);
    s.JulDay0 = s.JulDay - whole < s.DayBoundary ? whole - 0.5 : whole + 0.5;
  }
}

double Ephemeris::LocalSiderealTime(double utHours) {
  CalcState &s = state;
  const classic::SiderealParts parts =
      classic::LocalSiderealTime(s.JulDay0, s.DateYear, s.LongHours, utHours);
  s.T1900 = parts.t1900;
  s.Gmst0 = parts.gmst0;
  return parts.lst;
}

void Ephemeris::SiderealTime() { state.Lst = LocalSiderealTime(state.UtHours); }

void Ephemeris::SiderealTexts() {
  const texts::Sidereal sidereal = texts::SiderealTime(state.Lst, format_);
  report.SidHour = sidereal.hour;
  report.SidMin = sidereal.minute;
  report.SidSec = sidereal.second;
  state.Lst = sidereal.lst;
}

} // namespace ostrel
