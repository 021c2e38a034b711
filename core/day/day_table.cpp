// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/day_table.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
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

constexpr TableColumn kTableColumnList[] = {
    {"date", TableValue::Date, nullptr},
    {"sunrise", TableValue::Moment, Field<&DayEvents::sunrise>},
    {"sunset", TableValue::Moment, Field<&DayEvents::sunset>},
    {"culmination", TableValue::Moment, Field<&DayEvents::culmination>},
    {"day_length", TableValue::DayLength, nullptr},
    {"civil_dawn", TableValue::Moment, Field<&DayEvents::civilDawn>},
    {"civil_dusk", TableValue::Moment, Field<&DayEvents::civilDusk>},
    {"nautical_dawn", TableValue::Moment, Field<&DayEvents::nauticalDawn>},
    {"nautical_dusk", TableValue::Moment, Field<&DayEvents::nauticalDusk>},
    {"astronomical_dawn", TableValue::Moment, Field<&DayEvents::astronomicalDawn>},
    {"astronomical_dusk", TableValue::Moment, Field<&DayEvents::astronomicalDusk>},
    {"culmination_altitude", TableValue::Culmination, nullptr},
};
static_assert(std::size(kTableColumnList) == kTableColumns);

// The same with the observer's time of direct sun after the day length.
constexpr TableColumn kObserverTableColumnList[] = {
    kTableColumnList[0], kTableColumnList[1], kTableColumnList[2], kTableColumnList[3],
    kTableColumnList[4], {"direct_sun", TableValue::DirectSun, nullptr},
    kTableColumnList[5], kTableColumnList[6], kTableColumnList[7], kTableColumnList[8],
    kTableColumnList[9], kTableColumnList[10], kTableColumnList[11],
};
static_assert(std::size(kObserverTableColumnList) == kTableColumns + 1);

std::string FieldText(const TableColumn &column, const CivilDate &date, const DayEvents &events) {
  switch (column.value) {
  case TableValue::Date: return DateText(date);
  case TableValue::Moment: {
    const DayMoment &moment = column.moment(events);
    return moment.happens() ? ClockText(moment.seconds) : std::string();
  }
  case TableValue::DayLength: return DayLengthText(events);
  case TableValue::Culmination:
    if (events.culminationAltitudeDeg) {
      char text[48];
      std::snprintf(text, sizeof text, "%.4f", *events.culminationAltitudeDeg);
      return text;
    }
    return {};
  case TableValue::DirectSun:
    return events.observer ? ClockText(events.observer->directSunSeconds) : std::string();
  }
  return {};
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

std::span<const TableColumn, kTableColumns> TableColumnList() { return kTableColumnList; }

const std::array<const char *, kTableColumns> &TableColumns() {
  static const std::array<const char *, kTableColumns> kNames = [] {
    std::array<const char *, kTableColumns> names{};
    for (std::size_t i = 0; i < kTableColumns; ++i) names[i] = kTableColumnList[i].name;
    return names;
  }();
  return kNames;
}

std::array<std::string, kTableColumns> TableFields(const CivilDate &date,
                                                   const DayEvents &events) {
  std::array<std::string, kTableColumns> fields;
  for (std::size_t i = 0; i < kTableColumns; ++i)
    fields[i] = FieldText(kTableColumnList[i], date, events);
  return fields;
}

std::span<const TableColumn> TableColumnList(bool observer) {
  if (observer) return kObserverTableColumnList;
  return kTableColumnList;
}

std::vector<std::string> TableFields(const CivilDate &date, const DayEvents &events,
                                     std::span<const TableColumn> columns) {
  std::vector<std::string> fields(columns.size());
  std::transform(columns.begin(), columns.end(), fields.begin(),
                 [&](const TableColumn &column) { return FieldText(column, date, events); });
  return fields;
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

std::string TableCsvHeader(std::span<const TableColumn> columns) {
  std::string line;
  for (const TableColumn &column : columns) line += (line.empty() ? "" : ",") + std::string(column.name);
  return line + '\n';
}

std::string TableCsvRow(const CivilDate &date, const DayEvents &events,
                        std::span<const TableColumn> columns) {
  std::string line;
  for (const std::string &field : TableFields(date, events, columns)) {
    if (!line.empty()) line += ',';
    line += field;
  }
  return line + '\n';
}

} // namespace ostrel
