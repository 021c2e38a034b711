// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/events/seasons.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "core/sun/precise_sun.h"

namespace ostrel {
namespace {

constexpr double kSecondsPerDay = 86400;
// An iteration stops when the error it predicts for its next step is
// below this, days (1 ms): far below the theory's own error, some seconds.
constexpr double kToleranceDays = 1e-3 / kSecondsPerDay;

// The Julian date (full) of 0 h on a Gregorian calendar date, plus days.
double JulianDate(int year, int month, double day) {
  double djm0 = 0, djm = 0;
  eraCal2jd(year, month, 1, &djm0, &djm);
  return djm0 + djm + (day - 1);
}

// One evaluation of a function whose root is sought: its value, and its
// slope (a day) as a model gives it, which need not be exact.
struct Sample {
  double value;
  double slope;
};

// How a search steps and when it may stop (W. H. Press et al., Numerical
// Recipes, 3rd ed., 2007, sections 9.2 and 9.4).  The error after a step
// of s days is about slopeError |s| + curvature |s| |s'|, where s' is the
// step before (Newton's method: s' = s; the secant method: the last two
// steps), slopeError the model slope's relative error and curvature half
// the function's second derivative over its first, a day.
struct Search {
  bool secant;       // after the first step, slopes from the last two samples
  double slopeError; // dimensionless
  double curvature;  // a day
  double windowDays; // the root is sought within this of the guess
};

// The root of f near guess (days), or std::nullopt when the iteration
// leaves the window or has not settled in 12 steps.  The iteration
// is not bracketed: FindSeasons is tested over every year it answers.
template <class Function>
std::optional<double> RootNear(Function f, double guess, const Search &search) {
  double t = guess;
  Sample sample = f(t);
  double previousT = 0, previousValue = 0, previousStep = 0;
  for (int evaluation = 1; evaluation <= 12; ++evaluation) {
    double slope = sample.slope;
    if (search.secant && evaluation > 1) slope = (sample.value - previousValue) / (t - previousT);
    if (!(slope != 0)) return std::nullopt;
    const double step = -sample.value / slope;
    const double next = t + step;
    if (!(std::fabs(next - guess) <= search.windowDays)) return std::nullopt;
    const double before = search.secant && evaluation > 1 ? previousStep : step;
    const double predicted =
        (search.secant && evaluation > 1 ? 0 : search.slopeError * std::fabs(step)) +
        search.curvature * std::fabs(step) * std::fabs(before);
    if (predicted < kToleranceDays) return next;
    previousT = t;
    previousValue = sample.value;
    previousStep = step;
    t = next;
    sample = f(t);
  }
  return std::nullopt;
}

// The instant, Julian date UT, the Sun's apparent longitude of date reaches
// targetRad, by Newton's method from a guess: the instant of the year 2000
// (hours UT of the calendar day given) moved by whole mean tropical years
// of 365.24219 days.  Each point's own year differs from the mean by under
// 6e-4 day, so over 1700 to 2100 the guess is within about 0.2 day.  The
// slope is the geometric longitude's rate (error about 1e-4); the rate
// itself changes by at most 5.7e-4 deg a day per day, over about 1 deg a
// day, so the curvature is 2.9e-4 a day: two evaluations, at most three.
std::optional<double> LongitudeCrossing(int year, int month, int day2000, double hours2000,
                                        double targetRad) {
  constexpr Search kNewton{false, 2e-4, 2.9e-4, 3};
  constexpr double kTropicalYear = 365.24219; // days
  const double guess = JulianDate(2000, month, day2000 + hours2000 / 24) + kTropicalYear * (year - 2000);
  return RootNear(
      [targetRad](double julianDateUt) {
        const GeocentricSun sun = PreciseGeocentricAt(julianDateUt);
        return Sample{std::remainder(sun.eclipticLongitudeRad - targetRad, ERFA_D2PI),
                      sun.eclipticLongitudeRateRadPerDay};
      },
      guess, kNewton);
}

// The Julian date UT of a Julian date TT, inverting TT = UT + Delta T(UT)
// as the precise theory forms it.  Delta T changes by under a second a
// year, so the fixed point settles to far below a millisecond at once.
double UtOfTt(double julianDateTt) {
  double ut = julianDateTt;
  for (int i = 0; i < 3; ++i) ut = julianDateTt - DeltaTSecondsAt(ut) / kSecondsPerDay;
  return ut;
}

// The Earth's centre from the Sun's at a Julian date TT, from eraEpv00
// (TDB taken as TT: they differ by less than 2 ms): distance, AU; the
// radial velocity, AU a day, positive receding; and its rate, AU a day per
// day, as the Sun's attraction alone makes it, (v^2 - k^2 / r - rdot^2) / r
// with k the Gaussian gravitational constant (the Moon's pull on the Earth
// changes it by up to a third).
struct Heliocentric {
  double distanceAU;
  double radialVelocity;
  double radialAcceleration;
};

Heliocentric HeliocentricAt(double julianDateTt) {
  constexpr double kGaussK = 0.01720209895; // AU^(3/2) per day, IAU 1976
  double heliocentric[2][3], barycentric[2][3];
  eraEpv00(ERFA_DJ00, julianDateTt - ERFA_DJ00, heliocentric, barycentric);
  const double r = eraPm(heliocentric[0]);
  const double rdot = eraPdp(heliocentric[0], heliocentric[1]) / r;
  const double v2 = eraPdp(heliocentric[1], heliocentric[1]);
  return {r, rdot, (v2 - kGaussK * kGaussK / r - rdot * rdot) / r};
}

// (cppcheck misses the members' use through std::optional.)
struct Apsis {
  // cppcheck-suppress unusedStructMember
  double julianDateUt;
  // cppcheck-suppress unusedStructMember
  double distanceAU;
};

// The apsis nearest the calendar day (month, day) of the year: the root of
// the radial velocity, one step of Newton's method by the Sun's attraction
// and then the secant method.
//
// Why the root found is the nearest, and the search's constants: the
// apsides of the Earth's centre keep within 5.5 days of 0 h on 3 January
// and 4 July over 1700 to 2100 (as found: -5.4 to +2.9 and -5.3 to +3.6
// days; the Moon moves them by up to some 1.5 days),
// and the radial velocity is monotonic for some 70 days either side of an
// apsis -- the barycentre's changes by about 8.6 m/s a day there, the
// Moon's monthly swing of the Earth's centre (12.5 m/s) by at most 2.7 m/s
// a day, and 0.57 m/s a day per day (curvature 0.57 / (2 x 5.9) = 0.05 a
// day) -- so within 20 days there is exactly one root.
std::optional<Apsis> FindApsis(int year, int month, double day) {
  constexpr Search kSecant{true, 0.35, 0.05, 20};
  const double guessUt = JulianDate(year, month, day);
  double lastTt = 0;
  Heliocentric last{};
  const std::optional<double> tt = RootNear(
      [&](double julianDateTt) {
        lastTt = julianDateTt;
        last = HeliocentricAt(julianDateTt);
        return Sample{last.radialVelocity, last.radialAcceleration};
      },
      guessUt + DeltaTSecondsAt(guessUt) / kSecondsPerDay, kSecant);
  if (!tt) return std::nullopt;
  // The distance carried from the last sample to the root, which the
  // search left less than a day away (the term in dt^2 is then under 1e-5
  // AU wrong by a third; in practice dt is below 1e-3 day, 1e-12 AU).
  const double dt = *tt - lastTt;
  return Apsis{UtOfTt(*tt),
               last.distanceAU + last.radialVelocity * dt + last.radialAcceleration * dt * dt / 2};
}

} // namespace

std::optional<Seasons> FindSeasons(int year) {
  if (year < kFirstSeasonsYear || year > kLastSeasonsYear) return std::nullopt;
  const double kQuarter = ERFA_D2PI / 4;
  // The instants of 2000 from the U.S. Naval Observatory's table, UT.
  const std::optional<double> march = LongitudeCrossing(year, 3, 20, 7 + 35 / 60.0, 0);
  const std::optional<double> june = LongitudeCrossing(year, 6, 21, 1 + 48 / 60.0, kQuarter);
  const std::optional<double> september = LongitudeCrossing(year, 9, 22, 17 + 28 / 60.0, 2 * kQuarter);
  const std::optional<double> december = LongitudeCrossing(year, 12, 21, 13 + 37 / 60.0, 3 * kQuarter);
  const std::optional<Apsis> perihelion = FindApsis(year, 1, 3);
  const std::optional<Apsis> aphelion = FindApsis(year, 7, 4);
  if (!march || !june || !september || !december || !perihelion || !aphelion) return std::nullopt;

  Seasons seasons;
  seasons.marchEquinox = *march;
  seasons.juneSolstice = *june;
  seasons.septemberEquinox = *september;
  seasons.decemberSolstice = *december;
  seasons.perihelion = perihelion->julianDateUt;
  seasons.aphelion = aphelion->julianDateUt;
  seasons.perihelionAU = perihelion->distanceAU;
  seasons.aphelionAU = aphelion->distanceAU;
  return seasons;
}

namespace {
constexpr SeasonEventRow kSeasonEventRows[] = {
    {"march_equinox", "March equinox", "Мартовское равноденствие", &Seasons::marchEquinox},
    {"june_solstice", "June solstice", "Июньское солнцестояние", &Seasons::juneSolstice},
    {"september_equinox", "September equinox", "Сентябрьское равноденствие", &Seasons::septemberEquinox},
    {"december_solstice", "December solstice", "Декабрьское солнцестояние", &Seasons::decemberSolstice},
    {"perihelion", "Perihelion", "Перигелий", &Seasons::perihelion},
    {"aphelion", "Aphelion", "Афелий", &Seasons::aphelion},
};
} // namespace

std::span<const SeasonEventRow> SeasonEventRows() { return kSeasonEventRows; }

} // namespace ostrel
