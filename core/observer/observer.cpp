// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/observer/observer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace ostrel {
namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kEarthRadiusM = 6371000;
// Sweer's lapse: 6.5 K a kilometre over the standard 283.15 K.
constexpr double kLapseOverTemperature = 6.5e-3 / 283.15;
// Bennett's formula holds down to -5 degrees; from -4 its argument turns
// over (h + 7.31 / (h + 4.4) passes 90 degrees near -4.3).
constexpr double kLowestRefractedDeg = -5;
constexpr double kLowestBennettDeg = -4;

std::string Number(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

bool Within(double value, double low, double high) {
  return std::isfinite(value) && value >= low && value <= high;
}

} // namespace

std::optional<std::string> ObserverProblem(const Observer &o) {
  if (!Within(o.elevationM, kLowestElevationM, kHighestElevationM))
    return "the elevation " + Number(o.elevationM) + " m is not within -500 to 9000 metres";
  if (!Within(o.eyeM, 0, kHighestEyeM))
    return "the eye's height " + Number(o.eyeM) + " m is not within 0 to 10000 metres";
  if (o.eyeM > o.elevationM + kEyeAboveElevationM)
    return "the eye's height " + Number(o.eyeM) + " m is more than the elevation " +
           Number(o.elevationM) + " m plus 500 m: the ground below the eye would be lower "
           "than 500 m below sea level";
  if (o.pressureHpa && !Within(*o.pressureHpa, kLowestPressureHpa, kHighestPressureHpa))
    return "the pressure " + Number(*o.pressureHpa) + " hPa is not within 100 to 1100 hPa";
  if (!Within(o.temperatureC, kLowestTemperatureC, kHighestTemperatureC))
    return "the temperature " + Number(o.temperatureC) + " °C is not within -60 to 50 °C";
  return std::nullopt;
}

double StandardPressureHpa(double heightM) {
  return kStandardPressureHpa * std::pow(1 - 2.25577e-5 * heightM, 5.25588);
}

double PressureInUse(const Observer &o) {
  if (o.pressureHpa) return std::clamp(*o.pressureHpa, kLowestPressureHpa, kHighestPressureHpa);
  const double ground = std::clamp(o.elevationM - o.eyeM, kLowestElevationM - kHighestEyeM,
                                   kHighestElevationM + kEyeAboveElevationM);
  return StandardPressureHpa(ground);
}

double TerrestrialRefractionCoefficient(const Observer &o) {
  const double elevation = std::clamp(o.elevationM, kLowestElevationM, kHighestElevationM);
  const double eye = std::clamp(o.eyeM, 0.0, kHighestEyeM);
  return 0.175 * std::pow(1 - kLapseOverTemperature * (elevation - 2.0 / 3.0 * eye), 3.256);
}

double DipDeg(const Observer &o) {
  const double eye = std::clamp(o.eyeM, 0.0, kHighestEyeM);
  const double k = TerrestrialRefractionCoefficient(o);
  return std::sqrt(2 * (1 - k) * eye / kEarthRadiusM) / (1 - k) / kDegree;
}

double BennettRefractionDeg(double apparentAltitudeDeg) {
  if (!(apparentAltitudeDeg >= kLowestRefractedDeg)) return 0; // NaN too
  const double h = std::max(apparentAltitudeDeg, kLowestBennettDeg);
  const double minutes = 1 / std::tan((h + 7.31 / (h + 4.4)) * kDegree);
  // Near the zenith the formula gives a hair below 0.
  return std::max(minutes, 0.0) / 60;
}

double RefractionScale(const Observer &o) {
  const double temperature = std::clamp(o.temperatureC, kLowestTemperatureC, kHighestTemperatureC);
  return PressureInUse(o) / kStandardPressureHpa * (283 / (273 + temperature));
}

double ScaledRefractionDeg(double apparentAltitudeDeg, const Observer &o) {
  return BennettRefractionDeg(apparentAltitudeDeg) * RefractionScale(o);
}

double ObserverApparentAltitudeDeg(double trueAltitudeDeg, const Observer &o) {
  if (!std::isfinite(trueAltitudeDeg)) return trueAltitudeDeg;
  // h - R(h) rises with h (R changes by less than h does), so the apparent
  // altitude lies between the true one and the true one plus the largest
  // refraction (under 2 degrees at 1100 hPa and -60 degrees C); halving
  // that bracket 40 times leaves under 1e-11 degree.
  const double scale = RefractionScale(o);
  double low = trueAltitudeDeg, high = trueAltitudeDeg + 2;
  for (int pass = 0; pass < 40; ++pass) {
    const double middle = (low + high) / 2;
    (middle - BennettRefractionDeg(middle) * scale < trueAltitudeDeg ? low : high) = middle;
  }
  return std::min((low + high) / 2, 90.0);
}

} // namespace ostrel
