// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon over one local civil date at one site, on the same interface
// and the same search as the Sun's day (core/sun/sun_day.h,
// core/day/day_events.h): moonrise and moonset, the upper transit and the
// crossings of any altitude, local civil time to the second.
//
// Moonrise and moonset are the upper limb at the apparent horizon: the
// centre's topocentric true altitude at -(34' + the topocentric
// semi-diameter at that moment).  Other altitudes are of the centre,
// topocentric and true.  The Moon's day is about 24 h 50 min long, so a
// date may lack a moonrise, a moonset or a transit (Absence::OtherDate);
// at high latitudes the Moon may stay up or down all date
// (Absence::AlwaysAbove, AlwaysBelow).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "core/day/day_events.h"
#include "core/moon/moon_place.h"

namespace ostrel {

// The Moon across a local date, computed exactly at three moments (half an
// hour before the date, 12:00 and half an hour after it) and taken between
// them: the geocentric Moon of date by Hermite's cubic through the places
// and velocities of two neighbouring moments, the sidereal time less its
// steady turning along straight lines.  The site's parallax, the hour angle
// and the altitude are then exact.  Against the exact evaluation
// (MoonPlaceAt) this stays within 0.1" (measured; tests/core/
// moon_day_test.cpp holds it under 0.5").
class MoonDay final : public SunDay {
public:
  MoonDay(const Site &site, CivilDate date);
  SkyPoint At(double localHours) const override;
  // The interface's record: distanceAU is the geocentric distance in AU,
  // the ecliptic longitude geocentric and apparent, the rest topocentric.
  SunPlace PlaceAt(double localHours) const override;
  // The upper limb on the apparent horizon at the date's 12:00: the search
  // brackets with it, and each moonrise and moonset is then set by the
  // semi-diameter of its own moment.
  double HorizonSinAltitude() const override { return horizonSinAltitude_; }
  const Site &site() const override { return site_; }
  CivilDate date() const override { return date_; }

  // The Julian date UT (full) of a local time of the date.
  double JulianDateUt(double localHours) const;
  // The centre's topocentric true altitude, degrees, less that of the upper
  // limb on the apparent horizon, -(34' + the topocentric semi-diameter),
  // at a local time: zero at moonrise and moonset.
  double AboveRiseLevelDeg(double localHours) const;

private:
  static constexpr int kNodes = 3;
  static constexpr double kNodeHours[kNodes] = {-0.5, 12, 24.5}; // local hours

  struct Node {
    double moon[3];      // the apparent geocentric Moon, true equator and equinox of date, AU
    double moonRate[3];  // its rate, AU a day
    double gastResidual; // sidereal time less the Earth's steady turning, radians
    double trueObliquity;
  };
  struct Interpolated {
    double moon[3]; // as Node::moon
    double gast;
    double trueObliquity;
  };
  Interpolated InterpolatedAt(double localHours) const;

  Site site_;
  CivilDate date_;
  double julianDay0_ = 0; // 0 h UT of the local date, full Julian date
  double horizonSinAltitude_ = 0;
  std::array<double, 3> siteXyz_{}; // the site, Earth-fixed, AU
  double sinLat_ = 0, cosLat_ = 0;
  Node nodes_[kNodes] = {};
};

struct MoonDayEvents {
  DayMoment moonrise, moonset;
  DayMoment transit; // the upper meridian passage
  std::optional<double> transitAltitudeDeg; // the centre's, topocentric, true
  // One entry per altitude asked for, in the order asked.
  std::vector<LevelCrossings> altitudes;
};

MoonDayEvents FindMoonDayEvents(const MoonDay &day, std::span<const double> altitudesDeg = {});

} // namespace ostrel
