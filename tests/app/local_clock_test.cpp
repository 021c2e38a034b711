// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's clock of real-time tracking: its once-a-minute conversion
// must give, second by second, what converting each reading alone gives.
#include <QDateTime>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "app/local_clock.h"

namespace ostrel {
namespace {

// The UTC the clock under test reads, milliseconds since 1970.
std::int64_t fakeUtc = 0;
std::int64_t FakeUtc() { return fakeUtc; }

// Sets the TZ variable for the life of the object.  POSIX zone rules need no
// time zone files on the machine.
class TimeZone {
public:
  explicit TimeZone(const char *rule) {
    if (const char *old = std::getenv("TZ")) saved_ = old, hadOne_ = true;
    Set(rule);
  }
  ~TimeZone() {
    if (hadOne_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  static void Set(const char *rule) {
    setenv("TZ", rule, 1);
    tzset();
  }

private:
  std::string saved_;
  bool hadOne_ = false;
};

// One reading converted alone by the C library.
LocalMoment Alone(std::int64_t milliseconds) {
  const std::int64_t seconds = milliseconds / 1000 - (milliseconds % 1000 < 0);
  const auto whole = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&whole, &local);
  return {QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
          QTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                static_cast<int>(milliseconds - seconds * 1000))};
}

TEST(SystemClock, EverySecondAsConvertedAlone) {
  struct Span {
    const char *zone;
    std::int64_t from; // seconds since 1970 UTC
    int seconds;       // read every second (and a quarter) from there
  };
  const Span spans[] = {
      // Central European summer time begins and ends in 2026.
      {"CET-1CEST,M3.5.0,M10.5.0/3", 1774745880, 240},
      {"CET-1CEST,M3.5.0,M10.5.0/3", 1792889880, 240},
      // A change of offset half a minute into a minute.
      {"CET-1CEST,M3.5.0/2:00:30,M10.5.0/3", 1774745880, 240},
      // Southern hemisphere rules, half-hour and 45-minute offsets.
      {"ACST-9:30ACDT,M10.1.0,M4.1.0/3", 1775320080, 240},
      {"NPT-5:45", 1798761540, 120},
      // An offset with seconds, as a local mean time: no minute is linear.
      {"LMT-0:19:32", 1798761540, 180},
      // The year's end before and after 1970, west of Greenwich.
      {"XXX+11", -120, 240},
      {"XXX+11", 1798801140, 240},
  };
  for (const Span &span : spans) {
    TimeZone zone(span.zone);
    SystemClock clock(&FakeUtc);
    for (std::int64_t ms = span.from * 1000; ms < (span.from + span.seconds) * 1000; ms += 250) {
      fakeUtc = ms;
      const LocalMoment read = clock();
      const LocalMoment alone = Alone(ms);
      ASSERT_EQ(read.date, alone.date) << span.zone << " at " << ms;
      ASSERT_EQ(read.time, alone.time) << span.zone << " at " << ms;
    }
  }
}

TEST(SystemClock, RandomMomentsInThreeZones) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<std::int64_t> moment(-2'208'988'800'000, 4'102'444'800'000);
  for (const char *rule : {"UTC0", "EST5EDT,M3.2.0,M11.1.0", "NZST-12NZDT,M9.5.0,M4.1.0/3"}) {
    TimeZone zone(rule);
    SystemClock clock(&FakeUtc);
    for (int i = 0; i < 2000; ++i) {
      fakeUtc = moment(random);
      const LocalMoment read = clock();
      ASSERT_EQ(QDateTime(read.date, read.time), QDateTime(Alone(fakeUtc).date, Alone(fakeUtc).time))
          << rule << " at " << fakeUtc;
    }
  }
}

// The system time zone is looked at again in each new minute, not between.
TEST(SystemClock, ChangedZoneShowsFromTheNextMinute) {
  TimeZone zone("UTC0");
  SystemClock clock(&FakeUtc);
  fakeUtc = 1798761600000; // 2027-01-01 00:00:00 UTC
  EXPECT_EQ(clock().time, QTime(0, 0));
  TimeZone::Set("XXX-3");
  fakeUtc += 30'000;
  EXPECT_EQ(clock().time, QTime(0, 0, 30));
  fakeUtc += 30'000;
  EXPECT_EQ(clock().time, QTime(3, 1));
}

TEST(SystemClock, AgreesWithQtsLocalTime) {
  SystemClock clock;
  for (int i = 0; i < 50; ++i) {
    const QDateTime before = QDateTime::currentDateTime();
    const LocalMoment read = clock();
    const QDateTime after = QDateTime::currentDateTime();
    const QDateTime moment(read.date, read.time);
    EXPECT_LE(before, moment);
    EXPECT_LE(moment, after);
  }
}

} // namespace
} // namespace ostrel
