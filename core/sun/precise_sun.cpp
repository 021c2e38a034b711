// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sun/precise_sun.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <initializer_list>

#include "core/sun/classic_theory.h"

namespace ostrel {
namespace {

constexpr double kSecondsPerDay = 86400;
// The Sun's semi-diameter at 1 AU, seconds of arc (IAU radius 696,000 km),
// and the standard refraction at the horizon, 34'.
constexpr double kSemiDiameterAt1AuArcsec = 959.63;
constexpr double kHorizonRefractionArcsec = 34 * 60;

double Polynomial(double t, std::initializer_list<double> coefficients) {
  double sum = 0;
  double power = 1;
  for (double c : coefficients) {
    sum += c * power;
    power *= t;
  }
  return sum;
}

} // namespace

double DeltaTSeconds(double y) {
  if (y < 1800) {
    const double t = y - 1700;
    return Polynomial(t, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000});
  }
  if (y < 1860) {
    const double t = y - 1800;
    return Polynomial(t, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272,
                          -0.0000001699, 0.000000000875});
  }
  if (y < 1900) {
    const double t = y - 1860;
    return Polynomial(t, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174});
  }
  if (y < 1920) {
    const double t = y - 1900;
    return Polynomial(t, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
  }
  if (y < 1941) {
    const double t = y - 1920;
    return Polynomial(t, {21.20, 0.84493, -0.076100, 0.0020936});
  }
  if (y < 1961) {
    const double t = y - 1950;
    return Polynomial(t, {29.07, 0.407, -1.0 / 233, 1.0 / 2547});
  }
  if (y < 1986) {
    const double t = y - 1975;
    return Polynomial(t, {45.45, 1.067, -1.0 / 260, -1.0 / 718});
  }
  if (y < 2005) {
    const double t = y - 2000;
    return Polynomial(t, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
  }
  if (y < 2050) {
    const double t = y - 2000;
    return Polynomial(t, {62.92, 0.32217, 0.005589});
  }
  const double u = (y - 1820) / 100;
  return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

EarthOrientation EarthOrientationAt(double julianDateUt) {
  EarthOrientation earth{};
  // The UT date split as ERFA likes it, and TT from Delta T.
  earth.ut1 = std::floor(julianDateUt) + 0.5;
  earth.ut2 = julianDateUt - earth.ut1;
  const double decimalYear = 2000 + (julianDateUt - ERFA_DJ00) / 365.25;
  earth.tt2 = earth.ut2 + DeltaTSeconds(decimalYear) / kSecondsPerDay;
  // IAU 2006 precession with IAU 2000B nutation, and the sidereal time.
  double dpsi = 0, deps = 0;
  eraNut00b(earth.ut1, earth.tt2, &dpsi, &deps);
  double epsa = 0, rb[3][3], rp[3][3], rbp[3][3], rn[3][3];
  eraPn06(earth.ut1, earth.tt2, dpsi, deps, &epsa, rb, rp, rbp, rn, earth.matrix);
  earth.trueObliquity = epsa + deps;
  earth.gast = eraGst06(earth.ut1, earth.ut2, earth.ut1, earth.tt2, earth.matrix);
  return earth;
}

namespace {

// What one exact evaluation gives before the apparent place is formed.
struct Geometric {
  double sun[3];        // the Sun from the Earth's centre, geometric, AU, ICRS axes
  double sunRate[3];    // its rate, AU a day
  double velocity[3];   // the Earth's barycentric velocity, in units of c
  double matrix[3][3];  // ICRS to the true equator and equinox of date
  double trueObliquity; // radians
  double gast;          // Greenwich apparent sidereal time, radians
};

Geometric GeometricAt(double julianDateUt) {
  const EarthOrientation earth = EarthOrientationAt(julianDateUt);
  Geometric g{};
  // The Earth, heliocentric and barycentric, AU and AU a day (BCRS axes).
  // The Sun from the Earth is the heliocentric Earth turned round; the light
  // time is that of the heliocentric frame: the Sun's own motion about the
  // barycentre in those 8 minutes moves it by less than 0.01".
  double heliocentric[2][3], barycentric[2][3];
  eraEpv00(earth.ut1, earth.tt2, heliocentric, barycentric);
  for (int i = 0; i < 3; ++i) {
    g.sun[i] = -heliocentric[0][i];
    g.sunRate[i] = -heliocentric[1][i];
    g.velocity[i] = barycentric[1][i] * ERFA_AULT / kSecondsPerDay;
    for (int j = 0; j < 3; ++j) g.matrix[i][j] = earth.matrix[i][j];
  }
  g.trueObliquity = earth.trueObliquity;
  g.gast = earth.gast;
  return g;
}

// The geocentric Sun of date at a moment: what does not depend on the site.
struct OfDate {
  double sun[3];       // apparent direction times the true distance, AU,
                       // true equator and equinox of date
  double gast;         // Greenwich apparent sidereal time, radians
  double longitudeRad; // apparent ecliptic longitude of date, radians
  double distance;     // true geocentric distance, AU
};

// The apparent Sun of date: the geometric Sun moved by the annual
// aberration, then into the true equator and equinox of date.
OfDate Apparent(const double sun[3], const double velocity[3], const double matrix[3][3],
                double trueObliquity, double gast) {
  const double distance = std::sqrt(sun[0] * sun[0] + sun[1] * sun[1] + sun[2] * sun[2]);
  double direction[3], v[3];
  double speed2 = 0;
  for (int i = 0; i < 3; ++i) {
    direction[i] = sun[i] / distance;
    v[i] = velocity[i];
    speed2 += v[i] * v[i];
  }
  double apparent[3];
  eraAb(direction, v, distance, std::sqrt(1 - speed2), apparent);
  double unitOfDate[3];
  for (int i = 0; i < 3; ++i) {
    unitOfDate[i] = matrix[i][0] * apparent[0] + matrix[i][1] * apparent[1] + matrix[i][2] * apparent[2];
  }

  OfDate of{};
  eraSxp(distance, unitOfDate, of.sun);
  of.longitudeRad = std::atan2(of.sun[1] * std::cos(trueObliquity) +
                                   of.sun[2] * std::sin(trueObliquity),
                               of.sun[0]);
  of.gast = gast;
  of.distance = distance;
  return of;
}

OfDate GeocentricOfDate(double julianDateUt) {
  const Geometric g = GeometricAt(julianDateUt);
  return Apparent(g.sun, g.velocity, g.matrix, g.trueObliquity, g.gast);
}

// The Sun of date seen from the site.
SunPlace Topocentric(const Site &site, const std::array<double, 3> &siteXyz, const OfDate &of) {
  const SeenFromSite seen = SeeFromSite(site, siteXyz, of.sun, of.gast);
  SunPlace place;
  place.rightAscensionHours = seen.rightAscension / ERFA_D2PI * 24;
  place.declinationDeg = seen.declination * ERFA_DR2D;
  place.eclipticLongitudeDeg = eraAnp(of.longitudeRad) * ERFA_DR2D;
  place.distanceAU = of.distance;
  place.localSiderealHours = seen.localSiderealTime / ERFA_D2PI * 24;
  place.hourAngleHours = seen.hourAngle / ERFA_D2PI * 24;
  place.altitudeDeg = seen.altitude * ERFA_DR2D;
  place.azimuthDeg = seen.azimuth * ERFA_DR2D;
  return place;
}

// The Earth's rotation angle's rate, radians an hour (IAU 2000).
constexpr double kTurnPerHour = ERFA_D2PI * 1.00273781191135448 / 24;

} // namespace

std::array<double, 3> SiteOfDate(const std::array<double, 3> &siteXyz, double gast) {
  const double c = std::cos(gast), s = std::sin(gast);
  return {c * siteXyz[0] - s * siteXyz[1], s * siteXyz[0] + c * siteXyz[1], siteXyz[2]};
}

SeenFromSite SeeFromSite(const Site &site, const std::array<double, 3> &siteXyz,
                         const double geocentricOfDate[3], double gast) {
  const std::array<double, 3> observer = SiteOfDate(siteXyz, gast);
  SeenFromSite seen;
  for (int i = 0; i < 3; ++i) seen.topocentric[i] = geocentricOfDate[i] - observer[i];
  eraC2s(seen.topocentric.data(), &seen.rightAscension, &seen.declination);
  seen.rightAscension = eraAnp(seen.rightAscension);
  seen.localSiderealTime = eraAnp(gast + site.LongHours * 15 * ERFA_DD2R);
  seen.hourAngle = eraAnpm(seen.localSiderealTime - seen.rightAscension);
  eraHd2ae(seen.hourAngle, seen.declination, site.LatRad, &seen.azimuth, &seen.altitude);
  return seen;
}

std::array<double, 3> SiteVectorAu(const Site &site) {
  double metres[3];
  eraGd2gc(ERFA_WGS84, site.LongHours * 15 * ERFA_DD2R, site.LatRad, site.elevationM, metres);
  return {metres[0] / ERFA_DAU, metres[1] / ERFA_DAU, metres[2] / ERFA_DAU};
}

GeocentricSun PreciseGeocentricSun(const EarthOrientation &earth) {
  double heliocentric[2][3], barycentric[2][3];
  eraEpv00(earth.ut1, earth.tt2, heliocentric, barycentric);
  double sun[3], sunRate[3], velocity[3];
  for (int i = 0; i < 3; ++i) {
    sun[i] = -heliocentric[0][i];
    sunRate[i] = -heliocentric[1][i];
    velocity[i] = barycentric[1][i] * ERFA_AULT / kSecondsPerDay;
  }
  GeocentricSun result = ApparentGeocentricSun(sun, velocity, earth);
  // The geometric Sun and its motion into the ecliptic of date.
  double matrix[3][3], p[3], v[3];
  for (int i = 0; i < 3; ++i) // a copy: eraRxp's matrix is not const
    for (int j = 0; j < 3; ++j) matrix[i][j] = earth.matrix[i][j];
  eraRxp(matrix, sun, p);
  eraRxp(matrix, sunRate, v);
  const double c = std::cos(earth.trueObliquity), s = std::sin(earth.trueObliquity);
  const double x = p[0], y = p[1] * c + p[2] * s;
  const double vx = v[0], vy = v[1] * c + v[2] * s;
  result.eclipticLongitudeRateRadPerDay = (x * vy - y * vx) / (x * x + y * y);
  return result;
}

GeocentricSun ApparentGeocentricSun(const double geometricSun[3], const double earthVelocityC[3],
                                    const EarthOrientation &earth) {
  const OfDate of =
      Apparent(geometricSun, earthVelocityC, earth.matrix, earth.trueObliquity, earth.gast);
  GeocentricSun result;
  for (int i = 0; i < 3; ++i) result.ofDate[i] = of.sun[i];
  result.eclipticLongitudeRad = eraAnp(of.longitudeRad);
  result.distanceAU = of.distance;
  return result;
}

SunPlace PrecisePlaceAt(const Site &site, double julianDateUt) {
  SunPlace place = Topocentric(site, SiteVectorAu(site), GeocentricOfDate(julianDateUt));
  place.julDay = julianDateUt - 2400000;
  return place;
}

AstrometricPlace PreciseAstrometricAt(const Site &site, double julianDateUt) {
  EarthOrientation earth = EarthOrientationAt(julianDateUt);
  double heliocentric[2][3], barycentric[2][3];
  eraEpv00(earth.ut1, earth.tt2, heliocentric, barycentric);
  // The site into the ICRS axes: turned by the apparent sidereal time into
  // the equator of date, then back through nutation and precession.
  std::array<double, 3> ofDate = SiteOfDate(SiteVectorAu(site), earth.gast);
  double observer[3];
  eraTrxp(earth.matrix, ofDate.data(), observer);
  double sun[3];
  for (int i = 0; i < 3; ++i) sun[i] = -heliocentric[0][i] - observer[i];
  double ra = 0, dec = 0;
  eraC2s(sun, &ra, &dec);
  return {eraAnp(ra) / ERFA_D2PI * 24, dec * ERFA_DR2D};
}

double DeltaTSecondsAt(double julianDateUt) {
  return DeltaTSeconds(2000 + (julianDateUt - ERFA_DJ00) / 365.25);
}

GeocentricSun PreciseGeocentricAt(double julianDateUt) {
  return PreciseGeocentricSun(EarthOrientationAt(julianDateUt));
}

PreciseSunDay::PreciseSunDay(const Site &site, CivilDate date) : site_(site), date_(date) {
  julianDay0_ = classic::JulianDate(date.year, date.month, date.day).julDay + 2400000;
  const std::array<double, 3> where = SiteVectorAu(site);
  for (int i = 0; i < 3; ++i) siteXyz_[i] = where[i];
  for (int k = 0; k < 2; ++k) {
    const double hours = k == 0 ? kFirstNode : kLastNode;
    const Geometric g = GeometricAt(JulianDateUt(hours));
    Node &node = nodes_[k];
    for (int i = 0; i < 3; ++i) {
      node.sun[i] = g.sun[i];
      node.sunRate[i] = g.sunRate[i];
      node.velocity[i] = g.velocity[i];
      for (int j = 0; j < 3; ++j) node.matrix[i][j] = g.matrix[i][j];
    }
    node.trueObliquity = g.trueObliquity;
    node.gastResidual = g.gast - kTurnPerHour * hours;
  }
  // Within half a turn of each other, so that the line between them is the
  // day's slow drift.
  nodes_[1].gastResidual =
      nodes_[0].gastResidual + std::remainder(nodes_[1].gastResidual - nodes_[0].gastResidual, ERFA_D2PI);
  const double semiDiameterArcsec = kSemiDiameterAt1AuArcsec / PreciseAt(12).distanceAU;
  horizonSinAltitude_ =
      std::sin(-(kHorizonRefractionArcsec + semiDiameterArcsec) / 3600 * ERFA_DD2R);
}

PreciseSunDay PreciseSunDay::AtElevation(double elevationM) const {
  PreciseSunDay raised = *this;
  raised.site_.elevationM = elevationM;
  const std::array<double, 3> where = SiteVectorAu(raised.site_);
  for (int i = 0; i < 3; ++i) raised.siteXyz_[i] = where[i];
  return raised;
}

double PreciseSunDay::JulianDateUt(double localHours) const {
  return julianDay0_ + (localHours - double(site_.Timezon)) / 24;
}

SunPlace PreciseSunDay::PreciseAt(double localHours) const {
  const Node &a = nodes_[0], &b = nodes_[1];
  const double u = (localHours - kFirstNode) / (kLastNode - kFirstNode);
  const double spanDays = (kLastNode - kFirstNode) / 24;
  // Hermite's cubic for the geometric Sun, straight lines for the rest.
  const double u2 = u * u, u3 = u2 * u;
  const double h00 = 2 * u3 - 3 * u2 + 1, h10 = (u3 - 2 * u2 + u) * spanDays,
               h01 = 3 * u2 - 2 * u3, h11 = (u3 - u2) * spanDays;
  double sun[3], velocity[3], matrix[3][3];
  for (int i = 0; i < 3; ++i) {
    sun[i] = h00 * a.sun[i] + h10 * a.sunRate[i] + h01 * b.sun[i] + h11 * b.sunRate[i];
    velocity[i] = a.velocity[i] + u * (b.velocity[i] - a.velocity[i]);
    for (int j = 0; j < 3; ++j) matrix[i][j] = a.matrix[i][j] + u * (b.matrix[i][j] - a.matrix[i][j]);
  }
  const double obliquity = a.trueObliquity + u * (b.trueObliquity - a.trueObliquity);
  const double gast =
      a.gastResidual + u * (b.gastResidual - a.gastResidual) + kTurnPerHour * localHours;
  const OfDate of = Apparent(sun, velocity, matrix, obliquity, gast);
  SunPlace place = Topocentric(site_, {siteXyz_[0], siteXyz_[1], siteXyz_[2]}, of);
  place.julDay = JulianDateUt(localHours) - 2400000;
  return place;
}

SkyPoint PreciseSunDay::At(double localHours) const {
  const SunPlace p = PreciseAt(localHours);
  SkyPoint point;
  point.sinAltitude = std::sin(p.altitudeDeg * ERFA_DD2R);
  point.hourAngle = p.hourAngleHours;
  point.declinationRad = p.declinationDeg * ERFA_DD2R;
  return point;
}

SunPlace PreciseSunDay::PlaceAt(double localHours) const { return PreciseAt(localHours); }

} // namespace ostrel
