// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/moon/moon_day.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/moon/moon_theory.h"
#include "core/sun/angles.h"
#include "core/sun/classic_theory.h"

namespace ostrel {
namespace {

constexpr double kKmPerAu = ERFA_DAU / 1000;
constexpr double kHorizonRefractionDeg = 34.0 / 60;
// The Earth's rotation angle's rate, radians an hour (IAU 2000).
constexpr double kTurnPerHour = ERFA_D2PI * 1.00273781191135448 / 24;
// The step of the secant that sets a moonrise or a moonset by its own
// semi-diameter, hours (one minute): the altitude is straight to far
// better than a millisecond's worth over it near the horizon.
constexpr double kSecantStepHours = 1.0 / 60;

} // namespace

MoonDay::MoonDay(const Site &site, CivilDate date) : site_(site), date_(date) {
  julianDay0_ = classic::JulianDate(date.year, date.month, date.day).julDay + 2400000;
  siteXyz_ = SiteVectorAu(site);
  sinLat_ = std::sin(site.LatRad);
  cosLat_ = std::cos(site.LatRad);
  double matrices[kNodes][3][3];
  for (int k = 0; k < kNodes; ++k) {
    const EarthOrientation earth = EarthOrientationAt(JulianDateUt(kNodeHours[k]));
    const GeocentricMoon moon = MoonAt(earth);
    Node &node = nodes_[k];
    Rotate(earth.matrix, moon.rate, node.moonRate);
    for (int i = 0; i < 3; ++i) {
      node.moon[i] = moon.ofDate[i];
      for (int j = 0; j < 3; ++j) matrices[k][i][j] = earth.matrix[i][j];
    }
    node.trueObliquity = earth.trueObliquity;
    node.gastResidual = earth.gast - kTurnPerHour * kNodeHours[k];
    if (k > 0) {
      // Within half a turn of the last, so that the lines between them are
      // the day's slow drift.
      node.gastResidual = nodes_[k - 1].gastResidual +
                          std::remainder(node.gastResidual - nodes_[k - 1].gastResidual, ERFA_D2PI);
    }
  }
  // The rate of date also holds the turning of the frame itself, from the
  // change of the matrix between neighbouring nodes (precession and
  // nutation: under 0.5" a day).
  for (int k = 0; k < kNodes; ++k) {
    const int a = k == 0 ? 0 : k - 1, b = k == 0 ? 1 : k;
    const double spanDays = (kNodeHours[b] - kNodeHours[a]) / 24;
    double gcrs[3], turned[3];
    RotateBack(matrices[k], nodes_[k].moon, gcrs);
    double change[3][3];
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) change[i][j] = (matrices[b][i][j] - matrices[a][i][j]) / spanDays;
    }
    Rotate(change, gcrs, turned);
    for (int i = 0; i < 3; ++i) nodes_[k].moonRate[i] += turned[i];
  }
  const double geocentricKm = eraPm(nodes_[1].moon) * kKmPerAu;
  const double semiDiameterDeg = std::asin(kMoonRadiusKm / geocentricKm) * ERFA_DR2D;
  horizonSinAltitude_ = std::sin(-(kHorizonRefractionDeg + semiDiameterDeg) * ERFA_DD2R);
}

double MoonDay::JulianDateUt(double localHours) const {
  return julianDay0_ + (localHours - double(site_.Timezon)) / 24;
}

MoonDay::Interpolated MoonDay::InterpolatedAt(double localHours) const {
  const int segment = localHours < kNodeHours[1] ? 0 : 1;
  const Node &a = nodes_[segment], &b = nodes_[segment + 1];
  const double spanHours = kNodeHours[segment + 1] - kNodeHours[segment];
  const double u = (localHours - kNodeHours[segment]) / spanHours;
  const double spanDays = spanHours / 24;
  const double u2 = u * u, u3 = u2 * u;
  const double h00 = 2 * u3 - 3 * u2 + 1, h10 = (u3 - 2 * u2 + u) * spanDays,
               h01 = 3 * u2 - 2 * u3, h11 = (u3 - u2) * spanDays;
  Interpolated result{};
  for (int i = 0; i < 3; ++i) {
    result.moon[i] = h00 * a.moon[i] + h10 * a.moonRate[i] + h01 * b.moon[i] + h11 * b.moonRate[i];
  }
  result.gast = a.gastResidual + u * (b.gastResidual - a.gastResidual) + kTurnPerHour * localHours;
  result.trueObliquity = a.trueObliquity + u * (b.trueObliquity - a.trueObliquity);
  return result;
}

SkyPoint MoonDay::At(double localHours) const {
  const Interpolated m = InterpolatedAt(localHours);
  const std::array<double, 3> observer = SiteOfDate(siteXyz_, m.gast);
  const double topocentric[3] = {m.moon[0] - observer[0], m.moon[1] - observer[1],
                                 m.moon[2] - observer[2]};
  const double ra = std::atan2(topocentric[1], topocentric[0]);
  const double declination =
      std::atan2(topocentric[2], std::hypot(topocentric[0], topocentric[1]));
  const double hourAngle = m.gast + site_.LongHours * 15 * ERFA_DD2R - ra;
  SkyPoint point;
  point.sinAltitude = sinLat_ * std::sin(declination) +
                      cosLat_ * std::cos(declination) * std::cos(hourAngle);
  point.hourAngle = WrapHours(hourAngle / ERFA_D2PI * 24);
  point.declinationRad = declination;
  return point;
}

SunPlace MoonDay::PlaceAt(double localHours) const {
  const Interpolated m = InterpolatedAt(localHours);
  const SeenFromSite seen = SeeFromSite(site_, siteXyz_, m.moon, m.gast);
  double longitude = 0, latitude = 0;
  EclipticOfDate(m.moon, m.trueObliquity, &longitude, &latitude);

  SunPlace place;
  place.julDay = JulianDateUt(localHours) - 2400000;
  place.localSiderealHours = seen.localSiderealTime / ERFA_D2PI * 24;
  place.eclipticLongitudeDeg = eraAnp(longitude) * ERFA_DR2D;
  place.distanceAU = std::sqrt(m.moon[0] * m.moon[0] + m.moon[1] * m.moon[1] + m.moon[2] * m.moon[2]);
  place.rightAscensionHours = seen.rightAscension / ERFA_D2PI * 24;
  place.declinationDeg = seen.declination * ERFA_DR2D;
  place.hourAngleHours = seen.hourAngle / ERFA_D2PI * 24;
  place.altitudeDeg = seen.altitude * ERFA_DR2D;
  place.azimuthDeg = seen.azimuth * ERFA_DR2D;
  return place;
}

double MoonDay::AboveRiseLevelDeg(double localHours) const {
  const Interpolated m = InterpolatedAt(localHours);
  const std::array<double, 3> observer = SiteOfDate(siteXyz_, m.gast);
  double topocentric[3] = {m.moon[0] - observer[0], m.moon[1] - observer[1],
                           m.moon[2] - observer[2]};
  const double distanceKm = eraPm(topocentric) * kKmPerAu;
  const double semiDiameterDeg = std::asin(kMoonRadiusKm / distanceKm) * ERFA_DR2D;
  const double altitudeDeg = std::asin(std::clamp(At(localHours).sinAltitude, -1.0, 1.0)) * ERFA_DR2D;
  return altitudeDeg + kHorizonRefractionDeg + semiDiameterDeg;
}

namespace {

// A moonrise or moonset found on the noon semi-diameter, set by the
// semi-diameter of its own moment: a secant over a minute from the found
// second (the two differ by at most 8", a second or two of time).
DayMoment AtOwnSemiDiameter(const MoonDay &day, DayMoment found) {
  if (!found.happens()) return found;
  const double t0 = found.seconds / 3600.0, t1 = t0 + kSecantStepHours;
  const double f0 = day.AboveRiseLevelDeg(t0), f1 = day.AboveRiseLevelDeg(t1);
  if (f1 == f0) return found;
  const double t = t0 - f0 * (t1 - t0) / (f1 - f0);
  const long long seconds = std::llround(t * 3600);
  // A moment that moves off the date keeps the search's second: the two
  // differ by a second or two, and the date's bound belongs to the search.
  if (seconds < 0 || seconds >= 86400) return found;
  return DayMoment::At(static_cast<int>(seconds));
}

} // namespace

MoonDayEvents FindMoonDayEvents(const MoonDay &day, std::span<const double> altitudesDeg) {
  DayEvents found = FindDayEvents(day, altitudesDeg, DayEventSet::Horizon);
  MoonDayEvents events;
  events.moonrise = AtOwnSemiDiameter(day, found.sunrise);
  events.moonset = AtOwnSemiDiameter(day, found.sunset);
  events.transit = found.culmination;
  events.transitAltitudeDeg = found.culminationAltitudeDeg;
  events.altitudes = std::move(found.altitudes);
  return events;
}

} // namespace ostrel
