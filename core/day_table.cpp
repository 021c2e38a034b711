// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day_table.h"

#include <cstdio>

namespace ostrel {
namespace {

std::string TimeOf(const DayMoment &moment) {
  return moment.happens() ? ClockText(moment.seconds) : std::string();
}

} // namespace

std::string ClockText(int seconds) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

std::string DateText(const CivilDate &date) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string DayLengthText(const DayEvents &events) {
  return events.dayLengthSeconds ? ClockText(*events.dayLengthSeconds) : std::string();
}

const std::array<const char *, kTableColumns> &TableColumns() {
  static constexpr std::array<const char *, kTableColumns> kColumns = {
      "date",          "sunrise",           "sunset",           "culmination",
      "day_length",    "civil_dawn",        "civil_dusk",       "nautical_dawn",
      "nautical_dusk", "astronomical_dawn", "astronomical_dusk", "culmination_altitude"};
  return kColumns;
}

std::array<std::string, kTableColumns> TableFields(const CivilDate &date,
                                                   const DayEvents &events) {
  std::string altitude;
  if (events.culminationAltitudeDeg) {
    char text[48];
    std::snprintf(text, sizeof text, "%.4f", *events.culminationAltitudeDeg);
    altitude = text;
  }
  return {DateText(date),
          TimeOf(events.sunrise),
          TimeOf(events.sunset),
          TimeOf(events.culmination),
          DayLengthText(events),
          TimeOf(events.civilDawn),
          TimeOf(events.civilDusk),
          TimeOf(events.nauticalDawn),
          TimeOf(events.nauticalDusk),
          TimeOf(events.astronomicalDawn),
          TimeOf(events.astronomicalDusk),
          altitude};
}

std::string TableCsvHeader() {
  std::string line;
  for (const char *column : TableColumns()) line += (line.empty() ? "" : ",") + std::string(column);
  return line + '\n';
}

std::string TableCsvRow(const CivilDate &date, const DayEvents &events) {
  std::string line;
  for (const std::string &field : TableFields(date, events)) {
    if (!line.empty()) line += ',';
    line += field;
  }
  return line + '\n';
}

} // namespace ostrel
