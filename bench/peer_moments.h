// SPDX-License-Identifier: GPL-3.0-or-later
// What the two peer benchmarks share about a day's moments: each moment is
// seconds of local civil time, or -1 where it does not happen.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>

namespace ostrel::bench {

// How many of a day's moments happen.
template <std::size_t N>
int Happening(const std::array<double, N> &moments) {
  int count = 0;
  for (double s : moments) count += s >= 0 ? 1 : 0;
  return count;
}

// "HH:MM:SS", or blanks and dashes for a moment that does not happen.
inline std::string Clock(double seconds) {
  if (seconds < 0) return "   --   ";
  const long s = std::lround(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  return text;
}

} // namespace ostrel::bench
