// SPDX-License-Identifier: GPL-3.0-or-later
// A table of days as text: one row a date with its rise, set, culmination,
// day length, twilights and culmination altitude.  The command line's
// `table` and the window's year table write these same fields, so a CSV
// saved from either is the same to the byte.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/day/day_events.h"

namespace ostrel {

// "HH:MM:SS" of whole seconds of the day (0 to 86399, or 86400 for a day
// length of a whole day: "24:00:00").
std::string ClockText(int seconds);
// "YYYY-MM-DD".
std::string DateText(const CivilDate &date);
// The day length as "HH:MM:SS" (24:00:00 for a polar day), empty where the
// day has none.
std::string DayLengthText(const DayEvents &events);

inline constexpr std::size_t kTableColumns = 12;

// What a column of the table holds, and so how a face writes it.
enum class TableValue {
  Date,       // the row's date
  Moment,     // a moment of the date, local civil time; none where it does not happen
  DayLength,  // DayEvents::dayLengthSeconds, seconds
  Culmination, // DayEvents::culminationAltitudeDeg, degrees
  DirectSun    // DayEvents::observer's directSunSeconds, seconds (an
               // observer's table only)
};

// One column: its name (the CSV header's), what it holds and, for a moment,
// where the moment stands in DayEvents.
struct TableColumn {
  const char *name;
  TableValue value;
  const DayMoment &(*moment)(const DayEvents &); // null but for a moment
};

// The columns in order: date, sunrise, sunset, culmination, day_length,
// civil_dawn, civil_dusk, nautical_dawn, nautical_dusk, astronomical_dawn,
// astronomical_dusk, culmination_altitude.  Every face of the table (its
// text, CSV and JSON, the year window) writes these.
std::span<const TableColumn, kTableColumns> TableColumnList();

// The columns of a table for an observer (core/observer/observer_day.h):
// the same with `direct_sun`, the time of direct sun "HH:MM:SS", after
// day_length.  The list for a table with or without an observer; the
// faces take it from here so that their CSVs agree.
std::span<const TableColumn> TableColumnList(bool observer);

// The column names alone, as the CSV header has them.
const std::array<const char *, kTableColumns> &TableColumns();

// The fields of one date's row: times "HH:MM:SS" or empty where the event
// does not happen, the culmination altitude in degrees to 0.0001.  The
// events need not hold the golden and blue hours (DayEventSet::Twilights).
std::array<std::string, kTableColumns> TableFields(const CivilDate &date, const DayEvents &events);

// The events of a day as lists show them, in the order of the day: their
// keys (of the command line's JSON and the day window's rows), their names
// in English and Russian, where each stands in DayEvents, and the altitude
// each crosses, degrees (NaN for the theory's own horizon, which the day
// knows; 0 for the culmination, which crosses the meridian instead).
struct DayEventRow {
  const char *key;
  const char *english, *russian;
  const DayMoment &(*moment)(const DayEvents &);
  double levelDeg;
};
std::span<const DayEventRow> DayEventRows();

// The fields of one date's row for any list of columns; a direct_sun
// column is empty where the events have no observer.
std::vector<std::string> TableFields(const CivilDate &date, const DayEvents &events,
                                     std::span<const TableColumn> columns);

// The header line and one date's line of the CSV, each ended by "\n".
std::string TableCsvHeader();
std::string TableCsvRow(const CivilDate &date, const DayEvents &events);
// The same for any list of columns.
std::string TableCsvHeader(std::span<const TableColumn> columns);
std::string TableCsvRow(const CivilDate &date, const DayEvents &events,
                        std::span<const TableColumn> columns);

} // namespace ostrel
