// SPDX-License-Identifier: GPL-3.0-or-later
// The classic theory at any moment of a local date.
#include "core/sun/sun_day.h"

#include <algorithm>
#include <cmath>

#include "core/sun/angles.h"
#include "core/sun/classic_theory.h"

namespace ostrel {

ClassicSunDay::ClassicSunDay(const Site &site, CivilDate date) : site_(site), date_(date) {
  julDay0_ = classic::JulianDate(date.year, date.month, date.day).julDay;
  const double t1900 =
      classic::LocalSiderealTime(julDay0_, date.year, site.LongHours, 0).t1900;
  const double epsilon = classic::Obliquity(t1900) * kRad;
  sinObliquity_ = std::sin(epsilon);
  cosObliquity_ = std::cos(epsilon);
  sinLat_ = std::sin(site.LatRad);
  cosLat_ = std::cos(site.LatRad);
}

// The formulas of the window's evaluation of the Sun at an hour, in its
// order of operations; the moment's UT is summed as "Calculate" sums it.
ClassicSunDay::Equatorial ClassicSunDay::EquatorialAt(double localHours) const {
  Equatorial q{};
  const double utHours = localHours - double(site_.Timezon);
  const double dayUt = utHours / 24 + date_.day;
  q.julDay = classic::JulianDate(date_.year, date_.month, dayUt).julDay;
  q.lst = classic::LocalSiderealTime(julDay0_, date_.year, site_.LongHours, utHours).lst;
  q.trueAnomaly = classic::Orbit(q.julDay, kRad, kPi).trueAnomalyDeg;
  q.lambda = classic::EclipticLongitude(q.trueAnomaly);
  const double sinLambda = std::sin(q.lambda * kRad);
  const double sinDecl = sinLambda * sinObliquity_;
  q.declRad = std::atan(sinDecl / std::sqrt(1 - std::pow(sinDecl, 2)));
  const double y = sinLambda * cosObliquity_;
  const double x = std::cos(q.lambda * kRad);
  q.raHours = (classic::ArcTanOfQuotient(y, x) * 180 / kPi + classic::QuadrantOffset(y, x)) / 15;
  return q;
}

SkyPoint ClassicSunDay::At(double localHours) const {
  const Equatorial q = EquatorialAt(localHours);
  const double hourAngle = (q.lst - q.raHours) / 12 * kPi;
  SkyPoint p;
  p.sinAltitude = std::clamp(sinLat_ * std::sin(q.declRad) +
                                 std::cos(q.declRad) * cosLat_ * std::cos(hourAngle),
                             -1.0, 1.0);
  p.hourAngle = WrapHours(q.lst - q.raHours);
  p.declinationRad = q.declRad;
  return p;
}

SunPlace ClassicSunDay::PlaceAt(double localHours) const {
  const Equatorial q = EquatorialAt(localHours);
  const classic::HorizonPoint h =
      classic::Horizon(site_.LatRad, (q.lst - q.raHours) / 12 * kPi, q.declRad, kRad);
  SunPlace place;
  place.julDay = q.julDay;
  place.localSiderealHours = q.lst;
  place.eclipticLongitudeDeg = q.lambda;
  place.distanceAU = classic::RadiusVector(q.trueAnomaly, kRad);
  place.rightAscensionHours = q.raHours;
  place.declinationDeg = q.declRad / kRad;
  place.hourAngleHours = WrapHours(q.lst - q.raHours);
  place.altitudeDeg = h.altDeg;
  place.azimuthDeg = h.azimuthDeg;
  return place;
}

double ApparentAltitude(double trueAltitudeDeg) {
  const double zenith = 90 - trueAltitudeDeg;
  const double zenithApparent =
      zenith - classic::RefractionArcsec(zenith, trueAltitudeDeg, kRad) / 3600;
  return 90 - zenithApparent;
}

} // namespace ostrel
