// SPDX-License-Identifier: GPL-3.0-or-later
// The precise theory against references: worked examples of a textbook,
// the committed vectors of astronomy-engine (tests/data, written by
// tools/reference/make-vectors.mjs) and JPL Horizons' astrometric place.
//
// astronomy-engine is the weaker reference: its own Earth is off by up to
// 2.8" in direction from 1900 to 2100 and 5.0" in the 1700s, and by
// 1.6e-5 AU in distance (ostrel_accuracy measures it against Horizons and
// ERFA's Earth).  Where that dominates, a tolerance is the reference's own
// error with a margin for ours, and says so.
#include <gtest/gtest.h>

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/run/ephemeris.h"
#include "core/sun/precise_sun.h"
#include "core/run/typed_input.h"
#include "tools/reference_vectors.h"

namespace ostrel::test {
namespace {

using namespace ostrel::reference;

constexpr double kSecondsPerDay = 86400;

double Hours(double h, double m, double s) { return h + m / 60 + s / 3600; }

// ---- Published figures -----------------------------------------------------

// J. Meeus, Astronomical Algorithms, 2nd ed. (1998).  Example 25.b: the
// Sun on 1992 October 13.0 TD (JDE 2448908.5) from the full VSOP87,
// apparent right ascension 13h 13m 30.749s, declination -7 deg 47' 01.74",
// radius vector 0.99760853 AU (the results of the complete theory; the
// abridged one of the book's appendix gives 0.99760775).  The examples are geocentric; seen from the
// point where the Sun stands in the zenith the parallax vanishes (within
// 0.01": the geodetic and geocentric verticals part by 0.05 deg there).
constexpr double kExampleTT = 2448908.5;
constexpr double kExampleRaHours = 13 + 13 / 60.0 + 30.749 / 3600;
constexpr double kExampleDecDeg = -(7 + 47 / 60.0 + 1.74 / 3600);

double ExampleUt() { return kExampleTT - DeltaTSeconds(1992.78) / kSecondsPerDay; }

SunPlace FromTheSubsolarPoint() {
  const double greenwich = PrecisePlaceAt(Site{0, 0, 0}, ExampleUt()).localSiderealHours;
  const Site subsolar{kExampleDecDeg * kRad, std::remainder(kExampleRaHours - greenwich, 24), 0};
  return PrecisePlaceAt(subsolar, ExampleUt());
}

struct Published {
  const char *what;
  const char *source;
  std::function<double()> actual;
  double expected;
  double tolerance;
  const char *unit;
  const char *why; // of the tolerance
};

TEST(PreciseReference, AgreesWithPublishedFigures) {
  const Published rows[] = {
      {"apparent sidereal time at Greenwich, 1987 April 10 0h UT, seconds",
       "Meeus, example 12.a: 13h 10m 46.1351s",
       [] { return PrecisePlaceAt(Site{0, 0, 0}, 2446895.5).localSiderealHours * 3600; },
       Hours(13, 10, 46.1351) * 3600, 0.01, "s",
       "IAU 1982 sidereal time and 1980 nutation there, IAU 2006/2000B here: their nutations "
       "in longitude part by some 0.05\" (3 ms), their mean sidereal times by less"},
      {"apparent right ascension, 1992 October 13.0 TD, on the sky",
       "Meeus, example 25.b: 13h 13m 30.749s",
       [] {
         return (FromTheSubsolarPoint().rightAscensionHours - kExampleRaHours) * 15 * 3600 *
                std::cos(kExampleDecDeg * kRad);
       },
       0, 0.2, "\"",
       "VSOP87 in the FK5 frame with 1980 nutation there, ERFA's Earth in the ICRS with "
       "2000B nutation here: a tenth of a second of arc or two"},
      {"apparent declination, 1992 October 13.0 TD", "Meeus, example 25.b: -7 deg 47' 01.74\"",
       [] { return FromTheSubsolarPoint().declinationDeg * 3600; }, kExampleDecDeg * 3600, 0.2,
       "\"", "as the right ascension"},
      {"Earth-Sun distance, 1992 October 13.0 TD", "Meeus, example 25.b: 0.99760853 AU",
       [] { return PrecisePlaceAt(Site{0, 0, 0}, ExampleUt()).distanceAU; }, 0.99760853, 2e-7,
       "AU", "the goal of the distance; VSOP87 and ERFA's Earth agree far better"},
      {"equation of time, 1992 October 13 at 0h, seconds", "Meeus, example 28.a: +13m 42.6s",
       [] {
         // Local mean noon at 180 degrees east is 0h UT (59 s before 0h TD,
         // when the equation of time moves by 0.01 s).
         Ephemeris e;
         e.theory = Theory::Precise;
         SetSite(e.state, 12, 0, 12);
         SetTypedMoment(e.state, 1992, 10, 13, 12, 0, 0);
         e.MAINCALC();
         return e.state.EquationOfTime * 3600;
       },
       13 * 60 + 42.6, 0.3, "s",
       "printed to 0.1 s; the example's mean Sun is its mean longitude L0, ours the one the "
       "sidereal time implies, and with the site's parallax (0.04 s) they part by tenths of "
       "a second"},
  };
  for (const Published &row : rows) {
    const double actual = row.actual();
    EXPECT_NEAR(actual, row.expected, row.tolerance)
        << row.what << " (" << row.source << "): expected " << row.expected << " " << row.unit
        << ", actual " << actual << ", tolerance " << row.tolerance << " (" << row.why << ")";
  }
}

// ---- astronomy-engine's vectors ---------------------------------------------

std::string VectorsFile(const char *name) { return std::string(OSTREL_REFERENCE_DIR) + "/" + name; }

// The precise theory at every moment of the vectors, paired with the row.
struct PlacePair {
  PlaceRow reference;
  SunPlace ours;
};

const std::vector<PlacePair> &Places() {
  static const std::vector<PlacePair> pairs = [] {
    std::vector<PlacePair> out;
    for (const PlaceRow &row : ReadPlaces(VectorsFile("sun-places.csv"))) {
      const PreciseSunDay day(SiteOf(row.site), row.date);
      out.push_back({row, day.PlaceAt(row.localHours())});
    }
    return out;
  }();
  return pairs;
}

struct PlaceCheck {
  const char *quantity;
  int firstYear, lastYear;
  std::function<double(const PlacePair &)> error;
  double tolerance;
  const char *why;
};

double RightAscensionError(const PlacePair &p) {
  return AngleDifference(p.ours.rightAscensionHours, p.reference.raHours, 24) * 15 * 3600 *
         std::cos(p.reference.decDeg * kRad);
}
double DeclinationError(const PlacePair &p) {
  return (p.ours.declinationDeg - p.reference.decDeg) * 3600;
}
double LongitudeError(const PlacePair &p) {
  return AngleDifference(p.ours.eclipticLongitudeDeg, p.reference.longitudeDeg, 360) * 3600;
}
double AltitudeError(const PlacePair &p) {
  return (p.ours.altitudeDeg - p.reference.altDeg) * 3600;
}
// On the sky: the azimuth's own error grows as 1 / cos h toward the zenith.
double AzimuthError(const PlacePair &p) {
  return AngleDifference(p.ours.azimuthDeg, p.reference.azDeg, 360) * 3600 *
         std::cos(p.reference.altDeg * kRad);
}

TEST(PreciseReference, PlaceAgreesWithTheVectors) {
  ASSERT_GE(Places().size(), 2000u) << "vectors in " << OSTREL_REFERENCE_DIR;
  // The reference's own Earth is off by up to 2.8" in 1900-2100 and 5.0"
  // in 1700-1899; ours by well under 0.1" (Horizons): 3" and 5.5".
  const char *direction = "the reference's own error in direction, and 0.2\" of ours";
  const PlaceCheck checks[] = {
      {"local sidereal time, s", 1700, 2100,
       [](const PlacePair &p) {
         return AngleDifference(p.ours.localSiderealHours,
                                p.reference.gastHours + p.reference.site.longDeg / 15, 24) *
                3600;
       },
       0.05, "the goal; the reference's 5-term nutation costs it at most 0.02 s"},
      {"right ascension, \" on the sky", 1900, 2100, RightAscensionError, 3, direction},
      {"right ascension, \" on the sky", 1700, 1899, RightAscensionError, 5.5, direction},
      {"declination, \"", 1900, 2100, DeclinationError, 3, direction},
      {"declination, \"", 1700, 1899, DeclinationError, 5.5, direction},
      {"apparent ecliptic longitude, \"", 1900, 2100, LongitudeError, 3, direction},
      {"apparent ecliptic longitude, \"", 1700, 1899, LongitudeError, 5.5, direction},
      {"true altitude, \"", 1900, 2100, AltitudeError, 3, direction},
      {"true altitude, \"", 1700, 1899, AltitudeError, 5.5, direction},
      {"azimuth, \" on the sky", 1700, 2100, AzimuthError, 5.5, direction},
      {"distance, AU", 1700, 2100,
       [](const PlacePair &p) { return p.ours.distanceAU - p.reference.distanceAU; }, 2e-5,
       "the reference's own error in distance, 1.6e-5 AU (the goal of 2e-7 AU is held "
       "against Horizons)"},
  };
  for (const PlaceCheck &check : checks) {
    double worst = 0;
    const PlacePair *worstRow = nullptr;
    for (const PlacePair &p : Places()) {
      if (p.reference.date.year < check.firstYear || p.reference.date.year > check.lastYear)
        continue;
      const double error = std::fabs(check.error(p));
      if (error >= worst) {
        worst = error;
        worstRow = &p;
      }
    }
    ASSERT_NE(worstRow, nullptr) << check.quantity;
    const PlaceRow &r = worstRow->reference;
    EXPECT_LE(worst, check.tolerance)
        << check.quantity << ", " << check.firstYear << "-" << check.lastYear
        << ": largest error " << worst << ", tolerance " << check.tolerance << " (" << check.why
        << "), at " << r.site.latDeg << " " << r.site.longDeg << " on " << r.date.year << "-"
        << r.date.month << "-" << r.date.day << " " << r.seconds << " s";
  }
}

const std::vector<DayRow> &Days() {
  static const std::vector<DayRow> days = ReadDays(VectorsFile("sun-days.csv"));
  return days;
}

struct EventCheck {
  DayEvent event;
  double levelDeg; // of a twilight; sunrise and sunset take the day's horizon
  double toleranceSeconds;
};

// The day's events: each happens on the same dates as by the reference (up
// to 65 degrees of latitude), falls within the goal's 10 s of it up to 60
// degrees, and at the reference's moment the Sun is at the event's level
// within the reference's own error in direction (5.0"), its search's
// 0.1 s (1.5") and, for sunrise and sunset, its smaller Sun (0.4"): 7".  Near the polar circles a level is crossed at a grazing
// angle, and the time says less than the altitude there.
TEST(PreciseReference, DayAgreesWithTheVectors) {
  ASSERT_GE(Days().size(), 1300u) << "vectors in " << OSTREL_REFERENCE_DIR;
  constexpr double kLevelToleranceArcsec = 7;
  constexpr double kTimeLatitudeDeg = 60;
  const EventCheck checks[] = {
      {kSunrise, 0, 10},
      {kSunset, 0, 10},
      // Whole seconds, the reference's 0.1 s and its 0.3 s of right
      // ascension: 1 s.
      {kCulmination, 0, 1},
      {kCivilDawn, kCivilTwilightDeg, 10},
      {kCivilDusk, kCivilTwilightDeg, 10},
      {kNauticalDawn, kNauticalTwilightDeg, 10},
      {kNauticalDusk, kNauticalTwilightDeg, 10},
      {kAstronomicalDawn, kAstronomicalTwilightDeg, 10},
      {kAstronomicalDusk, kAstronomicalTwilightDeg, 10},
  };
  int compared = 0;
  for (const DayRow &row : Days()) {
    const PreciseSunDay day(SiteOf(row.site), row.date);
    const DayMoments ours = MomentsOf(FindDayEvents(day, {}, DayEventSet::Twilights));
    const double horizonDeg = std::asin(day.HorizonSinAltitude()) / kRad;
    const std::string where = std::to_string(row.site.latDeg) + " " +
                              std::to_string(row.site.longDeg) + " on " +
                              std::to_string(row.date.year) + "-" +
                              std::to_string(row.date.month) + "-" + std::to_string(row.date.day);
    for (const EventCheck &check : checks) {
      const char *name = kDayEventNames[check.event];
      const std::optional<double> &reference = row.events[check.event];
      const std::optional<double> &moment = ours[check.event];
      ASSERT_EQ(moment.has_value(), reference.has_value()) << name << " at " << where;
      if (!reference) continue;
      ++compared;
      if (std::fabs(row.site.latDeg) <= kTimeLatitudeDeg) {
        EXPECT_NEAR(*moment, *reference, check.toleranceSeconds)
            << name << " at " << where << ": expected " << *reference << " s, actual "
            << *moment << " s, tolerance " << check.toleranceSeconds << " s";
      }
      if (check.event == kCulmination) continue;
      const double levelDeg = check.event <= kSunset ? horizonDeg : check.levelDeg;
      const double altitudeDeg = day.PlaceAt(*reference / 3600).altitudeDeg;
      EXPECT_NEAR((altitudeDeg - levelDeg) * 3600, 0, kLevelToleranceArcsec)
          << name << " at " << where << ": the Sun at " << altitudeDeg
          << " deg at the reference's moment, level " << levelDeg << " deg";
    }
    // The equation of time: the reference's right ascension is good to
    // 0.33 s (5.0"): 0.5 s.
    Ephemeris run;
    run.theory = Theory::Precise;
    const Site site = SiteOf(row.site);
    SetSite(run.state, site.LongHours, site.LatRad, site.Timezon);
    SetTypedMoment(run.state, row.date.year, row.date.month, row.date.day, 12, 0, 0);
    run.MAINCALC();
    EXPECT_NEAR(run.state.EquationOfTime * 3600, row.equationOfTimeMinutes * 60, 0.5)
        << "equation of time at " << where << ", seconds";
  }
  EXPECT_GT(compared, 10000);
}

// ---- Horizons ------------------------------------------------------------------

// JPL Horizons' astrometric place of the Sun from 29N 81W (DE431, every 10
// days 1900-2100, in the shared tables beside the clone), against the
// goal of 0.1".  Compared at the same instant of TT: Horizons' times from
// 1962 are UTC, TT = UTC + 32.184 s + TAI - UTC; before, UT1 with its own
// Delta T, which this theory's stands in for.  With this theory's Delta T
// as it stands, the goal holds up to 2004; after that Espenak and Meeus's
// extrapolation runs seconds ahead of the Earth's rotation (up to 5 s by
// 2024, 0.24" of the Sun) and a Delta T model, not the theory, decides.
TEST(PreciseReference, AstrometricPlaceAgreesWithHorizons) {
  std::ifstream table(std::string(OSTREL_SHARED_DIR) +
                      "/peers/horizons/Sun-topocentric-29N-81W.txt");
  if (!table) GTEST_SKIP() << "no Horizons table beside the clone";
  const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const Site site{29 * kRad, -81.0 / 15, 0};
  constexpr double kGoalArcsec = 0.1;
  std::string line;
  bool inTable = false;
  int rows = 0;
  double worstSameTT = 0, worstAsItStands = 0;
  while (std::getline(table, line)) {
    if (line.rfind("$$SOE", 0) == 0) inTable = true;
    if (line.rfind("$$EOE", 0) == 0) break;
    int year = 0, day = 0, hour = 0, minute = 0;
    char month[4] = {};
    if (!inTable || line.size() < 20 ||
        std::sscanf(line.c_str(), " %d-%3s-%d %d:%d", &year, month, &day, &hour, &minute) != 5)
      continue;
    // After the time, the Sun's and the Moon's presence marks (blank at
    // night), then the astrometric right ascension and declination, degrees.
    double ra = 0, dec = 0;
    if (std::sscanf(line.c_str() + 21, "%lf %lf", &ra, &dec) != 2) continue;
    int m = 1;
    while (m <= 12 && std::string(month) != months[m - 1]) ++m;
    double mjd0 = 0, mjd = 0;
    ASSERT_EQ(eraCal2jd(year, m, day, &mjd0, &mjd), 0) << line;
    const double fraction = (hour + minute / 60.0) / 24;
    const double julianDate = mjd0 + mjd + fraction;
    const double ours = DeltaTSeconds(2000 + (julianDate - 2451545.0) / 365.25);
    double theirs = ours;
    if (year >= 1962) {
      double taiMinusUtc = 0;
      eraDat(year, m, day, fraction, &taiMinusUtc);
      theirs = 32.184 + taiMinusUtc;
    }
    const auto angle = [&](double julianDateUt) {
      const AstrometricPlace p = PreciseAstrometricAt(site, julianDateUt);
      return eraSeps(p.rightAscensionHours * 15 * ERFA_DD2R, p.declinationDeg * ERFA_DD2R,
                     ra * ERFA_DD2R, dec * ERFA_DD2R) /
             ERFA_DD2R * 3600;
    };
    worstSameTT =
        std::max(worstSameTT, angle(julianDate + (theirs - ours) / kSecondsPerDay));
    if (year < 2005) worstAsItStands = std::max(worstAsItStands, angle(julianDate));
    ++rows;
  }
  EXPECT_GT(rows, 7000);
  EXPECT_LT(worstSameTT, kGoalArcsec) << "largest angle at Horizons' TT, 1900-2100, arcseconds";
  EXPECT_LT(worstAsItStands, kGoalArcsec)
      << "largest angle with this theory's Delta T, 1900-2004, arcseconds";
}

} // namespace
} // namespace ostrel::test
