// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/local_clock.h"

#include <chrono>

namespace ostrel {
namespace {

std::tm LocalTime(std::int64_t seconds) {
  const auto whole = static_cast<std::time_t>(seconds);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &whole);
#else
  localtime_r(&whole, &local);
#endif
  return local;
}

void ReadTimeZone() {
#ifdef _WIN32
  _tzset();
#else
  tzset();
#endif
}

LocalMoment Moment(const std::tm &local, int seconds, int milliseconds) {
  // A leap second, which only zones that count them give, shows as 59.
  return {QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
          QTime(local.tm_hour, local.tm_min, seconds < 59 ? seconds : 59, milliseconds)};
}

} // namespace

std::int64_t SystemClock::SystemUtc() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

LocalMoment SystemClock::operator()() {
  const std::int64_t milliseconds = utc_();
  // Toward minus infinity, so that the remainders are never negative.
  const std::int64_t seconds = milliseconds / 1000 - (milliseconds % 1000 < 0);
  const auto millisecond = static_cast<int>(milliseconds - seconds * 1000);
  const std::int64_t minute = seconds / 60 - (seconds % 60 < 0);

  if (!minuteKnown_ || minute * 60 != minuteStart_) {
    ReadTimeZone();
    minuteStart_ = minute * 60;
    minuteLocal_ = LocalTime(minuteStart_);
    const std::tm last = LocalTime(minuteStart_ + 59);
    minuteLinear_ = minuteLocal_.tm_sec == 0 && last.tm_sec == 59 &&
                    last.tm_min == minuteLocal_.tm_min &&
                    last.tm_hour == minuteLocal_.tm_hour &&
                    last.tm_mday == minuteLocal_.tm_mday &&
                    last.tm_mon == minuteLocal_.tm_mon &&
                    last.tm_year == minuteLocal_.tm_year;
    minuteKnown_ = true;
  }
  if (minuteLinear_)
    return Moment(minuteLocal_, static_cast<int>(seconds - minuteStart_), millisecond);
  const std::tm local = LocalTime(seconds);
  return Moment(local, local.tm_sec, millisecond);
}

} // namespace ostrel
