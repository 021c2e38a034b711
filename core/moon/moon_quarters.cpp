// SPDX-License-Identifier: GPL-3.0-or-later
// The quarters by Newton's method on the difference of longitudes, which
// grows steadily (the Moon gains 10.5 to 14.5 degrees a day on the Sun), so
// that each quarter is its only root within half a lunation.
//
// Most of an exact evaluation is the Earth's place (eraEpv00, some 40 us of
// 50).  A quarter's search takes it exactly once, at its first guess, and
// carries it over the hours to the root (CarriedEarth); the Moon, the
// precession, the nutation and the apparent Sun are formed afresh at every
// step.
#include "core/moon/moon_quarters.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <optional>

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
// The Sun's gravitational parameter, AU^3 a day^2 (the Gaussian constant
// squared), and the Earth's and the Moon's masses in the Sun's (IAU 2009
// system of astronomical constants: Sun/Earth 332946.0487, Earth/Moon
// 81.30056907).
constexpr double kSunGm = 0.01720209895 * 0.01720209895;
constexpr double kEarthPerSun = 1 / 332946.0487;
constexpr double kMoonPerSun = kEarthPerSun / 81.30056907;
// The Earth is carried no further than this from its exact evaluation,
// days: the carry's error in the Sun's longitude grows as the fourth power
// of its length, 0.0002" at half a day, 0.002" at one, 0.02" at two (the
// largest of 2000 moments over 1700-2100 against eraEpv00), where the Moon
// gains 0.5" a second.  A first guess is mostly within a day of its root.
constexpr double kCarryDays = 1;
// Newton's steps end after one shorter than this, days (86 s).  The slope
// is the Moon's rate less the Sun's, each from its own velocity, right to
// about 1e-5 (the aberration's and the frame's slow turning are left out);
// the elongation's rate changes by at most 0.6 degrees a day^2 against at
// least 10.5 degrees a day.  A step m days long thus leaves the root within
// 1e-5 m + 0.03 m^2 days of its end: 4e-8 days (3 ms) here.
constexpr double kSettledDays = 1e-3;
constexpr int kMostSteps = 12;

// The geometric Sun from the Earth's centre at a moment, AU and AU a day,
// ICRS axes, and the Earth's barycentric velocity, units of c.
struct EarthMotion {
  double sun[3];
  double sunRate[3];
  double velocityC[3];
};

// The Earth from one exact evaluation (eraEpv00) at the moment of
// `earth`, carried by its third-order Taylor series in TT.  The
// acceleration and its rate are those of the Sun's pull and of the Moon's:
// the Moon swings the Earth by 4,700 km about their barycentre each month,
// 6" in the Sun's longitude and 0.34" a day^2, which a Sun's pull alone
// would leave.  The planets' pulls are some 1e-4 of the Sun's and left out.
class CarriedEarth {
public:
  CarriedEarth(const EarthOrientation &earth, const GeocentricMoon &moon)
      : ut1_(earth.ut1), tt2_(earth.tt2), julianDateUt_(earth.ut1 + earth.ut2) {
    double heliocentric[2][3], barycentric[2][3];
    eraEpv00(earth.ut1, earth.tt2, heliocentric, barycentric);
    for (int i = 0; i < 3; ++i) {
      exact_.sun[i] = -heliocentric[0][i];
      exact_.sunRate[i] = -heliocentric[1][i];
      exact_.velocityC[i] = barycentric[1][i] * ERFA_AULT / ERFA_DAYSEC;
    }
    // The Earth falls towards the Sun and towards the Moon; the Sun seen
    // from the Earth moves the opposite way.
    double towardSun[3], towardSunRate[3], towardMoon[3], towardMoonRate[3];
    Pull(kSunGm * (1 + kEarthPerSun), exact_.sun, exact_.sunRate, towardSun, towardSunRate);
    Pull(kSunGm * kMoonPerSun, moon.gcrs, moon.rate, towardMoon, towardMoonRate);
    for (int i = 0; i < 3; ++i) {
      sunAcceleration_[i] = -(towardSun[i] + towardMoon[i]);
      sunJerk_[i] = -(towardSunRate[i] + towardMoonRate[i]);
    }
  }

  double julianDateUt() const { return julianDateUt_; }

  EarthMotion At(const EarthOrientation &earth) const {
    const double dt = (earth.ut1 - ut1_) + (earth.tt2 - tt2_); // days of TT
    EarthMotion carried;
    for (int i = 0; i < 3; ++i) {
      // The acceleration's mean over dt, AU a day^2, which moves the velocity.
      const double a = sunAcceleration_[i] + dt / 2 * sunJerk_[i];
      const double meanRate =
          exact_.sunRate[i] + dt / 2 * (sunAcceleration_[i] + dt / 3 * sunJerk_[i]);
      carried.sun[i] = exact_.sun[i] + dt * meanRate;
      carried.sunRate[i] = exact_.sunRate[i] + dt * a;
      carried.velocityC[i] = exact_.velocityC[i] - dt * a * ERFA_AULT / ERFA_DAYSEC;
    }
    return carried;
  }

private:
  // The acceleration towards a body of gravitational parameter gm (AU^3
  // a day^2) at `toward` (AU, moving at `rate` AU a day), and its rate:
  // gm r / |r|^3 and gm (v / |r|^3 - 3 r (r.v) / |r|^5).
  static void Pull(double gm, const double toward[3], const double rate[3],
                   double acceleration[3], double jerk[3]) {
    const double r2 = toward[0] * toward[0] + toward[1] * toward[1] + toward[2] * toward[2];
    const double r = std::sqrt(r2);
    const double rv = toward[0] * rate[0] + toward[1] * rate[1] + toward[2] * rate[2];
    const double k = gm / (r2 * r);
    for (int i = 0; i < 3; ++i) {
      acceleration[i] = k * toward[i];
      jerk[i] = k * (rate[i] - 3 * toward[i] * rv / r2);
    }
  }

  double ut1_, tt2_, julianDateUt_;
  EarthMotion exact_{};
  double sunAcceleration_[3] = {}; // AU a day^2
  double sunJerk_[3] = {};         // AU a day^3
};

// The rate of the ecliptic longitude of date, degrees a day, of a body at
// `position` moving at `velocity` (AU and AU a day, ICRS axes):
// d(atan2(Y, X))/dt on the ecliptic of date (the frame's own turning, 50" a
// year, does not matter for a slope).
double LongitudeRateDegPerDay(const EarthOrientation &earth, const double positionOfDate[3],
                              const double velocity[3]) {
  double v[3];
  Rotate(earth.matrix, velocity, v);
  const double c = std::cos(earth.trueObliquity), s = std::sin(earth.trueObliquity);
  const double x = positionOfDate[0], y = positionOfDate[1] * c + positionOfDate[2] * s;
  const double vx = v[0], vy = v[1] * c + v[2] * s;
  return (x * vy - y * vx) / (x * x + y * y) * kRadToDeg;
}

struct Elongation {
  double deg;           // 0 to 360
  double rateDegPerDay; // its rate
};

Elongation ElongationOf(const EarthOrientation &earth, const GeocentricMoon &moon,
                        const EarthMotion &motion) {
  const GeocentricSun sun = ApparentGeocentricSun(motion.sun, motion.velocityC, earth);
  double difference = (moon.eclipticLongitudeRad - sun.eclipticLongitudeRad) * kRadToDeg;
  difference -= kTurnDeg * std::floor(difference / kTurnDeg);
  return {difference, LongitudeRateDegPerDay(earth, moon.ofDate, moon.rate) -
                          LongitudeRateDegPerDay(earth, sun.ofDate, motion.sunRate)};
}

// The instant at which the elongation is targetDeg (0, 90, 180 or 270),
// from a guess within a few days of it; *rate, when given, receives the
// elongation's rate there, degrees a day.
double SolveQuarter(double targetDeg, double guessJulianDateUt, double *rate = nullptr) {
  double t = guessJulianDateUt;
  std::optional<CarriedEarth> carried;
  for (int step = 0; step < kMostSteps; ++step) {
    const EarthOrientation earth = EarthOrientationAt(t);
    const GeocentricMoon moon = MoonAt(earth);
    if (!carried || std::fabs(t - carried->julianDateUt()) > kCarryDays) {
      carried.emplace(earth, moon);
    }
    const Elongation e = ElongationOf(earth, moon, carried->At(earth));
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

double MoonSunElongationDeg(double julianDateUt) {
  const EarthOrientation earth = EarthOrientationAt(julianDateUt);
  const GeocentricMoon moon = MoonAt(earth);
  return ElongationOf(earth, moon, CarriedEarth(earth, moon).At(earth)).deg;
}

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
