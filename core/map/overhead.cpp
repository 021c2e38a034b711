// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/map/overhead.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/moon/moon_theory.h"
#include "core/sun/angles.h"
#include "core/sun/classic_theory.h"

namespace ostrel {
namespace {

constexpr double kPiFull = 3.14159265358979323846;
constexpr double kDegree = kPiFull / 180;
// The mean synodic month, days (Meeus, Astronomical Algorithms, ch. 49).
constexpr double kSynodicMonthDays = 29.530588861;

double FullJulianDate(CivilDate utDate, double utHours) {
  return classic::JulianDate(utDate.year, utDate.month, utDate.day).julDay + 2400000 +
         utHours / 24;
}

// -180 (included) to 180 degrees.
double WrapLongitude(double degrees) { return WrapHours(degrees / 15) * 15; }

// The declination and the Greenwich hour angle of a vector of the true
// equator and equinox of date, with the Greenwich apparent sidereal time,
// radians.
SunOverhead FromVectorOfDate(const double ofDate[3], double gast) {
  SunOverhead overhead;
  overhead.declinationRad = std::atan2(ofDate[2], std::hypot(ofDate[0], ofDate[1]));
  const double rightAscension = std::atan2(ofDate[1], ofDate[0]);
  overhead.greenwichHourAngleRad = WrapHours((gast - rightAscension) / kPiFull * 12) / 12 * kPiFull;
  return overhead;
}

} // namespace

GeoPoint SunOverhead::Subsolar() const {
  return {declinationRad / kDegree, WrapLongitude(-greenwichHourAngleRad / kDegree)};
}

double SunOverhead::AltitudeDeg(GeoPoint point) const {
  const double latitude = point.latitudeDeg * kDegree;
  const double sinAltitude =
      std::sin(latitude) * std::sin(declinationRad) +
      std::cos(latitude) * std::cos(declinationRad) *
          std::cos(greenwichHourAngleRad + point.longitudeDeg * kDegree);
  return std::asin(std::clamp(sinAltitude, -1.0, 1.0)) / kDegree;
}

SunOverhead SunOverheadAt(Theory theory, CivilDate utDate, double utHours) {
  if (theory == Theory::Classic) {
    // The theory's own Sun seen from Greenwich in zone 0: its hour angle
    // there is the Greenwich hour angle.
    const SunPlace place = ClassicSunDay(Site{}, utDate).PlaceAt(utHours);
    return {place.declinationDeg * kDegree, place.hourAngleHours / 12 * kPiFull};
  }
  const EarthOrientation earth = EarthOrientationAt(FullJulianDate(utDate, utHours));
  const GeocentricSun sun = PreciseGeocentricSun(earth);
  return FromVectorOfDate(sun.ofDate, earth.gast);
}

MoonOverhead MoonOverheadAt(CivilDate utDate, double utHours) {
  const double julianDate = FullJulianDate(utDate, utHours);
  const EarthOrientation earth = EarthOrientationAt(julianDate);
  const GeocentricMoon moon = MoonAt(earth);
  MoonOverhead overhead;
  overhead.sublunar = FromVectorOfDate(moon.ofDate, earth.gast).Subsolar();
  // The phase is geocentric: any site gives the same.
  const MoonPlace place = MoonPlaceAt(Site{}, julianDate);
  overhead.illuminatedFraction = place.illuminatedFraction;
  overhead.ageDays = place.ageDays;
  overhead.phase = place.phase;
  overhead.waxing = place.ageDays < kSynodicMonthDays / 2;
  return overhead;
}

Shade ShadeOf(double altitudeDeg) {
  if (altitudeDeg >= 0) return Shade::Daylight;
  if (altitudeDeg >= -6) return Shade::Civil;
  if (altitudeDeg >= -12) return Shade::Nautical;
  if (altitudeDeg >= -18) return Shade::Astronomical;
  return Shade::Night;
}

void ShadeGrid(const SunOverhead &sun, int width, int height, std::span<Shade> shades) {
  if (width <= 0 || height <= 0 ||
      shades.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return;
  const double sinCivil = std::sin(-6 * kDegree);
  const double sinNautical = std::sin(-12 * kDegree);
  const double sinAstronomical = std::sin(-18 * kDegree);
  std::vector<double> cosHourAngle(static_cast<std::size_t>(width));
  for (std::size_t column = 0; column < cosHourAngle.size(); ++column) {
    const double longitude = -180 + (double(column) + 0.5) * 360 / width;
    cosHourAngle[column] = std::cos(sun.greenwichHourAngleRad + longitude * kDegree);
  }
  const double sinDeclination = std::sin(sun.declinationRad);
  const double cosDeclination = std::cos(sun.declinationRad);
  auto cell = shades.begin();
  for (int row = 0; row < height; ++row) {
    const double latitude = (90 - (row + 0.5) * 180 / height) * kDegree;
    const double along = std::sin(latitude) * sinDeclination;
    const double across = std::cos(latitude) * cosDeclination;
    cell = std::transform(cosHourAngle.begin(), cosHourAngle.end(), cell, [&](double c) {
      const double sinAltitude = along + across * c;
      if (sinAltitude >= 0) return Shade::Daylight;
      if (sinAltitude >= sinCivil) return Shade::Civil;
      if (sinAltitude >= sinNautical) return Shade::Nautical;
      if (sinAltitude >= sinAstronomical) return Shade::Astronomical;
      return Shade::Night;
    });
  }
}

} // namespace ostrel
