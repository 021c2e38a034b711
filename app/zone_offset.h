// SPDX-License-Identifier: GPL-3.0-or-later
// The offset of a time zone from UT at a local civil date and time, as the
// time zone field holds it: from the system's time-zone database (tzdata)
// through QTimeZone, summer time included, so that a new tzdata release
// corrects it without a new program.
#pragma once

#include <QDate>
#include <QTime>
#include <QTimeZone>

#include <cstdint>

namespace ostrel {

// Seconds to add to UT to get the local civil time of `zone`, in force at
// the local date and time given.  A time that the clocks pass twice (the
// hour repeated when they go back) takes the first, summer offset; a time
// they skip (the hour lost when they go forward) takes the offset before
// the change.  An invalid zone gives 0.
int ZoneOffsetSeconds(const QTimeZone &zone, QDate date, QTime time);

// The same in hours, single precision as the time zone field keeps it.
// Offsets of whole minutes are exact.
float ZoneOffsetHours(const QTimeZone &zone, QDate date, QTime time);

// A zone asked every second by real-time tracking: the offset is looked up
// once a minute of local time and kept for the minute.  The zones' rules
// change the clocks on a whole minute (only some local mean times before
// 1900 have seconds in their offsets), so a minute never holds two offsets
// of the moments a tracking clock gives.
class ZoneFollower {
public:
  explicit ZoneFollower(const QTimeZone &zone) : zone_(zone) {}

  const QTimeZone &zone() const { return zone_; }
  float OffsetHours(QDate date, QTime time);

private:
  QTimeZone zone_;
  std::int64_t minute_ = -1; // local minutes since the Julian day 0; -1 none yet
  float hours_ = 0;
};

} // namespace ostrel
