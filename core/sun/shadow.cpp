// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sun/shadow.h"

#include <cmath>

#include "core/run/records.h"

namespace ostrel {

std::optional<Shadow> ShadowOf(double apparentAltitudeDeg, double sunAzimuthDeg) {
  if (!(apparentAltitudeDeg > 0)) return std::nullopt;
  double azimuth = std::fmod(sunAzimuthDeg + 180, 360.0);
  if (azimuth < 0) azimuth += 360;
  return Shadow{1 / std::tan(apparentAltitudeDeg * kRad), azimuth};
}

} // namespace ostrel
