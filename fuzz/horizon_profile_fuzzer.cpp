// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a horizon file's text (core/observer/horizon_profile.h).
//
// What a reading must give, whatever the file holds:
// - a profile or a fault, never both; a fault names a line of the text (or
//   0, for the whole of it) and says what is wrong;
// - a profile has at least two points, sorted by azimuth, each azimuth
//   once and within 0 to 360, each altitude within -5 to 90;
// - the skyline taken at any azimuth lies between its lowest and highest
//   point, and a day behind it gives its events without a crash.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/observer/observer_day.h"
#include "fuzz_check.h"

namespace ostrel::fuzz {
namespace {

void Check(std::string_view text) {
  const HorizonParse parse = ParseHorizonProfile(text);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (!parse.profile) {
    Require(!parse.error.empty(), "a fault says what is wrong");
    Require(parse.line >= 0 && parse.line <= lines, "a fault names a line of the text",
            std::to_string(parse.line));
    return;
  }
  Require(parse.error.empty(), "a profile has no fault", parse.error);
  const std::vector<HorizonPoint> &points = parse.profile->points();
  Require(points.size() >= 2, "at least two points");
  for (std::size_t i = 0; i < points.size(); ++i) {
    Require(points[i].azimuthDeg >= 0 && points[i].azimuthDeg < 360, "an azimuth within 0 to 360");
    Require(points[i].altitudeDeg >= -5 && points[i].altitudeDeg <= 90, "an altitude within -5 to 90");
    Require(i == 0 || points[i - 1].azimuthDeg < points[i].azimuthDeg, "sorted, each azimuth once");
  }
  for (int azimuth = -360; azimuth <= 720; azimuth += 7) {
    const double altitude = *parse.profile->AltitudeAt(azimuth);
    Require(altitude >= parse.profile->LowestDeg() - 1e-9 &&
                altitude <= parse.profile->HighestDeg() + 1e-9,
            "the skyline between its lowest and highest point", std::to_string(azimuth));
  }
  Observer observer;
  observer.eyeM = 20;
  const DayEvents events = FindObserverDayEvents(ClassicSunDay({0.8, 2, 2}, {2024, 6, 21}),
                                                 ObserverHorizon(observer, *parse.profile));
  Require(events.observer && events.observer->directSunSeconds >= 0 &&
              events.observer->directSunSeconds <= 86400,
          "the time of direct sun within the date");
}

} // namespace
} // namespace ostrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  ostrel::fuzz::Check(std::string_view(reinterpret_cast<const char *>(data), size));
  return 0;
}
