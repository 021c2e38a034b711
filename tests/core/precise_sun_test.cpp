// SPDX-License-Identifier: GPL-3.0-or-later
// The precise theory against published figures: Delta T against the
// tabulated values of its own source, the Sun's apparent place against a
// worked example, and the azimuth against JPL Horizons (DE431).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/day/day_events.h"
#include "core/sun/precise_sun.h"
#include "tools/reference_vectors.h"

namespace ostrel::test {
namespace {

// Espenak and Meeus, "Five Millennium Canon of Solar Eclipses"
// (NASA/TP-2006-214141), table 1.1 of Delta T, seconds, rounded there to
// the second; the polynomials are fitted to it.
TEST(DeltaT, AgreesWithTheTableItIsFittedTo) {
  const struct {
    double year, seconds;
  } table[] = {{1700, 9}, {1750, 13}, {1800, 14}, {1850, 7}, {1900, -3},
               {1950, 29}, {2000, 64}};
  for (const auto &row : table)
    EXPECT_NEAR(DeltaTSeconds(row.year), row.seconds, 1.0) << row.year;
  // The polynomials of neighbouring ranges meet within a second.
  for (double year : {1800.0, 1860.0, 1900.0, 1920.0, 1941.0, 1961.0, 1986.0, 2005.0, 2050.0})
    EXPECT_NEAR(DeltaTSeconds(year - 1e-9), DeltaTSeconds(year), 1.0) << year;
}

// J. Meeus, Astronomical Algorithms (2nd ed.), example 25.b: the Sun on
// 1992 October 13.0 TD, apparent right ascension 13h 13m 30.749s,
// declination -7 degrees 47' 01.74", apparent longitude 199 degrees 54'
// 21.82" (199.906061).  The example is
// geocentric; a site on the equator at midnight sees the Sun shifted by at
// most the horizontal parallax, 8.8".
TEST(PreciseSun, ApparentPlaceOfAWorkedExample) {
  const double julianDateTt = 2448908.5;
  const double julianDateUt = julianDateTt - DeltaTSeconds(1992.78) / 86400;
  const SunPlace p = PrecisePlaceAt(Site{0, 0, 0}, julianDateUt);
  const double raArcsec = (p.rightAscensionHours - (13 + 13 / 60.0 + 30.749 / 3600)) * 15 * 3600;
  EXPECT_NEAR(raArcsec * std::cos(7.78 * kRad), 0, 9);
  EXPECT_NEAR((p.declinationDeg - -(7 + 47 / 60.0 + 1.74 / 3600)) * 3600, 0, 9);
  EXPECT_NEAR((p.eclipticLongitudeDeg - 199.906061) * 3600, 0, 2);
}

std::ifstream SharedTable(const char *name) {
  return std::ifstream(std::string(OSTREL_SHARED_DIR) + "/peers/horizons/" + name);
}

// Horizons' heliocentric Earth (DE441) every 8 days, 1970 to 2040, at TDB
// epochs (TT within 2 ms): the true distance at the UT of the same instant
// by this theory's Delta T.
TEST(PreciseSun, DistanceAgreesWithHorizons) {
  const auto table = reference::ReadHorizonsEarth(std::string(OSTREL_SHARED_DIR) +
                                                  "/peers/horizons/Earth-heliocentric.txt");
  if (table.empty()) GTEST_SKIP() << "no Horizons table beside the clone";
  int rows = 0;
  double worst = 0;
  for (const auto &[epoch, reference] : table) {
    const double year = 2000 + (epoch - 2451545.0) / 365.25;
    const double julianDateUt = epoch - DeltaTSeconds(year) / 86400;
    const double distance = PrecisePlaceAt(Site{0, 0, 0}, julianDateUt).distanceAU;
    worst = std::max(worst, std::fabs(distance - reference));
    ++rows;
  }
  EXPECT_GT(rows, 3000);
  EXPECT_LT(worst, 2e-7) << "largest distance difference, AU";
}

// Horizons' table of the Sun seen from 29N 81W every 10 days (shared/peers
// beside the clone): its azimuth takes no refraction, so it checks the
// apparent topocentric place through the hour angle and declination.  The
// table's UT is UT1 (from Earth orientation data from 1962); this theory
// takes UTC for it, and |UT1 - UTC| stays below 0.9 s, 13.5" of the Earth's
// turn, which bounds the difference.  The rows up to 2018 are compared.
TEST(PreciseSun, AzimuthAgreesWithHorizons) {
  std::ifstream table = SharedTable("Sun-topocentric-29N-81W.txt");
  if (!table) GTEST_SKIP() << "no Horizons table beside the clone";
  const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const Site site{29 * kRad, -81.0 / 15, 0};
  std::string line;
  bool inTable = false;
  int rows = 0;
  double worst = 0;
  while (std::getline(table, line)) {
    if (line.rfind("$$SOE", 0) == 0) inTable = true;
    if (line.rfind("$$EOE", 0) == 0) break;
    int year = 0, day = 0, hour = 0, minute = 0;
    char month[4] = {};
    if (!inTable || std::sscanf(line.c_str(), " %d-%3s-%d %d:%d", &year, month, &day, &hour,
                                &minute) != 5 || year > 2018)
      continue;
    std::istringstream fields(line.substr(19));
    std::string field;
    double values[6];
    int count = 0;
    while (count < 6 && fields >> field) {
      if (field.find_first_not_of("0123456789.-") == std::string::npos) values[count++] = std::stod(field);
    }
    if (count < 6) continue;
    int m = 1;
    while (m <= 12 && std::string(month) != months[m - 1]) ++m;
    // The Julian day number of the civil date (Fliegel and Van Flandern).
    const int a = (14 - m) / 12, y = year + 4800 - a, mm = m + 12 * a - 3;
    const long number = day + (153 * mm + 2) / 5 + 365L * y + y / 4 - y / 100 + y / 400 - 32045;
    const double julianDate = number - 0.5 + (hour + minute / 60.0) / 24;
    const SunPlace p = PrecisePlaceAt(site, julianDate);
    const double error =
        std::remainder(p.azimuthDeg - values[4], 360) * 3600 * std::cos(p.altitudeDeg * kRad);
    worst = std::max(worst, std::fabs(error));
    ++rows;
  }
  EXPECT_GT(rows, 4000);
  EXPECT_LT(worst, 13.5) << "largest azimuth difference, arcseconds on the sky";
}

} // namespace
} // namespace ostrel::test

namespace ostrel::test {
namespace {

// The precise theory evaluated in full at every moment, to hold the day's
// interpolated Sun against.
class ExactPreciseDay final : public SunDay {
public:
  ExactPreciseDay(const Site &site, CivilDate date) : interpolated_(site, date), site_(site) {
    julianDay0_ = interpolated_.PlaceAt(0).julDay + 2400000 + double(site.Timezon) / 24;
  }
  SkyPoint At(double hours) const override {
    const SunPlace p = PrecisePlaceAt(site_, julianDay0_ + (hours - site_.Timezon) / 24);
    return {std::sin(p.altitudeDeg * kRad), p.hourAngleHours, p.declinationDeg * kRad};
  }
  SunPlace PlaceAt(double hours) const override { return interpolated_.PlaceAt(hours); }
  double HorizonSinAltitude() const override { return interpolated_.HorizonSinAltitude(); }
  const Site &site() const override { return site_; }
  CivilDate date() const override { return interpolated_.date(); }
  SunPlace Exact(double hours) const {
    return PrecisePlaceAt(site_, julianDay0_ + (hours - site_.Timezon) / 24);
  }

private:
  PreciseSunDay interpolated_;
  Site site_;
  double julianDay0_ = 0;
};

// Across a day the interpolated Sun is the exact one to far below the
// theory's accuracy, and the day's events fall on the same seconds.
TEST(PreciseSunDay, InterpolationKeepsTheExactPlaceAndEvents) {
  const struct {
    const char *what;
    Site site;
    CivilDate date;
  } days[] = {
      {"47N in June", {47 * kRad, 28.85 / 15, 3}, {2026, 6, 21}},
      {"equator at the equinox, zone -12", {0, -179.9 / 15, -12}, {2026, 3, 20}},
      {"polar circle in December, 1750", {66.5 * kRad, 25.0 / 15, 2}, {1750, 12, 21}},
      {"south, 2100", {-33.87 * kRad, 151.2 / 15, 10}, {2100, 12, 31}},
  };
  for (const auto &d : days) {
    const ExactPreciseDay exact(d.site, d.date);
    const PreciseSunDay interpolated(d.site, d.date);
    for (double hours = -0.5; hours <= 24.5; hours += 0.37) {
      const SunPlace e = exact.Exact(hours);
      const SunPlace i = interpolated.PreciseAt(hours);
      EXPECT_NEAR(std::remainder(i.rightAscensionHours - e.rightAscensionHours, 24) * 15 * 3600,
                  0, 0.01)
          << d.what << " at " << hours;
      EXPECT_NEAR((i.declinationDeg - e.declinationDeg) * 3600, 0, 0.01) << d.what;
      EXPECT_NEAR((i.altitudeDeg - e.altitudeDeg) * 3600, 0, 0.01) << d.what;
      // 2e-9 AU is 300 m, a hundredth of what the distance is worth.
      EXPECT_NEAR(i.distanceAU, e.distanceAU, 2e-9) << d.what;
    }
    const DayEvents a = FindDayEvents(interpolated), b = FindDayEvents(exact);
    for (const auto &[x, y] : {std::pair{a.sunrise, b.sunrise}, std::pair{a.sunset, b.sunset},
                               std::pair{a.culmination, b.culmination},
                               std::pair{a.civilDusk, b.civilDusk},
                               std::pair{a.astronomicalDawn, b.astronomicalDawn}}) {
      EXPECT_EQ(x.happens(), y.happens()) << d.what;
      if (x.happens() && y.happens()) {
        EXPECT_NEAR(x.seconds, y.seconds, 1) << d.what;
      }
    }
  }
}

} // namespace
} // namespace ostrel::test
