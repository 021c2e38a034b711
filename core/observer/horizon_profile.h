// SPDX-License-Identifier: GPL-3.0-or-later
// The skyline around the observer: the apparent altitude of the hills,
// trees and houses by azimuth, read from a text that the caller has read
// from a file (the core reads no files).
//
// The text is one "azimuth altitude" pair a line, degrees, the azimuth
// from north through east (0 to 360), the altitude -5 to 90; blanks,
// commas, semicolons or tabs between; "#" begins a comment; blank lines
// and any order are allowed; at least two points.  The CSV that PVGIS
// writes (a header line "A  H_hor  ..." after a few lines of the site,
// south-based azimuths -180 to 180 with 90 west, more columns, a legend
// after a blank line) is recognised by its header: its first two columns
// are taken, each azimuth turned to north-based, and its -180 and 180 rows
// (both north) are one point when their altitudes agree.  An azimuth given
// twice with the same altitude is one point, with two altitudes a fault.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// A point of the skyline, degrees.
struct HorizonPoint {
  double azimuthDeg = 0;  // from north through east, 0 (included) to 360
  double altitudeDeg = 0; // apparent, -5 to 90
};

class HorizonProfile {
public:
  // No skyline: empty() is true, AltitudeAt gives nothing.
  HorizonProfile() = default;

  // The points, sorted by azimuth, each azimuth once; at least two
  // distinct, within the ranges above (the caller's; Parse ensures it).
  explicit HorizonProfile(std::vector<HorizonPoint> sortedPoints);

  bool empty() const { return points_.empty(); }
  const std::vector<HorizonPoint> &points() const { return points_; }

  // The skyline's apparent altitude, degrees, at an azimuth (degrees, any
  // value: taken modulo 360), linear between the two neighbouring points
  // around the circle; none when the profile is empty.
  std::optional<double> AltitudeAt(double azimuthDeg) const;

  // The lowest and highest altitude of the points, degrees (the line
  // between them never leaves that range); 0 when empty.
  double LowestDeg() const { return lowest_; }
  double HighestDeg() const { return highest_; }

private:
  std::vector<HorizonPoint> points_;
  double lowest_ = 0, highest_ = 0;
};

// A profile read from text, or why not: `error` is one line saying what is
// wrong ("not two numbers: 'abc'"), `line` the 1-based line it is on, or 0
// for a fault of the whole text (fewer than two points).  Nothing half-read
// is kept: `profile` is set only when there is no error.
struct HorizonParse {
  std::optional<HorizonProfile> profile;
  std::string error;
  int line = 0;
};
HorizonParse ParseHorizonProfile(std::string_view text);

} // namespace ostrel
