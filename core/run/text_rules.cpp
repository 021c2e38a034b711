// SPDX-License-Identifier: GPL-3.0-or-later
// The text rules of the main window's results.  Each keeps the precision of
// the field it was first written for: the sidereal minutes are single, the
// seconds of the sidereal time and of the diameter 16-bit integers, so the
// last digits come out as they always have.
#include "core/run/text_rules.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "core/text/numtext.h"

namespace ostrel {
namespace {

// Every carry loop ends after one or two passes for inputs in range; the
// bound only keeps a value outside the range from looping for ever.
constexpr int kCarryPasses = 16;

// Kilometres in one astronomical unit, as the distance is shown.
constexpr double kKmPerAU = 149597870;

} // namespace

std::string NumberFormat::Text(double value) const { return NumText(value, decimalSeparator); }

std::string NumberFormat::Text(float value) const { return NumText(value, decimalSeparator); }

std::string NumberFormat::Distance(double radiusAU) const {
  if (distanceText) return distanceText(radiusAU);
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, radiusAU,
                                 std::chars_format::fixed, 8).ptr;
  std::string text(buffer, end);
  if (const auto point = text.find('.'); point != std::string::npos) {
    text.replace(point, 1, decimalSeparator);
  }
  return text;
}

namespace texts {

std::string DayOfYear(double year, double month, double day, const NumberFormat &format) {
  int k = std::fmod(year, 4.0) == 0 ? 62 : 63;
  if (year == 1700 || year == 1800 || year == 1900 || year == 2100) k = 63;
  const double daysBefore = month > 2 ? std::trunc((month + 1) * 30.6) - k
                                      : std::trunc((month - 1) * k / 2);
  return format.Text(day + daysBefore);
}

std::string JulianDate(double julDay, const NumberFormat &format) {
  return format.Text(std::floor(julDay * 100000 + 0.5) / 100000 - 0.5);
}

Sidereal SiderealTime(double lst, const NumberFormat &format) {
  float minutes = 0;
  std::int16_t seconds = 0;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    minutes = RoundToSingle((lst - std::floor(lst)) * 60);
    // A sidereal time a few milliseconds below a whole hour rounds to 60.0 in
    // single precision: carry it like 60 seconds.
    if (minutes != 60) {
      seconds = RoundHalfEven((minutes - std::floor(double{minutes})) * 60);
      if (seconds != 60) break;
    }
    lst += 0.00014;
  }
  return {format.Text(std::floor(lst)), format.Text(std::floor(minutes)),
          format.Text(static_cast<double>(seconds)), lst};
}

Orbit OrbitTexts(double sunLongDeg, double radiusAU, const NumberFormat &format) {
  return {format.Text(std::floor(sunLongDeg * 10000) / 10000), format.Distance(radiusAU),
          format.Text(std::floor(radiusAU * kKmPerAU))};
}

Diameter DiameterTexts(double diamArcmin, const NumberFormat &format) {
  std::int16_t seconds = 0;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    seconds = RoundHalfEven((diamArcmin - std::floor(diamArcmin)) * 60);
    if (seconds != 60) break;
    diamArcmin += 0.0084;
  }
  return {format.Text(std::floor(diamArcmin)), format.Text(static_cast<double>(seconds)),
          diamArcmin};
}

RightAscension RightAscensionTexts(double raHours, const NumberFormat &format) {
  double hours = 0, minutes = 0, seconds = 0;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    hours = std::floor(raHours);
    minutes = (raHours - hours) * 60;
    seconds = (minutes - std::floor(minutes)) * 60;
    if (std::floor(seconds + 0.5) != 60) break;
    raHours += 0.00014;
  }
  return {format.Text(hours), format.Text(std::floor(minutes)),
          format.Text(std::floor(seconds + 0.5)), raHours};
}

Declination DeclinationTexts(double declDeg, const NumberFormat &format) {
  double degrees = 0, minutes = 0, seconds = 0;
  for (int pass = 0; pass < kCarryPasses; ++pass) {
    degrees = std::trunc(declDeg);
    minutes = std::fabs(declDeg - degrees) * 60;
    seconds = (minutes - std::floor(minutes)) * 60;
    if (std::floor(seconds + 0.5) != 60) break;
    declDeg += 0.00014;
  }
  return {declDeg < 0 ? "-" : "", format.Text(std::fabs(degrees)),
          format.Text(std::floor(minutes)), format.Text(std::floor(seconds + 0.5)), declDeg};
}

Horizontal HorizontalTexts(double altDeg, double zenDeg, double azimuthDeg, double latitudeDeg,
                           const NumberFormat &format) {
  return {format.Text(std::trunc(altDeg * 1000 + 0.5) / 1000),
          format.Text(std::floor(zenDeg * 1000 + 0.5) / 1000),
          latitudeDeg == 90 || latitudeDeg == -90
              ? "- - - - - -"
              : format.Text(std::floor(azimuthDeg * 1000 + 0.5) / 1000)};
}

Apparent ApparentTexts(double altAppDeg, double zenAppDeg, const NumberFormat &format) {
  if (!(altAppDeg >= 0)) return {"--------", "--------"};
  return {format.Text(std::trunc(altAppDeg * 1000 + 0.5) / 1000),
          format.Text(std::floor(zenAppDeg * 1000 + 0.5) / 1000)};
}

std::string AirmassText(std::optional<double> airmass, const NumberFormat &format) {
  if (!airmass) return "--------------";
  return format.Text(std::floor(*airmass * 10000 + 0.5) / 10000);
}

Culmination CulminationTexts(double culmTime, double equationOfTime, const NumberFormat &format) {
  if (std::floor((culmTime - std::floor(culmTime)) * 60 + 0.5) == 60) culmTime += 0.0084;
  return {format.Text(std::floor(culmTime)),
          format.Text(std::floor((culmTime - std::floor(culmTime)) * 60 + 0.5)),
          format.Text(std::floor(600 * equationOfTime + 0.5) / 10), culmTime};
}

HourMinute DayLengthTexts(double lengthHours, const NumberFormat &format) {
  return {format.Text(std::trunc(lengthHours)),
          format.Text(std::floor(std::fabs(lengthHours - std::trunc(lengthHours)) * 60 + 0.5))};
}

HourMinute ClockTexts(double hours, const NumberFormat &format) {
  if (std::floor(std::fabs(hours - std::trunc(hours)) * 60 + 0.5) == 60) hours += 0.0084;
  return {format.Text(std::trunc(hours)),
          format.Text(std::floor(std::fabs(hours - std::trunc(hours)) * 60 + 0.5))};
}

std::string RiseSetAzimuthText(double azimuthDeg, const NumberFormat &format) {
  return format.Text(RoundHalfEven(10 * azimuthDeg) / 10.0);
}

std::string GreatestAltitudeText(float altMaxDeg, const NumberFormat &format) {
  return format.Text(std::trunc(altMaxDeg * 100.0 + 0.5) / 100);
}

std::optional<HourMinute> PolarDayLength(double cosine) {
  if (cosine > 1) return HourMinute{"--", "--"};
  if (cosine < -1) return HourMinute{"24", "00"};
  return std::nullopt;
}

} // namespace texts
} // namespace ostrel
