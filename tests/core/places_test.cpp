// SPDX-License-Identifier: GPL-3.0-or-later
// Towns by name: the folding of names, the search and its order, the
// built-in list as a whole, and names for a Windows-1251 text.
//
// Coordinates are the towns' published ones (degrees and minutes as
// encyclopedias give them), checked to a tenth of a degree; zones are the
// IANA names of the tz database.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <regex>
#include <set>
#include <string>
#include <string_view>

#include "core/places/places.h"

namespace ostrel {
namespace {

std::string Describe(const Place *place) {
  return std::string(place->name) + " (" + std::string(place->region) + ", " +
         std::string(place->country) + ", " + std::to_string(place->population) + ")";
}

std::string Describe(const std::vector<const Place *> &places) {
  std::string text;
  for (const Place *place : places) text += Describe(place) + "; ";
  return text;
}

TEST(FoldName, CaseAndAccentsIgnored) {
  const struct {
    const char *name;
    const char *folded;
  } cases[] = {
      {"Zürich", "zurich"},
      {"São Paulo", "sao paulo"},
      {"Győr", "gyor"},
      {"KYIV", "kyiv"},
      {"Zu\u0308rich", "zurich"}, // the umlaut as a combining mark
      {"İstanbul", "istanbul"},
      {"Chişinău", "chisinau"},
      {"Quận Đức Thịnh", "quan duc thinh"},
      // Letters that do not decompose.
      {"Łódź", "lodz"},
      {"Đakovo", "dakovo"},
      {"Tromsø", "tromso"},
      {"Straße", "strasse"},
      {"Ærøskøbing", "aeroskobing"},
      {"Œuilly", "oeuilly"},
      {"Þórshöfn", "thorshofn"},
      {"Reykjavík", "reykjavik"},
      // Punctuation: apostrophes dropped, dashes and dots are spaces.
      {"M’Sila", "msila"},
      {"M'Sila", "msila"},
      {"Ivano-Frankivsk", "ivano frankivsk"},
      {"  St.-Pölten  ", "st polten"},
      {"Hawaiʻi", "hawaii"},
      // Greek and Cyrillic.
      {"Αθήνα", "αθηνα"},
      {"ΠΕΙΡΑΙΆΣ", "πειραιασ"},
      {"Πειραιάς", "πειραιασ"},
      {"МОСКВА", "москва"},
      {"Ёлки", "елки"},
      // Other scripts stay as they are; bytes that are not UTF-8 go.
      {"東京", "東京"},
      {"Z\xFFurich", "zurich"},
      {"Zu\xC3", "zu"},
      {"", ""},
      {" - ", ""},
  };
  for (const auto &c : cases) EXPECT_EQ(FoldName(c.name), c.folded) << c.name;
}

TEST(FindPlaces, NamesTypedWithoutAccentsOrInOtherCase) {
  // Each query's first answer, with the town's published coordinates.
  const struct {
    const char *query, *name, *country, *zone;
    double latitudeDeg, longitudeDeg;
  } cases[] = {
      {"zurich", "Zürich", "CH", "Europe/Zurich", 47.37, 8.55},
      {"ZÜRICH", "Zürich", "CH", "Europe/Zurich", 47.37, 8.55},
      {"zuerich", "Zürich", "CH", "Europe/Zurich", 47.37, 8.55},
      {"sao paulo", "São Paulo", "BR", "America/Sao_Paulo", -23.55, -46.63},
      {"kyiv", "Kyiv", "UA", "Europe/Kyiv", 50.45, 30.52},
      {"kiev", "Kyiv", "UA", "Europe/Kyiv", 50.45, 30.52},
      {"KIEW", "Kyiv", "UA", "Europe/Kyiv", 50.45, 30.52},
      {"gyor", "Győr", "HU", "Europe/Budapest", 47.68, 17.63},
      {"lodz", "Łódź", "PL", "Europe/Warsaw", 51.77, 19.46},
      {"munchen", "Munich", "DE", "Europe/Berlin", 48.14, 11.58},
      {"st. petersburg", "Saint Petersburg", "RU", "Europe/Moscow", 59.94, 30.31},
      {"auckland", "Auckland", "NZ", "Pacific/Auckland", -36.85, 174.76},
      {"kathmandu", "Kathmandu", "NP", "Asia/Kathmandu", 27.72, 85.32},
      {"adelaide", "Adelaide", "AU", "Australia/Adelaide", -34.93, 138.60},
  };
  for (const auto &c : cases) {
    const auto found = FindPlaces(c.query);
    ASSERT_FALSE(found.empty()) << c.query;
    const Place &place = *found.front();
    EXPECT_EQ(place.name, c.name) << c.query;
    EXPECT_EQ(place.country, c.country) << c.query;
    EXPECT_EQ(place.zone, c.zone) << c.query;
    EXPECT_NEAR(place.latitudeDeg, c.latitudeDeg, 0.1) << c.query;
    EXPECT_NEAR(place.longitudeDeg, c.longitudeDeg, 0.1) << c.query;
  }
}

TEST(FindPlaces, NamesakesByPopulationAndCountry) {
  // London, England, before London, Ontario.
  const auto london = FindPlaces("london");
  ASSERT_GE(london.size(), 2u);
  EXPECT_EQ(london[0]->country, "GB") << Describe(london);
  EXPECT_EQ(london[0]->region, "England");
  bool canadianAfter = false;
  for (std::size_t i = 1; i < london.size(); ++i) {
    canadianAfter |= london[i]->name == "London" && london[i]->country == "CA";
  }
  EXPECT_TRUE(canadianAfter) << Describe(london);

  const struct {
    const char *query, *country, *firstRegion;
  } qualified[] = {
      {"london, ca", "CA", "Ontario"},
      {"London,CA", "CA", "Ontario"},
      {"london, gb", "GB", "England"},
      {"springfield, us", "US", nullptr},
      {"SPRINGFIELD, Us", "US", nullptr},
      {"paris, us", "US", nullptr},
      {"paris,fr", "FR", "Île-de-France"},
  };
  for (const auto &c : qualified) {
    const auto found = FindPlaces(c.query);
    ASSERT_FALSE(found.empty()) << c.query;
    if (c.firstRegion) {
      EXPECT_EQ(found[0]->region, c.firstRegion) << c.query;
    }
    for (const Place *place : found) EXPECT_EQ(place->country, c.country) << c.query;
  }

  // The Springfields of Illinois, Massachusetts and Missouri are the three
  // largest, all of them towns of more than 100,000.
  const auto springfields = FindPlaces("springfield, us");
  ASSERT_GE(springfields.size(), 3u);
  std::set<std::string_view> largest;
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(springfields[i]->name, "Springfield");
    EXPECT_GT(springfields[i]->population, 100000);
    largest.insert(springfields[i]->region);
  }
  EXPECT_EQ(largest, (std::set<std::string_view>{"Illinois", "Massachusetts", "Missouri"}))
      << Describe(springfields);

  // A name with commas of its own is a name, not a name and a country.
  const auto mianzhu = FindPlaces("mianzhu, deyang, sichuan");
  ASSERT_FALSE(mianzhu.empty());
  EXPECT_EQ(mianzhu[0]->country, "CN");

  // One letter after the comma keeps the countries whose code begins with it.
  const auto londonC = FindPlaces("london, c");
  ASSERT_FALSE(londonC.empty());
  for (const Place *place : londonC) EXPECT_EQ(place->country.front(), 'C');
}

TEST(FindPlaces, EqualNamesFirstThenBeginningsEachByPopulation) {
  // San, a town in Mali, is a name equal to "san": it comes before San
  // Antonio, Santiago and the other larger towns whose names begin so.
  const auto san = FindPlaces("san", 20);
  ASSERT_EQ(san.size(), 20u);
  EXPECT_EQ(san[0]->name, "San") << Describe(san);
  EXPECT_EQ(san[0]->country, "ML");
  for (std::size_t i = 2; i < san.size(); ++i) {
    EXPECT_GE(san[i - 1]->population, san[i]->population) << Describe(san);
  }
  EXPECT_LT(san[0]->population, san[1]->population);

  // No town twice, and the towns whose own name is the query (all of them
  // equal matches) most populous first.
  for (const char *query : {"springfield", "york", "saint", "s", "lon", "kiev", "new"}) {
    const auto found = FindPlaces(query, 50);
    std::set<const Place *> seen(found.begin(), found.end());
    EXPECT_EQ(seen.size(), found.size()) << query;
    const Place *previous = nullptr;
    for (const Place *place : found) {
      if (FoldName(place->name) != FoldName(query)) continue;
      if (previous) {
        EXPECT_GE(previous->population, place->population) << query;
      }
      previous = place;
    }
  }
}

TEST(FindPlaces, Cap) {
  const struct {
    const char *query;
    std::size_t cap, size;
  } cases[] = {
      {"s", 20, 20}, {"s", 1, 1}, {"sa", 5, 5}, {"s", 0, 0}, {"springfield", 2, 2},
  };
  for (const auto &c : cases) EXPECT_EQ(FindPlaces(c.query, c.cap).size(), c.size) << c.query;
  EXPECT_EQ(FindPlaces("a").size(), 20u); // the default cap
  // Capped, the most populous towns are kept: a short list is the start of
  // a long one.
  for (const char *query : {"springfield", "s", "sa", "lon", "new", "mos"}) {
    const auto few = FindPlaces(query, 5), many = FindPlaces(query, 200);
    ASSERT_EQ(few.size(), 5u) << query;
    ASSERT_GT(many.size(), 5u) << query;
    for (std::size_t i = 0; i < few.size(); ++i) EXPECT_EQ(few[i], many[i]) << query << " " << i;
  }
  // Shanghai, the most populous town of all, is the first whose name
  // begins with "sh".
  const auto sh = FindPlaces("sh", 1);
  ASSERT_EQ(sh.size(), 1u);
  EXPECT_EQ(sh[0]->name, "Shanghai");
}

TEST(FindPlaces, NothingFound) {
  for (const char *query :
       {"", "   ", ", us", "xqzzyv", "london, zz", "london, usa", "london, 1", "-'."}) {
    EXPECT_TRUE(FindPlaces(query).empty()) << query << ": " << Describe(FindPlaces(query));
  }
}

TEST(AllPlaces, EveryTownIsWhole) {
  const auto places = AllPlaces();
  // GeoNames counts some 26,000 towns of 15,000 people or more.
  EXPECT_GT(places.size(), 25000u);
  EXPECT_LT(places.size(), 30000u);
  const std::regex zone(
      "(Africa|America|Antarctica|Arctic|Asia|Atlantic|Australia|Europe|Indian|Pacific)"
      "(/[A-Za-z0-9_+-]+){1,2}");
  const std::regex country("[A-Z]{2}");
  std::size_t withRegion = 0, smaller = 0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    const Place &p = places[i];
    const std::string where = std::string(p.name) + " " + std::string(p.country);
    ASSERT_FALSE(p.name.empty());
    EXPECT_TRUE(std::regex_match(std::string(p.zone), zone)) << where << ": " << p.zone;
    EXPECT_TRUE(std::regex_match(std::string(p.country), country)) << where;
    EXPECT_LE(std::abs(p.latitudeDeg), 90) << where;
    EXPECT_LE(std::abs(p.longitudeDeg), 180) << where;
    EXPECT_GE(p.population, 0) << where; // 0: not known
    smaller += p.population < 15000;
    if (i > 0) {
      EXPECT_GE(places[i - 1].population, p.population) << where;
    }
    withRegion += !p.region.empty();
    // Every name is found by itself, typed in capitals.
    std::string upper(p.name);
    for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto found = FindPlaces(upper, places.size());
    EXPECT_NE(std::find(found.begin(), found.end(), &p), found.end()) << where;
    if (::testing::Test::HasFailure()) break;
  }
  // Only a few city-states and territories have no first-level region, and
  // only national capitals have fewer than 15,000 people (Vatican City, a
  // few dozen of them).
  EXPECT_GT(withRegion, places.size() - 100);
  EXPECT_LT(smaller, 100u);
}

TEST(Windows1251Name, LettersItHasStayOthersLoseTheirAccents) {
  const struct {
    const char *name, *written;
  } cases[] = {
      {"Győr", "Gyor"},
      {"Zürich", "Zurich"},
      {"São Paulo", "Sao Paulo"},
      {"Chişinău", "Chisinau"},
      {"İzmir", "Izmir"},
      {"Zu\u0308rich", "Zurich"},
      {"Łódź", "Lodz"},
      {"Straße", "Strasse"},
      {"Ærøskøbing", "AEroskobing"},
      {"Hawaiʻi", "Hawai'i"},
      {"Kishinev", "Kishinev"},
      {"Москва", "Москва"},
      {"Київ", "Київ"},
      {"Ёлки № 5 «Ґ»", "Ёлки № 5 «Ґ»"},
      {"Tai’an", "Tai’an"},
      {"Αθήνα", "?????"},
      {"東京", "??"},
      {"Z\xFFurich", "Zurich"},
      {"", ""},
  };
  for (const auto &c : cases) EXPECT_EQ(Windows1251Name(c.name), c.written) << c.name;
}

TEST(Windows1251Name, EveryTownNameCanBeWritten) {
  // Every name in the list is in the Latin alphabet: written for
  // Windows-1251 it loses no letter, and it still folds to the same name.
  for (const Place &place : AllPlaces()) {
    const std::string written = Windows1251Name(place.name);
    EXPECT_EQ(written.find('?'), std::string::npos) << place.name << " -> " << written;
    EXPECT_EQ(FoldName(written), FoldName(place.name)) << place.name << " -> " << written;
    if (::testing::Test::HasFailure()) break;
  }
}

} // namespace
} // namespace ostrel
