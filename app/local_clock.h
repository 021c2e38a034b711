// SPDX-License-Identifier: GPL-3.0-or-later
// The local date and time that real-time tracking shows and computes.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cstdint>
#include <ctime>

namespace ostrel {

// A reading of a clock: the local civil date and time of day, with
// milliseconds.
struct LocalMoment {
  QDate date;
  QTime time;

  LocalMoment(QDate date, QTime time) : date(date), time(time) {}
  // A clock that keeps QDateTime values (the tests' fake clocks) gives its
  // local date and time.
  // cppcheck-suppress noExplicitConstructor
  LocalMoment(const QDateTime &moment) // NOLINT(google-explicit-constructor)
      : date(moment.date()), time(moment.time()) {}
};

// The computer's clock in the user's time zone, read once a second by
// real-time tracking.
//
// QDateTime's local time asks the system on every reading whether the time
// zone has been changed (a file status call) and converts the whole moment.
// This clock does both once a minute: at the first reading in a minute of
// UTC it looks at the zone again and converts the minute's first and last
// seconds with the C library.  When those are 59 seconds apart in one local
// minute, no change of offset falls inside (a zone changes its offset at
// most once in a minute), and every second of the minute is its first plus
// the seconds since.  Otherwise (an offset with seconds, as some historic
// local mean times have) each reading of that minute is converted alone.
// A changed system time zone thus shows from the next minute on; summer
// time, which the zone's rules hold, changes on the second.
class SystemClock {
public:
  // Milliseconds since 1970-01-01 00:00 UTC.
  using UtcSource = std::int64_t (*)();
  static std::int64_t SystemUtc();

  explicit SystemClock(UtcSource utc = &SystemUtc) : utc_(utc) {}

  LocalMoment operator()();

private:
  UtcSource utc_;
  std::int64_t minuteStart_ = 0; // seconds since 1970 UTC
  std::tm minuteLocal_{};        // its local time
  bool minuteKnown_ = false;     // minuteStart_ is the current minute
  bool minuteLinear_ = false;    // its seconds follow minuteLocal_
};

} // namespace ostrel
