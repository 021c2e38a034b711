// SPDX-License-Identifier: GPL-3.0-or-later
// The search of an azimuth's passages: sampling, halving where the azimuth
// turns fast, and a safeguarded secant method inside each bracket.
#include "core/day/azimuth_crossings.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace ostrel {
namespace {

// The date's bounds once rounded to seconds, as for the altitudes
// (day_events.cpp): half a second before 00:00 to half a second before 24:00.
constexpr double kDayStart = -0.5 / 3600;
constexpr double kDayEnd = 86399.5 / 3600;
constexpr int kSecondsPerDay = 86400;
// The first samples, hours apart: the Sun's azimuth turns by some 4 degrees
// in 15 minutes away from the zenith and the nadir.
constexpr double kSampleStep = 0.25;
// Neighbouring samples are halved until their azimuths differ by less than
// this, degrees, or they are closer than kShortestStep hours (one second).
// With samples a few degrees apart, an azimuth and its opposite (180
// degrees away) never fall between the same two.
constexpr double kLargestTurnDeg = 10;
constexpr double kShortestStep = 1.0 / 3600;
// A passage is refined until its bracket is narrower than this, hours
// (3.6 ms), as the altitudes' crossings are.
constexpr double kCrossingTolerance = 1e-6;
constexpr int kCrossingPasses = 100;
// At the end of the refinement the azimuth either side differs by less
// than this, degrees, when it turned through the asked azimuth; by about
// 180 when it jumped over it through the zenith or the nadir.
constexpr double kJumpDeg = 90;

struct Sample {
  double hours;
  double offsetDeg; // the azimuth less the asked one, -180 to 180
};

// An angle's difference, degrees, in -180 to 180.
double Wrapped(double degrees) {
  degrees = std::fmod(degrees, 360.0);
  if (degrees > 180) degrees -= 360;
  if (degrees <= -180) degrees += 360;
  return degrees;
}

class AzimuthScan {
public:
  AzimuthScan(const SunDay &day, double azimuthDeg) : day_(day), azimuthDeg_(azimuthDeg) {}

  Sample At(double hours) const {
    const SunPlace place = day_.PlaceAt(hours);
    return {hours, Wrapped(place.azimuthDeg - azimuthDeg_)};
  }

  // The samples of the date, halved where the azimuth turns fast.
  std::vector<Sample> Samples() const {
    std::vector<Sample> samples;
    Sample previous = At(kDayStart);
    samples.push_back(previous);
    for (int step = 1;; ++step) {
      const double hours = kDayStart + step * kSampleStep;
      const Sample next = At(std::min(hours, kDayEnd));
      AddBetween(previous, next, samples);
      previous = next;
      if (hours >= kDayEnd) break;
    }
    return samples;
  }

  // The passage between two samples whose offsets differ in sign, or
  // nothing where the azimuth jumped over the asked one.
  std::optional<double> Refine(Sample a, Sample b) const {
    for (int pass = 0; pass < kCrossingPasses && b.hours - a.hours > kCrossingTolerance; ++pass) {
      // The secant's point, kept inside the bracket (a tenth of it from
      // either end), else the middle.
      const double span = b.hours - a.hours;
      double t = a.hours + span * a.offsetDeg / (a.offsetDeg - b.offsetDeg);
      if (!(t > a.hours + span / 10 && t < b.hours - span / 10)) t = a.hours + span / 2;
      const Sample s = At(t);
      if (s.offsetDeg == 0) return t;
      ((s.offsetDeg < 0) == (a.offsetDeg < 0) ? a : b) = s;
    }
    if (std::fabs(a.offsetDeg - b.offsetDeg) > kJumpDeg) return std::nullopt;
    return a.hours + (b.hours - a.hours) * a.offsetDeg / (a.offsetDeg - b.offsetDeg);
  }

private:
  void AddBetween(const Sample &from, const Sample &to, std::vector<Sample> &samples) const {
    if (std::fabs(Wrapped(to.offsetDeg - from.offsetDeg)) > kLargestTurnDeg &&
        to.hours - from.hours > kShortestStep) {
      const Sample middle = At((from.hours + to.hours) / 2);
      AddBetween(from, middle, samples);
      AddBetween(middle, to, samples);
      return;
    }
    samples.push_back(to);
  }

  const SunDay &day_;
  double azimuthDeg_;
};

} // namespace

AzimuthCrossings FindAzimuthCrossings(const SunDay &day, double azimuthDeg) {
  AzimuthCrossings result;
  result.azimuthDeg = azimuthDeg;
  const AzimuthScan scan(day, azimuthDeg);
  const std::vector<Sample> samples = scan.Samples();
  for (std::size_t i = 1; i < samples.size(); ++i) {
    const Sample &a = samples[i - 1], &b = samples[i];
    // The offset changes sign through 0 (the asked azimuth), not through
    // +-180 (its opposite): neighbours are a few degrees apart.
    const bool across = (a.offsetDeg < 0) != (b.offsetDeg < 0) &&
                        std::fabs(a.offsetDeg) < kJumpDeg && std::fabs(b.offsetDeg) < kJumpDeg;
    if (!across) continue;
    const std::optional<double> hours = scan.Refine(a, b);
    if (!hours) continue;
    const long long seconds = std::llround(*hours * 3600);
    if (seconds < 0 || seconds >= kSecondsPerDay) continue; // the date before or after
    result.passages.push_back({int(seconds), day.PlaceAt(*hours).altitudeDeg});
  }
  return result;
}

} // namespace ostrel
