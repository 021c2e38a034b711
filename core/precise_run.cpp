// SPDX-License-Identifier: GPL-3.0-or-later
// The run in the precise theory.  The Sun's place at the moment and the
// day's culmination, sunrise and sunset come from the precise theory; the
// texts are formed from them by the rules of the classic run (the same
// truncations, carries, azimuth convention, refraction formula and airmass),
// so only the numbers differ.
//
// What the run takes from the precise theory:
// - the local apparent sidereal time, the apparent ecliptic longitude of
//   date, the true geocentric distance (and the diameter from it);
// - the topocentric apparent right ascension and declination of date, the
//   true altitude and the azimuth of the centre;
// - the equation of time: the Sun's hour angle at local mean noon;
// - the culmination: the upper meridian passage, found from there;
// - sunrise and sunset: the upper limb at the apparent horizon, with their
//   azimuths and the day length, from the day's events.
#include <cmath>

#include "core/classic_theory.h"
#include "core/day_events.h"
#include "core/ephemeris.h"
#include "core/numtext.h"
#include "core/precise_sun.h"

namespace ostrel {
namespace {

// The Sun at a local hour of the date: from the day's interpolation within
// its span, exactly outside it (local mean noon of a site far from its zone's
// meridian can fall on the day before or after).
SunPlace PlaceOnDay(const PreciseSunDay &day, double julianDay0, double localHours) {
  if (localHours >= -0.5 && localHours <= 24.5) return day.PlaceAt(localHours);
  return PrecisePlaceAt(day.site(), julianDay0 + (localHours - double(day.site().Timezon)) / 24);
}

} // namespace

void Ephemeris::PreciseRun() {
  CalcState &s = state;
  DayOfYear();
  JulianDates();

  // The local date and the hour of the moment on it; a typed fraction of a
  // day moves the hour.
  const double wholeDay = std::floor(s.DateDay);
  const CivilDate date{int(s.DateYear), int(s.DateMonth), int(wholeDay)};
  const Site site{s.LatRad, s.LongHours, s.Timezon};
  const PreciseSunDay day(site, date);
  const double julianDay0 = classic::JulianDate(date.year, date.month, date.day).julDay + 2400000;
  const double localHours = (s.DateDay - wholeDay) * 24 + s.UtHours + double(s.Timezon);
  const SunPlace now = PlaceOnDay(day, julianDay0, localHours);

  s.Lst = now.localSiderealHours;
  SiderealTexts();

  s.SunLong = now.eclipticLongitudeDeg;
  s.RadiusAU = now.distanceAU;
  s.DiamArcmin = 0.533128 / s.RadiusAU * 60;
  OrbitTexts();

  s.RAHours = now.rightAscensionHours;
  s.Decl = now.declinationDeg;
  RightAscensionTexts();
  DeclinationTexts();

  s.AltDeg = now.altitudeDeg;
  s.SinAlt = std::sin(s.AltDeg * s.Rad);
  s.Azim = now.azimuthDeg + s.AzimuthMode;
  if (s.Azim > 360) s.Azim -= 360;
  s.ZenDeg = 90 - s.AltDeg;
  HorizontalTexts();
  Refraction();
  Airmass();

  // The equation of time, and the culmination from it: the hour angle is
  // taken off the time until it is nought (it moves about an hour an hour;
  // three steps bring it within a millisecond).
  const double meanNoon = 12 - s.LongHours + double(s.Timezon);
  s.EquationOfTime = PlaceOnDay(day, julianDay0, meanNoon).hourAngleHours;
  s.CulmTime = meanNoon - s.EquationOfTime;
  SunPlace culmination{};
  for (int step = 0; step < 3; ++step) {
    culmination = PlaceOnDay(day, julianDay0, s.CulmTime);
    s.CulmTime -= culmination.hourAngleHours;
  }
  CulminationTexts(s.EquationOfTime);
  s.CulmDecl = RoundToSingle(culmination.declinationDeg);

  const DayEvents events = FindDayEvents(day, {}, DayEventSet::Twilights);
  if (events.polar != Polar::None) {
    s.AtnX = events.polar == Polar::Day ? -2 : 2; // what Polar reads
    Polar();
  } else {
    const auto clock = [&](const DayMoment &moment, std::string &hour, std::string &minute,
                           std::string &azimuth) {
      if (!moment.happens()) {
        hour = minute = azimuth = "--";
        return;
      }
      const double hours = moment.seconds / 3600.0;
      ClockTexts(hours, hour, minute);
      double direction = day.PlaceAt(hours).azimuthDeg + s.AzimuthMode;
      if (direction > 360) direction -= 360;
      azimuth = Text(RoundHalfEven(10 * direction) / 10.0);
    };
    clock(events.sunrise, report.RiseHour, report.RiseMin, report.RiseAzim);
    clock(events.sunset, report.SetHour, report.SetMin, report.SetAzim);
    if (events.dayLengthSeconds) {
      DayLengthTexts(*events.dayLengthSeconds / 3600.0);
    } else {
      report.DurHour = report.DurMin = "--";
    }
  }
  GreatestAltitude();
}

} // namespace ostrel
