// SPDX-License-Identifier: GPL-3.0-or-later
// A step of the run: the whole run in the precise theory.  The Sun's place at the moment and the
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

#include "core/day/day_events.h"
#include "core/run/ephemeris.h"
#include "core/sun/angles.h"
#include "core/sun/classic_theory.h"
#include "core/sun/precise_sun.h"
#include "core/text/numtext.h"

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

struct Ephemeris::PreciseDay {
  PreciseDay(const Site &site, CivilDate date, double julianDay0)
      : site(site), date(date), julianDay0(julianDay0), day(site, date) {}
  bool Serves(const Site &s, CivilDate d) const {
    return s.LatRad == site.LatRad && s.LongHours == site.LongHours && s.Timezon == site.Timezon &&
           d.year == date.year && d.month == date.month && d.day == date.day;
  }
  Site site;
  CivilDate date;
  double julianDay0;
  PreciseSunDay day;
  double equationOfTime = 0, culmTime = 0, culminationDecl = 0;
  DayEvents events;
};

void Ephemeris::PreciseRun() {
  CalcState &s = state;
  DayOfYear();
  JulianDates();

  // The local date and the hour of the moment on it; a typed fraction of a
  // day moves the hour.
  const double wholeDay = std::floor(s.DateDay);
  const CivilDate date{int(s.DateYear), int(s.DateMonth), int(wholeDay)};
  const Site site{s.LatRad, s.LongHours, s.Timezon};
  if (!preciseDay_ || !preciseDay_->Serves(site, date)) {
    const double julianDay0 = classic::JulianDate(date.year, date.month, date.day).julDay + 2400000;
    auto day = std::make_shared<PreciseDay>(site, date, julianDay0);
    // The equation of time, and the culmination from it: the hour angle is
    // taken off the time until it is nought (it moves about an hour an
    // hour; three steps bring it within a millisecond).
    const double meanNoon = 12 - s.LongHours + double(s.Timezon);
    day->equationOfTime = PlaceOnDay(day->day, julianDay0, meanNoon).hourAngleHours;
    day->culmTime = meanNoon - day->equationOfTime;
    for (int step = 0; step < 3; ++step) {
      const SunPlace culmination = PlaceOnDay(day->day, julianDay0, day->culmTime);
      day->culmTime -= culmination.hourAngleHours;
      day->culminationDecl = culmination.declinationDeg;
    }
    day->events = FindDayEvents(day->day, {}, DayEventSet::Twilights);
    preciseDay_ = std::move(day);
  }
  const PreciseDay &today = *preciseDay_;
  const double localHours = (s.DateDay - wholeDay) * 24 + s.UtHours + double(s.Timezon);
  const SunPlace now = PlaceOnDay(today.day, today.julianDay0, localHours);

  s.Lst = now.localSiderealHours;
  SiderealTexts();

  s.SunLong = now.eclipticLongitudeDeg;
  s.RadiusAU = now.distanceAU;
  s.DiamArcmin = classic::DiameterArcmin(s.RadiusAU);
  OrbitTexts();

  s.RAHours = now.rightAscensionHours;
  s.Decl = now.declinationDeg;
  RightAscensionTexts();
  DeclinationTexts();

  s.AltDeg = now.altitudeDeg;
  s.Azim = AzimuthInConvention(now.azimuthDeg, s.AzimuthMode);
  s.ZenDeg = 90 - s.AltDeg;
  HorizontalTexts();
  Refraction();
  Airmass();

  s.EquationOfTime = today.equationOfTime;
  s.CulmTime = today.culmTime;
  CulminationTexts(s.EquationOfTime);
  s.CulmDecl = RoundToSingle(today.culminationDecl);

  const DayEvents &events = today.events;
  if (events.polar != Polar::None) {
    s.AtnX = events.polar == Polar::Day ? -2 : 2; // what Polar reads
    Polar();
  } else {
    const auto clock = [&](const DayMoment &moment, std::string &hour, std::string &minute,
                           std::string &azimuth) {
      if (!moment.happens()) {
        hour = minute = azimuth = texts::kNoRiseSet;
        return;
      }
      // The moment is found to the second; its nearest minute, halves up,
      // is given to the clock rule as a whole number of minutes, so that
      // the binary fraction of an hour cannot take a half down.
      const int wholeMinutes = (moment.seconds + 30) / 60;
      ClockTexts(wholeMinutes / 60.0, hour, minute);
      azimuth = texts::RiseSetAzimuthText(
          AzimuthInConvention(today.day.PlaceAt(moment.seconds / 3600.0).azimuthDeg, s.AzimuthMode),
          format_);
    };
    clock(events.sunrise, report.RiseHour, report.RiseMin, report.RiseAzim);
    clock(events.sunset, report.SetHour, report.SetMin, report.SetAzim);
    if (events.dayLengthSeconds) {
      const int wholeMinutes = (*events.dayLengthSeconds + 30) / 60;
      DayLengthTexts(wholeMinutes / 60.0);
    } else {
      report.DurHour = report.DurMin = texts::kNoRiseSet;
    }
  }
  GreatestAltitude();
}

} // namespace ostrel
