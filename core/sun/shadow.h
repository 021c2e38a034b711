// SPDX-License-Identifier: GPL-3.0-or-later
// The shadow that a vertical object casts on level ground.
#pragma once

#include <optional>

namespace ostrel {

struct Shadow {
  // The shadow's length per unit of the object's height: 1 / tan h, h the
  // Sun's apparent altitude (the light reaches the ground refracted).
  double ratio = 0;
  // The direction the shadow points to, away from the Sun: the Sun's
  // azimuth + 180 degrees, from north through east, 0 to 360.
  double azimuthDeg = 0;
};

// The shadow with the Sun at an apparent altitude and an azimuth (from
// north through east), degrees; std::nullopt with the Sun at or below the
// horizon (apparent altitude <= 0), where level ground has no shadow of it.
std::optional<Shadow> ShadowOf(double apparentAltitudeDeg, double sunAzimuthDeg);

} // namespace ostrel
