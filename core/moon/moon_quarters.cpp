// SPDX-License-Identifier: GPL-3.0-or-later
// The quarters by Newton's method on the difference of longitudes, which
// grows steadily (the Moon gains 10.5 to 14.5 degrees a day on the Sun), so
// that each quarter is its only root within half a lunation.
#include "core/moon/moon_quarters.h"

#include <cmath>

#include "core/moon/moon_theory.h"
#include "core/sun/precise_sun.h"

namespace ostrel {
namespace {

constexpr double kTurnDeg = 360;
constexpr double kRadToDeg = 180 / 3.14159265358979323846;
// The mean synodic month, days (Meeus, eq. 49.1), and the Moon's mean gain
// on the Sun, degrees a day.
constexpr double kSynodicMonthDays = 29.530588861;
constexpr double kMeanGainDegPerDay = kTurnDeg / kSynodicMonthDays;
// The Sun's mean motion in longitude, degrees a day: the Newton step's
// slope takes the Moon's own rate from eraMoon98 and this for the Sun.
constexpr double kSunMeanMotionDegPerDay = 0.98564736;
// Newton's steps end after one shorter than this, days (8.6 s): the slope
// is right to 0.3% (the Sun's mean motion stands for its own), so the root
// lies within 0.003 of the last step of its end, under 0.03 s.
constexpr double kSettledDays = 1e-4;
constexpr int kMostSteps = 12;

struct Elongation {
  double deg;             // 0 to 360
  double rateDegPerDay;   // its rate
};

Elongation ElongationAt(double julianDateUt) {
  const EarthOrientation earth = EarthOrientationAt(julianDateUt);
  const GeocentricMoon moon = MoonAt(earth);
  const GeocentricSun sun = PreciseGeocentricSun(earth);
  double difference = (moon.eclipticLongitudeRad - sun.eclipticLongitudeRad) * kRadToDeg;
  difference -= kTurnDeg * std::floor(difference / kTurnDeg);
  // The Moon's rate in longitude, d(atan2(Y, X))/dt on the ecliptic of
  // date, from its velocity (the frame's own turning, 50" a year, does not
  // matter for a slope).
  double velocity[3];
  Rotate(earth.matrix, moon.rate, velocity);
  const double c = std::cos(earth.trueObliquity), s = std::sin(earth.trueObliquity);
  const double x = moon.ofDate[0], y = moon.ofDate[1] * c + moon.ofDate[2] * s;
  const double vx = velocity[0], vy = velocity[1] * c + velocity[2] * s;
  const double moonRate = (x * vy - y * vx) / (x * x + y * y) * kRadToDeg;
  return {difference, moonRate - kSunMeanMotionDegPerDay};
}

// The instant at which the elongation is targetDeg (0, 90, 180 or 270),
// from a guess within a few days of it; *rate, when given, receives the
// elongation's rate there, degrees a day.
double SolveQuarter(double targetDeg, double guessJulianDateUt, double *rate = nullptr) {
  double t = guessJulianDateUt;
  for (int step = 0; step < kMostSteps; ++step) {
    const Elongation e = ElongationAt(t);
    const double miss = std::remainder(e.deg - targetDeg, kTurnDeg);
    const double move = -miss / e.rateDegPerDay;
    t += move;
    if (rate) *rate = e.rateDegPerDay;
    if (std::fabs(move) < kSettledDays) break;
  }
  return t;
}

MoonQuarter QuarterOf(int index) { return static_cast<MoonQuarter>(((index % 4) + 4) % 4); }

} // namespace

double MoonSunElongationDeg(double julianDateUt) { return ElongationAt(julianDateUt).deg; }

std::vector<QuarterInstant> FindQuarters(double from, double to) {
  std::vector<QuarterInstant> quarters;
  if (!(to > from)) return quarters;
  // From the quarter at or before the start (a root a few milliseconds
  // after `from` can read as one before it), each a quarter of a mean
  // lunation after the last.
  const double start = MoonSunElongationDeg(from);
  int index = static_cast<int>(std::floor(start / 90));
  double guess = from - (start - index * 90) / kMeanGainDegPerDay;
  for (;;) {
    double rate = kMeanGainDegPerDay;
    const double t = SolveQuarter(std::fmod(index * 90.0, kTurnDeg), guess, &rate);
    if (t >= to) break;
    if (t >= from) quarters.push_back({QuarterOf(index), t});
    ++index;
    // The next quarter a quarter turn ahead at the mean of the present gain
    // and the month's mean gain: the gain changes by a fifth within a week.
    guess = t + 90 / ((rate + kMeanGainDegPerDay) / 2);
  }
  return quarters;
}

QuartersAround FindQuartersAround(double julianDateUt) {
  const double d = MoonSunElongationDeg(julianDateUt);
  const int index = static_cast<int>(std::floor(d / 90));
  QuartersAround around;
  double previous = SolveQuarter(index * 90.0, julianDateUt - (d - index * 90) / kMeanGainDegPerDay);
  double next = SolveQuarter(std::fmod((index + 1) * 90.0, kTurnDeg),
                             julianDateUt + ((index + 1) * 90 - d) / kMeanGainDegPerDay);
  // The elongation read at the moment and the solved roots agree to a few
  // milliseconds; a root on the wrong side of the moment moves one quarter.
  int previousIndex = index;
  if (previous > julianDateUt) {
    next = previous;
    --previousIndex;
    previous = SolveQuarter(std::fmod((previousIndex + 4) * 90.0, kTurnDeg),
                            next - kSynodicMonthDays / 4);
  } else if (next <= julianDateUt) {
    previous = next;
    ++previousIndex;
    next = SolveQuarter(std::fmod((previousIndex + 1) * 90.0, kTurnDeg),
                        previous + kSynodicMonthDays / 4);
  }
  around.previous = {QuarterOf(previousIndex), previous};
  around.next = {QuarterOf(previousIndex + 1), next};
  if (around.previous.quarter == MoonQuarter::NewMoon) {
    around.lastNewMoonJulianDateUt = previous;
  } else {
    const int sinceNew = (previousIndex % 4 + 4) % 4;
    around.lastNewMoonJulianDateUt =
        SolveQuarter(0, previous - sinceNew * kSynodicMonthDays / 4);
  }
  return around;
}

} // namespace ostrel
