// SPDX-License-Identifier: GPL-3.0-or-later
// The observer beside the site: the eye's height, the ground or sea that
// forms its horizon, and the air of the day.  From them the dip of the
// horizon and the refraction that lifts the Sun to it.
//
// Sources:
//  - the dip with the terrestrial refraction: K. Sweer, "The dip of the sea
//    horizon" (1938), in the form k = 0.175 (1 - (6.5e-3 / 283.15)
//    (elevation - 2/3 eye))^3.256, dip = sqrt(2 (1 - k) eye / R) / (1 - k)
//    radians, R = 6371 km;
//  - the refraction at an apparent altitude: G. G. Bennett (1982), as J.
//    Meeus gives it in "Astronomical Algorithms", chapter 16: R = 1 /
//    tan(h + 7.31 / (h + 4.4)) minutes of arc, h in degrees, scaled by
//    (P / 1010) (283 / (273 + T)) for the pressure P (hPa) and the
//    temperature T (degrees C);
//  - the default pressure: the standard atmosphere at the height h of the
//    ground below the eye, 1010 (1 - 2.25577e-5 h)^5.25588 hPa.
#pragma once

#include <optional>
#include <string>

namespace ostrel {

// The limits a user may give, inclusive.
inline constexpr double kLowestElevationM = -500;
inline constexpr double kHighestElevationM = 9000;
inline constexpr double kHighestEyeM = 10000;
// The eye is at most this much higher than the elevation (the ground below
// it is then 500 m below sea level, about the lowest on land).
inline constexpr double kEyeAboveElevationM = 500;
inline constexpr double kLowestPressureHpa = 100;
inline constexpr double kHighestPressureHpa = 1100;
inline constexpr double kLowestTemperatureC = -60;
inline constexpr double kHighestTemperatureC = 50;
inline constexpr double kDefaultTemperatureC = 10;
// The pressure at which the refraction is taken unscaled (at 10 degrees C).
inline constexpr double kStandardPressureHpa = 1010;

// Where the observer stands and the air of the day.  A default Observer is
// an eye at sea level on the sea in the standard air: it gives the day's
// events for the observer's horizon, not today's results (sea_level).
struct Observer {
  // The eye above sea level, metres, -500 to 9000.  The precise theory's
  // site on the WGS84 ellipsoid takes it (Site::elevationM).
  double elevationM = 0;
  // The eye above the ground or the sea that forms its horizon, metres, 0
  // to 10000 and at most elevationM + 500: on a ship's deck 30 m up both
  // are 30; on a 1000 m hill above a plain at 200 m, 1000 and 800.
  double eyeM = 0;
  // hPa, 100 to 1100; none takes the standard atmosphere's (PressureInUse).
  std::optional<double> pressureHpa;
  // Degrees C, -60 to 50.
  double temperatureC = kDefaultTemperatureC;
};

// What is wrong with an observer's values, as one line that names the
// value and what is accepted ("the eye's height 700 m is more than the
// elevation 100 m plus 500 m"); none when every value is within its range.
// A NaN or an infinity is wrong.  The command line and the dialog show it.
std::optional<std::string> ObserverProblem(const Observer &observer);

// The standard atmosphere's pressure, hPa, at a height above sea level,
// metres: 1010 (1 - 2.25577e-5 h)^5.25588.
double StandardPressureHpa(double heightM);

// The pressure in use: the one given, else the standard atmosphere's at
// the ground below the eye (elevation - eye).
double PressureInUse(const Observer &observer);

// Sweer's coefficient of the terrestrial refraction (no unit) and the dip
// of the horizon, degrees (0 for an eye on the ground).  Values outside
// the ranges above are limited to them, so that any input gives a number.
double TerrestrialRefractionCoefficient(const Observer &observer);
double DipDeg(const Observer &observer);

// Bennett's refraction, degrees, at an apparent altitude, degrees, for
// 1010 hPa and 10 degrees C.  The formula holds down to -5 degrees; below
// about -4 its argument turns over, so the altitude is taken as -4 from
// there to -5, and the refraction is 0 below -5 (the Sun is then far below
// any horizon of the ranges above, whose dip is at most 3.4 degrees).
double BennettRefractionDeg(double apparentAltitudeDeg);

// The factor of the observer's air on Bennett's refraction:
// (P / 1010) (283 / (273 + T)) with the pressure in use.
double RefractionScale(const Observer &observer);

// Bennett's refraction scaled for the observer's air, degrees.
double ScaledRefractionDeg(double apparentAltitudeDeg, const Observer &observer);

// The apparent altitude, degrees, of a body whose true altitude is given,
// degrees: h with h - ScaledRefractionDeg(h) = true altitude.
double ObserverApparentAltitudeDeg(double trueAltitudeDeg, const Observer &observer);

} // namespace ostrel
