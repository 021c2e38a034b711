// SPDX-License-Identifier: GPL-3.0-or-later
// The soak test: 100,000 ticks of real-time tracking on a clock that steps
// 1 day 9 h 36 min 7.123 s a tick, from 1701 to 2084, so that the ticks
// cross midnights and every year end at changing times of day.  Now and
// then the time zone and the site change (polar sites and the date line
// among them), and every 997th tick a bad site value comes in: that tick
// must show its one message and fall back to manual mode; the test then
// mends the value and selects real-time tracking again.
//
// After every tick no result label may hold nan or inf.  The resident
// memory (VmRSS) may not grow by more than kResidentGrowthBound from its
// figure after the first 1,000 ticks to its figure at the end.
//
// OSTREL_SOAK_TICKS sets a shorter run (the sanitizer build uses one).
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/result_label.h"
#include "window_test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define OSTREL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSTREL_ADDRESS_SANITIZER 1
#endif
#endif

namespace ostrel::testing {
namespace {

constexpr long kDefaultTicks = 100'000;
constexpr long kWarmUpTicks = 1'000;
// Measured growth from tick 1,000 to 100,000 is 0.1 to 0.25 MiB (the
// figures this test prints: the allocator's slack, flat over the run);
// 2 MiB leaves ten times that, while a leak of 22 bytes or more per tick
// (one short QString kept by mistake) exceeds it over 99,000 ticks.
constexpr long kResidentGrowthBoundKiB = 2 * 1024;

// The clock's step per tick: 1 day 9 h 36 min 7.123 s.
constexpr qint64 kStepMilliseconds = ((24 + 9) * 3600 + 36 * 60 + 7) * 1000LL + 123;

long Ticks() {
  bool ok = false;
  const long ticks = qEnvironmentVariableIntValue("OSTREL_SOAK_TICKS", &ok);
  return ok && ticks > 0 ? ticks : kDefaultTicks;
}

// Resident memory of this process, KiB, from /proc/self/status.
long ResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
    return -1;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').front().toLong();
  }
  return -1;
}

struct Site {
  const char *longGrad, *longMin;
  int west;
  const char *latGrad, *latMin;
  int south;
};
// Kishinev, the equator at Greenwich, the date line at the Arctic circle,
// near the south pole, the north pole, and the south pole itself.
constexpr Site kSites[] = {
    {"28", "50", 0, "47", "0", 0},        {"0", "0", 0, "0", "0", 0},
    {"180", "0", 1, "66", "33", 0},       {"179", "59.99", 0, "89", "59.99", 1},
    {"0", "0", 1, "90", "0", 0},          {"45.5", "0", 1, "90", "0", 1},
};

struct BadInput {
  const char *field, *text, *message;
};
constexpr BadInput kBadInputs[] = {
    {"Timezon", "14.5", "Uncorrect input Timezone!"},
    {"LongMin", "60", "Uncorrect input Longitude!"},
    {"LatGrad", "91", "Uncorrect input Latitude!"},
    {"Timezon", "1e40", "Uncorrect input Timezone!"},
    {"LatMin", "-1", "Uncorrect input Latitude!"},
    {"LongGrad", "1e400", "Uncorrect input Longitude!"},
};

// The time zones the test steps through: -12 to 12 hours by quarters.
QString Timezone(long index) { return QString::number(-12 + 0.25 * double(index % 97)); }

TEST(Soak, TrackingThroughCenturiesZonesAndBadInput) {
  const long ticks = Ticks();
  auto clock = std::make_shared<FakeClock>();
  const auto window = MakeWindow(clock);
  window->show();
  std::vector<const ResultLabel *> labels;
  for (const auto &[name, text] : SunReport::Labels)
    labels.push_back(Find<ResultLabel>(*window, name));
  auto *tracking = Find<QRadioButton>(*window, "Option1");
  auto *manual = Find<QRadioButton>(*window, "Option2");
  ASSERT_TRUE(tracking->isChecked());

  QDateTime moment(QDate(1701, 1, 1), QTime(0, 0), Qt::UTC); // a plain count of time
  long zoneIndex = 60, siteIndex = 0, badTicks = 0; // 3 h, the window's own zone
  SetTextOf(*window, "Timezon", Timezone(zoneIndex));
  long residentAfterWarmUp = 0, residentHighest = 0;
  const auto start = std::chrono::steady_clock::now();

  for (long tick = 1; tick <= ticks; ++tick) {
    clock->now = QDateTime(moment.date(), moment.time()); // local time as the clock shows it
    moment = moment.addMSecs(kStepMilliseconds);
    if (tick % 50 == 0)
      SetTextOf(*window, "Timezon", Timezone(++zoneIndex));
    if (tick % 211 == 0) {
      const Site &site = kSites[++siteIndex % std::size(kSites)];
      Fill(*window, {.longGrad = site.longGrad, .longMin = site.longMin,
                     .latGrad = site.latGrad, .latMin = site.latMin,
                     .timezon = Timezone(zoneIndex), .list1 = site.west,
                     .list2 = site.south});
    }

    QStringList before;
    for (const ResultLabel *label : labels)
      before << label->text();
    const bool bad = tick % 997 == 0;
    const BadInput &input = kBadInputs[badTicks % std::size(kBadInputs)];
    QString goodText;
    if (bad) {
      goodText = TextOf(*window, input.field);
      SetTextOf(*window, input.field, QString::fromUtf8(input.text));
    }

    const QStringList shown = RunClosingMessages([&] { window->Timer1_Timer(); });

    if (bad) {
      ++badTicks;
      ASSERT_EQ(shown, QStringList{QString::fromUtf8(input.message)}) << "tick " << tick;
      ASSERT_TRUE(manual->isChecked()) << "tick " << tick;
      ASSERT_FALSE(Find<QTimer>(*window, "Timer1")->isActive()) << "tick " << tick;
      for (std::size_t i = 0; i < labels.size(); ++i)
        ASSERT_EQ(labels[i]->text(), before[int(i)]) << "a refused tick changed a result";
      SetTextOf(*window, input.field, goodText);
      tracking->click();
      ASSERT_TRUE(tracking->isChecked()) << "tick " << tick;
    } else {
      ASSERT_TRUE(shown.isEmpty()) << "tick " << tick << ": " << shown.join('|').toStdString();
      const CalcState &state = window->lastInput();
      const QDate date = clock->now.date();
      ASSERT_EQ(state.DateYear, date.year()) << "tick " << tick;
      ASSERT_EQ(state.DateMonth, date.month()) << "tick " << tick;
      ASSERT_EQ(state.DateDay, date.day()) << "tick " << tick;
      ASSERT_EQ(state.Timezon, Timezone(zoneIndex).toFloat()) << "tick " << tick;
    }
    for (const ResultLabel *label : labels) {
      const QString text = label->text();
      ASSERT_FALSE(text.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
                   text.contains(QLatin1String("inf"), Qt::CaseInsensitive))
          << "tick " << tick << ": " << label->objectName().toStdString() << " = "
          << text.toStdString() << " at " << clock->now.toString(Qt::ISODate).toStdString();
    }
    // What the event loop does between two ticks: paint the changed
    // labels and run what was posted.  Timers do not fire here, so the
    // test's ticks are the only ones.
    QCoreApplication::sendPostedEvents();

    if (tick == kWarmUpTicks)
      residentAfterWarmUp = ResidentKiB();
    if (tick >= kWarmUpTicks && tick % 1000 == 0)
      residentHighest = std::max(residentHighest, ResidentKiB());
    if (tick % 10'000 == 0)
      std::printf("soak: tick %ld, %.1f s, VmRSS %ld KiB\n", tick,
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                  ResidentKiB());
  }

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long residentAtEnd = ResidentKiB();
  std::printf("soak: %ld ticks (%ld refused) in %.1f s, last clock %s\n", ticks, badTicks,
              seconds, qPrintable(clock->now.toString(Qt::ISODate)));
  std::printf("soak: VmRSS after %ld ticks %ld KiB, highest %ld KiB, at the end %ld KiB, "
              "growth %ld KiB (bound %ld KiB)\n",
              kWarmUpTicks, residentAfterWarmUp, residentHighest, residentAtEnd,
              residentAtEnd - residentAfterWarmUp, kResidentGrowthBoundKiB);
  EXPECT_EQ(badTicks, ticks / 997);
  if (ticks <= kWarmUpTicks)
    return;
#ifdef OSTREL_ADDRESS_SANITIZER
  // AddressSanitizer holds freed memory in quarantine, so resident memory
  // says nothing there; its leak check at exit does that work instead.
  std::printf("soak: resident memory bound not checked under AddressSanitizer\n");
#else
  ASSERT_GT(residentAfterWarmUp, 0) << "no VmRSS in /proc/self/status";
  EXPECT_LE(residentHighest - residentAfterWarmUp, kResidentGrowthBoundKiB);
  EXPECT_LE(residentAtEnd - residentAfterWarmUp, kResidentGrowthBoundKiB);
#endif
}

} // namespace
} // namespace ostrel::testing
