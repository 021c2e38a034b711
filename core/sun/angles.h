// SPDX-License-Identifier: GPL-3.0-or-later
// Small rules for hours and azimuths that the run, the theories, the day's
// events and the windows all apply the same way.
#pragma once

#include <cmath>

namespace ostrel {

// Hours into -12 (included) to 12.
inline double WrapHours(double hours) {
  hours = std::fmod(hours, 24.0);
  if (hours >= 12) hours -= 24;
  if (hours < -12) hours += 24;
  return hours;
}

// An azimuth counted from north through east (0 to 360 degrees) in the
// window's convention: the convention's offset added (0 from the north, 180
// from the south, -180 from the south with signs) and 360 taken off above
// 360 only, so that due south seen from the south shows 360.
template <typename Degrees>
Degrees AzimuthInConvention(Degrees fromNorth, int offset) {
  const Degrees azimuth = fromNorth + offset;
  return azimuth > 360 ? azimuth - 360 : azimuth;
}

} // namespace ostrel
