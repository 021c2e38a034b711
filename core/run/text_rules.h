// SPDX-License-Identifier: GPL-3.0-or-later
// The text rules of the main window's results: plain functions from the
// numbers a result needs to its texts.
//
// Some rules carry: when a rounded part would show 60 (seconds of time or
// arc, minutes of the clock), they add a small step to the number and split
// it again.  Such a rule returns the number it changed beside its texts, and
// the run hands that number on to the steps after it (the raised sidereal
// time forms the hour angle, for instance), so the way the data takes through
// a run reads in Ephemeris::MAINCALC and its steps, never inside a rule.
//
// Every rule takes the number format of the result labels: the decimal
// separator, and the writer of the distance in astronomical units.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ostrel {

// The regional number format of the result labels.  By default "." and the
// distance in plain fixed notation with exactly eight decimals.
struct NumberFormat {
  std::string decimalSeparator = ".";
  std::function<std::string(double)> distanceText;

  std::string Text(double value) const;
  std::string Text(float value) const;
  std::string Distance(double radiusAU) const;
};

namespace texts {

// Hours (or degrees) and minutes of a clock-like result.
struct HourMinute {
  std::string hour, minute;
};

// The day of the year of a Gregorian date of 1700 to 2100.  k is 62 in leap
// years and 63 in common ones; the century years of that range other than
// 2000 are common.
std::string DayOfYear(double year, double month, double day, const NumberFormat &format);

// The modified Julian date of a Julian date carried minus 2400000, to five
// decimals, halves up.
std::string JulianDate(double julDay, const NumberFormat &format);

// Hours, minutes and seconds of the local sidereal time.  When the seconds
// (or the single-precision minutes) would show 60, 0.00014 h (0.504 s) is
// added and the split made again; `lst` is the sidereal time so raised.  The
// hour is not reduced again, so 23:59:59.7 shows 24 0 0.
struct Sidereal {
  std::string hour, minute, second;
  double lst;
};
Sidereal SiderealTime(double lst, const NumberFormat &format);

// The ecliptic longitude truncated (not rounded) to four decimals, the
// distance in astronomical units and in whole kilometres.
struct Orbit {
  std::string longitude, distanceAU, distanceKm;
};
Orbit OrbitTexts(double sunLongDeg, double radiusAU, const NumberFormat &format);

// Whole minutes and seconds of arc of the diameter, seconds rounded half to
// even; 60 seconds add 0.0084' (about half a second of arc) and split again.
struct Diameter {
  std::string minutes, seconds;
  double diamArcmin;
};
Diameter DiameterTexts(double diamArcmin, const NumberFormat &format);

// Hours, minutes and seconds of time, seconds rounded half up; 60 seconds add
// 0.00014 h (about half a second) and split again.
struct RightAscension {
  std::string hour, minute, second;
  double raHours;
};
RightAscension RightAscensionTexts(double raHours, const NumberFormat &format);

// Sign, degrees, minutes and seconds of arc.  The degrees are truncated
// toward zero and the sign has its own label, so -0.5 degrees shows "-" 0.
// 60 seconds add 0.00014 degrees, toward the north whatever the sign.
struct Declination {
  std::string sign, degrees, minutes, seconds;
  double declDeg;
};
Declination DeclinationTexts(double declDeg, const NumberFormat &format);

// The true altitude (truncated toward zero after adding 0.5 thousandths, so
// -63.8072 shows -63.806), the zenith angle and the azimuth to thousandths.
// At a pole every direction is south (or north): the azimuth is dashes.
struct Horizontal {
  std::string altitude, zenith, azimuth;
};
Horizontal HorizontalTexts(double altDeg, double zenDeg, double azimuthDeg, double latitudeDeg,
                           const NumberFormat &format);

// The apparent altitude and zenith angle, to thousandths as the true ones;
// dashes for a Sun whose apparent altitude is below the horizon.
struct Apparent {
  std::string altitude, zenith;
};
Apparent ApparentTexts(double altAppDeg, double zenAppDeg, const NumberFormat &format);

// The airmass to four decimals, or dashes when there is none to show.
std::string AirmassText(std::optional<double> airmass, const NumberFormat &format);

// The culmination, local civil time not brought into 0..24, split by floor:
// -0.5 h shows -1 and 30.  Minutes that would show 60 add 0.0084 h first;
// `culmTime` is the time so raised.  The equation of time (hours) shows
// minutes with one decimal, halves upward.
struct Culmination {
  std::string hour, minute, equationOfTime;
  double culmTime;
};
Culmination CulminationTexts(double culmTime, double equationOfTime, const NumberFormat &format);

// The day length, 0 to 24 hours, with no carry into the hour: 11.995 h shows
// 11 and 60.
HourMinute DayLengthTexts(double lengthHours, const NumberFormat &format);

// A clock time: hours truncated toward zero and the absolute minutes,
// rounded half up.  Minutes that would show 60 add 0.0084 h (0.504 min)
// first.
HourMinute ClockTexts(double hours, const NumberFormat &format);

// An azimuth of sunrise or sunset in tenths of a degree, halves to the even
// tenth.
std::string RiseSetAzimuthText(double azimuthDeg, const NumberFormat &format);

// The greatest altitude of the day to hundredths, truncated toward zero after
// adding 0.5 hundredths: -5.237 gives -5.23.
std::string GreatestAltitudeText(float altMaxDeg, const NumberFormat &format);

// The day length of a day on which the Sun does not cross the horizon
// altitude, by the cosine of the semi-diurnal arc: beyond +1 (a polar night)
// dashes, below -1 (a polar day) 24 00, and none for a cosine within -1..1.
// The times and azimuths of rise and set show kNoRiseSet on such a day.
inline constexpr const char *kNoRiseSet = "--";
std::optional<HourMinute> PolarDayLength(double cosine);

} // namespace texts
} // namespace ostrel
