// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/moon/moon_quarter_dates.h"

#include <chrono>
#include <cmath>

namespace ostrel {
namespace {

// The Julian date of the Unix epoch, 1970-01-01 00:00 UT.
constexpr double kUnixEpochJulianDate = 2440587.5;
constexpr long long kSecondsPerDay = 86400;

long long DaysFromEpoch(CivilDate date) {
  namespace chrono = std::chrono;
  const chrono::sys_days days{chrono::year{date.year} / chrono::month{unsigned(date.month)} /
                              chrono::day{unsigned(date.day)}};
  return days.time_since_epoch().count();
}

CivilDate DateOfDays(long long daysFromEpoch) {
  namespace chrono = std::chrono;
  const chrono::year_month_day ymd{chrono::sys_days{chrono::days{daysFromEpoch}}};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

} // namespace

std::vector<QuarterOnDate> QuartersOnDates(CivilDate first, CivilDate last, double timezoneHours) {
  const long long offset = std::llround(timezoneHours * 3600);
  // Local civil seconds from 1970-01-01 00:00 local time.
  const long long start = DaysFromEpoch(first) * kSecondsPerDay;
  const long long end = (DaysFromEpoch(last) + 1) * kSecondsPerDay;
  std::vector<QuarterOnDate> dates;
  if (end <= start)
    return dates;
  const auto julian = [&](long long local) {
    return kUnixEpochJulianDate + double(local - offset) / kSecondsPerDay;
  };
  for (const QuarterInstant &q : FindQuarters(julian(start - 1), julian(end + 1))) {
    const long long local =
        std::llround((q.julianDateUt - kUnixEpochJulianDate) * kSecondsPerDay) + offset;
    if (local < start || local >= end)
      continue;
    const long long day = FloorDiv(local, kSecondsPerDay);
    dates.push_back({q.quarter, DateOfDays(day), int(local - day * kSecondsPerDay)});
  }
  return dates;
}

} // namespace ostrel
