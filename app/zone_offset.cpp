// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/zone_offset.h"

#include <QDateTime>

namespace ostrel {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kJulianDay1970 = 2440588; // 1970-01-01

int OffsetAtUtc(const QTimeZone &zone, std::int64_t utcSeconds) {
  return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
}

} // namespace

int ZoneOffsetSeconds(const QTimeZone &zone, QDate date, QTime time) {
  if (!zone.isValid() || !date.isValid() || !time.isValid())
    return 0;
  // The local time read as if it were UT, seconds since 1970.
  const std::int64_t local = (date.toJulianDay() - kJulianDay1970) * kSecondsPerDay +
                             time.msecsSinceStartOfDay() / 1000;
  // Every offset lies within a day of UT, so the offsets in force a day
  // before and a day after are those on either side of a change of the
  // clocks near this time.  Each is the answer if the moment it gives has
  // that offset: both for a repeated time, neither for a skipped one.
  const int before = OffsetAtUtc(zone, local - kSecondsPerDay);
  const int after = OffsetAtUtc(zone, local + kSecondsPerDay);
  const bool beforeHolds = OffsetAtUtc(zone, local - before) == before;
  const bool afterHolds = OffsetAtUtc(zone, local - after) == after;
  return afterHolds && !beforeHolds ? after : before;
}

float ZoneOffsetHours(const QTimeZone &zone, QDate date, QTime time) {
  return static_cast<float>(ZoneOffsetSeconds(zone, date, time) / 3600.0);
}

float ZoneFollower::OffsetHours(QDate date, QTime time) {
  const std::int64_t minute = date.toJulianDay() * 1440 + time.msecsSinceStartOfDay() / 60000;
  if (minute != minute_) {
    hours_ = ZoneOffsetHours(zone_, date, time);
    minute_ = minute;
  }
  return hours_;
}

} // namespace ostrel
