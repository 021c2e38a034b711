// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/moon/moon_place.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "core/moon/moon_theory.h"
#include "core/sun/sun_day.h"

namespace ostrel {
namespace {

constexpr double kKmPerAu = ERFA_DAU / 1000;
constexpr double kEarthRadiusKm = 6378.137; // WGS84 equatorial radius
constexpr double kHalfDay = 0.5;            // days

constexpr MoonPhaseNames kPhaseNames[] = {
    {"new_moon", "New moon", "Новолуние"},
    {"waxing_crescent", "Waxing crescent", "Растущий серп"},
    {"first_quarter", "First quarter", "Первая четверть"},
    {"waxing_gibbous", "Waxing gibbous", "Растущая луна"},
    {"full_moon", "Full moon", "Полнолуние"},
    {"waning_gibbous", "Waning gibbous", "Убывающая луна"},
    {"last_quarter", "Last quarter", "Последняя четверть"},
    {"waning_crescent", "Waning crescent", "Убывающий серп"},
};

MoonPhase PhaseOfQuarter(MoonQuarter quarter) {
  return static_cast<MoonPhase>(2 * static_cast<int>(quarter));
}

} // namespace

const MoonPhaseNames &NamesOf(MoonPhase phase) { return kPhaseNames[static_cast<int>(phase)]; }

MoonPhase PhaseOf(MoonQuarter quarter) {
  switch (quarter) {
  case MoonQuarter::NewMoon: return MoonPhase::NewMoon;
  case MoonQuarter::FirstQuarter: return MoonPhase::FirstQuarter;
  case MoonQuarter::FullMoon: return MoonPhase::FullMoon;
  case MoonQuarter::LastQuarter: return MoonPhase::LastQuarter;
  }
  return MoonPhase::NewMoon;
}

MoonPhase PhaseBetween(const QuartersAround &around, double julianDateUt) {
  if (julianDateUt - around.previous.julianDateUt < kHalfDay) {
    return PhaseOfQuarter(around.previous.quarter);
  }
  if (around.next.julianDateUt - julianDateUt < kHalfDay) {
    return PhaseOfQuarter(around.next.quarter);
  }
  // Each quarter's name is followed by the name of the stretch after it.
  return static_cast<MoonPhase>(static_cast<int>(PhaseOfQuarter(around.previous.quarter)) + 1);
}

MoonPlace MoonPlaceAt(const Site &site, double julianDateUt) {
  const EarthOrientation earth = EarthOrientationAt(julianDateUt);
  GeocentricMoon moon = MoonAt(earth);
  GeocentricSun sun = PreciseGeocentricSun(earth);

  MoonPlace place;
  place.julianDateUt = julianDateUt;
  place.eclipticLongitudeDeg = eraAnp(moon.eclipticLongitudeRad) * ERFA_DR2D;
  place.eclipticLatitudeDeg = moon.eclipticLatitudeRad * ERFA_DR2D;
  place.geocentricDistanceKm = moon.distanceAu * kKmPerAu;
  place.horizontalParallaxDeg = std::asin(kEarthRadiusKm / place.geocentricDistanceKm) * ERFA_DR2D;

  // From the site.
  SeenFromSite seen = SeeFromSite(site, SiteVectorAu(site), moon.ofDate, earth.gast);
  place.rightAscensionHours = seen.rightAscension / ERFA_D2PI * 24;
  place.declinationDeg = seen.declination * ERFA_DR2D;
  place.hourAngleHours = seen.hourAngle / ERFA_D2PI * 24;
  place.localSiderealHours = seen.localSiderealTime / ERFA_D2PI * 24;
  place.topocentricDistanceKm = eraPm(seen.topocentric.data()) * kKmPerAu;
  place.semiDiameterDeg = std::asin(kMoonRadiusKm / place.topocentricDistanceKm) * ERFA_DR2D;
  place.altitudeDeg = seen.altitude * ERFA_DR2D;
  place.apparentAltitudeDeg = ApparentAltitude(place.altitudeDeg);
  place.azimuthDeg = seen.azimuth * ERFA_DR2D;

  // Geocentric elongation psi, phase angle i and bright limb chi (Meeus
  // eqs. 48.2, 48.3, 48.1 and 48.5), from the apparent places of date.
  double moonRa = 0, moonDec = 0, sunRa = 0, sunDec = 0;
  eraC2s(moon.ofDate, &moonRa, &moonDec);
  eraC2s(sun.ofDate, &sunRa, &sunDec);
  const double elongation = eraSepp(moon.ofDate, sun.ofDate);
  const double phaseAngle = std::atan2(sun.distanceAU * std::sin(elongation),
                                       moon.distanceAu - sun.distanceAU * std::cos(elongation));
  place.elongationDeg = elongation * ERFA_DR2D;
  place.phaseAngleDeg = phaseAngle * ERFA_DR2D;
  place.illuminatedFraction = (1 + std::cos(phaseAngle)) / 2;
  const double limb = std::atan2(
      std::cos(sunDec) * std::sin(sunRa - moonRa),
      std::sin(sunDec) * std::cos(moonDec) - std::cos(sunDec) * std::sin(moonDec) * std::cos(sunRa - moonRa));
  place.brightLimbAngleDeg = eraAnp(limb) * ERFA_DR2D;

  const QuartersAround around = FindQuartersAround(julianDateUt);
  place.ageDays = julianDateUt - around.lastNewMoonJulianDateUt;
  place.phase = PhaseBetween(around, julianDateUt);
  return place;
}

AstrometricPlace MoonAstrometricAt(const Site &site, double julianDateUt) {
  const EarthOrientation earth = EarthOrientationAt(julianDateUt);
  const GeocentricMoon moon = MoonAt(earth);
  // The Earth's barycentric velocity over the light time: the Earth the
  // light reaches has moved on from where the Moon's light left.
  double heliocentric[2][3], barycentric[2][3];
  eraEpv00(earth.ut1, earth.tt2, heliocentric, barycentric);
  const std::array<double, 3> observerOfDate = SiteOfDate(SiteVectorAu(site), earth.gast);
  double observer[3];
  RotateBack(earth.matrix, observerOfDate.data(), observer);
  double direction[3];
  for (int i = 0; i < 3; ++i) {
    direction[i] = moon.gcrs[i] - barycentric[1][i] * moon.lightTimeDays - observer[i];
  }
  double ra = 0, dec = 0;
  eraC2s(direction, &ra, &dec);
  return {eraAnp(ra) / ERFA_D2PI * 24, dec * ERFA_DR2D};
}

} // namespace ostrel
