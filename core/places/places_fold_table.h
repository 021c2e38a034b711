// SPDX-License-Identifier: GPL-3.0-or-later
// The tables behind the folding of town names (core/places/places.h), written by
// tools/places/make-list.mjs into core/generated/places_fold_table.cpp from the
// Unicode data of node, so that the core needs no Unicode library.
#pragma once

#include <span>
#include <string_view>

namespace ostrel::places_detail {

// One code point that does not fold to itself.  folded: its text for
// matching (compatibility decomposition, combining marks dropped, lower
// case, ø ł đ ß æ œ and the like written out, apostrophes dropped, dashes
// and dots made spaces).  plain: the letter without its accent, case kept,
// punctuation kept.  Both UTF-8, either may be empty.
struct FoldEntry {
  char32_t codePoint;
  std::string_view folded;
  std::string_view plain;
};

// Sorted by code point: the Latin, Greek and Cyrillic blocks, the combining
// marks and the general punctuation.  A code point that is not listed folds
// to itself, and its plain text is itself.
std::span<const FoldEntry> FoldTable();

// The code points of the bytes 0x80 to 0xFF of Windows-1251, 0 where a byte
// stands for none.
std::span<const char32_t, 128> Windows1251High();

} // namespace ostrel::places_detail
