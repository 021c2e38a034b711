// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar and sidereal time: day of the year, Julian dates, the local
// sidereal time and their texts.
//
// Julian dates are carried minus 2400000, so a value ending in .5 is 0 h UT
// and the modified Julian date is JulDay - 0.5.  The Julian-date rule is the
// usual Gregorian one with the constant 1720994.5 - 2400000 = -679005.5; the
// sidereal time is Newcomb's polynomial referred to JD 2415020.0
// (1900 January 0.5), with 1.002738 sidereal hours to the solar hour.
#include <cmath>

#include "core/sun/classic_theory.h"
#include "core/run/ephemeris.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {
// Every carry loop ends after one or two passes for inputs in range; the
// bound only keeps a value outside the range from looping for ever.
constexpr int kCarryPasses = 16;
} // namespace

// Day of the year.  k is 62 in leap years and 63 in common ones; the century
// years of the accepted range 1700 to 2100 other than 2000 are common.
void Ephemeris::DayOfYear() {
  const CalcState &s = state;
  int k = std::fmod(s.DateYear, 4.0) == 0 ? 62 : 63;
  if (s.DateYear == 1700 || s.DateYear == 1800 || s.DateYear == 1900 ||
      s.DateYear == 2100) {
    k = 63;
  }
  const double daysBefore = s.DateMonth > 2
                                ? std::trunc((s.DateMonth + 1) * 30.6) - k
                                : std::trunc((s.DateMonth - 1) * k / 2);
  report.DOY = Text(s.DateDay + daysBefore);
}

double Ephemeris::JulianDateOf(double year, double month, double day) {
  const classic::JulianDateParts parts = classic::JulianDate(year, month, day);
  state.YearAdj = parts.yearAdj;
  state.MonthAdj = parts.monthAdj;
  return parts.julDay;
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
  s.JulDay = JulianDateOf(s.DateYear, s.DateMonth, s.DayUt);
  report.JulianDate = Text(std::floor(s.JulDay * 100000 + 0.5) / 100000 - 0.5);
  if (s.DateDay == std::floor(s.DateDay)) {
    s.JulDay0 = JulianDateOf(s.DateYear, s.DateMonth, s.DateDay);
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

// Hours, minutes and seconds of the sidereal time.  When the seconds (or
// the single-precision minutes) would show 60, 0.00014 h (0.504 s) is added
// to Lst and the split is made again; the increased Lst stays for the hour
// angle.  The hour is not reduced again, so 23:59:59.7 shows 24 0 0.
void Ephemeris::SiderealTexts() {
  CalcState &s = state;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    s.SidMinutes = RoundToSingle((s.Lst - std::floor(s.Lst)) * 60);
    // A sidereal time a few milliseconds below a whole hour rounds to 60.0 in
    // single precision: carry it like 60 seconds.
    if (s.SidMinutes != 60) {
      s.SidSeconds = RoundHalfEven((s.SidMinutes - std::floor(double{s.SidMinutes})) * 60);
      if (s.SidSeconds != 60) break;
    }
    s.Lst += 0.00014;
  }
  report.SidHour = Text(std::floor(s.Lst));
  report.SidMin = Text(std::floor(s.SidMinutes));
  report.SidSec = Text(static_cast<double>(s.SidSeconds));
}

} // namespace ostrel
