// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/day_table.h"

#include <cstdio>
#include <limits>

namespace ostrel {
namespace {

template <DayMoment DayEvents::*moment>
const DayMoment &Field(const DayEvents &events) {
  return events.*moment;
}
template <Interval DayEvents::*interval, std::size_t end>
const DayMoment &Part(const DayEvents &events) {
  return (events.*interval)[end];
}

constexpr double kHorizon = std::numeric_limits<double>::quiet_NaN();

constexpr DayEventRow kEventRows[] = {
    {"astronomical_dawn", "Astronomical dawn", "Астрономические сумерки: начало",
     Field<&DayEvents::astronomicalDawn>, kAstronomicalTwilightDeg},
    {"nautical_dawn", "Nautical dawn", "Навигационные сумерки: начало",
     Field<&DayEvents::nauticalDawn>, kNauticalTwilightDeg},
    {"civil_dawn", "Civil dawn", "Гражданские сумерки: начало", Field<&DayEvents::civilDawn>,
     kCivilTwilightDeg},
    {"morning_blue_hour_start", "Morning blue hour, start", "Утренний синий час: начало",
     Part<&DayEvents::morningBlueHour, 0>, kBlueHourLowDeg},
    {"morning_blue_hour_end", "Morning blue hour, end", "Утренний синий час: конец",
     Part<&DayEvents::morningBlueHour, 1>, kGoldenHourLowDeg},
    {"morning_golden_hour_start", "Morning golden hour, start", "Утренний золотой час: начало",
     Part<&DayEvents::morningGoldenHour, 0>, kGoldenHourLowDeg},
    {"sunrise", "Sunrise", "Восход", Field<&DayEvents::sunrise>, kHorizon},
    {"morning_golden_hour_end", "Morning golden hour, end", "Утренний золотой час: конец",
     Part<&DayEvents::morningGoldenHour, 1>, kGoldenHourHighDeg},
    {"culmination", "Upper culmination time", "Верхняя кульминация",
     Field<&DayEvents::culmination>, 0},
    {"evening_golden_hour_start", "Evening golden hour, start", "Вечерний золотой час: начало",
     Part<&DayEvents::eveningGoldenHour, 0>, kGoldenHourHighDeg},
    {"sunset", "Sunset", "Заход", Field<&DayEvents::sunset>, kHorizon},
    {"evening_golden_hour_end", "Evening golden hour, end", "Вечерний золотой час: конец",
     Part<&DayEvents::eveningGoldenHour, 1>, kGoldenHourLowDeg},
    {"evening_blue_hour_start", "Evening blue hour, start", "Вечерний синий час: начало",
     Part<&DayEvents::eveningBlueHour, 0>, kGoldenHourLowDeg},
    {"evening_blue_hour_end", "Evening blue hour, end", "Вечерний синий час: конец",
     Part<&DayEvents::eveningBlueHour, 1>, kBlueHourLowDeg},
    {"civil_dusk", "Civil dusk", "Гражданские сумерки: конец", Field<&DayEvents::civilDusk>,
     kCivilTwilightDeg},
    {"nautical_dusk", "Nautical dusk", "Навигационные сумерки: конец",
     Field<&DayEvents::nauticalDusk>, kNauticalTwilightDeg},
    {"astronomical_dusk", "Astronomical dusk", "Астрономические сумерки: конец",
     Field<&DayEvents::astronomicalDusk>, kAstronomicalTwilightDeg},
};

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

std::span<const DayEventRow> DayEventRows() { return kEventRows; }

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
