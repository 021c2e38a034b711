// SPDX-License-Identifier: GPL-3.0-or-later
// The Moon's place: Meeus' worked examples 47.a and 48.a, and JPL Horizons'
// airless topocentric Moon (DE431).
#include <gtest/gtest.h>

#include <erfa.h>

#include <cmath>
#include <string>

#include "core/moon/moon_place.h"

namespace ostrel {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

double JulianDate(int year, int month, int day, double hours) {
  double mjd0 = 0, mjd = 0;
  eraCal2jd(year, month, day, &mjd0, &mjd);
  return mjd0 + mjd + hours / 24;
}

// The difference of two angles in degrees, -180 to 180.
double AngleDiff(double a, double b) { return std::remainder(a - b, 360.0); }

// J. Meeus, Astronomical Algorithms, 2nd ed. (1998): example 47.a, the Moon
// on 1992 April 12 at 0h TD, and example 48.a, its illuminated fraction at
// that instant.  eraMoon98 is the full series of ch. 47 less its light-time
// term, which this code puts back as a light-time step, so the two agree
// far better than eraMoon98 agrees with the Moon itself; Meeus gives the
// figures to 1e-6 degree (0.004") and 0.1 km, and the tolerances allow the
// light-time step's form (0.1") and the nutation (IAU 2000B here, the
// 1980 theory's leading terms there: 0.05").
struct MeeusRow {
  const char *what;
  double expected, tolerance;
  double (*field)(const MoonPlace &);
};

const MeeusRow kMeeus[] = {
    {"apparent longitude, deg (47.a: 133.167265)", 133.167265, 0.2 / 3600,
     [](const MoonPlace &p) { return p.eclipticLongitudeDeg; }},
    {"latitude, deg (47.a: -3.229126)", -3.229126, 0.2 / 3600,
     [](const MoonPlace &p) { return p.eclipticLatitudeDeg; }},
    {"distance, km (47.a: 368409.7)", 368409.7, 0.5,
     [](const MoonPlace &p) { return p.geocentricDistanceKm; }},
    {"horizontal parallax, deg (47.a: 0.991990)", 0.991990, 2e-6,
     [](const MoonPlace &p) { return p.horizontalParallaxDeg; }},
    {"elongation, deg (48.a: 110.7929)", 110.7929, 2e-4,
     [](const MoonPlace &p) { return p.elongationDeg; }},
    {"phase angle, deg (48.a: 69.0756)", 69.0756, 2e-4,
     [](const MoonPlace &p) { return p.phaseAngleDeg; }},
    {"illuminated fraction (48.a: 0.6786)", 0.6786, 1e-4,
     [](const MoonPlace &p) { return p.illuminatedFraction; }},
    {"bright limb, deg (48.a: 285.0)", 285.0, 0.1,
     [](const MoonPlace &p) { return p.brightLimbAngleDeg; }},
};

TEST(MoonPlace, MeeusWorkedExamples) {
  // 0h TD; the UT of the instant by the same Delta T as the code.
  const double tt = JulianDate(1992, 4, 12, 0);
  const double ut = tt - DeltaTSeconds(1992 + 3.5 / 12) / 86400;
  const MoonPlace place = MoonPlaceAt({0.5, 0, 0}, ut);
  for (const MeeusRow &row : kMeeus) {
    EXPECT_NEAR(row.field(place), row.expected, row.tolerance) << row.what;
  }
  // Between first quarter (1992 April 10) and full moon (April 17).
  EXPECT_EQ(place.phase, MoonPhase::WaxingGibbous);
}

// JPL Horizons, the Moon from 29 N 279 E (10 m above the ellipsoid),
// without refraction ("airless"), DE431: astrometric (ICRF) and apparent
// (of date) right ascension and declination, azimuth and elevation, as kept
// in astronomy-engine's repository (generate/horizons/airless_Moon.txt).
// Every 10 days at 0h UT; eraMoon98's stated worst error over 1950-2100 is
// 18.3" in direction, so each angle is allowed 20" on the sky (azimuth
// scaled by the cosine of the elevation).
struct HorizonsRow {
  int year, month, day;
  double astrometricRaDeg, astrometricDecDeg, apparentRaDeg, apparentDecDeg, azimuthDeg,
      elevationDeg;
};

const HorizonsRow kHorizons[] = {
    {1900, 1, 11, 53.62509, 21.32064, 52.18154, 20.98649, 105.6825, 67.6014},
    {1901, 3, 27, 94.75425, 19.94456, 93.29402, 19.98141, 225.6516, 77.5591},
    {2000, 9, 3, 218.48783, -10.64554, 218.49010, -10.64535, 232.6844, 32.6608},
    {2000, 11, 22, 193.11189, -0.70168, 193.11506, -0.70324, 306.1894, -47.8014},
    {2001, 1, 31, 22.27766, 3.48581, 22.28620, 3.48840, 230.1630, 53.8413},
    {2002, 10, 13, 288.31401, -26.21286, 288.35149, -26.20990, 192.9718, 33.5966},
    {2003, 2, 10, 54.41969, 18.47243, 54.46067, 18.48255, 200.9521, 78.8056},
    {2004, 6, 24, 164.07001, 11.03773, 164.12464, 11.01648, 240.4699, 58.7737},
    {2005, 10, 17, 16.28707, 6.48128, 16.36602, 6.51457, 93.1198, 19.0755},
};

TEST(MoonPlace, AgreesWithHorizons) {
  const Site site{29 * kDeg, 279.0 / 15, 0};
  const double tolerance = 20.0 / 3600;
  for (const HorizonsRow &row : kHorizons) {
    const std::string when = std::to_string(row.year) + "-" + std::to_string(row.month) + "-" +
                             std::to_string(row.day);
    const double jd = JulianDate(row.year, row.month, row.day, 0);
    const MoonPlace place = MoonPlaceAt(site, jd);
    const AstrometricPlace astrometric = MoonAstrometricAt(site, jd);
    const double cosDec = std::cos(row.apparentDecDeg * kDeg);
    EXPECT_NEAR(AngleDiff(astrometric.rightAscensionHours * 15, row.astrometricRaDeg) * cosDec, 0,
                tolerance)
        << when << " astrometric RA";
    EXPECT_NEAR(astrometric.declinationDeg, row.astrometricDecDeg, tolerance)
        << when << " astrometric Dec";
    EXPECT_NEAR(AngleDiff(place.rightAscensionHours * 15, row.apparentRaDeg) * cosDec, 0, tolerance)
        << when << " apparent RA";
    EXPECT_NEAR(place.declinationDeg, row.apparentDecDeg, tolerance) << when << " apparent Dec";
    EXPECT_NEAR(place.altitudeDeg, row.elevationDeg, tolerance) << when << " elevation";
    EXPECT_NEAR(AngleDiff(place.azimuthDeg, row.azimuthDeg) * std::cos(row.elevationDeg * kDeg), 0,
                tolerance)
        << when << " azimuth";
  }
}

// The phase's name at moments a person can check against the U.S. Naval
// Observatory's table of quarters (astronomy-engine's generate/moonphase/
// moonphases.txt): 2020 November 30 09:30 full moon, December 8 00:36
// last quarter, December 14 16:16 new moon, December 21 23:41 first
// quarter, December 30 03:28 full moon; a quarter's name holds for 12 hours
// either side of its instant.
struct PhaseRow {
  int month, day;
  double hoursUt;
  MoonPhase expected;
  const char *key;
};

const PhaseRow kPhases[] = {
    {12, 3, 0, MoonPhase::WaningGibbous, "waning_gibbous"},
    {12, 8, 0.6, MoonPhase::LastQuarter, "last_quarter"},
    {12, 11, 0, MoonPhase::WaningCrescent, "waning_crescent"},
    {12, 14, 16.27, MoonPhase::NewMoon, "new_moon"},
    {12, 15, 4.0, MoonPhase::NewMoon, "new_moon"}, // 11.7 h after
    {12, 15, 4.6, MoonPhase::WaxingCrescent, "waxing_crescent"}, // 12.3 h after
    {12, 21, 11.9, MoonPhase::FirstQuarter, "first_quarter"}, // 11.8 h before
    {12, 21, 11.4, MoonPhase::WaxingCrescent, "waxing_crescent"}, // 12.3 h before
    {12, 25, 0, MoonPhase::WaxingGibbous, "waxing_gibbous"},
    {12, 30, 3.47, MoonPhase::FullMoon, "full_moon"},
};

TEST(MoonPlace, PhaseNames) {
  for (const PhaseRow &row : kPhases) {
    const MoonPlace place = MoonPlaceAt({0.9, 0, 0}, JulianDate(2020, row.month, row.day, row.hoursUt));
    EXPECT_EQ(place.phase, row.expected) << row.month << "-" << row.day << " " << row.hoursUt;
    EXPECT_STREQ(NamesOf(place.phase).key, row.key);
  }
}

// The age counts from the last new moon: 2020 December 14 16:16 UT (USNO).
TEST(MoonPlace, AgeSinceNewMoon) {
  const double newMoon = JulianDate(2020, 12, 14, 16 + 16 / 60.0);
  const double at = JulianDate(2020, 12, 25, 0);
  const MoonPlace place = MoonPlaceAt({0.9, 0, 0}, at);
  EXPECT_NEAR(place.ageDays, at - newMoon, 60.0 / 86400) << "the table's minute";
}

// The waning half and the names in both languages.
TEST(MoonPlace, NamesOfEveryPhase) {
  struct Row {
    MoonPhase phase;
    const char *key, *english, *russian;
  };
  const Row rows[] = {
      {MoonPhase::NewMoon, "new_moon", "New moon", "Новолуние"},
      {MoonPhase::WaxingCrescent, "waxing_crescent", "Waxing crescent", "Растущий серп"},
      {MoonPhase::FirstQuarter, "first_quarter", "First quarter", "Первая четверть"},
      {MoonPhase::WaxingGibbous, "waxing_gibbous", "Waxing gibbous", "Растущая луна"},
      {MoonPhase::FullMoon, "full_moon", "Full moon", "Полнолуние"},
      {MoonPhase::WaningGibbous, "waning_gibbous", "Waning gibbous", "Убывающая луна"},
      {MoonPhase::LastQuarter, "last_quarter", "Last quarter", "Последняя четверть"},
      {MoonPhase::WaningCrescent, "waning_crescent", "Waning crescent", "Убывающий серп"},
  };
  for (const Row &row : rows) {
    EXPECT_STREQ(NamesOf(row.phase).key, row.key);
    EXPECT_STREQ(NamesOf(row.phase).english, row.english);
    EXPECT_STREQ(NamesOf(row.phase).russian, row.russian);
  }
}

} // namespace
} // namespace ostrel
