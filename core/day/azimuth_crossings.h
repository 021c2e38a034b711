// SPDX-License-Identifier: GPL-3.0-or-later
// The moments of a local civil date at which the Sun's centre passes an
// azimuth, beside the crossings of an altitude (day_events.h).
//
// The azimuth is counted from north through east, 0 to 360 degrees, as the
// theory's place gives it (SunDay::PlaceAt).  Over a date the Sun usually
// passes each azimuth once.  Where its circle of the day does not go round
// the vertical (in the tropics, with the Sun culminating between the
// zenith and the pole) the azimuths on the pole's side near its greatest
// elongation are passed twice and those on the equator's side not at all;
// near the ends of the date one may be passed twice or not at all.  The
// Sun below the horizon has an azimuth too: every passage is given, with
// its altitude.
#pragma once

#include <vector>

#include "core/sun/sun_day.h"

namespace ostrel {

struct AzimuthPassage {
  int seconds = 0;        // local civil time, whole seconds 0 to 86399
  double altitudeDeg = 0; // true (geometric) altitude of the centre there
};

struct AzimuthCrossings {
  double azimuthDeg = 0;               // as asked, 0 to 360
  std::vector<AzimuthPassage> passages; // in time order
};

// The passages of one azimuth, degrees from north through east, 0 to 360.
// Each is bracketed between samples of the date whose azimuths differ by
// less than a few degrees (the samples are halved where the azimuth turns
// fast, near the zenith and the nadir, down to a second), then refined to
// a few milliseconds and rounded to the nearest second.  A passage exactly
// through the zenith or the nadir, where the azimuth jumps by 180 degrees,
// passes none of the azimuths it jumps over.
AzimuthCrossings FindAzimuthCrossings(const SunDay &day, double azimuthDeg);

} // namespace ostrel
