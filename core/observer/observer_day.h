// SPDX-License-Identifier: GPL-3.0-or-later
// The day's events for an observer: sunrise and sunset where the Sun's
// upper limb crosses the observer's own horizon, every visible stretch
// behind a skyline, and the time of direct sun.
//
// The observer's horizon at an azimuth is an apparent altitude H: the
// higher of the dipped sea or plain horizon (-dip) and the skyline there.
// The upper limb is on it when the true altitude of the centre is
// H - refraction(H) - semi-diameter, the refraction Bennett's scaled for
// the observer's air (observer.h), the semi-diameter the Sun's at the
// date's local noon (959.63" at 1 AU).  Since that level depends on the
// Sun's azimuth at the moment, the date is scanned: every hour, and every
// minute while the Sun's altitude is within reach of the lowest and the
// highest horizon (a 1 degree notch of a 360-point skyline stays some four
// minutes in the Sun's path), longer steps only where the margin to the
// horizon cannot close within them (a bound from the skyline's steepest
// slope); each change of side is refined to a few milliseconds and
// rounded to the second as the day's other events are.  A glimpse
// shorter than a minute between two samples can be missed.
//
// The twilights, the golden and blue hours and the altitudes asked for
// keep their definitions (the centre's true altitude) and are the same as
// without an observer.
#pragma once

#include <span>

#include "core/day/day_events.h"
#include "core/observer/horizon_profile.h"
#include "core/observer/observer.h"
#include "core/sun/theory.h"

namespace ostrel {

// The Sun's semi-diameter, degrees, at a distance, AU (959.63" at 1 AU).
double SunSemiDiameterDeg(double distanceAU);

// The observer's horizon as the search and the charts take it.  Keeps its
// own copy of the profile; an empty profile is a flat horizon at -dip.
class ObserverHorizon {
public:
  explicit ObserverHorizon(const Observer &observer, HorizonProfile profile = {});

  const Observer &observer() const { return observer_; }
  const HorizonProfile &profile() const { return profile_; }
  // The dip of the horizon, degrees, 0 or more.
  double DipDeg() const { return dipDeg_; }
  // The horizon's apparent altitude at an azimuth (degrees from north
  // through east): max(-dip, skyline), degrees.
  double ApparentAltitudeDeg(double azimuthDeg) const;
  // The true altitude of the Sun's centre, degrees, when its upper limb is
  // on the horizon at that azimuth, for a semi-diameter in degrees.
  double CentreAltitudeDeg(double azimuthDeg, double semiDiameterDeg) const;
  // The lowest and the highest of ApparentAltitudeDeg over all azimuths.
  double LowestApparentDeg() const;
  double HighestApparentDeg() const;
  // The true altitude of the centre for an apparent horizon altitude: it
  // rises with the apparent one.
  double CentreAltitudeForApparentDeg(double apparentDeg, double semiDiameterDeg) const;

private:
  Observer observer_;
  HorizonProfile profile_;
  double dipDeg_ = 0;
  double refractionScale_ = 1;
};

// The day's events of `day` for the observer.  `day`'s site should carry
// the observer's elevation (Site::elevationM) for the precise theory.
// Everything FindDayEvents gives, with sunrise, sunset, polar and the day
// length replaced by the observer's:
//  - sunrise the first rising of the date, sunset its last setting (each
//    missing as FindDayEvents says: above, below or on another date);
//  - polar Day or Night when the upper limb stays above or below the
//    observer's horizon all the date;
//  - the day length 86400 on a polar day, 0 on a polar night, else sunset
//    minus sunrise when the date's first crossing is a rising and its last
//    a setting, none otherwise;
// and `observer` set: the visible stretches, the time of direct sun, and
// sea level's sunrise and sunset, here from `day` itself.
DayEvents FindObserverDayEvents(const SunDay &day, const ObserverHorizon &horizon,
                                std::span<const double> altitudesDeg = {},
                                DayEventSet set = DayEventSet::Full);

// The same for a theory, a site and a date: what the faces call.  All but
// the observer's events (sea level's sunrise and sunset, the twilights,
// the culmination, the golden and blue hours, the altitudes asked for) are
// exactly what FindDayEvents gives for the site at sea level in the same
// theory; the observer's horizon is scanned from the site at the
// observer's elevation (the precise theory's site on WGS84; the classic
// theory has no site height).
DayEvents FindObserverDayEvents(Theory theory, Site site, CivilDate date,
                                const ObserverHorizon &horizon,
                                std::span<const double> altitudesDeg = {},
                                DayEventSet set = DayEventSet::Full);

} // namespace ostrel
