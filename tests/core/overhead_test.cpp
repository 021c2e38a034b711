// SPDX-License-Identifier: GPL-3.0-or-later
// The world map's core: the subsolar point at the seasons' instants, the
// bands of the Sun's altitude, the shade grid against the altitude at each
// cell's centre, and the nearest town.
//
// The instants are USNO's (tests/data/usno-seasons.txt, 2024).  At a
// solstice the Sun's declination is the obliquity of the ecliptic,
// 23.4362 degrees in 2024 (IAU 2006: 23.43928 - 0.013 T, T = 0.24
// centuries), at an equinox 0.  The subsolar longitude is -(UT - 12 h +
// E) * 15 degrees, E the equation of time from the almanac's monthly
// table: -7.5 min on 20 March, -1.6 min on 20 June, +1.6 min on 21
// December.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/map/overhead.h"
#include "core/places/places.h"

namespace ostrel {
namespace {

TEST(Overhead, SubsolarPointAtTheSeasons) {
  const struct {
    const char *what;
    CivilDate date;
    int hour, minute;
    double latitude, longitude;
  } kSeasons[] = {
      {"March equinox 2024", {2024, 3, 20}, 3, 6, 0, -(3.1 - 12 - 7.5 / 60) * 15},
      {"June solstice 2024", {2024, 6, 20}, 20, 51, 23.4362, -(20.85 - 12 - 1.6 / 60) * 15},
      {"December solstice 2024", {2024, 12, 21}, 9, 21, -23.4362, -(9.35 - 12 + 1.6 / 60) * 15},
  };
  for (const Theory theory : {Theory::Classic, Theory::Precise}) {
    for (const auto &season : kSeasons) {
      SCOPED_TRACE(std::string(season.what) + " " + TheoryKey(theory));
      const SunOverhead sun =
          SunOverheadAt(theory, season.date, season.hour + season.minute / 60.0);
      const GeoPoint subsolar = sun.Subsolar();
      // USNO's instants are to the minute: 0.004 degree of declination at
      // an equinox; the equation of time is read to 0.1 min, 0.025 degree.
      EXPECT_NEAR(subsolar.latitudeDeg, season.latitude, 0.01);
      EXPECT_NEAR(subsolar.longitudeDeg, season.longitude, 0.05);
      EXPECT_NEAR(sun.AltitudeDeg(subsolar), 90, 1e-6);
      EXPECT_NEAR(sun.AltitudeDeg({-subsolar.latitudeDeg, subsolar.longitudeDeg + 180}), -90,
                  1e-6);
    }
  }
}

TEST(Overhead, BandsOfTheAltitude) {
  const struct {
    double altitude;
    Shade shade;
  } kBands[] = {
      {90, Shade::Daylight},          {0, Shade::Daylight},        {-1e-9, Shade::Civil},
      {-6, Shade::Civil},             {-6.0001, Shade::Nautical},  {-12, Shade::Nautical},
      {-12.0001, Shade::Astronomical}, {-18, Shade::Astronomical}, {-18.0001, Shade::Night},
      {-90, Shade::Night},
  };
  for (const auto &band : kBands)
    EXPECT_EQ(ShadeOf(band.altitude), band.shade) << band.altitude;
}

// Every cell's shade is the band of the altitude at its centre; only a
// cell within a hair of a bound may fall either way.
TEST(Overhead, GridCellsTakeTheBandOfTheirCentre) {
  constexpr int kWidth = 144, kHeight = 72;
  const SunOverhead sun = SunOverheadAt(Theory::Precise, {2024, 6, 20}, 20.85);
  std::vector<Shade> shades(kWidth * kHeight);
  ShadeGrid(sun, kWidth, kHeight, shades);
  int checked = 0;
  for (int row = 0; row < kHeight; ++row) {
    for (int column = 0; column < kWidth; ++column) {
      const GeoPoint centre{90 - (row + 0.5) * 180 / kHeight, -180 + (column + 0.5) * 360 / kWidth};
      const double altitude = sun.AltitudeDeg(centre);
      if (std::fabs(std::remainder(altitude, 6.0)) < 1e-9)
        continue;
      EXPECT_EQ(shades[std::size_t(row * kWidth + column)], ShadeOf(altitude))
          << centre.latitudeDeg << " " << centre.longitudeDeg << " " << altitude;
      ++checked;
    }
  }
  EXPECT_GT(checked, kWidth * kHeight - 10);
  // Too small a buffer is left alone.
  std::vector<Shade> small(10, Shade::Night);
  ShadeGrid(sun, kWidth, kHeight, small);
  EXPECT_EQ(small, std::vector<Shade>(10, Shade::Night));
}

// Coordinates are GeoNames' (the list's).
TEST(Overhead, NearestTownWithinReach) {
  const struct {
    double latitude, longitude, reachKm;
    const char *town; // none: nullptr
  } kPoints[] = {
      {64.13548, -21.89541, 50, "Reykjavík"},     // on the town
      {64.3, -21.9, 50, "Reykjavík"},             // 18 km north of it
      {-30, -140, 50, nullptr},                   // the South Pacific
      {64.13548, -21.89541 + 1.4, 50, nullptr},   // 68 km east: Selfoss is too small
  };
  for (const auto &point : kPoints) {
    const Place *place = NearestPlace(point.latitude, point.longitude, point.reachKm);
    if (!point.town) {
      EXPECT_EQ(place, nullptr) << point.latitude << " " << point.longitude << " "
                                << (place ? std::string(place->name) : "");
      continue;
    }
    ASSERT_NE(place, nullptr) << point.town;
    EXPECT_EQ(place->name, point.town);
  }
  EXPECT_EQ(NearestPlace(std::nan(""), 0, 50), nullptr);
}

} // namespace
} // namespace ostrel
