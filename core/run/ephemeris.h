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
// core/sun/precise_sun.h and ephemeris_precise.cpp) and the same rules
// (core/run/text_rules.h) form the texts.
//
// The steps live in files named after them: ephemeris_calendar.cpp (day of
// the year, Julian dates, sidereal time), ephemeris_orbit.cpp (the orbit and
// the equatorial coordinates), ephemeris_horizon.cpp (altitude, azimuth,
// refraction, airmass), ephemeris_riseset.cpp (culmination, rise, set, the
// polar day and night) and ephemeris_precise.cpp (the precise run).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/run/records.h"
#include "core/run/text_rules.h"
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
  // are public so that each can be checked alone.  A step that forms texts
  // hands its numbers to a rule of core/run/text_rules.h and keeps the number
  // the rule gives back, which the later steps read.
  void DayOfYear();           // DOY
  void JulianDates();         // JulDay, JulDay0; JulianDate
  void SiderealTime();        // T1900, Gmst0, Lst
  void SiderealTexts();       // SidHour, SidMin, SidSec; raises Lst on a carry
  void SolarOrbit();          // SunLong, RadiusAU, DiamArcmin; LongSun .. DiamSec
  void OrbitTexts();          // LongSun .. DiamSec from SunLong, RadiusAU, DiamArcmin
  void DiameterTexts();       // DiamMin, DiamSec; raises DiamArcmin on a carry
  void EquatorialCoordinates(); // Obliquity, Decl, RAHours and their texts
  void RightAscensionTexts(); // RAHour, RAMin, RASec; raises RAHours on a carry
  void DeclinationTexts();    // Label33 .. DeclSec; raises Decl on a carry
  void HorizontalCoordinates(); // AltDeg, Azim, ZenDeg and their texts
  void HorizontalTexts();     // AltTrue, ZenTrue, AzimTrue from AltDeg, ZenDeg, Azim
  void Refraction();          // RefrArcsec, ZenAppDeg, AltAppDeg; AltApp, ZenApp
  void Airmass();             // Airmass from ZenDeg and ZenAppDeg
  void RISESET();             // culmination, equation of time, rise and set
  // RISESET's texts: the culmination from CulmTime (raised on a carry) with
  // the equation of time (hours), the day length (hours), and a rise or set
  // time (local hours).
  void CulminationTexts(double equationOfTime);
  void DayLengthTexts(double length);
  void ClockTexts(double hours, std::string &hourText, std::string &minuteText);
  void GreatestAltitude();    // AltMax from LatRad and CulmDecl

  void UnAtn();     // AtnY, AtnX -> QuadOffset
  void SunAtTime(); // the Sun at UT hour AtHour of the local date
  void Polar();     // rise, set and day-length texts of a polar day or night

  // The run in the precise theory: the site's apparent Sun from ERFA at the
  // moment, and the culmination, sunrise and sunset of the local date found
  // on it; the texts by the rules above.
  void PreciseRun();

private:
  // Greenwich sidereal time of the date (Gmst0 from JulDay0), advanced by
  // `utHours` and moved to the site's longitude, in 0 to 24 hours.
  double LocalSiderealTime(double utHours);
  // The principal arctangent of AtnY / AtnX in radians; a zero AtnX stands
  // for +-90 degrees by the sign of AtnY.
  double ArcTanOfQuotient() const;
  // AltDeg, AtnY, AtnX, QuadOffset and Azim (from north through
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

  NumberFormat format_;
};

} // namespace ostrel
