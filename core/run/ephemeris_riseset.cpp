// SPDX-License-Identifier: GPL-3.0-or-later
// Steps of the run: culmination, equation of time, sunrise, sunset and day
// length, and the polar day and night.
//
// No convergence loop: the Sun is evaluated at local mean noon, the hour
// angle found there serves as the equation of time for the whole day, and
// sunset and sunrise are placed one semi-diurnal arc after and before the
// culmination, re-evaluating the declination at the estimated moments in a
// fixed sequence of five evaluations.
#include <cmath>

#include "core/run/ephemeris.h"
#include "core/sun/angles.h"
#include "core/sun/classic_theory.h"
#include "core/text/numtext.h"

namespace ostrel {
namespace {

// The sine of the horizon altitude h0 of sunrise and sunset: about -0.831
// degrees, refraction at the horizon and the Sun's radius.
constexpr double kSinHorizonAltitude = -0.0145;

} // namespace

// The Sun at the UT hour AtHour of the local civil date, with the formulas
// of the run but without refraction.  JulDay0 follows the local civil time
// AtHour + Timezon of the evaluated hour, so for an hour that falls on the
// local day before or after it is 0 h UT of that day.  The obliquity of the
// run is reused.  Leaves the azimuth counted from north through east.
void Ephemeris::SunAtTime() {
  CalcState &s = state;
  const float t = s.AtHour;
  s.DayUt = s.DateDay + static_cast<float>(t / 24.0f);
  const double julDay = classic::JulianDate(s.DateYear, s.DateMonth, s.DayUt).julDay;
  const double whole = std::floor(julDay);
  s.JulDay0 = julDay - whole < s.DayBoundary ? whole - 0.5 : whole + 0.5;
  s.AtLst = LocalSiderealTime(t);

  const double lambda =
      classic::EclipticLongitude(classic::Orbit(julDay, s.Rad, s.Pi).trueAnomalyDeg);
  const double sinLambda = std::sin(lambda * s.Rad);
  const double sinDecl = sinLambda * std::sin(s.Obliquity * s.Rad);
  s.AtDeclRad = std::atan(sinDecl / std::sqrt(1 - std::pow(sinDecl, 2)));
  s.AtnY = sinLambda * std::cos(s.Obliquity * s.Rad);
  s.AtnX = std::cos(lambda * s.Rad);
  UnAtn();
  s.AtRAHours = (ArcTanOfQuotient() * 180 / s.Pi + s.QuadOffset) / 15;

  AltitudeAzimuth((s.AtLst - s.AtRAHours) / 12 * s.Pi, s.AtDeclRad);
}

// The cosine c of the semi-diurnal arc at the horizon altitude for the
// latest evaluation, kept in AtnX for Polar.  Beyond +-1 the Sun does not
// cross that altitude this day: Polar forms the texts and the day ends
// here.  Otherwise gives S = 12 + H0 / 15, the local apparent solar time of
// sunset.  A c of exactly 0 is an arc of 90 degrees (ArcTanOfQuotient).
bool Ephemeris::HorizonTest(double &sunsetSolarTime) {
  CalcState &s = state;
  const double phi = s.LatRad;
  const double delta = s.AtDeclRad;
  const double c = (kSinHorizonAltitude - std::sin(phi) * std::sin(delta)) / std::cos(phi) / std::cos(delta);
  s.AtnX = c;
  if (std::fabs(c) > 1) {
    Polar();
    return false;
  }
  s.AtnY = std::sqrt(1 - std::pow(c, 2));
  const double arc = ArcTanOfQuotient() / s.Rad;
  UnAtn();
  sunsetSolarTime = 12 + (arc + s.QuadOffset) / 15;
  return true;
}

void Ephemeris::CulminationTexts(double equationOfTime) {
  const texts::Culmination culmination =
      texts::CulminationTexts(state.CulmTime, equationOfTime, format_);
  report.CulmHour = culmination.hour;
  report.CulmMin = culmination.minute;
  report.EquMin = culmination.equationOfTime;
  state.CulmTime = culmination.culmTime;
}

void Ephemeris::DayLengthTexts(double length) {
  const texts::HourMinute dayLength = texts::DayLengthTexts(length, format_);
  report.DurHour = dayLength.hour;
  report.DurMin = dayLength.minute;
}

void Ephemeris::ClockTexts(double hours, std::string &hourText, std::string &minuteText) {
  const texts::HourMinute clock = texts::ClockTexts(hours, format_);
  hourText = clock.hour;
  minuteText = clock.minute;
}

void Ephemeris::RISESET() {
  CalcState &s = state;
  // Local mean noon in UT.
  s.AtHour = RoundToSingle(12 - s.LongHours);
  SunAtTime();
  s.CulmDecl = RoundToSingle(s.AtDeclRad / s.Rad);

  // The equation of time, hours: the hour angle at local mean noon, in
  // -12..12.  The two 0.3-hour tests fold a wrapped hour angle back; an
  // equation of time just below -0.3 h (February, with JulDay0 moved to the
  // day before) comes out of them near +23.7 h and is folded back too.
  double e = s.AtLst - s.AtRAHours;
  if (e > 0.3) e -= 24;
  if (e < -0.3) e += 24;
  if (e > 12) e -= 24;
  s.EquationOfTime = e;

  s.CulmTime = 12 - e - s.LongHours + s.Timezon;
  CulminationTexts(e);

  double sunset = 0; // S, local apparent solar time of sunset
  if (!HorizonTest(sunset)) return;
  // First estimates, as UT hours of the local date.
  auto intoDay = [](double hours) {
    if (hours < 0) hours += 24;
    if (hours > 24) hours -= 24;
    return hours;
  };
  const double setFirst = intoDay(sunset - e - s.LongHours);
  const double riseFirst = intoDay((24 - sunset) - e - s.LongHours);

  s.AtHour = RoundToSingle(setFirst);
  SunAtTime();
  if (!HorizonTest(sunset)) return;
  const double setSecond = sunset - e - s.LongHours;

  s.AtHour = RoundToSingle(riseFirst);
  SunAtTime();
  if (!HorizonTest(sunset)) return;
  const double riseSecond = (24 - sunset) - e - s.LongHours;

  s.AtHour = RoundToSingle(setSecond);
  SunAtTime();
  if (!HorizonTest(sunset)) return;
  double set = sunset - e - s.LongHours + s.Timezon;
  const double setAzimuth = AzimuthInConvention(s.Azim, s.AzimuthMode);

  s.AtHour = RoundToSingle(riseSecond);
  SunAtTime();
  if (!HorizonTest(sunset)) return;
  double rise = (24 - sunset) - e - s.LongHours + s.Timezon;
  const double riseAzimuth = AzimuthInConvention(s.Azim, s.AzimuthMode);

  DayLengthTexts(set - rise); // before any reduction of the two times

  if (rise < 0) rise += 24;
  if (set > 24) set -= 24;
  ClockTexts(rise, report.RiseHour, report.RiseMin);
  ClockTexts(set, report.SetHour, report.SetMin);
  report.RiseAzim = texts::RiseSetAzimuthText(riseAzimuth, format_);
  report.SetAzim = texts::RiseSetAzimuthText(setAzimuth, format_);
}

// A day on which the evaluated Sun stays below (c > 1, polar night) or above
// (c < -1, polar day) the horizon altitude: no rise, set or azimuths.
void Ephemeris::Polar() {
  report.RiseHour = report.RiseMin = texts::kNoRiseSet;
  report.SetHour = report.SetMin = texts::kNoRiseSet;
  if (const auto length = texts::PolarDayLength(state.AtnX)) {
    report.DurHour = length->hour;
    report.DurMin = length->minute;
  }
  report.RiseAzim = report.SetAzim = texts::kNoRiseSet;
}

} // namespace ostrel
