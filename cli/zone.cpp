// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/zone.h"

#include <date/tz.h>

#include <string>

namespace ostrel::cli {
namespace {

const date::time_zone *Find(std::string_view zone) {
  try {
    return date::locate_zone(std::string(zone));
  } catch (const std::exception &) {
    return nullptr;
  }
}

float Hours(std::chrono::seconds offset) {
  return static_cast<float>(static_cast<double>(offset.count()) / 3600);
}

} // namespace

std::optional<float> OffsetAt(std::string_view zone, std::chrono::system_clock::time_point instant) {
  const date::time_zone *z = Find(zone);
  if (!z) return std::nullopt;
  return Hours(z->get_info(std::chrono::floor<std::chrono::seconds>(instant)).offset);
}

std::optional<float> OffsetAtLocal(std::string_view zone, CivilDate date, int secondsOfDay) {
  const date::time_zone *z = Find(zone);
  if (!z) return std::nullopt;
  const date::local_seconds local =
      date::local_days{date::year{date.year} / date.month / date.day} + std::chrono::seconds{secondsOfDay};
  const date::local_info info = z->get_info(local);
  // A skipped time: `first` is the offset before the change; a repeated
  // time: `first` is the earlier (summer) offset.
  return Hours(info.first.offset);
}

} // namespace ostrel::cli
