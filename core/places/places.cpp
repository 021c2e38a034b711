// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in list of towns, its index by folded name, and the folding of
// names (core/places/places.h).
//
// The list (data/places/places.tsv) is UTF-8 text, one town a line, most
// populous first; lines starting with '#' are comments.  Fields, separated
// by tabs: name, country, region, latitude, longitude, population, zone, and
// the town's other names already folded, separated by '|'.  The places'
// views point into the built-in bytes; only the folded names are copied.
#include "core/places/places.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "core/places/places_fold_table.h"
#include "core/text/utf8.h"

// The list's bytes and their count, placed by the assembler
// (places_data.cpp, configured from core/places/places_data.cpp.in).
extern "C" const char ostrel_places_begin[];
extern "C" const std::uint64_t ostrel_places_size;

namespace ostrel {

namespace {

using places_detail::FoldEntry;

// ---------------------------------------------------------------------------
// The fold table.

const FoldEntry *FoldEntryOf(char32_t cp) {
  const auto table = places_detail::FoldTable();
  const auto it = std::lower_bound(table.begin(), table.end(), cp,
                                   [](const FoldEntry &e, char32_t c) { return e.codePoint < c; });
  return it != table.end() && it->codePoint == cp ? &*it : nullptr;
}

bool InWindows1251(char32_t cp) {
  if (cp < 0x80) return true;
  const auto high = places_detail::Windows1251High();
  return std::find(high.begin(), high.end(), cp) != high.end();
}

// ---------------------------------------------------------------------------
// The list and its index.

// One name of a town, folded, and the town's position in the list (which
// is its rank by population).
struct NameKey {
  std::string_view key;
  std::uint32_t place;
};

// Built in place and never moved: the keys of the towns' own names are
// views into foldedNames.
struct PlaceIndex {
  PlaceIndex();
  PlaceIndex(const PlaceIndex &) = delete;
  PlaceIndex &operator=(const PlaceIndex &) = delete;

  std::vector<Place> places;
  std::string foldedNames;   // the towns' own names folded, one after another
  std::vector<NameKey> keys; // sorted by key, then by place
};

std::string_view NextField(std::string_view &line, char separator) {
  const auto end = line.find(separator);
  const auto field = line.substr(0, end);
  line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
  return field;
}

template <typename T>
bool ParseField(std::string_view field, T &value) {
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

PlaceIndex::PlaceIndex() {
  std::string_view data(ostrel_places_begin, static_cast<std::size_t>(ostrel_places_size));
  std::vector<std::string_view> otherNames; // folded in the list already
  std::vector<std::uint32_t> otherNamePlaces;
  std::vector<std::size_t> nameEnds;
  places.reserve(27000);
  while (!data.empty()) {
    std::string_view line = NextField(data, '\n');
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    Place place;
    place.name = NextField(line, '\t');
    place.country = NextField(line, '\t');
    place.region = NextField(line, '\t');
    const auto latitude = NextField(line, '\t');
    const auto longitude = NextField(line, '\t');
    const auto population = NextField(line, '\t');
    place.zone = NextField(line, '\t');
    // A line that does not read as a town is left out rather than guessed at
    // (NaN fails the comparisons too).
    if (place.name.empty() || place.zone.empty() ||
        !ParseField(latitude, place.latitudeDeg) || !(std::abs(place.latitudeDeg) <= 90) ||
        !ParseField(longitude, place.longitudeDeg) || !(std::abs(place.longitudeDeg) <= 180) ||
        !ParseField(population, place.population)) {
      continue;
    }
    const auto at = static_cast<std::uint32_t>(places.size());
    places.push_back(place);
    foldedNames += FoldName(place.name);
    nameEnds.push_back(foldedNames.size());
    while (!line.empty()) {
      const auto other = NextField(line, '|');
      if (other.empty()) continue;
      otherNames.push_back(other);
      otherNamePlaces.push_back(at);
    }
  }

  keys.reserve(places.size() + otherNames.size());
  std::size_t start = 0;
  for (std::uint32_t i = 0; i < nameEnds.size(); ++i) {
    keys.push_back({std::string_view(foldedNames).substr(start, nameEnds[i] - start), i});
    start = nameEnds[i];
  }
  for (std::size_t i = 0; i < otherNames.size(); ++i) {
    keys.push_back({otherNames[i], otherNamePlaces[i]});
  }
  std::sort(keys.begin(), keys.end(), [](const NameKey &a, const NameKey &b) {
    return a.key != b.key ? a.key < b.key : a.place < b.place;
  });
}

const PlaceIndex &Index() {
  static const PlaceIndex index;
  return index;
}

// The country part of a query: after its last comma, nothing, or one or two
// ASCII letters, as an upper-case code prefix; anything else is not valid.
struct CountryFilter {
  bool valid = true;
  std::string codePrefix; // "" keeps every country
  bool Keeps(std::string_view country) const { return country.starts_with(codePrefix); }
};

CountryFilter ReadCountry(std::string_view qualifier) {
  CountryFilter filter;
  const auto first = qualifier.find_first_not_of(" \t");
  const auto last = qualifier.find_last_not_of(" \t");
  if (first == std::string_view::npos) return filter;
  qualifier = qualifier.substr(first, last - first + 1);
  if (qualifier.size() > 2) filter.valid = false;
  for (const char c : qualifier) {
    if (c >= 'a' && c <= 'z') {
      filter.codePrefix += static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      filter.codePrefix += c;
    } else {
      filter.valid = false;
    }
  }
  return filter;
}

} // namespace

std::span<const Place> AllPlaces() { return Index().places; }

std::string FoldName(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  bool space = false; // a space is due before the next character
  const auto append = [&](std::string_view text) {
    for (const char c : text) {
      if (c == ' ') {
        space = !out.empty();
        continue;
      }
      if (space) out += ' ';
      space = false;
      out += c;
    }
  };
  ForEachCodePoint(utf8, [&](char32_t cp, std::string_view bytes) {
    const FoldEntry *entry = FoldEntryOf(cp);
    append(entry ? entry->folded : bytes);
  });
  return out;
}

std::vector<const Place *> FindPlaces(std::string_view query, std::size_t cap) {
  std::vector<const Place *> found;
  // A part after the last comma that cannot be a country code belongs to
  // the name: a few towns have commas in their names.
  CountryFilter country;
  if (const auto comma = query.rfind(','); comma != std::string_view::npos) {
    country = ReadCountry(query.substr(comma + 1));
    if (country.valid) {
      query = query.substr(0, comma);
    } else {
      country = {};
    }
  }
  const std::string key = FoldName(query);
  if (cap == 0 || key.empty()) return found;

  const PlaceIndex &index = Index();
  const auto byKey = [](const NameKey &e, std::string_view k) { return e.key < k; };
  auto it = std::lower_bound(index.keys.begin(), index.keys.end(), std::string_view(key), byKey);

  // The names equal to the query come first and are sorted by place, that
  // is by population.
  std::vector<std::uint32_t> equal;
  for (; it != index.keys.end() && it->key == key; ++it) {
    if (equal.size() < cap && (equal.empty() || equal.back() != it->place) &&
        country.Keeps(index.places[it->place].country)) {
      equal.push_back(it->place);
    }
  }

  // Then the names that begin with it: the most populous towns among them,
  // that is the smallest places, kept in order while scanning.
  std::vector<std::uint32_t> beginning;
  const std::size_t room = cap - equal.size();
  for (; room > 0 && it != index.keys.end() && it->key.starts_with(key); ++it) {
    const std::uint32_t place = it->place;
    if (beginning.size() == room && place >= beginning.back()) continue;
    if (!country.Keeps(index.places[place].country)) continue;
    const auto at = std::lower_bound(beginning.begin(), beginning.end(), place);
    if (at != beginning.end() && *at == place) continue;
    if (std::find(equal.begin(), equal.end(), place) != equal.end()) continue;
    beginning.insert(at, place);
    if (beginning.size() > room) beginning.pop_back();
  }

  const auto placeAt = [&](std::uint32_t place) { return &index.places[place]; };
  found.reserve(equal.size() + beginning.size());
  std::transform(equal.begin(), equal.end(), std::back_inserter(found), placeAt);
  std::transform(beginning.begin(), beginning.end(), std::back_inserter(found), placeAt);
  return found;
}

std::string Windows1251Name(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  ForEachCodePoint(utf8, [&](char32_t cp, std::string_view original) {
    if (InWindows1251(cp)) {
      out += original;
      return;
    }
    const FoldEntry *entry = FoldEntryOf(cp);
    if (entry == nullptr || entry->plain == original) {
      out += '?';
      return;
    }
    // The plain form, if Windows-1251 holds all of it (a Greek letter
    // without its accent is still Greek).
    bool holdable = true;
    for (std::size_t i = 0; i < entry->plain.size() && holdable;) {
      const Utf8CodePoint plain = DecodeUtf8(entry->plain, i);
      holdable = plain.length > 0 && InWindows1251(plain.codePoint);
      i += plain.length;
    }
    out += holdable ? entry->plain : std::string_view("?");
  });
  return out;
}

const Place *NearestPlace(double latitudeDeg, double longitudeDeg, double withinKm) {
  constexpr double kEarthRadiusKm = 6371.0;
  constexpr double kDegree = 3.14159265358979323846 / 180;
  if (!std::isfinite(latitudeDeg) || !std::isfinite(longitudeDeg) || !(withinKm >= 0))
    return nullptr;
  const double latitude = latitudeDeg * kDegree;
  const double cosLatitude = std::cos(latitude);
  // The haversine of the central angle, compared instead of the distance:
  // it grows with it from 0 to 180 degrees.
  const double limit = std::min(withinKm / kEarthRadiusKm, 3.14159265358979323846);
  const double limitHaversine = std::pow(std::sin(limit / 2), 2);
  const Place *nearest = nullptr;
  double nearestHaversine = limitHaversine;
  for (const Place &place : AllPlaces()) {
    const double dLatitude = place.latitudeDeg * kDegree - latitude;
    const double dLongitude = (place.longitudeDeg - longitudeDeg) * kDegree;
    const double haversine =
        std::pow(std::sin(dLatitude / 2), 2) +
        cosLatitude * std::cos(place.latitudeDeg * kDegree) * std::pow(std::sin(dLongitude / 2), 2);
    // The list is most populous first: a tie keeps the earlier town.
    if (haversine < nearestHaversine || (haversine == nearestHaversine && nearest == nullptr)) {
      nearest = &place;
      nearestHaversine = haversine;
    }
  }
  return nearest;
}

} // namespace ostrel
