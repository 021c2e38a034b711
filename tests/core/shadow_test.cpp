// SPDX-License-Identifier: GPL-3.0-or-later
// The shadow of a vertical object (core/sun/shadow.h) by plane geometry: a
// pole of height 1 under light at altitude h casts a shadow 1 / tan h long,
// pointing away from the Sun.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "core/sun/shadow.h"

namespace ostrel::test {
namespace {

TEST(Shadow, LengthAndDirectionByGeometry) {
  const struct {
    double altitudeDeg, sunAzimuthDeg;
    std::optional<double> ratio, azimuthDeg; // none: no shadow
    const char *why;
  } cases[] = {
      {45, 180, 1, 0, "45 degrees: as long as the object; the Sun due south, the shadow north"},
      // tan 26.565051177 degrees = 1/2 (atan 0.5).
      {26.565051177, 90, 2, 270, "the Sun at atan(1/2): twice the height; morning, pointing west"},
      // tan 63.434948823 degrees = 2 (atan 2).
      {63.434948823, 270, 0.5, 90, "the Sun at atan 2: half the height; evening, pointing east"},
      // tan 30 = 1/sqrt 3.
      {30, 0, std::sqrt(3.0), 180, "30 degrees: sqrt 3; the Sun due north, the shadow south"},
      {90, 123, 0, 303, "the Sun in the zenith: no length"},
      {10, 200, 1 / std::tan(10 * 3.14159265358979323846 / 180), 20, "azimuth past 360 wraps"},
      {60, 359.5, 1 / std::sqrt(3.0), 179.5, "tan 60 = sqrt 3"},
      {0, 90, std::nullopt, std::nullopt, "on the horizon: no shadow on level ground"},
      {-0.5, 90, std::nullopt, std::nullopt, "below the horizon"},
      {-18, 300, std::nullopt, std::nullopt, "night"},
  };
  for (const auto &c : cases) {
    const std::optional<Shadow> shadow = ShadowOf(c.altitudeDeg, c.sunAzimuthDeg);
    ASSERT_EQ(shadow.has_value(), c.ratio.has_value()) << c.why;
    if (!shadow) continue;
    EXPECT_NEAR(shadow->ratio, *c.ratio, 1e-9) << c.why;
    EXPECT_NEAR(shadow->azimuthDeg, *c.azimuthDeg, 1e-9) << c.why;
    EXPECT_GE(shadow->azimuthDeg, 0) << c.why;
    EXPECT_LT(shadow->azimuthDeg, 360) << c.why;
  }
}

} // namespace
} // namespace ostrel::test
