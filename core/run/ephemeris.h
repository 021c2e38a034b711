// SPDX-License-Identifier: GPL-3.0-or-later
// The solar ephemeris: from a site and a local civil moment to every result
// text of the main window.
//
// A caller fills the site-and-moment group of `state` (and Pi, Rad and
// AzimuthMode when it wants other values than the defaults), calls MAINCALC()
// and reads `report`.  One Ephemeris serves any number of runs; nothing a run
// computes is read by the next.  The computation validates nothing: the
// callers keep the inputs in the accepted ranges (years 1700 to 2100,
// latitude within +-90 degrees, longitude and time zone within +-12 hours).
//
// The theory is a fixed Keplerian orbit referred to the epoch 1980 January
// 0.0 (JD 2444238.5), the obliquity and the Greenwich sidereal time referred
// to 1900, a three-range refraction formula, the Kasten-Young airmass, and
// five evaluations of the Sun for culmination, sunrise and sunset.
// In the precise theory (`theory`) the numbers come from ERFA instead (see
// core/sun/precise_sun.h and ephemeris_precise.cpp) and the same rules form the texts.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/run/records.h"
#include "core/sun/theory.h"

namespace ostrel {

class Ephemeris {
public:
  CalcState state;
  SunReport report;
  // The theory of the numbers the texts are formed from.  The text rules
  // (rounding, carries, conventions) are the same in both.
  Theory theory = Theory::Classic;

  // The whole run, steps in their fixed order.
  void MAINCALC();

  // The regional number format of the result labels: the decimal separator
  // of every numeric text, and the writer of DistAU (the distance in
  // astronomical units with exactly eight decimals).  By default "." and
  // plain fixed notation.
  void SetNumberFormat(std::string decimalSeparator,
                       std::function<std::string(double)> distanceText = {});

  // The procedures of a run.  Each works on `state` and `report` only; they
  // are public so that each can be checked alone.
  void DayOfYear();           // text DOY
  void JulianDates();         // YearAdj, MonthAdj, JulDay, JulDay0; JulianDate
  void SiderealTime();        // T1900, Gmst0, Lst
  void SiderealTexts();       // SidHour, SidMin, SidSec (may raise Lst)
  void SolarOrbit();          // MeanLong .. DiamArcmin; LongSun .. DiamSec
  void OrbitTexts();          // LongSun .. DiamSec from SunLong, RadiusAU, DiamArcmin
  void DiameterTexts();       // DiamMin, DiamSec (may raise DiamArcmin)
  void EquatorialCoordinates(); // Obliquity, Decl, RAHours and their texts
  void RightAscensionTexts(); // RAHour, RAMin, RASec (may raise RAHours)
  void DeclinationTexts();    // Label33, DeclGrad, DeclMin, DeclSec
  void HorizontalCoordinates(); // SinAlt, AltDeg, Azim, ZenDeg and texts
  void HorizontalTexts();     // AltTrue, ZenTrue, AzimTrue from AltDeg, ZenDeg, Azim
  void Refraction();          // RefrArcsec, ZenAppDeg, AltAppDeg; AltApp, ZenApp
  void Airmass();             // AirmassValue; Airmass
  void RISESET();             // culmination, equation of time, rise and set
  // The text rules of RISESET: culmination (CulmTime) and equation of time
  // (hours), day length (hours), and a rise or set time (local hours).
  void CulminationTexts(double equationOfTime);
  void DayLengthTexts(double length);
  void ClockTexts(double hours, std::string &hourText, std::string &minuteText);
  void GreatestAltitude();    // AltMaxDeg; AltMax

  void Kepler();    // MeanAnomaly -> EccAnomaly
  void UnAtn();     // AtnY, AtnX -> QuadOffset
  void SunAtTime(); // the Sun at UT hour AtHour of the local date
  void Polar();     // rise, set and day-length texts of a polar day or night

  // The run in the precise theory: the site's apparent Sun from ERFA at the
  // moment, and the culmination, sunrise and sunset of the local date found
  // on it; the texts by the rules above.
  void PreciseRun();

private:
  std::string Text(double value) const;
  std::string Text(float value) const;
  std::string DistanceText(double radiusAU) const;
  // The Julian date minus 2400000 of a day (with fraction) of a month of a
  // year; writes YearAdj and MonthAdj.
  double JulianDateOf(double year, double month, double day);
  // Greenwich sidereal time of the date (Gmst0 from JulDay0), advanced by
  // `utHours` and moved to the site's longitude, in 0 to 24 hours.
  double LocalSiderealTime(double utHours);
  // MeanLong, MeanAnomaly and EccAnomaly for Julian date `julDay`; returns
  // the true anomaly in degrees.
  double TrueAnomalyAt(double julDay);
  // The principal arctangent of AtnY / AtnX in radians; a zero AtnX stands
  // for +-90 degrees by the sign of AtnY.
  double ArcTanOfQuotient() const;
  // SinAlt, AltDeg, AtnY, AtnX, QuadOffset and Azim (from north through
  // east, 0 to 360) for an hour angle and a declination, both in radians.
  void AltitudeAzimuth(double hourAngle, double declination);
  // The cosine of the semi-diurnal arc for the latest evaluation, in AtnX;
  // false (after Polar) when the Sun does not cross the horizon altitude.
  bool HorizonTest(double &sunsetSolarTime);

  // The precise theory's day at the last run's site and date, with what a
  // run takes from it that does not depend on the moment: a run at another
  // moment of the same date (a tick of the clock) only adds the Sun's place.
  struct PreciseDay;
  std::shared_ptr<const PreciseDay> preciseDay_;

  std::string decimalSeparator_ = ".";
  std::function<std::string(double)> distanceText_;
};

} // namespace ostrel
