// SPDX-License-Identifier: GPL-3.0-or-later
// Towns by name: the GeoNames gazetteer's towns of 15,000 people or more and
// the national capitals (about 26,000), each with its coordinates, its
// population and its IANA time zone, built into the library
// (data/places/places.tsv, written by tools/places/make-list.mjs; GeoNames,
// CC BY 4.0).  The list is read on first use, once, from any thread.
//
// Names are compared folded: case and accents ignored, so "zurich" finds
// Zürich and "SAO PAULO" finds São Paulo; a town is also found by its other
// Latin-script names ("Kiev" finds Kyiv).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

struct Place {
  std::string_view name;    // the current name, UTF-8, as the gazetteer writes it
  std::string_view country; // ISO 3166-1 alpha-2 code, "UA"
  std::string_view region;  // the first-level region ("Ontario"), empty for a few city-states
  std::string_view zone;    // IANA time zone, "Europe/Kyiv"
  double latitudeDeg = 0;   // degrees, north positive
  double longitudeDeg = 0;  // degrees, east positive
  std::int64_t population = 0;
};

// Every town, most populous first.  The views stay valid for the life of
// the program.
std::span<const Place> AllPlaces();

// The name folded for comparison: decomposed, combining marks dropped,
// lower case; ø ł đ ð ß æ œ þ become o l d d ss ae oe th; apostrophes are
// dropped and dashes and dots read as spaces; runs of spaces become one and
// none lead or trail.  "Győr" gives "gyor", "St.-Pölten" "st polten".  The
// Latin, Greek and Cyrillic blocks are folded; other characters stay as
// they are, and bytes that are not UTF-8 are dropped.
std::string FoldName(std::string_view utf8);

// The towns a typed name may mean, at most cap of them: first those whose
// name or other name equals the query (folded), most populous first, then
// those whose name or other name begins with it, most populous first; each
// town once.  A query ending in a comma and a country code ("springfield,
// us", any case) keeps that country's towns only; one letter after the
// comma keeps the countries whose code begins with it, nothing after it
// keeps all.  When the part after the last comma cannot be a country code,
// the comma is part of the name (a few towns have commas in their names).
// An empty query finds nothing.
std::vector<const Place *> FindPlaces(std::string_view query, std::size_t cap = 20);

// The town nearest to a point (degrees, north and east positive) within
// `withinKm` along the Earth's surface, or null when none is that near.
// Distances are great circles on a sphere of the Earth's mean radius,
// 6371.0 km (within 0.5 % of the ellipsoid's); of two towns at the same
// distance the more populous one.
const Place *NearestPlace(double latitudeDeg, double longitudeDeg, double withinKm);

// The name as a Windows-1251 text can hold it, in UTF-8: what Windows-1251
// has (ASCII, the Cyrillic letters, a few signs) stays; any other letter is
// written without its accent ("Győr" gives "Gyor"), ß æ œ ø ł and the like
// as in FoldName but keeping their case ("Æ" gives "AE"); a character with
// no such form becomes '?'.  Bytes that are not UTF-8 are dropped.
std::string Windows1251Name(std::string_view utf8);

} // namespace ostrel
