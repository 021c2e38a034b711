// Calendar and sidereal time: day of the year, Julian dates, the local
// sidereal time and their texts.
//
// Julian dates are carried minus 2400000, so a value ending in .5 is 0 h UT
// and the modified Julian date is JulDay - 0.5.  The Julian-date rule is the
// usual Gregorian one with the constant 1720994.5 - 2400000 = -679005.5; the
// sidereal time is Newcomb's polynomial referred to JD 2415020.0
// (1900 January 0.5), with 1.002738 sidereal hours to the solar hour.
#include <cmath>

#include "core/ephemeris.h"
#include "core/numtext.h"

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
  CalcState &s = state;
  if (month > 2) {
    s.YearAdj = year;
    s.MonthAdj = month;
  } else {
    s.YearAdj = year - 1;
    s.MonthAdj = month + 12;
  }
  const double a = std::floor(s.YearAdj / 100);
  const double b = 2 - a + std::floor(a / 4);
  // The three whole numbers first, then the day with its fraction, then the
  // constant: the order fixes the rounding of the last digit.
  return b + std::floor(365.25 * s.YearAdj) + std::floor(30.6001 * (s.MonthAdj + 1)) +
         day - 679005.5;
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
  s.T1900 = (s.JulDay0 - 15020) / 36525;
  s.Gmst0 = 6.6460656 + 2400.051262 * s.T1900 + 0.00002581 * (s.T1900 * s.T1900);
  // Gmst0 carries about 24 hours for every year since 1900; the two
  // subtractions take most of them off before the reduction loops.
  double lst = s.Gmst0 - 24 * (s.DateYear - 1900) - 24 + 1.002738 * utHours;
  while (lst >= 24) lst -= 24;
  while (lst < 0) lst += 24;
  lst += s.LongHours;
  if (lst < 0) lst += 24;
  if (lst > 24) lst -= 24; // exactly 24 stays
  return lst;
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
