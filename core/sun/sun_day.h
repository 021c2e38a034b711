// SPDX-License-Identifier: GPL-3.0-or-later
// The Sun over one local civil date at one site: its place at any moment of
// the date, from a theory.  The day's events, the path and the tables are
// computed from this interface, so that a second theory only has to give
// the same answers.
//
// Moments are local civil hours from 00:00 of the date, 0 to 24; a solver
// may ask a little outside that range and gets the smooth continuation.
#pragma once

#include "core/run/records.h"

namespace ostrel {

// A site as the calculation takes it.
struct Site {
  double LatRad = 0;    // latitude, radians, north positive
  double LongHours = 0; // longitude, hours east of Greenwich
  float Timezon = 0;    // hours: local civil time = UT + Timezon
  // Metres above sea level: the precise theory's site on the WGS84
  // ellipsoid stands this high (the classic theory has no site height).
  // 0 unless an observer gives it (core/observer/observer.h).
  double elevationM = 0;
};

// A local civil date of the Gregorian calendar.
struct CivilDate {
  int year = 2000;
  int month = 1;
  int day = 1;
};

// What the search of a day needs at a moment, from one evaluation.
struct SkyPoint {
  double sinAltitude = 0; // sine of the true altitude of the Sun's centre
  double hourAngle = 0;   // local hour angle, hours, -12 to 12
  double declinationRad = 0;
};

// The Sun's place at a moment.
struct SunPlace {
  double julDay = 0;               // Julian date minus 2400000 (UT)
  double localSiderealHours = 0;   // 0 to 24
  double eclipticLongitudeDeg = 0; // 0 to 360
  double distanceAU = 0;           // Earth-Sun distance
  double rightAscensionHours = 0;  // 0 to 24
  double declinationDeg = 0;
  double hourAngleHours = 0;       // -12 to 12, west positive
  double altitudeDeg = 0;          // true (geometric), of the centre
  double azimuthDeg = 0;           // from north through east, 0 to 360
};

class SunDay {
public:
  virtual ~SunDay() = default;
  virtual SkyPoint At(double localHours) const = 0;
  virtual SunPlace PlaceAt(double localHours) const = 0;
  // The sine of the altitude of the centre at which the Sun rises and sets
  // on this theory's horizon.
  virtual double HorizonSinAltitude() const = 0;
  virtual const Site &site() const = 0;
  virtual CivilDate date() const = 0;
};

// The classic theory, evaluated as the window evaluates the Sun at an hour
// of the local date (SunAtTime): the Sun's orbit at the moment, the
// obliquity and the sidereal time of 0 h UT of the local date.  Unlike the
// window's evaluation the hour is kept in double precision, and 0 h UT of
// the local date stays the origin of the sidereal time for every moment of
// the date, 24:00 included.  Sunrise and sunset are at sin h0 = -0.0145.
class ClassicSunDay final : public SunDay {
public:
  ClassicSunDay(const Site &site, CivilDate date);
  SkyPoint At(double localHours) const override;
  SunPlace PlaceAt(double localHours) const override;
  double HorizonSinAltitude() const override { return -0.0145; }
  const Site &site() const override { return site_; }
  CivilDate date() const override { return date_; }

private:
  struct Equatorial {
    double julDay, lst, lambda, trueAnomaly, declRad, raHours;
  };
  Equatorial EquatorialAt(double localHours) const;

  Site site_;
  CivilDate date_;
  double julDay0_ = 0; // 0 h UT of the local date, minus 2400000
  double sinObliquity_ = 0, cosObliquity_ = 0;
  double sinLat_ = 0, cosLat_ = 0;
};

// The apparent altitude, degrees, from the true altitude by the window's
// refraction formula (three ranges of zenith angle).
double ApparentAltitude(double trueAltitudeDeg);

} // namespace ostrel
