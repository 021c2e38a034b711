// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/observer/horizon_profile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace ostrel {
namespace {

constexpr double kLowestAltitudeDeg = -5;
constexpr double kHighestAltitudeDeg = 90;
// Two altitudes of one azimuth agree when they differ by less than this,
// degrees (the files give a tenth or a hundredth).
constexpr double kSameAltitudeDeg = 1e-9;

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';'; }

// The fields of a line without its comment.
std::vector<std::string_view> Fields(std::string_view line) {
  line = line.substr(0, line.find('#'));
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// A finite decimal number, with an optional sign, into `value`.
bool Number(std::string_view text, double &value) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty() || text[0] == '+')
    return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  for (char c : text.substr(0, 40)) {
    const auto byte = static_cast<unsigned char>(c);
    quoted += byte < 0x20 || byte == 0x7f ? '?' : c;
  }
  return "'" + quoted + (text.size() > 40 ? "...'" : "'");
}

std::string Degrees(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// PVGIS's header: its first two columns are the azimuth and the altitude.
bool IsPvgisHeader(const std::vector<std::string_view> &fields) {
  return fields.size() >= 2 && (fields[0] == "A" || fields[0] == "A_hor") && fields[1] == "H_hor";
}

struct ReadPoint {
  HorizonPoint point;
  int line;
};

HorizonParse Fault(std::string error, int line) {
  HorizonParse parse;
  parse.error = std::move(error);
  parse.line = line;
  return parse;
}

} // namespace

HorizonProfile::HorizonProfile(std::vector<HorizonPoint> sortedPoints)
    : points_(std::move(sortedPoints)) {
  if (points_.empty()) return;
  const auto [low, high] = std::minmax_element(
      points_.begin(), points_.end(),
      [](const HorizonPoint &a, const HorizonPoint &b) { return a.altitudeDeg < b.altitudeDeg; });
  lowest_ = low->altitudeDeg;
  highest_ = high->altitudeDeg;
}

std::optional<double> HorizonProfile::AltitudeAt(double azimuthDeg) const {
  if (points_.empty()) return std::nullopt;
  if (!std::isfinite(azimuthDeg)) return points_.front().altitudeDeg;
  double azimuth = std::fmod(azimuthDeg, 360.0);
  if (azimuth < 0) azimuth += 360;
  // The first point beyond the azimuth, and the one before it, around the
  // circle.
  const auto after = std::upper_bound(
      points_.begin(), points_.end(), azimuth,
      [](double a, const HorizonPoint &p) { return a < p.azimuthDeg; });
  const HorizonPoint &next = after == points_.end() ? points_.front() : *after;
  const HorizonPoint &previous = after == points_.begin() ? points_.back() : *(after - 1);
  double span = next.azimuthDeg - previous.azimuthDeg;
  double into = azimuth - previous.azimuthDeg;
  if (span <= 0) span += 360;
  if (into < 0) into += 360;
  return previous.altitudeDeg + (next.altitudeDeg - previous.altitudeDeg) * (into / span);
}

HorizonParse ParseHorizonProfile(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3); // a byte-order mark
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  // PVGIS's CSV begins with the site's lines; its table follows the header
  // and ends at the first blank line, before the legend.
  std::size_t first = 0, last = lines.size();
  bool pvgis = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsPvgisHeader(Fields(lines[i]))) {
      pvgis = true;
      first = i + 1;
      last = first;
      while (last < lines.size() && !Fields(lines[last]).empty()) ++last;
      break;
    }
  }

  std::vector<ReadPoint> read;
  for (std::size_t i = first; i < last; ++i) {
    const int line = static_cast<int>(i) + 1;
    const std::vector<std::string_view> fields = Fields(lines[i]);
    if (fields.empty()) continue;
    double azimuth = 0, altitude = 0;
    if (fields.size() < 2 || (!pvgis && fields.size() != 2) || !Number(fields[0], azimuth) ||
        !Number(fields[1], altitude))
      return Fault("not two numbers, azimuth and altitude: " + Quoted(lines[i]), line);
    const double low = pvgis ? -180 : 0, high = pvgis ? 180 : 360;
    if (azimuth < low || azimuth > high)
      return Fault("the azimuth " + Degrees(azimuth) + " is not within " + Degrees(low) +
                       " to " + Degrees(high) + " degrees",
                   line);
    if (altitude < kLowestAltitudeDeg || altitude > kHighestAltitudeDeg)
      return Fault("the altitude " + Degrees(altitude) + " is not within -5 to 90 degrees", line);
    double north = pvgis ? azimuth + 180 : azimuth;
    if (north >= 360) north -= 360;
    read.push_back({{north, altitude}, line});
  }
  if (pvgis && read.empty())
    return Fault("the PVGIS table after its header has no rows", static_cast<int>(first));

  std::stable_sort(read.begin(), read.end(), [](const ReadPoint &a, const ReadPoint &b) {
    return a.point.azimuthDeg < b.point.azimuthDeg;
  });
  std::vector<HorizonPoint> points;
  points.reserve(read.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    if (i > 0 && read[i].point.azimuthDeg == read[i - 1].point.azimuthDeg) {
      if (std::fabs(read[i].point.altitudeDeg - read[i - 1].point.altitudeDeg) < kSameAltitudeDeg)
        continue;
      const auto [earlier, later] = std::minmax(read[i].line, read[i - 1].line);
      return Fault("the azimuth " + Degrees(read[i].point.azimuthDeg) +
                       " is given twice with different altitudes, first on line " +
                       std::to_string(earlier),
                   later);
    }
    points.push_back(read[i].point);
  }
  if (points.size() < 2)
    return Fault("a horizon needs at least two points of different azimuths; this has " +
                     std::to_string(points.size()),
                 0);
  HorizonParse parse;
  parse.profile = HorizonProfile(std::move(points));
  return parse;
}

} // namespace ostrel
